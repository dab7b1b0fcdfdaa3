#include "tests/store/login_db_test_support.h"

#include <sqlite3.h>

#include <cstdlib>

#include "platform/win/text.h"

namespace testing_support {

void BuildLoginDatabase(const std::string& path) {
    const std::string command =
        std::string(KESTRO_MAKE_LOGIN_DB) + " '" + KESTRO_LOGIN_SQL + "' '" + path + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

std::u16string Wide(const std::string& text) {
    return Utf8ToUtf16(text);
}

std::u16string Text(const VARIANT& value) {
    if (value.vt == VT_NULL || value.vt == VT_EMPTY) return {};
    CComVariant text;
    if (FAILED(VariantChangeType(&text, &value, 0, VT_BSTR))) return u"<not text>";
    return std::u16string(text.bstrVal, SysStringLen(text.bstrVal));
}

std::vector<std::vector<CComVariant>> QueryRows(CAdoDb& db, const std::u16string& sql) {
    std::vector<std::vector<CComVariant>> rows;
    FieldsPtr fields = db.OpenRecordset(sql, false);
    EXPECT_EQ(db.m_strError, u"") << Utf16ToUtf8(sql);
    if (!fields) return rows;
    const long count = db.m_pRecordset->GetRecordCount();
    const long columns = fields->GetCount();
    for (long row = 0; row < count; ++row) {
        std::vector<CComVariant> values;
        for (long i = 0; i < columns; ++i)
            values.push_back(fields->GetItem(CComVariant(static_cast<int>(i)))->GetValue());
        rows.push_back(std::move(values));
        db.m_pRecordset->MoveNext();
    }
    return rows;
}

std::vector<std::u16string> QueryColumn(CAdoDb& db, const std::u16string& sql) {
    std::vector<std::u16string> texts;
    for (const auto& row : QueryRows(db, sql)) texts.push_back(Text(row.at(0)));
    return texts;
}

std::string IntegrityCheck(const std::string& path) {
    sqlite3* db = nullptr;
    std::string result;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db, 10000);
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) ==
            SQLITE_OK) {
            while (sqlite3_step(statement) == SQLITE_ROW)
                result += reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        }
        sqlite3_finalize(statement);
    }
    if (result.empty()) result = sqlite3_errmsg(db);
    sqlite3_close(db);
    return result;
}

void LoginDbTest::SetUp() {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    m_path = FreshDatabase();
}

void LoginDbTest::TearDown() {
    CoUninitialize();
}

std::string LoginDbTest::FreshDatabase(const std::string& name) {
    const std::string path = m_dir.File(name);
    BuildLoginDatabase(path);
    return path;
}

}  // namespace testing_support
