#include "tests/addon/built_in_add_on.h"

#include <algorithm>

#include "addon/farrow_module.h"
#include "platform/browser/browser_session.h"
#include "platform/com/class_factory.h"
#include "platform/win/last_error.h"
#include "platform/win/module.h"
#include "platform/win/text.h"

namespace built_in_add_on {

namespace {

class TrackedEditHtml : public CEditHtml {
public:
    TrackedEditHtml() { LiveAddOns().push_back(this); }
    ~TrackedEditHtml() { std::erase(LiveAddOns(), this); }
};

HRESULT CreateAddOn(IUnknown* outer, REFIID iid, void** out) {
    return CComCreator<TrackedEditHtml>::CreateInstance(outer, iid, out);
}

KESTRO_BUILTIN_CLASS(TrackedEditHtml, CLSID_EditHtml, CreateAddOn);

}  // namespace

std::vector<CEditHtml*>& LiveAddOns() {
    static std::vector<CEditHtml*> live;
    return live;
}

CEditHtml* AddOnOf(browser::BrowserWindow& window) {
    for (CEditHtml* addOn : LiveAddOns())
        if (addOn->m_spWebBrowser && addOn->m_spWebBrowser.IsEqualObject(window.Browser()))
            return addOn;
    return nullptr;
}

bool Register(const std::string& programFolder) {
    _AtlModule.m_hInstance = ModuleFromAddress(reinterpret_cast<const void*>(&CreateAddOn));
    return _AtlModule.RecordPaths(u"/usr/bin/kestro-host",
                                  Utf8ToUtf16(programFolder) + u"/Farrow.so") &&
           _AtlModule.UpdateRegistryFromResource(101, TRUE) == S_OK &&
           browser::WriteBrowserVersion() == ERROR_SUCCESS;
}

}  // namespace built_in_add_on
