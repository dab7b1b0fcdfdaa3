// Command: parameters derived from "?" markers, string values stored as
// given, and results of statements run through it.
#include <gtest/gtest.h>

#include "ado_test_support.h"
#include "tests/support/temp_home.h"

using namespace ado_test;
using testing_support::TempDir;

namespace {

class AdoCommand : public testing::Test {
protected:
    void SetUp() override {
        CreateLoginDatabase(m_dir.File("login.dat"));
        m_connection = OpenConnection(m_dir.File("login.dat"));
        ASSERT_TRUE(m_connection);
        ASSERT_EQ(m_command.CoCreateInstance(__uuidof(Command)), S_OK);
        m_command->PutRefActiveConnection(m_connection);
    }

    long ParameterCount(const char16_t* sql) {
        m_command->PutCommandText(sql);
        return m_command->GetParameters()->GetCount();
    }

    TempDir m_dir;
    _ConnectionPtr m_connection;
    _CommandPtr m_command;
};

}  // namespace

TEST_F(AdoCommand, ParametersComeFromMarkersOutsideLiterals) {
    EXPECT_EQ(ParameterCount(u"select * from LoginInfo"), 0);
    EXPECT_EQ(ParameterCount(u"delete from LoginInfo where DomainName = ? and AccountName = ? "),
              2);
    EXPECT_EQ(ParameterCount(u"select * from LoginInfo where ItemNames = 'what?' and"
                             u" DomainName = ? and AccountName = 'it''s ?'"),
              1);
    // Names in backquotes are quoted as SQLite quotes them.
    EXPECT_EQ(ParameterCount(u"select ? as `a?b`"), 1);
    EXPECT_EQ(ParameterCount(u"select 1 as `it's`, ?"), 1);
    HRESULT code = S_OK;
    ErrorOf([&] { m_command->GetParameters()->GetItem(1); }, &code);
    EXPECT_EQ(code, AdoErrorHresult(adErrItemNotFound));
    // A marker inside quotes is text, stored as written.
    ExecuteWithParameters(m_connection,
                          u"insert into LoginInput (DomainName, LoginName) values (?, 'who?')",
                          {u"a.com"});
    EXPECT_EQ(Query(m_connection, u"select LoginName from LoginInput"), Rows{{u"who?"}});
}

TEST_F(AdoCommand, EmptyStringIsStoredAsZeroLengthTextAndLongTextWhole) {
    const std::u16string longText(100000, u'\u00e9');
    ExecuteWithParameters(m_connection,
                          u"insert into LoginInfo (DomainName, ItemNames, ItemValues, AccountName) "
                          u"values (?, ?, ?, ?)",
                          {u"a.com", u"", longText, u"x"});
    const std::string path = m_dir.File("login.dat");
    EXPECT_EQ(RawScalar(path, "select typeof(ItemNames) || length(ItemNames) from LoginInfo"),
              "text0");
    EXPECT_EQ(RawScalar(path, "select length(ItemValues) from LoginInfo"), "100000");
    EXPECT_EQ(Query(m_connection, u"select ItemValues from LoginInfo"), Rows{{longText}});
    EXPECT_EQ(Query(m_connection, u"select AccountName from LoginInfo where ItemNames = ''"),
              Rows{{u"x"}});
}

TEST_F(AdoCommand, MissingValueOrConnectionFails) {
    m_command->PutCommandText(u"insert into LoginInput (DomainName) values (?)");
    EXPECT_EQ(ErrorOf([&] { m_command->Execute(nullptr, nullptr, adCmdText); }),
              u"No value given for one or more required parameters.");
    _CommandPtr unbound;
    ASSERT_EQ(unbound.CoCreateInstance(__uuidof(Command)), S_OK);
    unbound->PutCommandText(u"select 1");
    HRESULT code = S_OK;
    ErrorOf([&] { unbound->Execute(nullptr, nullptr, adCmdText); }, &code);
    EXPECT_EQ(code, AdoErrorHresult(adErrInvalidConnection));
    m_connection->Close();
    m_command->PutCommandText(u"select 1");
    ErrorOf([&] { m_command->Execute(nullptr, nullptr, adCmdText); }, &code);
    EXPECT_EQ(code, AdoErrorHresult(adErrInvalidConnection));
}

TEST_F(AdoCommand, ExecuteReturnsRowsOnlyForQueries) {
    m_command->PutCommandText(u"insert into LoginInput (DomainName) values ('a.com')");
    CComVariant affected;
    _RecordsetPtr result = m_command->Execute(&affected, nullptr, adCmdText);
    EXPECT_EQ(affected.lVal, 1);
    ASSERT_TRUE(result);
    EXPECT_EQ(result->GetState(), adStateClosed);
    m_command->PutCommandText(u"select DomainName from LoginInput where DomainName = ?");
    m_command->GetParameters()->GetItem(0)->PutValue(CComVariant(u"A.COM"));
    result = m_command->Execute(nullptr, nullptr, adCmdText);
    ASSERT_EQ(result->GetState(), adStateOpen);
    EXPECT_EQ(result->GetRecordCount(), 1);
    EXPECT_EQ(std::u16string(result->GetFields()->GetItem(0)->GetValue().bstrVal), u"a.com");
}
