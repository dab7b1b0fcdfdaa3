// Connection points: how a source object hands events to advised sinks.
#pragma once

#include <vector>

#include "platform/com/dispatch.h"

struct IConnectionPointContainer;

struct IConnectionPoint : IUnknown {
    STDMETHOD(GetConnectionInterface)(IID* iid) = 0;
    STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** container) = 0;
    STDMETHOD(Advise)(IUnknown* sink, DWORD* cookie) = 0;
    STDMETHOD(Unadvise)(DWORD cookie) = 0;
};
KESTRO_DEFINE_IID(IConnectionPoint, "B196B286-BAB4-101A-B69C-00AA00341D07");

struct IConnectionPointContainer : IUnknown {
    STDMETHOD(FindConnectionPoint)(REFIID iid, IConnectionPoint** point) = 0;
};
KESTRO_DEFINE_IID(IConnectionPointContainer, "B196B284-BAB4-101A-B69C-00AA00341D07");

// Connects a sink to the source's connection point for iid.
HRESULT AtlAdvise(IUnknown* source, IUnknown* sink, REFIID iid, DWORD* cookie);
HRESULT AtlUnadvise(IUnknown* source, REFIID iid, DWORD cookie);

// One connection point of a source object, for a dispinterface: keeps the
// sinks (queried at Advise for the event interface, else for IDispatch; a
// sink with neither is refused with CONNECT_E_CANNOTCONNECT) under cookies
// starting at 1, and fires dispatch events to them in advise order. The container owns it and is
// kept alive by it only while a caller holds the point.
class ConnectionPoint final : public IConnectionPoint {
public:
    ConnectionPoint(IConnectionPointContainer* container, REFIID iid);
    ~ConnectionPoint();

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP GetConnectionInterface(IID* iid) override;
    STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override;
    STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
    STDMETHODIMP Unadvise(DWORD cookie) override;

    const IID& Iid() const { return m_iid; }
    std::size_t SinkCount() const;
    // Calls Invoke on every sink advised when the call starts, in advise
    // order; a sink unadvised by an earlier sink's handler is skipped.
    void Fire(DISPID id, DISPPARAMS* params);

private:
    struct Connection {
        DWORD cookie;
        CComPtr<IDispatch> sink;
    };
    IConnectionPointContainer* m_container;  // not counted: the container owns this
    IID m_iid;
    std::vector<Connection> m_connections;
    DWORD m_nextCookie = 1;
};
