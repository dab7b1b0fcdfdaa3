// Delete Login Data...: the whole site, or the one account chosen; the
// menu's login items after it; typed-in logins stay.
#include "tests/addon/login/login_test_support.h"

namespace login_test {

namespace {

constexpr char16_t kDeleteQuestion[] =
    u"message \"Kestro - Confrimation\" \"Do you want to delete the login information for this "
    u"site?\" ";
constexpr char16_t kChooser[] = u"dialog \"Kestro - Select login account\"";

SavedLogin Account(const std::string& account) {
    return {"demo.test", "user\npass", account + "\npw", "http://demo.test/login.html",
            "pass",      "pw",         account,          "demo"};
}

class LoginDeletion : public LoginTest {
protected:
    browser::BrowserWindow& Delete(std::initializer_list<std::u16string_view> answers) {
        browser::BrowserWindow& window = OpenSite("login.html");
        AnswerMenu(u"Delete Login Data...");
        for (std::u16string_view answer : answers) Answer(answer);
        RightClick(window, u"#user");
        return window;
    }
    std::vector<std::string> Accounts() {
        std::vector<std::string> accounts;
        for (const SavedLogin& login : SavedLogins()) accounts.push_back(login.account);
        return accounts;
    }
};

TEST_F(LoginDeletion, ASingleAccountGoesWithoutTheChooserAndTheMenuFollows) {
    AddSavedLogin(Account("alice"));
    AddSavedLogin({"other.test", "user", "x", "", "", "", "alice", ""});
    browser::BrowserWindow& window = Delete({kDeleteQuestion + std::u16string(u"Yes")});
    EXPECT_EQ(std::vector<std::string>{"alice"}, Accounts());
    EXPECT_EQ("other.test", SavedLogins().at(0).domain);
    EXPECT_EQ(0, AddOnOf(window)->m_bLoginSaved);
    Answer(u"menu -");
    RightClick(window, u"#user");
    EXPECT_EQ("Fill Login Data (disabled)", AddOnMenu().at(0));
}

TEST_F(LoginDeletion, NoChangesNothing) {
    AddSavedLogin(Account("alice"));
    Delete({kDeleteQuestion + std::u16string(u"No")});
    EXPECT_EQ(std::vector<std::string>{"alice"}, Accounts());
}

TEST_F(LoginDeletion, OfSeveralAccountsOnlyTheChosenOneGoes) {
    for (const char* account : {"b%_'\\", "a", "(Default)"}) AddSavedLogin(Account(account));
    AddSavedLogin({"demo.test", "user", "x", "", "", "", kNull, ""});
    Delete({kDeleteQuestion + std::u16string(u"Yes"), kChooser, u"pick 225 b%_'\\", u"press 1"});
    EXPECT_EQ((std::vector<std::string>{kNull, "(Default)", "a"}), Accounts());
    // The unnamed account, NULL or empty, by its place in the list.
    Delete({kDeleteQuestion + std::u16string(u"Yes"), kChooser, u"row 225 0", u"press 1"});
    EXPECT_EQ((std::vector<std::string>{"(Default)", "a"}), Accounts());
}

TEST_F(LoginDeletion, TypedInLoginsStayAndStillCountAsSaved) {
    AddSavedLogin(Account("alice"));
    AddTypedLogin("demo.test", "tina", "typed");
    browser::BrowserWindow& window = Delete({kDeleteQuestion + std::u16string(u"Yes")});
    EXPECT_TRUE(SavedLogins().empty());
    Answer(u"menu -");
    RightClick(window, u"#user");
    EXPECT_EQ("Fill Login Data", AddOnMenu().at(0));
}

TEST_F(LoginDeletion, WithoutAnOpenDatabaseNothingIsAsked) {
    AddSavedLogin(Account("alice"));
    browser::BrowserWindow& window = OpenSite("login.html");
    AddOnOf(window)->DeleteLoginData(ElementObject(window, u"#user"));
    EXPECT_EQ(1u, SavedLogins().size());
    EXPECT_TRUE(Messages().empty());
}

}  // namespace

}  // namespace login_test
