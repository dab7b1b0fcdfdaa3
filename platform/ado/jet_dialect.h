// The Jet statement language as far as SQLite does not already speak it.
// Quoted literals ('...', "..."), bracketed and backquoted names ([...],
// `...`) and comments are never changed or searched.
#pragma once

#include <string>
#include <string_view>

// Replaces @@Identity with the last automatic number of the connection.
// Len() is a function of the connection (see sqlite_database.h) and needs
// no rewriting; names of tables and columns already match in any case.
std::u16string TranslateJetSql(std::u16string_view jetSql);

// The number of "?" parameter markers outside literals and comments.
long CountParameterMarkers(std::u16string_view jetSql);

// The statement with "rowid, " put right after its leading SELECT, so the
// rows of a one-table query can be written back; empty when the statement
// is not a plain SELECT (DISTINCT rows come from no single row).
std::u16string WithLeadingRowid(std::u16string_view sql);
