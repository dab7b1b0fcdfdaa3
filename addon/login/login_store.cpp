#include "addon/login/login_store.h"

#include "store/column_values.h"

namespace login {

bool IsDbOpen(CAdoDb& db) {
    long state = adStateClosed;
    return db.m_pConnection && SUCCEEDED(db.m_pConnection->get_State(&state)) &&
           (state & adStateOpen);
}

bool LoginStore::Query(const CAdoStatement& query, std::vector<LoginRow>& rows) {
    rows.clear();
    m_error.clear();
    FieldsPtr fields = m_db.OpenRecordsetWithParams(query.sql, query.params);
    if (!fields) {
        m_error = m_db.ErrorDescription();
        return m_db.m_strError.empty();
    }
    try {
        const long columns = fields->GetCount();
        while (!m_db.m_pRecordset->GetadoEOF()) {
            LoginRow& row = rows.emplace_back();
            for (long i = 0; i < columns; ++i) row.push_back(ColumnText(fields, i));
            m_db.m_pRecordset->MoveNext();
        }
        m_db.m_pRecordset->Close();
        return true;
    } catch (const _com_error& e) {
        m_error = e.Description().empty() ? e.ErrorMessage() : e.Description();
        return false;
    }
}

bool LoginStore::Execute(const std::vector<CAdoStatement>& statements) {
    m_error.clear();
    if (m_db.ExecuteSqlBatch(statements)) return true;
    m_error = m_db.ErrorDescription();
    return false;
}

}  // namespace login
