// kestro-render-dialogs MODULE OUTDIR [ARGUMENT...]: draws dialogs off
// screen into PNG files in OUTDIR and prints the files' paths. Texts that
// do not fit their controls are reported on standard error, each after its
// file's path; the pictures are written all the same.
// - A library: every dialog of its resources, as its template holds it.
// - A program: it runs with the arguments, and every dialog it shows is
//   drawn as it looks after its initialisation, then cancelled; a dialog
//   shown again replaces its picture. (Quillet: no argument for dialog
//   102, "/import" or "/export" for 103.)
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/ui/qt/dialog_renderer.h"
#include "platform/win/last_error.h"
#include "platform/win/module.h"
#include "platform/win/text.h"

namespace {

bool IsProgram(const char* path) {
    struct stat info {};
    return stat(path, &info) == 0 && S_ISREG(info.st_mode) && access(path, X_OK) == 0;
}

// The program's own rendering backend does the drawing and the reporting.
int RenderProgramDialogs(char** program, const char* folder) {
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("KESTRO_RENDER_DIALOGS", folder, 1);
        unsetenv("KESTRO_UI_SCRIPT");
        execv(program[0], program);
        std::fprintf(stderr, "kestro-render-dialogs: cannot run %s\n", program[0]);
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return 1;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return 0;
    std::fprintf(stderr, "kestro-render-dialogs: %s ended with a failure\n", program[0]);
    return 1;
}

int RenderLibraryDialogs(HMODULE module, const char* folder) {
    std::string error;
    std::vector<std::string> problems;
    for (const std::string& path : RenderModuleDialogs(module, folder, error, &problems))
        std::printf("%s\n", path.c_str());
    for (const std::string& problem : problems) std::fprintf(stderr, "%s\n", problem.c_str());
    if (!error.empty()) {
        std::fprintf(stderr, "kestro-render-dialogs: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("usage: kestro-render-dialogs MODULE_PATH OUTDIR [PROGRAM_ARGUMENT...]\n",
                   stderr);
        return 2;
    }
    // Nothing is shown: use the off-screen platform unless one is chosen.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (const HMODULE module = LoadLibraryW(Utf8ToUtf16(argv[1]).c_str())) {
        if (argc > 3) {
            std::fputs("kestro-render-dialogs: arguments are for programs only\n", stderr);
            return 2;
        }
        return RenderLibraryDialogs(module, argv[2]);
    }
    const DWORD loadError = GetLastError();
    if (IsProgram(argv[1])) {
        std::vector<char*> program{argv[1]};
        program.insert(program.end(), argv + 3, argv + argc);
        program.push_back(nullptr);
        return RenderProgramDialogs(program.data(), argv[2]);
    }
    std::fprintf(stderr, "kestro-render-dialogs: cannot load %s (error %u)\n", argv[1],
                 static_cast<unsigned>(loadError));
    return 1;
}
