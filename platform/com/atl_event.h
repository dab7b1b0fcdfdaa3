// IDispEventImpl: receives a source's dispatch events and calls the member
// functions that the class's sink map binds to their DISPIDs.
//
// The event sink is a small IDispatch object inside the base, so that the
// class's own IDispatch stays unambiguous. It answers for the event
// interface, IDispatch and IUnknown, and is not reference counted: it lives
// exactly as long as the object that contains it.
#pragma once

#include <tuple>
#include <type_traits>

#include "platform/com/connection_point.h"
#include "platform/com/variant.h"

namespace atl_event_detail {

// Takes the value an event handler parameter of type P expects out of one
// argument; false when the argument does not fit.
template <class P>
bool FromArgument(VARIANT& arg, P& out);

template <>
inline bool FromArgument(VARIANT& arg, VARIANT*& out) {
    out = (arg.vt == (VT_BYREF | VT_VARIANT)) ? arg.pvarVal : &arg;
    return out != nullptr;
}
template <>
inline bool FromArgument(VARIANT& arg, IDispatch*& out) {
    if (arg.vt == VT_DISPATCH || arg.vt == VT_UNKNOWN)
        out = arg.pdispVal;
    else if (arg.vt == (VT_BYREF | VT_DISPATCH))
        out = arg.ppdispVal ? *arg.ppdispVal : nullptr;
    else if (arg.vt == VT_EMPTY || arg.vt == VT_NULL)
        out = nullptr;
    else
        return false;
    return true;
}
template <>
inline bool FromArgument(VARIANT& arg, IUnknown*& out) {
    if (arg.vt == VT_DISPATCH || arg.vt == VT_UNKNOWN)
        out = arg.punkVal;
    else if (arg.vt == VT_EMPTY || arg.vt == VT_NULL)
        out = nullptr;
    else
        return false;
    return true;
}
template <>
inline bool FromArgument(VARIANT& arg, IDispatch**& out) {
    if (arg.vt != (VT_BYREF | VT_DISPATCH)) return false;
    out = arg.ppdispVal;
    return true;
}
template <>
inline bool FromArgument(VARIANT& arg, VARIANT_BOOL*& out) {
    if (arg.vt != (VT_BYREF | VT_BOOL)) return false;
    out = arg.pboolVal;
    return true;
}
template <>
inline bool FromArgument(VARIANT& arg, VARIANT_BOOL& out) {
    CComVariant v;
    if (FAILED(VariantChangeType(&v, &arg, 0, VT_BOOL))) return false;
    out = v.boolVal;
    return true;
}
template <>
inline bool FromArgument(VARIANT& arg, LONG& out) {
    CComVariant v;
    if (FAILED(VariantChangeType(&v, &arg, 0, VT_I4))) return false;
    out = v.lVal;
    return true;
}
template <>
inline bool FromArgument(VARIANT& arg, LONG*& out) {
    if (arg.vt != (VT_BYREF | VT_I4)) return false;
    out = arg.plVal;
    return true;
}
template <>
inline bool FromArgument(VARIANT& arg, BSTR& out) {
    if (arg.vt == VT_BSTR)
        out = arg.bstrVal;
    else if (arg.vt == (VT_BYREF | VT_BSTR))
        out = arg.pbstrVal ? *arg.pbstrVal : nullptr;
    else
        return false;
    return true;
}

template <class M>
struct Method;

template <class C, class... A>
struct Method<HRESULT (C::*)(A...)> {
    using Class = C;
    static constexpr std::size_t kArity = sizeof...(A);
    using Args = std::tuple<std::remove_cv_t<A>...>;
};

template <class T, auto F, std::size_t... I>
HRESULT CallWith(T* object, DISPPARAMS* params, std::index_sequence<I...>) {
    using M = Method<decltype(F)>;
    typename M::Args args{};
    // Arguments arrive last first.
    const bool ok = (FromArgument(params->rgvarg[params->cArgs - 1 - I], std::get<I>(args)) && ...);
    if (!ok) return DISP_E_TYPEMISMATCH;
    return (object->*F)(std::get<I>(args)...);
}

// object is the sink map's class.
template <class T, auto F>
HRESULT Invoke(void* object, DISPPARAMS* params) {
    using M = Method<decltype(F)>;
    const UINT count = params ? params->cArgs : 0;
    if (count != M::kArity || (count && !params->rgvarg)) return DISP_E_BADPARAMCOUNT;
    return CallWith<T, F>(static_cast<T*>(object), params, std::make_index_sequence<M::kArity>{});
}

}  // namespace atl_event_detail

// One row of a sink map: which source (control id and event interface),
// which DISPID, and the handler.
struct _ATL_EVENT_ENTRY {
    UINT nControlID;
    const IID* piid;
    DISPID dispid;
    HRESULT (*invoke)(void* object, DISPPARAMS* params);
};

#define BEGIN_SINK_MAP(x)                            \
    using _atl_event_classtype [[maybe_unused]] = x; \
    static const _ATL_EVENT_ENTRY* _GetSinkMap() {   \
        static const _ATL_EVENT_ENTRY map[] = {
#define SINK_ENTRY_EX(id, iid, dispid, fn) \
    {id, &iid, dispid,                     \
     &::atl_event_detail::Invoke<_atl_event_classtype, &_atl_event_classtype::fn>},
#define END_SINK_MAP()         \
    { 0, nullptr, 0, nullptr } \
    }                          \
    ;                          \
    return map;                \
    }

constexpr DWORD kEventCookieNotConnected = 0xFEFEFEFE;

template <UINT nID, class T, const IID* pdiid, const GUID* plibid = &GUID_NULL, WORD wMajor = 0,
          WORD wMinor = 0>
class IDispEventImpl {
public:
    // Advises the source's connection point for the event interface.
    HRESULT DispEventAdvise(IUnknown* source, const IID* piid = pdiid) {
        m_iid = *piid;
        return AtlAdvise(source, m_sink.AsUnknown(), m_iid, &m_dwEventCookie);
    }
    HRESULT DispEventUnadvise(IUnknown* source, const IID* piid = pdiid) {
        const HRESULT hr = AtlUnadvise(source, *piid, m_dwEventCookie);
        m_dwEventCookie = kEventCookieNotConnected;
        return hr;
    }

    DWORD m_dwEventCookie = kEventCookieNotConnected;

private:
    class Sink final : public IDispatch {
    public:
        explicit Sink(IDispEventImpl* owner) : m_owner(owner) {}
        IUnknown* AsUnknown() { return this; }

        STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
            if (!ppv) return E_POINTER;
            if (riid == IID_IUnknown || riid == IID_IDispatch || riid == m_owner->m_iid) {
                *ppv = static_cast<IDispatch*>(this);
                return S_OK;
            }
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        STDMETHODIMP_(ULONG) AddRef() override { return 1; }
        STDMETHODIMP_(ULONG) Release() override { return 1; }
        STDMETHODIMP GetTypeInfoCount(UINT* count) override {
            if (!count) return E_POINTER;
            *count = 0;
            return S_OK;
        }
        STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
            if (info) *info = nullptr;
            return E_NOTIMPL;
        }
        STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
            return E_NOTIMPL;
        }
        // Events the map does not bind are accepted and ignored.
        STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, tagVARIANT*,
                            EXCEPINFO*, UINT*) override {
            T* object = static_cast<T*>(m_owner);
            for (const _ATL_EVENT_ENTRY* e = T::_GetSinkMap(); e->piid; ++e) {
                if (e->nControlID == nID && *e->piid == m_owner->m_iid && e->dispid == id) {
                    DISPPARAMS none{nullptr, nullptr, 0, 0};
                    return e->invoke(object, params ? params : &none);
                }
            }
            return S_OK;
        }

    private:
        IDispEventImpl* m_owner;
    };

    IID m_iid = *pdiid;
    Sink m_sink{this};
};
