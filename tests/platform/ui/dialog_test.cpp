#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/ui/atl_ddx.h"
#include "platform/ui/atl_dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/user_acts.h"
#include "platform/win/last_error.h"
#include "tests/platform/ui/scripted_ui.h"
#include "tests/platform/ui/test_resources.h"

using ui_testing::RunDialog;
using ui_testing::ScriptedUi;

namespace {

// A dialog written as the system's dialogs are: a message map and a data
// exchange map over the test resource.
class CTestDlg : public CDialogImpl<CTestDlg>, public CWinDataExchange<CTestDlg> {
public:
    enum { IDD = ui_testing::kControlsDialog };

    BEGIN_MSG_MAP(CTestDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_HANDLER(201, BN_CLICKED, OnAppendClicked)
    END_MSG_MAP()

    BEGIN_DDX_MAP(CTestDlg)
    DDX_CHECK(201, m_bAppendUrl)
    DDX_RADIO(206, m_nChoice)
    DDX_TEXT(217, m_strFolder)
    DDX_INT(220, m_nMaxLinks)
    DDX_CHECK(208, m_bUnicode)
    END_DDX_MAP()

    int m_bAppendUrl = 0;
    int m_nChoice = 0;
    std::u16string m_strFolder;
    int m_nMaxLinks = 0;
    int m_bUnicode = 0;
    int m_appendClicks = 0;
    LPARAM m_init = 0;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM lParam, BOOL&) {
        m_init = lParam;
        DoDataExchange(FALSE);
        ::ShowWindow(GetDlgItem(221), SW_HIDE);
        CenterWindow(GetParent());
        return TRUE;
    }
    LRESULT OnOK(WORD, WORD, HWND, BOOL&) {
        if (!DoDataExchange(TRUE)) return 0;
        if (m_nMaxLinks <= 0) {
            MessageBoxW(m_hWnd, u"Invalid maximum number of links!", u"Kestro - Error",
                        MB_ICONERROR);
            return 0;
        }
        EndDialog(IDOK);
        return 0;
    }
    LRESULT OnCancel(WORD, WORD id, HWND, BOOL&) {
        EndDialog(id);
        return 0;
    }
    LRESULT OnAppendClicked(WORD, WORD, HWND, BOOL&) {
        ++m_appendClicks;
        return 0;
    }
};

const ControlSnapshot* FindControl(const DialogSnapshot& dialog, int id) {
    for (const ControlSnapshot& control : dialog.controls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

}  // namespace

TEST(DialogExchange, LoadsControlsAndSavesAnswersBack) {
    ScriptedUi ui;
    ui.Answer(u"dialog \"Kestro - Test controls\"");
    ui.Answer(u"untick 201");
    ui.Answer(u"tick 207");
    ui.Answer(u"set 217 \"/home/user/My Texts\"");
    ui.Answer(u"set 220 25");
    ui.Answer(u"press 1");
    CTestDlg dialog;
    dialog.m_bAppendUrl = 1;
    dialog.m_strFolder = u"/tmp";
    dialog.m_nMaxLinks = -15;
    const HWND owner = CreatePlainWindow(u"Page", nullptr, nullptr);
    EXPECT_EQ(dialog.DoModal(owner, 77), IDOK) << ui.backend().Failure();
    EXPECT_EQ(dialog.m_init, 77);
    EXPECT_EQ(dialog.m_bAppendUrl, 0);
    EXPECT_EQ(dialog.m_nChoice, 1);
    EXPECT_EQ(dialog.m_strFolder, u"/home/user/My Texts");
    EXPECT_EQ(dialog.m_nMaxLinks, 25);
    EXPECT_EQ(dialog.m_appendClicks, 1);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetActiveWindow(), owner);

    // What was shown is the dialog as WM_INITDIALOG left it.
    ASSERT_EQ(ui.backend().Shown().size(), 1u);
    const DialogSnapshot& shown = ui.backend().Shown()[0].dialog;
    EXPECT_EQ(shown.title, u"Kestro - Test controls");
    EXPECT_EQ(FindControl(shown, 201)->check, BST_CHECKED);
    EXPECT_EQ(FindControl(shown, 206)->check, BST_CHECKED);
    EXPECT_EQ(FindControl(shown, 217)->text, u"/tmp");
    EXPECT_EQ(FindControl(shown, 220)->text, u"-15");
    EXPECT_FALSE(FindControl(shown, 232)->enabled);
    EXPECT_FALSE(FindControl(shown, 221)->visible);
    EXPECT_EQ(FindControl(shown, 201)->text, u"Append URL\nto saved content");
    EXPECT_TRUE(ui.backend().Unused().empty());
    DestroyWindow(owner);
}

TEST(DialogExchange, RefusedOkKeepsTheDialogOpenForTheNextAnswers) {
    ScriptedUi ui;
    ui.Answer(u"dialog \"Kestro - Test controls\"");
    ui.Answer(u"set 220 0");
    ui.Answer(u"press 1");
    ui.Answer(u"message \"Kestro - Error\" \"Invalid maximum number of links!\" OK");
    ui.Answer(u"set 220 1000");
    ui.Answer(u"press 1");
    CTestDlg dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), IDOK) << ui.backend().Failure();
    EXPECT_EQ(dialog.m_nMaxLinks, 1000);
    ASSERT_EQ(ui.backend().Shown().size(), 2u);
    EXPECT_EQ(ui.backend().Shown()[1].message.type, MB_ICONERROR);
}

TEST(DialogExchange, TextThatIsNotANumberStopsTheExchangeWithABeep) {
    ScriptedUi ui;
    ui.Answer(u"dialog \"Kestro - Test controls\"");
    ui.Answer(u"tick 208");
    ui.Answer(u"set 220 \"\"");
    ui.Answer(u"press 1");  // 220 is empty: not a number
    ui.Answer(u"press 2");
    CTestDlg dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), IDCANCEL) << ui.backend().Failure();
    EXPECT_EQ(ui.backend().Beeps(), 1);
    EXPECT_EQ(dialog.m_bUnicode, 0);  // after the failing control: not read
}

TEST(DialogKeys, EnterPressesTheDefaultButtonAndEscapeSendsCancel) {
    ScriptedUi ui;
    ui.Answer(u"dialog \"Kestro - Test controls\"");
    ui.Answer(u"set 220 3");
    ui.Key(DialogKey::Enter);
    CTestDlg entered;
    EXPECT_EQ(entered.DoModal(nullptr), IDOK) << ui.backend().Failure();

    ui.Answer(u"dialog \"Kestro - Test controls\"");
    ui.Key(DialogKey::Escape);
    CTestDlg escaped;
    EXPECT_EQ(escaped.DoModal(nullptr), IDCANCEL) << ui.backend().Failure();
}

TEST(DialogKeys, EscapeWithoutACancelHandlerLeavesTheDialogOpen) {
    ScriptedUi ui;
    ui.Answer(u"dialog \"About Kestro\"");
    ui.Key(DialogKey::Escape);
    ui.Answer(u"press 1");
    std::vector<int> commands;
    const INT_PTR result =
        RunDialog(ui_testing::kPlainDialog, nullptr, nullptr,
                  [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
                      if (message != WM_COMMAND) return FALSE;
                      commands.push_back(LOWORD(wParam));
                      if (LOWORD(wParam) != IDOK) return FALSE;
                      EndDialog(dialog, IDOK);
                      return TRUE;
                  });
    EXPECT_EQ(result, IDOK) << ui.backend().Failure();
    EXPECT_EQ(commands, (std::vector<int>{IDCANCEL, IDOK}));
}

TEST(DialogKeys, EnterOnADisabledDefaultButtonBeeps) {
    ScriptedUi ui;
    ui.Answer(u"dialog \"About Kestro\"");
    ui.Key(DialogKey::Enter);
    ui.Answer(u"press 1");
    int oks = 0;
    RunDialog(
        ui_testing::kPlainDialog, nullptr,
        [](HWND dialog) { EnableWindow(GetDlgItem(dialog, IDOK), FALSE); },
        [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
            if (message == WM_COMMAND && LOWORD(wParam) == IDOK) ++oks, EndDialog(dialog, IDOK);
            return message == WM_COMMAND;
        });
    EXPECT_EQ(ui.backend().Beeps(), 1);
    EXPECT_EQ(oks, 0);  // and the press fails: the button is disabled
    EXPECT_NE(ui.backend().Failure().find("control 1 is disabled"), std::string::npos);
}

TEST(DialogItems, GetDlgItemIntReadsSignedNumbersOnly) {
    ScriptedUi ui;
    RunDialog(ui_testing::kControlsDialog, nullptr, [](HWND dialog) {
        struct Case {
            const char16_t* text;
            BOOL isSigned;
            UINT value;
            BOOL translated;
        };
        const Case cases[] = {
            {u"12", TRUE, 12, TRUE},
            {u"-3", TRUE, static_cast<UINT>(-3), TRUE},
            {u"", TRUE, 0, FALSE},
            {u"x", TRUE, 0, FALSE},
            {u" 7 ", TRUE, 7, TRUE},
            {u"12x", TRUE, 0, FALSE},
            {u"-3", FALSE, 0, FALSE},
            {u"-", TRUE, 0, FALSE},
            {u"2147483648", TRUE, 0, FALSE},
            {u"-2147483648", TRUE, 0x80000000u, TRUE},
            {u"4294967295", FALSE, 4294967295u, TRUE},
        };
        for (const Case& c : cases) {
            SetDlgItemTextW(dialog, 217, c.text);
            BOOL translated = !c.translated;
            EXPECT_EQ(GetDlgItemInt(dialog, 217, &translated, c.isSigned), c.value);
            EXPECT_EQ(translated, c.translated);
        }
        SetDlgItemInt(dialog, 217, static_cast<UINT>(-42), TRUE);
        char16_t text[8];
        EXPECT_EQ(GetDlgItemTextW(dialog, 217, text, 3), 2u);  // truncated to the buffer
        EXPECT_EQ(std::u16string(text), u"-4");
        EXPECT_EQ(TypeText(dialog, 221, u"x"), "control 221 is read-only");
        SendDlgItemMessageW(dialog, 221, EM_SETREADONLY, FALSE, 0);
        EXPECT_EQ(TypeText(dialog, 221, u"x"), "");
        BOOL translated = TRUE;
        EXPECT_EQ(GetDlgItemInt(dialog, 999, &translated, TRUE), 0u);
        EXPECT_FALSE(translated);
        EndDialog(dialog, IDCANCEL);
    });
    EXPECT_TRUE(ui.backend().Shown().empty());  // ended before it was shown
}

TEST(DialogItems, ComboAndListBoxInsertSortedAndKeepItemData) {
    ScriptedUi ui;
    ui.Answer(u"dialog \"Kestro - Test controls\"");
    ui.Answer(u"pick 214 \"Microsoft Mary\"");
    ui.Answer(u"pick 225 (Default)");
    ui.Answer(u"press 1");
    std::vector<WORD> notifications;
    LRESULT comboData = 0, listData = 0;
    RunDialog(
        ui_testing::kControlsDialog, nullptr,
        [](HWND dialog) {
            const char16_t* voices[] = {u"Microsoft Sam", u"Microsoft Mary", u"Anna",
                                        u"microsoft mike"};
            LPARAM token = 100;
            for (const char16_t* voice : voices) {
                const LRESULT at = SendDlgItemMessageW(dialog, 214, CB_ADDSTRING, 0,
                                                       reinterpret_cast<LPARAM>(voice));
                SendDlgItemMessageW(dialog, 214, CB_SETITEMDATA, at, token++);
            }
            EXPECT_EQ(
                SendDlgItemMessageW(dialog, 214, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"B")),
                1);
            EXPECT_EQ(SendDlgItemMessageW(dialog, 214, CB_SETCURSEL, 99, 0), CB_ERR);
            EXPECT_EQ(SendDlgItemMessageW(dialog, 214, CB_GETCURSEL, 0, 0), CB_ERR);
            const char16_t* accounts[] = {u"bob", u"alice", u"(Default)"};
            for (int i = 0; i < 3; ++i) {
                const LRESULT at = SendDlgItemMessageW(dialog, 225, LB_ADDSTRING, 0,
                                                       reinterpret_cast<LPARAM>(accounts[i]));
                SendDlgItemMessageW(dialog, 225, LB_SETITEMDATA, at, i);
            }
        },
        [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
            if (message != WM_COMMAND) return FALSE;
            notifications.push_back(HIWORD(wParam));
            if (LOWORD(wParam) == IDOK) {
                const LRESULT combo = SendDlgItemMessageW(dialog, 214, CB_GETCURSEL, 0, 0);
                comboData = SendDlgItemMessageW(dialog, 214, CB_GETITEMDATA, combo, 0);
                const LRESULT list = SendDlgItemMessageW(dialog, 225, LB_GETCURSEL, 0, 0);
                listData = SendDlgItemMessageW(dialog, 225, LB_GETITEMDATA, list, 0);
                EndDialog(dialog, IDOK);
            }
            return TRUE;
        });
    ASSERT_TRUE(ui.backend().Failure().empty()) << ui.backend().Failure();
    const DialogSnapshot& shown = ui.backend().Shown()[0].dialog;
    EXPECT_EQ(FindControl(shown, 214)->items,
              (std::vector<std::u16string>{u"Anna", u"B", u"Microsoft Mary", u"microsoft mike",
                                           u"Microsoft Sam"}));
    EXPECT_EQ(FindControl(shown, 225)->items,
              (std::vector<std::u16string>{u"(Default)", u"alice", u"bob"}));
    EXPECT_EQ(comboData, 101);  // Microsoft Mary's token
    EXPECT_EQ(listData, 2);
    EXPECT_EQ(notifications, (std::vector<WORD>{CBN_SELCHANGE, LBN_SELCHANGE, BN_CLICKED}));
}

std::u16string WindowText(HWND window) {
    char16_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

LRESULT AddItem(HWND combo, const char16_t* text) {
    return SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

// The edit part of a drop-down combo box and its list, as Windows keeps
// them together; a drop-down list's text is its selected item.
TEST(DialogItems, DropDownComboBoxEditTextFollowsTheSelectionAndTypingClearsIt) {
    ScriptedUi ui;
    RunDialog(ui_testing::kControlsDialog, nullptr, [](HWND dialog) {
        const HWND combo = GetDlgItem(dialog, 240);
        EXPECT_EQ(AddItem(combo, u"Microsoft Sam"), 0);
        EXPECT_EQ(AddItem(combo, u"Anna"), 0);
        EXPECT_EQ(AddItem(combo, u"Microsoft Mary"), 1);
        EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
        EXPECT_EQ(SendMessageW(combo, CB_SETITEMDATA, 1, 0x5150), 0);
        EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 1, 0), 0x5150);
        EXPECT_EQ(SendMessageW(combo, CB_GETITEMDATA, 3, 0), CB_ERR);
        EXPECT_EQ(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(u"microsoft MARY")),
                  1);
        EXPECT_EQ(SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(u"Microsoft")),
                  CB_ERR);

        EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 1, 0), 1);
        EXPECT_EQ(WindowText(combo), u"Microsoft Mary");
        EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXTLEN, 1, 0), 14);
        char16_t item[32] = {};
        EXPECT_EQ(SendMessageW(combo, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(item)), 13);
        EXPECT_EQ(std::u16string(item), u"Microsoft Sam");

        // Setting the text leaves no item selected, even an item's text.
        EXPECT_TRUE(SetWindowTextW(combo, u"Anna"));
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
        EXPECT_EQ(WindowText(combo), u"Anna");
        // The count, or -1, selects nothing and clears the edit part.
        for (const WPARAM none : {WPARAM{3}, static_cast<WPARAM>(-1)}) {
            SendMessageW(combo, CB_SETCURSEL, 0, 0);
            EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, none, 0), CB_ERR);
            EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
            EXPECT_EQ(WindowText(combo), u"");
        }

        const HWND list = GetDlgItem(dialog, 214);
        AddItem(list, u"Only");
        SendMessageW(list, CB_SETCURSEL, 0, 0);
        EXPECT_EQ(WindowText(list), u"Only");
        EXPECT_EQ(SendMessageW(list, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Other")), CB_ERR);
        EXPECT_EQ(WindowText(list), u"Only");
        SendMessageW(list, CB_RESETCONTENT, 0, 0);
        EXPECT_EQ(WindowText(list), u"");
        EndDialog(dialog, IDOK);
    });
}

TEST(DialogItems, PickAndSetAnswerADropDownComboBox) {
    ScriptedUi ui;
    ui.Answer(u"dialog \"Kestro - Test controls\"");
    ui.Answer(u"pick 240 Microsoft Mary");
    ui.Answer(u"press 218");
    ui.Answer(u"set 240 Zira");
    ui.Answer(u"press 218");
    ui.Answer(u"set 214 Zira");
    std::vector<std::pair<std::u16string, int>> seen;
    std::vector<WORD> notifications;
    RunDialog(
        ui_testing::kControlsDialog, nullptr,
        [](HWND dialog) {
            for (const char16_t* voice : {u"Microsoft Sam", u"Microsoft Mary", u"Anna"})
                AddItem(GetDlgItem(dialog, 240), voice);
            AddItem(GetDlgItem(dialog, 214), u"Zira");
        },
        [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
            if (message != WM_COMMAND) return FALSE;
            if (LOWORD(wParam) == 240) notifications.push_back(HIWORD(wParam));
            if (LOWORD(wParam) == 218) {
                const ControlSnapshot combo = SnapshotControl(GetDlgItem(dialog, 240));
                seen.emplace_back(combo.text, combo.selected);
                EXPECT_EQ(combo.items.size(), 3u);
            }
            return TRUE;
        });
    EXPECT_EQ(seen,
              (std::vector<std::pair<std::u16string, int>>{{u"Microsoft Mary", 1}, {u"Zira", -1}}));
    EXPECT_EQ(notifications, (std::vector<WORD>{CBN_SELCHANGE, CBN_EDITUPDATE, CBN_EDITCHANGE}));
    EXPECT_NE(ui.backend().Failure().find("set 214 Zira: control 214 is a drop-down list"),
              std::string::npos)
        << ui.backend().Failure();
}

TEST(DialogItems, TrackbarKeepsItsPositionInRange) {
    ScriptedUi ui;
    ui.Answer(u"dialog \"Kestro - Test controls\"");
    ui.Answer(u"slide 215 -5");
    ui.Answer(u"slide 215 11");
    LRESULT position = 0;
    RunDialog(
        ui_testing::kControlsDialog, nullptr,
        [](HWND dialog) {
            SendDlgItemMessageW(dialog, 215, TBM_SETRANGE, TRUE,
                                MAKELPARAM(static_cast<WORD>(-10), 10));
            SendDlgItemMessageW(dialog, 215, TBM_SETPOS, TRUE, 40);
            EXPECT_EQ(SendDlgItemMessageW(dialog, 215, TBM_GETPOS, 0, 0), 10);
            SendDlgItemMessageW(dialog, 215, TBM_SETPAGESIZE, 0, 5);
            EXPECT_EQ(SendDlgItemMessageW(dialog, 215, TBM_GETPAGESIZE, 0, 0), 5);
        },
        [&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
            if (message != WM_HSCROLL) return FALSE;
            position = SendDlgItemMessageW(dialog, 215, TBM_GETPOS, 0, 0);
            return TRUE;
        });
    EXPECT_EQ(position, -5);
    EXPECT_NE(ui.backend().Failure().find("ranges from -10 to 10"), std::string::npos);
}

namespace {

int CALLBACK CompareByData(LPARAM a, LPARAM b, LPARAM descending) {
    return descending ? static_cast<int>(b - a) : static_cast<int>(a - b);
}

void AddRow(HWND dialog, int id, const char16_t* text, const char16_t* second, LPARAM data) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = 1000;
    item.pszText = const_cast<LPWSTR>(text);
    item.lParam = data;
    const auto at = static_cast<int>(
        SendDlgItemMessageW(dialog, id, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    item.iSubItem = 1;
    item.pszText = const_cast<LPWSTR>(second);
    SendDlgItemMessageW(dialog, id, LVM_SETITEMTEXTW, at, reinterpret_cast<LPARAM>(&item));
}

int FindRow(HWND dialog, int id, const char16_t* text) {
    LVFINDINFOW find{LVFI_STRING, text, 0};
    return static_cast<int>(SendDlgItemMessageW(dialog, id, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                                reinterpret_cast<LPARAM>(&find)));
}

}  // namespace

TEST(DialogListView, FindsWithoutRegardToCaseSortsAndReportsDoubleClicks) {
    ScriptedUi ui;
    ui.Answer(u"dialog \"Kestro - Test controls\"");
    ui.Answer(u"dblrow 230 1");
    ui.Answer(u"dblrow 230 -1");
    ui.Answer(u"row 230 2");
    ui.Answer(u"press 1");
    std::vector<int> doubleClicked;
    int selectedAtOk = -2;
    RunDialog(
        ui_testing::kControlsDialog, nullptr,
        [](HWND dialog) {
            LVCOLUMNW column{
                LVCF_TEXT | LVCF_WIDTH, 0, 100, const_cast<LPWSTR>(u"Domain Name"), 0, 0};
            SendDlgItemMessageW(dialog, 230, LVM_INSERTCOLUMNW, 0,
                                reinterpret_cast<LPARAM>(&column));
            column.pszText = const_cast<LPWSTR>(u"Login Name");
            SendDlgItemMessageW(dialog, 230, LVM_INSERTCOLUMNW, 1,
                                reinterpret_cast<LPARAM>(&column));
            AddRow(dialog, 230, u"zeta.org", u"z", 0);
            AddRow(dialog, 230, u"Alpha.com", u"a", 1);
            AddRow(dialog, 230, u"mid.net", u"m", 2);
            EXPECT_EQ(FindRow(dialog, 230, u"ALPHA.COM"), 0);
            EXPECT_EQ(FindRow(dialog, 230, u"mid.net"), 1);
            EXPECT_EQ(FindRow(dialog, 230, u"mid"), -1);  // whole text only
            SendDlgItemMessageW(dialog, 230, LVM_DELETEITEM, 1, 0);
            EXPECT_EQ(FindRow(dialog, 230, u"zeta.org"), 1);
            AddRow(dialog, 230, u"mid.net", u"m", 2);

            AddRow(dialog, 231, u"first", u"", 3);
            AddRow(dialog, 231, u"second", u"", 1);
            AddRow(dialog, 231, u"third", u"", 2);
            SendDlgItemMessageW(dialog, 231, LVM_SORTITEMS, TRUE,
                                reinterpret_cast<LPARAM>(&CompareByData));
            EXPECT_EQ(FindRow(dialog, 231, u"first"), 0);
            EXPECT_EQ(FindRow(dialog, 231, u"second"), 2);
        },
        [&](HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
            if (message == WM_NOTIFY) {
                const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
                EXPECT_EQ(activate->hdr.idFrom, 230u);
                if (activate->hdr.code == static_cast<UINT>(NM_DBLCLK))
                    doubleClicked.push_back(activate->iItem);
                return TRUE;
            }
            if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
                selectedAtOk = static_cast<int>(SendDlgItemMessageW(
                    dialog, 230, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            return FALSE;
        });
    ASSERT_TRUE(ui.backend().Failure().empty()) << ui.backend().Failure();
    EXPECT_EQ(doubleClicked, (std::vector<int>{1, -1}));
    EXPECT_EQ(selectedAtOk, 2);
    const ControlSnapshot* list = FindControl(ui.backend().Shown()[0].dialog, 230);
    EXPECT_EQ(list->columns, (std::vector<std::u16string>{u"Domain Name", u"Login Name"}));
    ASSERT_EQ(list->rows.size(), 3u);
    EXPECT_EQ(list->rows[1], (std::vector<std::u16string>{u"mid.net", u"m"}));
}

TEST(DialogAnswers, AnswersThatDoNotFitFailNamingTheControl) {
    struct Case {
        const char16_t* answer;
        const char* reason;
    };
    const Case cases[] = {
        {u"set 220 12a", "control 220 takes digits only"},
        {u"set 221 x", "control 221 is hidden"},
        {u"set 999 x", "the dialog has no control 999"},
        {u"press 232", "control 232 is disabled"},
        {u"pick 214 Nobody", "control 214 has no item \"Nobody\""},
        {u"untick 206", "control 206 is a radio button"},
        {u"tick 217", "control 217 cannot take this answer"},
        {u"message \"a\" \"b\" OK", "the next answer is line 2: message"},
    };
    for (const Case& c : cases) {
        ScriptedUi ui;
        ui.Answer(u"dialog \"Kestro - Test controls\"");
        ui.Answer(c.answer);
        CTestDlg dialog;
        EXPECT_EQ(dialog.DoModal(nullptr), -1);
        EXPECT_NE(ui.backend().Failure().find(c.reason), std::string::npos)
            << ui.backend().Failure();
        EXPECT_NE(ui.backend().Failure().find("dialog \"Kestro - Test controls\""),
                  std::string::npos);
    }
}

TEST(DialogAnswers, ADialogWithoutAnswerFailsAndSoDoesEverythingAfterIt) {
    ScriptedUi ui;
    CTestDlg dialog;
    EXPECT_EQ(dialog.DoModal(nullptr), -1);
    EXPECT_NE(ui.backend().Failure().find("no answer left"), std::string::npos);
    ui.Answer(u"message \"t\" \"x\" OK");
    EXPECT_EQ(MessageBoxW(nullptr, u"x", u"t", MB_OK), 0);

    ScriptedUi other;
    other.Answer(u"dialog \"Another title\"");
    EXPECT_EQ(dialog.DoModal(nullptr), -1);
    EXPECT_NE(other.backend().Failure().find("the next answer is line 1: dialog \"Another title\""),
              std::string::npos);
}

TEST(DialogTemplates, AMissingTemplateFailsWithTheResourceError) {
    ScriptedUi ui;
    EXPECT_EQ(RunDialog(999, nullptr, nullptr), -1);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
}
