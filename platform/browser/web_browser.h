// The browser object of a window or a frame (IWebBrowser2) and the events
// it fires (DWebBrowserEvents2), with the identifiers of the Microsoft
// Internet Controls; and the document events pages fire
// (HTMLDocumentEvents2).
#pragma once

#include "platform/browser/ole_interfaces.h"

// Called from an event handler or a command, Navigate, Refresh and the new
// windows they open run after it has returned; S_OK then means the request
// was checked and queued. ExecWB(OLECMDID_CLOSE) and Quit close the window
// at once; the caller's object stays alive until its handler returns.
struct IWebBrowser2 : IDispatch {
    // flags: 0, navOpenInNewWindow or navOpenInNewTab; targetFrameName: a
    // frame's name (or "_blank", "_self", "_top"); postData: VT_ARRAY|VT_UI1
    // bytes sent by POST; headers: extra request headers.
    STDMETHOD(Navigate)
    (BSTR url, VARIANT* flags, VARIANT* targetFrameName, VARIANT* postData, VARIANT* headers) = 0;
    STDMETHOD(Refresh)() = 0;
    STDMETHOD(get_Document)(IDispatch** document) = 0;
    STDMETHOD(get_LocationName)(BSTR* title) = 0;
    STDMETHOD(get_LocationURL)(BSTR* url) = 0;
    STDMETHOD(get_Busy)(VARIANT_BOOL* busy) = 0;
    STDMETHOD(Quit)() = 0;
    STDMETHOD(ExecWB)(OLECMDID command, OLECMDEXECOPT options, VARIANT* in, VARIANT* out) = 0;
};
KESTRO_DEFINE_IID(IWebBrowser2, "D30C1661-CDAF-11D0-8A3E-00C04FC9E26E");

constexpr long navOpenInNewWindow = 0x1;
constexpr long navOpenInNewTab = 0x800;

inline constexpr GUID LIBID_SHDocVw = MakeGuid("EAB22AC0-30C1-11CF-A7EB-0000C05BAE0B");
inline constexpr GUID DIID_DWebBrowserEvents2 = MakeGuid("34A715A0-6587-11D0-924A-0020AFC7AC4D");

// DWebBrowserEvents2. Arguments in DISPPARAMS order (last argument first):
//   BeforeNavigate2: browser, url, flags, target frame, post data, headers,
//                    cancel (VT_BYREF|VT_BOOL)
//   NewWindow2: new browser (VT_BYREF|VT_DISPATCH), cancel (VT_BYREF|VT_BOOL)
//   NavigateComplete2, DocumentComplete: browser (VT_DISPATCH), url
//                    (VT_BYREF|VT_VARIANT)
constexpr DISPID DISPID_BEFORENAVIGATE2 = 250;
constexpr DISPID DISPID_NEWWINDOW2 = 251;
constexpr DISPID DISPID_NAVIGATECOMPLETE2 = 252;
constexpr DISPID DISPID_ONQUIT = 253;
constexpr DISPID DISPID_DOCUMENTCOMPLETE = 259;

inline constexpr GUID DIID_HTMLDocumentEvents2 = MakeGuid("3050F613-98B5-11CF-BB82-00AA00BDCE0B");
// Each with one argument, the event object (VT_DISPATCH, IHTMLEventObj).
constexpr DISPID DISPID_HTMLDOCUMENTEVENTS2_ONCLICK = -600;
constexpr DISPID DISPID_HTMLDOCUMENTEVENTS2_ONDBLCLICK = -601;
constexpr DISPID DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEMOVE = -606;
