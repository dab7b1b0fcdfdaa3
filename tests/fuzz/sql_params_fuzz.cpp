// libFuzzer harness for the database provider's statement scan: the "?"
// markers a Command derives its Parameters from, the @@Identity rewrite and
// the writable-query rewrite, on arbitrary statement text. Where SQLite
// prepares the rewritten statement against the login schema and sees only
// plain "?" markers, its count must be the provider's, or values would be
// bound to the wrong markers.
#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ado/jet_dialect.h"
#include "platform/win/text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

sqlite3* g_schema = nullptr;

bool OnlyBlanks(const char16_t* text) {
    for (; *text; ++text)
        if (*text != u' ' && *text != u'\t' && *text != u'\r' && *text != u'\n') return false;
    return true;
}

// SQLite's count of markers when the statement prepares whole and every
// marker is an anonymous "?"; -1 otherwise.
long PlainMarkersSqliteSees(const std::u16string& sql) {
    sqlite3_stmt* statement = nullptr;
    const void* tail = nullptr;
    const int rc = sqlite3_prepare16_v3(g_schema, sql.c_str(), static_cast<int>(sql.size() * 2), 0,
                                        &statement, &tail);
    long count = -1;
    if (rc == SQLITE_OK && statement && OnlyBlanks(static_cast<const char16_t*>(tail))) {
        count = sqlite3_bind_parameter_count(statement);
        for (int i = 1; i <= count; ++i)
            if (sqlite3_bind_parameter_name(statement, i)) count = -1;
    }
    sqlite3_finalize(statement);
    return count;
}

void CheckAgainstSqlite(const std::u16string& jet, const std::u16string& sql) {
    const long markers = CountParameterMarkers(jet);
    const long seen = PlainMarkersSqliteSees(sql);
    if (seen >= 0 && seen != markers)
        fuzzing::Fault("the provider and SQLite count different markers", Utf16ToUtf8(jet));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const std::string schema = fuzzing::ReadFile(KESTRO_LOGIN_SQL);
    if (sqlite3_open(":memory:", &g_schema) != SQLITE_OK ||
        sqlite3_exec(g_schema, schema.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        fuzzing::Fault("cannot build the login schema", KESTRO_LOGIN_SQL);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string jet =
        Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::u16string sql = TranslateJetSql(jet);
    if (CountParameterMarkers(sql) != CountParameterMarkers(jet))
        fuzzing::Fault("the @@Identity rewrite changes the markers", Utf16ToUtf8(jet));
    const std::u16string withRowid = WithLeadingRowid(sql);
    // SQLite reads a statement only up to a zero character.
    if (jet.find(u'\0') != std::u16string::npos) return 0;
    CheckAgainstSqlite(jet, sql);
    if (!withRowid.empty()) CheckAgainstSqlite(jet, withRowid);
    return 0;
}
