#include "addon/login/captured_login.h"

#include "addon/login/item_list.h"
#include "addon/login/login_form.h"
#include "addon/login/login_text.h"

namespace login {

CapturedLogin::~CapturedLogin() {
    WipeTexts(values);
    WipeText(account);
    WipeText(password);
}

namespace {

void TakeInput(const std::u16string& type, const std::u16string& name, const std::u16string& value,
               CapturedLogin& login) {
    // A value with a line feed would shift every later pair of the lists;
    // the password and the account still take it whole.
    if (!name.empty() && !value.empty() && FitsItemList(value)) {
        login.names.push_back(name);
        login.values.push_back(value);
    }
    if (type == u"text" && login.account.empty()) login.account = value;
    // A nameless password input gives way to a later one.
    if (type == u"password" && login.passwordName.empty()) {
        login.passwordName = name;
        WipeText(login.password);
        login.password = value;
    }
}

}  // namespace

bool CaptureLoginForm(IHTMLElementCollection* inputs, long length, CapturedLogin& login) {
    for (long i = 0; i < length; ++i) {
        CComPtr<IDispatch> item = ItemAt(inputs, i);
        if (!item) continue;
        CComQIPtr<IHTMLInputElement> input(item);
        if (!input) return false;
        std::u16string type;
        if (!InputType(input, type) || (type != u"password" && type != u"text")) continue;
        // An input whose name holds a line feed cannot be named in the lists.
        const std::u16string name = InputName(input);
        if (!FitsItemList(name)) continue;
        std::u16string value = InputValue(input);
        TakeInput(type, name, value, login);
        WipeText(value);
    }
    return true;
}

}  // namespace login
