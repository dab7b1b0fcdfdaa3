#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "platform/ui/file_chooser.h"
#include "platform/ui/folder_chooser.h"
#include "platform/ui/qt/qt_backend.h"
#include "platform/win/text.h"
#include "tests/platform/ui/qt/ui_driver.h"
#include "tests/support/temp_home.h"

using ui_testing::ShownMessageBox;
using ui_testing::UiDriver;

namespace {

QFileDialog* ShownChooser() {
    return qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
}

class QtChooserTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::unique_ptr<UiBackend> backend = CreateQtBackend();
        ASSERT_TRUE(backend);
        InstallUiBackend(std::move(backend));
    }
    void TearDown() override { InstallUiBackend(nullptr); }
};

TEST_F(QtChooserTest, SaveChooserTakesFiltersAndFlagsAndReturnsTheNameWithItsExtension) {
    testing_support::TempDir folder;
    QStringList filters;
    bool asksBeforeOverwriting = false;
    UiDriver driver;
    driver.Then(ShownChooser, [&] {
        filters = ShownChooser()->nameFilters();
        asksBeforeOverwriting = !ShownChooser()->testOption(QFileDialog::DontConfirmOverwrite);
        ShownChooser()->selectFile(QString::fromStdString(folder.File("notes")));
        static_cast<QDialog*>(ShownChooser())->accept();  // as the Save button does
    });
    driver.Start();

    char16_t path[260] = u"links";
    OPENFILENAMEW info{};
    info.lStructSize = sizeof info;
    info.lpstrFilter = u"Text files\0*.txt;*.text\0All files\0*.*\0";
    info.nFilterIndex = 1;
    info.lpstrFile = path;
    info.nMaxFile = 260;
    info.lpstrDefExt = u"txt";
    info.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    ASSERT_TRUE(GetSaveFileNameW(&info)) << driver.Failure();
    EXPECT_EQ(std::u16string(path), Utf8ToUtf16(folder.File("notes.txt")));
    EXPECT_EQ(filters, QStringList({"Text files (*.txt *.text)", "All files (*.*)"}));
    EXPECT_TRUE(asksBeforeOverwriting);
}

// Qt's own question before replacing a file, and the folder check added
// for OFN_PATHMUSTEXIST; both keep the chooser open when refused.
TEST_F(QtChooserTest, AMissingFolderIsRefusedAndAnExistingFileAskedAbout) {
    testing_support::TempDir folder;
    testing_support::WriteFile(folder.File("report.txt"), "old");
    // Typed into the name field, as a person types a path that may not exist.
    auto choose = [](const std::string& path) {
        return [path] {
            auto* name = ShownChooser()->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(QString::fromStdString(path));
            static_cast<QDialog*>(ShownChooser())->accept();
        };
    };
    QString refusal, question, questionTitle;
    UiDriver driver;
    driver.Then(ShownChooser, choose(folder.File("no folder/report.txt")));
    driver.Then(ShownMessageBox, [&] {
        refusal = ShownMessageBox()->text();
        ShownMessageBox()->button(QMessageBox::Ok)->click();
    });
    driver.Then(ShownChooser, choose(folder.File("report")));
    driver.Then(ShownMessageBox, [&] {
        question = ShownMessageBox()->text();
        questionTitle = ShownMessageBox()->windowTitle();
        ShownMessageBox()->button(QMessageBox::No)->click();
    });
    driver.Then(ShownChooser, choose(folder.File("report")));
    driver.Then(ShownMessageBox, [] { ShownMessageBox()->button(QMessageBox::Yes)->click(); });
    driver.Start();

    char16_t path[260] = {};
    OPENFILENAMEW info{};
    info.lStructSize = sizeof info;
    info.lpstrFile = path;
    info.nMaxFile = 260;
    info.lpstrTitle = u"Save text file";
    info.lpstrDefExt = u"txt";
    info.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    ASSERT_TRUE(GetSaveFileNameW(&info)) << driver.Failure();
    EXPECT_TRUE(driver.Finished());
    EXPECT_EQ(std::u16string(path), Utf8ToUtf16(folder.File("report.txt")));
    EXPECT_EQ(refusal, QString::fromStdString(folder.File("no folder/report.txt") +
                                              "\nPath does not exist.\nCheck the path and try "
                                              "again."));
    EXPECT_EQ(question, "report.txt already exists.\nDo you want to replace it?");
    EXPECT_EQ(questionTitle, "Save text file");
}

TEST_F(QtChooserTest, CancelledFolderChooserChoosesNothing) {
    UiDriver driver;
    driver.Then(ShownChooser, [] { ShownChooser()->reject(); });
    driver.Start();
    BROWSEINFOW info{};
    info.lpszTitle = u"Choose a folder";
    info.ulFlags = BIF_NEWDIALOGSTYLE;
    EXPECT_EQ(SHBrowseForFolderW(&info), nullptr);
    EXPECT_TRUE(driver.Finished()) << driver.Failure();
}

}  // namespace
