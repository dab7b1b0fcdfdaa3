// A window whose pages a driver loads (page_driver.h), as a live engine
// does: navigations reach it after BeforeNavigate2, pages it hands over
// later complete with the usual events, frames take the documents it has,
// and what callers write through the model is reported to it.
#include "platform/browser/page_driver.h"
#include "platform/browser/form_controls.h"
#include "platform/browser/mshtml_form.h"
#include "platform/browser/page_input.h"
#include "platform/browser/tag_names.h"
#include "platform/browser/tree_builder.h"
#include "platform/browser/web_browser_object.h"
#include "platform/win/text.h"
#include "tests/platform/browser/browser_test_support.h"

namespace browser_test {
namespace {

using browser::HtmlDocument;
using browser::WebBrowser;

std::string IdOf(const browser::PageElement& target) {
    return target.element ? Utf16ToUtf8(target.element->AttributeOr(u"id")) : "(none)";
}

// Acts as a live engine's view would take them, written down; each
// answers `reply`.
class RecordingInput final : public browser::PageInput {
public:
    std::string Type(const browser::PageElement& target, std::u16string_view text) override {
        return Note("type " + IdOf(target) + " " + Utf16ToUtf8(text));
    }
    std::string SetChecked(const browser::PageElement& target, bool checked) override {
        return Note((checked ? "check " : "uncheck ") + IdOf(target));
    }
    std::string Choose(const browser::PageElement& target,
                       const std::vector<std::u16string>& values) override {
        return Note("choose " + IdOf(target) + " " + std::to_string(values.size()));
    }
    std::string Click(const browser::PageElement& target, bool alt) override {
        return Note("click " + IdOf(target) + (alt ? " alt" : ""));
    }
    std::string DoubleClick(const browser::PageElement& target, bool) override {
        return Note("dblclick " + IdOf(target));
    }
    std::string Hover(const browser::PageElement& target) override {
        return Note("hover " + IdOf(target));
    }
    std::string Select(const browser::PageElement& target, std::optional<std::size_t> from,
                       std::optional<std::size_t> to) override {
        return Note("select " + IdOf(target) +
                    (from && to ? " " + std::to_string(*from) + "-" + std::to_string(*to) : ""));
    }
    std::string Unselect() override { return Note("unselect"); }
    std::string RightClick(const browser::PageElement& target) override {
        return Note("rightclick " + IdOf(target));
    }
    std::string Settle() override { return Note("settle"); }

    std::vector<std::string> log;
    std::string reply;

private:
    std::string Note(std::string entry) {
        log.push_back(std::move(entry));
        return reply;
    }
};

class RecordingDriver final : public browser::PageDriver {
public:
    HRESULT Load(WebBrowser& browser, const browser::NavigationRequest& request,
                 HtmlDocument** document) override {
        log.push_back("load " + Utf16ToUtf8(request.url.substr(request.url.rfind('/') + 1)) +
                      (browser.Parent() ? " frame" : " top"));
        if (browser.Parent())
            return HtmlDocument::Create("<title>framed</title>", request.url, u"", document);
        return S_FALSE;
    }
    HRESULT Click(WebBrowser&, HtmlDocument&, browser::Node& element) override {
        log.push_back("default action " + Utf16ToUtf8(element.AttributeOr(u"id")));
        return S_OK;
    }
    void NodeWritten(HtmlDocument&, browser::Node& node, browser::NodeWrite what) override {
        static const char* kinds[] = {"value", "checked", "selected", "attribute"};
        log.push_back(std::string("wrote ") + kinds[static_cast<int>(what)] + " " +
                      Utf16ToUtf8(node.AttributeOr(u"id")));
    }
    void ContentWritten(WebBrowser&, HtmlDocument&) override { log.push_back("content written"); }
    void WindowClosed(WebBrowser&) override { log.push_back("closed"); }
    browser::PageInput* Input() override { return withInput ? &input : nullptr; }
    HRESULT Print(WebBrowser&, DWORD options) override {
        log.push_back("print " + std::to_string(options));
        return printResult;
    }

    std::vector<std::string> log;
    bool withInput = false;
    RecordingInput input;
    HRESULT printResult = S_OK;
};

class DrivenWindow : public BrowserTest {
protected:
    void SetUp() override {
        BrowserTest::SetUp();
        LoadRecordingAddOn();
        Session().SetWindowStarter([this](WebBrowser& browser) {
            browser.SetPageDriver(&m_driver);
            m_browsers.push_back(&browser);
        });
    }
    void TearDown() override {
        BrowserTest::TearDown();
        Session().SetWindowStarter(nullptr);
    }
    // The page the driver "loaded", handed to the window.
    void Arrive(const std::string& html, const std::u16string& url, std::size_t window = 0) {
        CComPtr<HtmlDocument> page;
        ASSERT_EQ(S_OK, HtmlDocument::Create(html, url, u"", &page));
        m_browsers.at(window)->ShowLoadedPage(page);
    }
    template <class I>
    CComPtr<I> Object(browser::BrowserWindow& window, std::u16string_view selector) {
        const browser::PageElement element = Element(window, selector);
        CComPtr<I> object;
        element.document->ObjectFor(element.element, &object);
        return object;
    }

    RecordingDriver m_driver;
    std::vector<WebBrowser*> m_browsers;
};

TEST_F(DrivenWindow, PagesArriveLaterWithTheEventsAndFramesOfALoadedPage) {
    browser::BrowserWindow& window = Open(u"http://a.test/cancel-me.html");
    EXPECT_EQ(std::vector<std::string>{}, m_driver.log);  // BeforeNavigate2 cancelled it
    window.Navigate(u"http://a.test/page.html");
    EXPECT_EQ(std::vector<std::string>{"load page.html top"}, m_driver.log);
    EXPECT_EQ(nullptr, window.Document());
    EventLog().clear();
    Arrive("<title>Page</title><iframe src='inner.html'></iframe>", u"http://a.test/page.html");
    EXPECT_EQ((std::vector<std::string>{"NC2 page.html top", "BN2 inner.html frame",
                                        "NC2 inner.html frame", "DC inner.html frame",
                                        "DC page.html top"}),
              EventLog());
    EXPECT_EQ(u"Page", window.Title());
    EXPECT_EQ("load inner.html frame", m_driver.log.back());
}

TEST_F(DrivenWindow, HistoryMovesWhileTheDriverLoads) {
    browser::BrowserWindow& window = Open(u"http://a.test/one.html");
    Arrive("<title>One</title>", u"http://a.test/one.html");
    window.Navigate(u"http://a.test/two.html");
    Arrive("<title>Two</title>", u"http://a.test/two.html");
    auto* browser = m_browsers.at(0);
    ASSERT_TRUE(browser->CanGoBack());
    ASSERT_EQ(S_OK, browser->GoBack());
    EXPECT_EQ("load one.html top", m_driver.log.back());
    Arrive("<title>One</title>", u"http://a.test/one.html");
    EXPECT_FALSE(browser->CanGoBack());
    EXPECT_TRUE(browser->CanGoForward());
}

TEST_F(DrivenWindow, WritesThroughTheModelAreReported) {
    browser::BrowserWindow& window = Open(u"http://a.test/form.html");
    Arrive(
        "<input id=user><input id=box type=checkbox><select id=list><option id=o1>a"
        "<option id=o2>b</select><a id=link href='x.html'>x</a>",
        u"http://a.test/form.html");
    m_driver.log.clear();
    Object<IHTMLInputElement>(window, u"#user")->put_value(CComBSTR(u"Ann"));
    Object<IHTMLInputElement>(window, u"#box")->put_checked(VARIANT_TRUE);
    Object<IHTMLOptionElement>(window, u"#o2")->put_selected(VARIANT_TRUE);
    Object<IHTMLSelectElement>(window, u"#list")->put_selectedIndex(0);
    CComVariant value(u"t");
    Object<IHTMLElement>(window, u"#user")->setAttribute(CComBSTR(u"title"), value, 0);
    VARIANT_BOOL removed = VARIANT_FALSE;
    Object<IHTMLElement>(window, u"#user")->removeAttribute(CComBSTR(u"nothing"), 0, &removed);
    EventLog().clear();
    Object<IHTMLElement>(window, u"#link")->click();
    EXPECT_EQ((std::vector<std::string>{"wrote value user", "wrote checked box",
                                        "wrote selected o2", "wrote selected list",
                                        "wrote attribute user", "default action link"}),
              m_driver.log);
    // The click's event fired here; its default action is the driver's.
    EXPECT_EQ(std::vector<std::string>{"click A"}, EventLog());
    EXPECT_EQ(u"http://a.test/form.html", window.Url());
}

TEST_F(DrivenWindow, TheDriverHearsOfWrittenPagesAndClosedWindows) {
    browser::BrowserWindow& window = Open(u"http://a.test/w.html");
    Arrive("<title>W</title>", u"http://a.test/w.html");
    CComQIPtr<IHTMLDocument2> document(window.Document());
    ASSERT_EQ(S_OK, WriteDocument(document, u"<title>Written</title>"));
    document->close();
    EXPECT_EQ("content written", m_driver.log.back());
    EXPECT_EQ(u"Written", window.Title());
    window.Close();
    EXPECT_EQ("closed", m_driver.log.back());
    EXPECT_EQ(nullptr, m_browsers.at(0)->Driver());
}

// The window still checks each act (a closed window, the element's kind,
// the list's options); what passes goes to the driver's view, not the model.
TEST_F(DrivenWindow, ActsGoToTheDriversViewAfterTheWindowsOwnChecks) {
    browser::BrowserWindow& window = Open(u"http://a.test/form.html");
    Arrive(
        "<input id=user><input id=box type=checkbox><select id=list><option value=a>a</select>"
        "<a id=link href='x.html'>x</a>",
        u"http://a.test/form.html");
    m_driver.withInput = true;
    EventLog().clear();
    const auto element = [&](std::u16string_view selector) { return Element(window, selector); };
    EXPECT_EQ("", window.Type(element(u"#user"), u"Ann"));
    EXPECT_EQ("not a text box or text area", window.Type(element(u"#box"), u"x"));
    EXPECT_EQ("", window.SetChecked(element(u"#box"), true));
    EXPECT_EQ("not a check box or radio button", window.SetChecked(element(u"#user"), true));
    EXPECT_EQ("the list has no option z", window.Choose(element(u"#list"), {u"z"}));
    EXPECT_EQ("", window.Choose(element(u"#list"), {u"a"}));
    EXPECT_EQ("", window.Click(element(u"#link"), true));
    EXPECT_EQ("", window.DoubleClick(element(u"#link")));
    EXPECT_EQ("", window.Hover(element(u"#link")));
    EXPECT_EQ("", window.Select(element(u"#link"), 0, 1));
    EXPECT_EQ("", window.Unselect());
    EXPECT_EQ("", window.RightClick(element(u"#link")));
    m_driver.input.reply = "the page did not answer";
    EXPECT_EQ("the page did not answer", window.Navigate(u"http://a.test/next.html"));
    EXPECT_EQ((std::vector<std::string>{
                  "type user Ann", "check box", "choose list 1", "click link alt", "dblclick link",
                  "hover link", "select link 0-1", "unselect", "rightclick link", "settle"}),
              m_driver.input.log);
    // Nothing happened to the model: the live page answers for it.
    EXPECT_EQ(u"", browser::ControlValue(*element(u"#user").element));
    EXPECT_EQ(std::vector<std::string>{"BN2 next.html top"}, EventLog());
    const browser::PageElement link = element(u"#link");
    window.Close();
    EXPECT_EQ(std::string("the window is closed"), window.Click(link));
}

TEST_F(DrivenWindow, PrintingIsTheDriversUnlessItLeavesItToTheBrowser) {
    browser::BrowserWindow& window = Open(u"http://a.test/p.html");
    Arrive("<title>P</title><p>text</p>", u"http://a.test/p.html");
    CComPtr<IWebBrowser2> browser(window.Browser());
    ASSERT_EQ(S_OK,
              browser->ExecWB(OLECMDID_PRINT, OLECMDEXECOPT_DONTPROMPTUSER, nullptr, nullptr));
    EXPECT_EQ("print 2", m_driver.log.back());
    EXPECT_TRUE(JournalOf("print").empty());
    m_driver.printResult = E_NOTIMPL;
    ASSERT_EQ(S_OK,
              browser->ExecWB(OLECMDID_PRINT, OLECMDEXECOPT_DONTPROMPTUSER, nullptr, nullptr));
    EXPECT_EQ(1u, JournalOf("print").size());
}

TEST(DocumentFromTree, KeepsTheTreeItIsGiven) {
    auto tree = browser::BuildTree("<input id=a value=v>");
    browser::Node* input = tree->Root();
    while (input && !input->Is(GUMBO_TAG_INPUT))
        input = browser::NextInSubtree(input, tree->Root());
    ASSERT_TRUE(input);
    input->control->value = u"live";
    CComPtr<HtmlDocument> document;
    ASSERT_EQ(E_INVALIDARG, HtmlDocument::CreateFromTree(nullptr, u"about:blank", u"", &document));
    ASSERT_EQ(S_OK, HtmlDocument::CreateFromTree(std::move(tree), u"http://a.test/", u"UTF-8",
                                                 &document));
    CComPtr<IHTMLElement> element;
    document->getElementById(CComBSTR(u"a"), &element);
    CComQIPtr<IHTMLInputElement> field(element);
    CComBSTR value;
    ASSERT_TRUE(field);
    field->get_value(&value);
    EXPECT_EQ(std::u16string(u"live"), value.m_str);
    EXPECT_EQ(u"UTF-8", document->Charset());
}

}  // namespace
}  // namespace browser_test
