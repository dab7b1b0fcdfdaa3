// How a browser's host takes part in its page's UI: the UI handler a
// document calls for context menus (IDocHostUIHandler, installed with
// ICustomDoc::SetUIHandler), the context ids, and the command groups and
// ids of the browser's own menu items.
#pragma once

#include "platform/browser/ole_interfaces.h"

struct IOleInPlaceActiveObject;
struct IOleInPlaceFrame;
struct IOleInPlaceUIWindow;
struct IDropTarget;
struct IDataObject;
struct MSG;
using LPMSG = MSG*;
using LPCRECT = const RECT*;

struct DOCHOSTUIINFO {
    ULONG cbSize;
    DWORD dwFlags;
    DWORD dwDoubleClick;
    char16_t* pchHostCss;
    char16_t* pchHostNS;
};

// Context ids: the submenu of the browser's menu resource for each.
constexpr DWORD CONTEXT_MENU_DEFAULT = 0;
constexpr DWORD CONTEXT_MENU_IMAGE = 1;
constexpr DWORD CONTEXT_MENU_CONTROL = 2;
constexpr DWORD CONTEXT_MENU_TABLE = 3;
constexpr DWORD CONTEXT_MENU_TEXTSELECT = 4;
constexpr DWORD CONTEXT_MENU_ANCHOR = 5;

struct IDocHostUIHandler : IUnknown {
    STDMETHOD(ShowContextMenu)
    (DWORD id, POINT* point, IUnknown* commandTarget, IDispatch* element) = 0;
    STDMETHOD(GetHostInfo)(DOCHOSTUIINFO* info) = 0;
    STDMETHOD(ShowUI)
    (DWORD id, IOleInPlaceActiveObject* activeObject, IOleCommandTarget* commandTarget,
     IOleInPlaceFrame* frame, IOleInPlaceUIWindow* document) = 0;
    STDMETHOD(HideUI)() = 0;
    STDMETHOD(UpdateUI)() = 0;
    STDMETHOD(EnableModeless)(BOOL enable) = 0;
    STDMETHOD(OnDocWindowActivate)(BOOL activate) = 0;
    STDMETHOD(OnFrameWindowActivate)(BOOL activate) = 0;
    STDMETHOD(ResizeBorder)(LPCRECT border, IOleInPlaceUIWindow* window, BOOL frameWindow) = 0;
    STDMETHOD(TranslateAccelerator)(LPMSG message, const GUID* group, DWORD command) = 0;
    STDMETHOD(GetOptionKeyPath)(LPOLESTR* key, DWORD reserved) = 0;
    STDMETHOD(GetDropTarget)(IDropTarget* dropTarget, IDropTarget** replacement) = 0;
    STDMETHOD(GetExternal)(IDispatch** external) = 0;
    STDMETHOD(TranslateUrl)(DWORD translate, LPWSTR urlIn, LPWSTR* urlOut) = 0;
    STDMETHOD(FilterDataObject)(IDataObject* object, IDataObject** replacement) = 0;
};
KESTRO_DEFINE_IID(IDocHostUIHandler, "BD3F23C0-D43E-11CF-893B-00AA00BDCE1A");

struct ICustomDoc : IUnknown {
    STDMETHOD(SetUIHandler)(IDocHostUIHandler* handler) = 0;
};
KESTRO_DEFINE_IID(ICustomDoc, "3050F3F0-98B5-11CF-BB82-00AA00BDCE0B");

// The browser's own commands: its menu items, carried out by Exec with
// CGID_MSHTML.
inline constexpr GUID CGID_MSHTML = MakeGuid("DE4BA900-59CA-11CF-9592-444553540000");
// Commands of the shell's document view: 27 gives the encoding popup for
// item IDM_LANGUAGE, 53 lets the host adjust a context submenu (in: the
// menu handle as VT_INT_PTR; a second VARIANT after it: the context id).
inline constexpr GUID CGID_ShellDocView = MakeGuid("000214D1-0000-0000-C000-000000000046");
constexpr DWORD SHDVID_GETMIMECSETMENU = 27;
constexpr DWORD SHDVID_ADDMENUEXTENSIONS = 53;

constexpr UINT IDM_COPY = 15;
constexpr UINT IDM_PRINT = 27;
constexpr UINT IDM_PROPERTIES = 28;
constexpr UINT IDM_SELECTALL = 31;
constexpr UINT IDM_FOLLOWLINKC = 2136;  // "Open Link"
constexpr UINT IDM_FOLLOWLINKN = 2137;  // "Open in New Window"
constexpr UINT IDM_VIEWSOURCE = 2139;
constexpr UINT IDM_GOBACKWARD = 2282;
constexpr UINT IDM_GOFORWARD = 2283;
constexpr UINT IDM_LANGUAGE = 2292;  // "Encoding": a placeholder for a popup
constexpr UINT IDM_REFRESH = 2300;
// The encoding popup's items: a charset each.
constexpr UINT IDM_MIMECSET_FIRST = 3609;

// The browser's context menus live in this resource module.
constexpr UINT IDR_BROWSE_CONTEXT_MENU = 24641;
