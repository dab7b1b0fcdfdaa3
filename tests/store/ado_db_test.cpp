#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "platform/win/text.h"
#include "store/ado_db.h"
#include "store/login_schema.h"
#include "tests/store/login_db_test_support.h"

using namespace testing_support;
using namespace login_schema;

namespace {

constexpr char16_t kOpenFailedHead[] = u"Error! open log DB. ";
constexpr char16_t kAdoErrorHead[] = u"ado error: ";

bool StartsWith(const std::u16string& text, std::u16string_view head) {
    return text.compare(0, head.size(), head) == 0;
}

// What the provider itself says when asked to open path.
std::u16string ProviderOpenMessage(const std::u16string& path) {
    _ConnectionPtr connection;
    connection.CoCreateInstance(__uuidof(Connection));
    try {
        connection->Open(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path, u"", u"", -1);
    } catch (const _com_error& e) {
        return e.ErrorMessage();
    }
    return u"(opened)";
}

bool InsertLoginInput(CAdoDb& db, const std::u16string& domain, const std::u16string& name = u"n",
                      const std::u16string& password = u"p") {
    return db.ExecuteSql(kInsertLoginInput, {name, password, domain});
}

class AdoDbTest : public LoginDbTest {};

TEST_F(AdoDbTest, OpenDbOnMissingFileFailsWithProviderMessageAndCreatesNothing) {
    const std::string missing = m_dir.File("absent.dat");
    CAdoDb db;
    EXPECT_FALSE(db.OpenDb(Wide(missing)));
    const std::u16string message = ProviderOpenMessage(Wide(missing));
    EXPECT_EQ(db.m_strError, kOpenFailedHead + message + u"\n");
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(db.m_pConnection, nullptr);
    EXPECT_FALSE(std::filesystem::exists(missing));

    // Nothing is open: the other operations fail with their own texts.
    EXPECT_EQ(db.OpenRecordset(kSelectAllLoginInput, false), nullptr);
    EXPECT_TRUE(StartsWith(db.m_strError, kAdoErrorHead));
    EXPECT_FALSE(InsertLoginInput(db, u"a.com"));
    EXPECT_TRUE(StartsWith(db.m_strError, kAdoErrorHead));
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST_F(AdoDbTest, OpenDbRefusesFilesThatAreNotDatabasesAndLeavesThemAlone) {
    const std::string garbage = m_dir.File("garbage.dat");
    const std::string bytes("Standard Jet DB\0 not a database at all, only bytes", 50);
    for (const std::string& content : {bytes, std::string()}) {
        WriteFile(garbage, content);
        CAdoDb db;
        EXPECT_FALSE(db.OpenDb(Wide(garbage)));
        EXPECT_TRUE(StartsWith(db.m_strError, kOpenFailedHead)) << db.m_strError.size();
        EXPECT_EQ(db.m_strError.back(), u'\n');
        EXPECT_GT(db.m_strError.size(), std::size(kOpenFailedHead));
        EXPECT_EQ(db.m_pConnection, nullptr);
        EXPECT_EQ(ReadFile(garbage), content);
    }
}

TEST_F(AdoDbTest, OpenDbWithoutComOnTheThreadReportsTheCreationFailure) {
    std::u16string error;
    bool opened = true;
    std::thread([&] {
        CAdoDb db;
        opened = db.OpenDb(Wide(m_path));
        error = db.m_strError;
    }).join();
    EXPECT_FALSE(opened);
    EXPECT_EQ(error, u"Ado Connect CreateInstance failed.");
}

TEST_F(AdoDbTest, OpenDbTwiceClosesTheFirstDatabase) {
    const std::string second = FreshDatabase("second.dat");
    CAdoDb db;
    ASSERT_TRUE(db.OpenDb(Wide(m_path)));
    ASSERT_TRUE(InsertLoginInput(db, u"first.com"));
    FieldsPtr firstFields = db.OpenRecordset(kSelectAllLoginInput, false);
    ASSERT_NE(firstFields, nullptr);

    ASSERT_TRUE(db.OpenDb(Wide(second)));
    EXPECT_EQ(db.m_strError, u"");
    EXPECT_TRUE(QueryColumn(db, kSelectAllLoginInput).empty());
    // The first database's recordset was closed, not left reading old rows.
    EXPECT_THROW(firstFields->GetItem(CComVariant(0))->GetValue(), _com_error);

    ASSERT_TRUE(db.OpenDb(Wide(second)));
    ASSERT_TRUE(db.OpenDb(Wide(m_path)));
    EXPECT_EQ(QueryColumn(db, kSelectAllLoginInput), std::vector<std::u16string>{u"first.com"});
}

TEST_F(AdoDbTest, CloseDbReleasesEverythingAndLeavesTheLastErrorText) {
    CAdoDb db;
    ASSERT_TRUE(db.OpenDb(Wide(m_path)));
    EXPECT_EQ(db.OpenRecordset(u"select nonsense from nowhere", false), nullptr);
    const std::u16string error = db.m_strError;
    ASSERT_FALSE(error.empty());
    EXPECT_TRUE(db.CloseDb());
    EXPECT_EQ(db.m_pConnection, nullptr);
    EXPECT_EQ(db.m_pRecordset, nullptr);
    EXPECT_EQ(db.m_pCommand, nullptr);
    EXPECT_EQ(db.m_strError, error);
    EXPECT_TRUE(db.CloseDb());
}

TEST_F(AdoDbTest, EmptyResultAndSyntaxErrorAreToldApartByTheErrorText) {
    CAdoDb db;
    ASSERT_TRUE(db.OpenDb(Wide(m_path)));
    EXPECT_EQ(
        db.OpenRecordset(std::u16string(kSelectAccountNamesByDomainHead) + u"none.com'", false),
        nullptr);
    EXPECT_EQ(db.m_strError, u"");
    // The recordset stays open over no rows.
    EXPECT_EQ(db.m_pRecordset->GetState(), adStateOpen);
    EXPECT_EQ(db.m_pRecordset->GetRecordCount(), 0);

    EXPECT_EQ(db.OpenRecordset(u"select from where LoginInfo", false), nullptr);
    EXPECT_TRUE(StartsWith(db.m_strError, kAdoErrorHead));
    EXPECT_GT(db.m_strError.size(), std::size(kAdoErrorHead));

    // A later success clears the text.
    ASSERT_TRUE(InsertLoginInput(db, u"a.com"));
    EXPECT_NE(db.OpenRecordset(kSelectAllLoginInput, false), nullptr);
    EXPECT_EQ(db.m_strError, u"");
}

TEST_F(AdoDbTest, OnlyWritableRecordsetsWriteBack) {
    CAdoDb db;
    ASSERT_TRUE(db.OpenDb(Wide(m_path)));
    ASSERT_TRUE(InsertLoginInput(db, u"a.com", u"clear name", u"clear password"));

    FieldsPtr readOnly = db.OpenRecordset(kSelectAllLoginInput, false);
    ASSERT_NE(readOnly, nullptr);
    EXPECT_THROW(
        {
            readOnly->GetItem(CComVariant(1))->PutValue(CComVariant(u"x"));
            db.m_pRecordset->Update();
        },
        _com_error);

    FieldsPtr writable = db.OpenRecordset(kSelectAllLoginInput, true);
    ASSERT_NE(writable, nullptr);
    EXPECT_EQ(db.m_pRecordset->GetRecordCount(), 1);
    writable->GetItem(CComVariant(1))->PutValue(CComVariant(u"protected name"));
    db.m_pRecordset->Update();
    db.m_pRecordset->MoveNext();
    EXPECT_EQ(db.m_pRecordset->GetadoEOF(), VARIANT_TRUE);

    const auto rows = QueryRows(db, kSelectAllLoginInput);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(Text(rows[0][1]), u"protected name");
    EXPECT_EQ(Text(rows[0][2]), u"clear password");
}

TEST_F(AdoDbTest, EmptyParameterIsStoredAsZeroLengthStringNotNull) {
    CAdoDb db;
    ASSERT_TRUE(db.OpenDb(Wide(m_path)));
    ASSERT_TRUE(db.ExecuteSql(kInsertFilledLogin, {u"a.com", u"user", u"", u"", u"pass"}));
    const auto rows =
        QueryRows(db, u"select ItemValues, LoginUrl, PasswordValue, AccountName from LoginInfo");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0].vt, VT_BSTR);
    EXPECT_EQ(SysStringLen(rows[0][0].bstrVal), 0u);
    EXPECT_EQ(rows[0][1].vt, VT_BSTR);
    // Not named by the statement: NULL.
    EXPECT_EQ(rows[0][2].vt, VT_NULL);
    EXPECT_EQ(rows[0][3].vt, VT_NULL);
    EXPECT_EQ(QueryColumn(db, u"select DomainName from LoginInfo where LoginUrl = ''"),
              std::vector<std::u16string>{u"a.com"});
}

TEST_F(AdoDbTest, ExecuteSqlWithoutParametersRunsTheTextUnchanged) {
    CAdoDb db;
    ASSERT_TRUE(db.OpenDb(Wide(m_path)));
    // A "?" inside a literal is text, not a marker.
    ASSERT_TRUE(
        db.ExecuteSql(u"insert into logininput (LoginName, LoginPassword, DomainName) values "
                      u"('who?', '', 'q.com')",
                      {}));
    EXPECT_EQ(QueryColumn(db, u"select LoginName from LoginInput where DomainName = 'q.com'"),
              std::vector<std::u16string>{u"who?"});
}

TEST_F(AdoDbTest, FailingStatementChangesNothingAndTheObjectStaysUsable) {
    CAdoDb db;
    CAdoDb other;
    ASSERT_TRUE(db.OpenDb(Wide(m_path)));
    ASSERT_TRUE(other.OpenDb(Wide(m_path)));
    ASSERT_TRUE(InsertLoginInput(db, u"a.com", u"n1"));
    ASSERT_TRUE(InsertLoginInput(db, u"b.com", u"n2"));

    // The second row's update collides with the unique domain after the first
    // has been changed: none of it may remain.
    EXPECT_FALSE(db.ExecuteSql(u"update logininput set DomainName = 'c.com', LoginName = 'x'", {}));
    EXPECT_TRUE(StartsWith(db.m_strError, kAdoErrorHead));
    EXPECT_GT(db.m_strError.size(), std::size(kAdoErrorHead));
    EXPECT_EQ(QueryColumn(other, u"select LoginName from LoginInput order by LoginName"),
              (std::vector<std::u16string>{u"n1", u"n2"}));

    // More values than markers, and a duplicate key.
    EXPECT_FALSE(db.ExecuteSql(kDeleteLoginInput, {u"a.com", u"extra"}));
    EXPECT_TRUE(StartsWith(db.m_strError, kAdoErrorHead));
    EXPECT_FALSE(InsertLoginInput(db, u"A.COM"));
    EXPECT_TRUE(StartsWith(db.m_strError, kAdoErrorHead));
    EXPECT_EQ(QueryColumn(other, kSelectAllLoginInput).size(), 2u);

    // No transaction was left behind on either connection.
    ASSERT_TRUE(db.ExecuteSql(kDeleteLoginInput, {u"a.com"}));
    EXPECT_EQ(db.m_strError, u"");
    ASSERT_TRUE(InsertLoginInput(other, u"d.com"));
    EXPECT_EQ(QueryColumn(db, u"select DomainName from LoginInput order by DomainName"),
              (std::vector<std::u16string>{u"b.com", u"d.com"}));
}

}  // namespace
