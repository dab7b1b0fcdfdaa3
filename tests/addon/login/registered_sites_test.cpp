// Go Registered Sites...: the list, going to a site with and without
// logging in, unregistering, and the automatic login on the next
// completed page of the site.
#include "tests/addon/login/login_test_support.h"

namespace login_test {

namespace {

constexpr char16_t kSitesDialog[] = u"dialog \"Kestro - Go registered sites\"";
constexpr char kLoginUrl[] = "http://demo.test/login.html";
constexpr char kWelcome[] = "http://demo.test/welcome.html?user=alice&pass=s3cret";

SavedLogin Site(const std::string& domain, const std::string& url, const std::string& favor) {
    return {domain, "user\npass", "alice\ns3cret", url, "pass", "s3cret", "alice", favor};
}

class RegisteredSites : public LoginTest {
protected:
    // Opens the sites from the page menu of a page of another host.
    browser::BrowserWindow& Go(std::initializer_list<std::u16string_view> answers) {
        browser::BrowserWindow& window = OpenPage("start.html", "<p id=start>Start</p>");
        AnswerMenu(u"Go Registered Sites...");
        for (std::u16string_view answer : answers) Answer(answer);
        RightClick(window, u"#start");
        return window;
    }
    std::vector<std::vector<std::u16string>> ListedRows() {
        for (const ShownThing& shown : Ui().Shown())
            if (shown.kind == ShownThing::Kind::Dialog)
                for (const ControlSnapshot& control : shown.dialog.controls)
                    if (control.id == 225) return control.rows;
        return {};
    }
    std::vector<std::string> Urls() {
        std::vector<std::string> urls;
        for (const SavedLogin& login : SavedLogins()) urls.push_back(login.url);
        return urls;
    }
};

TEST_F(RegisteredSites, OnlySitesWithALoginPageAreListedByFavorName) {
    AddSavedLogin(Site("demo.test", kLoginUrl, "Kestrel Club"));
    AddSavedLogin(Site("www.bank.co.uk", "http://www.bank.co.uk/", ""));
    AddSavedLogin(Site("no-url.test", kNull, "Gone"));
    AddSavedLogin(Site("short-url.test", "x", "Short"));
    Go({kSitesDialog, u"press 2"});
    EXPECT_EQ((std::vector<std::vector<std::u16string>>{{u"Kestrel Club", u"demo.test"},
                                                        {u"bank", u"www.bank.co.uk"}}),
              ListedRows());
    for (const ShownThing& shown : Ui().Shown())
        if (shown.kind == ShownThing::Kind::Dialog)
            for (const ControlSnapshot& control : shown.dialog.controls)
                if (control.id == 225) {
                    EXPECT_EQ((std::vector<std::u16string>{u"Domain Name", u"Domain URL"}),
                              control.columns);
                    ASSERT_EQ(2u, control.columnWidths.size());
                    EXPECT_EQ(control.columnWidths[0] * 2, control.columnWidths[1]);
                }
}

TEST_F(RegisteredSites, WithoutSitesOrDatabaseTheUserIsTold) {
    AddSavedLogin(Site("no-url.test", kNull, "Gone"));
    Go({u"message \"Kestro - No target to go\" \"There is no web sites saved for automatically "
        u"login.\" OK"});
    _AtlModule.m_strDbPath = Utf8ToUtf16(ProgramFolder() + "/absent.dat");
    browser::BrowserWindow& window = OpenSite("welcome.html");
    Answer(u"message \"Kestro - Database Error\" \"Login Database is not accessible!\" OK");
    AddOnOf(window)->GoRegisteredSites();
}

TEST_F(RegisteredSites, GoLoginOpensTheLoginPageWithoutFillingIt) {
    // A row of the site without a login page is never the address gone to.
    SavedLogin unregistered = Site("demo.test", kNull, "Club");
    unregistered.account = "";
    AddSavedLogin(unregistered);
    AddSavedLogin(Site("demo.test", kLoginUrl, "Club"));
    browser::BrowserWindow& window = Go({kSitesDialog, u"row 225 0", u"press 3"});
    EXPECT_EQ(Utf8ToUtf16(kLoginUrl), window.Url());
    EXPECT_EQ("", Value(window, u"#user"));
    EXPECT_TRUE(AddOnOf(window)->m_strAutoLoginSite.empty());
}

TEST_F(RegisteredSites, LoginFillsAndSubmitsTheSitesNextPageOnly) {
    AddSavedLogin(Site("demo.test", kLoginUrl, "Club"));
    browser::BrowserWindow& window = Go({kSitesDialog, u"row 225 0", u"press 1"});
    EXPECT_EQ(Utf8ToUtf16(kWelcome), window.Url());
    EXPECT_TRUE(AddOnOf(window)->m_strAutoLoginSite.empty());

    // Pages of other hosts (and pages without one) in between leave it
    // pending.
    browser::BrowserWindow& waiting = OpenPage("other.html", "<p>other</p>");
    ASSERT_TRUE(AddOnOf(waiting)->EnsureDbOpen());
    AddOnOf(waiting)->m_strAutoLoginSite = u"demo.test";
    waiting.Navigate(DemoFile("login.html"));
    waiting.Navigate(u"http://pages.test/other.html");
    EXPECT_EQ(u"demo.test", AddOnOf(waiting)->m_strAutoLoginSite);
    waiting.Navigate(DemoWeb("login.html"));
    EXPECT_EQ(Utf8ToUtf16(kWelcome), waiting.Url());
}

TEST_F(RegisteredSites, AFillThatWroteNothingSubmitsNothing) {
    {
        AsOtherUser other;
        AddSavedLogin(Site("demo.test", kLoginUrl, "Club"));
    }
    browser::BrowserWindow& window =
        Go({kSitesDialog, u"row 225 0", u"press 1",
            u"message \"Kestro - Error\" \"The importing data is not decryptable for you. 3\" OK"});
    EXPECT_EQ(Utf8ToUtf16(kLoginUrl), window.Url());
}

TEST_F(RegisteredSites, APageWithoutALoginFormIsReported) {
    AddSavedLogin(Site("demo.test", "http://demo.test/welcome.html", "Club"));
    browser::BrowserWindow& window =
        Go({kSitesDialog, u"row 225 0", u"press 1",
            u"message \"Kestro - Autologin\" \"Could not found the login form in the page. "
            u"Probably you are already logged in.\" OK"});
    EXPECT_TRUE(AddOnOf(window)->m_strAutoLoginSite.empty());
}

TEST_F(RegisteredSites, ASubmittingButtonOrScriptLinkIsClickedElseTheFormIsSubmitted) {
    for (const std::string& submit :
         {std::string("<button id=go>Go</button>"), std::string("<a href='javascript:go()'>go</a>"),
          std::string("")}) {
        ASSERT_TRUE(m_db.ExecuteSql(u"delete from LoginInfo", {}));
        AddSavedLogin(Site("pages.test", "http://pages.test/form.html", "Pages"));
        AddPage("form.html",
                "<form action=done.html><input name=user><input type=password "
                "name=pass>" +
                    submit + "</form>");
        AddPage("done.html", "<p>done</p>");
        browser::BrowserWindow& window = Go({kSitesDialog, u"row 225 0", u"press 1"});
        // A script link does nothing here; the others go on to the next page.
        const std::u16string expected = submit.find("javascript") != std::string::npos
                                            ? u"http://pages.test/form.html"
                                            : u"http://pages.test/done.html?user=alice&pass=s3cret";
        EXPECT_EQ(expected, window.Url()) << submit;
    }
}

TEST_F(RegisteredSites, RemovedSitesAreUnregisteredUnlessCancelled) {
    AddSavedLogin(Site("a.test", "http://a.test/", "A"));
    AddSavedLogin(Site("b.test", "http://b.test/", "B"));
    Go({kSitesDialog, u"row 225 0", u"press 223", u"press 223",
        u"message \"Kestro - No domain selected\" \"Please select one domain to remove.\" OK",
        u"press 2"});
    EXPECT_EQ((std::vector<std::string>{"http://a.test/", "http://b.test/"}), Urls());

    browser::BrowserWindow& window =
        Go({kSitesDialog, u"press 1",
            u"message \"Kestro - No domain selected\" \"Please select one domain to go.\" OK",
            u"row 225 0", u"press 223", u"row 225 0", u"press 223", u"press 1"});
    EXPECT_EQ((std::vector<std::string>{kNull, kNull}), Urls());
    EXPECT_EQ(u"http://pages.test/start.html", window.Url());
    // The logins themselves stay.
    EXPECT_EQ(2u, SavedLogins().size());
}

}  // namespace

}  // namespace login_test
