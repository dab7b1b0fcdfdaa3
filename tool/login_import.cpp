#include "tool/login_import.h"

#include <set>
#include <vector>

#include "store/ado_db.h"
#include "store/login_schema.h"
#include "tool/column_text.h"
#include "tool/export_file_check.h"
#include "tool/login_database_path.h"

namespace {

using Params = std::vector<std::u16string>;

// One import: the protection holder, and the forms it inserted.
struct ImportRun {
    CCryptStr& crypt;
    std::set<std::u16string> insertedForms;  // FormId as text
};

// Builds the INSERT parameters of the current source row; the message of a
// failed encryption, or null. Leaves params empty for a row that must not
// be imported.
using RowBuilder = const char16_t* (*)(Fields* fields, ImportRun& run, Params& params);
// Notes a row the local database took.
using RowInserted = void (*)(const Params& params, ImportRun& run);

struct TableCopy {
    const char16_t* select;
    const char16_t* insert;
    RowBuilder build;
    RowInserted inserted;
};

// Appends the protected form of a clear column; false when encryption fails.
bool AddProtected(CCryptStr& crypt, std::u16string clear, Params& params) {
    std::u16string column;
    const bool protectedOk = ProtectColumn(crypt, clear, column);
    WipeText(clear);
    if (protectedOk) params.push_back(std::move(column));
    return protectedOk;
}

const char16_t* BuildLoginInput(Fields* fields, ImportRun& run, Params& params) {
    if (!AddProtected(run.crypt, ColumnText(fields, 1), params) ||
        !AddProtected(run.crypt, ColumnText(fields, 2), params)) {
        return u"Cannot encrypt login data.";
    }
    params.push_back(ColumnText(fields, 0));
    return nullptr;
}

// NULL LoginUrl, PasswordName and PasswordValue arrive as empty strings; an
// empty password is not encrypted.
const char16_t* BuildLoginInfo(Fields* fields, ImportRun& run, Params& params) {
    params.push_back(ColumnText(fields, 0));
    params.push_back(ColumnText(fields, 1));
    if (!AddProtected(run.crypt, ColumnText(fields, 2), params))
        return u"Cannot encrypt login info.";
    params.push_back(ColumnText(fields, 3));
    params.push_back(ColumnText(fields, 4));
    std::u16string password = ColumnText(fields, 5);
    if (password.empty()) {
        params.emplace_back();
    } else if (!AddProtected(run.crypt, std::move(password), params)) {
        return u"Cannot encrypt password.";
    }
    params.push_back(ColumnText(fields, 6));
    return nullptr;
}

// FormId and FieldId keep their values, so fields stay attached to forms.
const char16_t* BuildFormInfo(Fields* fields, ImportRun&, Params& params) {
    for (long i = 0; i < 3; ++i) params.push_back(ColumnText(fields, i));
    return nullptr;
}

void FormInserted(const Params& params, ImportRun& run) {
    run.insertedForms.insert(params[0]);
}

// Only the fields of a form this import inserted: a form refused because
// its id is taken locally must not lend its fields to the local form of
// that id, and a field whose form is not in the file has none to join.
const char16_t* BuildFieldInfo(Fields* fields, ImportRun& run, Params& params) {
    const std::u16string formId = ColumnText(fields, 4);
    if (!run.insertedForms.count(formId)) return nullptr;
    params.push_back(ColumnText(fields, 0));
    params.push_back(ColumnText(fields, 1));
    params.push_back(ColumnText(fields, 2));
    if (!AddProtected(run.crypt, ColumnText(fields, 3), params))
        return u"Cannot encrypt form field value.";
    params.push_back(formId);
    return nullptr;
}

constexpr TableCopy kTables[] = {
    {login_schema::kSelectAllLoginInput, login_schema::kInsertLoginInput, BuildLoginInput, nullptr},
    {login_schema::kSelectAllLoginInfo, login_schema::kImportLoginInfo, BuildLoginInfo, nullptr},
    {login_schema::kSelectAllFormInfo, login_schema::kImportFormInfo, BuildFormInfo, FormInserted},
    {login_schema::kSelectAllFieldInfo, login_schema::kImportFieldInfo, BuildFieldInfo, nullptr},
};

// A table without rows (or missing from the source) is skipped. A row the
// local database refuses is skipped and the copy goes on.
TransferResult CopyTable(const TableCopy& table, CAdoDb& source, CAdoDb& target, ImportRun& run) {
    FieldsPtr fields = source.OpenRecordset(table.select, false);
    if (!fields) return {};
    try {
        while (!source.m_pRecordset->GetadoEOF()) {
            Params params;
            if (const char16_t* failure = table.build(fields, run, params))
                return TransferResult::Failed(failure);
            if (!params.empty() && target.ExecuteSql(table.insert, params) && table.inserted)
                table.inserted(params, run);
            source.m_pRecordset->MoveNext();
        }
    } catch (const _com_error& e) {
        // The source cannot be read on: nothing more can be copied.
        return TransferResult::Failed(DbErrorText(e), kDbErrorTitle);
    }
    return {};
}

// Reads every value the copy will read, so that a source that cannot be
// read whole (a value that is not text, say) is reported before the first
// row is written rather than after part of it was copied.
TransferResult CheckSourceReadable(CAdoDb& source) {
    for (const TableCopy& table : kTables) {
        FieldsPtr fields = source.OpenRecordset(table.select, false);
        if (!fields) continue;
        try {
            const long columns = fields->GetCount();
            while (!source.m_pRecordset->GetadoEOF()) {
                for (long i = 0; i < columns; ++i) {
                    std::u16string value = ColumnText(fields, i);
                    WipeText(value);
                }
                source.m_pRecordset->MoveNext();
            }
        } catch (const _com_error& e) {
            return TransferResult::Failed(DbErrorText(e), kDbErrorTitle);
        }
    }
    return {};
}

}  // namespace

TransferResult ImportLoginData(CCryptStr& crypt, const std::u16string& localPath,
                               const std::u16string& sourcePath) {
    if (!FileExists(sourcePath)) return TransferResult::Failed(u"Cannot find the importing file.");
    CAdoDb target;
    if (!target.OpenDb(localPath)) {
        return TransferResult::Failed(u"Cannot open the login database file. db path: " +
                                      localPath + u" " + target.m_strError);
    }
    CAdoDb source;
    if (!source.OpenDb(sourcePath))
        return TransferResult::Failed(u"The importing file is not a login database file.");
    if (const char16_t* refusal = RefusalOfImportSource(source, crypt))
        return TransferResult::Failed(refusal);
    if (TransferResult unreadable = CheckSourceReadable(source); !unreadable.Done())
        return unreadable;
    ImportRun run{crypt, {}};
    for (const TableCopy& table : kTables) {
        TransferResult result = CopyTable(table, source, target, run);
        if (!result.Done()) return result;
    }
    source.CloseDb();
    target.CloseDb();
    return {};
}
