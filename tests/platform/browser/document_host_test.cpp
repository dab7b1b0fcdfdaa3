#include "tests/platform/browser/dom_test_support.h"

using namespace browser_test;

namespace {

struct ICustomProbe : IUnknown {};
KESTRO_DEFINE_IID(ICustomProbe, "6E0C2A41-3B8D-4F52-9A7E-1D54C2B9F3A0");

// Records what the document hands to the window that shows it.
class RecordingHost : public browser::DocumentHost {
public:
    HRESULT Click(browser::HtmlDocument&, browser::Node& element) override {
        clicked = &element;
        return S_OK;
    }
    HRESULT Submit(browser::HtmlDocument&, browser::Node& form) override {
        submitted = &form;
        return S_OK;
    }
    HRESULT Open(browser::HtmlDocument&, BSTR url, const VARIANT&, const VARIANT&, const VARIANT&,
                 IDispatch** window) override {
        openedUrl = url ? url : u"";
        *window = nullptr;
        return S_OK;
    }
    HRESULT ParentWindow(browser::HtmlDocument&, IHTMLWindow2**) override { return E_NOTIMPL; }
    HRESULT QueryDocumentInterface(browser::HtmlDocument& document, REFIID iid,
                                   void** out) override {
        asked = iid == IID_ICustomProbe;
        return document.QueryInterface(IID_IHTMLDocument2, out);
    }

    browser::Node* clicked = nullptr;
    browser::Node* submitted = nullptr;
    std::u16string openedUrl;
    bool asked = false;
};

TEST(DocumentHostTest, ClicksSubmitsOpensAndExtraInterfacesReachTheHost) {
    auto page = Page("<form id=f><input id=go type=submit></form>");
    CComVariant none;
    CComPtr<IDispatch> window;
    // Without a window, click and submit have nothing to do, and open of
    // another address cannot be served.
    EXPECT_EQ(S_OK, Element<IHTMLElement>(*page, u"#go")->click());
    EXPECT_EQ(E_NOTIMPL,
              page->open(CComBSTR(u"about:blank"), CComVariant(u"_blank"), none, none, &window));
    CComPtr<IUnknown> probe;
    EXPECT_EQ(E_NOINTERFACE,
              page->QueryInterface(IID_ICustomProbe, reinterpret_cast<void**>(&probe)));

    RecordingHost host;
    page->SetHost(&host);
    EXPECT_EQ(S_OK, Element<IHTMLElement>(*page, u"#go")->click());
    EXPECT_EQ(Find(*page, u"#go"), host.clicked);
    EXPECT_EQ(S_OK, Element<IHTMLFormElement>(*page, u"#f")->submit());
    EXPECT_EQ(Find(*page, u"#f"), host.submitted);
    EXPECT_EQ(S_OK,
              page->open(CComBSTR(u"about:blank"), CComVariant(u"_blank"), none, none, &window));
    EXPECT_EQ(u"about:blank", host.openedUrl);
    EXPECT_EQ(S_OK, page->QueryInterface(IID_ICustomProbe, reinterpret_cast<void**>(&probe)));
    EXPECT_TRUE(host.asked);
    page->SetHost(nullptr);
}

TEST(DocumentHostTest, LookupsByIdAndName) {
    auto page = Page("<p id=a name=n>1</p><p name=n>2</p><form id=f></form><input form=f name=x>");
    CComPtr<IHTMLElement> byId;
    ASSERT_EQ(S_OK, page->getElementById(CComBSTR(u"a"), &byId));
    EXPECT_EQ(u"1", Text(byId.p, &IHTMLElement::get_innerText));
    CComPtr<IHTMLElement> missing;
    EXPECT_EQ(S_OK, page->getElementById(CComBSTR(u"zz"), &missing));
    EXPECT_EQ(nullptr, missing.p);
    CComPtr<IHTMLElementCollection> named;
    ASSERT_EQ(S_OK, page->getElementsByName(CComBSTR(u"n"), &named));
    long length = 0;
    named->get_length(&length);
    EXPECT_EQ(2, length);
    // A control outside its form joins it through the form attribute.
    CComPtr<IHTMLFormElement> form;
    ASSERT_EQ(S_OK, Element<IHTMLInputElement>(*page, u"[name=x]")->get_form(&form));
    ASSERT_NE(nullptr, form.p);
    EXPECT_EQ(S_OK, form->get_length(&length));
    EXPECT_EQ(1, length);
}

}  // namespace
