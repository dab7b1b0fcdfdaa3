// Shared by the login database tests: a login database built afresh from
// login.sql for each test, COM initialised on the test thread, and readers
// that walk a recordset the way the deliverables do.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/ado_db.h"
#include "tests/support/temp_home.h"

namespace testing_support {

// Builds a login database at path from login.sql, as the build makes the
// shipped one. Tests never use the program folder's login.dat: the user may
// have added logins to it.
void BuildLoginDatabase(const std::string& path);

std::u16string Wide(const std::string& text);

// A string value unchanged, anything else changed to a string, NULL empty.
std::u16string Text(const VARIANT& value);

// Every row of a query, read by position through Fields.Item(i).Value for
// RecordCount rows; empty for no rows. Fails the test when the query fails.
std::vector<std::vector<CComVariant>> QueryRows(CAdoDb& db, const std::u16string& sql);

// The first column of every row, as text.
std::vector<std::u16string> QueryColumn(CAdoDb& db, const std::u16string& sql);

// "ok" for a sound database file, otherwise SQLite's findings or error.
std::string IntegrityCheck(const std::string& path);

class LoginDbTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh database in the test's directory.
    std::string FreshDatabase(const std::string& name = "login.dat");

    TempDir m_dir;
    std::string m_path;  // the first copy, made by SetUp
};

}  // namespace testing_support
