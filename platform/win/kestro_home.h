// The directories of a run. The isolation directory holds the registry
// hives and the data protection key: KESTRO_HOME names it; otherwise
// $XDG_CONFIG_HOME/kestro, otherwise ~/.config/kestro. The user's data
// folder holds the user's copies of an installed program folder's files
// (file_virtualization.h): $XDG_DATA_HOME/kestro, otherwise
// ~/.local/share/kestro.
#pragma once

#include <string>

// The directory (UTF-8 path, no trailing slash), created with mode 0700 when
// missing. Read from the environment at every call, so a test can switch it.
std::string KestroHomeDirectory();

// The user's data folder, in the same way.
std::string KestroDataDirectory();
