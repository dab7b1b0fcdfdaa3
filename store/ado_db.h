// CAdoDb: the one gateway to the login database. One ADO connection with one
// shared recordset (reused by OpenRecordset) and one shared command (reused
// by ExecuteSql). No ADO error escapes: every failure becomes a false or null
// result plus the text of the failure in m_strError.
//
// ExecuteSql runs each statement in a transaction of its own and commits it
// before returning, so every other connection on the file, in this process or
// another, sees the change at its next query.
#pragma once

#include <string>
#include <vector>

#include "platform/ado/ado.h"
#include "platform/win/critical_section.h"

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

    std::u16string m_strError;
    _ConnectionPtr m_pConnection;
    _RecordsetPtr m_pRecordset;
    _CommandPtr m_pCommand;
    CRITICAL_SECTION m_csExecute;

private:
    void RollBackQuietly();
};
