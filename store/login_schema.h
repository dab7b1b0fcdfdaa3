// The login database: its file name, its tables and every statement the
// deliverables issue against it, gathered in one place so that the shipped
// schema (resources/login.sql) and the statements can be checked together.
//
// A statement whose text ends in a quote, "=", "(" or "'%" is a head: the
// caller appends a value (and the closing quote where the value is text).
// Statements with "?" markers run through CAdoDb::ExecuteSql with one string
// per marker, in marker order; the others run through OpenRecordset or the
// caller's own recordset on the same connection. The texts are kept exactly
// as the deliverables have always sent them, case and blanks included.
#pragma once

namespace login_schema {

// The file beside the program files; shipped ready-made, never created.
inline constexpr char16_t kDatabaseFileName[] = u"login.dat";

inline constexpr char16_t kLoginInfoTable[] = u"LoginInfo";
inline constexpr char16_t kLoginInputTable[] = u"LoginInput";
inline constexpr char16_t kFormInfoTable[] = u"FormInfo";
inline constexpr char16_t kFieldInfoTable[] = u"FieldInfo";

// LoginInput: logins typed into the tool.
inline constexpr char16_t kSelectAllLoginInput[] =
    u"select DomainName, LoginName, LoginPassword from logininput";
inline constexpr char16_t kInsertLoginInput[] =
    u"insert into logininput (LoginName, LoginPassword, DomainName) values (?, ?, ?)";
inline constexpr char16_t kUpdateLoginInput[] =
    u"update logininput set LoginName = ?, LoginPassword = ? where DomainName = ?";
inline constexpr char16_t kDeleteLoginInput[] = u"delete from logininput where DomainName = ?";

// Import and export of the whole database.
inline constexpr char16_t kSelectAllLoginInfo[] =
    u"SELECT DomainName, ItemNames, ItemValues, LoginUrl, PasswordName, PasswordValue, "
    u"AccountName FROM LoginInfo";
inline constexpr char16_t kImportLoginInfo[] =
    u"insert into LoginInfo (DomainName, ItemNames, ItemValues, LoginUrl, PasswordName, "
    u"PasswordValue, AccountName) values (?, ?, ?, ?, ?, ?, ?)";
inline constexpr char16_t kSelectAllFormInfo[] =
    u"SELECT FormId, FormUrl, DomainName FROM FormInfo";
inline constexpr char16_t kImportFormInfo[] =
    u"insert into FormInfo (FormId, FormUrl, DomainName) values (?, ?, ?)";
inline constexpr char16_t kSelectAllFieldInfo[] =
    u"SELECT FieldId, FieldName, FieldType, FieldValue, FormId FROM FieldInfo";
inline constexpr char16_t kImportFieldInfo[] =
    u"insert into FieldInfo (FieldId, FieldName, FieldType, FieldValue, FormId) values (?, ?, ?, "
    u"?, ?)";
// Opened writable to turn the protected columns into clear text and back.
inline constexpr char16_t kSelectLoginInfoSecrets[] =
    u"SELECT DomainName, ItemValues, PasswordValue, AccountName FROM LoginInfo";
inline constexpr char16_t kSelectFieldInfoSecrets[] = u"SELECT FieldId, FieldValue FROM FieldInfo";

// Login capture.
inline constexpr char16_t kSelectLoginInfoByDomainHead[] =
    u"select * from LoginInfo where DomainName='";
inline constexpr char16_t kInsertCapturedLogin[] =
    u"insert into LoginInfo (DomainName, ItemNames, ItemValues, LoginUrl, PasswordName, "
    u"PasswordValue, AccountName, FavorName) values (?, ?, ?, ?, ?, ?, ?, ?)";
inline constexpr char16_t kUpdateCapturedLoginByDomainHead[] =
    u"update LoginInfo set ItemNames = ?, ItemValues = ?, LoginUrl = ?, PasswordName = ?, "
    u"PasswordValue = ?, AccountName = ? where DomainName='";
// Ends in a blank.
inline constexpr char16_t kDeleteLoginInfoAccount[] =
    u"delete from LoginInfo where DomainName = ? and AccountName = ? ";

// Login fill.
inline constexpr char16_t kSelectLoginAccountsByDomainHead[] =
    u"select ItemNames, ItemValues, PasswordValue, AccountName from LoginInfo where DomainName ='";
inline constexpr char16_t kSelectLoginWithPasswordByDomainHead[] =
    u"select ItemNames, ItemValues, PasswordValue from LoginInfo where DomainName ='";
inline constexpr char16_t kSelectLoginInputLikeDomainHead[] =
    u"select LoginName, LoginPassword from LoginInput where DomainName like '%";
inline constexpr char16_t kUpdateFilledLogin[] =
    u"update LoginInfo set ItemNames = ?, ItemValues = ?, LoginUrl = ?, PasswordName = ? where "
    u"DomainName = ?";
inline constexpr char16_t kInsertFilledLogin[] =
    u"insert into LoginInfo (DomainName, ItemNames, ItemValues, LoginUrl, PasswordName) values "
    u"(?, ?, ?, ?, ?)";
inline constexpr char16_t kSelectLoginItemsByDomainHead[] =
    u"select ItemNames, ItemValues from LoginInfo where DomainName ='";
inline constexpr char16_t kSelectLoginInputDomainLikeHead[] =
    u"select DomainName from LoginInput where DomainName like '%";

// Registered sites and automatic login.
inline constexpr char16_t kSelectRegisteredSites[] =
    u"select distinct DomainName, FavorName from LoginInfo where LoginUrl is not null and "
    u"Len(LoginUrl) > 1";
inline constexpr char16_t kSelectLoginUrlByDomainHead[] =
    u"select LoginUrl from LoginInfo where DomainName = '";
// Completed with a list of quoted domains and ")".
inline constexpr char16_t kClearLoginUrlInHead[] =
    u"update LoginInfo set LoginUrl = NULL where DomainName in (";

// Login deletion and account selection.
inline constexpr char16_t kSelectAccountNamesByDomainHead[] =
    u"select AccountName from LoginInfo where DomainName ='";
// Completed with the domain and "'", optionally followed by one of the two
// account pieces.
inline constexpr char16_t kDeleteLoginInfoByDomainHead[] =
    u"delete from LoginInfo where DomainName ='";
inline constexpr char16_t kAndAccountNameHead[] = u" and AccountName ='";
inline constexpr char16_t kAndAccountNameEmpty[] = u" and AccountName = ''";

// Form data.
inline constexpr char16_t kSelectFormIdByUrlHead[] =
    u"select formid from forminfo where formurl ='";
inline constexpr char16_t kInsertFormInfoHead[] =
    u"insert into forminfo (formurl, DomainName) values ('";
// The automatic number of the last insert on the same connection.
inline constexpr char16_t kSelectIdentity[] = u"select @@Identity";
inline constexpr char16_t kInsertFieldInfoHead[] =
    u"insert into FieldInfo (FieldName, FieldType, FieldValue, FormId) values ('";
// Completed with the form id, unquoted.
inline constexpr char16_t kSelectFieldsByFormIdHead[] =
    u"select FieldName, FieldType, FieldValue from FieldInfo where FormId = ";

}  // namespace login_schema
