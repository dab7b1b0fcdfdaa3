// The ATL shapes: reference counting and identity, sites, dispatch,
// connection points and sink maps.
#include <gtest/gtest.h>

#include <vector>

#include "platform/com/atl_com.h"
#include "platform/com/atl_dispatch.h"
#include "platform/com/atl_event.h"
#include "platform/com/atl_site.h"

namespace {

struct IFirst : IDispatch {};
KESTRO_DEFINE_IID(IFirst, "11111111-2222-3333-4444-555555555555");
struct ISecond : IUnknown {
    STDMETHOD(Value)(LONG* out) = 0;
};
KESTRO_DEFINE_IID(ISecond, "11111111-2222-3333-4444-666666666666");

int g_destroyed = 0;
HRESULT g_finalConstructResult = S_OK;

class Widget : public CComObjectRootEx<CComSingleThreadModel>,
               public IDispatchImpl<IFirst, &IID_IFirst>,
               public ISecond,
               public IObjectWithSiteImpl<Widget> {
public:
    BEGIN_COM_MAP(Widget)
    COM_INTERFACE_ENTRY(IFirst)
    COM_INTERFACE_ENTRY(IDispatch)
    COM_INTERFACE_ENTRY(ISecond)
    COM_INTERFACE_ENTRY(IObjectWithSite)
    END_COM_MAP()

    HRESULT FinalConstruct() { return g_finalConstructResult; }
    void FinalRelease() { ++g_destroyed; }
    STDMETHODIMP Value(LONG* out) override {
        *out = 7;
        return S_OK;
    }
};

CComPtr<IFirst> MakeWidget() {
    CComObject<Widget>* object = nullptr;
    EXPECT_EQ(CComObject<Widget>::CreateInstance(&object), S_OK);
    return CComPtr<IFirst>(object);
}

TEST(AtlObject, ReferenceCountingEndsTheObject) {
    g_destroyed = 0;
    {
        CComPtr<IFirst> first = MakeWidget();
        CComPtr<ISecond> second;
        ASSERT_EQ(first.QueryInterface(&second), S_OK);
        EXPECT_EQ(first->AddRef(), 3u);
        EXPECT_EQ(first->Release(), 2u);
        first.Release();
        EXPECT_EQ(g_destroyed, 0);
        LONG v = 0;
        second->Value(&v);
        EXPECT_EQ(v, 7);
    }
    EXPECT_EQ(g_destroyed, 1);
}

TEST(AtlObject, QueryInterfaceIdentityRules) {
    CComPtr<IFirst> first = MakeWidget();
    CComPtr<IUnknown> unknownFromFirst, unknownFromSecond;
    CComPtr<ISecond> second;
    ASSERT_EQ(first->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknownFromFirst)),
              S_OK);
    ASSERT_EQ(first.QueryInterface(&second), S_OK);
    ASSERT_EQ(second->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknownFromSecond)),
              S_OK);
    EXPECT_EQ(unknownFromFirst.p, unknownFromSecond.p);  // one IUnknown per object
    EXPECT_TRUE(second.IsEqualObject(first));

    CComPtr<IFirst> back;  // symmetric and transitive
    ASSERT_EQ(second.QueryInterface(&back), S_OK);
    EXPECT_EQ(back.p, first.p);

    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(first->QueryInterface(IID_IConnectionPoint, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(first->QueryInterface(IID_IUnknown, nullptr), E_POINTER);

    CComQIPtr<IObjectWithSite> site(first);
    EXPECT_TRUE(site);
    CComQIPtr<IConnectionPoint> missing(first);
    EXPECT_FALSE(missing);
}

TEST(AtlObject, FailedFinalConstructDestroysTheObject) {
    g_destroyed = 0;
    g_finalConstructResult = E_OUTOFMEMORY;
    CComObject<Widget>* object = reinterpret_cast<CComObject<Widget>*>(1);
    EXPECT_EQ(CComObject<Widget>::CreateInstance(&object), E_OUTOFMEMORY);
    EXPECT_EQ(object, nullptr);
    g_finalConstructResult = S_OK;
    EXPECT_EQ(g_destroyed, 1);
}

TEST(AtlObject, SiteIsKeptAndAnswered) {
    CComQIPtr<IObjectWithSite> withSite(MakeWidget());
    CComPtr<IUnknown> site;
    EXPECT_EQ(withSite->GetSite(IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(withSite->GetSite(IID_IUnknown, reinterpret_cast<void**>(&site)), E_FAIL);
    EXPECT_EQ(site.p, nullptr);

    CComPtr<IFirst> other = MakeWidget();
    ASSERT_EQ(withSite->SetSite(other), S_OK);
    CComPtr<ISecond> asSecond;
    EXPECT_EQ(withSite->GetSite(IID_ISecond, reinterpret_cast<void**>(&asSecond)), S_OK);
    EXPECT_TRUE(asSecond.IsEqualObject(other));
    EXPECT_EQ(withSite->GetSite(IID_IConnectionPoint, reinterpret_cast<void**>(&site)),
              E_NOINTERFACE);
    ASSERT_EQ(withSite->SetSite(nullptr), S_OK);
    EXPECT_EQ(withSite->GetSite(IID_IUnknown, reinterpret_cast<void**>(&site)), E_FAIL);
}

TEST(AtlObject, DualInterfaceWithoutMembers) {
    CComPtr<IFirst> first = MakeWidget();
    UINT count = 0;
    EXPECT_EQ(first->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 1u);
    CComPtr<ITypeInfo> info;
    ASSERT_EQ(first->GetTypeInfo(0, 0, &info), S_OK);
    TYPEATTR* attr = nullptr;
    ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
    EXPECT_EQ(attr->guid, IID_IFirst);
    info->ReleaseTypeAttr(attr);
    info.Release();
    EXPECT_EQ(first->GetTypeInfo(1, 0, &info), DISP_E_BADINDEX);
    EXPECT_EQ(info.p, nullptr);
    char16_t name[] = u"Anything";
    LPOLESTR names[] = {name};
    DISPID id = 0;
    EXPECT_EQ(first->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(first->Invoke(1, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
}

// An event source with one connection point, as a browser is for its events.
struct IEvents : IDispatch {};
KESTRO_DEFINE_IID(IEvents, "22222222-3333-4444-5555-666666666666");

class Source : public CComObjectRootEx<CComSingleThreadModel>, public IConnectionPointContainer {
public:
    BEGIN_COM_MAP(Source)
    COM_INTERFACE_ENTRY(IConnectionPointContainer)
    END_COM_MAP()

    STDMETHODIMP FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
        if (!point) return E_POINTER;
        *point = nullptr;
        if (iid != IID_IEvents) return CONNECT_E_NOCONNECTION;
        *point = &m_point;
        m_point.AddRef();
        return S_OK;
    }
    ConnectionPoint m_point{this, IID_IEvents};
};

class Listener : public IDispEventImpl<0, Listener, &IID_IEvents> {
public:
    BEGIN_SINK_MAP(Listener)
    SINK_ENTRY_EX(0, IID_IEvents, 250, Navigating)
    SINK_ENTRY_EX(0, IID_IEvents, 259, Completed)
    SINK_ENTRY_EX(0, IID_IEvents, 251, NewWindow)
    END_SINK_MAP()

    virtual HRESULT Navigating(IDispatch* browser, VARIANT* url, VARIANT_BOOL* cancel) {
        browserSeen = browser;
        urlSeen = url->vt == VT_BSTR ? url->bstrVal : u"";
        *cancel = VARIANT_TRUE;
        ++calls;
        return S_OK;
    }
    virtual HRESULT Completed(IDispatch* browser, VARIANT* url) {
        browserSeen = browser;
        urlSeen = url->bstrVal;
        ++calls;
        return S_OK;
    }
    virtual HRESULT NewWindow(IDispatch** out, VARIANT_BOOL* cancel) {
        *out = nullptr;
        *cancel = VARIANT_FALSE;
        ++calls;
        return S_OK;
    }

    IDispatch* browserSeen = nullptr;
    std::u16string urlSeen;
    int calls = 0;
};

class SinkMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        CComObject<Source>* raw = nullptr;
        ASSERT_EQ(CComObject<Source>::CreateInstance(&raw), S_OK);
        source = raw;
        sourceObject = raw;
    }
    CComPtr<IConnectionPointContainer> source;
    CComObject<Source>* sourceObject = nullptr;
    Listener listener;
};

TEST_F(SinkMapTest, AdviseKeepsACookieAndUnadviseResetsIt) {
    EXPECT_EQ(listener.m_dwEventCookie, 0xFEFEFEFEu);
    ASSERT_EQ(listener.DispEventAdvise(source), S_OK);
    EXPECT_NE(listener.m_dwEventCookie, 0xFEFEFEFEu);
    EXPECT_EQ(sourceObject->m_point.SinkCount(), 1u);
    EXPECT_EQ(listener.DispEventUnadvise(source), S_OK);
    EXPECT_EQ(listener.m_dwEventCookie, 0xFEFEFEFEu);
    EXPECT_EQ(sourceObject->m_point.SinkCount(), 0u);
    EXPECT_EQ(sourceObject->m_point.Unadvise(12345), CONNECT_E_NOCONNECTION);
}

TEST_F(SinkMapTest, EventsReachTheBoundHandlersWithTheirArguments) {
    ASSERT_EQ(listener.DispEventAdvise(source), S_OK);
    CComPtr<IFirst> browser = MakeWidget();

    // BeforeNavigate2 shape: arguments last first, by reference as a browser sends them.
    CComVariant url(u"http://example.com/a");
    VARIANT_BOOL cancel = VARIANT_FALSE;
    VARIANT args[3];
    for (auto& a : args) VariantInit(&a);
    args[2].vt = VT_DISPATCH;
    args[2].pdispVal = browser;
    args[1].vt = VT_BYREF | VT_VARIANT;
    args[1].pvarVal = &url;
    args[0].vt = VT_BYREF | VT_BOOL;
    args[0].pboolVal = &cancel;
    DISPPARAMS params{args, nullptr, 3, 0};
    sourceObject->m_point.Fire(250, &params);
    EXPECT_EQ(listener.calls, 1);
    EXPECT_EQ(listener.browserSeen, static_cast<IDispatch*>(browser.p));
    EXPECT_EQ(listener.urlSeen, u"http://example.com/a");
    EXPECT_EQ(cancel, VARIANT_TRUE);  // the handler's answer reaches the source

    // An event the map does not bind is accepted and ignored.
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    sourceObject->m_point.Fire(253, &none);
    EXPECT_EQ(listener.calls, 1);

    // A wrong argument count does not reach the handler.
    DISPPARAMS tooFew{args, nullptr, 1, 0};
    sourceObject->m_point.Fire(259, &tooFew);
    EXPECT_EQ(listener.calls, 1);

    // NewWindow2 shape: an out pointer by reference.
    IDispatch* newWindow = browser;
    VARIANT nwArgs[2];
    VariantInit(&nwArgs[0]);
    VariantInit(&nwArgs[1]);
    nwArgs[1].vt = VT_BYREF | VT_DISPATCH;
    nwArgs[1].ppdispVal = &newWindow;
    nwArgs[0].vt = VT_BYREF | VT_BOOL;
    nwArgs[0].pboolVal = &cancel;
    DISPPARAMS nwParams{nwArgs, nullptr, 2, 0};
    sourceObject->m_point.Fire(251, &nwParams);
    EXPECT_EQ(listener.calls, 2);
    EXPECT_EQ(newWindow, nullptr);
    EXPECT_EQ(cancel, VARIANT_FALSE);
    listener.DispEventUnadvise(source);
}

TEST_F(SinkMapTest, EachSinkGetsItsOwnCookie) {
    ASSERT_EQ(listener.DispEventAdvise(source), S_OK);
    DWORD second = 0;
    class Probe : public IDispEventImpl<0, Probe, &IID_IEvents>{
        public : BEGIN_SINK_MAP(Probe) END_SINK_MAP()
    } probe;
    ASSERT_EQ(probe.DispEventAdvise(source), S_OK);
    second = probe.m_dwEventCookie;
    EXPECT_NE(second, listener.m_dwEventCookie);
    EXPECT_EQ(sourceObject->m_point.SinkCount(), 2u);
    probe.DispEventUnadvise(source);
    listener.DispEventUnadvise(source);
    EXPECT_EQ(sourceObject->m_point.SinkCount(), 0u);
}

// The add-on's document sink: a dual object whose QueryInterface answers
// its own interface and IDispatch, never the event interface.
class DualSink : public CComObjectRootEx<CComSingleThreadModel>,
                 public IDispatchImpl<IFirst, &IID_IFirst> {
public:
    BEGIN_COM_MAP(DualSink)
    COM_INTERFACE_ENTRY(IFirst)
    COM_INTERFACE_ENTRY(IDispatch)
    END_COM_MAP()

    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, tagVARIANT*, EXCEPINFO*,
                        UINT*) override {
        events.push_back(id);
        return S_OK;
    }
    std::vector<DISPID> events;
};

TEST_F(SinkMapTest, ADispinterfacePointTakesASinkThatAnswersOnlyIDispatch) {
    CComObject<DualSink>* raw = nullptr;
    ASSERT_EQ(CComObject<DualSink>::CreateInstance(&raw), S_OK);
    CComPtr<IFirst> sink(raw);
    DWORD cookie = 0;
    ASSERT_EQ(sourceObject->m_point.Advise(sink, &cookie), S_OK);
    EXPECT_NE(cookie, 0u);
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    sourceObject->m_point.Fire(1001, &none);
    EXPECT_EQ(raw->events, std::vector<DISPID>{1001});
    EXPECT_EQ(sourceObject->m_point.Unadvise(cookie), S_OK);

    // An object with neither the event interface nor IDispatch is refused.
    cookie = 77;
    EXPECT_EQ(sourceObject->m_point.Advise(source, &cookie), CONNECT_E_CANNOTCONNECT);
    EXPECT_EQ(cookie, 0u);
    EXPECT_EQ(sourceObject->m_point.SinkCount(), 0u);
}

}  // namespace
