// An import killed part-way: every row is its own committed statement, so
// the database stays sound and each copied row is either whole or absent.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/win/text.h"
#include "store/login_schema.h"
#include "tests/tool/login_data.h"
#include "tests/tool/quillet_program.h"

namespace quillet_testing {
namespace {

constexpr int kRows = 20000;
constexpr int kKillAfterRows = 50;

std::string Domain(int i) {
    return "d" + std::to_string(i) + ".example";
}

long CountRows(const std::string& database) {
    const auto rows = Rows(database, "select count(*) from LoginInput");
    return rows.empty() ? 0 : std::stol(rows[0][0]);
}

TEST(ImportCrash, AKilledImportLeavesWholeRowsOnly) {
    QuilletProgram program;
    testing_support::TempDir files;
    const std::string source = files.File("export.dat");
    std::filesystem::copy_file(program.Database(), source);
    std::vector<std::vector<std::string>> rows;
    for (int i = 0; i < kRows; ++i) {
        rows.push_back({"name-" + std::to_string(i), "password-" + std::to_string(i), Domain(i)});
    }
    Execute(source, Utf16ToUtf8(login_schema::kInsertLoginInput), rows);

    const pid_t pid = program.Start(
        {"/import"},
        "dialog \"Kestro Login Data Transfer\"\n" + SetLine(1004, source) + "press 1\n",
        CurrentHome());
    while (CountRows(program.Database()) < kKillAfterRows) {
        ASSERT_EQ(waitpid(pid, nullptr, WNOHANG), 0)
            << "the import ended before it was killed: " << program.StartedErrors();
        usleep(2000);
    }
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    EXPECT_EQ(IntegrityCheck(program.Database()), "ok");
    const auto copied =
        Rows(program.Database(), "select DomainName, LoginName, LoginPassword from LoginInput");
    ASSERT_GE(copied.size(), static_cast<std::size_t>(kKillAfterRows));
    ASSERT_LT(copied.size(), static_cast<std::size_t>(kRows));
    for (const auto& row : copied) {
        const std::string number = row[0].substr(1, row[0].find('.') - 1);
        EXPECT_EQ(Unprotect(row[1]), "name-" + number) << row[0];
        EXPECT_EQ(Unprotect(row[2]), "password-" + number) << row[0];
    }
}

}  // namespace
}  // namespace quillet_testing
