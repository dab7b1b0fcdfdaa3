// Every test program runs each test with its own temporary KESTRO_HOME, so
// nothing reaches the user's registry hives or keys.
#pragma once

#include <string>

namespace testing_support {

// A fresh directory, removed with everything below it when destroyed.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

// Writes a whole file; reads it back (empty when missing).
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

// Directory of the running test program (where helper binaries are built).
std::string TestBinaryDirectory();

}  // namespace testing_support
