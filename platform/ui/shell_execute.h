// Shell execution: starting programs and opening documents, folders and
// URLs, as ShellExecuteW and ShellExecuteExW do.
//
// What a file names (the verbs NULL and "open" alike; any other verb fails
// with SE_ERR_NOASSOC):
// - "notepad.exe" (a bare name, any letter case) with parameters: the file
//   the parameters name (surrounding quotation marks dropped) is opened
//   with xdg-open, in the user's editor for text. Without parameters there
//   is nothing to open: SE_ERR_NOASSOC.
// - a URL (a scheme of two or more characters and a colon, "http:",
//   "mailto:"...): opened with xdg-open.
// - a path: a relative one is looked for in the directory when given, then
//   in the current directory, then (a bare name) along PATH; names match
//   without regard to case, and a missing "NAME.exe" is also looked for as
//   "NAME", since programs carry Linux names. An executable regular file
//   is a program: started with the parameters split as CommandLineToArgvW
//   splits them (command_line_arguments.h), in the directory when given.
//   A folder or any other file is opened with xdg-open; parameters are
//   ignored then.
// Whatever is started runs detached: it is never waited for.
//
// Each execution writes the effect "shell" to the effects journal
// (effects_journal.h) with the text: the file as given, then, when there
// are parameters, a blank and the parameters as given:
//     shell <TAB> notepad.exe /tmp/TFR1.txt
// While the UI is scripted (KESTRO_UI_SCRIPT names a file, or a scripted
// backend is installed) nothing is started: the journal line is the whole
// effect. A failed execution journals nothing.
//
// Failures: SE_ERR_FNF for a null, empty or missing file; SE_ERR_PNF when
// its folder, or the directory given, does not exist; SE_ERR_ACCESSDENIED
// when a program may not be run; ERROR_BAD_FORMAT (11) for a program the
// system cannot run; SE_ERR_NOASSOC when there is nothing to open it with
// (no xdg-open). No message is shown; the owner window and the show
// command change nothing here.
#pragma once

#include "platform/ui/ui_types.h"
#include "platform/win/registry.h"

constexpr INT SE_ERR_FNF = 2;
constexpr INT SE_ERR_PNF = 3;
constexpr INT SE_ERR_ACCESSDENIED = 5;
constexpr INT SE_ERR_OOM = 8;
constexpr INT SE_ERR_NOASSOC = 31;

constexpr ULONG SEE_MASK_DEFAULT = 0x00000000;
constexpr ULONG SEE_MASK_NOCLOSEPROCESS = 0x00000040;
constexpr ULONG SEE_MASK_NOASYNC = 0x00000100;
constexpr ULONG SEE_MASK_FLAG_DDEWAIT = 0x00000100;
constexpr ULONG SEE_MASK_FLAG_NO_UI = 0x00000400;

struct SHELLEXECUTEINFOW {
    DWORD cbSize;  // must be sizeof(SHELLEXECUTEINFOW)
    ULONG fMask;
    HWND hwnd;
    LPCWSTR lpVerb;
    LPCWSTR lpFile;
    LPCWSTR lpParameters;
    LPCWSTR lpDirectory;
    int nShow;
    HINSTANCE hInstApp;  // out: greater than 32 on success, else the SE_ERR_ value
    void* lpIDList;
    LPCWSTR lpClass;
    HKEY hkeyClass;
    DWORD dwHotKey;
    HANDLE hIcon;     // also hMonitor
    HANDLE hProcess;  // out with SEE_MASK_NOCLOSEPROCESS: always null, nothing is waited for
};
using LPSHELLEXECUTEINFOW = SHELLEXECUTEINFOW*;

// A value greater than 32 on success, else the failure above.
HINSTANCE ShellExecuteW(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters,
                        LPCWSTR directory, INT showCommand);
// FALSE on failure with GetLastError: ERROR_FILE_NOT_FOUND,
// ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_BAD_FORMAT,
// ERROR_NO_ASSOCIATION or ERROR_NOT_ENOUGH_MEMORY, and hInstApp set to the
// SE_ERR_ value. A cbSize other than the structure's size fails with
// ERROR_ACCESS_DENIED.
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* info);
