// kestro-host --script FILE [--journal FILE]: the browser host driven by a
// scenario script (standard input without --script). Modal UI is answered
// by the script's lines. Exit status 0 when every step held, 1 when one did
// not (the failure is on standard error), 2 for a wrong command line.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "host/scenario_runner.h"
#include "platform/browser/browser_session.h"
#include "platform/browser/browser_settings.h"
#include "platform/com/class_factory.h"
#include "platform/win/registry.h"

namespace {

constexpr int kUsageStatus = 2;

struct Options {
    std::string script;
    std::string journal;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--script" || arg == "--journal") && i + 1 < argc)
            (arg == "--script" ? options.script : options.journal) = argv[++i];
        else
            return false;
    }
    return true;
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
        std::fputs("Usage: kestro-host [--script FILE] [--journal FILE]\n", stderr);
        return kUsageStatus;
    }
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
    if (!alsoTo.empty() && alsoTo != journal) CopyJournal(journal, journalStart, alsoTo);
    if (temporaryJournal) unlink(journal.c_str());
    CoUninitialize();
    return held ? 0 : 1;
}
