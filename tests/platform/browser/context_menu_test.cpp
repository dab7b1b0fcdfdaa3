// Right-clicks with a registered add-on that hooks the UI handler and adds
// its own submenu to the browser's menus from SHDOCLC.DLL, and without it.
#include "platform/browser/browser_settings.h"
#include "platform/browser/doc_host_ui.h"
#include "platform/browser/selection.h"
#include "platform/win/registry.h"
#include "platform/win/text.h"
#include "tests/platform/browser/browser_test_support.h"
#include "tests/platform/browser/test_addon/menu_addon.h"

namespace browser_test {

namespace {

using Texts = std::vector<std::string>;

void WriteKey(HKEY root, const std::u16string& path, const char16_t* name, const void* data,
              DWORD size, DWORD type) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                             &key, nullptr));
    if (data) RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

class ContextMenus : public BrowserTest {
protected:
    void SetUp() override {
        BrowserTest::SetUp();
        AddPage("a.html", "<title>A</title>");
        m_page = AddPage("menu.html",
                         "<title>Menus</title><p id=plain>plain text</p>"
                         "<a id=link href='a.html'><b>bold</b> link</a><input id=box value=typed>"
                         "<table><tr><td id=cell>cell</td></tr></table><img id=pic src='p.png'>");
    }
    void RegisterMenuAddOn() {
        const std::u16string path =
            Utf8ToUtf16(testing_support::TestBinaryDirectory() + "/kestro_test_menu_addon.so");
        WriteKey(HKEY_CLASSES_ROOT,
                 u"CLSID\\" + std::u16string(kMenuAddOnClassKey) + u"\\InprocServer32", nullptr,
                 path.c_str(), static_cast<DWORD>((path.size() + 1) * 2), REG_SZ);
        WriteKey(HKEY_LOCAL_MACHINE,
                 std::u16string(browser::kAddOnsKey) + u"\\" + kMenuAddOnClassKey, nullptr, nullptr,
                 0, REG_SZ);
    }
    void SetDecline(DWORD value) {
        WriteKey(HKEY_CURRENT_USER, kMenuAddOnSettingsKey, u"Decline", &value, sizeof(value),
                 REG_DWORD);
    }
    std::vector<std::u16string> ShownLabels() {
        std::vector<std::u16string> labels;
        if (const auto* menu = Ui().LastMenu())
            for (const MenuItemSnapshot& item : *menu)
                if (!item.separator) labels.push_back(item.label);
        return labels;
    }

    std::u16string m_page;
};

TEST_F(ContextMenus, TheAddOnGetsLinksControlsAndTextWithTheirContextIds) {
    RegisterMenuAddOn();
    browser::BrowserWindow& window = Open(m_page);
    for (const char16_t* selector : {u"#link", u"#box", u"#plain"}) {
        Answer(u"menu Test Add-on>Say Hello");
        EXPECT_EQ("", window.RightClick(Element(window, selector)));
    }
    EXPECT_EQ((Texts{"5 A", "2 INPUT", "0 P"}), JournalOf("addon-menu"));
    EXPECT_EQ((Texts{"hello", "hello", "hello"}), JournalOf("addon"));
    // The add-on's submenu leads the browser's own items for the context.
    EXPECT_EQ((std::vector<std::u16string>{u"Test Add-on", u"Back", u"Forward", u"Select All",
                                           u"Encoding", u"Print...", u"Refresh", u"View Source",
                                           u"Properties"}),
              ShownLabels());
}

TEST_F(ContextMenus, IdsTheAddOnDoesNotKnowAreCarriedOutByTheBrowser) {
    RegisterMenuAddOn();
    browser::BrowserWindow& window = Open(m_page);
    const browser::PageElement plain = Element(window, u"#plain");
    ASSERT_EQ("", window.Select(plain, 0, 5));
    Answer(u"menu Copy");
    EXPECT_EQ("", window.RightClick(plain));
    Answer(u"menu Encoding>Western European (Windows)");
    EXPECT_EQ("", window.RightClick(Element(window, u"#cell")));
    EXPECT_EQ((Texts{"4 P", "3 TD"}), JournalOf("addon-menu"));
    EXPECT_EQ((Texts{"plain"}), JournalOf("copy"));
    EXPECT_EQ(u"plain", Session().ClipboardText());
    EXPECT_EQ(u"windows-1252", window.Document()->Charset());
}

TEST_F(ContextMenus, WhenTheAddOnDeclinesTheBrowserShowsItsOwnMenu) {
    RegisterMenuAddOn();
    SetDecline(1);
    browser::BrowserWindow& window = Open(m_page);
    Answer(u"menu Copy");
    EXPECT_EQ("", window.RightClick(Element(window, u"#box")));
    EXPECT_EQ((std::vector<std::u16string>{u"Copy", u"Select All", u"Properties"}), ShownLabels());
    EXPECT_EQ((Texts{"typed"}), JournalOf("copy"));

    Answer(u"menu Open in New Window");
    EXPECT_EQ("", window.RightClick(Element(window, u"#link")));
    EXPECT_EQ(2u, Session().WindowCount());
    EXPECT_EQ(u"A", Session().Window(2)->Title());

    Answer(u"menu -");
    EXPECT_EQ("", window.RightClick(Element(window, u"#pic")));
    EXPECT_EQ((Texts{"2 INPUT", "5 A", "1 IMG"}), JournalOf("addon-menu"));
}

TEST_F(ContextMenus, EveryWindowHasItsOwnAddOnAndWithoutOneTheBrowserMenuShows) {
    RegisterMenuAddOn();
    browser::BrowserWindow& first = Open(m_page);
    browser::BrowserWindow& second = Open(m_page);
    Answer(u"menu Test Add-on>Say Hello");
    EXPECT_EQ("", second.RightClick(Element(second, u"#plain")));
    first.Close();
    Answer(u"menu Test Add-on>Say Hello");
    EXPECT_EQ("", second.RightClick(Element(second, u"#plain")));
    EXPECT_EQ((Texts{"hello", "hello"}), JournalOf("addon"));

    // A page whose document has no UI handler: the browser's menu, with
    // Back enabled once there is somewhere to go back to.
    second.Navigate(PageUrl("a.html"));
    second.Navigate(m_page);
    CComPtr<ICustomDoc> custom;
    ASSERT_EQ(S_OK,
              second.Document()->QueryInterface(IID_ICustomDoc, reinterpret_cast<void**>(&custom)));
    custom->SetUIHandler(nullptr);
    Answer(u"menu Back");
    EXPECT_EQ("", second.RightClick(Element(second, u"#plain")));
    EXPECT_EQ(u"A", second.Title());
}

}  // namespace

}  // namespace browser_test
