#include "tool/login_export.h"

#include "platform/win/file_system.h"
#include "platform/win/format.h"
#include "platform/win/last_error.h"
#include "store/ado_db.h"
#include "store/login_schema.h"
#include "tool/column_text.h"

namespace {

constexpr char16_t kCreateFailedPattern[] = u"Cannot create the exporting file. Error Code: %d";

// Decrypts the current row's protected columns and writes them back; the
// message of the first value that cannot be decrypted, or empty.
using RowDecrypter = std::u16string (*)(Fields* fields, CCryptStr& crypt);

struct TableDecrypt {
    const char16_t* select;
    RowDecrypter decrypt;
};

// Replaces the protected text at a position by its clear value.
bool DecryptField(Fields* fields, long index, CCryptStr& crypt) {
    std::u16string clear;
    if (!UnprotectColumn(crypt, ColumnText(fields, index), clear)) return false;
    fields->GetItem(index)->PutValue(CComVariant(std::u16string_view(clear)));
    WipeText(clear);
    return true;
}

std::u16string DecryptLoginInput(Fields* fields, CCryptStr& crypt) {
    if (!DecryptField(fields, 1, crypt)) return u"The login data is not decryptable for you. 1";
    if (!DecryptField(fields, 2, crypt)) return u"The login data is not decryptable for you. 2";
    return {};
}

// A NULL or empty password was never encrypted.
std::u16string DecryptLoginInfo(Fields* fields, CCryptStr& crypt) {
    if (!ColumnText(fields, 2).empty() && !DecryptField(fields, 2, crypt))
        return u"The login data is not decryptable. Domain: " + ColumnText(fields, 0);
    if (!DecryptField(fields, 1, crypt))
        return u"The login data is not decryptable for you. Domain: " + ColumnText(fields, 0);
    return {};
}

std::u16string DecryptFieldInfo(Fields* fields, CCryptStr& crypt) {
    if (!DecryptField(fields, 1, crypt))
        return u"The login data is not decryptable. FieldId: " + ColumnText(fields, 0);
    return {};
}

constexpr TableDecrypt kTables[] = {
    {login_schema::kSelectAllLoginInput, DecryptLoginInput},
    {login_schema::kSelectLoginInfoSecrets, DecryptLoginInfo},
    {login_schema::kSelectFieldInfoSecrets, DecryptFieldInfo},
};

TransferResult DecryptTable(const TableDecrypt& table, CAdoDb& copy, CCryptStr& crypt) {
    FieldsPtr fields = copy.OpenRecordset(table.select, true);
    if (!fields) return {};
    try {
        while (!copy.m_pRecordset->GetadoEOF()) {
            std::u16string failure = table.decrypt(fields, crypt);
            if (!failure.empty()) return TransferResult::Failed(std::move(failure));
            copy.m_pRecordset->Update();
            copy.m_pRecordset->MoveNext();
        }
    } catch (const _com_error& e) {
        return TransferResult::Failed(DbErrorText(e), kDbErrorTitle);
    }
    return {};
}

// The copy belongs to this export alone, so it is rewritten in one
// transaction: one commit instead of one per row.
TransferResult DecryptAllTables(CAdoDb& copy, CCryptStr& crypt) {
    try {
        copy.m_pConnection->BeginTrans();
    } catch (const _com_error& e) {
        return TransferResult::Failed(DbErrorText(e), kDbErrorTitle);
    }
    TransferResult result;
    for (const TableDecrypt& table : kTables) {
        result = DecryptTable(table, copy, crypt);
        if (!result.Done()) break;
    }
    try {
        if (result.Done()) {
            copy.m_pConnection->CommitTrans();
        } else {
            copy.m_pConnection->RollbackTrans();
        }
    } catch (const _com_error& e) {
        if (result.Done()) result = TransferResult::Failed(DbErrorText(e), kDbErrorTitle);
    }
    return result;
}

// The copy will hold secrets in clear, so only its owner may ever open it.
// The local database's write lock is held meanwhile (taking it first rolls
// back what a writer that died left half done), so the bytes copied are one
// committed state even while the add-on writes.
TransferResult CopyCommittedState(CAdoDb& local, const std::u16string& localPath,
                                  const std::u16string& targetPath) {
    try {
        local.m_pConnection->BeginTrans();
    } catch (const _com_error& e) {
        return TransferResult::Failed(DbErrorText(e), kDbErrorTitle);
    }
    // The copy's own descriptor of the file is closed only when the bytes
    // are copied; its closing drops the process's locks on the file, and
    // the transaction ends right after.
    const BOOL copied = CopyFileForOwnerW(localPath.c_str(), targetPath.c_str(), TRUE);
    const DWORD error = GetLastError();
    try {
        local.m_pConnection->RollbackTrans();  // nothing was changed
    } catch (const _com_error&) {
        // Closing the connection ends the transaction as well.
    }
    if (!copied) return TransferResult::Failed(FormatPattern(kCreateFailedPattern, error));
    return {};
}

TransferResult CopyLocalDatabase(const std::u16string& localPath,
                                 const std::u16string& targetPath) {
    CAdoDb local;
    if (!local.OpenDb(localPath)) {
        return TransferResult::Failed(u"Cannot open the login database file. db path: " +
                                      localPath + u" " + local.m_strError);
    }
    TransferResult result = CopyCommittedState(local, localPath, targetPath);
    local.CloseDb();
    return result;
}

}  // namespace

TransferResult ExportLoginData(CCryptStr& crypt, const std::u16string& localPath,
                               const std::u16string& targetPath) {
    TransferResult copied = CopyLocalDatabase(localPath, targetPath);
    if (!copied.Done()) return copied;
    CAdoDb copy;
    // Nothing is decrypted yet, so the copy may stay for inspection.
    if (!copy.OpenDb(targetPath)) {
        return TransferResult::Failed(
            FormatPattern(u"The login database file is corrupted. DB path: %s , %s ", targetPath,
                          copy.m_strError));
    }
    const TransferResult result = DecryptAllTables(copy, crypt);
    copy.CloseDb();
    // A partly decrypted copy is never left behind.
    if (!result.Done()) DeleteFileW(targetPath.c_str());
    return result;
}
