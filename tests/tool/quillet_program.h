// Runs the real Quillet program as a child process, answering its UI from a
// script file. Quillet finds its database beside its own program file, so
// each test gets a program folder of its own: a copy of the built program
// and of the shipped login.dat.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/support/temp_home.h"

namespace quillet_testing {

// The answer that fails on purpose: the scripted backend then prints what
// is shown at that moment and the program exits with status 3.
inline constexpr char kProbe[] = "message \"probe\" \"probe\" OK\n";

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
    // Starts it without waiting; StartedErrors() reads its standard error.
    pid_t Start(const std::vector<std::string>& args, const std::string& script,
                const std::string& home) const;
    std::string StartedErrors() const;

private:
    pid_t Spawn(const std::vector<std::string>& args, const std::string& script,
                const std::string& home, const std::string& cwd, const std::string& out,
                const std::string& err) const;

    testing_support::TempDir m_folder;
    testing_support::TempDir m_work;  // scripts and captured output
};

// The isolation directory the test runs with (the current user's).
std::string CurrentHome();

// A script line that sets a control's text.
std::string SetLine(int id, const std::string& text);

}  // namespace quillet_testing
