#include "host/scenario_script.h"

#include <unistd.h>

#include <climits>
#include <fstream>

#include "platform/win/text.h"

namespace {

std::string CurrentDirectory() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

std::string AbsoluteFolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    if (folder.empty()) return "/";
    if (folder[0] != '/') folder = CurrentDirectory() + "/" + folder;
    char resolved[PATH_MAX];
    if (realpath(folder.c_str(), resolved)) folder = resolved;
    return folder;
}

bool HasScheme(std::u16string_view address) {
    const std::size_t colon = address.find(u':');
    if (colon == std::u16string_view::npos || colon < 2) return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char16_t c = address[i];
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
        if (!letter &&
            (i == 0 || !((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.')))
            return false;
    }
    return true;
}

}  // namespace

ScenarioScript ReadScenarioScript(std::istream& in, const std::string& folder) {
    ScenarioScript script;
    script.folder = folder;
    std::string text;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        script.lines.push_back({number, text});
    }
    return script;
}

bool LoadScenarioScript(const std::string& path, ScenarioScript& script) {
    std::ifstream in(path);
    if (!in) return false;
    script = ReadScenarioScript(in, AbsoluteFolderOf(path));
    return true;
}

std::string ResolveScriptPath(const ScenarioScript& script, const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    std::string relative = path;
    while (relative.starts_with("./")) relative.erase(0, 2);
    return script.folder == "/" ? "/" + relative : script.folder + "/" + relative;
}

std::u16string ResolveScriptAddress(const ScenarioScript& script, const std::u16string& address) {
    if (HasScheme(address)) return address;
    return Utf8ToUtf16(ResolveScriptPath(script, Utf16ToUtf8(address)));
}
