// CAdoDb: the one gateway to the login database. One ADO connection with one
// shared recordset (reused by OpenRecordset) and one shared command (reused
// by ExecuteSql). No ADO error escapes: every failure becomes a false or null
// result plus the text of the failure in m_strError.
//
// ExecuteSql runs each statement in a transaction of its own and commits it
// before returning, so every other connection on the file, in this process or
// another, sees the change at its next query. ExecuteSqlBatch runs several
// statements as one transaction: all of them are committed, or none.
//
// Values that come from outside (pages, users, files) go in as "?" parameters
// of ExecuteSql, ExecuteSqlBatch and OpenRecordsetWithParams, never as text
// of the statement.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ado/ado.h"
#include "platform/win/critical_section.h"

// One statement with one string per "?" marker, in marker order.
struct CAdoStatement {
    std::u16string sql;
    std::vector<std::u16string> params;
};

class CAdoDb {
public:
    CAdoDb();
    virtual ~CAdoDb();
    CAdoDb(const CAdoDb&) = delete;
    CAdoDb& operator=(const CAdoDb&) = delete;

    // Opens the database file at path (closing an open one first); true when
    // the connection is open and the recordset and command objects exist.
    bool OpenDb(const std::u16string& path);
    // Closes and releases the three ADO objects; true without an ADO error.
    bool CloseDb();
    // Runs a SELECT into m_pRecordset: static read-only, or keyset
    // optimistic when writable. The fields of the current row when at least
    // one row came back; null for no row (m_strError empty) and for a failure
    // (m_strError set). The collection follows m_pRecordset's current row;
    // it reads rows only until the next OpenRecordset, OpenDb or CloseDb.
    FieldsPtr OpenRecordset(const std::u16string& sql, bool writable);
    // Runs a statement with one string per "?" marker, in marker order, and
    // commits it; on failure it is rolled back and false returned.
    bool ExecuteSql(const std::u16string& sql, const std::vector<std::u16string>& params);
    // Runs a SELECT with one string per "?" marker, static and read-only;
    // the result and m_pRecordset as OpenRecordset gives them.
    FieldsPtr OpenRecordsetWithParams(const std::u16string& sql,
                                      const std::vector<std::u16string>& params);
    // Runs the statements in order in one transaction and commits it; on the
    // first failure the transaction is rolled back (nothing of it stays) and
    // false returned.
    bool ExecuteSqlBatch(const std::vector<CAdoStatement>& statements);
    // Runs work as one transaction: what ExecuteSql and ExecuteSqlBatch run
    // inside it commits with the rest when work returns true; nothing of it
    // stays when work returns false or the commit fails. Queries inside it
    // see its own changes (select @@Identity among them). m_strError keeps
    // the failure that ended it.
    bool RunInTransaction(const std::function<bool()>& work);
    // The provider's description of the last failure that m_strError reports
    // (the system's text for its code when the provider gave none); emptied
    // with m_strError.
    const std::u16string& ErrorDescription() const { return m_strErrorDescription; }

    std::u16string m_strError;
    _ConnectionPtr m_pConnection;
    _RecordsetPtr m_pRecordset;
    _CommandPtr m_pCommand;
    CRITICAL_SECTION m_csExecute;

private:
    void RollBackQuietly();
    void NoteAdoError(const _com_error& error);

    std::u16string m_strErrorDescription;
    bool m_bInTransaction = false;
};
