// The OLE document interfaces a browser window offers around its page:
// windows, command targets, client sites, containers and enumerators, with
// the identifiers and method shapes of the Windows headers.
#pragma once

#include "platform/com/dispatch.h"
#include "platform/com/variant.h"
#include "platform/ui/ui_types.h"

struct IOleWindow : IUnknown {
    STDMETHOD(GetWindow)(HWND* window) = 0;
    STDMETHOD(ContextSensitiveHelp)(BOOL enterMode) = 0;
};
KESTRO_DEFINE_IID(IOleWindow, "00000114-0000-0000-C000-000000000046");

struct OLECMD {
    ULONG cmdID;
    DWORD cmdf;
};
struct OLECMDTEXT {
    DWORD cmdtextf;
    ULONG cwActual;
    ULONG cwBuf;
    char16_t rgwz[1];
};

constexpr DWORD OLECMDF_SUPPORTED = 0x1;
constexpr DWORD OLECMDF_ENABLED = 0x2;

constexpr DWORD OLECMDID_PRINT = 6;
constexpr DWORD OLECMDID_CLOSE = 45;
using OLECMDID = DWORD;

constexpr DWORD OLECMDEXECOPT_DODEFAULT = 0;
constexpr DWORD OLECMDEXECOPT_PROMPTUSER = 1;
constexpr DWORD OLECMDEXECOPT_DONTPROMPTUSER = 2;
using OLECMDEXECOPT = DWORD;

constexpr HRESULT OLECMDERR_E_NOTSUPPORTED = static_cast<HRESULT>(0x80040100);
constexpr HRESULT OLECMDERR_E_DISABLED = static_cast<HRESULT>(0x80040101);
constexpr HRESULT OLECMDERR_E_CANCELED = static_cast<HRESULT>(0x80040103);
constexpr HRESULT OLECMDERR_E_UNKNOWNGROUP = static_cast<HRESULT>(0x80040104);

struct IOleCommandTarget : IUnknown {
    STDMETHOD(QueryStatus)
    (const GUID* group, ULONG count, OLECMD* commands, OLECMDTEXT* text) = 0;
    STDMETHOD(Exec)
    (const GUID* group, DWORD command, DWORD options, VARIANT* in, VARIANT* out) = 0;
};
KESTRO_DEFINE_IID(IOleCommandTarget, "B722BCCB-4E68-101B-A2BC-00AA00404770");

struct IOleContainer;

struct IOleClientSite : IUnknown {
    STDMETHOD(SaveObject)() = 0;
    STDMETHOD(GetContainer)(IOleContainer** container) = 0;
    STDMETHOD(ShowObject)() = 0;
};
KESTRO_DEFINE_IID(IOleClientSite, "00000118-0000-0000-C000-000000000046");

struct IOleObject : IUnknown {
    STDMETHOD(SetClientSite)(IOleClientSite* site) = 0;
    STDMETHOD(GetClientSite)(IOleClientSite** site) = 0;
};
KESTRO_DEFINE_IID(IOleObject, "00000112-0000-0000-C000-000000000046");

struct IEnumUnknown : IUnknown {
    STDMETHOD(Next)(ULONG count, IUnknown** items, ULONG* fetched) = 0;
    STDMETHOD(Skip)(ULONG count) = 0;
    STDMETHOD(Reset)() = 0;
    STDMETHOD(Clone)(IEnumUnknown** copy) = 0;
};
KESTRO_DEFINE_IID(IEnumUnknown, "00000100-0000-0000-C000-000000000046");

constexpr DWORD OLECONTF_EMBEDDINGS = 1;
constexpr DWORD OLECONTF_LINKS = 2;
constexpr DWORD OLECONTF_OTHERS = 4;
constexpr DWORD OLECONTF_ONLYUSER = 8;
constexpr DWORD OLECONTF_ONLYIFRUNNING = 16;

struct IOleContainer : IUnknown {
    STDMETHOD(EnumObjects)(DWORD flags, IEnumUnknown** objects) = 0;
    STDMETHOD(LockContainer)(BOOL lock) = 0;
};
KESTRO_DEFINE_IID(IOleContainer, "0000011B-0000-0000-C000-000000000046");
