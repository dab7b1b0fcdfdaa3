// Whether a file chosen for import is an export. An export is a login
// database with at least one of the four tables whose protected columns
// hold clear text. Anything else would be imported wrongly: a protected
// login.dat copied as it is would have its values protected twice, and a
// database of other tables would import nothing while reporting success.
#pragma once

#include "store/ado_db.h"
#include "store/crypt_str.h"

// The message that refuses the source (an error titled "Kestro"), or null
// when it may be imported. Reads the source only.
const char16_t* RefusalOfImportSource(CAdoDb& source, CCryptStr& crypt);
