// File virtualization of an installed program folder. Installed for all
// users, the folder is read-only to each of them, yet the system keeps a
// file it writes beside its programs (the login database). As Windows
// does for such folders, each user gets a private copy: a folder marked by
// a file named kPerUserFilesMark, listing one file name a line, has those
// files resolved to the user's data folder (kestro_home.h). The user's
// copy is made from the shipped file on first use and the shipped file is
// never written. A folder without the mark (a build tree) is used as it is.
#pragma once

#include <string>

inline constexpr char kPerUserFilesMark[] = "per-user-files";

// The path to open for a resolved path: the user's copy when the path names
// a per-user file of a marked folder (its name matched without regard to
// case), else the path itself. A missing copy is created from the shipped
// file, readable and writable by the user only, complete or not at all,
// never over an existing one. When it cannot be, the shipped file is read
// in its place; with no shipped file, the copy's path is given, so a new
// file goes to the user's folder.
std::string VirtualizedPath(const std::string& resolvedPath);
