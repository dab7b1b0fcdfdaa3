// IUnknown and the declaration macros COM classes are written with.
#pragma once

#include <type_traits>

#include "platform/com/guid.h"

#define STDMETHODCALLTYPE
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define STDAPI extern "C" HRESULT STDAPICALLTYPE
#define STDAPICALLTYPE
#define PURE = 0

// Interfaces have no virtual destructor: objects end through Release.
struct IUnknown {
    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) = 0;
    STDMETHOD_(ULONG, AddRef)() = 0;
    STDMETHOD_(ULONG, Release)() = 0;

    template <class Q>
    HRESULT QueryInterface(Q** pp) {
        return QueryInterface(__uuidof(Q), reinterpret_cast<void**>(pp));
    }

protected:
    ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;

KESTRO_DEFINE_IID(IUnknown, "00000000-0000-0000-C000-000000000046");
