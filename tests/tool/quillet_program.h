// Runs the real Quillet program as a child process, answering its UI from a
// script file. Quillet finds its database beside its own program file, so
// each test gets a program folder of its own: a copy of the built program
// and a login.dat built afresh from login.sql.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/temp_home.h"

namespace quillet_testing {

// The answer that fails on purpose: the scripted backend then prints what
// is shown at that moment and the program exits with status 3.
inline constexpr char kProbe[] = "message \"probe\" \"probe\" OK\n";

// Answers written to a running program through a pipe, so that a test can
// act between two of them.
class AnswerFeed {
public:
    AnswerFeed(int fd, pid_t program) : m_fd(fd), m_program(program) {}
    // Writes answer lines and waits until the program has taken them (it
    // reads the next answer only when its UI needs one) or has ended.
    void Feed(const std::string& lines);

private:
    int m_fd;
    pid_t m_program;
};

struct ProgramRun {
    int status = -1;  // exit status; -1 when killed
    std::string output;
    std::string errors;
    // What the scripted backend reported as shown when the script failed.
    std::string Shown() const;
};

class QuilletProgram {
public:
    QuilletProgram();

    const std::string& Folder() const { return m_folder.path(); }
    std::string Database() const { return m_folder.File("login.dat"); }

    // Runs Quillet with the arguments and answer script, as the user whose
    // isolation directory is home, in the working directory cwd (the
    // program folder when empty), and waits for it.
    ProgramRun Run(const std::vector<std::string>& args, const std::string& script,
                   const std::string& home, const std::string& cwd = "") const;
    // Runs Quillet answering from what feed writes while it runs.
    ProgramRun RunFed(const std::vector<std::string>& args, const std::string& home,
                      const std::function<void(AnswerFeed&)>& feed) const;
    // Starts it without waiting; StartedErrors() reads its standard error.
    pid_t Start(const std::vector<std::string>& args, const std::string& script,
                const std::string& home) const;
    std::string StartedErrors() const;

private:
    pid_t Spawn(const std::vector<std::string>& args, const std::string& script,
                const std::string& home, const std::string& cwd, const std::string& out,
                const std::string& err) const;
    pid_t SpawnWithScriptFile(const std::vector<std::string>& args, const std::string& scriptPath,
                              const std::string& home, const std::string& cwd,
                              const std::string& out, const std::string& err) const;
    ProgramRun Wait(pid_t pid, const std::string& out, const std::string& err) const;

    testing_support::TempDir m_folder;
    testing_support::TempDir m_work;  // scripts and captured output
};

// The isolation directory the test runs with (the current user's).
std::string CurrentHome();

// A script line that sets a control's text.
std::string SetLine(int id, const std::string& text);

}  // namespace quillet_testing
