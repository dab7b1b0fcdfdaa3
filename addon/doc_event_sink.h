// CDocEventSink: receives the document events (HTMLDocumentEvents2) of every
// page and frame its browser window loads, and hands clicks and
// double-clicks to the window's add-on object. One per window; documents
// that still hold a connection to it keep it alive after the window let go.
#pragma once

#include "addon/farrow_interfaces.h"
#include "platform/browser/mshtml_document.h"
#include "platform/com/atl_com.h"
#include "platform/com/atl_dispatch.h"

class CEditHtml;

class CDocEventSink
    : public CComObjectRootEx<CComSingleThreadModel>,
      public CComCoClass<CDocEventSink, &CLSID_DocEventSink>,
      public IDispatchImpl<IDocEventSink, &IID_IDocEventSink, &LIBID_FarrowLib, 1, 0> {
public:
    DECLARE_REGISTRY_RESOURCEID(213)
    DECLARE_NOT_AGGREGATABLE(CDocEventSink)

    BEGIN_COM_MAP(CDocEventSink)
    COM_INTERFACE_ENTRY(IDocEventSink)
    COM_INTERFACE_ENTRY(IDispatch)
    END_COM_MAP()

    // Only the event object, the first argument, is read; the interface
    // id, locale and flags are ignored.
    STDMETHODIMP Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                        tagVARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) override;

    BYTE m_bLinkClicked = 0;
    BYTE m_bAltClick = 0;
    CEditHtml* m_pOwner = nullptr;  // not counted: cleared when the window lets go

private:
    void OnClick(IHTMLEventObj* event);
    void OnDoubleClick(IHTMLEventObj* event);
    void FollowLinkRule(IHTMLElement* link);
};
