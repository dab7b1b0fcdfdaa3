#include "addon/content/line_breaks.h"

#include <algorithm>

namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

// After one of these a line break ends a sentence and stays.
constexpr std::u16string_view kSentenceEnds =
    u"\u201D\u3002\uFF01\uFF09\uFF5D\uFF3D\uFF1A\u300D\u2236\u2026\u2014!\\}):\">.\r\f";

bool EndsSentence(char16_t c) {
    return kSentenceEnds.find(c) != std::u16string_view::npos;
}

bool IsCrLfAt(std::u16string_view text, std::size_t i) {
    return i + 1 < text.size() && text[i] == kCr && text[i + 1] == kLf;
}

// The scan of RemoveImproperLineBreaks: the text read so far and what it
// has written.
class LineJoiner {
public:
    LineJoiner(std::u16string_view text, bool insertSpace)
        : m_text(text), m_insertSpace(insertSpace) {
        m_out.reserve(text.size());
    }

    std::u16string Run() {
        while (m_pos < m_text.size()) {
            const char16_t c = m_text[m_pos];
            if (c == kCr)
                Break();
            else if (c == u' ' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == kCr)
                ++m_pos;  // the blank before a break goes with it
            else
                Keep(c);
        }
        return std::move(m_out);
    }

private:
    void Keep(char16_t c) {
        m_out += c;
        Remember(c);
        ++m_pos;
    }

    void Remember(char16_t c) {
        m_previous = c;
        m_hasPrevious = true;
    }

    // Copies up to count characters from the scan position; never past the
    // end of the text.
    void Copy(std::size_t count) {
        const std::size_t end = std::min(m_pos + count, m_text.size());
        m_out.append(m_text.substr(m_pos, end - m_pos));
        m_pos = end;
    }

    void Break() {
        if (m_pos + 2 < m_text.size() && m_text[m_pos + 2] == kCr) {
            // A paragraph break: kept once, the blank lines after it dropped.
            Copy(4);
            Remember(kCr);
            while (IsCrLfAt(m_text, m_pos)) m_pos += 2;
        } else if (!m_hasPrevious || EndsSentence(m_previous)) {
            Copy(2);
            Remember(kCr);
        } else {
            if (m_insertSpace) m_out += u' ';
            Remember(kCr);
            m_pos = std::min(m_pos + 2, m_text.size());
        }
    }

    std::u16string_view m_text;
    bool m_insertSpace;
    std::u16string m_out;
    std::size_t m_pos = 0;
    char16_t m_previous = 0;
    bool m_hasPrevious = false;
};

}  // namespace

std::u16string CollapseBlankLines(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsCrLfAt(text, i) && IsCrLfAt(text, i + 2)) {
            out += u"\r\n";
            i += 4;
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::u16string RemoveImproperLineBreaks(std::u16string_view text, bool insertSpace) {
    return LineJoiner(text, insertSpace).Run();
}
