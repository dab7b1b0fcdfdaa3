// The voice tokens of the category, in the engine's fixed order.
#pragma once

#include "platform/com/atl_com.h"
#include "platform/sapi/sapi.h"
#include "platform/sapi/speech_engine.h"

class SpTokenEnumerator : public CComObjectRootEx<CComMultiThreadModel>,
                          public IEnumSpObjectTokens {
public:
    BEGIN_COM_MAP(SpTokenEnumerator)
    COM_INTERFACE_ENTRY(IEnumSpObjectTokens)
    END_COM_MAP()

    static HRESULT Create(const SpeechEngine& engine, IEnumSpObjectTokens** tokens);

    STDMETHODIMP Next(ULONG count, ISpObjectToken** tokens, ULONG* fetched) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP GetCount(ULONG* count) override;

private:
    const std::vector<EngineVoice>* m_voices = nullptr;
    std::atomic<std::size_t> m_next{0};
};
