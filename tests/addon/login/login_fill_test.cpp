// Fill Login Data: by name, by position with the write-back, the account
// chooser, the typed-in logins of the tool, and values that must arrive
// exactly as saved.
#include "addon/login/login_statements.h"
#include "tests/addon/login/login_test_support.h"

namespace login_test {

namespace {

constexpr char kLoginUrl[] = "http://demo.test/login.html";
constexpr char16_t kChooser[] = u"dialog \"Kestro - Select login account\"";

SavedLogin Saved(const std::string& names, const std::string& values, const std::string& password,
                 const std::string& account) {
    return {"demo.test", names, values, kLoginUrl, "pass", password, account, "demo"};
}

class LoginFill : public LoginTest {
protected:
    browser::BrowserWindow& FillDemoPage(std::initializer_list<std::u16string_view> answers = {}) {
        browser::BrowserWindow& window = OpenSite("login.html");
        AnswerMenu(u"Fill Login Data");
        for (std::u16string_view answer : answers) Answer(answer);
        RightClick(window, u"#user");
        return window;
    }
    std::vector<std::string> Filled(browser::BrowserWindow& window) {
        return {Value(window, u"#user"), Value(window, u"#pass")};
    }
    using Pair = std::vector<std::string>;
};

TEST_F(LoginFill, AnUnchangedFormIsFilledByNameAndNotRewritten) {
    const SavedLogin saved = Saved("user\npass", "alice\ns3cret", "s3cret", "alice");
    AddSavedLogin(saved);
    browser::BrowserWindow& window = FillDemoPage();
    EXPECT_EQ((Pair{"alice", "s3cret"}), Filled(window));
    EXPECT_EQ(std::vector<SavedLogin>{saved}, SavedLogins());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(LoginFill, RenamedInputsAreFilledByPositionAndTheRowTakesTheNewNames) {
    AddSavedLogin({"demo.test", "uname\npword\nremember", "alice\nold-pass\nyes", "http://old",
                   "pword", "s3cret", "alice", "Club"});
    browser::BrowserWindow& window = FillDemoPage();
    // The first value, and the saved password rather than the last value.
    EXPECT_EQ((Pair{"alice", "s3cret"}), Filled(window));
    EXPECT_EQ((std::vector<SavedLogin>{{"demo.test", "user\npass", "alice\ns3cret", kLoginUrl,
                                        "pass", "s3cret", "alice", "Club"}}),
              SavedLogins());
}

TEST_F(LoginFill, WithoutASavedPasswordTheLastValueIsThePassword) {
    AddSavedLogin({"demo.test", "autocomp_loginname\nautocomp_password", "alice\ns3cret", kNull,
                   kNull, kNull, kNull, kNull});
    browser::BrowserWindow& window = FillDemoPage();
    EXPECT_EQ((Pair{"alice", "s3cret"}), Filled(window));
}

TEST_F(LoginFill, TheChooserOffersEveryAccountAndFillsTheChosenOne) {
    AddSavedLogin(Saved("user\npass", "zed\nz-pass", "z-pass", "zed"));
    AddSavedLogin(Saved("user\npass", "anon\na-pass", "a-pass", ""));
    // Escape does not leave the chooser, nor does OK without an account.
    browser::BrowserWindow& window =
        FillDemoPage({kChooser, u"escape", u"press 1",
                      u"message \"Kestro - No account selected\" \"Please select one account.\" OK",
                      u"pick 225 (Default)", u"press 1"});
    EXPECT_EQ((Pair{"anon", "a-pass"}), Filled(window));
    for (const ShownThing& shown : Ui().Shown()) {
        if (shown.kind != ShownThing::Kind::Dialog) continue;
        for (const ControlSnapshot& control : shown.dialog.controls) {
            if (control.id != 225) continue;
            EXPECT_EQ((std::vector<std::u16string>{u"(Default)", u"zed"}), control.items);
        }
    }
}

TEST_F(LoginFill, OfThreeAccountsTheChosenPositionCountsNotTheLabel) {
    AddSavedLogin(Saved("user\npass", "unnamed\nu-pass", "u-pass", kNull));
    AddSavedLogin(Saved("user\npass", "literal\nl-pass", "l-pass", "(Default)"));
    AddSavedLogin(Saved("user\npass", "bob\nb-pass", "b-pass", "bob"));
    browser::BrowserWindow& first = FillDemoPage({kChooser, u"row 225 0", u"press 1"});
    EXPECT_EQ((Pair{"unnamed", "u-pass"}), Filled(first));
    browser::BrowserWindow& second = FillDemoPage({kChooser, u"row 225 1", u"press 1"});
    EXPECT_EQ((Pair{"literal", "l-pass"}), Filled(second));
    browser::BrowserWindow& third = FillDemoPage({kChooser, u"pick 225 bob", u"press 1"});
    EXPECT_EQ((Pair{"bob", "b-pass"}), Filled(third));
}

TEST_F(LoginFill, TheWriteBackRewritesOnlyTheChosenAccount) {
    const SavedLogin bob = Saved("old_user\nold_pass", "bob\nb-pass", "b-pass", "bob");
    AddSavedLogin(bob);
    AddSavedLogin(Saved("old_user\nold_pass", "alice\na-pass", "a-pass", "alice"));
    browser::BrowserWindow& window = FillDemoPage({kChooser, u"pick 225 alice", u"press 1"});
    EXPECT_EQ((Pair{"alice", "a-pass"}), Filled(window));
    EXPECT_EQ(
        (std::vector<SavedLogin>{Saved("user\npass", "alice\na-pass", "a-pass", "alice"), bob}),
        SavedLogins());
}

TEST_F(LoginFill, ATypedInLoginIsFoundByFullDomainAndByCoreNameAndThenSaved) {
    AddTypedLogin("demo.test", "tina", "typed");
    browser::BrowserWindow& window = FillDemoPage();
    EXPECT_EQ((Pair{"tina", "typed"}), Filled(window));
    EXPECT_EQ((std::vector<SavedLogin>{{"demo.test", "user\npass", "tina\ntyped", kLoginUrl, "pass",
                                        kNull, kNull, kNull}}),
              SavedLogins());
    // The saved row now serves the next fill (and answers the probe).
    ASSERT_TRUE(m_db.ExecuteSql(u"delete from LoginInput", {}));
    EXPECT_EQ((Pair{"tina", "typed"}), Filled(FillDemoPage()));

    ASSERT_TRUE(m_db.ExecuteSql(u"delete from LoginInfo", {}));
    AddTypedLogin("www.demo.example", "core", "by-core");
    EXPECT_EQ((Pair{"core", "by-core"}), Filled(FillDemoPage()));
}

TEST_F(LoginFill, APasswordBeforeEveryTextInputEndsTheWalkAndNothingIsSaved) {
    browser::BrowserWindow& window = OpenPage(
        "reversed.html", "<form><input id=p type=password name=p><input id=u name=u></form>");
    AddTypedLogin("pages.test", "tina", "typed");
    ASSERT_TRUE(AddOnOf(window)->EnsureDbOpen());
    AddOnOf(window)->FillLoginData(ElementObject(window, u"#u"));
    EXPECT_EQ("typed", Value(window, u"#p"));
    EXPECT_EQ("", Value(window, u"#u"));
    EXPECT_TRUE(SavedLogins().empty());
}

TEST_F(LoginFill, TheCoreNameMatchesOnlyItselfFollowedByADot) {
    for (const char* domain : {"axb.test", "a_b.test", "xa_b.test", "a_bc.test", "a%b.test"})
        AddTypedLogin(domain, "n", "p");
    FieldsPtr found = m_db.OpenRecordsetWithParams(login_sql::SelectTypedDomains(u"a_b").sql,
                                                   login_sql::SelectTypedDomains(u"a_b").params);
    std::vector<std::string> domains;
    while (found && !m_db.m_pRecordset->GetadoEOF()) {
        domains.push_back(Utf16ToUtf8(found->GetItem(0L)->GetValue().bstrVal));
        m_db.m_pRecordset->MoveNext();
    }
    EXPECT_EQ((std::vector<std::string>{"a_b.test", "xa_b.test"}), domains);
    EXPECT_EQ(u"%a\\%b.%", login_sql::TypedDomainPattern(u"a%b"));
    EXPECT_EQ(u"%ab\\\\.%", login_sql::TypedDomainPattern(u"ab\\"));
    EXPECT_EQ(u"%a.b%", login_sql::TypedDomainPattern(u"a.b"));
}

TEST_F(LoginFill, APageWithoutAHostNeverGetsAStoredLogin) {
    AddTypedLogin("demo.test", "tina", "typed");
    AddSavedLogin({"", "user\npass", "local\nlocal-pass", "", "pass", "local-pass", "", ""});
    browser::BrowserWindow& window = OpenDemo("login.html");
    ASSERT_TRUE(AddOnOf(window)->EnsureDbOpen());
    AddOnOf(window)->FillLoginData(ElementObject(window, u"#user"));
    EXPECT_EQ((Pair{"", ""}), Filled(window));
}

TEST_F(LoginFill, AnotherUsersLoginsAreReportedAndNothingIsFilled) {
    {
        AsOtherUser other;
        AddSavedLogin(Saved("user\npass", "theirs\nt-pass", "t-pass", "them"));
    }
    browser::BrowserWindow& window = FillDemoPage(
        {u"message \"Kestro - Error\" \"The importing data is not decryptable for you. 3\" OK"});
    EXPECT_EQ((Pair{"", ""}), Filled(window));

    ASSERT_TRUE(m_db.ExecuteSql(u"delete from LoginInfo", {}));
    {
        AsOtherUser other;
        AddTypedLogin("demo.test", "theirs", "t-pass");
    }
    browser::BrowserWindow& typed =
        FillDemoPage({u"message \"Kestro - Error\" \"The inputed login data is not decryptable for "
                      u"you. 1\" OK"});
    EXPECT_EQ((Pair{"", ""}), Filled(typed));
    EXPECT_TRUE(SavedLogins().empty());
}

TEST_F(LoginFill, ValuesArriveExactlyAsSaved) {
    const std::string odd = "o'b\"r%_\\ 😀 é";
    AddSavedLogin(Saved("user\npass", odd + "\n" + odd, odd, odd));
    EXPECT_EQ((Pair{odd, odd}), Filled(FillDemoPage()));

    // A typed-in password with a line feed fills whole, and is not turned
    // into a saved login it would break.
    ASSERT_TRUE(m_db.ExecuteSql(u"delete from LoginInfo", {}));
    AddTypedLogin("demo.test", "tina", "two\nlines");
    EXPECT_EQ((Pair{"tina", "two\nlines"}), Filled(FillDemoPage()));
    EXPECT_TRUE(SavedLogins().empty());
}

TEST_F(LoginFill, OnlyTheLoginFormIsWrittenAndAChangedFormTakesWhatStillMatches) {
    browser::BrowserWindow& window = OpenPage(
        "two_forms.html",
        "<form id=search><input id=q name=user><input id=qp type=password name=pass></form>"
        "<form id=login><input id=u name=user><select name=pass><option>x</select>"
        "<input id=p type=password name=secret></form>");
    AddSavedLogin({"pages.test", "user\npass", "alice\ns3cret", "", "pass", "s3cret", "alice", ""});
    ASSERT_TRUE(AddOnOf(window)->EnsureDbOpen());
    AddOnOf(window)->FillLoginData(ElementObject(window, u"#u"));
    // "pass" names a list now: by name only the user; then by position.
    EXPECT_EQ("alice", Value(window, u"#u"));
    EXPECT_EQ("s3cret", Value(window, u"#p"));
    EXPECT_EQ("", Value(window, u"#q"));
    EXPECT_EQ("", Value(window, u"#qp"));
    EXPECT_EQ("user\nsecret", SavedLogins().at(0).names);
}

}  // namespace

}  // namespace login_test
