// What a document asks of the window that shows it. Windows, events and
// page loading attach here; a document without a host does nothing more
// than its own tree allows.
#pragma once

#include "platform/browser/dom_node.h"
#include "platform/com/variant.h"

struct IHTMLWindow2;

namespace browser {

class HtmlDocument;

// What a write through the document's interfaces changed on a node.
enum class NodeWrite { Value, Checked, Selected, Attribute };

class DocumentHost {
public:
    // IHTMLElement::click: the event and default action (links navigate,
    // submit buttons submit, check boxes toggle).
    virtual HRESULT Click(HtmlDocument& document, Node& element) = 0;
    // IHTMLFormElement::submit.
    virtual HRESULT Submit(HtmlDocument& document, Node& form) = 0;
    // IHTMLDocument2::open.
    virtual HRESULT Open(HtmlDocument& document, BSTR url, const VARIANT& name,
                         const VARIANT& features, const VARIANT& replace, IDispatch** window) = 0;
    virtual HRESULT ParentWindow(HtmlDocument& document, IHTMLWindow2** window) = 0;
    // Interfaces the window adds to its document (ICustomDoc, IOleObject...).
    virtual HRESULT QueryDocumentInterface(HtmlDocument& document, REFIID iid, void** out) = 0;
    // IHTMLDocument2::close replaced the content with what was written.
    virtual void ContentWritten(HtmlDocument& /*document*/) {}
    // A caller changed a node through the interfaces (put_value,
    // put_checked, setAttribute...); the model already holds the change.
    virtual void NodeWritten(HtmlDocument& /*document*/, Node& /*node*/, NodeWrite /*what*/) {}

protected:
    ~DocumentHost() = default;
};

}  // namespace browser
