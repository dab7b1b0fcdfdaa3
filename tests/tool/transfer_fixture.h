// Shared by the transfer tests: the transfer dialog's answers, and two users
// with a program folder each, the first holding one of every kind of row.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tool/quillet_program.h"

namespace quillet_testing {

using Table = std::vector<std::vector<std::string>>;

inline constexpr char kTransfer[] = "dialog \"Kestro Login Data Transfer\"\n";
inline constexpr char kCancel[] = "press 2\n";

// The answer to one of the tool's error messages (title "Kestro").
std::string Message(const std::string& text);
// Types the path into the transfer dialog and presses its transfer button.
std::string Transfer(const std::string& path);
std::string Statement(const char16_t* sql);

class LoginTransfer : public ::testing::Test {
protected:
    // Writes one of everything into the first user's database: logins typed
    // in, captured logins (one without a password), forms and their fields.
    void WriteLoginData();
    // Exports the first user's database to export.dat in m_files.
    std::string ExportAsFirstUser();
    ProgramRun ImportAsSecondUser(const std::string& file);

    QuilletProgram m_source;
    QuilletProgram m_target;
    testing_support::TempDir m_secondUser;
    testing_support::TempDir m_files;
};

}  // namespace quillet_testing
