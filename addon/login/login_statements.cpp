#include "addon/login/login_statements.h"

#include "store/login_schema.h"

namespace login_sql {

namespace {

using namespace login_schema;

constexpr char16_t kLikeEscape = u'\\';
constexpr char16_t kEscapeClause[] = u" escape '\\'";
constexpr char16_t kNullOrEmptyAccount[] = u" and (AccountName = '' or AccountName is null)";
constexpr char16_t kRegisteredUrlOnly[] = u" and LoginUrl is not null and Len(LoginUrl) > 1";

// A head whose value went between quotes, with a marker for the value.
std::u16string WithMarker(std::u16string_view head) {
    if (!head.empty() && head.back() == u'\'') head.remove_suffix(1);
    return std::u16string(head) + u"?";
}

// A head that opened a "like '%" pattern, with a marker for the pattern.
std::u16string WithLikeMarker(std::u16string_view head) {
    if (head.ends_with(u"'%")) head.remove_suffix(2);
    return std::u16string(head) + u"?" + kEscapeClause;
}

// Narrows a statement on one host to one account of it.
CAdoStatement ForAccount(std::u16string sql, std::vector<std::u16string> params,
                         const std::u16string& account) {
    if (account.empty()) {
        sql += kNullOrEmptyAccount;
    } else {
        sql += WithMarker(kAndAccountNameHead);
        params.push_back(account);
    }
    return {std::move(sql), std::move(params)};
}

}  // namespace

std::u16string TypedDomainPattern(const std::u16string& core) {
    std::u16string text = core;
    // The dot closes the label unless the name already holds one.
    if (core.find(u'.', 1) == std::u16string::npos) text += u'.';
    std::u16string pattern = u"%";
    for (char16_t c : text) {
        if (c == u'%' || c == u'_' || c == kLikeEscape) pattern += kLikeEscape;
        pattern += c;
    }
    return pattern + u"%";
}

CAdoStatement SelectCapturedRows(const std::u16string& host) {
    return {WithMarker(kSelectLoginInfoByDomainHead), {host}};
}

CAdoStatement InsertCaptured(const CapturedRow& row) {
    return {kInsertCapturedLogin,
            {row.host, row.names, row.values, row.url, row.passwordName, row.password, row.account,
             row.favorName}};
}

CAdoStatement UpdateCaptured(const CapturedRow& row, const std::u16string& whereAccount) {
    return ForAccount(
        WithMarker(kUpdateCapturedLoginByDomainHead),
        {row.names, row.values, row.url, row.passwordName, row.password, row.account, row.host},
        whereAccount);
}

CAdoStatement DeleteCapturedAccount(const std::u16string& host, const std::u16string& account) {
    if (!account.empty()) return {kDeleteLoginInfoAccount, {host, account}};
    return ForAccount(WithMarker(kDeleteLoginInfoByDomainHead), {host}, account);
}

CAdoStatement SelectSavedItems(const std::u16string& host) {
    return {WithMarker(kSelectLoginItemsByDomainHead), {host}};
}

CAdoStatement SelectTypedDomains(const std::u16string& core) {
    return {WithLikeMarker(kSelectLoginInputDomainLikeHead), {TypedDomainPattern(core)}};
}

CAdoStatement SelectAccountRows(const std::u16string& host) {
    return {WithMarker(kSelectLoginAccountsByDomainHead), {host}};
}

CAdoStatement SelectAccountLogin(const std::u16string& host, const std::u16string& account) {
    return ForAccount(WithMarker(kSelectLoginWithPasswordByDomainHead), {host}, account);
}

CAdoStatement SelectTypedLogin(const std::u16string& core) {
    return {WithLikeMarker(kSelectLoginInputLikeDomainHead), {TypedDomainPattern(core)}};
}

CAdoStatement UpdateFilledLogin(const std::u16string& names, const std::u16string& values,
                                const std::u16string& url, const std::u16string& passwordName,
                                const std::u16string& host, const std::u16string& account) {
    return ForAccount(kUpdateFilledLogin, {names, values, url, passwordName, host}, account);
}

CAdoStatement InsertFilledLogin(const std::u16string& host, const std::u16string& names,
                                const std::u16string& values, const std::u16string& url,
                                const std::u16string& passwordName) {
    return {kInsertFilledLogin, {host, names, values, url, passwordName}};
}

CAdoStatement SelectAccountNames(const std::u16string& host) {
    return {WithMarker(kSelectAccountNamesByDomainHead), {host}};
}

CAdoStatement DeleteHostLogins(const std::u16string& host) {
    return {WithMarker(kDeleteLoginInfoByDomainHead), {host}};
}

CAdoStatement DeleteAccountLogin(const std::u16string& host, const std::u16string& account) {
    return ForAccount(WithMarker(kDeleteLoginInfoByDomainHead), {host}, account);
}

CAdoStatement SelectLoginUrl(const std::u16string& host) {
    return {WithMarker(kSelectLoginUrlByDomainHead) + kRegisteredUrlOnly, {host}};
}

CAdoStatement ClearLoginUrls(const std::vector<std::u16string>& hosts) {
    std::u16string sql = kClearLoginUrlInHead;
    for (std::size_t i = 0; i < hosts.size(); ++i) sql += i == 0 ? u"?" : u", ?";
    return {sql + u")", hosts};
}

}  // namespace login_sql
