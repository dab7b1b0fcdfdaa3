// The settings as windows load and save them: the registration's first
// values, values of the wrong type or shape, long texts, a hive that cannot
// be written, and the value the add-on never touches.
#include <sys/stat.h>

#include "addon/settings.h"
#include "tests/addon/addon_test_support.h"

namespace addon_test {

namespace {

class Settings : public AddOnTest {
protected:
    CEditHtml* FirstWindow() {
        browser::BrowserWindow& window = OpenDemo("welcome.html");
        return AddOnOf(window);
    }
    static void SetRaw(const char16_t* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_WRITE, &key));
        RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size);
        RegCloseKey(key);
    }
    static std::string HiveFile() {
        return std::string(std::getenv("KESTRO_HOME")) + "/HKEY_LOCAL_MACHINE.reg";
    }
};

TEST_F(Settings, RegistrationDefaultsReachTheFirstWindow) {
    CEditHtml* addOn = FirstWindow();
    ASSERT_NE(nullptr, addOn);
    EXPECT_EQ(1u, addOn->m_bShowSavedText);
    EXPECT_EQ(1u, addOn->m_bAppendUrl);
    EXPECT_EQ(0u, addOn->m_bAppendFile);
    EXPECT_EQ(0u, addOn->m_bOpenNewWindow);
    EXPECT_EQ(0u, addOn->m_bOpenPdfNewWindow);
    EXPECT_EQ(1u, addOn->m_bDblClickClose);
    EXPECT_EQ(15u, addOn->m_nMaxLinks);
    EXPECT_EQ(1u, addOn->m_bAskSaveLogin);
    EXPECT_EQ(u"", addOn->m_strLastFileName);
    EXPECT_EQ(u"", addOn->m_strDefaultSaveFolder);
}

TEST_F(Settings, WithoutTheKeyTheInMemoryDefaultsStay) {
    browser::BrowserWindow& window = OpenDemo("welcome.html");
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKey);
    CComPtr<IObjectWithSite> object;
    ASSERT_EQ(S_OK, CComCreator<CEditHtml>::CreateInstance(nullptr, IID_IObjectWithSite,
                                                           reinterpret_cast<void**>(&object)));
    ASSERT_EQ(S_OK, object->SetSite(window.Browser()));
    auto* addOn = static_cast<CEditHtml*>(object.p);
    EXPECT_EQ(0u, addOn->m_nMaxLinks);
    EXPECT_EQ(0u, addOn->m_bAppendUrl);
    EXPECT_EQ(0u, addOn->m_bDblClickClose);
    EXPECT_EQ(1u, addOn->m_bAskSaveLogin);
    window.Close();
    object->SetSite(nullptr);
}

TEST_F(Settings, ValuesOfTheWrongTypeAreIgnoredAndReplacedOnSave) {
    const std::u16string twenty = u"20";
    SetRaw(u"Maximum Links", REG_SZ, twenty.c_str(), 6);
    const DWORD number = 5;
    SetRaw(u"Default Save Folder", REG_DWORD, &number, sizeof number);
    const unsigned char longer[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    SetRaw(u"Append URL", REG_DWORD, longer, sizeof longer);
    CEditHtml* addOn = FirstWindow();
    ASSERT_NE(nullptr, addOn);
    EXPECT_EQ(0u, addOn->m_nMaxLinks);
    EXPECT_EQ(u"", addOn->m_strDefaultSaveFolder);
    EXPECT_EQ(0u, addOn->m_bAppendUrl);
    addOn->LoadSaveSettings(false);
    DWORD links = 99;
    EXPECT_TRUE(Setting(u"Maximum Links", links));
    EXPECT_EQ(0u, links);
}

TEST_F(Settings, SaveFolderTextsAreTakenWholeWhenWellFormed) {
    for (const std::size_t length : {259u, 260u, 1000u}) {
        const std::u16string folder = u"/" + std::u16string(length - 1, u'f');
        SetSettingText(u"Default Save Folder", folder);
        CEditHtml* addOn = FirstWindow();
        ASSERT_NE(nullptr, addOn);
        EXPECT_EQ(folder, addOn->m_strDefaultSaveFolder) << length;
    }
    // Without its terminating null the value is not taken.
    const std::u16string unterminated = u"/data";
    SetRaw(u"Default Save Folder", REG_SZ, unterminated.data(), 10);
    CEditHtml* addOn = FirstWindow();
    ASSERT_NE(nullptr, addOn);
    EXPECT_EQ(u"", addOn->m_strDefaultSaveFolder);
}

TEST_F(Settings, AHiveThatCannotBeWrittenKeepsChangesInMemoryOnly) {
    CEditHtml* addOn = FirstWindow();
    ASSERT_NE(nullptr, addOn);
    ASSERT_EQ(0, chmod(HiveFile().c_str(), 0444));
    addOn->m_nMaxLinks = 40;
    addOn->LoadSaveSettings(false);
    EXPECT_EQ(40u, addOn->m_nMaxLinks);
    DWORD links = 0;
    EXPECT_TRUE(Setting(u"Maximum Links", links));
    EXPECT_EQ(15u, links);
    chmod(HiveFile().c_str(), 0644);
}

TEST_F(Settings, RecordUrlsIsNeverReadOrWritten) {
    SetSetting(u"Record URLs", 7);
    CEditHtml* addOn = FirstWindow();
    ASSERT_NE(nullptr, addOn);
    addOn->LoadSaveSettings(false);
    DWORD record = 0;
    EXPECT_TRUE(Setting(u"Record URLs", record));
    EXPECT_EQ(7u, record);
}

TEST_F(Settings, AChangeFromOneWindowKeepsWhatAnotherSavedMeanwhile) {
    CEditHtml* first = FirstWindow();
    CEditHtml* second = FirstWindow();
    ASSERT_TRUE(first && second);
    second->ChangeSettings([&] { second->m_bOpenPdfNewWindow = 1; });
    first->ChangeSettings([&] { first->m_nMaxLinks = 3; });
    DWORD pdf = 0, links = 0;
    EXPECT_TRUE(Setting(u"Open PDF New Window", pdf));
    EXPECT_TRUE(Setting(u"Maximum Links", links));
    EXPECT_EQ(1u, pdf);
    EXPECT_EQ(3u, links);
}

}  // namespace

}  // namespace addon_test
