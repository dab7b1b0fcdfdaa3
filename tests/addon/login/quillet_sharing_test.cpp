// The login database shared with the login data tool and between browser
// windows: every committed change is seen by the next query of any other
// connection.
#include <spawn.h>
#include <sys/wait.h>

#include <filesystem>

#include "platform/ui/answer_script.h"
#include "tests/addon/login/login_test_support.h"

extern char** environ;

namespace login_test {

namespace {

class SharedDatabase : public LoginTest {
protected:
    // Runs the real login data tool from the program folder, answering its
    // dialog from a script, and waits for it; its exit status.
    int RunQuillet(const std::vector<std::string>& answers) {
        const std::string tool = ProgramFolder() + "/Quillet";
        std::filesystem::copy_file(KESTRO_QUILLET, tool,
                                   std::filesystem::copy_options::overwrite_existing);
        const std::string script = ProgramFolder() + "/answers.txt";
        std::string lines;
        for (const std::string& answer : answers) lines += answer + "\n";
        testing_support::WriteFile(script, lines);
        std::vector<std::string> env;
        for (char** entry = environ; *entry; ++entry)
            if (std::string(*entry).rfind("KESTRO_UI_SCRIPT=", 0) != 0) env.emplace_back(*entry);
        env.push_back("KESTRO_UI_SCRIPT=" + script);
        std::vector<char*> envp, argv{const_cast<char*>(tool.c_str()), nullptr};
        for (std::string& entry : env) envp.push_back(entry.data());
        envp.push_back(nullptr);
        pid_t pid = 0;
        if (posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0)
            return -1;
        int status = 0;
        waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    static std::string Set(int id, const std::string& text) {
        return "set " + std::to_string(id) + " " + QuoteForScript(Utf8ToUtf16(text));
    }
    void SaveFrom(browser::BrowserWindow& window, std::u16string_view user,
                  std::u16string_view password, std::u16string_view replace = {}) {
        TypeLogin(window, user, password);
        AnswerMenu(u"Save Login Data");
        AnswerFavorName(user);
        if (!replace.empty())
            Answer(
                u"message \"Save login confirmation\" \"Login Data is already saved for this "
                u"domain. Do you want to replace it (YES) or save extra login account (No)?\" " +
                std::u16string(replace));
        RightClick(window, u"#user");
    }
};

TEST_F(SharedDatabase, ALoginTypedInTheToolWhileAWindowIsOpenIsFoundByTheNextFill) {
    browser::BrowserWindow& window = OpenSite("login.html");
    Answer(u"menu -");
    RightClick(window, u"#user");
    EXPECT_EQ("Fill Login Data (disabled)", AddOnMenu().at(0));

    ASSERT_EQ(0, RunQuillet({"dialog \"Kestro Input Login Information \"", Set(1001, "demo.test"),
                             Set(1000, "tina"), Set(1002, "typed"), "press 1", "press 2"}));

    AnswerMenu(u"Fill Login Data");
    RightClick(window, u"#user");
    EXPECT_EQ("tina", Value(window, u"#user"));
    EXPECT_EQ("typed", Value(window, u"#pass"));
}

TEST_F(SharedDatabase, TwoWindowsSavingTheSameSiteKeepEachOthersAccount) {
    browser::BrowserWindow& first = OpenSite("login.html");
    browser::BrowserWindow& second = OpenSite("login.html");
    for (browser::BrowserWindow* window : {&first, &second}) {
        Answer(u"menu -");
        RightClick(*window, u"#user");
    }
    SaveFrom(first, u"alice", u"one");
    SaveFrom(second, u"bob", u"two", u"No");
    SaveFrom(first, u"alice", u"three", u"Yes");
    SaveFrom(second, u"bob", u"four", u"Yes");
    const std::vector<SavedLogin> saved = SavedLogins();
    ASSERT_EQ(2u, saved.size());
    EXPECT_EQ("alice\nthree", saved[0].values);
    EXPECT_EQ("bob\nfour", saved[1].values);
}

}  // namespace

}  // namespace login_test
