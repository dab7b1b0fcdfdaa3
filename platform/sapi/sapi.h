// The speech interfaces the system calls: the voice (ISpVoice), voice
// tokens (ISpObjectToken), the token category and its enumerator, with the
// Speech API's identifiers, flags and error codes.
//
// SpVoice and SpObjectTokenCategory are built-in classes of CoCreateInstance.
// Their registration lives in this library's object files, so a program or
// add-on must link the whole archive: link the `kestro_sapi` target, which
// does that (it wraps the archive in $<LINK_LIBRARY:WHOLE_ARCHIVE,...>).
//
// Strings returned through LPWSTR* are allocated with CoTaskMemAlloc; the
// caller frees them with CoTaskMemFree.
#pragma once

#include "platform/com/class_factory.h"

constexpr HRESULT SPERR_UNINITIALIZED = MakeHresult(0x80045001u);
constexpr HRESULT SPERR_ALREADY_INITIALIZED = MakeHresult(0x80045002u);
constexpr HRESULT SPERR_NOT_FOUND = MakeHresult(0x8004503Au);

// Speak flags.
constexpr DWORD SPF_DEFAULT = 0;
constexpr DWORD SPF_ASYNC = 1;
constexpr DWORD SPF_PURGEBEFORESPEAK = 2;
constexpr DWORD SPF_IS_FILENAME = 4;
constexpr DWORD SPF_IS_XML = 8;
constexpr DWORD SPF_IS_NOT_XML = 16;

// Running states. A paused voice reports 0 (neither speaking nor done), so
// callers offer to resume it; a voice that has never spoken reports done.
constexpr DWORD SPRS_DONE = 1;
constexpr DWORD SPRS_IS_SPEAKING = 2;

constexpr USHORT SPMAX_VOLUME = 100;
constexpr LONG SPMIN_RATE = -10;
constexpr LONG SPMAX_RATE = 10;

inline constexpr const char16_t* SPCAT_VOICES =
    u"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices";

enum SPVISEMES { SP_VISEME_0 = 0 };

struct SPVOICESTATUS {
    ULONG ulCurrentStream;
    ULONG ulLastStreamQueued;
    HRESULT hrLastResult;
    DWORD dwRunningState;
    ULONG ulInputWordPos;
    ULONG ulInputWordLen;
    ULONG ulInputSentPos;
    ULONG ulInputSentLen;
    LONG lBookmarkId;
    WCHAR PhonemeId;
    SPVISEMES VisemeId;
    DWORD dwReserved1;
    DWORD dwReserved2;
};

struct ISpObjectToken : IUnknown {
    // name null or empty: the default value (the voice's description).
    STDMETHOD(GetStringValue)(LPCWSTR name, LPWSTR* value) = 0;
    STDMETHOD(GetId)(LPWSTR* id) = 0;
};
KESTRO_DEFINE_IID(ISpObjectToken, "14056589-E16C-11D2-BB90-00C04F8EE6C0");

struct IEnumSpObjectTokens : IUnknown {
    // fetched may be null only when count is 1; S_FALSE when fewer remain.
    STDMETHOD(Next)(ULONG count, ISpObjectToken** tokens, ULONG* fetched) = 0;
    STDMETHOD(Reset)() = 0;
    STDMETHOD(GetCount)(ULONG* count) = 0;
};
KESTRO_DEFINE_IID(IEnumSpObjectTokens, "06B64F9E-7FDA-11D2-B4F2-00C04F797396");

struct ISpObjectTokenCategory : IUnknown {
    STDMETHOD(SetId)(LPCWSTR id, BOOL createIfNotExist) = 0;
    // Attribute filters are not supported: both must be null or empty.
    STDMETHOD(EnumTokens)
    (LPCWSTR requiredAttributes, LPCWSTR optionalAttributes, IEnumSpObjectTokens** tokens) = 0;
};
KESTRO_DEFINE_IID(ISpObjectTokenCategory, "2D3D3845-39AF-4850-BBF9-40B49780011D");

struct ISpVoice : IUnknown {
    STDMETHOD(SetVoice)(ISpObjectToken* token) = 0;
    STDMETHOD(GetVoice)(ISpObjectToken** token) = 0;
    // text null with SPF_PURGEBEFORESPEAK only purges.
    STDMETHOD(Speak)(LPCWSTR text, DWORD flags, ULONG* streamNumber) = 0;
    STDMETHOD(GetStatus)(SPVOICESTATUS* status, LPWSTR* lastBookmark) = 0;
    STDMETHOD(Pause)() = 0;
    STDMETHOD(Resume)() = 0;
    // Out-of-range values are clamped to the range.
    STDMETHOD(SetRate)(LONG rate) = 0;
    STDMETHOD(GetRate)(LONG* rate) = 0;
    STDMETHOD(SetVolume)(USHORT volume) = 0;
    STDMETHOD(GetVolume)(USHORT* volume) = 0;
};
KESTRO_DEFINE_IID(ISpVoice, "6C44DF74-72B9-4992-A1EC-EF996E0422D4");

inline constexpr CLSID CLSID_SpVoice = MakeGuid("96749377-3391-11D2-9EE3-00C04F797396");
inline constexpr CLSID CLSID_SpObjectTokenCategory =
    MakeGuid("A910187F-0C7A-45AC-92CC-59EDAFB77B53");
