// Export and import with the real program, across two users (two isolation
// directories), and every refusal of the transfer dialog.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/win/text.h"
#include "store/login_schema.h"
#include "tests/tool/login_data.h"
#include "tests/tool/quillet_program.h"
#include "tests/tool/transfer_fixture.h"

namespace quillet_testing {
namespace {

bool Exists(const std::string& path) {
    return std::filesystem::exists(path);
}

TEST_F(LoginTransfer, ExportWritesClearValuesIntoAnOwnerOnlyCopyAndLeavesTheDatabase) {
    WriteLoginData();
    std::filesystem::permissions(m_source.Database(), std::filesystem::perms(0644));
    const std::string before = testing_support::ReadFile(m_source.Database());
    const std::string exported = ExportAsFirstUser();

    EXPECT_EQ(testing_support::ReadFile(m_source.Database()), before);
    struct stat info {};
    ASSERT_EQ(stat(exported.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    EXPECT_EQ(IntegrityCheck(exported), "ok");
    EXPECT_EQ(
        Rows(exported, "select DomainName, LoginName, LoginPassword from LoginInput order by 1"),
        (Table{{"one.example", "name1", "pass1"}, {"two.example", "name2", "pass2"}}));
    EXPECT_EQ(Rows(exported,
                   "select DomainName, ItemValues, PasswordValue, FavorName from "
                   "LoginInfo order by 1"),
              (Table{{"nopass.example", "v", kNull, kNull},
                     {"site.example", "bob\nsecret", "secret", "My Site"}}));
    EXPECT_EQ(Rows(exported, "select FieldId, FieldValue, FormId from FieldInfo order by 1"),
              (Table{{"21", "hello", "7"}, {"22", "hidden", "9"}, {"23", "", "9"}}));
}

TEST_F(LoginTransfer, ImportByAnotherUserProtectsEveryValueForThatUser) {
    WriteLoginData();
    const ProgramRun run = ImportAsSecondUser(ExportAsFirstUser());
    EXPECT_EQ(run.status, 0) << run.errors;

    const std::string db = m_target.Database();
    AsUser second(m_secondUser.path());
    const Table inputs =
        Rows(db, "select DomainName, LoginName, LoginPassword from LoginInput order by 1");
    ASSERT_EQ(inputs.size(), 2u);
    EXPECT_EQ(inputs[0][0], "one.example");
    EXPECT_EQ(Unprotect(inputs[0][1]), "name1");
    EXPECT_EQ(Unprotect(inputs[0][2]), "pass1");
    EXPECT_EQ(Unprotect(inputs[1][1]), "name2");
    EXPECT_EQ(Unprotect(inputs[1][2]), "pass2");

    const Table logins = Rows(db,
                              "select DomainName, ItemNames, ItemValues, LoginUrl, "
                              "PasswordName, PasswordValue, AccountName, FavorName from "
                              "LoginInfo order by 1");
    ASSERT_EQ(logins.size(), 2u);
    // NULLs arrive as empty text, and an empty password is not encrypted.
    EXPECT_EQ(Unprotect(logins[0][2]), "v");
    EXPECT_EQ(logins[0][3], "");
    EXPECT_EQ(logins[0][4], "");
    EXPECT_EQ(logins[0][5], "");
    EXPECT_EQ(logins[1][1], "user\npass");
    EXPECT_EQ(Unprotect(logins[1][2]), "bob\nsecret");
    EXPECT_EQ(logins[1][3], "https://site.example/login");
    EXPECT_EQ(Unprotect(logins[1][5]), "secret");
    EXPECT_EQ(logins[1][6], "work");
    EXPECT_EQ(logins[1][7], kNull);

    EXPECT_EQ(Rows(db, "select FormId, FormUrl from FormInfo order by 1"),
              (Table{{"7", "https://form.example/a"}, {"9", "https://form.example/b"}}));
    const Table fields = Rows(db, "select FieldId, FieldValue, FormId from FieldInfo order by 1");
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(Unprotect(fields[0][1]), "hello");
    EXPECT_EQ(Unprotect(fields[1][1]), "hidden");
    EXPECT_EQ(Unprotect(fields[2][1]), "");
    EXPECT_EQ(fields[0][2], "7");
    EXPECT_EQ(fields[2][0], "23");
}

TEST_F(LoginTransfer, ImportingTwiceSkipsExistingKeysSilently) {
    WriteLoginData();
    const std::string exported = ExportAsFirstUser();
    EXPECT_EQ(ImportAsSecondUser(exported).status, 0);
    const ProgramRun again = ImportAsSecondUser(exported);
    EXPECT_EQ(again.status, 0) << again.errors;
    for (const char* table : {"LoginInput", "LoginInfo", "FormInfo", "FieldInfo"}) {
        EXPECT_EQ(Rows(m_target.Database(), std::string("select count(*) from ") + table),
                  Rows(m_source.Database(), std::string("select count(*) from ") + table))
            << table;
    }
}

TEST_F(LoginTransfer, ImportRefusesMissingFilesAndFilesThatAreNotDatabases) {
    const std::string text = m_files.File("notes.dat");
    testing_support::WriteFile(text, "just some text, no database");
    const std::string before = testing_support::ReadFile(m_target.Database());
    const ProgramRun run = m_target.Run(
        {"/import"},
        Transfer(m_files.File("missing.dat")) + Message("Cannot find the importing file.") +
            SetLine(1004, text) + "press 1\n" +
            Message("The importing file is not a login database file.") + kCancel,
        m_secondUser.path());
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(testing_support::ReadFile(m_target.Database()), before);
}

TEST_F(LoginTransfer, ImportStopsWhenValuesCannotBeProtected) {
    WriteLoginData();
    const std::string exported = ExportAsFirstUser();
    testing_support::WriteFile(m_secondUser.File("protection.key"), "damaged");
    const ProgramRun run = m_target.Run(
        {"/import"}, Transfer(exported) + Message("Cannot encrypt login data.") + kCancel,
        m_secondUser.path());
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(Rows(m_target.Database(), "select count(*) from LoginInput"), (Table{{"0"}}));
}

// Reported instead of ending the program, before anything is copied: the
// value that is not text sits in a table after rows that could be copied.
TEST_F(LoginTransfer, ImportStopsAtAValueThatIsNotText) {
    const std::string source = m_files.File("export.dat");
    std::filesystem::copy_file(m_target.Database(), source);
    Execute(source, "insert into LoginInput values (?, ?, ?)",
            {{"first.example", "name", "password"}});
    Execute(source, "insert into FormInfo values (7, 'https://form.example/a', 'form.example')",
            {{}});
    Execute(source, "insert into FormInfo values (9, X'00FF', 'form.example')", {{}});
    const std::string before = testing_support::ReadFile(m_target.Database());
    const ProgramRun run = m_target.Run(
        {"/import"},
        Transfer(source) + "message \"Kestro - DB Error\" \"ado error: Type mismatch.\" OK\n" +
            kCancel,
        m_secondUser.path());
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(testing_support::ReadFile(m_target.Database()) == before)
        << "the local database changed";
}

TEST_F(LoginTransfer, ExportNeverOverwritesAFile) {
    const std::string existing = m_files.File("existing.dat");
    testing_support::WriteFile(existing, "keep me");
    const ProgramRun run = m_source.Run(
        {"/export"},
        Transfer(existing) + Message("Cannot create the exporting file. Error Code: 80") + kCancel,
        CurrentHome());
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(testing_support::ReadFile(existing), "keep me");
}

TEST_F(LoginTransfer, ARelativeExportPathIsCompletedAndConfirmed) {
    const std::string question =
        "message \"Kestro\" \"Do you want the exported data to be saved into " +
        m_files.File("backup.dat") + "\"";
    const ProgramRun asked =
        m_source.Run({"/export"}, Transfer("backup.dat"), CurrentHome(), m_files.path());
    EXPECT_EQ(asked.Shown(), question + " buttons Yes No\n") << asked.errors;

    const ProgramRun declined =
        m_source.Run({"/export"},
                     Transfer("backup.dat") + question + " No\n" + SetLine(1004, "") + "press 1\n" +
                         Message("File name is invalid.") + kCancel,
                     CurrentHome(), m_files.path());
    EXPECT_EQ(declined.status, 0) << declined.errors;
    EXPECT_FALSE(Exists(m_files.File("backup.dat")));

    const ProgramRun accepted = m_source.Run(
        {"/export"}, Transfer("backup.dat") + question + " Yes\n", CurrentHome(), m_files.path());
    EXPECT_EQ(accepted.status, 0) << accepted.errors;
    EXPECT_EQ(IntegrityCheck(m_files.File("backup.dat")), "ok");
}

TEST_F(LoginTransfer, TheChosenFileIsExportedTo) {
    const std::string chosen = m_files.File("chosen.dat");
    const ProgramRun run = m_source.Run(
        {"/export"}, std::string(kTransfer) + "press 1006\nfile " + chosen + "\npress 1\n",
        CurrentHome());
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(Exists(chosen));
}

// The first table with rows decides the message; no partly decrypted copy
// is left behind.
TEST_F(LoginTransfer, AnExportByAUserWhoCannotDecryptLeavesNoFile) {
    WriteLoginData();
    const std::string target = m_files.File("export.dat");
    const ProgramRun run = m_source.Run(
        {"/export"},
        Transfer(target) + Message("The login data is not decryptable for you. 1") + kCancel,
        m_secondUser.path());
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_FALSE(Exists(target));
    EXPECT_FALSE(Exists(target + "-journal"));

    Execute(m_source.Database(), "delete from LoginInput", {{}});
    const ProgramRun second = m_source.Run(
        {"/export"},
        Transfer(target) + Message("The login data is not decryptable. Domain: site.example") +
            kCancel,
        m_secondUser.path());
    EXPECT_EQ(second.status, 0) << second.errors;
    EXPECT_FALSE(Exists(target));
}

}  // namespace
}  // namespace quillet_testing
