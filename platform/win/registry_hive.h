// Hive files: one .reg file per predefined root in the isolation directory
// (HKEY_LOCAL_MACHINE.reg...). Writers replace the file by renaming a fully
// written and synced temporary file over it, so a reader always sees a whole
// file. Every change runs under an exclusive lock on "<hive>.lock" and starts
// from the file as it is then, so concurrent writers in several processes
// lose nothing. A file that cannot be parsed is never overwritten. A missing
// file is an empty hive, created (mode 0600) by the first change.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/win/registry.h"
#include "platform/win/registry_tree.h"

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };

// "HKEY_LOCAL_MACHINE"...: the section prefix inside the file.
std::u16string_view RegistryRootName(RegistryRoot root);
// Path of the hive file, under the isolation directory as it is now.
std::string RegistryHivePath(RegistryRoot root);

struct HiveSnapshot {
    // ERROR_SUCCESS; ERROR_BADDB when the file is not a hive; or the error of
    // reading it. The tree is then empty, so reads see nothing.
    LONG status = ERROR_SUCCESS;
    std::shared_ptr<const RegistryTreeKey> tree;  // never null, never changed
    FILETIME lastWriteTime{};
};

// The hive's current contents (parsed again only when the file changed).
HiveSnapshot LoadHive(RegistryRoot root);

// Applies change to the hive's current contents under its lock and writes the
// result when change succeeds and sets modified. Fails with
// ERROR_ACCESS_DENIED when the hive is read-only and with ERROR_BADDB when
// the file cannot be parsed; the file is then left as it is.
using HiveChange = std::function<LONG(RegistryTreeKey& root, bool& modified)>;
LONG UpdateHive(RegistryRoot root, const HiveChange& change);

// A hive file without any write permission bit is read-only even for root;
// otherwise the process's write access decides. A missing file is writable.
bool HiveIsWritable(RegistryRoot root);
