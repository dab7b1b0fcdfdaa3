// The form and form-control interfaces of the browser's document object
// model, with MSHTML's identifiers and method shapes.
#pragma once

#include "platform/browser/mshtml_element.h"

struct IHTMLFormElement : IDispatch {
    STDMETHOD(get_action)(BSTR* url) = 0;
    STDMETHOD(get_method)(BSTR* method) = 0;
    STDMETHOD(get_elements)(IDispatch** collection) = 0;
    STDMETHOD(get_name)(BSTR* name) = 0;
    STDMETHOD(submit)() = 0;
    STDMETHOD(reset)() = 0;
    STDMETHOD(get_length)(long* length) = 0;
    STDMETHOD(item)(VARIANT name, VARIANT index, IDispatch** element) = 0;
    STDMETHOD(tags)(VARIANT tagName, IDispatch** collection) = 0;
};
KESTRO_DEFINE_IID(IHTMLFormElement, "3050F1F7-98B5-11CF-BB82-00AA00BDCE0B");

struct IHTMLFormElement3 : IDispatch {
    // One element, or a collection when several share the name; S_OK with
    // nothing when none has it.
    STDMETHOD(namedItem)(BSTR name, IDispatch** result) = 0;
};
KESTRO_DEFINE_IID(IHTMLFormElement3, "3050F839-98B5-11CF-BB82-00AA00BDCE0B");

struct IHTMLInputElement : IDispatch {
    STDMETHOD(put_type)(BSTR type) = 0;
    STDMETHOD(get_type)(BSTR* type) = 0;
    STDMETHOD(put_value)(BSTR value) = 0;
    STDMETHOD(get_value)(BSTR* value) = 0;
    STDMETHOD(get_name)(BSTR* name) = 0;
    STDMETHOD(get_form)(IHTMLFormElement** form) = 0;
    STDMETHOD(get_defaultValue)(BSTR* value) = 0;
    STDMETHOD(put_checked)(VARIANT_BOOL checked) = 0;
    STDMETHOD(get_checked)(VARIANT_BOOL* checked) = 0;
    STDMETHOD(get_defaultChecked)(VARIANT_BOOL* checked) = 0;
};
KESTRO_DEFINE_IID(IHTMLInputElement, "3050F5D2-98B5-11CF-BB82-00AA00BDCE0B");

struct IHTMLButtonElement : IDispatch {
    STDMETHOD(get_type)(BSTR* type) = 0;
    STDMETHOD(get_value)(BSTR* value) = 0;
    STDMETHOD(get_name)(BSTR* name) = 0;
    STDMETHOD(get_form)(IHTMLFormElement** form) = 0;
};
KESTRO_DEFINE_IID(IHTMLButtonElement, "3050F2BB-98B5-11CF-BB82-00AA00BDCE0B");

struct IHTMLSelectElement : IDispatch {
    STDMETHOD(get_name)(BSTR* name) = 0;
    STDMETHOD(get_selectedIndex)(long* index) = 0;
    STDMETHOD(put_selectedIndex)(long index) = 0;
    STDMETHOD(get_multiple)(VARIANT_BOOL* multiple) = 0;
    STDMETHOD(get_type)(BSTR* type) = 0;
    STDMETHOD(put_value)(BSTR value) = 0;
    STDMETHOD(get_value)(BSTR* value) = 0;
    STDMETHOD(get_form)(IHTMLFormElement** form) = 0;
    STDMETHOD(get_length)(long* length) = 0;
    STDMETHOD(item)(VARIANT name, VARIANT index, IDispatch** element) = 0;
    STDMETHOD(tags)(VARIANT tagName, IDispatch** collection) = 0;
};
KESTRO_DEFINE_IID(IHTMLSelectElement, "3050F244-98B5-11CF-BB82-00AA00BDCE0B");

struct IHTMLOptionElement : IDispatch {
    STDMETHOD(put_selected)(VARIANT_BOOL selected) = 0;
    STDMETHOD(get_selected)(VARIANT_BOOL* selected) = 0;
    STDMETHOD(put_value)(BSTR value) = 0;
    STDMETHOD(get_value)(BSTR* value) = 0;
    STDMETHOD(get_text)(BSTR* text) = 0;
    STDMETHOD(get_index)(long* index) = 0;
    STDMETHOD(get_form)(IHTMLFormElement** form) = 0;
};
KESTRO_DEFINE_IID(IHTMLOptionElement, "3050F211-98B5-11CF-BB82-00AA00BDCE0B");

struct IHTMLTextAreaElement : IDispatch {
    STDMETHOD(get_type)(BSTR* type) = 0;
    STDMETHOD(put_value)(BSTR value) = 0;
    STDMETHOD(get_value)(BSTR* value) = 0;
    STDMETHOD(get_name)(BSTR* name) = 0;
    STDMETHOD(get_form)(IHTMLFormElement** form) = 0;
    STDMETHOD(get_defaultValue)(BSTR* value) = 0;
};
KESTRO_DEFINE_IID(IHTMLTextAreaElement, "3050F2AA-98B5-11CF-BB82-00AA00BDCE0B");
