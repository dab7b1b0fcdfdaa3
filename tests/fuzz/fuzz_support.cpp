#include "tests/fuzz/fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fuzzing {
namespace {

std::string g_directory;

void RemovePrivateDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(g_directory, ignored);
}

std::string TemporaryRoot() {
    if (access("/dev/shm", W_OK) == 0) return "/dev/shm";
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

}  // namespace

const std::string& PrivateDirectory() {
    if (g_directory.empty()) {
        std::string pattern = TemporaryRoot() + "/kestro-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) Fault("cannot create the private directory", pattern);
        g_directory = pattern;
        std::atexit(RemovePrivateDirectory);
    }
    return g_directory;
}

void UsePrivateKestroHome() {
    setenv("KESTRO_HOME", (PrivateDirectory() + "/home").c_str(), 1);
}

void WriteFile(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush()) Fault("cannot write", path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void Fault(std::string_view what, std::string_view detail) {
    std::fprintf(stderr, "FAULT: %.*s\n%.*s\n", static_cast<int>(what.size()), what.data(),
                 static_cast<int>(detail.size()), detail.data());
    std::abort();
}

}  // namespace fuzzing
