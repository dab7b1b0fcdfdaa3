// Starting a program that lives on by itself, as a program the shell starts
// does: in a session of its own, never waited for, its standard input
// empty. The caller learns whether it could be started.
#pragma once

#include <string>
#include <vector>

// argv[0] is the program's path. 0 when it runs, else the errno of what
// failed: changing to the directory (when not empty) or running it.
int StartDetachedProcess(const std::vector<std::string>& argv, const std::string& directory);
