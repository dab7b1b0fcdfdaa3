#include "platform/com/dispatch.h"

#include <new>

#include "platform/com/memberless_type_info.h"

namespace {

class DualTypeInfo final : public MemberlessTypeInfo<DualTypeInfo> {
public:
    DualTypeInfo(REFIID iid, WORD major, WORD minor) : m_iid(iid), m_major(major), m_minor(minor) {}

    STDMETHODIMP GetTypeAttr(TYPEATTR** attr) override {
        if (!attr) return E_INVALIDARG;
        auto* a = new (std::nothrow) TYPEATTR{};
        if (!a) return E_OUTOFMEMORY;
        a->guid = m_iid;
        a->memidConstructor = DISPID_UNKNOWN;
        a->memidDestructor = DISPID_UNKNOWN;
        a->typekind = TKIND_DISPATCH;
        a->cFuncs = 7;  // the members of IUnknown and IDispatch
        a->cImplTypes = 1;
        a->wTypeFlags = TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE;
        a->wMajorVerNum = m_major;
        a->wMinorVerNum = m_minor;
        *attr = a;
        return S_OK;
    }
    STDMETHODIMP_(void) ReleaseTypeAttr(TYPEATTR* attr) override { delete attr; }

    STDMETHODIMP GetDocumentation(MEMBERID, BSTR* name, BSTR* doc, DWORD* context,
                                  BSTR* file) override {
        if (name) *name = nullptr;
        if (doc) *doc = nullptr;
        if (context) *context = 0;
        if (file) *file = nullptr;
        return S_OK;
    }

private:
    IID m_iid;
    WORD m_major;
    WORD m_minor;
};

}  // namespace

HRESULT CreateDualTypeInfo(REFIID iid, WORD majorVersion, WORD minorVersion, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = new (std::nothrow) DualTypeInfo(iid, majorVersion, minorVersion);
    if (!*info) return E_OUTOFMEMORY;
    (*info)->AddRef();
    return S_OK;
}
