// A voice token: the identifier of one engine voice and its description.
// The description is the default value and the value named for US English
// ("409"): the engine's voice names are English. Other value names are
// SPERR_NOT_FOUND.
#pragma once

#include "platform/com/atl_com.h"
#include "platform/sapi/sapi.h"
#include "platform/sapi/speech_engine.h"

class SpObjectToken : public CComObjectRootEx<CComMultiThreadModel>, public ISpObjectToken {
public:
    BEGIN_COM_MAP(SpObjectToken)
    COM_INTERFACE_ENTRY(ISpObjectToken)
    END_COM_MAP()

    // A new token for the voice, with one reference.
    static HRESULT Create(const EngineVoice& voice, ISpObjectToken** token);

    STDMETHODIMP GetStringValue(LPCWSTR name, LPWSTR* value) override;
    STDMETHODIMP GetId(LPWSTR* id) override;

private:
    const EngineVoice* m_voice = nullptr;
};
