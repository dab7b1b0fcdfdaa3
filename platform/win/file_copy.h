// Copying a file so that its target is either the complete copy or
// untouched: the bytes go to a fresh name in the target's folder first and
// are then moved into place. POSIX paths, errno for failures.
#pragma once

#include <sys/stat.h>

#include <string>

// Writes the complete copy of the open file `from` (whose times are in
// `st`) under a fresh name in `folder`; returns that name, or an empty
// string with errno set. The copy has mode `mode`; it is created readable
// by its owner only, so nobody else can open it before it has that mode.
std::string WriteTemporaryCopy(int from, const struct stat& st, mode_t mode,
                               const std::string& folder);

// Moves the finished copy to its name, 0 or -1 with errno set. With
// failIfExists an existing target is never replaced (EEXIST).
int PlaceCopy(const std::string& temporary, const std::string& target, bool failIfExists);
