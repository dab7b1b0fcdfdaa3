#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "tests/support/temp_home.h"

namespace {

struct ProgramRun {
    int status;
    std::string output;
    std::string errors;
};

ProgramRun RunWithScript(const std::string& script, bool setScript = true) {
    testing_support::TempDir dir;
    testing_support::WriteFile(dir.File("answers.txt"), script);
    const std::string command = (setScript ? "KESTRO_UI_SCRIPT='" + dir.File("answers.txt") + "' "
                                           : std::string("env -u KESTRO_UI_SCRIPT ")) +
                                "'" + testing_support::TestBinaryDirectory() +
                                "/ui_script_program' >'" + dir.File("out") + "' 2>'" +
                                dir.File("err") + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing_support::ReadFile(dir.File("out")),
            testing_support::ReadFile(dir.File("err"))};
}

}  // namespace

TEST(ScriptedProgram, ExitsNormallyWhenEveryAnswerIsUsed) {
    const ProgramRun run = RunWithScript(
        "# the save question\nmessage \"Kestro\" \"Do you want to save it?\" Yes\n\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.output, "answer 6\n");
}

TEST(ScriptedProgram, AMissingAnswerExitsWithStatusThree) {
    const ProgramRun run = RunWithScript("");
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.output, "");
    EXPECT_NE(run.errors.find("message \"Kestro\" \"Do you want to save it?\" buttons Yes No"),
              std::string::npos)
        << run.errors;
    EXPECT_NE(run.errors.find("no answer left"), std::string::npos);
}

TEST(ScriptedProgram, AWrongAnswerNamesTheLine) {
    const ProgramRun run = RunWithScript("\nmessage \"Kestro\" \"Other text\" Yes\n");
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.errors.find("line 2: message \"Kestro\" \"Other text\" Yes"), std::string::npos)
        << run.errors;
}

TEST(ScriptedProgram, AnUnusedAnswerExitsWithStatusThree) {
    const ProgramRun run = RunWithScript(
        "message \"Kestro\" \"Do you want to save it?\" No\ndialog \"Kestro - Options\"\n");
    EXPECT_EQ(run.status, 3);
    EXPECT_EQ(run.output, "answer 7\n");
    EXPECT_NE(run.errors.find("line 2: dialog \"Kestro - Options\""), std::string::npos)
        << run.errors;
}

TEST(ScriptedProgram, WithoutDisplayOrScriptTheProgramSaysSo) {
    const ProgramRun run = RunWithScript("", false);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("KESTRO_UI_SCRIPT"), std::string::npos);
}
