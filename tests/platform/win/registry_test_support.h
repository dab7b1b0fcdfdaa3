// Small helpers for the registry tests: byte images of values, reading a
// value back whole, and a second isolation directory holding a copy of the
// hive files, so that a read comes from the file and nothing remembered.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win/registry.h"
#include "tests/support/temp_home.h"

namespace registry_test {

// UTF-16LE bytes of text, with the terminating null when asked.
std::vector<BYTE> TextBytes(std::u16string_view text, bool terminated = true);
std::vector<BYTE> DwordBytes(DWORD value);

struct ReadResult {
    LONG status = 0;
    DWORD type = 0;
    std::vector<BYTE> data;
};
ReadResult ReadValue(HKEY key, const char16_t* name);

// A key created (or opened) with full access; null when that failed.
HKEY CreateKey(HKEY root, const char16_t* path);

std::string HiveFile(const char* rootName);

// While alive, KESTRO_HOME names a fresh directory with copies of the
// current hive files; the previous directory is restored afterwards.
class HiveCopyHome {
public:
    HiveCopyHome();
    ~HiveCopyHome();
    HiveCopyHome(const HiveCopyHome&) = delete;
    HiveCopyHome& operator=(const HiveCopyHome&) = delete;

private:
    testing_support::TempDir m_dir;
    std::string m_previous;
};

}  // namespace registry_test
