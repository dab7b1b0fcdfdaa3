#include "tests/support/temp_home.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace testing_support {

TempDir::TempDir() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/kestro-test-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    for (auto& entry : std::filesystem::recursive_directory_iterator(m_path, ec)) {
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(m_path, ec);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string TestBinaryDirectory() {
    return std::filesystem::read_symlink("/proc/self/exe").parent_path().string();
}

namespace {

// Gives every test a KESTRO_HOME of its own for its whole duration.
class TempHomeListener : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        m_home = std::make_unique<TempDir>();
        setenv("KESTRO_HOME", m_home->path().c_str(), 1);
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        unsetenv("KESTRO_HOME");
        m_home.reset();
    }
    std::unique_ptr<TempDir> m_home;
};

const bool g_registered = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new TempHomeListener);
    return true;
}();

}  // namespace

}  // namespace testing_support
