// The texts the login commands show, and how they show a database error.
#pragma once

#include <string>

#include "platform/ui/ui_types.h"

namespace login_messages {

inline constexpr char16_t kDatabaseErrorTitle[] = u"Kestro - Database error";
inline constexpr char16_t kSitesDatabaseErrorTitle[] = u"Kestro - Database Error";
inline constexpr char16_t kErrorTitle[] = u"Kestro - Error";

// Patterns filled with the provider's description of the failure.
inline constexpr char16_t kSitesError[] = u"data error 1: %s";
inline constexpr char16_t kProbeError[] = u"data error 2: %s";
inline constexpr char16_t kFillReadError[] = u"data error 3: %s";
inline constexpr char16_t kFillWriteError[] = u"data error 4: %s";
inline constexpr char16_t kCaptureError[] = u"data error 5: %s";
inline constexpr char16_t kDeleteError[] = u"data error 6: %s";

inline constexpr char16_t kCannotEncryptLogin[] = u"Cannot encrypt login info.";
inline constexpr char16_t kCannotEncryptPassword[] = u"Cannot encrypt password.";
inline constexpr char16_t kSavedNotDecryptable[] =
    u"The importing data is not decryptable for you. 3";
inline constexpr char16_t kTypedNameNotDecryptable[] =
    u"The inputed login data is not decryptable for you. 1";
inline constexpr char16_t kTypedPasswordNotDecryptable[] =
    u"The inputed login data is not decryptable for you. 2";

inline constexpr char16_t kReplaceQuestion[] =
    u"Login Data is already saved for this domain. Do you want to replace it (YES) or save extra "
    u"login account (No)?";
inline constexpr char16_t kReplaceTitle[] = u"Save login confirmation";

inline constexpr char16_t kDeleteQuestion[] =
    u"Do you want to delete the login information for this site?";
inline constexpr char16_t kDeleteTitle[] = u"Kestro - Confrimation";

inline constexpr char16_t kDatabaseNotAccessible[] = u"Login Database is not accessible!";
inline constexpr char16_t kNoSites[] = u"There is no web sites saved for automatically login.";
inline constexpr char16_t kNoSitesTitle[] = u"Kestro - No target to go";
inline constexpr char16_t kNoLoginForm[] =
    u"Could not found the login form in the page. Probably you are already logged in.";
inline constexpr char16_t kAutoLoginTitle[] = u"Kestro - Autologin";

inline constexpr char16_t kTypeFavorName[] = u"Please type favor name for this domain.";
inline constexpr char16_t kFavorNameTitle[] = u"Kestro - Domain name input";
inline constexpr char16_t kSelectAccount[] = u"Please select one account.";
inline constexpr char16_t kNoAccountTitle[] = u"Kestro - No account selected";
inline constexpr char16_t kSelectDomainToGo[] = u"Please select one domain to go.";
inline constexpr char16_t kSelectDomainToRemove[] = u"Please select one domain to remove.";
inline constexpr char16_t kNoDomainTitle[] = u"Kestro - No domain selected";

// The label of an account without a name.
inline constexpr char16_t kDefaultAccount[] = u"(Default)";

}  // namespace login_messages

namespace login {

// "data error N: <description>" with the error icon.
void ShowDatabaseError(HWND owner, const char16_t* pattern, const std::u16string& description,
                       const char16_t* title = login_messages::kDatabaseErrorTitle);
// A message with the error icon and the title "Kestro - Error".
void ShowLoginError(HWND owner, const char16_t* text);

}  // namespace login
