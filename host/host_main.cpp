// kestro-host: the browser host.
//   kestro-host [--engine live] [--map HOST DIR]... [URL]
//       the browser on screen (the live engine), at URL
//   kestro-host --screenshot FILE [--menu SEL PATH] [--map HOST DIR]... URL
//       renders URL with the add-ons loaded to a PNG file and exits; with
//       --menu, the context menu of the element SEL is open with the
//       submenus of PATH (labels separated by >, "-" for none)
//   kestro-host [--engine embedded|live] --script FILE [--journal FILE]
//       runs a scenario script (standard input when it is not a terminal
//       and nothing else is asked); modal UI is answered by its lines.
//       The live engine runs off screen.
// Exit status 0 when every step held, 1 when one did not (the failure is
// on standard error), 2 for a wrong command line or no display.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "host/live_host.h"
#include "host/scenario_runner.h"
#include "platform/browser/browser_session.h"
#include "platform/browser/browser_settings.h"
#include "platform/com/class_factory.h"
#include "platform/win/registry.h"

namespace {

constexpr int kUsageStatus = 2;

constexpr char kUsage[] =
    "Usage: kestro-host [--engine live|embedded] [--map HOST DIR]... [URL]\n"
    "       kestro-host --screenshot FILE [--menu SEL PATH] [--map HOST DIR]... URL\n"
    "       kestro-host [--engine embedded|live] [--script FILE] [--journal FILE]\n";

struct Options {
    std::string script;
    std::string journal;
    std::string engine;
    LiveHostOptions live;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--script" || arg == "--journal") && i + 1 < argc)
            (arg == "--script" ? options.script : options.journal) = argv[++i];
        else if (arg == "--engine" && i + 1 < argc)
            options.engine = argv[++i];
        else if (arg == "--screenshot" && i + 1 < argc)
            options.live.screenshot = argv[++i];
        else if (arg == "--menu" && i + 2 < argc) {
            options.live.menuTarget = argv[i + 1];
            options.live.menuPath = argv[i + 2];
            i += 2;
        } else if (arg == "--map" && i + 2 < argc) {
            options.live.hosts.emplace_back(argv[i + 1], argv[i + 2]);
            i += 2;
        } else if (!arg.starts_with("--") && options.live.url.empty())
            options.live.url = arg;
        else
            return false;
    }
    if (options.engine != "" && options.engine != "live" && options.engine != "embedded")
        return false;
    if (!options.live.screenshot.empty() && options.live.url.empty()) return false;
    if (!options.live.menuTarget.empty() && options.live.screenshot.empty()) return false;
    return true;
}

// A scenario runs when one is given, or comes on standard input with
// nothing else asked; otherwise the browser is for a person.
bool WantsScenario(const Options& options) {
    if (!options.script.empty()) return true;
    if (!options.live.url.empty() || !options.live.screenshot.empty() || options.engine == "live")
        return false;
    return options.engine == "embedded" || !isatty(STDIN_FILENO);
}

std::string CurrentDirectory() {
    char buffer[PATH_MAX];
    return getcwd(buffer, sizeof buffer) ? std::string(buffer) : std::string(".");
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    return CurrentDirectory() + "/" + path;
}

std::string EnvironmentJournal() {
    const char* set = std::getenv("KESTRO_JOURNAL");
    return set ? set : "";
}

// The journal `expect effect` reads: --journal, else KESTRO_JOURNAL, else
// a file of this run only. Effects go there through KESTRO_JOURNAL.
std::string ChooseJournal(const std::string& requested, bool& temporary) {
    temporary = false;
    std::string path = AbsolutePath(requested);
    if (path.empty()) path = EnvironmentJournal();
    if (path.empty()) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/kestro-journal-XXXXXX";
        const int fd = mkstemp(pattern.data());
        if (fd < 0) return {};
        close(fd);
        path = pattern;
        temporary = true;
    }
    setenv("KESTRO_JOURNAL", path.c_str(), 1);
    return path;
}

// The set-up writes the host's version once; a version already there (a
// test's own) is kept.
void EnsureBrowserVersion() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, browser::kBrowserKey, 0, KEY_READ, &key) ==
        ERROR_SUCCESS) {
        DWORD type = 0, size = 0;
        const LONG found = RegQueryValueExW(key, u"Version", nullptr, &type, nullptr, &size);
        RegCloseKey(key);
        if (found == ERROR_SUCCESS) return;
    }
    browser::WriteBrowserVersion();
}

std::uintmax_t FileSize(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? 0 : size;
}

// With both --journal and KESTRO_JOURNAL, the run's entries also go to the
// latter, appended once the run is over.
void CopyJournal(const std::string& from, std::uintmax_t offset, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    const std::string entries((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
    if (entries.empty()) return;
    std::ofstream out(to, std::ios::binary | std::ios::app);
    out << entries;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fputs(kUsage, stderr);
        return kUsageStatus;
    }
    if (!WantsScenario(options)) {
#ifdef KESTRO_LIVE_ENGINE
        CoInitialize(nullptr);
        EnsureBrowserVersion();
        for (auto& [host, folder] : options.live.hosts) folder = AbsolutePath(folder);
        const int status = RunLiveHost(options.live);
        CoUninitialize();
        return status;
#else
        std::fputs("kestro-host: this build has no live engine.\n", stderr);
        return kUsageStatus;
#endif
    }
    const bool live = options.engine == "live";
#ifdef KESTRO_LIVE_ENGINE
    if (live && !StartLiveScenarioEngine()) {
        std::fputs("kestro-host: the live engine cannot start here.\n", stderr);
        return kUsageStatus;
    }
#else
    if (live) {
        std::fputs("kestro-host: this build has no live engine.\n", stderr);
        return kUsageStatus;
    }
#endif
    ScenarioScript script;
    if (options.script.empty()) {
        script = ReadScenarioScript(std::cin, CurrentDirectory());
    } else if (!LoadScenarioScript(options.script, script)) {
        std::fprintf(stderr, "Cannot read the script %s.\n", options.script.c_str());
        return 1;
    }
    const std::string alsoTo = options.journal.empty() ? "" : EnvironmentJournal();
    bool temporaryJournal = false;
    const std::string journal = ChooseJournal(options.journal, temporaryJournal);
    const std::uintmax_t journalStart = FileSize(journal);

    CoInitialize(nullptr);
    EnsureBrowserVersion();
    bool held = false;
    {
        ScenarioRunner runner(std::move(script), journal);
        held = runner.Run(std::cerr);
    }
#ifdef KESTRO_LIVE_ENGINE
    if (live) FinishLiveScenarioEngine();
#endif
    if (!alsoTo.empty() && alsoTo != journal) CopyJournal(journal, journalStart, alsoTo);
    if (temporaryJournal) unlink(journal.c_str());
    CoUninitialize();
    return held ? 0 : 1;
}
