// The save-login prompt when a login form is submitted by a click: which
// clicks ask, Yes, No for the rest of the page, and "Don't ask me next
// time".
#include "tests/addon/login/login_test_support.h"

namespace login_test {

namespace {

constexpr char16_t kPrompt[] = u"dialog \"Kestro - Confirm save login \"";
constexpr char kScriptLinkPage[] =
    "<form><input id=user name=user><input id=pass type=password name=pass>"
    "<a id=go href=\"javascript:signIn()\">Sign in</a></form>";

class SavePrompt : public LoginTest {
protected:
    DWORD StoredAskSetting() {
        DWORD value = 99;
        EXPECT_TRUE(addon_test::Setting(u"Ask Save Login", value));
        return value;
    }
};

TEST_F(SavePrompt, YesOnASubmitInputSavesTheLogin) {
    browser::BrowserWindow& window = OpenSite("login.html");
    TypeLogin(window, u"alice", u"s3cret");
    Answer(kPrompt);
    Answer(u"press 1");
    AnswerFavorName();
    window.Click(Element(window, u"#signin"));
    ASSERT_EQ(1u, SavedLogins().size());
    EXPECT_EQ("alice", SavedLogins()[0].account);
    EXPECT_EQ(1u, StoredAskSetting());
    // Saved now: the same page asks no more.
    window.Navigate(DemoWeb("login.html"));
    TypeLogin(window, u"alice", u"s3cret");
    window.Click(Element(window, u"#signin"));
}

TEST_F(SavePrompt, AButtonInAFormAsks) {
    browser::BrowserWindow& window = OpenSite("two_logins.html");
    TypeLogin(window, u"staff", u"s-pass", u"#staff_user", u"#staff_pass");
    Answer(kPrompt);
    Answer(u"press 2");
    window.Click(Element(window, u"#staff_go"));
    EXPECT_TRUE(SavedLogins().empty());
}

TEST_F(SavePrompt, NoHoldsForTheRestOfThePageAndOnlyYesStoresDontAsk) {
    browser::BrowserWindow& window = OpenPage("script.html", kScriptLinkPage);
    TypeLogin(window, u"alice", u"s3cret");
    Answer(kPrompt);
    Answer(u"tick 222");
    Answer(u"press 2");
    window.Click(Element(window, u"#go"));
    window.Click(Element(window, u"#go"));
    EXPECT_EQ(1u, StoredAskSetting());

    window.Navigate(u"http://pages.test/script.html");
    TypeLogin(window, u"alice", u"s3cret");
    Answer(kPrompt);
    Answer(u"tick 222");
    Answer(u"press 1");
    Answer(kFavorDialog);
    Answer(u"press 2");
    window.Click(Element(window, u"#go"));
    EXPECT_EQ(0u, StoredAskSetting());
    EXPECT_EQ(0u, AddOnOf(window)->m_bAskSaveLogin);
    // Cancelled favor name: nothing stored, and no prompt while it is off.
    EXPECT_TRUE(SavedLogins().empty());
    window.Click(Element(window, u"#go"));
}

TEST_F(SavePrompt, CancellingTheFavorNameAsksAgainOnTheNextSubmission) {
    browser::BrowserWindow& window = OpenPage("script.html", kScriptLinkPage);
    TypeLogin(window, u"alice", u"s3cret");
    for (int i = 0; i < 2; ++i) {
        Answer(kPrompt);
        Answer(u"press 1");
        Answer(kFavorDialog);
        Answer(u"press 2");
    }
    window.Click(Element(window, u"#go"));
    window.Click(Element(window, u"#go"));
    EXPECT_TRUE(SavedLogins().empty());
}

TEST_F(SavePrompt, NoPromptForAnEmptyPasswordASavedSiteOrOtherInputs) {
    AddTypedLogin("www.demo.example", "tina", "typed");
    browser::BrowserWindow& window = OpenPage("script.html", kScriptLinkPage);
    EXPECT_EQ("", window.Type(Element(window, u"#user"), u"alice"));
    window.Click(Element(window, u"#go"));
    window.Click(Element(window, u"#pass"));

    // The typed-in login of the demo site counts as saved.
    browser::BrowserWindow& demo = OpenSite("login.html");
    TypeLogin(demo, u"alice", u"s3cret");
    demo.Click(Element(demo, u"#signin"));

    // A page without a host name is no site to save for.
    browser::BrowserWindow& local = OpenDemo("login.html");
    TypeLogin(local, u"alice", u"s3cret");
    local.Click(Element(local, u"#signin"));
    EXPECT_TRUE(Ui().Shown().empty());
}

}  // namespace

}  // namespace login_test
