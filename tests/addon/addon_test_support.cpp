#include "tests/addon/addon_test_support.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "addon/farrow_module.h"
#include "addon/settings.h"
#include "platform/browser/browser_settings.h"
#include "platform/win/text.h"
#include "tests/addon/built_in_add_on.h"

namespace addon_test {

namespace {

std::string Describe(const MenuItemSnapshot& item) {
    if (item.separator) return "-";
    const std::string label = Utf16ToUtf8(PlainMenuLabel(item.label));
    return item.enabled ? label : label + " (disabled)";
}

HKEY OpenSettings(REGSAM access) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, access, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        ADD_FAILURE() << "the settings key cannot be opened";
    return key;
}

}  // namespace

void AddOnTest::SetUp() {
    BrowserTest::SetUp();
    const std::string folder = m_program.path();
    const std::string database = folder + "/login.dat";
    const std::string build =
        std::string(KESTRO_MAKE_LOGIN_DB) + " " + KESTRO_LOGIN_SQL + " " + database;
    ASSERT_EQ(0, std::system(build.c_str()));
    testing_support::WriteFile(folder + "/Quillet", "#!/bin/sh\nexit 0\n");
    chmod((folder + "/Quillet").c_str(), 0755);
    testing_support::WriteFile(folder + "/KestroHelp.htm", "<title>Kestro Help</title>\n");

    ASSERT_TRUE(built_in_add_on::Register(folder));
}

void AddOnTest::TearDown() {
    BrowserTest::TearDown();
    EXPECT_TRUE(built_in_add_on::LiveAddOns().empty()) << "an add-on object outlived its window";
    built_in_add_on::LiveAddOns().clear();
}

CEditHtml* AddOnTest::AddOnOf(browser::BrowserWindow& window) {
    return built_in_add_on::AddOnOf(window);
}

std::u16string AddOnTest::DemoFile(const std::string& page) const {
    return u"file://" + Utf8ToUtf16(std::string(KESTRO_DEMO_SITE) + "/" + page);
}

std::u16string AddOnTest::DemoWeb(const std::string& page) {
    browser::BrowserSession::Instance().MapHost(u"demo.test", Utf8ToUtf16(KESTRO_DEMO_SITE));
    return u"http://demo.test/" + Utf8ToUtf16(page);
}

void SetSetting(const char16_t* name, DWORD value) {
    HKEY key = OpenSettings(KEY_WRITE);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void SetSettingText(const char16_t* name, const std::u16string& value) {
    HKEY key = OpenSettings(KEY_WRITE);
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);
}

bool Setting(const char16_t* name, DWORD& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = sizeof value;
    const LONG found =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return found == ERROR_SUCCESS && type == REG_DWORD;
}

void SetBrowserVersion(const std::u16string& version) {
    ASSERT_EQ(ERROR_SUCCESS, browser::WriteBrowserVersion(version));
}

std::vector<std::string> AddOnTest::AddOnMenu() {
    std::vector<std::string> labels;
    const std::vector<MenuItemSnapshot>* menu = Ui().LastMenu();
    if (!menu) return labels;
    for (const MenuItemSnapshot& item : *menu)
        if (item.popup && PlainMenuLabel(item.label) == u"Kestro")
            for (const MenuItemSnapshot& entry : item.submenu) labels.push_back(Describe(entry));
    return labels;
}

std::vector<std::string> AddOnTest::BrowserMenu() {
    std::vector<std::string> labels;
    const std::vector<MenuItemSnapshot>* menu = Ui().LastMenu();
    if (!menu) return labels;
    for (const MenuItemSnapshot& item : *menu)
        if (!(item.popup && PlainMenuLabel(item.label) == u"Kestro"))
            labels.push_back(Describe(item));
    return labels;
}

}  // namespace addon_test
