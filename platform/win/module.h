// Module handles: the program and the libraries loaded with LoadLibraryW.
// A handle is the address of the module's record in the module table; a
// handle the table does not know fails with ERROR_MOD_NOT_FOUND and is
// never dereferenced. The table is guarded by one recursive lock, held while
// a library's DllMain runs (as the Windows loader lock is), so DllMain may
// call back into these functions.
//
// The system libraries (system_modules.h: "kernel32.dll") are always loaded:
// GetModuleHandleW and LoadLibraryW find them by their bare name, without
// counting a reference; FreeLibrary never unloads them; GetProcAddress gives
// the functions they export by name; GetModuleFileNameW gives the bare name
// (there is no file behind them), and they have no resources.
#pragma once

#include "platform/win/win_types.h"

constexpr DWORD DLL_PROCESS_DETACH = 0;
constexpr DWORD DLL_PROCESS_ATTACH = 1;
constexpr DWORD DLL_THREAD_ATTACH = 2;
constexpr DWORD DLL_THREAD_DETACH = 3;

constexpr DWORD ERROR_BAD_EXE_FORMAT = 193;

using FARPROC = void (*)();
// The entry point a library may export: extern "C" BOOL DllMain(...).
using DllMainFunction = BOOL (*)(HINSTANCE instance, DWORD reason, LPVOID reserved);

// A path with a '/' is taken as given (relative to the current directory
// when it does not start with '/'); a bare file name is first matched
// against the loaded libraries, then looked for in the program's folder
// and in the current directory. Names match without regard to case, and a
// ".dll" name also finds the same name with ".so". The first load calls
// DllMain(DLL_PROCESS_ATTACH); when that returns FALSE the library gets
// DLL_PROCESS_DETACH, is unloaded, and the load fails with
// ERROR_DLL_INIT_FAILED. Loading a loaded library adds a reference.
HMODULE LoadLibraryW(LPCWSTR fileName);
// Drops a reference; the last one calls DllMain(DLL_PROCESS_DETACH) and
// unloads the library. Modules that were not loaded by LoadLibraryW (the
// program, libraries found by address) are never unloaded.
BOOL FreeLibrary(HMODULE module);

// An exported function or variable of that image itself (not of the
// libraries it uses).
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);

// nullptr: the program. Otherwise a loaded module by file name without
// regard to case, or by full path. Adds no reference.
HMODULE GetModuleHandleW(LPCWSTR moduleName);

// The full path of the module's file (nullptr: the program). A buffer too
// small receives size-1 characters and the terminator; the result is then
// size with ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);

// The module whose image holds the address: how a library finds its own
// handle. Images not loaded by LoadLibraryW get a record on first use.
HMODULE ModuleFromAddress(const void* address);

// For the resource loader: the resource table the module's image exports
// (null when it has none). False with ERROR_RESOURCE_DATA_NOT_FOUND when
// the handle is unknown.
struct KestroResourceTable;
bool ModuleResourceTable(HMODULE module, const KestroResourceTable*& table);
