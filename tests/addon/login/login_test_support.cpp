#include "tests/addon/login/login_test_support.h"

#include <cstdlib>
#include <ostream>

#include "store/login_schema.h"

namespace login_test {

namespace {

std::string ColumnText(Fields* fields, long index) {
    const CComVariant value = fields->GetItem(index)->GetValue();
    if (value.vt == VT_NULL) return kNull;
    return Utf16ToUtf8(std::u16string(value.bstrVal, SysStringLen(value.bstrVal)));
}

// A NULL parameter cannot be bound: such columns are left out of the
// insert.
CAdoStatement InsertOf(const std::vector<std::pair<std::u16string, std::string>>& columns) {
    CAdoStatement insert{u"insert into LoginInfo (", {}};
    std::u16string markers;
    for (const auto& [name, value] : columns) {
        if (value == kNull) continue;
        if (!insert.params.empty()) {
            insert.sql += u", ";
            markers += u", ";
        }
        insert.sql += name;
        markers += u"?";
        insert.params.push_back(Utf8ToUtf16(value));
    }
    insert.sql += u") values (" + markers + u")";
    return insert;
}

}  // namespace

void PrintTo(const SavedLogin& login, std::ostream* out) {
    *out << "{" << login.domain << " | " << login.names << " | " << login.values << " | "
         << login.url << " | " << login.passwordName << " | " << login.password << " | "
         << login.account << " | " << login.favor << "}";
}

void LoginTest::SetUp() {
    AddOnTest::SetUp();
    // Saved login addresses name the demo site by its host.
    DemoWeb("");
    ASSERT_TRUE(m_db.OpenDb(Utf8ToUtf16(Database()))) << Utf16ToUtf8(m_db.m_strError);
}

void LoginTest::TearDown() {
    m_db.CloseDb();
    AddOnTest::TearDown();
}

browser::BrowserWindow& LoginTest::OpenPage(const std::string& name, const std::string& html) {
    AddPage(name, html);
    Session().MapHost(u"pages.test", Utf8ToUtf16(PagesFolder()));
    return Open(u"http://pages.test/" + Utf8ToUtf16(name));
}

CComPtr<IDispatch> LoginTest::ElementObject(browser::BrowserWindow& window,
                                            std::u16string_view selector) {
    const browser::PageElement found = Element(window, selector);
    CComPtr<IDispatch> object;
    if (found.document) found.document->ObjectFor(found.element, &object);
    EXPECT_TRUE(object) << Utf16ToUtf8(selector);
    return object;
}

void LoginTest::TypeLogin(browser::BrowserWindow& window, std::u16string_view user,
                          std::u16string_view password, std::u16string_view userInput,
                          std::u16string_view passwordInput) {
    EXPECT_EQ("", window.Type(Element(window, userInput), user));
    EXPECT_EQ("", window.Type(Element(window, passwordInput), password));
}

void LoginTest::AnswerMenu(std::u16string_view item) {
    Answer(u"menu Kestro>" + std::u16string(item));
}

void LoginTest::RightClick(browser::BrowserWindow& window, std::u16string_view selector) {
    EXPECT_EQ("", window.RightClick(Element(window, selector)));
}

void LoginTest::AnswerFavorName(std::u16string_view name) {
    Answer(kFavorDialog);
    if (!name.empty()) Answer(u"set 228 " + std::u16string(name));
    Answer(u"press 1");
}

std::vector<SavedLogin> LoginTest::SavedLogins() {
    std::vector<SavedLogin> logins;
    FieldsPtr fields = m_db.OpenRecordset(
        u"select DomainName, ItemNames, ItemValues, LoginUrl, PasswordName, PasswordValue, "
        u"AccountName, FavorName from LoginInfo order by DomainName, AccountName",
        false);
    EXPECT_EQ(u"", m_db.m_strError);
    if (!fields) return logins;
    while (!m_db.m_pRecordset->GetadoEOF()) {
        SavedLogin login;
        login.domain = ColumnText(fields, 0);
        login.names = ColumnText(fields, 1);
        login.values = Unprotect(ColumnText(fields, 2));
        login.url = ColumnText(fields, 3);
        login.passwordName = ColumnText(fields, 4);
        const std::string password = ColumnText(fields, 5);
        login.password = password.empty() || password == kNull ? password : Unprotect(password);
        login.account = ColumnText(fields, 6);
        login.favor = ColumnText(fields, 7);
        logins.push_back(login);
        m_db.m_pRecordset->MoveNext();
    }
    return logins;
}

void LoginTest::AddSavedLogin(const SavedLogin& login) {
    const std::string password = login.password.empty() || login.password == kNull
                                     ? login.password
                                     : Protect(login.password);
    const CAdoStatement insert = InsertOf({{u"DomainName", login.domain},
                                           {u"ItemNames", login.names},
                                           {u"ItemValues", Protect(login.values)},
                                           {u"LoginUrl", login.url},
                                           {u"PasswordName", login.passwordName},
                                           {u"PasswordValue", password},
                                           {u"AccountName", login.account},
                                           {u"FavorName", login.favor}});
    ASSERT_TRUE(m_db.ExecuteSql(insert.sql, insert.params)) << Utf16ToUtf8(m_db.m_strError);
}

void LoginTest::AddTypedLogin(const std::string& domain, const std::string& name,
                              const std::string& password) {
    ASSERT_TRUE(m_db.ExecuteSql(
        login_schema::kInsertLoginInput,
        {Utf8ToUtf16(Protect(name)), Utf8ToUtf16(Protect(password)), Utf8ToUtf16(domain)}))
        << Utf16ToUtf8(m_db.m_strError);
}

std::string LoginTest::Protect(const std::string& clear) {
    std::string text;
    EXPECT_TRUE(m_crypt.EncryptStrW(Utf8ToUtf16(clear), text));
    return text;
}

std::string LoginTest::Unprotect(const std::string& text) {
    std::u16string clear;
    if (!m_crypt.DecryptStrW(text, clear)) return kNotReadable;
    return Utf16ToUtf8(clear);
}

std::vector<std::string> LoginTest::Messages() {
    std::vector<std::string> shown;
    for (const ShownThing& thing : Ui().Shown())
        if (thing.kind == ShownThing::Kind::MessageBox)
            shown.push_back(Utf16ToUtf8(thing.message.title + u": " + thing.message.text));
    return shown;
}

std::string LoginTest::DialogText(std::u16string_view title, int id) {
    std::string text = "<no such dialog>";
    for (const ShownThing& thing : Ui().Shown()) {
        if (thing.kind != ShownThing::Kind::Dialog || thing.dialog.title != title) continue;
        text = "<no such control>";
        for (const ControlSnapshot& control : thing.dialog.controls)
            if (control.id == id) text = Utf16ToUtf8(control.text);
    }
    return text;
}

std::string LoginTest::Value(browser::BrowserWindow& window, std::u16string_view selector) {
    CComQIPtr<IHTMLInputElement> input(ElementObject(window, selector));
    CComBSTR value;
    if (!input || FAILED(input->get_value(&value))) return "<no value>";
    return Utf16ToUtf8(std::u16string(value.m_str ? value.m_str : u"", value.Length()));
}

AsOtherUser::AsOtherUser() {
    const char* previous = std::getenv("KESTRO_HOME");
    m_previous = previous ? previous : "";
    setenv("KESTRO_HOME", m_home.path().c_str(), 1);
}

AsOtherUser::~AsOtherUser() {
    setenv("KESTRO_HOME", m_previous.c_str(), 1);
}

}  // namespace login_test
