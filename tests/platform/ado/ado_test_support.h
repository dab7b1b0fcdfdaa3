// Helpers for the provider's tests: a database file made with raw SQLite
// calls, connections made through CoCreateInstance, and query results as
// text for assertions.
#pragma once

#include <string>
#include <vector>

#include "platform/ado/ado.h"

namespace ado_test {

// Creates a database with tables shaped like the login database's.
void CreateLoginDatabase(const std::string& path);

std::u16string ConnectionStringFor(const std::string& path);
// A connection open on the file; fails the test when it cannot open.
_ConnectionPtr OpenConnection(const std::string& path);

using Rows = std::vector<std::vector<std::u16string>>;
// Every row of a query as text; NULL reads as "<null>".
Rows Query(_Connection* connection, const std::u16string& sql);
// Runs a statement inside BeginTrans/CommitTrans, with one string value
// per "?" marker, as the login store runs its statements.
void ExecuteWithParameters(_Connection* connection, const std::u16string& sql,
                           const std::vector<std::u16string>& values);

// A single value read with raw SQLite calls on its own connection.
std::string RawScalar(const std::string& path, const std::string& sql);
void RawExec(const std::string& path, const std::string& sql);

// The description of the _com_error that body raises; fails the test when
// body raises nothing.
template <class Body>
std::u16string ErrorOf(Body body, HRESULT* code = nullptr) {
    try {
        body();
    } catch (const _com_error& e) {
        if (code) *code = e.Error();
        return e.Description().empty() ? u"<empty description>" : e.Description();
    }
    return u"<no error>";
}

}  // namespace ado_test
