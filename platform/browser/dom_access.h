// Private interfaces through which the document's own objects recognise
// each other when they are handed back as arguments.
#pragma once

#include "platform/browser/markup_position.h"
#include "platform/com/unknown.h"

namespace browser {
class HtmlDocument;
}

struct IDomNodeAccess : IUnknown {
    STDMETHOD_(browser::Node*, DomNode)() = 0;
    STDMETHOD_(browser::HtmlDocument*, OwnerDocument)() = 0;
};
KESTRO_DEFINE_IID(IDomNodeAccess, "6E0C2A41-3B8D-4F52-9A7E-1D54C2B9F301");

struct IMarkupPositionAccess : IUnknown {
    STDMETHOD_(browser::MarkupPosition, Position)() = 0;
    STDMETHOD_(browser::HtmlDocument*, OwnerDocument)() = 0;
};
KESTRO_DEFINE_IID(IMarkupPositionAccess, "6E0C2A41-3B8D-4F52-9A7E-1D54C2B9F302");
