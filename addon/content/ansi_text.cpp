// The round trip is asked of the conversion itself where the code page
// allows it: with WC_NO_BEST_FIT_CHARS every character that would not come
// back unchanged becomes the default character, so "no default character
// used" is the whole test in one pass. A code page that takes neither the
// flag nor the report (UTF-8) is tested by converting back, chunk by chunk
// while each chunk is still in the cache. Chunks end between characters,
// never inside a surrogate pair, and the code pages keep no state between
// characters, so the chunks' bytes joined are the text's bytes.
#include "addon/content/ansi_text.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "platform/win/codepage.h"
#include "platform/win/last_error.h"

namespace {

constexpr std::size_t kChunk = 1 << 15;

// Converts with the flags into a buffer sized for one byte a character,
// asking for the size only when that is too small. Nothing on failure.
std::optional<AnsiBytes> Convert(std::u16string_view text, DWORD flags, BOOL* usedDefault) {
    const int length = static_cast<int>(text.size());
    auto bytes = std::make_unique_for_overwrite<char[]>(text.size());
    int size = WideCharToMultiByte(CP_ACP, flags, text.data(), length, bytes.get(), length, nullptr,
                                   usedDefault);
    if (size == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        size = WideCharToMultiByte(CP_ACP, flags, text.data(), length, nullptr, 0, nullptr,
                                   usedDefault);
        if (size <= 0) return std::nullopt;
        bytes = std::make_unique_for_overwrite<char[]>(static_cast<std::size_t>(size));
        size = WideCharToMultiByte(CP_ACP, flags, text.data(), length, bytes.get(), size, nullptr,
                                   usedDefault);
    }
    if (size <= 0) return std::nullopt;
    return AnsiBytes(std::move(bytes), static_cast<std::size_t>(size));
}

bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

std::size_t ChunkEnd(std::u16string_view text, std::size_t start) {
    if (text.size() - start <= kChunk) return text.size();
    std::size_t end = start + kChunk;
    if (IsHighSurrogate(text[end - 1])) --end;
    return end;
}

// Whether the bytes give back exactly the chunk.
bool ConvertsBack(std::string_view bytes, std::u16string_view chunk, char16_t* back) {
    const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                           back, static_cast<int>(chunk.size()));
    return length == static_cast<int>(chunk.size()) &&
           std::memcmp(back, chunk.data(), chunk.size() * sizeof(char16_t)) == 0;
}

std::optional<AnsiBytes> RoundTripped(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    const auto back = std::make_unique_for_overwrite<char16_t[]>(std::min(text.size(), kChunk));
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = ChunkEnd(text, start);
        const std::u16string_view chunk = text.substr(start, end - start);
        const std::optional<AnsiBytes> converted = Convert(chunk, 0, nullptr);
        if (!converted || !ConvertsBack(converted->View(), chunk, back.get())) return std::nullopt;
        bytes += converted->View();
        start = end;
    }
    auto joined = std::make_unique_for_overwrite<char[]>(bytes.size());
    bytes.copy(joined.get(), bytes.size());
    return AnsiBytes(std::move(joined), bytes.size());
}

}  // namespace

std::optional<AnsiBytes> AnsiBytesOf(std::u16string_view text) {
    if (text.empty() || text.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    BOOL usedDefault = FALSE;
    std::optional<AnsiBytes> bytes = Convert(text, WC_NO_BEST_FIT_CHARS, &usedDefault);
    if (bytes) return usedDefault ? std::nullopt : std::move(bytes);
    const DWORD refused = GetLastError();
    if (refused != ERROR_INVALID_FLAGS && refused != ERROR_INVALID_PARAMETER) return std::nullopt;
    return RoundTripped(text);
}
