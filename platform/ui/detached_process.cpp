// The child forks once more and exits, so the program is nobody's child to
// wait for. A close-on-exec pipe carries an errno back from the grandchild:
// it is closed without data when exec succeeds. Between fork and exec only
// async-signal-safe calls are made.
#include "platform/ui/detached_process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace {

[[noreturn]] void ReportAndExit(int report, int error) {
    ssize_t ignored = write(report, &error, sizeof error);
    (void)ignored;
    _exit(127);
}

[[noreturn]] void RunGrandchild(char* const* argv, const char* directory, int report) {
    if (directory && chdir(directory) != 0) ReportAndExit(report, errno);
    const int empty = open("/dev/null", O_RDONLY);
    if (empty >= 0) {
        dup2(empty, STDIN_FILENO);
        if (empty != STDIN_FILENO) close(empty);
    }
    execv(argv[0], argv);
    ReportAndExit(report, errno);
}

[[noreturn]] void RunChild(char* const* argv, const char* directory, int report) {
    setsid();
    const pid_t grandchild = fork();
    if (grandchild < 0) ReportAndExit(report, errno);
    if (grandchild == 0) RunGrandchild(argv, directory, report);
    _exit(0);
}

int ReadReportedError(int report) {
    int error = 0;
    ssize_t got = 0;
    do {
        got = read(report, &error, sizeof error);
    } while (got < 0 && errno == EINTR);
    return got == static_cast<ssize_t>(sizeof error) ? error : 0;
}

}  // namespace

int StartDetachedProcess(const std::vector<std::string>& argv, const std::string& directory) {
    if (argv.empty()) return ENOENT;
    std::vector<char*> pointers;
    for (const std::string& argument : argv)
        pointers.push_back(const_cast<char*>(argument.c_str()));
    pointers.push_back(nullptr);
    const char* folder = directory.empty() ? nullptr : directory.c_str();

    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0) return errno;
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(channel[0]);
        close(channel[1]);
        return error;
    }
    if (child == 0) {
        close(channel[0]);
        RunChild(pointers.data(), folder, channel[1]);
    }
    close(channel[1]);
    const int error = ReadReportedError(channel[0]);
    close(channel[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return error;
}
