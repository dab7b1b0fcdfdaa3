#include "platform/com/atl_module.h"

#include "platform/com/registrar.h"

CAtlModule* _pAtlModule = nullptr;

namespace {
thread_local LCID t_threadLocale = 0x0400;  // LOCALE_USER_DEFAULT
}

LCID GetThreadLocale() {
    return t_threadLocale;
}

BOOL SetThreadLocale(LCID locale) {
    t_threadLocale = locale;
    return TRUE;
}

CAtlModule::CAtlModule() {
    _pAtlModule = this;
}

CAtlModule::~CAtlModule() {
    if (_pAtlModule == this) _pAtlModule = nullptr;
}

HRESULT CAtlModule::AddCommonRGSReplacements(RegistryReplacements&) {
    return S_OK;
}

HRESULT CAtlModule::UpdateRegistryFromResource(UINT id, BOOL bRegister,
                                               const RegistryReplacements& extra) {
    CRegObject registrar;
    RegistryReplacements replacements;
    if (HRESULT hr = AddCommonRGSReplacements(replacements); FAILED(hr)) return hr;
    for (const auto& [key, value] : replacements) registrar.AddReplacement(key, value);
    for (const auto& [key, value] : extra) registrar.AddReplacement(key, value);
    return bRegister ? registrar.ResourceRegister(m_hInstance, id, u"REGISTRY")
                     : registrar.ResourceUnregister(m_hInstance, id, u"REGISTRY");
}
