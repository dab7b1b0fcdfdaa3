// kestro-render-dialogs MODULE OUTDIR: renders every dialog of a library's
// resources to a PNG file off screen and prints the files' paths.
#include <cstdio>
#include <cstdlib>

#include "platform/ui/qt/dialog_renderer.h"
#include "platform/win/last_error.h"
#include "platform/win/module.h"
#include "platform/win/text.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: kestro-render-dialogs MODULE_PATH OUTDIR\n", stderr);
        return 2;
    }
    // Nothing is shown: use the off-screen platform unless one is chosen.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    const HMODULE module = LoadLibraryW(Utf8ToUtf16(argv[1]).c_str());
    if (!module) {
        std::fprintf(stderr, "kestro-render-dialogs: cannot load %s (error %u)\n", argv[1],
                     static_cast<unsigned>(GetLastError()));
        return 1;
    }
    std::string error;
    for (const std::string& path : RenderModuleDialogs(module, argv[2], error)) {
        std::printf("%s\n", path.c_str());
    }
    if (!error.empty()) {
        std::fprintf(stderr, "kestro-render-dialogs: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
