#include "platform/sapi/object_token.h"

#include "platform/sapi/task_string.h"
#include "platform/win/text.h"

HRESULT SpObjectToken::Create(const EngineVoice& voice, ISpObjectToken** token) {
    if (!token) return E_POINTER;
    *token = nullptr;
    CComObject<SpObjectToken>* object = nullptr;
    if (HRESULT hr = CComObject<SpObjectToken>::CreateInstance(&object); FAILED(hr)) return hr;
    object->m_voice = &voice;
    object->AddRef();
    *token = object;
    return S_OK;
}

STDMETHODIMP SpObjectToken::GetStringValue(LPCWSTR name, LPWSTR* value) {
    if (!value) return E_POINTER;
    *value = nullptr;
    if (name && *name && !WideEqualsNoCase(name, u"409")) return SPERR_NOT_FOUND;
    return CopyToTaskString(m_voice->description, value);
}

STDMETHODIMP SpObjectToken::GetId(LPWSTR* id) {
    return CopyToTaskString(m_voice->tokenId, id);
}
