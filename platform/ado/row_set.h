// The rows of a query, read in full when it runs: the count is exact and
// no statement stays open on the file between calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/com/variant.h"

struct ColumnInfo {
    std::u16string name;
    // Where the value comes from; empty for expressions.
    std::u16string table;
    std::u16string origin;
};

struct RowSet {
    std::vector<ColumnInfo> columns;
    std::vector<std::vector<CComVariant>> rows;
    // Writable sets only: the table the rows belong to and each row's rowid.
    std::u16string table;
    std::vector<std::int64_t> rowids;

    bool Writable() const { return !table.empty(); }
};
