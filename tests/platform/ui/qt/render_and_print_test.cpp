#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <cstdio>
#include <sstream>

#include "platform/ui/dialog.h"
#include "platform/ui/print_service.h"
#include "platform/ui/qt/dialog_renderer.h"
#include "platform/ui/qt/rendering_backend.h"
#include "platform/ui/window.h"
#include "platform/win/last_error.h"
#include "platform/win/text.h"
#include "tests/platform/ui/qt/ui_driver.h"
#include "tests/support/temp_home.h"

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::TestBinaryDirectory;

namespace {

struct CommandRun {
    int status = -1;
    std::string output;
};

// The command's standard output (add " 2>&1" for its errors too).
CommandRun RunCommand(const std::string& command) {
    CommandRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) run.output += buffer;
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

TEST(RenderDialogs, CommandWritesOnePngPerDialogOfTheModule) {
    TempDir out;
    const CommandRun run = RunCommand(TestBinaryDirectory() + "/../bin/kestro-render-dialogs " +
                                      TestBinaryDirectory() + "/UiResources.so " + out.path());
    ASSERT_EQ(run.status, 0) << run.output;
    const std::vector<std::string> paths = Lines(run.output);
    ASSERT_EQ(paths, std::vector<std::string>{out.File("dialog-300.png")});
    const QImage image(QString::fromStdString(paths[0]));
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 100);  // 100 dialog units wide
    EXPECT_GT(image.height(), 40);
}

TEST(RenderDialogs, CommandFailsClearlyForAModuleThatDoesNotLoad) {
    TempDir out;
    const CommandRun run = RunCommand(TestBinaryDirectory() + "/../bin/kestro-render-dialogs " +
                                      out.File("missing.so") + " " + out.path() + " 2>&1");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("cannot load"), std::string::npos) << run.output;
}

TEST(RenderDialogs, ProgramDialogsKeepTheirDialogUnitProportions) {
    TempDir out;
    std::string error;
    const std::vector<std::string> paths = RenderModuleDialogs(nullptr, out.path(), error);
    ASSERT_TRUE(error.empty()) << error;
    ASSERT_EQ(paths,
              (std::vector<std::string>{out.File("dialog-300.png"), out.File("dialog-301.png")}));
    const QImage controls(QString::fromStdString(paths[0]));
    const QImage about(QString::fromStdString(paths[1]));
    ASSERT_FALSE(controls.isNull());
    ASSERT_FALSE(about.isNull());
    // 287 x 460 and 162 x 162 dialog units, rounded per axis.
    EXPECT_NEAR(controls.width() * 162.0 / about.width(), 287, 3);
    EXPECT_NEAR(controls.height() * 162.0 / about.height(), 460, 3);
}

TEST(RenderDialogs, UnwritableFolderIsReported) {
    TempDir out;
    std::string error;
    EXPECT_TRUE(RenderModuleDialogs(nullptr, out.File("missing"), error).empty());
    EXPECT_NE(error.find("dialog-300.png"), std::string::npos) << error;
}

// A label too long for its control, a label under a button and a label
// that overlaps one but is hidden by the dialog's initialisation.
constexpr DialogControl kCrampedControls[] = {
    {10, ControlKind::Static, u"Specify the full path of the file to import", 8, 8, 40, 8},
    {11, ControlKind::Static, u"Folder", 8, 24, 60, 8},
    {IDOK, ControlKind::DefPushButton, u"OK", 16, 22, 50, 14},
    {12, ControlKind::Static, u"Hidden at run time", 30, 40, 60, 8},
    {IDCANCEL, ControlKind::PushButton, u"Cancel", 60, 38, 50, 14},
};
constexpr DialogTemplate kCrampedDialog = Dialog(u"Cramped", 120, 60, kCrampedControls);

INT_PTR HideControl12(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_INITDIALOG) ShowWindow(GetDlgItem(dialog, 12), SW_HIDE);
    return message == WM_INITDIALOG;
}

TEST(DialogTextFit, CutAndOverlappingTextsOfVisibleControlsAreFound) {
    TempDir out;
    std::vector<std::string> problems;
    std::unique_ptr<UiBackend> rendering = CreateRenderingBackend(
        out.path(), [&](const RenderedDialog& rendered) { problems = rendered.textProblems; });
    ASSERT_TRUE(rendering);
    std::unique_ptr<UiBackend> previous = InstallUiBackend(std::move(rendering));
    DialogBoxIndirectParamW(nullptr, &kCrampedDialog, nullptr, HideControl12, 0);
    InstallUiBackend(std::move(previous));

    ASSERT_EQ(problems.size(), 2u) << testing::PrintToString(problems);
    EXPECT_EQ(problems[0].rfind("control 10 \"Specify the full path of the file to", 0), 0u)
        << problems[0];
    EXPECT_NE(problems[0].find("the text needs"), std::string::npos) << problems[0];
    EXPECT_EQ(problems[1], "control 11 \"Folder\" and control 1 \"OK\" overlap");
}

// Every dialog of the program folder's modules, each as it looks when it
// is shown: the add-on's from their templates, the tool's after their
// initialisation (with a login database of its own beside it).
struct ModuleDialogs {
    std::string module;
    std::string arguments;
    std::string firstPicture;
};

TEST(DialogTextFit, NoTextOfAnyDialogOfTheProgramFolderIsCutOrOverlapped) {
    TempDir folder, out;
    const std::string bin = TestBinaryDirectory() + "/../bin";
    ASSERT_EQ(RunCommand("cp " + bin + "/Quillet " + folder.path()).status, 0);
    ASSERT_EQ(RunCommand(std::string(KESTRO_MAKE_LOGIN_DB) + " " + KESTRO_LOGIN_SQL + " " +
                         folder.File("login.dat"))
                  .status,
              0);
    const ModuleDialogs modules[] = {
        {bin + "/Farrow.so", "", "dialog-"},
        {folder.File("Quillet"), "", "dialog-102.png"},
        {folder.File("Quillet"), "/import", "dialog-103.png"},
        {folder.File("Quillet"), "/export", "dialog-103.png"},
    };
    for (const ModuleDialogs& module : modules) {
        const CommandRun run =
            RunCommand("env -u KESTRO_UI_SCRIPT " + bin + "/kestro-render-dialogs " +
                       module.module + " " + out.path() + " " + module.arguments + " 2>&1");
        EXPECT_EQ(run.status, 0) << run.output;
        std::vector<std::string> pictures, problems;
        for (const std::string& line : Lines(run.output)) {
            if (line.rfind(out.path(), 0) != 0) continue;  // Qt's own notes
            (line.size() > 4 && line.substr(line.size() - 4) == ".png" ? pictures : problems)
                .push_back(line);
        }
        ASSERT_FALSE(pictures.empty()) << module.module << " " << module.arguments;
        EXPECT_EQ(pictures[0].rfind(out.File(module.firstPicture), 0), 0u) << pictures[0];
        EXPECT_TRUE(problems.empty()) << module.module << " " << module.arguments << ":\n"
                                      << testing::PrintToString(problems);
    }
}

TEST(PrintService, WritesAPdfOfTheRichText) {
    TempDir out;
    const std::string path = out.File("page.pdf");
    ASSERT_EQ(
        PrintHtmlToPdf(u"<h1>Kestro</h1><p>Caf\u00e9 &amp; more</p>", u"Page", Utf8ToUtf16(path)),
        S_OK);
    const std::string pdf = ReadFile(path);
    EXPECT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_GT(pdf.size(), 500u);
}

TEST(PrintService, ReportsPathsItCannotWrite) {
    TempDir out;
    EXPECT_EQ(PrintHtmlToPdf(u"<p>x</p>", u"Page", u""), E_INVALIDARG);
    EXPECT_EQ(PrintHtmlToPdf(u"<p>x</p>", u"Page", Utf8ToUtf16(out.File("no/such/page.pdf"))),
              HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
}

TEST(QtBackendFactory, ProgramWithoutDisplayOrScriptSaysSoAndExits) {
    const CommandRun run =
        RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u KESTRO_UI_SCRIPT " +
                   TestBinaryDirectory() + "/qt_no_display_program 2>&1");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.output.find("display"), std::string::npos) << run.output;
}

}  // namespace
