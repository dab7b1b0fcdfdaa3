#include "tests/tool/transfer_fixture.h"

#include "platform/win/text.h"
#include "store/login_schema.h"
#include "tests/tool/login_data.h"

namespace quillet_testing {

std::string Message(const std::string& text) {
    return "message \"Kestro\" \"" + text + "\" OK\n";
}

std::string Transfer(const std::string& path) {
    return kTransfer + SetLine(1004, path) + "press 1\n";
}

std::string Statement(const char16_t* sql) {
    return Utf16ToUtf8(sql);
}

void LoginTransfer::WriteLoginData() {
    const std::string db = m_source.Database();
    Execute(db, Statement(login_schema::kInsertLoginInput),
            {{Protect("name1"), Protect("pass1"), "one.example"},
             {Protect("name2"), Protect("pass2"), "two.example"}});
    Execute(db, Statement(login_schema::kInsertCapturedLogin),
            {{"site.example", "user\npass", Protect("bob\nsecret"), "https://site.example/login",
              "pass", Protect("secret"), "work", "My Site"},
             {"nopass.example", "q", Protect("v"), kNull, kNull, kNull, kNull, kNull}});
    Execute(db, Statement(login_schema::kImportFormInfo),
            {{"7", "https://form.example/a", "form.example"},
             {"9", "https://form.example/b", "form.example"}});
    Execute(db, Statement(login_schema::kImportFieldInfo),
            {{"21", "q", "text", Protect("hello"), "7"},
             {"22", "r", "password", Protect("hidden"), "9"},
             {"23", "s", "text", Protect(""), "9"}});
}

std::string LoginTransfer::ExportAsFirstUser() {
    const std::string target = m_files.File("export.dat");
    const ProgramRun run = m_source.Run({"/export"}, Transfer(target), CurrentHome());
    EXPECT_EQ(run.status, 0) << run.errors;
    return target;
}

ProgramRun LoginTransfer::ImportAsSecondUser(const std::string& file) {
    return m_target.Run({"/import"}, Transfer(file), m_secondUser.path());
}

}  // namespace quillet_testing
