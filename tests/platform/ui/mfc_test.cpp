#include <gtest/gtest.h>

#include "platform/ui/mfc_app.h"
#include "platform/ui/mfc_dialog.h"
#include "platform/ui/mfc_file_dialog.h"
#include "platform/ui/mfc_list_ctrl.h"
#include "platform/ui/string_resource.h"
#include "platform/ui/user_acts.h"
#include "tests/platform/ui/scripted_ui.h"
#include "tests/platform/ui/test_resources.h"

using ui_testing::ScriptedUi;

namespace {

struct Param {
    std::u16string text;
    BOOL isSwitch;
    BOOL isLast;
    bool operator==(const Param&) const = default;
};

class RecordingCommandLine : public CCommandLineInfo {
public:
    void ParseParam(const char16_t* param, BOOL isSwitch, BOOL isLast) override {
        CCommandLineInfo::ParseParam(param, isSwitch, isLast);
        params.push_back({param, isSwitch, isLast});
    }
    std::vector<Param> params;
};

class TestApp : public CWinApp {
public:
    BOOL InitInstance() override {
        ParseCommandLine(commandLine);
        AfxMessageBox(u"Command line parameter", MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    int ExitInstance() override { return 5; }
    RecordingCommandLine commandLine;
};

}  // namespace

TEST(MfcApp, ParsesTheCommandLineAndEndsThroughExitInstance) {
    ScriptedUi ui;
    ui.Answer(u"message ui_test \"Command line parameter\" OK");
    TestApp app;
    char program[] = "ui_test", a[] = "/import", b[] = "-export", c[] = "/IMPORT", d[] = "import",
         e[] = "/?";
    char* argv[] = {program, a, b, c, d, e};
    EXPECT_EQ(AfxWinMain(6, argv), 5) << ui.backend().Failure();
    EXPECT_EQ(app.commandLine.params, (std::vector<Param>{{u"import", TRUE, FALSE},
                                                          {u"export", TRUE, FALSE},
                                                          {u"IMPORT", TRUE, FALSE},
                                                          {u"import", FALSE, FALSE},
                                                          {u"?", TRUE, TRUE}}));
    EXPECT_EQ(app.commandLine.m_strFileName, u"import");
    EXPECT_EQ(ui.backend().Shown().at(0).message.type, MB_OK | MB_ICONEXCLAMATION);
}

namespace {

class CInputDlg : public CDialog {
public:
    CInputDlg() : CDialog(ui_testing::kControlsDialog) {}

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        SetIcon(
            AfxGetApp() ? AfxGetApp()->LoadIcon(128) : LoadIconW(nullptr, MAKEINTRESOURCEW(128)),
            TRUE);
        m_list.SetExtendedStyle(m_list.GetExtendedStyle() | LVS_EX_FULLROWSELECT |
                                LVS_EX_GRIDLINES);
        m_list.InsertColumn(0, u"Domain Name", LVCFMT_LEFT, 100);
        m_list.InsertColumn(1, u"Login Name", LVCFMT_LEFT, 50);
        m_list.InsertItem(0, u"example.com");
        m_list.SetItemText(0, 1, u"joe");
        return TRUE;
    }
    void DoDataExchange(CDataExchange* pDX) override {
        CDialog::DoDataExchange(pDX);
        DDX_Text(pDX, 217, m_strDomain);
        DDX_Control(pDX, 231, m_list);
    }

    std::u16string m_strDomain;
    CListCtrl m_list;
    std::vector<std::u16string> added;

protected:
    void OnAddLogin() {
        UpdateData(TRUE);
        added.push_back(m_strDomain);
        const int at = m_list.InsertItem(m_list.GetItemCount(), m_strDomain.c_str());
        m_list.SetItemText(at, 1, u"new");
        m_strDomain.clear();
        UpdateData(FALSE);
    }
    void OnPickRow(NMHDR* header, LRESULT* result) {
        const int item = reinterpret_cast<NMITEMACTIVATE*>(header)->iItem;
        m_strDomain =
            item < 0 ? u"" : m_list.GetItemText(item, 0) + u"/" + m_list.GetItemText(item, 1);
        UpdateData(FALSE);
        *result = 0;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CInputDlg, CDialog)
ON_BN_CLICKED(IDOK, OnAddLogin)
ON_NOTIFY(NM_DBLCLK, 231, OnPickRow)
END_MESSAGE_MAP()

}  // namespace

TEST(MfcDialog, MessageMapHandlersRunAndCancelEndsTheDialog) {
    ScriptedUi ui;
    ui.Answer(u"dialog \"Kestro - Test controls\"");
    ui.Answer(u"set 217 site.org");
    ui.Key(DialogKey::Enter);  // the message map's IDOK handler, not OnOK
    ui.Answer(u"dblrow 231 0");
    ui.Key(DialogKey::Escape);
    CInputDlg dialog;
    dialog.m_strDomain = u"start";
    EXPECT_EQ(dialog.DoModal(), IDCANCEL) << ui.backend().Failure();
    EXPECT_EQ(dialog.added, (std::vector<std::u16string>{u"site.org"}));
    EXPECT_EQ(dialog.m_strDomain, u"example.com/joe");
    const DialogSnapshot& shown = ui.backend().Shown().at(0).dialog;
    for (const ControlSnapshot& control : shown.controls) {
        if (control.id == 217) {
            EXPECT_EQ(control.text, u"start");
        }
    }
}

TEST(MfcFileDialog, TurnsTheFilterAndDefaultExtensionIntoTheChooser) {
    ScriptedUi ui;
    ui.Answer(u"file /tmp/export");
    CFileDialog dialog(FALSE, u"dat", nullptr, OFN_OVERWRITEPROMPT, u"Data Files (*.dat)||");
    ASSERT_EQ(dialog.DoModal(), IDOK) << ui.backend().Failure();
    EXPECT_EQ(dialog.GetPathName(), u"/tmp/export.dat");
    const FileChooserRequest& shown = ui.backend().Shown().at(0).file;
    EXPECT_TRUE(shown.save);
    ASSERT_EQ(shown.filters.size(), 1u);
    EXPECT_EQ(shown.filters[0].first, u"Data Files (*.dat)");
    EXPECT_TRUE(shown.flags & OFN_OVERWRITEPROMPT);

    ui.Answer(u"file -");
    CFileDialog open(TRUE, u"dat", nullptr, OFN_OVERWRITEPROMPT, u"Data Files (*.dat)||");
    EXPECT_EQ(open.DoModal(), IDCANCEL);
    EXPECT_FALSE(ui.backend().Shown().at(1).file.save);
}
