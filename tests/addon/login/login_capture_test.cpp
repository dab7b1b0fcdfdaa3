// Save Login Data: the login form holding the element becomes a row of the
// site's saved logins, under a favor name; replacing or adding accounts;
// and the failures a user is told about.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "tests/addon/login/login_test_support.h"

namespace login_test {

namespace {

constexpr char kLoginUrl[] = "http://demo.test/login.html";
constexpr char16_t kReplaceAnswer[] =
    u"message \"Save login confirmation\" \"Login Data is already saved for this domain. Do you "
    u"want to replace it (YES) or save extra login account (No)?\" ";

SavedLogin DemoLogin(const std::string& user, const std::string& password,
                     const std::string& favor = "demo") {
    return {"demo.test", "user\npass", user + "\n" + password, kLoginUrl, "pass", password,
            user,        favor};
}

class LoginCapture : public LoginTest {
protected:
    // Types the login into a fresh demo login page and saves it.
    void SaveDemoLogin(std::u16string_view user, std::u16string_view password,
                       std::u16string_view replace = {}, std::u16string_view favor = {},
                       std::u16string_view then = {}) {
        browser::BrowserWindow& window = OpenSite("login.html");
        TypeLogin(window, user, password);
        AnswerMenu(u"Save Login Data");
        AnswerFavorName(favor);
        if (!replace.empty()) Answer(kReplaceAnswer + std::u16string(replace));
        if (!then.empty()) Answer(then);
        RightClick(window, u"#pass");
    }
};

TEST_F(LoginCapture, OneAccountIsSavedUnderTheProposedFavorNameWithItsValuesProtected) {
    browser::BrowserWindow& window = OpenSite("login.html");
    TypeLogin(window, u"alice", u"s3cret");
    AnswerMenu(u"Save Login Data");
    AnswerFavorName();
    RightClick(window, u"#user");
    EXPECT_EQ("demo", DialogText(u"Domain Favor Name Input", 228));
    EXPECT_EQ("demo.test", DialogText(u"Domain Favor Name Input", 229));
    EXPECT_EQ(std::vector<SavedLogin>{DemoLogin("alice", "s3cret")}, SavedLogins());
    EXPECT_TRUE(Messages().empty());

    // Nothing of the clear values reaches the file.
    std::ifstream file(Database(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    EXPECT_EQ(std::string::npos, bytes.find("s3cret"));
    const std::u16string wide = u"s3cret";
    EXPECT_EQ(std::string::npos,
              bytes.find(std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * 2)));
}

TEST_F(LoginCapture, NoAddsASecondAccountAndReplacesTheSameOne) {
    SaveDemoLogin(u"alice", u"one");
    SaveDemoLogin(u"bob", u"two", u"No", u"Club");
    EXPECT_EQ((std::vector<SavedLogin>{DemoLogin("alice", "one"), DemoLogin("bob", "two", "Club")}),
              SavedLogins());
    SaveDemoLogin(u"alice", u"three", u"No", u"Again");
    EXPECT_EQ((std::vector<SavedLogin>{DemoLogin("alice", "three", "Again"),
                                       DemoLogin("bob", "two", "Club")}),
              SavedLogins());
}

TEST_F(LoginCapture, YesReplacesTheOneRowButAmongSeveralOnlyTheCapturedAccount) {
    SaveDemoLogin(u"alice", u"one");
    SaveDemoLogin(u"carol", u"two", u"Yes", u"Ignored");
    // One row: it becomes the new login; its favor name stays.
    EXPECT_EQ(std::vector<SavedLogin>{DemoLogin("carol", "two")}, SavedLogins());

    SaveDemoLogin(u"dave", u"three", u"No", u"Dave");
    SaveDemoLogin(u"carol", u"four", u"Yes");
    EXPECT_EQ(
        (std::vector<SavedLogin>{DemoLogin("carol", "four"), DemoLogin("dave", "three", "Dave")}),
        SavedLogins());
    // An account not stored yet is added beside the others.
    SaveDemoLogin(u"erin", u"five", u"Yes", u"Erin");
    EXPECT_EQ(3u, SavedLogins().size());
}

TEST_F(LoginCapture, AFailingInsertKeepsTheLoginItWouldReplace) {
    SaveDemoLogin(u"alice", u"one");
    // Another connection holds a trigger that refuses every new row.
    ASSERT_TRUE(
        m_db.ExecuteSql(u"create trigger refuse before insert on LoginInfo begin select "
                        u"raise(abort, 'refused'); end",
                        {}));
    SaveDemoLogin(u"alice", u"two", u"No", {},
                  u"message \"Kestro - Database error\" \"data error 5: refused\" OK");
    EXPECT_EQ((std::vector<std::string>{"Save login confirmation: Login Data is already saved for "
                                        "this domain. Do you want to replace it (YES) or save "
                                        "extra login account (No)?",
                                        "Kestro - Database error: data error 5: refused"}),
              Messages());
    EXPECT_EQ(std::vector<SavedLogin>{DemoLogin("alice", "one")}, SavedLogins());
}

TEST_F(LoginCapture, AFormWithAnEmptyPasswordIsNotOfferedButStillSavesAsTheItemsAre) {
    browser::BrowserWindow& window = OpenSite("login.html");
    EXPECT_EQ("", window.Type(Element(window, u"#user"), u"alice"));
    Answer(u"menu -");
    window.RightClick(Element(window, u"#user"));
    const std::vector<std::string> menu = AddOnMenu();
    ASSERT_GE(menu.size(), 3u);
    EXPECT_EQ((std::vector<std::string>{"Fill Login Data (disabled)", "Save Login Data (disabled)",
                                        "Delete Login Data... (disabled)"}),
              std::vector<std::string>(menu.begin(), menu.begin() + 3));

    AnswerFavorName();
    AddOnOf(window)->SaveLoginData(ElementObject(window, u"#user"));
    EXPECT_EQ((std::vector<SavedLogin>{
                  {"demo.test", "user", "alice", kLoginUrl, "pass", "", "alice", "demo"}}),
              SavedLogins());
}

TEST_F(LoginCapture, OfTwoLoginFormsTheOneHoldingTheElementIsSaved) {
    browser::BrowserWindow& window = OpenSite("two_logins.html");
    TypeLogin(window, u"member", u"m-pass", u"#member_user", u"#member_pass");
    TypeLogin(window, u"staff", u"s-pass", u"#staff_user", u"#staff_pass");
    AnswerMenu(u"Save Login Data");
    AnswerFavorName();
    RightClick(window, u"#staff_user");
    const std::vector<SavedLogin> saved = SavedLogins();
    ASSERT_EQ(1u, saved.size());
    EXPECT_EQ("login\npassword", saved[0].names);
    EXPECT_EQ("staff\ns-pass", saved[0].values);
    EXPECT_EQ("s-pass", saved[0].password);

    // From the page's own menu of a fresh page: the page's first password
    // input.
    browser::BrowserWindow& fresh = OpenSite("two_logins.html");
    TypeLogin(fresh, u"member", u"m-pass", u"#member_user", u"#member_pass");
    AnswerMenu(u"Save Login Data");
    AnswerFavorName();
    Answer(kReplaceAnswer + std::u16string(u"No"));
    RightClick(fresh, u"#heading");
    EXPECT_EQ("member\nm-pass", SavedLogins().at(0).values);
}

TEST_F(LoginCapture, WhatEachInputGivesTheRow) {
    browser::BrowserWindow& window =
        OpenPage("inputs.html",
                 "<form><input id=anon value=carol><input type=hidden name=h value=x>"
                 "<input type=password value=first><input name=\"multi\nline\" value=v>"
                 "<input name=note value=\"two\nlines\"><input type=checkbox name=c checked>"
                 "<select name=s><option>o</select><textarea name=t>text</textarea>"
                 "<input type=password id=pw name=pw value=\"p'%_\\\"></form>");
    AnswerFavorName(u"Pages");
    ASSERT_TRUE(AddOnOf(window)->EnsureDbOpen());
    AddOnOf(window)->SaveLoginData(ElementObject(window, u"#pw"));
    // The nameless text value is the account; a nameless password gives way
    // to a named one; a name or value with a line feed stays out of the
    // lists; other kinds of input are never taken.
    EXPECT_EQ(
        (std::vector<SavedLogin>{{"pages.test", "pw", "p'%_\\", "http://pages.test/inputs.html",
                                  "pw", "p'%_\\", "carol", "Pages"}}),
        SavedLogins());
}

TEST_F(LoginCapture, TheHostIsTheBrowsersWithoutPortAndAPageWithoutOneIsNotSaved) {
    Session().MapHost(u"demo.test", Utf8ToUtf16(KESTRO_DEMO_SITE));
    browser::BrowserWindow& window = Open(u"http://Demo.TEST:8080/login.html?from=x");
    TypeLogin(window, u"alice", u"s3cret");
    AnswerFavorName();
    ASSERT_TRUE(AddOnOf(window)->EnsureDbOpen());
    AddOnOf(window)->SaveLoginData(ElementObject(window, u"#user"));
    const std::vector<SavedLogin> saved = SavedLogins();
    ASSERT_EQ(1u, saved.size());
    EXPECT_EQ("demo.test", saved[0].domain);
    EXPECT_EQ(Utf16ToUtf8(window.Url()), saved[0].url);
    EXPECT_NE(std::string::npos, saved[0].url.find(":8080/login.html?from=x"));

    browser::BrowserWindow& local = OpenDemo("login.html");
    TypeLogin(local, u"alice", u"s3cret");
    ASSERT_TRUE(AddOnOf(local)->EnsureDbOpen());
    AddOnOf(local)->SaveLoginData(ElementObject(local, u"#user"));
    EXPECT_EQ(1u, SavedLogins().size());
}

TEST_F(LoginCapture, CancelAndAnEmptyFavorNameWriteNothing) {
    browser::BrowserWindow& window = OpenSite("login.html");
    TypeLogin(window, u"alice", u"s3cret");
    Answer(kFavorDialog);
    Answer(u"set 228 \"\"");
    Answer(u"press 1");
    Answer(
        u"message \"Kestro - Domain name input\" \"Please type favor name for this domain.\" OK");
    Answer(u"press 2");
    AddOnOf(window)->SaveLoginData(ElementObject(window, u"#user"));
    EXPECT_TRUE(SavedLogins().empty());
}

class BrokenDatabase : public LoginCapture {
protected:
    void SaveWithMessage(const std::string& message) {
        browser::BrowserWindow& window = OpenSite("login.html");
        TypeLogin(window, u"alice", u"s3cret");
        // The menu opens the database when it can.
        Answer(u"menu -");
        window.RightClick(Element(window, u"#user"));
        AnswerFavorName();
        Answer(u"message \"Kestro - Database error\" \"" + Utf8ToUtf16(message) + u"\" OK");
        AddOnOf(window)->SaveLoginData(ElementObject(window, u"#user"));
    }
};

TEST_F(BrokenDatabase, AMissingOrDamagedFileIsReportedAfterTheFavorName) {
    const std::u16string shipped = _AtlModule.m_strDbPath;
    _AtlModule.m_strDbPath = Utf8ToUtf16(ProgramFolder() + "/absent.dat");
    SaveWithMessage("data error 5: Invalid pointer");
    _AtlModule.m_strDbPath = shipped;

    m_db.CloseDb();
    std::ofstream(Database(), std::ios::trunc) << "not a database at all";
    SaveWithMessage("data error 5: Invalid pointer");
}

TEST_F(BrokenDatabase, AReadOnlyFileRefusesTheInsert) {
    m_db.CloseDb();
    // A write format version above 2 makes the engine treat the file as
    // read-only, whoever runs the test.
    std::fstream file(Database(), std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(18);
    file.put(3);
    file.close();
    chmod(Database().c_str(), 0444);
    SaveWithMessage("data error 5: attempt to write a readonly database");
    chmod(Database().c_str(), 0644);
}

}  // namespace

}  // namespace login_test
