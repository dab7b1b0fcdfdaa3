// The add-on's submenu inside the browser's context menu: which of the
// four menus a right-click gets, the items' states for the page, the
// browser's own items, and commands that are not the add-on's.
#include "tests/addon/addon_test_support.h"

namespace addon_test {

namespace {

using Labels = std::vector<std::string>;

const Labels kPageMenu = {"Save Text in Table...",
                          "Save Text of Item...",
                          "-",
                          "Go Registered Sites...",
                          "Fill Login Data (disabled)",
                          "Save Login Data (disabled)",
                          "Delete Login Data... (disabled)",
                          "-",
                          "Show This Item",
                          "Show Without Style",
                          "Show Text of Item",
                          "-",
                          "Show Items in Table",
                          "Show Text in Table",
                          "Print Content of Item",
                          "-",
                          "Speak Text of Item",
                          "Speak Text of Page",
                          "-",
                          "Options...",
                          "Speech Setting...",
                          "About Kestro..."};
const Labels kSelectionMenu = {"Save Text of Selection...",
                               "Save Text of Item...",
                               "-",
                               "Speak Text of Selection",
                               "-",
                               "Search Selection on Internet...",
                               "-",
                               "Options...",
                               "Speak Setting...",
                               "About Kestro..."};
const Labels kControlMenu = {"Fill Login Data (disabled)",
                             "Save Login Data (disabled)",
                             "Delete Login Data... (disabled)",
                             "-",
                             "Save Form Data",
                             "Fill Form Data",
                             "Input Login Data...",
                             "-",
                             "Options...",
                             "About Kestro..."};
const Labels kLinkMenu = {"Save Text of Links...", "Show Other Links", "-", "Options...",
                          "About Kestro..."};

class ContextMenus : public AddOnTest {
protected:
    Labels MenuFor(browser::BrowserWindow& window, const char16_t* selector) {
        Answer(u"menu -");
        EXPECT_EQ("", window.RightClick(Element(window, selector)));
        return AddOnMenu();
    }
};

TEST_F(ContextMenus, EachContextGetsItsOwnMenu) {
    browser::BrowserWindow& article = OpenDemo("article.html");
    EXPECT_EQ(kPageMenu, MenuFor(article, u"#p1"));
    EXPECT_EQ(kLinkMenu, MenuFor(article, u"#one"));
    article.Select(Element(article, u"#p2"), 4, 9);
    EXPECT_EQ(kSelectionMenu, MenuFor(article, u"#p3"));
    EXPECT_EQ(kLinkMenu, MenuFor(article, u"#two"));  // a link wins over the selection
    browser::BrowserWindow& login = OpenDemo("login.html");
    EXPECT_EQ(kControlMenu, MenuFor(login, u"#user"));
    // The link menu's right-click dropped the selection captured before it.
    EXPECT_EQ(0u, AddOnOf(article)->m_bstrSelection.Length());
}

TEST_F(ContextMenus, TheSubmenuComesFirstWithASeparatorAndTheBrowsersItemsFollow) {
    browser::BrowserWindow& window = OpenDemo("article.html");
    Answer(u"menu -");
    window.RightClick(Element(window, u"#one"));
    const Labels browserPart = BrowserMenu();
    ASSERT_GE(browserPart.size(), 3u);
    EXPECT_EQ("-", browserPart[0]);
    EXPECT_EQ((Labels{"-", "Open Link", "Open in New Tab", "Open in New Window"}),
              Labels(browserPart.begin(), browserPart.begin() + 4));
}

TEST_F(ContextMenus, OpenInNewTabNeedsVersionSevenAndOpensATab) {
    SetBrowserVersion(u"6.0.2900");
    browser::BrowserWindow& old = OpenDemo("article.html");
    Answer(u"menu -");
    old.RightClick(Element(old, u"#one"));
    for (const std::string& label : BrowserMenu()) EXPECT_NE("Open in New Tab", label);

    SetBrowserVersion(u"11.0");
    browser::BrowserWindow& window = OpenDemo("article.html");
    Answer(u"menu Open in New Tab");
    window.RightClick(Element(window, u"#three"));
    ASSERT_EQ(1u, JournalOf("tab").size());
    EXPECT_NE(std::string::npos, JournalOf("tab")[0].find("notes/three.html"));
}

TEST_F(ContextMenus, AControlWithoutTheDatabaseGetsTheBrowsersPlainMenu) {
    _AtlModule.m_strDbPath = Utf8ToUtf16(ProgramFolder()) + u"/missing.dat";
    browser::BrowserWindow& window = OpenDemo("login.html");
    EXPECT_TRUE(MenuFor(window, u"#user").empty());
    EXPECT_EQ((Labels{"Copy", "-", "Select All", "-", "Properties"}), BrowserMenu());
    // Other contexts do not need the database.
    EXPECT_EQ(kPageMenu, MenuFor(window, u"#note"));
}

TEST_F(ContextMenus, WithoutAWindowToOwnItTheBrowserShowsItsOwnMenu) {
    browser::BrowserWindow& window = OpenDemo("article.html");
    CEditHtml* addOn = AddOnOf(window);
    ASSERT_NE(nullptr, addOn);
    POINT point{10, 10};
    EXPECT_EQ(S_FALSE, addOn->ShowContextMenu(CONTEXT_MENU_DEFAULT, &point, nullptr, nullptr));
    // A command target that has no window to own the menu.
    EXPECT_EQ(S_FALSE,
              addOn->ShowContextMenu(CONTEXT_MENU_DEFAULT, &point, addOn->GetUnknown(), nullptr));
}

TEST_F(ContextMenus, TheSpeechItemFollowsTheVoice) {
    browser::BrowserWindow& window = OpenDemo("article.html");
    CEditHtml* addOn = AddOnOf(window);
    ASSERT_NE(nullptr, addOn);
    ASSERT_TRUE(addOn->m_spVoice);
    const auto speechItems = [&] {
        Labels found;
        for (const std::string& label : MenuFor(window, u"#p1"))
            if (label.find("Speak") != std::string::npos ||
                label.find("Resume") != std::string::npos ||
                label.find("Speech") != std::string::npos)
                found.push_back(label);
        return found;
    };
    EXPECT_EQ((Labels{"Speak Text of Item", "Speak Text of Page", "Speech Setting..."}),
              speechItems());
    addOn->m_spVoice->Speak(
        u"A long sentence that keeps the voice busy for a while, and then some more.", SPF_ASYNC,
        nullptr);
    EXPECT_EQ(
        (Labels{"Stop Speaking", "Speak Text of Item", "Speak Text of Page", "Speech Setting..."}),
        speechItems());
    Answer(u"menu Kestro>Stop Speaking");
    window.RightClick(Element(window, u"#p1"));
    EXPECT_EQ((Labels{"Resume Speaking", "Speak Text of Item", "Speak Text of Page",
                      "Speech Setting..."}),
              speechItems());
    addOn->m_spVoice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    addOn->m_spVoice.Release();
    EXPECT_EQ((Labels{"Speak Text of Item (disabled)", "Speak Text of Page (disabled)",
                      "Speech Setting... (disabled)"}),
              speechItems());
}

TEST_F(ContextMenus, TheBrowsersOwnItemsStillWork) {
    browser::BrowserWindow& window = OpenDemo("article.html");
    window.Select(Element(window, u"#p1"), 0, 6);
    Answer(u"menu Copy");
    window.RightClick(Element(window, u"#p1"));
    EXPECT_EQ((std::vector<std::string>{"Eleven"}), JournalOf("copy"));
    Answer(u"menu Kestro>Options...");
    Answer(u"dialog \"Kestro - Options\"");
    Answer(u"press 2");
    window.RightClick(Element(window, u"#p1"));
}

TEST_F(ContextMenus, DispatchHandlesOnlyTheAddOnsCommands) {
    browser::BrowserWindow& window = OpenDemo("article.html");
    CEditHtml* addOn = AddOnOf(window);
    ASSERT_NE(nullptr, addOn);
    Answer(u"dialog \"Kestro - Speech setting\"");
    Answer(u"press 2");
    Answer(
        u"message \"Kestro - No target to go\" \"There is no web sites saved for automatically "
        u"login.\" OK");
    for (UINT id : {2138u,  32769u, 32770u, 32777u, 32780u, 32783u, 32784u, 32788u, 32789u,
                    32791u, 32793u, 32794u, 32797u, 32799u, 32801u, 32807u, 32810u, 32811u,
                    32816u, 32817u, 32825u, 32828u, 32830u, 32833u, 32835u})
        EXPECT_TRUE(addOn->DispatchCommand(id, nullptr)) << id;
    for (UINT id : {0u, 15u, 2137u, 32768u, 32771u, 32836u})
        EXPECT_FALSE(addOn->DispatchCommand(id, nullptr)) << id;
    EXPECT_EQ((std::vector<std::string>{"https://www.google.com/search?hl=en&lr=&q=",
                                        ProgramFolder() + "/Quillet"}),
              JournalOf("shell"));
}

}  // namespace

}  // namespace addon_test
