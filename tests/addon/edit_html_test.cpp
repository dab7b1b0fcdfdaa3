// The add-on object through COM: its interfaces, its site, the browser
// version it reads and what it answers before any page has completed.
#include "addon/doc_event_sink.h"
#include "platform/browser/browser_settings.h"
#include "tests/addon/addon_test_support.h"

namespace addon_test {

namespace {

class EditHtmlObject : public AddOnTest {
protected:
    CComPtr<IObjectWithSite> Create() {
        CComPtr<IObjectWithSite> object;
        EXPECT_EQ(S_OK, CComCreator<CEditHtml>::CreateInstance(nullptr, IID_IObjectWithSite,
                                                               reinterpret_cast<void**>(&object)));
        return object;
    }
    CEditHtml& Of(IObjectWithSite* object) { return *static_cast<CEditHtml*>(object); }
};

TEST_F(EditHtmlObject, AnswersItsInterfacesWithOneIdentity) {
    CComPtr<IObjectWithSite> object = Create();
    CComPtr<IUnknown> identity;
    ASSERT_EQ(S_OK, object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
    for (const IID* iid : {&IID_IEditHtml, &IID_IDispatch, &IID_IObjectWithSite,
                           &IID_IDocHostUIHandler, &IID_IOleCommandTarget}) {
        CComPtr<IUnknown> answer;
        ASSERT_EQ(S_OK, object->QueryInterface(*iid, reinterpret_cast<void**>(&answer)));
        CComPtr<IUnknown> again;
        answer->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&again));
        EXPECT_EQ(identity.p, again.p);
    }
    CComPtr<IUnknown> events;
    EXPECT_EQ(E_NOINTERFACE,
              object->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&events)));
    CComQIPtr<IDispatch> dispatch(object);
    CComPtr<ITypeInfo> info;
    ASSERT_EQ(S_OK, dispatch->GetTypeInfo(0, 0, &info));
    TYPEATTR* attributes = nullptr;
    ASSERT_EQ(S_OK, info->GetTypeAttr(&attributes));
    EXPECT_EQ(IID_IEditHtml, attributes->guid);
    info->ReleaseTypeAttr(attributes);
}

TEST_F(EditHtmlObject, TakesOnlyABrowserAsItsSiteAndOnlyOnce) {
    CComPtr<IObjectWithSite> object = Create();
    CComPtr<IUnknown> site;
    EXPECT_EQ(E_POINTER, object->GetSite(IID_IUnknown, nullptr));
    EXPECT_EQ(E_FAIL, object->GetSite(IID_IUnknown, reinterpret_cast<void**>(&site)));
    EXPECT_EQ(nullptr, site.p);
    EXPECT_EQ(E_INVALIDARG, object->SetSite(nullptr));

    browser::BrowserWindow& window = OpenDemo("welcome.html");
    CComPtr<IDispatch> notABrowser;
    ASSERT_EQ(S_OK, window.Browser()->get_Document(&notABrowser));
    EXPECT_EQ(E_INVALIDARG, object->SetSite(notABrowser));
    EXPECT_EQ(S_OK, object->SetSite(window.Browser()));
    CComPtr<IWebBrowser2> browser;
    EXPECT_EQ(S_OK, object->GetSite(IID_IWebBrowser2, reinterpret_cast<void**>(&browser)));
    EXPECT_EQ(window.Browser(), browser.p);
    EXPECT_EQ(E_FAIL, object->SetSite(window.Browser()));
    // Letting go without OnQuit cuts the browser's events too.
    EXPECT_EQ(E_INVALIDARG, object->SetSite(nullptr));
    window.Navigate(DemoFile("login.html"));
    EXPECT_EQ(nullptr, Of(object).m_pNavigatedDisp);
}

TEST_F(EditHtmlObject, PassesThroughWithFixedResultsBeforeTheFirstPage) {
    CComPtr<IObjectWithSite> object = Create();
    CComQIPtr<IDocHostUIHandler> handler(object);
    CComQIPtr<IOleCommandTarget> target(object);
    IDropTarget* drop = nullptr;
    IDispatch* external = nullptr;
    LPWSTR url = nullptr;
    LPOLESTR key = nullptr;
    IDataObject* data = nullptr;
    EXPECT_EQ(S_OK, handler->GetHostInfo(nullptr));
    EXPECT_EQ(S_FALSE, handler->ShowUI(0, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(S_OK, handler->HideUI());
    EXPECT_EQ(S_OK, handler->UpdateUI());
    EXPECT_EQ(S_OK, handler->EnableModeless(TRUE));
    EXPECT_EQ(S_OK, handler->OnDocWindowActivate(TRUE));
    EXPECT_EQ(S_OK, handler->OnFrameWindowActivate(TRUE));
    EXPECT_EQ(S_OK, handler->ResizeBorder(nullptr, nullptr, TRUE));
    EXPECT_EQ(E_NOTIMPL, handler->TranslateAccelerator(nullptr, nullptr, 0));
    EXPECT_EQ(E_FAIL, handler->GetOptionKeyPath(&key, 0));
    EXPECT_EQ(S_OK, handler->GetDropTarget(nullptr, &drop));
    EXPECT_EQ(S_FALSE, handler->GetExternal(&external));
    EXPECT_EQ(S_FALSE, handler->TranslateUrl(0, nullptr, &url));
    EXPECT_EQ(S_FALSE, handler->FilterDataObject(nullptr, &data));
    EXPECT_EQ(S_OK, target->QueryStatus(nullptr, 0, nullptr, nullptr));
    EXPECT_EQ(S_OK, target->Exec(nullptr, 0, 0, nullptr, nullptr));
}

TEST_F(EditHtmlObject, ReadsTheBrowsersMajorVersion) {
    const struct {
        const char16_t* version;  // null: no such value
        LONG major;
    } cases[] = {{u"7.0.1", 7}, {u"11.0.9600.16428", 11}, {u"11", 0}, {u"", 0}, {u"x.1", 0},
                 {nullptr, 0}};
    for (const auto& c : cases) {
        if (c.version)
            SetBrowserVersion(c.version);
        else
            RegDeleteTreeW(HKEY_LOCAL_MACHINE, browser::kBrowserKey);
        EXPECT_EQ(c.major, Of(Create()).m_nIEVersion)
            << (c.version ? Utf16ToUtf8(c.version) : "none");
    }
}

TEST_F(EditHtmlObject, QuitLeavesTheSinkWithoutAnOwner) {
    browser::BrowserWindow& window = OpenDemo("article.html");
    CEditHtml* addOn = AddOnOf(window);
    ASSERT_NE(nullptr, addOn);
    CComPtr<CComObject<CDocEventSink>> sink = addOn->m_spSink;
    ASSERT_TRUE(sink);
    EXPECT_EQ(addOn, sink->m_pOwner);
    window.Close();
    EXPECT_EQ(nullptr, sink->m_pOwner);
}

}  // namespace

}  // namespace addon_test
