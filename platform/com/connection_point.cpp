#include "platform/com/connection_point.h"

#include <algorithm>

namespace {

HRESULT FindPoint(IUnknown* source, REFIID iid, CComPtr<IConnectionPoint>& point) {
    CComPtr<IConnectionPointContainer> container;
    HRESULT hr =
        source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    if (FAILED(hr)) return hr;
    return container->FindConnectionPoint(iid, &point);
}

}  // namespace

HRESULT AtlAdvise(IUnknown* source, IUnknown* sink, REFIID iid, DWORD* cookie) {
    if (!source || !sink || !cookie) return E_INVALIDARG;
    CComPtr<IConnectionPoint> point;
    const HRESULT hr = FindPoint(source, iid, point);
    return FAILED(hr) ? hr : point->Advise(sink, cookie);
}

HRESULT AtlUnadvise(IUnknown* source, REFIID iid, DWORD cookie) {
    if (!source) return E_INVALIDARG;
    CComPtr<IConnectionPoint> point;
    const HRESULT hr = FindPoint(source, iid, point);
    return FAILED(hr) ? hr : point->Unadvise(cookie);
}

ConnectionPoint::ConnectionPoint(IConnectionPointContainer* container, REFIID iid)
    : m_container(container), m_iid(iid) {}

ConnectionPoint::~ConnectionPoint() = default;

STDMETHODIMP ConnectionPoint::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *ppv = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

// The point lives as long as its container; references to it keep the
// container alive instead.
STDMETHODIMP_(ULONG) ConnectionPoint::AddRef() {
    return m_container->AddRef();
}
STDMETHODIMP_(ULONG) ConnectionPoint::Release() {
    return m_container->Release();
}

STDMETHODIMP ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = m_iid;
    return S_OK;
}

STDMETHODIMP ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = m_container;
    m_container->AddRef();
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    // Every point here fires a dispinterface, which a sink may implement as
    // plain IDispatch: the event interface when the sink has it, else that.
    CComPtr<IDispatch> dispatch;
    if (FAILED(sink->QueryInterface(m_iid, reinterpret_cast<void**>(&dispatch))) &&
        FAILED(sink->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
        return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = m_nextCookie++;
    m_connections.push_back({*cookie, dispatch});
    return S_OK;
}

STDMETHODIMP ConnectionPoint::Unadvise(DWORD cookie) {
    auto it = std::find_if(m_connections.begin(), m_connections.end(),
                           [cookie](const Connection& c) { return c.cookie == cookie; });
    if (it == m_connections.end()) return CONNECT_E_NOCONNECTION;
    // Released after removal: the sink may call back into this point.
    CComPtr<IDispatch> sink = std::move(it->sink);
    m_connections.erase(it);
    return S_OK;
}

std::size_t ConnectionPoint::SinkCount() const {
    return m_connections.size();
}

void ConnectionPoint::Fire(DISPID id, DISPPARAMS* params) {
    std::vector<DWORD> cookies;
    for (const Connection& c : m_connections) cookies.push_back(c.cookie);
    for (DWORD cookie : cookies) {
        auto it = std::find_if(m_connections.begin(), m_connections.end(),
                               [cookie](const Connection& c) { return c.cookie == cookie; });
        if (it == m_connections.end()) continue;
        CComPtr<IDispatch> sink = it->sink;  // held across the call
        sink->Invoke(id, IID_NULL, 0x0400, DISPATCH_METHOD, params, nullptr, nullptr, nullptr);
    }
}
