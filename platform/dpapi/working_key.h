// The key that protects and opens blobs: the user's stored key bound to this
// machine, so a copied key file is of no use elsewhere.
#pragma once

#include "platform/dpapi/key_file.h"
#include "platform/dpapi/secret_key.h"

// Derives the working key from the key file in KestroHomeDirectory() and the
// machine id. False with the last error set (see LoadKeyFile, ReadMachineId).
bool LoadWorkingKey(KeyFileAccess access, SecretKey& key);
