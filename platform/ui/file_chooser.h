// The save-file and open-file choosers.
//
// Before a chooser accepts a path (the default extension already added) it
// makes these checks, each a message box titled with the chooser's title
// and owned by the chooser's owner; a refused path, or No, keeps the
// chooser open for another choice:
//   OFN_PATHMUSTEXIST, the path's folder missing (MB_OK | MB_ICONEXCLAMATION):
//       "PATH\nPath does not exist.\nCheck the path and try again."
//   OFN_OVERWRITEPROMPT on a save chooser, the file existing
//   (MB_YESNO | MB_ICONEXCLAMATION; Yes takes the path):
//       "NAME already exists.\nDo you want to replace it?"
// PATH is the chosen path, NAME its part after the last '/'. The scripted
// backend shows both as message boxes answered by the next answer lines,
// then goes on with the next file line; the on-screen one shows its own.
#pragma once

#include <optional>
#include <string>

#include "platform/ui/ui_backend.h"
#include "platform/ui/ui_types.h"

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_ENABLESIZING = 0x00800000;

constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
constexpr DWORD CDERR_INITIALIZATION = 0x0002;
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

struct OPENFILENAMEW {
    DWORD lStructSize;
    HWND hwndOwner;
    HINSTANCE hInstance;
    LPCWSTR lpstrFilter;  // pairs of name and pattern, each ended by a null; a null ends them
    LPWSTR lpstrCustomFilter;
    DWORD nMaxCustFilter;
    DWORD nFilterIndex;  // 1-based
    LPWSTR lpstrFile;    // in: preloaded path; out: the chosen path
    DWORD nMaxFile;
    LPWSTR lpstrFileTitle;
    DWORD nMaxFileTitle;
    LPCWSTR lpstrInitialDir;
    LPCWSTR lpstrTitle;
    DWORD Flags;
    WORD nFileOffset;
    WORD nFileExtension;
    LPCWSTR lpstrDefExt;
    LPARAM lCustData;
    void* lpfnHook;
    LPCWSTR lpTemplateName;
    void* pvReserved;
    DWORD dwReserved;
    DWORD FlagsEx;
};
using LPOPENFILENAMEW = OPENFILENAMEW*;

// TRUE with the chosen path in lpstrFile (the default extension added when
// the name has none). FALSE when cancelled (CommDlgExtendedError 0) or
// failed: a path longer than the buffer gives FNERR_BUFFERTOOSMALL with
// the size needed in the buffer's first character.
BOOL GetSaveFileNameW(LPOPENFILENAMEW info);
BOOL GetOpenFileNameW(LPOPENFILENAMEW info);
DWORD CommDlgExtendedError();

// The path a chooser returns for a chosen one: with ".EXT" added when the
// name has no extension and the request has a default extension.
std::u16string ChooserPathWithExtension(const std::u16string& path,
                                        const std::u16string& defaultExtension);
// The refusal of a path whose folder does not exist, when the request asks
// for an existing path.
std::optional<MessageBoxRequest> MissingPathRefusal(const FileChooserRequest& request,
                                                    const std::u16string& path);
// The question before replacing an existing file, when the request asks it.
std::optional<MessageBoxRequest> ReplaceFileQuestion(const FileChooserRequest& request,
                                                     const std::u16string& path);
