// Each login command names its step when the database fails it, and goes
// no further than a user would expect.
#include "tests/addon/login/login_test_support.h"

namespace login_test {

namespace {

constexpr char16_t kRefuseUpdates[] =
    u"create trigger refuse_update before update on LoginInfo begin select raise(abort, "
    u"'refused'); end";
constexpr char16_t kRefuseDeletes[] =
    u"create trigger refuse_delete before delete on LoginInfo begin select raise(abort, "
    u"'refused'); end";

std::u16string ErrorAnswer(std::u16string_view title, std::u16string_view text) {
    return u"message \"" + std::u16string(title) + u"\" \"" + std::u16string(text) + u"\" OK";
}

class DatabaseFailures : public LoginTest {};

TEST_F(DatabaseFailures, ReadingTypedInLoginsFailsTheProbeAndTheFill) {
    ASSERT_TRUE(m_db.ExecuteSql(u"drop table LoginInput", {}));
    browser::BrowserWindow& window = OpenSite("login.html");
    Answer(ErrorAnswer(u"Kestro - Database error", u"data error 2: no such table: LoginInput"));
    Answer(u"menu -");
    RightClick(window, u"#user");
    // The form is still a login form; nothing is saved for it.
    EXPECT_EQ("Fill Login Data (disabled)", AddOnMenu().at(0));

    Answer(ErrorAnswer(u"Kestro - Database error", u"data error 3: no such table: LoginInput"));
    AddOnOf(window)->FillLoginData(ElementObject(window, u"#user"));
}

TEST_F(DatabaseFailures, TheWriteBackTheDeletionAndTheUnregisteringAreRefused) {
    AddSavedLogin({"demo.test", "old\nnames", "alice\ns3cret", "http://demo.test/login.html",
                   "pass", "s3cret", "alice", "Club"});
    ASSERT_TRUE(m_db.ExecuteSql(kRefuseUpdates, {}));
    ASSERT_TRUE(m_db.ExecuteSql(kRefuseDeletes, {}));
    browser::BrowserWindow& window = OpenSite("login.html");

    AnswerMenu(u"Fill Login Data");
    Answer(ErrorAnswer(u"Kestro - Database error", u"data error 4: refused"));
    RightClick(window, u"#user");
    // What was written stays written.
    EXPECT_EQ("alice", Value(window, u"#user"));

    AnswerMenu(u"Delete Login Data...");
    Answer(
        u"message \"Kestro - Confrimation\" \"Do you want to delete the login information for "
        u"this site?\" Yes");
    Answer(ErrorAnswer(u"Kestro - Database error", u"data error 6: refused"));
    RightClick(window, u"#user");
    EXPECT_EQ(1, AddOnOf(window)->m_bLoginSaved);

    AnswerMenu(u"Go Registered Sites...");
    Answer(u"dialog \"Kestro - Go registered sites\"");
    Answer(u"row 225 0");
    Answer(u"press 223");
    Answer(u"press 1");
    Answer(ErrorAnswer(u"Kestro - Database Error", u"data error 1: refused"));
    RightClick(window, u"#heading");
    EXPECT_EQ(1u, SavedLogins().size());
    EXPECT_EQ("http://demo.test/login.html", SavedLogins().at(0).url);
}

}  // namespace

}  // namespace login_test
