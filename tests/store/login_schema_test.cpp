// Every statement the deliverables issue, run against a copy of the shipped
// login.dat, so that a mistake in the schema, in a statement or in the
// provider's dialect fails here.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win/text.h"
#include "store/ado_db.h"
#include "store/login_schema.h"
#include "tests/store/login_db_test_support.h"

using namespace testing_support;
using namespace login_schema;

namespace {

using Texts = std::vector<std::u16string>;

class LoginSchemaTest : public LoginDbTest {
protected:
    void SetUp() override {
        LoginDbTest::SetUp();
        ASSERT_TRUE(m_db.OpenDb(Wide(m_path))) << Utf16ToUtf8(m_db.m_strError);
    }
    void TearDown() override {
        m_db.CloseDb();
        LoginDbTest::TearDown();
    }

    void Run(const std::u16string& sql, const Texts& params = {}) {
        EXPECT_TRUE(m_db.ExecuteSql(sql, params)) << Utf16ToUtf8(sql) << "\n"
                                                  << Utf16ToUtf8(m_db.m_strError);
    }
    std::vector<std::vector<CComVariant>> Rows(const std::u16string& sql) {
        return QueryRows(m_db, sql);
    }
    // Sorted: no statement asks for an order.
    Texts Column(const std::u16string& sql) {
        Texts texts = QueryColumn(m_db, sql);
        std::sort(texts.begin(), texts.end());
        return texts;
    }
    Texts Row(const std::u16string& sql) {
        Texts texts;
        const auto rows = Rows(sql);
        EXPECT_EQ(rows.size(), 1u) << Utf16ToUtf8(sql);
        if (!rows.empty())
            for (const CComVariant& value : rows[0]) texts.push_back(Text(value));
        return texts;
    }

    CAdoDb m_db;
};

std::u16string Quoted(const char16_t* head, const std::u16string& value) {
    return head + value + u"'";
}

TEST_F(LoginSchemaTest, LoginInputStatements) {
    Run(kInsertLoginInput, {u"name1", u"password1", u"example.com"});
    Run(kInsertLoginInput, {u"name2", u"password2", u"mail.example.org"});
    Run(kInsertLoginInput, {u"name3", u"password3", u"other.net"});
    // One row per domain, whatever its case.
    EXPECT_FALSE(m_db.ExecuteSql(kInsertLoginInput, {u"n", u"p", u"EXAMPLE.com"}));

    EXPECT_EQ(Rows(kSelectAllLoginInput).size(), 3u);
    Run(kUpdateLoginInput, {u"renamed", u"changed", u"other.net"});
    EXPECT_EQ(Row(std::u16string(kSelectLoginInputLikeDomainHead) + u"other.net%'"),
              (Texts{u"renamed", u"changed"}));
    EXPECT_EQ(Column(std::u16string(kSelectLoginInputDomainLikeHead) + u"example%'"),
              (Texts{u"example.com", u"mail.example.org"}));
    EXPECT_EQ(Column(std::u16string(kSelectLoginInputDomainLikeHead) + u"EXAMPLE.C%'"),
              (Texts{u"example.com"}));

    Run(kDeleteLoginInput, {u"Example.com"});
    EXPECT_EQ(Column(kSelectAllLoginInput), (Texts{u"mail.example.org", u"other.net"}));
}

TEST_F(LoginSchemaTest, LoginCaptureStatements) {
    const std::u16string longValue(5000, u'Q');
    Run(kInsertCapturedLogin, {u"a.com", u"user\npass", longValue, u"http://a.com/login", u"pass",
                               u"secret", u"alice", u"A site"});
    Run(kInsertCapturedLogin,
        {u"a.com", u"user\npass", u"v", u"http://a.com/login", u"pass", u"", u"", u"A site"});
    // The same site and account again is refused.
    EXPECT_FALSE(m_db.ExecuteSql(kInsertCapturedLogin,
                                 {u"A.com", u"n", u"v", u"", u"", u"", u"ALICE", u""}));

    // select * is read by position: the columns come in the schema's order.
    EXPECT_EQ(Rows(Quoted(kSelectLoginInfoByDomainHead, u"a.com")).size(), 2u);
    const auto rows =
        Rows(Quoted(kSelectLoginInfoByDomainHead, u"a.com") + u" and AccountName = 'alice'");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(Text(rows[0][0]), u"a.com");
    EXPECT_EQ(Text(rows[0][2]), longValue);
    EXPECT_EQ(Text(rows[0][5]), u"secret");
    EXPECT_EQ(Text(rows[0][6]), u"alice");
    EXPECT_EQ(Text(rows[0][7]), u"A site");
    FieldsPtr fields = m_db.OpenRecordset(Quoted(kSelectLoginInfoByDomainHead, u"a.com"), false);
    ASSERT_NE(fields, nullptr);
    ASSERT_EQ(fields->GetCount(), 8);
    const char16_t* names[] = {u"DomainName",   u"ItemNames",     u"ItemValues",  u"LoginUrl",
                               u"PasswordName", u"PasswordValue", u"AccountName", u"FavorName"};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(fields->GetItem(CComVariant(i))->GetName().View(), names[i]);

    Run(Quoted(kUpdateCapturedLoginByDomainHead, u"a.com") + u" and AccountName = 'alice'",
        {u"user", u"v2", u"http://a.com/", u"pw", u"secret2", u"alice"});
    EXPECT_EQ(Column(Quoted(kSelectAccountNamesByDomainHead, u"a.com")), (Texts{u"", u"alice"}));
    EXPECT_EQ(
        Column(Quoted(kSelectLoginAccountsByDomainHead, u"a.com") + u" and AccountName = 'alice'"),
        (Texts{u"user"}));

    Run(kDeleteLoginInfoAccount, {u"a.com", u"alice"});
    EXPECT_EQ(Column(Quoted(kSelectAccountNamesByDomainHead, u"a.com")), (Texts{u""}));
}

TEST_F(LoginSchemaTest, LoginFillStatements) {
    Run(kInsertFilledLogin, {u"b.com", u"user", u"v", u"http://b.com/", u"pass"});
    EXPECT_EQ(Row(Quoted(kSelectLoginItemsByDomainHead, u"B.COM")), (Texts{u"user", u"v"}));
    Run(kUpdateFilledLogin, {u"user\nemail", u"v\nw", u"http://b.com/in", u"pwd", u"b.com"});
    // A login written without a password or an account holds NULL there,
    // which reads as empty text.
    EXPECT_EQ(Row(Quoted(kSelectLoginWithPasswordByDomainHead, u"b.com")),
              (Texts{u"user\nemail", u"v\nw", u""}));
    const auto rows = Rows(Quoted(kSelectLoginAccountsByDomainHead, u"b.com"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][2].vt, VT_NULL);
    EXPECT_EQ(rows[0][3].vt, VT_NULL);
}

TEST_F(LoginSchemaTest, RegisteredSiteStatements) {
    Run(kInsertCapturedLogin, {u"a.com", u"n", u"v", u"http://a.com/", u"", u"", u"1", u"A"});
    Run(kInsertCapturedLogin, {u"a.com", u"n", u"v", u"http://a.com/", u"", u"", u"2", u"A"});
    Run(kInsertCapturedLogin, {u"b.com", u"n", u"v", u"x", u"", u"", u"", u"B"});
    Run(kInsertCapturedLogin, {u"c.com", u"n", u"v", u"", u"", u"", u"", u"C"});
    Run(kInsertFilledLogin, {u"d.com", u"n", u"v", u"http://d.com/", u""});

    const auto sites = Rows(kSelectRegisteredSites);
    ASSERT_EQ(sites.size(), 2u);
    Texts pairs;
    for (const auto& site : sites) pairs.push_back(Text(site[0]) + u"|" + Text(site[1]));
    std::sort(pairs.begin(), pairs.end());
    EXPECT_EQ(pairs, (Texts{u"a.com|A", u"d.com|"}));
    EXPECT_EQ(Column(Quoted(kSelectLoginUrlByDomainHead, u"d.com")), (Texts{u"http://d.com/"}));

    Run(std::u16string(kClearLoginUrlInHead) + u"'a.com', 'D.com')");
    EXPECT_TRUE(Rows(kSelectRegisteredSites).empty());
    EXPECT_EQ(Rows(Quoted(kSelectLoginUrlByDomainHead, u"d.com"))[0][0].vt, VT_NULL);
}

TEST_F(LoginSchemaTest, LoginDeletionStatements) {
    for (const char16_t* account : {u"x", u"y", u""})
        Run(kInsertCapturedLogin, {u"a.com", u"n", u"v", u"", u"", u"", account, u""});
    Run(Quoted(kDeleteLoginInfoByDomainHead, u"a.com") + kAndAccountNameHead + u"x'");
    EXPECT_EQ(Column(Quoted(kSelectAccountNamesByDomainHead, u"a.com")), (Texts{u"", u"y"}));
    Run(Quoted(kDeleteLoginInfoByDomainHead, u"a.com") + kAndAccountNameEmpty);
    EXPECT_EQ(Column(Quoted(kSelectAccountNamesByDomainHead, u"a.com")), (Texts{u"y"}));
    Run(Quoted(kDeleteLoginInfoByDomainHead, u"a.com"));
    EXPECT_TRUE(Rows(Quoted(kSelectAccountNamesByDomainHead, u"a.com")).empty());
}

TEST_F(LoginSchemaTest, FormStatements) {
    const std::u16string url = u"http://a.com/form";
    Run(std::u16string(kInsertFormInfoHead) + url + u"', 'a.com')");
    const Texts identity = Column(kSelectIdentity);
    EXPECT_EQ(Column(Quoted(kSelectFormIdByUrlHead, url)), identity);
    ASSERT_EQ(identity.size(), 1u);
    const std::u16string formId = identity[0];

    Run(std::u16string(kInsertFieldInfoHead) + u"user', 'text', 'v1', " + formId + u")");
    Run(std::u16string(kInsertFieldInfoHead) + u"agree', 'checkbox', '', " + formId + u")");
    EXPECT_EQ(Rows(kSelectFieldsByFormIdHead + formId).size(), 2u);

    // A form without fields is valid; numbers of deleted forms are not
    // handed out again, so fields left behind never join a new form.
    Run(std::u16string(kInsertFormInfoHead) + u"http://b.com/', 'b.com')");
    const std::u16string emptyForm = Column(kSelectIdentity).at(0);
    EXPECT_NE(emptyForm, formId);
    EXPECT_TRUE(Rows(kSelectFieldsByFormIdHead + emptyForm).empty());
    Run(u"delete from FormInfo where FormId = " + emptyForm);
    Run(std::u16string(kInsertFormInfoHead) + u"http://c.com/', 'c.com')");
    EXPECT_NE(Column(kSelectIdentity).at(0), emptyForm);
}

TEST_F(LoginSchemaTest, ExportAndImportStatements) {
    Run(kImportLoginInfo, {u"a.com", u"n", u"v", u"", u"p", u"pv", u"acc"});
    Run(kImportFormInfo, {u"7", u"http://a.com/f", u"a.com"});
    Run(kImportFieldInfo, {u"70", u"user", u"text", u"value", u"7"});
    // Identifiers are 32-bit numbers.
    EXPECT_FALSE(m_db.ExecuteSql(kImportFormInfo, {u"2147483648", u"u", u"d"}));
    EXPECT_FALSE(m_db.ExecuteSql(kImportFieldInfo, {u"71", u"n", u"t", u"v", u"seven"}));

    EXPECT_EQ(Row(kSelectAllLoginInfo), (Texts{u"a.com", u"n", u"v", u"", u"p", u"pv", u"acc"}));
    EXPECT_EQ(Row(kSelectAllFormInfo), (Texts{u"7", u"http://a.com/f", u"a.com"}));
    EXPECT_EQ(Row(kSelectAllFieldInfo), (Texts{u"70", u"user", u"text", u"value", u"7"}));
    // Ids imported as text are numbers: the form finds its fields.
    EXPECT_EQ(Rows(std::u16string(kSelectFieldsByFormIdHead) + u"7").size(), 1u);

    // The export turns protected columns into clear text in place.
    FieldsPtr login = m_db.OpenRecordset(kSelectLoginInfoSecrets, true);
    ASSERT_NE(login, nullptr);
    login->GetItem(CComVariant(1))->PutValue(CComVariant(u"clear values"));
    m_db.m_pRecordset->Update();
    FieldsPtr field = m_db.OpenRecordset(kSelectFieldInfoSecrets, true);
    ASSERT_NE(field, nullptr);
    field->GetItem(CComVariant(1))->PutValue(CComVariant(u"clear field"));
    m_db.m_pRecordset->Update();
    EXPECT_EQ(Row(kSelectLoginInfoSecrets), (Texts{u"a.com", u"clear values", u"pv", u"acc"}));
    EXPECT_EQ(Row(kSelectFieldInfoSecrets), (Texts{u"70", u"clear field"}));
}

}  // namespace
