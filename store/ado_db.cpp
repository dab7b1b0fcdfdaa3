#include "store/ado_db.h"

#include <algorithm>
#include <climits>

#include "platform/win/format.h"

namespace {

constexpr char16_t kConnectionHead[] = u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=";
// Jet row-level locking.
constexpr char16_t kConnectionTail[] = u";Jet OLEDB:Database Locking Mode=1";

constexpr char16_t kCreateConnectionFailed[] = u"Ado Connect CreateInstance failed.";
constexpr char16_t kOpenDbFailedPattern[] = u"Error! open log DB. %s\n";
constexpr char16_t kAdoErrorPattern[] = u"ado error: %s";

// A missing object is an invalid-pointer error, as a null smart pointer
// raises it in the wrappers ADO code is written against.
template <class T>
T* Require(const CComPtr<T>& object) {
    if (!object) _com_issue_error(E_POINTER);
    return object.p;
}

template <class T>
void CreateAdoObject(CComPtr<T>& object, REFCLSID clsid) {
    object.Release();
    object.CoCreateInstance(clsid, nullptr, CLSCTX_ALL);
    Require(object);
}

// Held for one ExecuteSql call and left on every path out of it.
class ExecuteLock {
public:
    explicit ExecuteLock(CRITICAL_SECTION* section) : m_section(section) {
        EnterCriticalSection(m_section);
    }
    ~ExecuteLock() { LeaveCriticalSection(m_section); }
    ExecuteLock(const ExecuteLock&) = delete;
    ExecuteLock& operator=(const ExecuteLock&) = delete;

private:
    CRITICAL_SECTION* m_section;
};

void BindStringParameters(_Command* command, const std::vector<std::u16string>& params) {
    if (params.empty()) return;
    ParametersPtr parameters = command->GetParameters();
    for (std::size_t i = 0; i < params.size(); ++i) {
        _ParameterPtr parameter = Require(parameters)->GetItem(CComVariant(static_cast<int>(i)));
        const std::u16string& value = params[i];
        // An empty value is a zero-length string, never NULL; its size is
        // left as it was.
        if (!value.empty())
            Require(parameter)->PutSize(
                static_cast<long>(std::min<std::size_t>(value.size(), LONG_MAX)));
        Require(parameter)->PutValue(CComVariant(std::u16string_view(value)));
    }
}

void PrepareCommand(_Command* command, const std::u16string& sql,
                    const std::vector<std::u16string>& params) {
    command->PutCommandText(sql);
    BindStringParameters(command, params);
}

std::u16string DescriptionOf(const _com_error& error) {
    return error.Description().empty() ? error.ErrorMessage() : error.Description();
}

}  // namespace

CAdoDb::CAdoDb() {
    InitializeCriticalSection(&m_csExecute);
}

// The critical section goes last, after everything that might use it.
CAdoDb::~CAdoDb() {
    CloseDb();
    m_pCommand.Release();
    m_pRecordset.Release();
    m_pConnection.Release();
    DeleteCriticalSection(&m_csExecute);
}

bool CAdoDb::OpenDb(const std::u16string& path) {
    m_strError.clear();
    m_strErrorDescription.clear();
    const std::u16string connection = kConnectionHead + path + kConnectionTail;
    if (m_pConnection && !CloseDb()) return false;

    m_pConnection.Release();
    m_pConnection.CoCreateInstance(__uuidof(Connection), nullptr, CLSCTX_ALL);
    if (!m_pConnection) {
        m_strError = kCreateConnectionFailed;
        return false;
    }
    try {
        m_pConnection->Open(connection, u"", u"", adOptionUnspecified);
        CreateAdoObject(m_pRecordset, __uuidof(Recordset));
        CreateAdoObject(m_pCommand, __uuidof(Command));
        m_pCommand->PutRefActiveConnection(m_pConnection);
        return true;
    } catch (const _com_error& e) {
        m_strError = FormatPattern(kOpenDbFailedPattern, e.ErrorMessage());
        m_strErrorDescription = DescriptionOf(e);
        m_pConnection.Release();
        return false;
    }
}

bool CAdoDb::CloseDb() {
    try {
        // The command is only released: closing it is not an ADO operation.
        m_pCommand.Release();
        if (m_pRecordset) {
            if (m_pRecordset->GetState() == adStateOpen) m_pRecordset->Close();
            m_pRecordset.Release();
        }
        if (m_pConnection) {
            if (m_pConnection->GetState() == adStateOpen) m_pConnection->Close();
            m_pConnection.Release();
        }
        return true;
    } catch (const _com_error& e) {
        m_strError = FormatPattern(kOpenDbFailedPattern, e.Description());
        m_strErrorDescription = DescriptionOf(e);
        return false;
    }
}

FieldsPtr CAdoDb::OpenRecordset(const std::u16string& sql, bool writable) {
    m_strError.clear();
    m_strErrorDescription.clear();
    try {
        _Recordset* recordset = Require(m_pRecordset);
        if (recordset->GetState() == adStateOpen) recordset->Close();
        recordset->Open(CComVariant(std::u16string_view(sql)),
                        CComVariant(static_cast<IDispatch*>(m_pConnection.p)),
                        writable ? adOpenKeyset : adOpenStatic,
                        writable ? adLockOptimistic : adLockReadOnly, adCmdText);
        if (recordset->GetRecordCount() < 1) return nullptr;
        return recordset->GetFields();
    } catch (const _com_error& e) {
        NoteAdoError(e);
        return nullptr;
    }
}

bool CAdoDb::ExecuteSql(const std::u16string& sql, const std::vector<std::u16string>& params) {
    return ExecuteSqlBatch({CAdoStatement{sql, params}});
}

bool CAdoDb::ExecuteSqlBatch(const std::vector<CAdoStatement>& statements) {
    m_strError.clear();
    m_strErrorDescription.clear();
    ExecuteLock lock(&m_csExecute);
    bool inTransaction = false;
    try {
        _Command* command = Require(m_pCommand);
        Require(m_pConnection);
        if (!m_bInTransaction) {
            m_pConnection->BeginTrans();
            inTransaction = true;
        }
        for (const CAdoStatement& statement : statements) {
            PrepareCommand(command, statement.sql, statement.params);
            command->Execute(nullptr, nullptr, adCmdText);
        }
        if (inTransaction) m_pConnection->CommitTrans();
        return true;
    } catch (const _com_error& e) {
        NoteAdoError(e);
        if (inTransaction) RollBackQuietly();
        return false;
    } catch (...) {
        // Not an ADO error (out of memory): it is the caller's, but no
        // transaction may outlive it.
        if (inTransaction) RollBackQuietly();
        throw;
    }
}

// The command object is shared with ExecuteSql, so the same lock covers it.
// The rows come back as a recordset of their own, which becomes the one
// callers walk.
FieldsPtr CAdoDb::OpenRecordsetWithParams(const std::u16string& sql,
                                          const std::vector<std::u16string>& params) {
    m_strError.clear();
    m_strErrorDescription.clear();
    ExecuteLock lock(&m_csExecute);
    try {
        _Command* command = Require(m_pCommand);
        if (Require(m_pRecordset)->GetState() == adStateOpen) m_pRecordset->Close();
        PrepareCommand(command, sql, params);
        _RecordsetPtr rows = command->Execute(nullptr, nullptr, adCmdText);
        m_pRecordset = Require(rows);
        if (rows->GetState() != adStateOpen || rows->GetRecordCount() < 1) return nullptr;
        return rows->GetFields();
    } catch (const _com_error& e) {
        NoteAdoError(e);
        return nullptr;
    }
}

bool CAdoDb::RunInTransaction(const std::function<bool()>& work) {
    m_strError.clear();
    m_strErrorDescription.clear();
    ExecuteLock lock(&m_csExecute);
    if (m_bInTransaction) return work();
    try {
        Require(m_pConnection)->BeginTrans();
    } catch (const _com_error& e) {
        NoteAdoError(e);
        return false;
    }
    m_bInTransaction = true;
    bool done = false;
    try {
        done = work();
    } catch (...) {
        m_bInTransaction = false;
        RollBackQuietly();
        throw;
    }
    m_bInTransaction = false;
    if (!done) {
        RollBackQuietly();
        return false;
    }
    try {
        m_pConnection->CommitTrans();
        return true;
    } catch (const _com_error& e) {
        NoteAdoError(e);
        RollBackQuietly();
        return false;
    }
}

void CAdoDb::NoteAdoError(const _com_error& error) {
    m_strError = FormatPattern(kAdoErrorPattern, error.Description());
    m_strErrorDescription = DescriptionOf(error);
}

// The statement's own failure is the one to report.
void CAdoDb::RollBackQuietly() {
    try {
        m_pConnection->RollbackTrans();
    } catch (const _com_error&) {
    }
}
