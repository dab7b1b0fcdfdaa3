// The login commands under test: the demo site on http://demo.test/, a
// second connection to the program folder's login.dat (as another window
// or the login data tool has), saved and typed-in logins written and read
// with their protected values in clear, and the messages shown.
#pragma once

#include <string>
#include <vector>

#include "store/ado_db.h"
#include "store/crypt_str.h"
#include "tests/addon/addon_test_support.h"

namespace login_test {

// A NULL column, and a protected value the current user cannot read.
inline constexpr char kNull[] = "<NULL>";
inline constexpr char kNotReadable[] = "<not readable>";

// A LoginInfo row with its protected columns in clear.
struct SavedLogin {
    std::string domain, names, values, url, passwordName, password, account, favor;
    bool operator==(const SavedLogin&) const = default;
};
void PrintTo(const SavedLogin& login, std::ostream* out);

// The favor-name dialog and its fields.
inline constexpr char16_t kFavorDialog[] = u"dialog \"Domain Favor Name Input\"";

class LoginTest : public addon_test::AddOnTest {
protected:
    void SetUp() override;
    void TearDown() override;

    browser::BrowserWindow& OpenSite(const std::string& page) { return Open(DemoWeb(page)); }
    // A page of the test's own, served on http://pages.test/.
    browser::BrowserWindow& OpenPage(const std::string& name, const std::string& html);
    CComPtr<IDispatch> ElementObject(browser::BrowserWindow& window, std::u16string_view selector);
    // Types a name and a password into the demo login page (or the given
    // inputs).
    void TypeLogin(browser::BrowserWindow& window, std::u16string_view user,
                   std::u16string_view password, std::u16string_view userInput = u"#user",
                   std::u16string_view passwordInput = u"#pass");
    // Queues choosing the Kestro item of the next context menu.
    void AnswerMenu(std::u16string_view item);
    void RightClick(browser::BrowserWindow& window, std::u16string_view selector);
    // Queues the favor-name dialog closed with OK (after typing the name
    // when one is given).
    void AnswerFavorName(std::u16string_view name = {});

    // LoginInfo, ordered by domain and account.
    std::vector<SavedLogin> SavedLogins();
    // A row as capture writes it; kNull leaves a column NULL.
    void AddSavedLogin(const SavedLogin& login);
    // A typed-in login as the tool writes it.
    void AddTypedLogin(const std::string& domain, const std::string& name,
                       const std::string& password);
    std::string Protect(const std::string& clear);
    std::string Unprotect(const std::string& text);

    // The message boxes shown so far, "TITLE: TEXT".
    std::vector<std::string> Messages();
    // The text of a control of the last dialog shown with the title.
    std::string DialogText(std::u16string_view title, int id);
    std::string Value(browser::BrowserWindow& window, std::u16string_view selector);

    std::string Database() const { return ProgramFolder() + "/login.dat"; }

    CAdoDb m_db;
    CCryptStr m_crypt;
};

// Runs the data protection calls of this process as another user until
// destroyed.
class AsOtherUser {
public:
    AsOtherUser();
    ~AsOtherUser();
    AsOtherUser(const AsOtherUser&) = delete;
    AsOtherUser& operator=(const AsOtherUser&) = delete;

private:
    testing_support::TempDir m_home;
    std::string m_previous;
};

}  // namespace login_test
