// Reading and writing login databases from the tests, outside the program:
// rows through SQLite, protected values through CCryptStr as a chosen user.
#pragma once

#include <string>
#include <vector>

namespace quillet_testing {

// A NULL column as Rows returns it.
inline constexpr char kNull[] = "<NULL>";

// Makes the data protection calls of this process run as the user whose
// isolation directory is home, until destroyed.
class AsUser {
public:
    explicit AsUser(const std::string& home);
    ~AsUser();
    AsUser(const AsUser&) = delete;
    AsUser& operator=(const AsUser&) = delete;

private:
    std::string m_previous;
};

// Protected text of a clear value for the current user.
std::string Protect(const std::string& clear);
// The clear value, or "<not decryptable>".
std::string Unprotect(const std::string& text);

// Every row of a query, columns as text, NULL as kNull.
std::vector<std::vector<std::string>> Rows(const std::string& database, const std::string& sql);
// Runs statements with text parameters (an entry kNull binds NULL), all in
// one transaction.
void Execute(const std::string& database, const std::string& sql,
             const std::vector<std::vector<std::string>>& rows);
// "ok" for a sound database file.
std::string IntegrityCheck(const std::string& database);

}  // namespace quillet_testing
