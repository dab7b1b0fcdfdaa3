// The command line of the real program: which dialog each switch opens.
#include <gtest/gtest.h>

#include "tests/tool/quillet_program.h"

namespace quillet_testing {
namespace {

constexpr char kLoginInput[] = "dialog \"Kestro Input Login Information \"\n";
constexpr char kTransfer[] = "dialog \"Kestro Login Data Transfer\"\n";
constexpr char kUsage[] =
    "Command line parameter: \\n/import - import an unencrypted login data file to the current "
    "Kestro login data file that is encrypted. \\n/export - export the current encrypted login "
    "data file of Kestro to an unencrypted login data file that can be copied to another "
    "computer.";

struct Switches {
    std::vector<std::string> args;
    const char* opens;     // the dialog's answer line
    const char* transfer;  // the transfer button's label, for the transfer dialog
};

class CommandLine : public ::testing::TestWithParam<Switches> {};

TEST_P(CommandLine, OpensItsDialog) {
    QuilletProgram program;
    const Switches& switches = GetParam();
    const ProgramRun closed =
        program.Run(switches.args, std::string(switches.opens) + "press 2\n", CurrentHome());
    EXPECT_EQ(closed.status, 0) << closed.errors;

    if (!switches.transfer) return;
    const ProgramRun probed =
        program.Run(switches.args, std::string(switches.opens) + kProbe, CurrentHome());
    const std::string shown = probed.Shown();
    EXPECT_NE(shown.find(std::string("1 default push button \"") + switches.transfer + "\""),
              std::string::npos)
        << shown;
    // Only the note of the chosen mode is visible.
    const bool import = std::string(switches.transfer) == "Import";
    EXPECT_NE(shown.find(import ? "1008 static" : "1007 static"), std::string::npos);
    const std::size_t hidden = shown.find(import ? "1008 static" : "1007 static");
    EXPECT_NE(shown.find("hidden", hidden), std::string::npos) << shown;
    const std::size_t visible = shown.find(import ? "1007 static" : "1008 static");
    EXPECT_EQ(shown.substr(visible, shown.find('\n', visible) - visible).find("hidden"),
              std::string::npos)
        << shown;
}

INSTANTIATE_TEST_SUITE_P(
    Quillet, CommandLine,
    ::testing::Values(
        Switches{{}, kLoginInput, nullptr}, Switches{{"/import"}, kTransfer, "Import"},
        Switches{{"-export"}, kTransfer, "Export"}, Switches{{"/export"}, kTransfer, "Export"},
        // Switches match case-sensitively, and only after "/" or "-".
        Switches{{"/IMPORT"}, kLoginInput, nullptr}, Switches{{"import"}, kLoginInput, nullptr},
        Switches{{"/export", "/import"}, kTransfer, "Import"},
        Switches{{"/import", "/export"}, kTransfer, "Import"}));

TEST(CommandLineHelp, WinsOverImportAndShowsOnlyTheUsage) {
    QuilletProgram program;
    const std::string usage = std::string("message \"Quillet\" \"") + kUsage + "\" OK\n";
    const ProgramRun run = program.Run({"/?", "/import"}, usage, CurrentHome());
    EXPECT_EQ(run.status, 0) << run.errors;

    const ProgramRun unanswered = program.Run({"/import", "-?"}, "", CurrentHome());
    EXPECT_EQ(unanswered.status, 3);
    EXPECT_NE(unanswered.Shown().find("buttons OK exclamation icon"), std::string::npos)
        << unanswered.errors;
}

}  // namespace
}  // namespace quillet_testing
