// Object creation: class factories, the apartment calls, CoCreateInstance
// and the task allocator.
#pragma once

#include "platform/com/com_ptr.h"
#include "platform/com/single_interface_object.h"

struct IClassFactory : IUnknown {
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** ppv) = 0;
    STDMETHOD(LockServer)(BOOL lock) = 0;
};
KESTRO_DEFINE_IID(IClassFactory, "00000001-0000-0000-C000-000000000046");

// What keeps a server loaded: its lock count (a library's module object).
struct ServerLock {
    virtual LONG Lock() = 0;
    virtual LONG Unlock() = 0;

protected:
    ~ServerLock() = default;
};

// Creates objects of one class; holds its server's lock while it lives.
class CComClassFactory final : public SingleInterfaceObject<CComClassFactory, IClassFactory> {
public:
    using Creator = HRESULT (*)(IUnknown* outer, REFIID riid, void** ppv);
    explicit CComClassFactory(Creator creator, ServerLock* lock = nullptr)
        : m_creator(creator), m_lock(lock) {
        if (m_lock) m_lock->Lock();
    }
    ~CComClassFactory() {
        if (m_lock) m_lock->Unlock();
    }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        return m_creator(outer, riid, ppv);
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (m_lock) lock ? m_lock->Lock() : m_lock->Unlock();
        return S_OK;
    }

private:
    Creator m_creator;
    ServerLock* m_lock;
};

constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
constexpr DWORD CLSCTX_SERVER = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
constexpr DWORD CLSCTX_ALL =
    CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;

constexpr DWORD COINIT_MULTITHREADED = 0x0;
constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

// Counted per thread: S_OK for the first call, S_FALSE for later ones, and
// RPC_E_CHANGED_MODE when the threading model differs from the first.
HRESULT CoInitialize(void* reserved);
HRESULT CoInitializeEx(void* reserved, DWORD coInit);
void CoUninitialize();

// Finds the class among the platform's built-in classes, then through
// HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32, whose library is loaded
// (and kept loaded) and asked through its DllGetClassObject.
HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void* serverInfo, REFIID riid, void** ppv);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** ppv);

void* CoTaskMemAlloc(SIZE_T size);
void* CoTaskMemRealloc(void* block, SIZE_T size);
void CoTaskMemFree(void* block);

// A class built into the platform (the speech voice, the database objects).
using BuiltinClassCreator = HRESULT (*)(IUnknown* outer, REFIID riid, void** ppv);
void RegisterBuiltinClass(REFCLSID clsid, BuiltinClassCreator creator);

// Registers a built-in class when the program starts.
#define KESTRO_BUILTIN_CLASS(name, clsid, creator) \
    static const bool name##_registered = [] {     \
        ::RegisterBuiltinClass(clsid, creator);    \
        return true;                               \
    }()
