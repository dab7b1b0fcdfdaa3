// Import: the rows of an unencrypted login database copied into the local
// one, each protected value encrypted for the current user on the way.
// Every row is its own committed statement (no overall transaction), so an
// import that stops, or is killed, leaves the rows copied so far, each
// complete. Rows the local database refuses (existing keys) are skipped
// without a message, and so are the fields of a form it refused: they
// would attach to the local form of that id. A file that is not an export
// (export_file_check.h), or one with a value that cannot be read as text,
// is refused before anything is copied.
#pragma once

#include <string>

#include "store/crypt_str.h"
#include "tool/transfer_result.h"

TransferResult ImportLoginData(CCryptStr& crypt, const std::u16string& localPath,
                               const std::u16string& sourcePath);
