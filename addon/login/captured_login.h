// What login capture reads from a login form: the item lists of its
// filled-in text and password inputs, the account (the first non-empty
// text value) and the password input's name and value. The clear values
// are wiped when the holder goes.
#pragma once

#include <string>
#include <vector>

#include "platform/browser/mshtml_form.h"

namespace login {

struct CapturedLogin {
    CapturedLogin() = default;
    ~CapturedLogin();
    CapturedLogin(const CapturedLogin&) = delete;
    CapturedLogin& operator=(const CapturedLogin&) = delete;

    std::vector<std::u16string> names;
    std::vector<std::u16string> values;
    std::u16string account;
    std::u16string passwordName;
    std::u16string password;
};

// Reads the inputs in document order. False when an entry is not an input
// (the capture then ends); entries that come back empty or whose type
// cannot be read are passed over.
bool CaptureLoginForm(IHTMLElementCollection* inputs, long length, CapturedLogin& login);

}  // namespace login
