// The statements of the login commands. The statement heads of the login
// database stay as they are; the value that used to be written between
// quotes after a head goes in as a "?" parameter instead, so host names,
// addresses, account and favor names never become statement text.
//
// An empty account and a NULL one are the same account ("(Default)") in
// every look-up, update and deletion built here.
#pragma once

#include <string>
#include <vector>

#include "store/ado_db.h"

namespace login_sql {

// The values of one captured login, in the order the insert names them.
struct CapturedRow {
    std::u16string host, names, values, url, passwordName, password, account, favorName;
};

// Login capture.
CAdoStatement SelectCapturedRows(const std::u16string& host);
CAdoStatement InsertCaptured(const CapturedRow& row);
// Overwrites the row of `whereAccount` with the captured login; the favor
// name stays.
CAdoStatement UpdateCaptured(const CapturedRow& row, const std::u16string& whereAccount);
CAdoStatement DeleteCapturedAccount(const std::u16string& host, const std::u16string& account);

// The probe of a login form.
CAdoStatement SelectSavedItems(const std::u16string& host);
CAdoStatement SelectTypedDomains(const std::u16string& core);

// Login fill.
CAdoStatement SelectAccountRows(const std::u16string& host);
CAdoStatement SelectAccountLogin(const std::u16string& host, const std::u16string& account);
CAdoStatement SelectTypedLogin(const std::u16string& core);
CAdoStatement UpdateFilledLogin(const std::u16string& names, const std::u16string& values,
                                const std::u16string& url, const std::u16string& passwordName,
                                const std::u16string& host, const std::u16string& account);
CAdoStatement InsertFilledLogin(const std::u16string& host, const std::u16string& names,
                                const std::u16string& values, const std::u16string& url,
                                const std::u16string& passwordName);

// Login deletion.
CAdoStatement SelectAccountNames(const std::u16string& host);
CAdoStatement DeleteHostLogins(const std::u16string& host);
CAdoStatement DeleteAccountLogin(const std::u16string& host, const std::u16string& account);

// Registered sites: the login address of a host, only where it is one.
CAdoStatement SelectLoginUrl(const std::u16string& host);
CAdoStatement ClearLoginUrls(const std::vector<std::u16string>& hosts);

// The LIKE pattern that finds the core name followed by a dot anywhere in
// a typed-in domain; "%", "_" and the escape character of the core match
// only themselves.
std::u16string TypedDomainPattern(const std::u16string& core);

}  // namespace login_sql
