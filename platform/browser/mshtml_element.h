// The element and node interfaces of the browser's document object model,
// with MSHTML's identifiers and method shapes.
#pragma once

#include "platform/com/dispatch.h"
#include "platform/com/variant.h"

struct IHTMLElementCollection;

struct IHTMLElement : IDispatch {
    STDMETHOD(setAttribute)(BSTR name, VARIANT value, LONG flags) = 0;
    STDMETHOD(getAttribute)(BSTR name, LONG flags, VARIANT* value) = 0;
    STDMETHOD(removeAttribute)(BSTR name, LONG flags, VARIANT_BOOL* success) = 0;
    STDMETHOD(get_className)(BSTR* value) = 0;
    STDMETHOD(get_id)(BSTR* value) = 0;
    STDMETHOD(get_tagName)(BSTR* value) = 0;
    STDMETHOD(get_parentElement)(IHTMLElement** parent) = 0;
    STDMETHOD(get_document)(IDispatch** document) = 0;
    STDMETHOD(get_title)(BSTR* value) = 0;
    STDMETHOD(get_innerHTML)(BSTR* value) = 0;
    STDMETHOD(get_innerText)(BSTR* value) = 0;
    STDMETHOD(get_outerHTML)(BSTR* value) = 0;
    STDMETHOD(click)() = 0;
    STDMETHOD(contains)(IHTMLElement* child, VARIANT_BOOL* result) = 0;
    STDMETHOD(get_children)(IDispatch** collection) = 0;
    STDMETHOD(get_all)(IDispatch** collection) = 0;
};
KESTRO_DEFINE_IID(IHTMLElement, "3050F1FF-98B5-11CF-BB82-00AA00BDCE0B");

struct IHTMLElement2 : IDispatch {
    STDMETHOD(getElementsByTagName)(BSTR tagName, IHTMLElementCollection** collection) = 0;
};
KESTRO_DEFINE_IID(IHTMLElement2, "3050F434-98B5-11CF-BB82-00AA00BDCE0B");

struct IHTMLElementCollection : IDispatch {
    STDMETHOD(toString)(BSTR* text) = 0;
    STDMETHOD(get_length)(long* length) = 0;
    // name: an index (integer variant) or a name/id (string variant); index
    // picks among several elements of that name.
    STDMETHOD(item)(VARIANT name, VARIANT index, IDispatch** element) = 0;
    STDMETHOD(tags)(VARIANT tagName, IDispatch** collection) = 0;
};
KESTRO_DEFINE_IID(IHTMLElementCollection, "3050F21F-98B5-11CF-BB82-00AA00BDCE0B");

struct IHTMLDOMNode : IDispatch {
    STDMETHOD(get_nodeType)(long* type) = 0;
    STDMETHOD(get_parentNode)(IHTMLDOMNode** parent) = 0;
    STDMETHOD(hasChildNodes)(VARIANT_BOOL* result) = 0;
    STDMETHOD(get_nodeName)(BSTR* name) = 0;
    STDMETHOD(get_nodeValue)(VARIANT* value) = 0;
    STDMETHOD(get_firstChild)(IHTMLDOMNode** child) = 0;
    STDMETHOD(get_lastChild)(IHTMLDOMNode** child) = 0;
    STDMETHOD(get_previousSibling)(IHTMLDOMNode** sibling) = 0;
    STDMETHOD(get_nextSibling)(IHTMLDOMNode** sibling) = 0;
};
KESTRO_DEFINE_IID(IHTMLDOMNode, "3050F5DA-98B5-11CF-BB82-00AA00BDCE0B");

struct IHTMLDOMTextNode : IDispatch {
    STDMETHOD(get_data)(BSTR* text) = 0;
    STDMETHOD(toString)(BSTR* text) = 0;
    STDMETHOD(get_length)(long* length) = 0;
};
KESTRO_DEFINE_IID(IHTMLDOMTextNode, "3050F4B1-98B5-11CF-BB82-00AA00BDCE0B");

struct IHTMLAnchorElement : IDispatch {
    STDMETHOD(get_href)(BSTR* url) = 0;
    STDMETHOD(get_target)(BSTR* target) = 0;
    STDMETHOD(get_name)(BSTR* name) = 0;
};
KESTRO_DEFINE_IID(IHTMLAnchorElement, "3050F1DA-98B5-11CF-BB82-00AA00BDCE0B");

// nodeType values.
constexpr long kNodeTypeElement = 1;
constexpr long kNodeTypeText = 3;
constexpr long kNodeTypeComment = 8;
constexpr long kNodeTypeDocument = 9;
