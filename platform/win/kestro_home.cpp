#include "platform/win/kestro_home.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace {

std::string UserHome() {
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : "/tmp";
    }
    return home;
}

// An XDG base directory: the variable when set, else the default under home.
std::string XdgBase(const char* variable, const char* underHome) {
    if (const char* xdg = std::getenv(variable); xdg && *xdg) return xdg;
    return UserHome() + underHome;
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

std::string Prepared(std::string dir) {
    while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
    MakeDirectories(dir, 0700);
    return dir;
}

}  // namespace

std::string KestroHomeDirectory() {
    if (const char* home = std::getenv("KESTRO_HOME"); home && *home) return Prepared(home);
    return Prepared(XdgBase("XDG_CONFIG_HOME", "/.config") + "/kestro");
}

std::string KestroDataDirectory() {
    return Prepared(XdgBase("XDG_DATA_HOME", "/.local/share") + "/kestro");
}
