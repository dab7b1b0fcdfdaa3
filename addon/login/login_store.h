// The login commands' access to the add-on's database connection: queries
// read whole into rows of text, and changes run as one transaction each,
// with the provider's description of a failure kept for the message.
#pragma once

#include <string>
#include <vector>

#include "store/ado_db.h"

namespace login {

// One row of a query, its columns as text in select order; NULL reads as
// empty text.
using LoginRow = std::vector<std::u16string>;

// Whether the connection is open (the database is not opened here).
bool IsDbOpen(CAdoDb& db);

class LoginStore {
public:
    explicit LoginStore(CAdoDb& db) : m_db(db) {}

    // False on a provider error (rows then holds what was read before it).
    bool Query(const CAdoStatement& query, std::vector<LoginRow>& rows);
    // All of the statements or none.
    bool Execute(const std::vector<CAdoStatement>& statements);
    // The provider's description of the last failure.
    const std::u16string& Error() const { return m_error; }

private:
    CAdoDb& m_db;
    std::u16string m_error;
};

}  // namespace login
