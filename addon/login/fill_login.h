// Login fill: the saved login of the site (the user choosing among its
// accounts), or else a typed-in login for it, written into the login form
// that holds the invoking element. Nothing is submitted here.
#pragma once

#include "platform/com/dispatch.h"

class CEditHtml;

namespace login {

// What a fill wrote into the page.
struct FillOutcome {
    bool wroteLogin = false;
    bool wrotePassword = false;
};

FillOutcome FillLogin(CEditHtml& addOn, IDispatch* element);

}  // namespace login
