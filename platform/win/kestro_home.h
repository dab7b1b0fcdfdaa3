// The isolation directory of a run: registry hives and the data protection
// key live here. KESTRO_HOME names it; otherwise $XDG_CONFIG_HOME/kestro,
// otherwise ~/.config/kestro.
#pragma once

#include <string>

// The directory (UTF-8 path, no trailing slash), created with mode 0700 when
// missing. Read from the environment at every call, so a test can switch it.
std::string KestroHomeDirectory();
