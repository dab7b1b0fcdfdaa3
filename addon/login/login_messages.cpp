#include "addon/login/login_messages.h"

#include "platform/ui/message_box.h"
#include "platform/win/format.h"

namespace login {

void ShowDatabaseError(HWND owner, const char16_t* pattern, const std::u16string& description,
                       const char16_t* title) {
    MessageBoxW(owner, FormatPattern(pattern, description).c_str(), title, MB_ICONERROR);
}

void ShowLoginError(HWND owner, const char16_t* text) {
    MessageBoxW(owner, text, login_messages::kErrorTitle, MB_ICONERROR);
}

}  // namespace login
