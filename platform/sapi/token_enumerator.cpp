#include "platform/sapi/token_enumerator.h"

#include "platform/sapi/object_token.h"

HRESULT SpTokenEnumerator::Create(const SpeechEngine& engine, IEnumSpObjectTokens** tokens) {
    if (!tokens) return E_POINTER;
    *tokens = nullptr;
    CComObject<SpTokenEnumerator>* object = nullptr;
    if (HRESULT hr = CComObject<SpTokenEnumerator>::CreateInstance(&object); FAILED(hr)) return hr;
    object->m_voices = &engine.Voices();
    object->AddRef();
    *tokens = object;
    return S_OK;
}

STDMETHODIMP SpTokenEnumerator::Next(ULONG count, ISpObjectToken** tokens, ULONG* fetched) {
    if (!tokens || (!fetched && count != 1)) return E_POINTER;
    ULONG done = 0;
    while (done < count) {
        const std::size_t index = m_next.fetch_add(1);
        if (index >= m_voices->size()) {
            m_next = m_voices->size();
            break;
        }
        if (HRESULT hr = SpObjectToken::Create((*m_voices)[index], &tokens[done]); FAILED(hr)) {
            while (done > 0) tokens[--done]->Release();
            if (fetched) *fetched = 0;
            return hr;
        }
        ++done;
    }
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
}

STDMETHODIMP SpTokenEnumerator::Reset() {
    m_next = 0;
    return S_OK;
}

STDMETHODIMP SpTokenEnumerator::GetCount(ULONG* count) {
    if (!count) return E_POINTER;
    *count = static_cast<ULONG>(m_voices->size());
    return S_OK;
}
