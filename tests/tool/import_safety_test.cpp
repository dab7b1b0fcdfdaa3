// Import never changes what the local database holds: fields of a form it
// cannot import stay out, and a file that is not an export is refused
// before anything is copied.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "store/login_schema.h"
#include "tests/tool/login_data.h"
#include "tests/tool/transfer_fixture.h"

namespace quillet_testing {
namespace {

TEST_F(LoginTransfer, FieldsOfAFormWhoseIdIsTakenLocallyAreNotImported) {
    WriteLoginData();  // forms 7 and 9 with fields 21 (form 7), 22 and 23 (form 9)
    {
        AsUser second(m_secondUser.path());
        Execute(m_target.Database(), Statement(login_schema::kImportFormInfo),
                {{"7", "https://local.example/own", "local.example"}});
        Execute(m_target.Database(), Statement(login_schema::kImportFieldInfo),
                {{"50", "own", "text", Protect("mine"), "7"}});
    }
    const ProgramRun run = ImportAsSecondUser(ExportAsFirstUser());
    EXPECT_EQ(run.status, 0) << run.errors;

    EXPECT_EQ(Rows(m_target.Database(), "select FormId, FormUrl from FormInfo order by 1"),
              (Table{{"7", "https://local.example/own"}, {"9", "https://form.example/b"}}));
    EXPECT_EQ(Rows(m_target.Database(), "select FieldId, FormId from FieldInfo order by 1"),
              (Table{{"22", "9"}, {"23", "9"}, {"50", "7"}}));
}

void WriteDatabase(const std::string& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

// A table of its own and none of the login tables.
constexpr char kOtherDatabase[] = "create table Notes (Text); insert into Notes values ('x')";
// A login table that is a view over rows without end.
constexpr char kEndlessView[] =
    "create view LoginInput as with recursive r(x) as (select 1 union all select x + 1 from r) "
    "select 'd' || x as DomainName, 'n' as LoginName, 'p' as LoginPassword from r";

TEST_F(LoginTransfer, AFileThatIsNotAnExportIsRefusedAndNothingChanges) {
    WriteLoginData();
    const std::string protectedCopy = m_files.File("login-copy.dat");
    std::filesystem::copy_file(m_source.Database(), protectedCopy);
    const std::string other = m_files.File("other.dat");
    WriteDatabase(other, kOtherDatabase);
    const std::string endless = m_files.File("endless.dat");
    WriteDatabase(endless, kEndlessView);
    const std::string before = testing_support::ReadFile(m_target.Database());

    // The first user, for whom the copy's values open.
    const ProgramRun run = m_target.Run(
        {"/import"},
        Transfer(protectedCopy) +
            Message("The importing file holds encrypted login data. Only a login data file made "
                    "by the export function can be imported.") +
            SetLine(1004, other) + "press 1\n" +
            Message("The importing file is not a login database file.") + SetLine(1004, endless) +
            "press 1\n" + Message("The importing file is not a login database file.") + kCancel,
        CurrentHome());
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(testing_support::ReadFile(m_target.Database()) == before)
        << "the local database changed";
}

}  // namespace
}  // namespace quillet_testing
