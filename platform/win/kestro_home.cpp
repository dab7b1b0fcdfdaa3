#include "platform/win/kestro_home.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

std::string DefaultBase() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg) return xdg;
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : "/tmp";
    }
    return std::string(home) + "/.config";
}

// mkdir -p, each missing level with the given mode.
void MakeDirectories(const std::string& path, mode_t mode) {
    for (std::size_t pos = 1; pos <= path.size(); ++pos) {
        if (pos == path.size() || path[pos] == '/') {
            const std::string part = path.substr(0, pos);
            if (mkdir(part.c_str(), mode) != 0 && errno != EEXIST) return;
        }
    }
}

}  // namespace

std::string KestroHomeDirectory() {
    std::string dir;
    if (const char* home = std::getenv("KESTRO_HOME"); home && *home) {
        dir = home;
    } else {
        dir = DefaultBase() + "/kestro";
    }
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    MakeDirectories(dir, 0700);
    return dir;
}
