#include "platform/sapi/synthesis_text.h"

#include <cmath>

#include "platform/win/text.h"

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v' ||
           c == 0x00A0 || c == 0x3000;
}

bool EndsSentence(std::u16string_view text, std::size_t i) {
    const char16_t c = text[i];
    if (c == u'\n') return true;
    const bool mark = c == u'.' || c == u'!' || c == u'?' || c == u';' || c == u':' ||
                      c == 0x3002 || c == 0xFF01 || c == 0xFF1F;
    return mark && (i + 1 == text.size() || IsBlank(text[i + 1]));
}

// Where a piece starting at begin ends (exclusive).
std::size_t PieceEnd(std::u16string_view text, std::size_t begin) {
    const std::size_t limit = std::min(text.size(), begin + kMaxPieceLength);
    std::size_t lastBlank = 0;
    for (std::size_t i = begin; i < limit; ++i) {
        if (EndsSentence(text, i)) return i + 1;
        if (IsBlank(text[i])) lastBlank = i;
    }
    if (limit == text.size()) return limit;
    if (lastBlank > begin) return lastBlank + 1;
    // No blank to break at: do not split a surrogate pair.
    std::size_t end = limit;
    if (end > begin + 1 && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) --end;
    return end;
}

void AddPiece(std::u16string_view piece, std::vector<std::string>& pieces) {
    bool blank = true;
    for (char16_t c : piece) blank = blank && IsBlank(c);
    if (blank) return;
    std::u16string cleaned(piece);
    for (char16_t& c : cleaned)
        if (c == 0) c = u' ';
    pieces.push_back(Utf16ToUtf8(cleaned));
}

}  // namespace

std::vector<std::string> SplitForSynthesis(std::u16string_view text) {
    std::vector<std::string> pieces;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t end = PieceEnd(text, begin);
        AddPiece(text.substr(begin, end - begin), pieces);
        begin = end;
    }
    return pieces;
}

int WordsPerMinuteForRate(long rate) {
    constexpr double kNormal = 175, kSlowest = 80, kFastest = 450;
    if (rate < -10) rate = -10;
    if (rate > 10) rate = 10;
    const double step = static_cast<double>(rate) / 10.0;
    const double wpm = rate < 0 ? kNormal * std::pow(kSlowest / kNormal, -step)
                                : kNormal * std::pow(kFastest / kNormal, step);
    return static_cast<int>(std::lround(wpm));
}
