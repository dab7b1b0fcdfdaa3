// The token category object. Only the voices category exists; enumerating
// before SetId is SPERR_UNINITIALIZED, a second SetId
// SPERR_ALREADY_INITIALIZED, another category SPERR_NOT_FOUND. Creating it
// fails when the speech engine cannot start.
#pragma once

#include "platform/com/atl_com.h"
#include "platform/sapi/sapi.h"
#include "platform/sapi/speech_engine.h"

class SpObjectTokenCategory : public CComObjectRootEx<CComMultiThreadModel>,
                              public ISpObjectTokenCategory {
public:
    BEGIN_COM_MAP(SpObjectTokenCategory)
    COM_INTERFACE_ENTRY(ISpObjectTokenCategory)
    END_COM_MAP()

    HRESULT FinalConstruct();

    STDMETHODIMP SetId(LPCWSTR id, BOOL createIfNotExist) override;
    STDMETHODIMP EnumTokens(LPCWSTR requiredAttributes, LPCWSTR optionalAttributes,
                            IEnumSpObjectTokens** tokens) override;

private:
    SpeechEngine* m_engine = nullptr;
    std::atomic<bool> m_hasId{false};
};
