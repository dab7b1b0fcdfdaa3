#include "tests/tool/login_data.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>

#include "platform/win/text.h"
#include "store/crypt_str.h"

namespace quillet_testing {

namespace {

struct Database {
    explicit Database(const std::string& path) {
        EXPECT_EQ(sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK)
            << path;
        sqlite3_busy_timeout(db, 10000);
    }
    ~Database() { sqlite3_close(db); }
    sqlite3_stmt* Prepare(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK)
            << sql << ": " << sqlite3_errmsg(db);
        return statement;
    }
    sqlite3* db = nullptr;
};

}  // namespace

AsUser::AsUser(const std::string& home) {
    const char* previous = std::getenv("KESTRO_HOME");
    m_previous = previous ? previous : "";
    setenv("KESTRO_HOME", home.c_str(), 1);
}

AsUser::~AsUser() {
    setenv("KESTRO_HOME", m_previous.c_str(), 1);
}

std::string Protect(const std::string& clear) {
    CCryptStr crypt;
    std::string text;
    EXPECT_TRUE(crypt.EncryptStrW(Utf8ToUtf16(clear), text)) << Utf16ToUtf8(crypt.m_strError);
    return text;
}

std::string Unprotect(const std::string& text) {
    CCryptStr crypt;
    std::u16string clear;
    if (!crypt.DecryptStrW(text, clear)) return "<not decryptable>";
    return Utf16ToUtf8(clear);
}

std::vector<std::vector<std::string>> Rows(const std::string& database, const std::string& sql) {
    Database db(database);
    std::vector<std::vector<std::string>> rows;
    sqlite3_stmt* statement = db.Prepare(sql);
    while (statement && sqlite3_step(statement) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const auto* text = sqlite3_column_text(statement, i);
            row.push_back(text ? reinterpret_cast<const char*>(text) : kNull);
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return rows;
}

void Execute(const std::string& database, const std::string& sql,
             const std::vector<std::vector<std::string>>& rows) {
    Database db(database);
    sqlite3_exec(db.db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* statement = db.Prepare(sql);
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            const int at = static_cast<int>(i) + 1;
            if (row[i] == kNull) {
                sqlite3_bind_null(statement, at);
            } else {
                sqlite3_bind_text(statement, at, row[i].c_str(), -1, SQLITE_TRANSIENT);
            }
        }
        EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE) << sqlite3_errmsg(db.db);
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
    EXPECT_EQ(sqlite3_exec(db.db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
}

std::string IntegrityCheck(const std::string& database) {
    const auto rows = Rows(database, "PRAGMA integrity_check");
    return rows.size() == 1 ? rows[0][0] : "integrity check failed";
}

}  // namespace quillet_testing
