// Markup services: pointers between the tags and text of a document, with
// MSHTML's identifiers and method shapes.
#pragma once

#include "platform/browser/mshtml_element.h"

enum ELEMENT_ADJACENCY {
    ELEM_ADJ_BeforeBegin = 0,
    ELEM_ADJ_AfterBegin = 1,
    ELEM_ADJ_BeforeEnd = 2,
    ELEM_ADJ_AfterEnd = 3,
};

// What a pointer passed when it moved.
enum MARKUP_CONTEXT_TYPE {
    CONTEXT_TYPE_None = 0,        // the edge of the document
    CONTEXT_TYPE_Text = 1,        // characters
    CONTEXT_TYPE_EnterScope = 2,  // a tag into an element
    CONTEXT_TYPE_ExitScope = 3,   // a tag out of an element
    CONTEXT_TYPE_NoScope = 4,     // an element without content (<br>, <img>...)
};

struct IMarkupContainer : IUnknown {
    STDMETHOD(OwningDoc)(IDispatch** document) = 0;
};
KESTRO_DEFINE_IID(IMarkupContainer, "3050F5F9-98B5-11CF-BB82-00AA00BDCE0B");

struct IMarkupPointer : IUnknown {
    STDMETHOD(OwningDoc)(IDispatch** document) = 0;
    STDMETHOD(Unposition)() = 0;
    STDMETHOD(IsPositioned)(BOOL* positioned) = 0;
    STDMETHOD(GetContainer)(IMarkupContainer** container) = 0;
    STDMETHOD(MoveAdjacentToElement)(IHTMLElement* element, ELEMENT_ADJACENCY adjacency) = 0;
    STDMETHOD(MoveToPointer)(IMarkupPointer* pointer) = 0;
    STDMETHOD(MoveToContainer)(IMarkupContainer* container, BOOL atStart) = 0;
    // context, element, count and text may each be null. count: on entry the
    // most characters to pass (-1 for the whole run), on return how many
    // were passed.
    STDMETHOD(Left)
    (BOOL move, MARKUP_CONTEXT_TYPE* context, IHTMLElement** element, long* count,
     OLECHAR* text) = 0;
    STDMETHOD(Right)
    (BOOL move, MARKUP_CONTEXT_TYPE* context, IHTMLElement** element, long* count,
     OLECHAR* text) = 0;
    STDMETHOD(CurrentScope)(IHTMLElement** element) = 0;
    STDMETHOD(IsLeftOf)(IMarkupPointer* other, BOOL* result) = 0;
    STDMETHOD(IsLeftOfOrEqualTo)(IMarkupPointer* other, BOOL* result) = 0;
    STDMETHOD(IsRightOf)(IMarkupPointer* other, BOOL* result) = 0;
    STDMETHOD(IsRightOfOrEqualTo)(IMarkupPointer* other, BOOL* result) = 0;
    STDMETHOD(IsEqualTo)(IMarkupPointer* other, BOOL* result) = 0;
};
KESTRO_DEFINE_IID(IMarkupPointer, "3050F49F-98B5-11CF-BB82-00AA00BDCE0B");

struct IMarkupServices : IUnknown {
    STDMETHOD(CreateMarkupPointer)(IMarkupPointer** pointer) = 0;
};
KESTRO_DEFINE_IID(IMarkupServices, "3050F4A0-98B5-11CF-BB82-00AA00BDCE0B");
