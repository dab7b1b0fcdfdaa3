// The shell's folder browser, its item lists and the shell allocator.
#pragma once

#include "platform/com/unknown.h"
#include "platform/ui/ui_types.h"

constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;
constexpr UINT BIF_EDITBOX = 0x0010;
constexpr UINT BIF_NEWDIALOGSTYLE = 0x0040;

// An item list here is one folder path, allocated with the task allocator.
struct ITEMIDLIST;
using LPITEMIDLIST = ITEMIDLIST*;
using LPCITEMIDLIST = const ITEMIDLIST*;
using PIDLIST_ABSOLUTE = LPITEMIDLIST;
using BFFCALLBACK = int (*)(HWND, UINT, LPARAM, LPARAM);

struct BROWSEINFOW {
    HWND hwndOwner;
    LPCITEMIDLIST pidlRoot;  // null: the desktop
    LPWSTR pszDisplayName;   // MAX_PATH characters: the chosen folder's name
    LPCWSTR lpszTitle;
    UINT ulFlags;
    BFFCALLBACK lpfn;
    LPARAM lParam;
    int iImage;
};
using LPBROWSEINFOW = BROWSEINFOW*;

// The chosen folder, or null when cancelled; free it with the shell
// allocator (or CoTaskMemFree, ILFree).
LPITEMIDLIST SHBrowseForFolderW(LPBROWSEINFOW info);
// Writes the folder's path into a buffer of MAX_PATH characters; FALSE for
// a list that is not a folder path or a path that does not fit.
BOOL SHGetPathFromIDListW(LPCITEMIDLIST list, LPWSTR path);
void ILFree(LPITEMIDLIST list);

struct IMalloc : IUnknown {
    STDMETHOD_(void*, Alloc)(SIZE_T size) = 0;
    STDMETHOD_(void*, Realloc)(void* block, SIZE_T size) = 0;
    STDMETHOD_(void, Free)(void* block) = 0;
    STDMETHOD_(SIZE_T, GetSize)(void* block) = 0;
    STDMETHOD_(int, DidAlloc)(void* block) = 0;
    STDMETHOD_(void, HeapMinimize)() = 0;
};
KESTRO_DEFINE_IID(IMalloc, "00000002-0000-0000-C000-000000000046");

// The shell allocator: the task allocator behind IMalloc.
HRESULT SHGetMalloc(IMalloc** allocator);
