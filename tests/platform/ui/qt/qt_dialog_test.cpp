#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTableWidget>
#include <QTest>

#include "platform/ui/atl_ddx.h"
#include "platform/ui/atl_dialog.h"
#include "platform/ui/dialog.h"
#include "platform/ui/message_box.h"
#include "platform/ui/qt/qt_backend.h"
#include "tests/platform/ui/qt/ui_driver.h"
#include "tests/platform/ui/test_resources.h"

using ui_testing::DialogWidget;
using ui_testing::ShownDialog;
using ui_testing::ShownMessageBox;
using ui_testing::UiDriver;

namespace {

// A dialog written as the system's dialogs are, over the test resource.
class CTestDlg : public CDialogImpl<CTestDlg>, public CWinDataExchange<CTestDlg> {
public:
    enum { IDD = ui_testing::kControlsDialog };

    BEGIN_MSG_MAP(CTestDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_HSCROLL, OnScroll)
    MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_HANDLER(201, BN_CLICKED, OnAppendClicked)
    COMMAND_HANDLER(214, CBN_SELCHANGE, OnEncodingChanged)
    END_MSG_MAP()

    BEGIN_DDX_MAP(CTestDlg)
    DDX_CHECK(201, m_bAppendUrl)
    DDX_RADIO(206, m_nChoice)
    DDX_TEXT(217, m_strFolder)
    DDX_INT(220, m_nMaxLinks)
    END_DDX_MAP()

    int m_bAppendUrl = 1;
    int m_nChoice = 0;
    std::u16string m_strFolder = u"/tmp/start";
    int m_nMaxLinks = 0;
    int m_appendClicks = 0;
    int m_refusals = 0;
    std::u16string m_encoding;
    int m_slidTo = -1;
    int m_doubleClickedRow = -2;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        DoDataExchange(FALSE);
        for (const char16_t* name : {u"beta", u"alpha"})
            SendDlgItemMessage(214, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        SendDlgItemMessage(215, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
        LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH, 0, 120, const_cast<LPWSTR>(u"Site"), 0, 0};
        SendDlgItemMessage(230, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.pszText = const_cast<LPWSTR>(u"example.com");
        SendDlgItemMessage(230, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        CenterWindow(GetParent());
        return TRUE;
    }
    LRESULT OnOK(WORD, WORD, HWND, BOOL&) {
        if (!DoDataExchange(TRUE)) return 0;
        if (m_nMaxLinks <= 0) {
            ++m_refusals;
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
    LRESULT OnEncodingChanged(WORD, WORD, HWND, BOOL&) {
        char16_t text[32] = {};
        const auto index = SendDlgItemMessage(214, CB_GETCURSEL, 0, 0);
        SendDlgItemMessage(214, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
        m_encoding = text;
        return 0;
    }
    LRESULT OnScroll(UINT, WPARAM, LPARAM, BOOL&) {
        m_slidTo = static_cast<int>(SendDlgItemMessage(215, TBM_GETPOS, 0, 0));
        return 0;
    }
    LRESULT OnNotify(UINT, WPARAM, LPARAM lParam, BOOL&) {
        const auto* activate = reinterpret_cast<const NMITEMACTIVATE*>(lParam);
        if (activate->hdr.code == static_cast<UINT>(NM_DBLCLK))
            m_doubleClickedRow = activate->iItem;
        return 0;
    }
};

// Ends with IDOK only; Escape and the close box are ignored.
class CPlainDlg : public CDialogImpl<CPlainDlg> {
public:
    enum { IDD = ui_testing::kPlainDialog };
    BEGIN_MSG_MAP(CPlainDlg)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()
    bool m_endOnCancel = false;
    int m_cancels = 0;

private:
    LRESULT OnOK(WORD, WORD id, HWND, BOOL&) {
        EndDialog(id);
        return 0;
    }
    LRESULT OnCancel(WORD, WORD id, HWND, BOOL&) {
        ++m_cancels;
        if (m_endOnCancel) EndDialog(id);
        return 0;
    }
};

class QtDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::unique_ptr<UiBackend> backend = CreateQtBackend();
        ASSERT_TRUE(backend);
        InstallUiBackend(std::move(backend));
    }
    void TearDown() override { InstallUiBackend(nullptr); }
};

void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

TEST_F(QtDialogTest, WidgetsDriveTheRealHandlersAndExchangeData) {
    CTestDlg dialog;
    QString shownFolder;
    bool choiceShown = false, comboSorted = false, disabledShown = false;
    QString refusal;
    UiDriver driver;
    driver.Then(ShownDialog, [&] {
        auto* folder = DialogWidget<QLineEdit>(217);
        shownFolder = folder->text();
        comboSorted = DialogWidget<QComboBox>(214)->itemText(0) == "alpha";
        disabledShown = !DialogWidget<QPushButton>(232)->isEnabled();
        Type(folder, "/home/docs");
        Type(DialogWidget<QLineEdit>(220), "x0");  // digits only: "0"
        QTest::mouseClick(DialogWidget<QRadioButton>(207), Qt::LeftButton);
        choiceShown = !DialogWidget<QRadioButton>(206)->isChecked();
        QTest::mouseClick(DialogWidget<QCheckBox>(201), Qt::LeftButton);
        QTest::keyClick(DialogWidget<QComboBox>(214), Qt::Key_Down);
        QTest::keyClick(DialogWidget<QSlider>(215), Qt::Key_Right);
        auto* list = DialogWidget<QTableWidget>(230);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           QPoint(4, list->viewport()->height() - 4));
        QTest::keyClick(ShownDialog(), Qt::Key_Return);  // refused: a message box, then open
    });
    driver.Then(ShownMessageBox, [&] {
        refusal = ShownMessageBox()->text();
        EXPECT_EQ(ShownMessageBox()->icon(), QMessageBox::Critical);
        ShownMessageBox()->button(QMessageBox::Ok)->click();
    });
    driver.Then(ShownDialog, [&] {
        Type(DialogWidget<QLineEdit>(220), "12");
        QTest::keyClick(ShownDialog(), Qt::Key_Return);
    });
    driver.Start();

    EXPECT_EQ(dialog.DoModal(), IDOK) << driver.Failure();
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(shownFolder, "/tmp/start");
    EXPECT_TRUE(comboSorted);
    EXPECT_TRUE(disabledShown);
    EXPECT_TRUE(choiceShown);
    EXPECT_EQ(refusal, "Invalid maximum number of links!");
    EXPECT_EQ(dialog.m_refusals, 1);
    EXPECT_EQ(dialog.m_strFolder, u"/home/docs");
    EXPECT_EQ(dialog.m_nMaxLinks, 12);
    EXPECT_EQ(dialog.m_nChoice, 1);
    EXPECT_EQ(dialog.m_bAppendUrl, 0);
    EXPECT_EQ(dialog.m_appendClicks, 1);
    EXPECT_EQ(dialog.m_encoding, u"alpha");
    EXPECT_EQ(dialog.m_slidTo, 1);
    EXPECT_EQ(dialog.m_doubleClickedRow, -1);
}

TEST_F(QtDialogTest, EscapeAndTheCloseBoxAskTheHandlersForCancel) {
    CPlainDlg dialog;
    bool openAfterEscape = false;
    UiDriver driver;
    driver.Then(ShownDialog, [&] {
        QTest::keyClick(ShownDialog(), Qt::Key_Escape);
        ShownDialog()->close();
        openAfterEscape = ShownDialog() && ShownDialog()->isVisible();
        QTest::keyClick(ShownDialog(), Qt::Key_Return);  // no default button: IDOK
    });
    driver.Start();
    EXPECT_EQ(dialog.DoModal(), IDOK) << driver.Failure();
    EXPECT_TRUE(openAfterEscape);
    EXPECT_EQ(dialog.m_cancels, 2);

    CPlainDlg cancelled;
    cancelled.m_endOnCancel = true;
    UiDriver escape;
    escape.Then(ShownDialog, [] { QTest::keyClick(ShownDialog(), Qt::Key_Escape); });
    escape.Start();
    EXPECT_EQ(cancelled.DoModal(), IDCANCEL) << escape.Failure();
}

TEST_F(QtDialogTest, MessageBoxShowsItsIconAndButtonsAndReturnsTheOneClicked) {
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    UiDriver driver;
    driver.Then(ShownMessageBox, [&] {
        buttons = ShownMessageBox()->standardButtons();
        icon = ShownMessageBox()->icon();
        ShownMessageBox()->button(QMessageBox::No)->click();
    });
    driver.Start();
    EXPECT_EQ(MessageBoxW(nullptr, u"Save changes?", u"Kestro", MB_YESNOCANCEL | MB_ICONQUESTION),
              IDNO);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(icon, QMessageBox::Question);
}

// The voice list of the speech setting dialog: a sorted drop-down combo box.
struct VoiceChoice {
    std::u16string text;
    LRESULT selected = 0;
};

INT_PTR VoiceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        for (const char16_t* voice : {u"Microsoft Sam", u"Microsoft Mary", u"Anna"})
            SendDlgItemMessageW(dialog, 240, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(voice));
        SendDlgItemMessageW(dialog, 240, CB_SETCURSEL, 0, 0);
        return TRUE;
    }
    if (message != WM_COMMAND || LOWORD(wParam) != IDOK) return FALSE;
    auto* choice = reinterpret_cast<VoiceChoice*>(GetWindowLongPtrW(dialog, DWLP_USER));
    char16_t text[64] = {};
    GetDlgItemTextW(dialog, 240, text, 64);
    choice->text = text;
    choice->selected = SendDlgItemMessageW(dialog, 240, CB_GETCURSEL, 0, 0);
    EndDialog(dialog, IDOK);
    return TRUE;
}

TEST_F(QtDialogTest, DropDownComboBoxIsEditableAndTypingLeavesNoItemSelected) {
    bool editable = false;
    QString shownFirst, shownPicked;
    LRESULT pickedInModel = -2;
    UiDriver driver;
    driver.Then(ShownDialog, [&] {
        auto* combo = DialogWidget<QComboBox>(240);
        editable = combo->isEditable();
        shownFirst = combo->lineEdit()->text();
        QTest::keyClick(combo, Qt::Key_Down);  // the next item, as a user picks it
        shownPicked = combo->lineEdit()->text();
        pickedInModel = SendDlgItemMessageW(ShownDialog()->handle(), 240, CB_GETCURSEL, 0, 0);
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), "Zira");
        QTest::keyClick(ShownDialog(), Qt::Key_Return);
    });
    driver.Start();
    VoiceChoice choice;
    EXPECT_EQ(DialogBoxParamW(nullptr, MAKEINTRESOURCEW(ui_testing::kControlsDialog), nullptr,
                              VoiceDialogProc, reinterpret_cast<LPARAM>(&choice)),
              IDOK)
        << driver.Failure();
    EXPECT_TRUE(editable);
    EXPECT_EQ(shownFirst, "Anna");
    EXPECT_EQ(shownPicked, "Microsoft Mary");
    EXPECT_EQ(pickedInModel, 1);
    EXPECT_EQ(choice.text, u"Zira");
    EXPECT_EQ(choice.selected, CB_ERR);
}

// A report list as the login input dialog sets it up: a column of width 0
// that keeps a secret for the dialog, grid lines and full-row select.
INT_PTR ReportListDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto extended = static_cast<DWORD>(lParam);
        SendDlgItemMessageW(dialog, 230, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extended);
        const std::pair<const char16_t*, int> columns[] = {
            {u"Domain Name", 120}, {u"Hiden", 0}, {u"Password", 60}};
        for (int i = 0; i < 3; ++i) {
            LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH,
                             0,
                             columns[i].second,
                             const_cast<LPWSTR>(columns[i].first),
                             0,
                             i};
            SendDlgItemMessageW(dialog, 230, LVM_INSERTCOLUMNW, i,
                                reinterpret_cast<LPARAM>(&column));
        }
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.pszText = const_cast<LPWSTR>(u"example.com");
        SendDlgItemMessageW(dialog, 230, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<LPWSTR>(u"clear password");
        SendDlgItemMessageW(dialog, 230, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
        item.state = item.stateMask = LVIS_SELECTED;
        SendDlgItemMessageW(dialog, 230, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

struct ShownReportList {
    std::vector<int> widths;
    bool grid = false;
    bool wholeRowSelected = false;
    QString hiddenText;
};

ShownReportList ShowReportList(DWORD extendedStyle) {
    ShownReportList shown;
    UiDriver driver;
    driver.Then(ShownDialog, [&] {
        auto* list = DialogWidget<QTableWidget>(230);
        for (int i = 0; i < list->columnCount(); ++i) shown.widths.push_back(list->columnWidth(i));
        shown.grid = list->showGrid();
        shown.wholeRowSelected = list->selectionModel()->isSelected(list->model()->index(0, 2));
        shown.hiddenText = list->item(0, 1) ? list->item(0, 1)->text() : QString();
        QTest::keyClick(ShownDialog(), Qt::Key_Escape);
    });
    driver.Start();
    DialogBoxParamW(nullptr, MAKEINTRESOURCEW(ui_testing::kControlsDialog), nullptr,
                    ReportListDialogProc, static_cast<LPARAM>(extendedStyle));
    EXPECT_TRUE(driver.Finished()) << driver.Failure();
    return shown;
}

TEST_F(QtDialogTest, AReportListShowsItsColumnWidthsGridAndRowSelectionAsSet) {
    const ShownReportList set = ShowReportList(LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    EXPECT_EQ(set.widths, (std::vector<int>{120, 0, 60}));
    EXPECT_EQ(set.hiddenText, "clear password");  // kept, never on screen
    EXPECT_TRUE(set.grid);
    EXPECT_TRUE(set.wholeRowSelected);

    const ShownReportList plain = ShowReportList(0);
    EXPECT_EQ(plain.widths, (std::vector<int>{120, 0, 60}));
    EXPECT_FALSE(plain.grid);
    EXPECT_FALSE(plain.wholeRowSelected);
}

TEST_F(QtDialogTest, AMultiLineButtonWrapsItsLabelToItsWidth) {
    QString label;
    UiDriver driver;
    driver.Then(ShownDialog, [&] {
        label = DialogWidget<QPushButton>(233)->text();
        QTest::keyClick(ShownDialog(), Qt::Key_Escape);
    });
    driver.Start();
    CTestDlg dialog;
    dialog.DoModal(nullptr);
    EXPECT_EQ(label, "Import Login\nData...") << driver.Failure();
}

}  // namespace
