#include "platform/ado/jet_dialect.h"

#include "platform/win/text.h"

namespace {

// Length of the literal, name or comment that starts at pos, or 0 when
// plain statement text starts there.
std::size_t QuotedLength(std::u16string_view sql, std::size_t pos) {
    const char16_t c = sql[pos];
    auto until = [&](std::u16string_view end, std::size_t from) {
        const std::size_t found = sql.find(end, from);
        return found == std::u16string_view::npos ? sql.size() - pos : found + end.size() - pos;
    };
    if (c == u'\'' || c == u'"' || c == u'`') {
        // A doubled quote inside a literal or name stands for one quote.
        std::size_t i = pos + 1;
        while (i < sql.size()) {
            if (sql[i] == c) {
                if (i + 1 < sql.size() && sql[i + 1] == c) {
                    i += 2;
                    continue;
                }
                return i + 1 - pos;
            }
            ++i;
        }
        return sql.size() - pos;
    }
    if (c == u'[') return until(u"]", pos + 1);
    if (sql.substr(pos, 2) == u"--") return until(u"\n", pos + 2);
    if (sql.substr(pos, 2) == u"/*") return until(u"*/", pos + 2);
    return 0;
}

bool StartsWithNoCase(std::u16string_view text, std::size_t pos, std::u16string_view word) {
    return text.size() - pos >= word.size() &&
           WideEqualsNoCase(text.substr(pos, word.size()), word);
}

bool IsNameChar(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
           c == u'_' || c >= 0x80;
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\f' || c == u'\v';
}

// Calls visit(pos) for every character of plain statement text; visit
// returns how many characters it consumed (0 for one, unchanged).
template <class Visit>
void ForEachPlain(std::u16string_view sql, Visit visit) {
    std::size_t pos = 0;
    while (pos < sql.size()) {
        if (const std::size_t quoted = QuotedLength(sql, pos)) {
            pos += quoted;
            continue;
        }
        const std::size_t used = visit(pos);
        pos += used ? used : 1;
    }
}

}  // namespace

std::u16string TranslateJetSql(std::u16string_view jetSql) {
    constexpr std::u16string_view kIdentity = u"@@identity";
    std::u16string out;
    out.reserve(jetSql.size());
    std::size_t copied = 0;
    ForEachPlain(jetSql, [&](std::size_t pos) -> std::size_t {
        if (jetSql[pos] != u'@' || !StartsWithNoCase(jetSql, pos, kIdentity)) return 0;
        const std::size_t end = pos + kIdentity.size();
        if (end < jetSql.size() && IsNameChar(jetSql[end])) return 0;
        out.append(jetSql.substr(copied, pos - copied));
        out.append(u"last_insert_rowid()");
        copied = end;
        return kIdentity.size();
    });
    out.append(jetSql.substr(copied));
    return out;
}

long CountParameterMarkers(std::u16string_view jetSql) {
    long count = 0;
    ForEachPlain(jetSql, [&](std::size_t pos) -> std::size_t {
        if (jetSql[pos] == u'?') ++count;
        return 0;
    });
    return count;
}

std::u16string WithLeadingRowid(std::u16string_view sql) {
    std::size_t pos = 0;
    while (pos < sql.size() && IsBlank(sql[pos])) ++pos;
    if (!StartsWithNoCase(sql, pos, u"select")) return {};
    const std::size_t afterSelect = pos + 6;
    if (afterSelect >= sql.size() || !IsBlank(sql[afterSelect])) return {};
    std::size_t next = afterSelect;
    while (next < sql.size() && IsBlank(sql[next])) ++next;
    for (std::u16string_view word : {u"distinct", u"distinctrow", u"top", u"all"}) {
        const std::size_t end = next + word.size();
        if (StartsWithNoCase(sql, next, word) && (end == sql.size() || !IsNameChar(sql[end])))
            return {};
    }
    std::u16string out(sql.substr(0, afterSelect));
    out.append(u" rowid,");
    out.append(sql.substr(afterSelect));
    return out;
}
