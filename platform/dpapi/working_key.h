// The key that protects and opens blobs: the user's stored key bound to this
// machine, so a copied key file is of no use elsewhere.
#pragma once

#include "platform/dpapi/key_file.h"
#include "platform/dpapi/secret_key.h"

// Whether a kept key is used only after checking that its key file is
// unchanged.
enum class KeyFileCheck { Always, WhenNotKept };

// Derives the working key from the key file in KestroHomeDirectory() and the
// machine id, or takes the one kept for the process (working_key_cache.h):
// with KeyFileCheck::Always only while that file is unchanged. False with
// the last error set (see LoadKeyFile, ReadMachineId).
bool LoadWorkingKey(KeyFileAccess access, KeyFileCheck check, SecretKey& key);
