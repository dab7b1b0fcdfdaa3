#include "tool/login_import.h"

#include <vector>

#include "store/ado_db.h"
#include "store/login_schema.h"
#include "tool/column_text.h"
#include "tool/login_database_path.h"

namespace {

using Params = std::vector<std::u16string>;

// Builds the INSERT parameters of the current source row; the message of a
// failed encryption, or null.
using RowBuilder = const char16_t* (*)(Fields* fields, CCryptStr& crypt, Params& params);

struct TableCopy {
    const char16_t* select;
    const char16_t* insert;
    RowBuilder build;
};

// Appends the protected form of a clear column; false when encryption fails.
bool AddProtected(CCryptStr& crypt, std::u16string clear, Params& params) {
    std::u16string column;
    const bool protectedOk = ProtectText(crypt, clear, column);
    WipeText(clear);
    if (protectedOk) params.push_back(std::move(column));
    return protectedOk;
}

const char16_t* BuildLoginInput(Fields* fields, CCryptStr& crypt, Params& params) {
    if (!AddProtected(crypt, ColumnText(fields, 1), params) ||
        !AddProtected(crypt, ColumnText(fields, 2), params)) {
        return u"Cannot encrypt login data.";
    }
    params.push_back(ColumnText(fields, 0));
    return nullptr;
}

// NULL LoginUrl, PasswordName and PasswordValue arrive as empty strings; an
// empty password is not encrypted.
const char16_t* BuildLoginInfo(Fields* fields, CCryptStr& crypt, Params& params) {
    params.push_back(ColumnText(fields, 0));
    params.push_back(ColumnText(fields, 1));
    if (!AddProtected(crypt, ColumnText(fields, 2), params)) return u"Cannot encrypt login info.";
    params.push_back(ColumnText(fields, 3));
    params.push_back(ColumnText(fields, 4));
    std::u16string password = ColumnText(fields, 5);
    if (password.empty()) {
        params.emplace_back();
    } else if (!AddProtected(crypt, std::move(password), params)) {
        return u"Cannot encrypt password.";
    }
    params.push_back(ColumnText(fields, 6));
    return nullptr;
}

// FormId and FieldId keep their values, so fields stay attached to forms.
const char16_t* BuildFormInfo(Fields* fields, CCryptStr&, Params& params) {
    for (long i = 0; i < 3; ++i) params.push_back(ColumnText(fields, i));
    return nullptr;
}

const char16_t* BuildFieldInfo(Fields* fields, CCryptStr& crypt, Params& params) {
    params.push_back(ColumnText(fields, 0));
    params.push_back(ColumnText(fields, 1));
    params.push_back(ColumnText(fields, 2));
    if (!AddProtected(crypt, ColumnText(fields, 3), params))
        return u"Cannot encrypt form field value.";
    params.push_back(ColumnText(fields, 4));
    return nullptr;
}

constexpr TableCopy kTables[] = {
    {login_schema::kSelectAllLoginInput, login_schema::kInsertLoginInput, BuildLoginInput},
    {login_schema::kSelectAllLoginInfo, login_schema::kImportLoginInfo, BuildLoginInfo},
    {login_schema::kSelectAllFormInfo, login_schema::kImportFormInfo, BuildFormInfo},
    {login_schema::kSelectAllFieldInfo, login_schema::kImportFieldInfo, BuildFieldInfo},
};

// A table without rows (or missing from the source) is skipped. The result
// of each INSERT is ignored: a refused row is skipped and the copy goes on.
TransferResult CopyTable(const TableCopy& table, CAdoDb& source, CAdoDb& target, CCryptStr& crypt) {
    FieldsPtr fields = source.OpenRecordset(table.select, false);
    if (!fields) return {};
    try {
        while (!source.m_pRecordset->GetadoEOF()) {
            Params params;
            if (const char16_t* failure = table.build(fields, crypt, params))
                return TransferResult::Failed(failure);
            target.ExecuteSql(table.insert, params);
            source.m_pRecordset->MoveNext();
        }
    } catch (const _com_error& e) {
        // The source cannot be read on: nothing more can be copied.
        return TransferResult::Failed(DbErrorText(e), kDbErrorTitle);
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
    for (const TableCopy& table : kTables) {
        TransferResult result = CopyTable(table, source, target, crypt);
        if (!result.Done()) return result;
    }
    source.CloseDb();
    target.CloseDb();
    return {};
}
