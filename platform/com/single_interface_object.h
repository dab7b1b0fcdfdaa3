// A reference-counted object answering one interface besides IUnknown: the
// shape of the platform's own small helper objects.
#pragma once

#include <atomic>

#include "platform/com/unknown.h"

template <class Derived, class I>
class SingleInterfaceObject : public I {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == __uuidof(I)) {
            *ppv = static_cast<I*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --m_refs;
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }

protected:
    ~SingleInterfaceObject() = default;

private:
    std::atomic<ULONG> m_refs{0};
};
