#include "ado_test_support.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "platform/win/text.h"

namespace ado_test {

namespace {

// COM objects are created on the test thread's apartment.
class ComApartment : public testing::Environment {
public:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
};

[[maybe_unused]] testing::Environment* const g_apartment =
    testing::AddGlobalTestEnvironment(new ComApartment);

}  // namespace

void RawExec(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    sqlite3_busy_timeout(db, 10000);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

std::string RawScalar(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    std::string value = "<error>";
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_busy_timeout(db, 10000);
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(stmt, 0);
            value = text ? reinterpret_cast<const char*>(text) : "<null>";
        }
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db);
    return value;
}

void CreateLoginDatabase(const std::string& path) {
    RawExec(path,
            "CREATE TABLE LoginInfo (DomainName TEXT COLLATE NOCASE NOT NULL,"
            " ItemNames TEXT COLLATE NOCASE, ItemValues TEXT, LoginUrl TEXT COLLATE NOCASE,"
            " PasswordName TEXT COLLATE NOCASE, PasswordValue TEXT,"
            " AccountName TEXT COLLATE NOCASE, FavorName TEXT COLLATE NOCASE);"
            "CREATE TABLE LoginInput (DomainName TEXT COLLATE NOCASE NOT NULL UNIQUE,"
            " LoginName TEXT, LoginPassword TEXT);"
            "CREATE TABLE FormInfo (FormId INTEGER PRIMARY KEY AUTOINCREMENT,"
            " FormUrl TEXT COLLATE NOCASE, DomainName TEXT COLLATE NOCASE);"
            "CREATE TABLE FieldInfo (FieldId INTEGER PRIMARY KEY AUTOINCREMENT,"
            " FieldName TEXT COLLATE NOCASE, FieldType TEXT COLLATE NOCASE, FieldValue TEXT,"
            " FormId INTEGER);");
}

std::u16string ConnectionStringFor(const std::string& path) {
    return u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + Utf8ToUtf16(path) +
           u";Jet OLEDB:Database Locking Mode=1";
}

_ConnectionPtr OpenConnection(const std::string& path) {
    _ConnectionPtr connection;
    EXPECT_EQ(connection.CoCreateInstance(__uuidof(Connection)), S_OK);
    if (!connection) return nullptr;
    try {
        connection->Open(ConnectionStringFor(path), u"", u"", adOptionUnspecified);
    } catch (const _com_error& e) {
        ADD_FAILURE() << "Open failed: " << Utf16ToUtf8(e.Description());
        return nullptr;
    }
    return connection;
}

Rows Query(_Connection* connection, const std::u16string& sql) {
    _RecordsetPtr recordset;
    EXPECT_EQ(recordset.CoCreateInstance(__uuidof(Recordset)), S_OK);
    recordset->Open(sql.c_str(), CComVariant(static_cast<IDispatch*>(connection)), adOpenStatic,
                    adLockReadOnly, adCmdText);
    Rows rows;
    FieldsPtr fields = recordset->GetFields();
    const long columns = fields->GetCount();
    for (; !recordset->GetadoEOF(); recordset->MoveNext()) {
        std::vector<std::u16string>& row = rows.emplace_back();
        for (long i = 0; i < columns; ++i) {
            CComVariant value = fields->GetItem(i)->GetValue();
            if (value.vt == VT_NULL) {
                row.push_back(u"<null>");
                continue;
            }
            value.ChangeType(VT_BSTR);
            row.emplace_back(value.bstrVal ? value.bstrVal : u"", SysStringLen(value.bstrVal));
        }
    }
    recordset->Close();
    return rows;
}

void ExecuteWithParameters(_Connection* connection, const std::u16string& sql,
                           const std::vector<std::u16string>& values) {
    _CommandPtr command;
    EXPECT_EQ(command.CoCreateInstance(__uuidof(Command)), S_OK);
    command->PutRefActiveConnection(connection);
    command->PutCommandText(sql);
    ParametersPtr parameters = command->GetParameters();
    for (std::size_t i = 0; i < values.size(); ++i) {
        _ParameterPtr parameter = parameters->GetItem(static_cast<int>(i));
        if (!values[i].empty()) parameter->PutSize(static_cast<long>(values[i].size()));
        parameter->PutValue(CComVariant(values[i]));
    }
    connection->BeginTrans();
    try {
        command->Execute(nullptr, nullptr, adCmdText);
    } catch (...) {
        connection->RollbackTrans();
        throw;
    }
    connection->CommitTrans();
}

}  // namespace ado_test
