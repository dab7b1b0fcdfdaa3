// Version resources (RT_VERSION, name 1) and the calls that read them. A
// module's version data is a constant table beside its other resources:
//
//     constexpr VersionString kVersionStrings[] = {
//         {u"FileDescription", u"Kestro"},   {u"ProductName", u"Kestro"},
//         {u"FileVersion", u"1.0.0.0"},      {u"ProductVersion", u"1.0.0.0"},
//         {u"InternalName", u"Farrow.dll"},  {u"OriginalFilename", u"Farrow.dll"}};
//     constexpr VersionResource kVersion =
//         Version({3, 2, 0, 0}, {1, 0, 0, 0}, kVersionStrings, VFT_DLL);
//
//     ResourceEntry(RT_VERSION_ID, 1, kVersion)
//
// The strings form one table for one language and code page (US English,
// UTF-16: "040904B0" unless the resource says otherwise), which is also the
// one translation the version data reports.
//
// GetFileVersionInfoSizeW and GetFileVersionInfoW copy a module's version
// data into a block of the caller's; VerQueryValueW reads values out of the
// block, pointing into it:
//
//   "\"                                  VS_FIXEDFILEINFO; length in bytes
//   "\VarFileInfo\Translation"           one DWORD: language in the low word,
//                                        code page in the high word; 4 bytes
//   "\StringFileInfo\040904B0\NAME"      the string; length in characters,
//                                        terminator included
//
// Names match without regard to case and empty path parts are skipped;
// anything else, a missing string included, gives FALSE and length 0.
#pragma once

#include <cstddef>

#include "platform/win/win_types.h"

constexpr DWORD VS_FFI_SIGNATURE = 0xFEEF04BD;
constexpr DWORD VS_FFI_STRUCVERSION = 0x00010000;
constexpr DWORD VS_FFI_FILEFLAGSMASK = 0x0000003F;
constexpr DWORD VOS_NT_WINDOWS32 = 0x00040004;
constexpr DWORD VFT_APP = 0x00000001;
constexpr DWORD VFT_DLL = 0x00000002;

struct VS_FIXEDFILEINFO {
    DWORD dwSignature;
    DWORD dwStrucVersion;
    DWORD dwFileVersionMS;  // major << 16 | minor
    DWORD dwFileVersionLS;  // build << 16 | revision
    DWORD dwProductVersionMS;
    DWORD dwProductVersionLS;
    DWORD dwFileFlagsMask;
    DWORD dwFileFlags;
    DWORD dwFileOS;
    DWORD dwFileType;
    DWORD dwFileSubtype;
    DWORD dwFileDateMS;
    DWORD dwFileDateLS;
};

struct VersionString {
    const char16_t* name;
    const char16_t* value;
};

struct VersionResource {
    WORD fileVersion[4];
    WORD productVersion[4];
    const VersionString* strings;
    std::size_t stringCount;
    DWORD fileType = VFT_APP;
    WORD language = 0x0409;
    WORD codePage = 1200;  // UTF-16
};

struct VersionNumber {
    WORD parts[4];
};

template <std::size_t N>
constexpr VersionResource Version(VersionNumber file, VersionNumber product,
                                  const VersionString (&strings)[N], DWORD fileType = VFT_APP) {
    return {{file.parts[0], file.parts[1], file.parts[2], file.parts[3]},
            {product.parts[0], product.parts[1], product.parts[2], product.parts[3]},
            strings,
            N,
            fileType};
}

// The file is the program's or a loaded library's path, or a library that
// LoadLibraryW can load (it is loaded for the call only). The size of the
// block GetFileVersionInfoW fills, with *handle set to 0; 0 on failure:
// ERROR_FILE_NOT_FOUND (no such library), ERROR_RESOURCE_DATA_NOT_FOUND
// (not a loadable image, or one without resources), ERROR_RESOURCE_TYPE_NOT_FOUND
// (no version resource).
DWORD GetFileVersionInfoSizeW(LPCWSTR fileName, LPDWORD handle);
// Fills data with the block; fails as the size call does, or with
// ERROR_INSUFFICIENT_BUFFER when length is smaller than that size.
BOOL GetFileVersionInfoW(LPCWSTR fileName, DWORD handle, DWORD length, LPVOID data);
BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, UINT* length);
