// The working key of the last user and machine, kept for the process so that
// protecting or opening a value reads no file and derives nothing. It serves
// only while the environment names the same home directory and machine, and
// where asked, while the key file it came from is unchanged (one fstat). It
// is wiped when replaced, in a forked child (which may run with other
// rights, so it proves its access to the key file afresh) and at exit.
#pragma once

#include <string_view>

#include "platform/dpapi/key_file_stamp.h"
#include "platform/dpapi/secret_key.h"

// The variables KestroHomeDirectory() follows: while they are unchanged, so
// is the key file's path. Views into the environment, valid until it changes.
struct HomeEnvironment {
    static HomeEnvironment Current();
    std::string_view kestroHome, configHome, home;
};

// Copies the kept key into key when it serves the environment and machine
// and, when checkKeyFile is set, its key file is unchanged.
bool FindCachedWorkingKey(const HomeEnvironment& environment, std::string_view machineId,
                          bool checkKeyFile, SecretKey& key);
// Keeps key, derived under environment and machineId from the key file that
// stamp holds (taken over).
void CacheWorkingKey(const HomeEnvironment& environment, std::string_view machineId,
                     const SecretKey& key, KeyFileStamp& stamp);
