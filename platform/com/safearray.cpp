#include "platform/com/safearray.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// The element type is kept just before the descriptor, as FADF_HAVEVARTYPE
// arrays do.
struct ArrayBlock {
    VARTYPE vt;
    SAFEARRAY array;
};

ArrayBlock* BlockOf(SAFEARRAY* array) {
    return reinterpret_cast<ArrayBlock*>(reinterpret_cast<char*>(array) -
                                         offsetof(ArrayBlock, array));
}

ULONG ElementSize(VARTYPE vt) {
    switch (vt) {
        case VT_I1:
        case VT_UI1:
            return 1;
        case VT_I2:
        case VT_UI2:
        case VT_BOOL:
            return 2;
        case VT_I4:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
        case VT_R4:
        case VT_ERROR:
            return 4;
        case VT_I8:
        case VT_UI8:
        case VT_R8:
        case VT_DATE:
        case VT_INT_PTR:
        case VT_UINT_PTR:
            return 8;
        case VT_BSTR:
            return sizeof(BSTR);
        case VT_UNKNOWN:
        case VT_DISPATCH:
            return sizeof(void*);
        case VT_VARIANT:
            return sizeof(VARIANT);
        default:
            return 0;
    }
}

USHORT FeaturesFor(VARTYPE vt) {
    switch (vt) {
        case VT_BSTR:
            return FADF_BSTR | FADF_HAVEVARTYPE;
        case VT_UNKNOWN:
            return FADF_UNKNOWN | FADF_HAVEVARTYPE;
        case VT_DISPATCH:
            return FADF_DISPATCH | FADF_HAVEVARTYPE;
        case VT_VARIANT:
            return FADF_VARIANT | FADF_HAVEVARTYPE;
        default:
            return FADF_HAVEVARTYPE;
    }
}

void ClearElements(SAFEARRAY* array, VARTYPE vt) {
    const ULONG n = array->rgsabound[0].cElements;
    for (ULONG i = 0; i < n; ++i) {
        char* slot = static_cast<char*>(array->pvData) + std::size_t{i} * array->cbElements;
        switch (vt) {
            case VT_BSTR:
                SysFreeString(*reinterpret_cast<BSTR*>(slot));
                break;
            case VT_UNKNOWN:
            case VT_DISPATCH:
                if (auto* unk = *reinterpret_cast<IUnknown**>(slot)) unk->Release();
                break;
            case VT_VARIANT:
                VariantClear(reinterpret_cast<VARIANT*>(slot));
                break;
            default:
                break;
        }
    }
}

}  // namespace

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG count) {
    const ULONG size = ElementSize(vt);
    if (size == 0) return nullptr;
    auto* block = new (std::nothrow) ArrayBlock{};
    if (!block) return nullptr;
    void* data = std::calloc(count ? count : 1, size);
    if (!data) {
        delete block;
        return nullptr;
    }
    block->vt = vt;
    SAFEARRAY& a = block->array;
    a.cDims = 1;
    a.fFeatures = FeaturesFor(vt);
    a.cbElements = size;
    a.pvData = data;
    a.rgsabound[0] = {count, lowerBound};
    return &a;
}

HRESULT SafeArrayAccessData(SAFEARRAY* array, void** data) {
    if (!array || !data) return E_INVALIDARG;
    ++array->cLocks;
    *data = array->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* array) {
    if (!array) return E_INVALIDARG;
    if (array->cLocks == 0) return E_UNEXPECTED;
    --array->cLocks;
    return S_OK;
}

HRESULT SafeArrayDestroy(SAFEARRAY* array) {
    if (!array) return S_OK;
    if (array->cLocks) return DISP_E_ARRAYISLOCKED;
    ArrayBlock* block = BlockOf(array);
    ClearElements(array, block->vt);
    std::free(array->pvData);
    delete block;
    return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* array, UINT dim, LONG* bound) {
    if (!array || !bound) return E_INVALIDARG;
    if (dim != 1) return DISP_E_BADINDEX;
    *bound = array->rgsabound[0].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* array, UINT dim, LONG* bound) {
    if (!array || !bound) return E_INVALIDARG;
    if (dim != 1) return DISP_E_BADINDEX;
    *bound = array->rgsabound[0].lLbound + static_cast<LONG>(array->rgsabound[0].cElements) - 1;
    return S_OK;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* array, VARTYPE* vt) {
    if (!array || !vt) return E_INVALIDARG;
    *vt = BlockOf(array)->vt;
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* array) {
    return array ? array->cDims : 0;
}

HRESULT SafeArrayCopy(SAFEARRAY* source, SAFEARRAY** copy) {
    if (!copy) return E_INVALIDARG;
    *copy = nullptr;
    if (!source) return S_OK;
    const VARTYPE vt = BlockOf(source)->vt;
    const ULONG n = source->rgsabound[0].cElements;
    SAFEARRAY* fresh = SafeArrayCreateVector(vt, source->rgsabound[0].lLbound, n);
    if (!fresh) return E_OUTOFMEMORY;
    for (ULONG i = 0; i < n; ++i) {
        const std::size_t offset = std::size_t{i} * source->cbElements;
        char* from = static_cast<char*>(source->pvData) + offset;
        char* to = static_cast<char*>(fresh->pvData) + offset;
        switch (vt) {
            case VT_BSTR: {
                BSTR s = *reinterpret_cast<BSTR*>(from);
                *reinterpret_cast<BSTR*>(to) =
                    s ? SysAllocStringByteLen(reinterpret_cast<const char*>(s), SysStringByteLen(s))
                      : nullptr;
                break;
            }
            case VT_UNKNOWN:
            case VT_DISPATCH: {
                auto* unk = *reinterpret_cast<IUnknown**>(from);
                if (unk) unk->AddRef();
                *reinterpret_cast<IUnknown**>(to) = unk;
                break;
            }
            case VT_VARIANT:
                VariantCopy(reinterpret_cast<VARIANT*>(to), reinterpret_cast<VARIANT*>(from));
                break;
            default:
                std::memcpy(to, from, source->cbElements);
        }
    }
    *copy = fresh;
    return S_OK;
}
