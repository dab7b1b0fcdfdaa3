// A browser session with the add-on loaded into every new window: the
// add-on object is built into the test program (so tests can read its
// members), its resources are the test program's own, and its program
// folder is a temporary one holding a fresh login.dat, a stand-in for the
// login data tool and the help page. The settings are registered as the
// library's registration writes them.
#pragma once

#include <string>

#include "addon/edit_html.h"
#include "addon/farrow_module.h"
#include "platform/win/registry.h"
#include "platform/win/text.h"
#include "tests/platform/browser/browser_test_support.h"

namespace addon_test {

// The registered settings (the add-on's key under HKEY_LOCAL_MACHINE).
void SetSetting(const char16_t* name, DWORD value);
void SetSettingText(const char16_t* name, const std::u16string& value);
bool Setting(const char16_t* name, DWORD& value);
void SetBrowserVersion(const std::u16string& version);

class AddOnTest : public browser_test::BrowserTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The add-on object of a window; null when it has none.
    CEditHtml* AddOnOf(browser::BrowserWindow& window);
    // A page of the bundled demo site, as a file: URL or on http://demo.test/.
    std::u16string DemoFile(const std::string& page) const;
    static std::u16string DemoWeb(const std::string& page);
    browser::BrowserWindow& OpenDemo(const std::string& page) { return Open(DemoFile(page)); }

    std::string ProgramFolder() const { return m_program.path(); }
    // The labels of the add-on's submenu in the last menu shown, each
    // written "Label" or "Label (disabled)"; empty without the submenu.
    std::vector<std::string> AddOnMenu();
    // The labels of the browser's own part of the last menu shown.
    std::vector<std::string> BrowserMenu();

private:
    testing_support::TempDir m_program;
};

}  // namespace addon_test
