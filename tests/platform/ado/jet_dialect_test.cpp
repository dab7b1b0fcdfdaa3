// The Jet statements the login store issues, run as written (completed with
// values) against a database shaped like the login database.
#include <gtest/gtest.h>

#include "ado_test_support.h"
#include "tests/support/temp_home.h"

using namespace ado_test;
using testing_support::TempDir;

namespace {

class JetDialect : public testing::Test {
protected:
    void SetUp() override {
        CreateLoginDatabase(m_dir.File("login.dat"));
        m_connection = OpenConnection(m_dir.File("login.dat"));
        ASSERT_TRUE(m_connection);
        ExecuteWithParameters(m_connection,
                              u"insert into LoginInfo (DomainName, ItemNames, ItemValues, "
                              u"LoginUrl, PasswordName, PasswordValue, AccountName, FavorName) "
                              u"values (?, ?, ?, ?, ?, ?, ?, ?)",
                              {u"mail.example.com", u"user", u"v", u"http://mail.example.com/",
                               u"pw", u"", u"", u"Mail"});
        ExecuteWithParameters(m_connection,
                              u"insert into LoginInfo (DomainName, ItemNames, ItemValues, "
                              u"LoginUrl, PasswordName) values (?, ?, ?, ?, ?)",
                              {u"news.example.org", u"user", u"v", u"x", u"pw"});
        ExecuteWithParameters(m_connection,
                              u"insert into logininput (LoginName, LoginPassword, DomainName) "
                              u"values (?, ?, ?)",
                              {u"n", u"p", u"example"});
    }

    TempDir m_dir;
    _ConnectionPtr m_connection;
};

}  // namespace

TEST_F(JetDialect, LenDistinctAndIsNotNull) {
    ExecuteWithParameters(m_connection,
                          u"insert into LoginInfo (DomainName, ItemNames, ItemValues, LoginUrl, "
                          u"PasswordName, PasswordValue, AccountName, FavorName) "
                          u"values (?, ?, ?, ?, ?, ?, ?, ?)",
                          {u"mail.example.com", u"user", u"v", u"http://mail.example.com/", u"pw",
                           u"", u"second", u"Mail"});
    EXPECT_EQ(Query(m_connection,
                    u"select distinct DomainName, FavorName from LoginInfo where "
                    u"LoginUrl is not null and Len(LoginUrl) > 1"),
              (Rows{{u"mail.example.com", u"Mail"}}));
    EXPECT_EQ(Query(m_connection, u"select Len('\u00e9t\u00e9'), Len(NULL)"),
              (Rows{{u"3", u"<null>"}}));
}

TEST_F(JetDialect, LikeInAndCaseOfNamesAndText) {
    EXPECT_EQ(Query(m_connection,
                    u"select DomainName from LoginInput where DomainName like "
                    u"'%EXAMPLE%'"),
              Rows{{u"example"}});
    EXPECT_EQ(Query(m_connection,
                    u"SELECT accountname FROM logininfo WHERE domainname ="
                    u"'MAIL.example.com'"),
              Rows{{u""}});
    m_connection->Execute(
        u"update LoginInfo set LoginUrl = NULL where DomainName in ('mail.example.com', 'b')",
        nullptr, adCmdText);
    EXPECT_EQ(Query(m_connection,
                    u"select LoginUrl from LoginInfo where DomainName = "
                    u"'mail.example.com'"),
              Rows{{u"<null>"}});
}

TEST_F(JetDialect, IdentityIsTheLastInsertOfThisConnection) {
    _ConnectionPtr other = OpenConnection(m_dir.File("login.dat"));
    ASSERT_TRUE(other);
    m_connection->Execute(u"insert into forminfo (formurl, DomainName) values ('http://a/', 'a')",
                          nullptr, adCmdText);
    other->Execute(u"insert into forminfo (formurl, DomainName) values ('http://b/', 'b')", nullptr,
                   adCmdText);
    other->Execute(u"insert into forminfo (formurl, DomainName) values ('http://c/', 'c')", nullptr,
                   adCmdText);
    EXPECT_EQ(Query(m_connection, u"select @@Identity"), Rows{{u"1"}});
    EXPECT_EQ(Query(other, u"SELECT @@IDENTITY"), Rows{{u"3"}});
    // Inside literals it is text.
    EXPECT_EQ(Query(other, u"select '@@Identity'"), Rows{{u"@@Identity"}});
    m_connection->Execute(
        u"insert into FieldInfo (FieldName, FieldType, FieldValue, FormId) "
        u"values ('q', 'text', 'v', 1)",
        nullptr, adCmdText);
    EXPECT_EQ(Query(m_connection,
                    u"select FieldName, FieldType, FieldValue from FieldInfo "
                    u"where FormId = 1"),
              (Rows{{u"q", u"text", u"v"}}));
}

TEST_F(JetDialect, ImportedKeysKeepTheirValuesFromText) {
    ExecuteWithParameters(m_connection,
                          u"insert into FormInfo (FormId, FormUrl, DomainName) values (?, ?, ?)",
                          {u"41", u"http://x/", u"x"});
    const Rows rows = Query(m_connection, u"SELECT FormId, FormUrl, DomainName FROM FormInfo");
    EXPECT_EQ(rows, (Rows{{u"41", u"http://x/", u"x"}}));
    EXPECT_NE(ErrorOf([&] { m_connection->Execute(u"select 1; select 2", nullptr, adCmdText); }),
              u"<no error>");
}
