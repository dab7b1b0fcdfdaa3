// The block GetFileVersionInfoW hands out is self-contained, since the
// caller keeps it after the module may be gone:
//
//   BlockHeader (marker, size, the fixed part, the translation, the count)
//   then for each string: its name and its value, each ending in a null
//
// Everything in it is 4-byte aligned up to the strings, which are UTF-16.
#include "platform/win/version_resource.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/last_error.h"
#include "platform/win/module.h"
#include "platform/win/resource.h"
#include "platform/win/text.h"

namespace {

constexpr DWORD kBlockMarker = 0x5245564B;  // "KVER"

struct BlockHeader {
    DWORD marker;
    DWORD size;
    VS_FIXEDFILEINFO fixed;
    DWORD translation;
    DWORD stringCount;
};

DWORD VersionDword(const WORD (&parts)[4], int first) {
    return (static_cast<DWORD>(parts[first]) << 16) | parts[first + 1];
}

VS_FIXEDFILEINFO FixedPart(const VersionResource& resource) {
    VS_FIXEDFILEINFO fixed{};
    fixed.dwSignature = VS_FFI_SIGNATURE;
    fixed.dwStrucVersion = VS_FFI_STRUCVERSION;
    fixed.dwFileVersionMS = VersionDword(resource.fileVersion, 0);
    fixed.dwFileVersionLS = VersionDword(resource.fileVersion, 2);
    fixed.dwProductVersionMS = VersionDword(resource.productVersion, 0);
    fixed.dwProductVersionLS = VersionDword(resource.productVersion, 2);
    fixed.dwFileFlagsMask = VS_FFI_FILEFLAGSMASK;
    fixed.dwFileOS = VOS_NT_WINDOWS32;
    fixed.dwFileType = resource.fileType;
    return fixed;
}

void AppendText(std::vector<BYTE>& block, const char16_t* text) {
    const std::u16string_view view = text ? std::u16string_view(text) : std::u16string_view();
    const auto* bytes = reinterpret_cast<const BYTE*>(view.data());
    block.insert(block.end(), bytes, bytes + view.size() * sizeof(char16_t));
    block.insert(block.end(), sizeof(char16_t), 0);
}

std::vector<BYTE> MakeBlock(const VersionResource& resource) {
    BlockHeader header{};
    header.marker = kBlockMarker;
    header.fixed = FixedPart(resource);
    header.translation = resource.language | (static_cast<DWORD>(resource.codePage) << 16);
    header.stringCount = static_cast<DWORD>(resource.stringCount);
    std::vector<BYTE> block(sizeof header);
    for (std::size_t i = 0; i < resource.stringCount; ++i) {
        AppendText(block, resource.strings[i].name);
        AppendText(block, resource.strings[i].value);
    }
    header.size = static_cast<DWORD>(block.size());
    std::memcpy(block.data(), &header, sizeof header);
    return block;
}

// The module the file names, loaded for the call when it is not loaded yet.
class ModuleOfFile {
public:
    explicit ModuleOfFile(LPCWSTR fileName) {
        m_module = GetModuleHandleW(fileName);
        if (m_module) return;
        m_module = LoadLibraryW(fileName);
        m_loaded = m_module != nullptr;
        if (!m_module) {
            const DWORD error = GetLastError();
            SetLastError(error == ERROR_MOD_NOT_FOUND    ? ERROR_FILE_NOT_FOUND
                         : error == ERROR_BAD_EXE_FORMAT ? ERROR_RESOURCE_DATA_NOT_FOUND
                                                         : error);
        }
    }
    ~ModuleOfFile() {
        if (m_loaded) FreeLibrary(m_module);
    }
    ModuleOfFile(const ModuleOfFile&) = delete;
    ModuleOfFile& operator=(const ModuleOfFile&) = delete;
    HMODULE get() const { return m_module; }

private:
    HMODULE m_module = nullptr;
    bool m_loaded = false;
};

// The version block of a file; false with the last error set.
bool ReadVersionBlock(LPCWSTR fileName, std::vector<BYTE>& block) {
    if (!fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const ModuleOfFile module(fileName);
    if (!module.get()) return false;
    HRSRC found = FindResourceW(module.get(), MAKEINTRESOURCEW(1), RT_VERSION);
    if (!found) return false;
    if (SizeofResource(module.get(), found) != sizeof(VersionResource)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return false;
    }
    const auto* resource =
        static_cast<const VersionResource*>(LockResource(LoadResource(module.get(), found)));
    block = MakeBlock(*resource);
    return true;
}

std::vector<std::u16string_view> PathParts(std::u16string_view path) {
    std::vector<std::u16string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(u'\\', start), path.size());
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::u16string HexWord(WORD value) {
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string text(4, u'0');
    for (int i = 3; i >= 0; --i, value >>= 4) text[i] = kDigits[value & 0xF];
    return text;
}

// The value of a named string, pointing into the block, or null.
const char16_t* FindString(const BlockHeader& header, std::u16string_view name, UINT& length) {
    const auto* text = reinterpret_cast<const char16_t*>(&header + 1);
    for (DWORD i = 0; i < header.stringCount; ++i) {
        const std::u16string_view key(text);
        const char16_t* value = text + key.size() + 1;
        const std::size_t valueLength = std::u16string_view(value).size();
        if (WideEqualsNoCase(key, name)) {
            length = static_cast<UINT>(valueLength + 1);
            return value;
        }
        text = value + valueLength + 1;
    }
    return nullptr;
}

const void* FindValue(const BlockHeader& header, std::u16string_view subBlock, UINT& length) {
    const std::vector<std::u16string_view> parts = PathParts(subBlock);
    if (parts.empty()) {
        length = sizeof(VS_FIXEDFILEINFO);
        return &header.fixed;
    }
    if (parts.size() == 2 && WideEqualsNoCase(parts[0], u"VarFileInfo") &&
        WideEqualsNoCase(parts[1], u"Translation")) {
        length = sizeof(DWORD);
        return &header.translation;
    }
    const std::u16string table = HexWord(static_cast<WORD>(header.translation & 0xFFFF)) +
                                 HexWord(static_cast<WORD>(header.translation >> 16));
    if (parts.size() == 3 && WideEqualsNoCase(parts[0], u"StringFileInfo") &&
        WideEqualsNoCase(parts[1], table)) {
        return FindString(header, parts[2], length);
    }
    return nullptr;
}

}  // namespace

DWORD GetFileVersionInfoSizeW(LPCWSTR fileName, LPDWORD handle) {
    if (handle) *handle = 0;
    std::vector<BYTE> block;
    if (!ReadVersionBlock(fileName, block)) return 0;
    return static_cast<DWORD>(block.size());
}

BOOL GetFileVersionInfoW(LPCWSTR fileName, DWORD /*handle*/, DWORD length, LPVOID data) {
    std::vector<BYTE> block;
    if (!ReadVersionBlock(fileName, block)) return FALSE;
    if (!data || length < block.size()) {
        SetLastError(data ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::memcpy(data, block.data(), block.size());
    return TRUE;
}

BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, UINT* length) {
    UINT found = 0;
    const void* value = nullptr;
    const auto* header = static_cast<const BlockHeader*>(block);
    if (header && subBlock && header->marker == kBlockMarker)
        value = FindValue(*header, subBlock, found);
    if (buffer) *buffer = const_cast<void*>(value);
    if (length) *length = value ? found : 0;
    return value && buffer ? TRUE : FALSE;
}
