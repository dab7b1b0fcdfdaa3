// IDispatch with the least type information the system needs: dual
// interfaces without members of their own, and event sinks invoked with
// DISPPARAMS.
#pragma once

#include "platform/com/bstr.h"
#include "platform/com/com_ptr.h"

struct tagVARIANT;
using DISPID = LONG;
using MEMBERID = DISPID;

constexpr DISPID DISPID_UNKNOWN = -1;
constexpr DISPID DISPID_VALUE = 0;
constexpr DISPID DISPID_PROPERTYPUT = -3;

constexpr WORD DISPATCH_METHOD = 0x1;
constexpr WORD DISPATCH_PROPERTYGET = 0x2;
constexpr WORD DISPATCH_PROPERTYPUT = 0x4;
constexpr WORD DISPATCH_PROPERTYPUTREF = 0x8;

// Arguments are stored in reverse order: rgvarg[cArgs - 1] is the first.
struct DISPPARAMS {
    tagVARIANT* rgvarg;
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    PVOID pvReserved;
    HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
    SCODE scode;
};

enum TYPEKIND {
    TKIND_ENUM,
    TKIND_RECORD,
    TKIND_MODULE,
    TKIND_INTERFACE,
    TKIND_DISPATCH,
    TKIND_COCLASS,
    TKIND_ALIAS,
    TKIND_UNION
};

struct TYPEATTR {
    GUID guid;
    LCID lcid;
    MEMBERID memidConstructor;
    MEMBERID memidDestructor;
    ULONG cbSizeInstance;
    TYPEKIND typekind;
    WORD cFuncs;
    WORD cVars;
    WORD cImplTypes;
    WORD wTypeFlags;
    WORD wMajorVerNum;
    WORD wMinorVerNum;
};

constexpr WORD TYPEFLAG_FDUAL = 0x40;
constexpr WORD TYPEFLAG_FDISPATCHABLE = 0x1000;

struct ITypeInfo : IUnknown {
    STDMETHOD(GetTypeAttr)(TYPEATTR** attr) = 0;
    STDMETHOD_(void, ReleaseTypeAttr)(TYPEATTR* attr) = 0;
    STDMETHOD(GetIDsOfNames)(LPOLESTR* names, UINT count, MEMBERID* ids) = 0;
    STDMETHOD(Invoke)
    (PVOID instance, MEMBERID id, WORD flags, DISPPARAMS* params, tagVARIANT* result,
     EXCEPINFO* excepInfo, UINT* argErr) = 0;
    STDMETHOD(GetDocumentation)
    (MEMBERID id, BSTR* name, BSTR* docString, DWORD* helpContext, BSTR* helpFile) = 0;
};
KESTRO_DEFINE_IID(ITypeInfo, "00020401-0000-0000-C000-000000000046");

struct IDispatch : IUnknown {
    STDMETHOD(GetTypeInfoCount)(UINT* count) = 0;
    STDMETHOD(GetTypeInfo)(UINT index, LCID lcid, ITypeInfo** info) = 0;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) = 0;
    STDMETHOD(Invoke)
    (DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, tagVARIANT* result,
     EXCEPINFO* excepInfo, UINT* argErr) = 0;
};
using LPDISPATCH = IDispatch*;
KESTRO_DEFINE_IID(IDispatch, "00020400-0000-0000-C000-000000000046");

// Type information of a dual interface that adds no members to IDispatch:
// every name is unknown and every member id is not found.
HRESULT CreateDualTypeInfo(REFIID iid, WORD majorVersion, WORD minorVersion, ITypeInfo** info);
