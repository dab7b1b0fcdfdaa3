// Where the tool finds the login database: beside its own program file.
#pragma once

#include <string>

// The program's full path cut after the last '/', plus "Login.dat". File
// names are matched without regard to case, so this names the shipped
// login.dat.
std::u16string LoginDatabasePath();

// Whether path names an existing file (not a folder).
bool FileExists(const std::u16string& path);
