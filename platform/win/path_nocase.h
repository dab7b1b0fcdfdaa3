// Windows file names match without regard to case; Linux names do not.
// Every file operation that takes a Windows path resolves it here first.
#pragma once

#include <string>
#include <string_view>

#include "platform/win/win_types.h"

// The UTF-8 path of the file the Windows path names: each component that
// does not exist as written is replaced by an existing entry of its folder
// whose name matches without regard to case (the exact name always wins).
// Components from the first one that matches nothing on are kept as given,
// so a path to a file about to be created still finds its folder. A
// per-user file of an installed program folder resolves to the user's copy
// (file_virtualization.h).
std::string ResolvePathNoCase(std::u16string_view path);

// ERROR_FILE_NOT_FOUND when the folder of a missing file exists, else
// ERROR_PATH_NOT_FOUND, as Windows tells the two apart.
DWORD MissingFileError(const std::string& resolvedPath);
