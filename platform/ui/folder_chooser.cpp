#include "platform/ui/folder_chooser.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/com/class_factory.h"
#include "platform/com/hresult.h"
#include "platform/ui/ui_backend.h"
#include "platform/ui/window.h"
#include "platform/win/last_error.h"

namespace {

// An item list: a mark, then the folder path with its terminator.
constexpr char kMark[8] = {'K', 'F', 'O', 'L', 'D', 'E', 'R', 0};

LPITEMIDLIST MakeItemList(const std::u16string& path) {
    const std::size_t bytes = sizeof kMark + (path.size() + 1) * sizeof(char16_t);
    auto* block = static_cast<char*>(CoTaskMemAlloc(bytes));
    if (!block) return nullptr;
    std::memcpy(block, kMark, sizeof kMark);
    std::memcpy(block + sizeof kMark, path.c_str(), (path.size() + 1) * sizeof(char16_t));
    return reinterpret_cast<LPITEMIDLIST>(block);
}

const char16_t* PathOfItemList(LPCITEMIDLIST list) {
    const auto* block = reinterpret_cast<const char*>(list);
    if (!block || std::memcmp(block, kMark, sizeof kMark) != 0) return nullptr;
    return reinterpret_cast<const char16_t*>(block + sizeof kMark);
}

class ShellAllocator final : public IMalloc {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IMalloc) {
            *ppv = static_cast<IMalloc*>(this);
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP_(void*) Alloc(SIZE_T size) override { return CoTaskMemAlloc(size); }
    STDMETHODIMP_(void*) Realloc(void* block, SIZE_T size) override {
        return CoTaskMemRealloc(block, size);
    }
    STDMETHODIMP_(void) Free(void* block) override { CoTaskMemFree(block); }
    STDMETHODIMP_(SIZE_T) GetSize(void*) override { return static_cast<SIZE_T>(-1); }
    STDMETHODIMP_(int) DidAlloc(void*) override { return -1; }
    STDMETHODIMP_(void) HeapMinimize() override {}
};

}  // namespace

LPITEMIDLIST SHBrowseForFolderW(LPBROWSEINFOW info) {
    if (!info || (info->hwndOwner && !IsWindow(info->hwndOwner))) return nullptr;
    FolderChooserRequest request;
    request.owner = info->hwndOwner;
    request.title = info->lpszTitle ? info->lpszTitle : u"";
    request.flags = info->ulFlags;
    std::u16string path;
    if (!CurrentUiBackend().ChooseFolder(request, path)) return nullptr;
    if (info->pszDisplayName) {
        std::u16string trimmed = path;
        while (trimmed.size() > 1 && trimmed.back() == u'/') trimmed.pop_back();
        const std::size_t slash = trimmed.rfind(u'/');
        std::u16string name = slash == std::u16string::npos || trimmed.size() == 1
                                  ? trimmed
                                  : trimmed.substr(slash + 1);
        name.resize(std::min<std::size_t>(name.size(), MAX_PATH - 1));
        std::copy(name.begin(), name.end(), info->pszDisplayName);
        info->pszDisplayName[name.size()] = 0;
    }
    return MakeItemList(path);
}

BOOL SHGetPathFromIDListW(LPCITEMIDLIST list, LPWSTR path) {
    const char16_t* folder = PathOfItemList(list);
    if (!path) return FALSE;
    path[0] = 0;
    if (!folder) return FALSE;
    const std::u16string text(folder);
    if (text.empty() || text.size() >= MAX_PATH) return FALSE;
    std::copy(text.begin(), text.end(), path);
    path[text.size()] = 0;
    return TRUE;
}

void ILFree(LPITEMIDLIST list) {
    CoTaskMemFree(list);
}

HRESULT SHGetMalloc(IMalloc** allocator) {
    if (!allocator) return E_POINTER;
    static ShellAllocator shellAllocator;
    *allocator = &shellAllocator;
    return S_OK;
}
