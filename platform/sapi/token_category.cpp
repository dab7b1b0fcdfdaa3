#include "platform/sapi/token_category.h"

#include "platform/sapi/token_enumerator.h"
#include "platform/win/text.h"

HRESULT SpObjectTokenCategory::FinalConstruct() {
    m_engine = SpeechEngine::Instance();
    return m_engine ? S_OK : E_FAIL;
}

STDMETHODIMP SpObjectTokenCategory::SetId(LPCWSTR id, BOOL) {
    if (!id) return E_INVALIDARG;
    if (m_hasId) return SPERR_ALREADY_INITIALIZED;
    // The voices exist already; creating other categories is not offered.
    if (!WideEqualsNoCase(id, SPCAT_VOICES)) return SPERR_NOT_FOUND;
    m_hasId = true;
    return S_OK;
}

STDMETHODIMP SpObjectTokenCategory::EnumTokens(LPCWSTR requiredAttributes,
                                               LPCWSTR optionalAttributes,
                                               IEnumSpObjectTokens** tokens) {
    if (!tokens) return E_POINTER;
    *tokens = nullptr;
    if (!m_hasId) return SPERR_UNINITIALIZED;
    if ((requiredAttributes && *requiredAttributes) || (optionalAttributes && *optionalAttributes))
        return E_NOTIMPL;
    return SpTokenEnumerator::Create(*m_engine, tokens);
}
