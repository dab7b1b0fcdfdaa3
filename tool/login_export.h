// Export: a copy of the local login database whose protected values are
// decrypted in place, for carrying to another user or computer. The copy
// holds secrets in clear, so it is readable by its owner only from its
// creation, and a copy whose decryption fails is removed before the failure
// is reported. The bytes copied are a committed state of the local
// database, whatever other processes write meanwhile. The copy is rewritten
// in one transaction (nobody else uses it). The local database is only
// read.
#pragma once

#include <string>

#include "store/crypt_str.h"
#include "tool/transfer_result.h"

// targetPath is a full path; an existing file there is never overwritten.
TransferResult ExportLoginData(CCryptStr& crypt, const std::u16string& localPath,
                               const std::u16string& targetPath);
