#include "tool/export_file_check.h"

#include <array>

#include "store/login_schema.h"
#include "tool/column_text.h"

namespace {

constexpr long kNoColumn = -1;

// A table of the source and the positions of its protected columns in the
// SELECT's column list.
struct ProtectedTable {
    const char16_t* select;
    std::array<long, 2> columns;
};

constexpr ProtectedTable kTables[] = {
    {login_schema::kSelectAllLoginInput, {1, 2}},
    {login_schema::kSelectAllLoginInfo, {2, 5}},
    {login_schema::kSelectAllFormInfo, {kNoColumn, kNoColumn}},
    {login_schema::kSelectAllFieldInfo, {3, kNoColumn}},
};

enum class TableState { Missing, Clear, Protected };

// Whether the first non-empty value of a protected column opens for the
// current user. A value the source cannot hand over as text ends the look;
// the import reports it when it gets there.
TableState Inspect(const ProtectedTable& table, CAdoDb& source, CCryptStr& crypt) {
    FieldsPtr fields = source.OpenRecordset(table.select, false);
    if (!fields) return source.m_strError.empty() ? TableState::Clear : TableState::Missing;
    std::array<bool, 2> seen{table.columns[0] == kNoColumn, table.columns[1] == kNoColumn};
    try {
        while (!(seen[0] && seen[1]) && !source.m_pRecordset->GetadoEOF()) {
            for (std::size_t i = 0; i < seen.size(); ++i) {
                if (seen[i]) continue;
                const std::u16string value = ColumnText(fields, table.columns[i]);
                if (value.empty()) continue;
                seen[i] = true;
                std::u16string clear;
                const bool opens = UnprotectColumn(crypt, value, clear);
                WipeText(clear);
                if (opens) return TableState::Protected;
            }
            source.m_pRecordset->MoveNext();
        }
    } catch (const _com_error&) {
    }
    return TableState::Clear;
}

// Exports hold tables only. A view in their place could compute rows
// without end, and the import would never finish.
bool DefinesViews(CAdoDb& source) {
    FieldsPtr fields =
        source.OpenRecordset(u"select name from sqlite_master where type = 'view'", false);
    if (!fields) return !source.m_strError.empty();  // no rows, or no answer at all
    try {
        return !source.m_pRecordset->GetadoEOF();
    } catch (const _com_error&) {
        return true;
    }
}

}  // namespace

const char16_t* RefusalOfImportSource(CAdoDb& source, CCryptStr& crypt) {
    if (DefinesViews(source)) return u"The importing file is not a login database file.";
    bool anyTable = false;
    for (const ProtectedTable& table : kTables) {
        switch (Inspect(table, source, crypt)) {
            case TableState::Protected:
                return u"The importing file holds encrypted login data. Only a login data file "
                       u"made by the export function can be imported.";
            case TableState::Clear:
                anyTable = true;
                break;
            case TableState::Missing:
                break;
        }
    }
    return anyTable ? nullptr : u"The importing file is not a login database file.";
}
