// The login input dialog of the real program: listing, adding, changing and
// deleting typed-in logins, and its refusals.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win/text.h"
#include "store/login_schema.h"
#include "tests/tool/login_data.h"
#include "tests/tool/quillet_program.h"

namespace quillet_testing {
namespace {

constexpr char kDialog[] = "dialog \"Kestro Input Login Information \"\n";
constexpr char kClose[] = "press 2\n";

std::string Message(const std::string& text) {
    return "message \"Kestro\" \"" + text + "\" OK\n";
}

std::string Typed(const std::string& domain, const std::string& name, const std::string& password) {
    return SetLine(1001, domain) + SetLine(1000, name) + SetLine(1002, password);
}

std::string Row(const std::string& domain, const std::string& name, const std::string& password) {
    return "\"" + domain + "\" | \"" + name + "\" | \"" + password + "\" | \"************\"";
}

class LoginInputDialog : public ::testing::Test {
protected:
    void AddStoredLogin(const std::string& domain, const std::string& name,
                        const std::string& password) {
        Execute(m_program.Database(), Utf16ToUtf8(login_schema::kInsertLoginInput),
                {{Protect(name), Protect(password), domain}});
    }
    std::vector<std::vector<std::string>> StoredLogins() {
        return Rows(m_program.Database(),
                    "select DomainName, LoginName, LoginPassword from LoginInput order by 1");
    }
    // Runs the dialog with the answers and returns what it shows afterwards.
    std::string ShownAfter(const std::string& answers) {
        const ProgramRun run = m_program.Run({}, kDialog + answers + kProbe, CurrentHome());
        EXPECT_EQ(run.status, 3) << run.errors;
        return run.Shown();
    }

    QuilletProgram m_program;
};

TEST_F(LoginInputDialog, ListsStoredLoginsSortedAndOthersUsersLoginsEmpty) {
    AddStoredLogin("zeta.example", "zed", "p");
    AddStoredLogin("alpha.example", "al", "a much longer password than twelve");
    {
        testing_support::TempDir otherUser;
        AsUser other(otherUser.path());
        AddStoredLogin("mid.example", "someone else", "theirs");
    }
    const std::string shown = ShownAfter("");
    EXPECT_NE(shown.find("columns [\"Domain Name\", \"Login Name\", \"Hiden\", \"Password\"]"),
              std::string::npos)
        << shown;
    EXPECT_NE(
        shown.find("row 0: " + Row("alpha.example", "al", "a much longer password than twelve") +
                   "\n    row 1: " + Row("mid.example", "", "") +
                   "\n    row 2: " + Row("zeta.example", "zed", "p")),
        std::string::npos)
        << shown;
}

TEST_F(LoginInputDialog, AddsInLowerCaseAndUpdatesAnExistingDomain) {
    const std::string shown = ShownAfter(Typed("WWW.Example.COM", "first", "one") + "press 1\n" +
                                         Typed("www.EXAMPLE.com", "second", "two") + "press 1\n");
    EXPECT_NE(shown.find("row 0: " + Row("www.example.com", "second", "two") + "\n"),
              std::string::npos)
        << shown;
    EXPECT_EQ(shown.find("row 1:"), std::string::npos) << shown;
    EXPECT_NE(shown.find("1001 edit \"\"\n  1000 edit \"\"\n  1002 edit \"\""), std::string::npos)
        << shown;

    const auto stored = StoredLogins();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][0], "www.example.com");
    EXPECT_EQ(Unprotect(stored[0][1]), "second");
    EXPECT_EQ(Unprotect(stored[0][2]), "two");
}

// The list is what the table held when the dialog opened: a listed domain
// that another process deleted since must be stored again, not lost.
TEST_F(LoginInputDialog, ChangingALoginDeletedMeanwhileStoresItAgain) {
    AddStoredLogin("site.example", "old name", "old password");
    const ProgramRun run = m_program.RunFed({}, CurrentHome(), [&](AnswerFeed& answers) {
        answers.Feed(kDialog);  // taken once the dialog has listed the logins
        Execute(m_program.Database(), "delete from LoginInput", {{}});
        answers.Feed(Typed("site.example", "new name", "new password") + "press 1\n" + kClose);
    });
    EXPECT_EQ(run.status, 0) << run.errors;
    const auto stored = StoredLogins();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][0], "site.example");
    EXPECT_EQ(Unprotect(stored[0][1]), "new name");
    EXPECT_EQ(Unprotect(stored[0][2]), "new password");
}

TEST_F(LoginInputDialog, EachEmptyFieldIsRefused) {
    const std::string empty = Message("All input fields must not be empty.");
    const ProgramRun run =
        m_program.Run({},
                      kDialog + Typed("", "n", "p") + "press 1\n" + empty + Typed("d", "", "p") +
                          "press 1\n" + empty + Typed("d", "n", "") + "press 1\n" + empty + kClose,
                      CurrentHome());
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(StoredLogins().empty());

    const ProgramRun unanswered =
        m_program.Run({}, kDialog + Typed("", "", "") + "press 1\n", CurrentHome());
    EXPECT_NE(unanswered.Shown().find("message \"Kestro\" \"All input fields must not be empty.\" "
                                      "buttons OK error icon"),
              std::string::npos)
        << unanswered.errors;
}

TEST_F(LoginInputDialog, DeletesByDomainAndRefusesEmptyOrUnknownDomains) {
    AddStoredLogin("keep.example", "k", "k");
    AddStoredLogin("gone.example", "g", "g");
    const ProgramRun run = m_program.Run({},
                                         kDialog + Typed("", "", "") + "press 3\n" +
                                             Message("Domain name must not be empty.") +
                                             Typed("unknown.example", "", "") + "press 3\n" +
                                             Message("Domain name is not existing in DB.") +
                                             Typed("GONE.example", "", "") + "press 3\n" + kClose,
                                         CurrentHome());
    EXPECT_EQ(run.status, 0) << run.errors;
    const auto stored = StoredLogins();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0][0], "keep.example");
}

TEST_F(LoginInputDialog, DoubleClickCopiesARowAndBelowTheRowsEmptiesTheFields) {
    AddStoredLogin("site.example", "user", "clear password");
    std::string shown = ShownAfter("dblrow 1003 0\n");
    EXPECT_NE(shown.find("1001 edit \"site.example\"\n  1000 edit \"user\"\n  1002 edit \"clear "
                         "password\""),
              std::string::npos)
        << shown;

    shown = ShownAfter("dblrow 1003 0\ndblrow 1003 -1\n");
    EXPECT_NE(shown.find("1001 edit \"\"\n  1000 edit \"\"\n  1002 edit \"\""), std::string::npos)
        << shown;
}

// A value the database cannot hand over as text is reported instead of
// ending the program; the rows read before it stay listed.
TEST_F(LoginInputDialog, AnUnreadableValueIsReportedAndTheDialogStillOpens) {
    AddStoredLogin("alpha.example", "al", "a");
    Execute(m_program.Database(), "insert into LoginInput values ('blob.example', X'00FF', 'p')",
            {{}});
    const ProgramRun run = m_program.Run(
        {},
        std::string("message \"Kestro - DB Error\" \"ado error: Type mismatch.\" OK\n") + kDialog +
            kProbe,
        CurrentHome());
    EXPECT_NE(run.Shown().find("row 0: " + Row("alpha.example", "al", "a") + "\n"),
              std::string::npos)
        << run.errors;
}

TEST_F(LoginInputDialog, AFailedEncryptionStoresNothing) {
    // A damaged protection key: nothing can be encrypted for this user.
    testing_support::TempDir home;
    testing_support::WriteFile(home.File("protection.key"), "short");
    const ProgramRun run =
        m_program.Run({}, kDialog + Typed("site.example", "user", "pw") + "press 1\n", home.path());
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.Shown().find("message \"Kestro\" \"Cannot encrypt login data.\" buttons OK "
                               "error icon"),
              std::string::npos)
        << run.errors;
    EXPECT_TRUE(StoredLogins().empty());
}

TEST_F(LoginInputDialog, AMissingDatabaseEndsTheProgramAfterOneMessage) {
    std::filesystem::remove(m_program.Database());
    const ProgramRun run = m_program.Run({}, "", CurrentHome());
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.Shown().find("message \"Kestro\" \"Cannot find the login database file.\" "
                               "buttons OK error icon"),
              std::string::npos)
        << run.errors;
    const ProgramRun answered =
        m_program.Run({}, Message("Cannot find the login database file."), CurrentHome());
    EXPECT_EQ(answered.status, 0) << answered.errors;
}

TEST_F(LoginInputDialog, AnUnopenableDatabaseEndsTheProgramAfterOneMessage) {
    testing_support::WriteFile(m_program.Database(), "not a database");
    const ProgramRun run = m_program.Run({}, "", CurrentHome());
    EXPECT_NE(run.Shown().find("message \"Kestro\" \"Cannot open the login database file.\" "
                               "buttons OK error icon"),
              std::string::npos)
        << run.errors;
    const ProgramRun answered =
        m_program.Run({}, Message("Cannot open the login database file."), CurrentHome());
    EXPECT_EQ(answered.status, 0) << answered.errors;
}

}  // namespace
}  // namespace quillet_testing
