// Open registry keys. A handle remembers its hive, the names on the way from
// the root and the access granted when it was opened; every operation looks
// the key up again in the hive's current contents, so changes made by other
// handles and processes, deletion included, are seen. The predefined roots
// are not in the table: they are always open with full access.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/win/registry.h"
#include "platform/win/registry_hive.h"

struct RegistryKey {
    RegistryRoot root = RegistryRoot::LocalMachine;
    std::vector<std::u16string> path;
    REGSAM access = 0;
};

bool IsPredefinedRegistryHandle(HKEY handle);
// Copies the key behind a handle; ERROR_INVALID_HANDLE for a null, closed or
// unknown handle.
LONG LookUpRegistryHandle(HKEY handle, RegistryKey& key);
HKEY OpenRegistryHandle(RegistryKey key);
// ERROR_INVALID_HANDLE when the handle is not open.
LONG CloseRegistryHandle(HKEY handle);

// Splits a subkey path into key names, appending them to names. Empty names
// (doubled or trailing backslashes) are skipped; a leading backslash is
// ERROR_BAD_PATHNAME unless allowed, and names that the hive file cannot
// hold are ERROR_INVALID_PARAMETER.
LONG SplitRegistryPath(const char16_t* subKey, bool allowLeadingBackslash,
                       std::vector<std::u16string>& names);

// Generic and MAXIMUM_ALLOWED rights turned into key rights.
REGSAM MapRegistryAccess(REGSAM requested, bool hiveWritable);
// Whether the rights include any that change the key or its values.
bool IsRegistryWriteAccess(REGSAM access);
