#include "tests/tool/quillet_program.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/ui/answer_script.h"
#include "platform/win/text.h"
#include "tests/store/login_db_test_support.h"

extern char** environ;

namespace quillet_testing {

namespace {

std::string ProgramFolderOfBuild() {
    return testing_support::TestBinaryDirectory() + "/../bin";
}

// The environment of the child: ours, with its own isolation directory and
// answer script.
std::vector<std::string> ChildEnvironment(const std::string& home, const std::string& script) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry; ++entry) {
        const std::string text(*entry);
        if (text.rfind("KESTRO_HOME=", 0) == 0 || text.rfind("KESTRO_UI_SCRIPT=", 0) == 0) continue;
        env.push_back(text);
    }
    env.push_back("KESTRO_HOME=" + home);
    env.push_back("KESTRO_UI_SCRIPT=" + script);
    return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

}  // namespace

std::string ProgramRun::Shown() const {
    const std::size_t begin = errors.find("Shown:\n");
    if (begin == std::string::npos) return {};
    const std::size_t end = errors.find("Script: ", begin);
    return errors.substr(begin + 7, end == std::string::npos ? std::string::npos : end - begin - 7);
}

QuilletProgram::QuilletProgram() {
    namespace fs = std::filesystem;
    fs::copy_file(ProgramFolderOfBuild() + "/Quillet", m_folder.File("Quillet"));
    testing_support::BuildLoginDatabase(Database());
}

pid_t QuilletProgram::Spawn(const std::vector<std::string>& args, const std::string& script,
                            const std::string& home, const std::string& cwd, const std::string& out,
                            const std::string& err) const {
    static int runs = 0;
    const std::string scriptPath = m_work.File("script-" + std::to_string(++runs) + ".txt");
    testing_support::WriteFile(scriptPath, script);
    return SpawnWithScriptFile(args, scriptPath, home, cwd, out, err);
}

pid_t QuilletProgram::SpawnWithScriptFile(const std::vector<std::string>& args,
                                          const std::string& scriptPath, const std::string& home,
                                          const std::string& cwd, const std::string& out,
                                          const std::string& err) const {
    std::vector<std::string> argv{m_folder.File("Quillet")};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env = ChildEnvironment(home, scriptPath);
    std::vector<char*> argPointers = Pointers(argv);
    std::vector<char*> envPointers = Pointers(env);
    const std::string directory = cwd.empty() ? Folder() : cwd;

    const pid_t pid = fork();
    if (pid == 0) {
        const int outFd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (outFd < 0 || errFd < 0 || dup2(outFd, 1) < 0 || dup2(errFd, 2) < 0 ||
            chdir(directory.c_str()) != 0) {
            _exit(127);
        }
        execve(argPointers[0], argPointers.data(), envPointers.data());
        _exit(127);
    }
    if (pid < 0) throw std::runtime_error("fork failed");
    return pid;
}

ProgramRun QuilletProgram::Run(const std::vector<std::string>& args, const std::string& script,
                               const std::string& home, const std::string& cwd) const {
    const std::string out = m_work.File("out"), err = m_work.File("err");
    return Wait(Spawn(args, script, home, cwd, out, err), out, err);
}

ProgramRun QuilletProgram::RunFed(const std::vector<std::string>& args, const std::string& home,
                                  const std::function<void(AnswerFeed&)>& feed) const {
    const std::string pipe = m_work.File("answers"), out = m_work.File("out"),
                      err = m_work.File("err");
    unlink(pipe.c_str());
    if (mkfifo(pipe.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed");
    const pid_t pid = SpawnWithScriptFile(args, pipe, home, "", out, err);
    // Opening waits for the program to open its end.
    const int fd = open(pipe.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd >= 0) {
        AnswerFeed answers(fd, pid);
        feed(answers);
        close(fd);
    }
    return Wait(pid, out, err);
}

ProgramRun QuilletProgram::Wait(pid_t pid, const std::string& out, const std::string& err) const {
    int raw = 0;
    waitpid(pid, &raw, 0);
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, testing_support::ReadFile(out),
            testing_support::ReadFile(err)};
}

void AnswerFeed::Feed(const std::string& lines) {
    for (std::size_t done = 0; done < lines.size();) {
        const ssize_t n = write(m_fd, lines.data() + done, lines.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
    for (int unread = 1; unread > 0;) {
        siginfo_t ended{};
        if (ioctl(m_fd, FIONREAD, &unread) != 0 ||
            (waitid(P_PID, m_program, &ended, WEXITED | WNOHANG | WNOWAIT) == 0 &&
             ended.si_pid == m_program)) {
            return;
        }
        if (unread > 0) usleep(1000);
    }
}

pid_t QuilletProgram::Start(const std::vector<std::string>& args, const std::string& script,
                            const std::string& home) const {
    return Spawn(args, script, home, "", "/dev/null", m_work.File("started-err"));
}

std::string QuilletProgram::StartedErrors() const {
    return testing_support::ReadFile(m_work.File("started-err"));
}

std::string CurrentHome() {
    const char* home = std::getenv("KESTRO_HOME");
    return home ? home : "";
}

std::string SetLine(int id, const std::string& text) {
    return "set " + std::to_string(id) + " " + QuoteForScript(Utf8ToUtf16(text)) + "\n";
}

}  // namespace quillet_testing
