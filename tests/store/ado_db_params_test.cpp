// Parameterised queries and multi-statement transactions of CAdoDb: values
// found exactly whatever they hold, and a batch committed whole or not at
// all.
#include <gtest/gtest.h>

#include "store/ado_db.h"
#include "store/login_schema.h"
#include "tests/store/login_db_test_support.h"

using namespace testing_support;
using namespace login_schema;

namespace {

constexpr char16_t kAccountsOf[] = u"select AccountName from LoginInfo where DomainName = ?";

CAdoStatement Insert(const std::u16string& domain, const std::u16string& account) {
    return {kInsertCapturedLogin, {domain, u"n", u"v", u"", u"", u"", account, u"f"}};
}

// The first column of every row of a parameterised query.
std::vector<std::u16string> Column(CAdoDb& db, const std::u16string& sql,
                                   const std::vector<std::u16string>& params) {
    std::vector<std::u16string> texts;
    FieldsPtr fields = db.OpenRecordsetWithParams(sql, params);
    EXPECT_EQ(db.m_strError, u"");
    while (fields && !db.m_pRecordset->GetadoEOF()) {
        texts.push_back(Text(fields->GetItem(0L)->GetValue()));
        db.m_pRecordset->MoveNext();
    }
    return texts;
}

class AdoDbParamsTest : public LoginDbTest {
protected:
    void SetUp() override {
        LoginDbTest::SetUp();
        ASSERT_TRUE(m_db.OpenDb(Wide(m_path)));
        ASSERT_TRUE(m_other.OpenDb(Wide(m_path)));
    }
    CAdoDb m_db;
    CAdoDb m_other;  // another window, or the tool
};

TEST_F(AdoDbParamsTest, ValuesWithQuotesAndWildcardsAreFoundExactly) {
    const std::u16string odd = u"o'b%_\\x";
    for (const std::u16string& domain : {odd, std::u16string(u"o'bXYZx"), std::u16string(u"ob")})
        ASSERT_TRUE(m_db.ExecuteSqlBatch({Insert(domain, domain + u"-account")}));
    EXPECT_EQ(Column(m_db, kAccountsOf, {odd}), std::vector<std::u16string>{odd + u"-account"});
    EXPECT_EQ(Column(m_db, u"select DomainName from LoginInfo where DomainName like ? escape '\\'",
                     {u"%b\\%\\_%"}),
              std::vector<std::u16string>{odd});
    // The rows are those of m_pRecordset, which later queries reuse.
    EXPECT_EQ(QueryColumn(m_db, u"select DomainName from LoginInfo order by DomainName").size(),
              3u);
    EXPECT_TRUE(Column(m_db, kAccountsOf, {u"nowhere"}).empty());
}

TEST_F(AdoDbParamsTest, AFailingQueryKeepsTheProvidersDescription) {
    EXPECT_EQ(m_db.OpenRecordsetWithParams(u"select nothing from nowhere where x = ?", {u"a"}),
              nullptr);
    const std::u16string head = u"ado error: ";
    ASSERT_GT(m_db.m_strError.size(), head.size());
    EXPECT_EQ(m_db.m_strError, head + m_db.ErrorDescription());
    EXPECT_TRUE(Column(m_db, kAccountsOf, {u"a"}).empty());
    EXPECT_EQ(m_db.ErrorDescription(), u"");

    CAdoDb closed;
    EXPECT_EQ(closed.OpenRecordsetWithParams(kAccountsOf, {u"a"}), nullptr);
    EXPECT_EQ(closed.ErrorDescription(), u"Invalid pointer");
    EXPECT_FALSE(closed.ExecuteSqlBatch({Insert(u"a", u"b")}));
    EXPECT_EQ(closed.m_strError, u"ado error: ");
}

TEST_F(AdoDbParamsTest, ABatchIsCommittedWholeOrNotAtAll) {
    ASSERT_TRUE(m_db.ExecuteSqlBatch({Insert(u"site", u"alice"), Insert(u"site", u"bob")}));
    EXPECT_EQ(Column(m_other, kAccountsOf, {u"site"}).size(), 2u);

    // The replacement's insert collides with bob: alice's delete is undone.
    EXPECT_FALSE(m_db.ExecuteSqlBatch(
        {{kDeleteLoginInfoAccount, {u"site", u"alice"}}, Insert(u"site", u"BOB")}));
    EXPECT_EQ(m_db.m_strError, u"ado error: " + m_db.ErrorDescription());
    EXPECT_NE(m_db.ErrorDescription().find(u"UNIQUE"), std::u16string::npos);
    EXPECT_EQ(Column(m_other, kAccountsOf, {u"site"}),
              (std::vector<std::u16string>{u"alice", u"bob"}));

    // No transaction is left open on either connection.
    ASSERT_TRUE(m_other.ExecuteSql(kDeleteLoginInfoAccount, {u"site", u"bob"}));
    ASSERT_TRUE(m_db.ExecuteSqlBatch(
        {{kDeleteLoginInfoAccount, {u"site", u"alice"}}, Insert(u"site", u"carol")}));
    EXPECT_EQ(Column(m_other, kAccountsOf, {u"site"}), std::vector<std::u16string>{u"carol"});
}

}  // namespace

namespace {

TEST_F(AdoDbParamsTest, ATransactionSeesItsOwnRowsAndKeepsThemOnlyWhenItEndsWell) {
    const auto insertForm = [&](const std::u16string& url) {
        return m_db.ExecuteSql(u"insert into forminfo (formurl, DomainName) values (?, ?)",
                               {url, u"site.test"});
    };
    std::u16string identity;
    EXPECT_FALSE(m_db.RunInTransaction([&] {
        EXPECT_TRUE(insertForm(u"http://site.test/kept-back"));
        FieldsPtr fields = m_db.OpenRecordset(u"select @@Identity", false);
        if (fields) identity = Text(fields->GetItem(0L)->GetValue());
        return false;
    }));
    EXPECT_NE(identity, u"");
    EXPECT_TRUE(QueryColumn(m_other, u"select FormUrl from FormInfo").empty());

    // A statement that fails inside ends the transaction with its error.
    EXPECT_FALSE(m_db.RunInTransaction([&] {
        return insertForm(u"http://site.test/half") &&
               m_db.ExecuteSql(u"insert into nowhere values (?)", {u"x"});
    }));
    EXPECT_NE(m_db.m_strError, u"");
    EXPECT_TRUE(QueryColumn(m_other, u"select FormUrl from FormInfo").empty());

    EXPECT_TRUE(m_db.RunInTransaction([&] {
        return insertForm(u"http://site.test/one") && insertForm(u"http://site.test/two");
    }));
    EXPECT_EQ(QueryColumn(m_other, u"select FormUrl from FormInfo order by FormId"),
              (std::vector<std::u16string>{u"http://site.test/one", u"http://site.test/two"}));
}

}  // namespace
