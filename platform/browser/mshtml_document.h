// The document, location, selection and window interfaces of the browser's
// document object model, with MSHTML's identifiers and method shapes.
#pragma once

#include "platform/browser/mshtml_element.h"
#include "platform/com/safearray.h"

struct IHTMLLocation : IDispatch {
    STDMETHOD(get_href)(BSTR* url) = 0;
    STDMETHOD(get_protocol)(BSTR* protocol) = 0;
    STDMETHOD(get_host)(BSTR* host) = 0;
    STDMETHOD(get_hostname)(BSTR* name) = 0;
    STDMETHOD(get_port)(BSTR* port) = 0;
    STDMETHOD(get_pathname)(BSTR* path) = 0;
    STDMETHOD(get_search)(BSTR* query) = 0;
    STDMETHOD(get_hash)(BSTR* fragment) = 0;
    STDMETHOD(toString)(BSTR* url) = 0;
};
KESTRO_DEFINE_IID(IHTMLLocation, "163BB1E0-6E00-11CF-837A-48DC04C10000");

struct IHTMLTxtRange : IDispatch {
    STDMETHOD(get_htmlText)(BSTR* html) = 0;
    STDMETHOD(put_text)(BSTR text) = 0;
    STDMETHOD(get_text)(BSTR* text) = 0;
    STDMETHOD(parentElement)(IHTMLElement** parent) = 0;
};
KESTRO_DEFINE_IID(IHTMLTxtRange, "3050F220-98B5-11CF-BB82-00AA00BDCE0B");

struct IHTMLControlRange : IDispatch {
    STDMETHOD(get_length)(long* length) = 0;
    STDMETHOD(item)(long index, IHTMLElement** element) = 0;
    STDMETHOD(commonParentElement)(IHTMLElement** parent) = 0;
};
KESTRO_DEFINE_IID(IHTMLControlRange, "3050F29C-98B5-11CF-BB82-00AA00BDCE0B");

struct IHTMLSelectionObject : IDispatch {
    // A text range (IHTMLTxtRange) for a text or empty selection, a control
    // range (IHTMLControlRange) for a selected image or control.
    STDMETHOD(createRange)(IDispatch** range) = 0;
    STDMETHOD(empty)() = 0;
    STDMETHOD(clear)() = 0;
    STDMETHOD(get_type)(BSTR* type) = 0;  // "None", "Text" or "Control"
};
KESTRO_DEFINE_IID(IHTMLSelectionObject, "3050F25A-98B5-11CF-BB82-00AA00BDCE0B");

struct IHTMLWindow2;

struct IHTMLDocument2 : IDispatch {
    STDMETHOD(get_all)(IHTMLElementCollection** collection) = 0;
    STDMETHOD(get_body)(IHTMLElement** body) = 0;
    STDMETHOD(get_title)(BSTR* title) = 0;
    STDMETHOD(get_selection)(IHTMLSelectionObject** selection) = 0;
    STDMETHOD(get_forms)(IHTMLElementCollection** collection) = 0;
    STDMETHOD(get_links)(IHTMLElementCollection** collection) = 0;
    STDMETHOD(get_location)(IHTMLLocation** location) = 0;
    STDMETHOD(get_URL)(BSTR* url) = 0;
    STDMETHOD(get_domain)(BSTR* domain) = 0;
    STDMETHOD(put_charset)(BSTR charset) = 0;
    STDMETHOD(get_charset)(BSTR* charset) = 0;
    STDMETHOD(write)(SAFEARRAY* strings) = 0;
    STDMETHOD(writeln)(SAFEARRAY* strings) = 0;
    // With name "_blank", window gets the new window's IHTMLWindow2 (null
    // when the pop-up blocker or NewWindow2 stopped it). From an event
    // handler or a command the window comes at once with a blank page to
    // write and print; its add-ons and events follow after the handler.
    STDMETHOD(open)
    (BSTR url, VARIANT name, VARIANT features, VARIANT replace, IDispatch** window) = 0;
    STDMETHOD(close)() = 0;
    STDMETHOD(get_parentWindow)(IHTMLWindow2** window) = 0;
};
KESTRO_DEFINE_IID(IHTMLDocument2, "332C4425-26CB-11D0-B483-00C04FD90119");

struct IHTMLDocument3 : IDispatch {
    STDMETHOD(get_documentElement)(IHTMLElement** element) = 0;
    STDMETHOD(getElementById)(BSTR id, IHTMLElement** element) = 0;
    STDMETHOD(getElementsByName)(BSTR name, IHTMLElementCollection** collection) = 0;
    STDMETHOD(getElementsByTagName)(BSTR tagName, IHTMLElementCollection** collection) = 0;
};
KESTRO_DEFINE_IID(IHTMLDocument3, "3050F485-98B5-11CF-BB82-00AA00BDCE0B");

// Provided by browser windows.
struct IHTMLWindow2 : IDispatch {
    STDMETHOD(get_document)(IHTMLDocument2** document) = 0;
    STDMETHOD(get_location)(IHTMLLocation** location) = 0;
    STDMETHOD(get_name)(BSTR* name) = 0;
    STDMETHOD(close)() = 0;
};
KESTRO_DEFINE_IID(IHTMLWindow2, "332C4427-26CB-11D0-B483-00C04FD90119");

// The argument of document events, provided with the events.
struct IHTMLEventObj : IDispatch {
    STDMETHOD(get_srcElement)(IHTMLElement** element) = 0;
    STDMETHOD(get_altKey)(VARIANT_BOOL* down) = 0;
    STDMETHOD(get_ctrlKey)(VARIANT_BOOL* down) = 0;
    STDMETHOD(get_shiftKey)(VARIANT_BOOL* down) = 0;
    STDMETHOD(get_type)(BSTR* type) = 0;
    STDMETHOD(get_clientX)(long* x) = 0;
    STDMETHOD(get_clientY)(long* y) = 0;
    STDMETHOD(get_button)(long* button) = 0;
};
KESTRO_DEFINE_IID(IHTMLEventObj, "3050F32D-98B5-11CF-BB82-00AA00BDCE0B");
