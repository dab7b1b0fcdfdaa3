// The user's stored protection key: 32 random bytes in a file of mode 0600.
// The file is created whole or not at all: it is written under a temporary
// name and linked into place, so concurrent first users (threads or
// processes) all end up with the one key that won the link.
#pragma once

#include <string>

#include "platform/dpapi/key_file_stamp.h"
#include "platform/dpapi/secret_key.h"

enum class KeyFileAccess { ReadOnly, CreateIfMissing };

// Reads the key at path into key, creating it first when it is missing and
// access allows; stamp then holds the file read. False with the last error
// set: ERROR_INVALID_DATA for a missing key under ReadOnly or a key file of
// the wrong shape, otherwise the file error (ERROR_ACCESS_DENIED,
// ERROR_PATH_NOT_FOUND...).
bool LoadKeyFile(const std::string& path, KeyFileAccess access, SecretKey& key,
                 KeyFileStamp& stamp);
