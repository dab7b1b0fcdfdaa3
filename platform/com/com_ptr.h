// Counted interface pointers: CComPtr holds a reference, CComQIPtr queries
// for its interface when given another one.
#pragma once

#include <memory>
#include <utility>

#include "platform/com/unknown.h"

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv);

template <class T>
class CComPtr {
public:
    CComPtr() noexcept = default;
    CComPtr(std::nullptr_t) noexcept {}
    CComPtr(T* p) noexcept : p(p) {
        if (p) p->AddRef();
    }
    CComPtr(const CComPtr& other) noexcept : CComPtr(other.p) {}
    CComPtr(CComPtr&& other) noexcept : p(std::exchange(other.p, nullptr)) {}
    ~CComPtr() {
        if (p) p->Release();
    }

    CComPtr& operator=(T* other) noexcept {
        if (other != p) CComPtr(other).Swap(*this);
        return *this;
    }
    CComPtr& operator=(const CComPtr& other) noexcept { return *this = other.p; }
    CComPtr& operator=(CComPtr&& other) noexcept {
        if (this != std::addressof(other)) CComPtr(std::move(other)).Swap(*this);
        return *this;
    }
    CComPtr& operator=(std::nullptr_t) noexcept {
        Release();
        return *this;
    }

    operator T*() const noexcept { return p; }
    T* operator->() const noexcept { return p; }
    T& operator*() const noexcept { return *p; }
    // Out-parameter use: the pointer must be empty, as ATL asserts.
    T** operator&() noexcept { return &p; }
    bool operator!() const noexcept { return p == nullptr; }

    void Release() noexcept {
        if (T* old = std::exchange(p, nullptr)) old->Release();
    }
    void Attach(T* other) noexcept {
        if (p) p->Release();
        p = other;
    }
    T* Detach() noexcept { return std::exchange(p, nullptr); }
    HRESULT CopyTo(T** out) const noexcept {
        if (!out) return E_POINTER;
        *out = p;
        if (p) p->AddRef();
        return S_OK;
    }
    void Swap(CComPtr& other) noexcept { std::swap(p, other.p); }

    template <class Q>
    HRESULT QueryInterface(Q** out) const noexcept {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!p) return E_POINTER;
        return p->QueryInterface(__uuidof(Q), reinterpret_cast<void**>(out));
    }
    HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer = nullptr, DWORD context = 0x17) {
        return ::CoCreateInstance(clsid, outer, context, __uuidof(T), reinterpret_cast<void**>(&p));
    }

    // Same object when both answer the same IUnknown.
    bool IsEqualObject(IUnknown* other) const noexcept;

    T* p = nullptr;
};

template <class T>
class CComQIPtr : public CComPtr<T> {
public:
    CComQIPtr() noexcept = default;
    CComQIPtr(std::nullptr_t) noexcept {}
    CComQIPtr(T* p) noexcept : CComPtr<T>(p) {}
    CComQIPtr(const CComQIPtr& other) noexcept : CComPtr<T>(other.p) {}
    CComQIPtr(IUnknown* unknown) noexcept { Query(unknown); }
    template <class Q>
    requires(!std::is_same_v<Q, T> && !std::is_same_v<Q, IUnknown>)
        CComQIPtr(const CComPtr<Q>& other)
    noexcept { Query(other.p); }

    CComQIPtr& operator=(T* other) noexcept {
        CComPtr<T>::operator=(other);
        return *this;
    }
    CComQIPtr& operator=(const CComQIPtr& other) noexcept {
        CComPtr<T>::operator=(other.p);
        return *this;
    }
    CComQIPtr& operator=(IUnknown* unknown) noexcept {
        CComQIPtr fresh(unknown);
        this->Swap(fresh);
        return *this;
    }

private:
    void Query(IUnknown* unknown) noexcept {
        if (unknown) unknown->QueryInterface(__uuidof(T), reinterpret_cast<void**>(&this->p));
    }
};

// IUnknown needs no query: any interface pointer is one.
template <>
class CComQIPtr<IUnknown> : public CComPtr<IUnknown> {
public:
    CComQIPtr() noexcept = default;
    CComQIPtr(IUnknown* p) noexcept {
        if (p) p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&this->p));
    }
};

template <class T>
bool CComPtr<T>::IsEqualObject(IUnknown* other) const noexcept {
    if (!p && !other) return true;
    if (!p || !other) return false;
    CComPtr<IUnknown> a, b;
    p->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&a.p));
    other->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&b.p));
    return a.p == b.p;
}
