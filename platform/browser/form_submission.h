// What submitting a form sends: its successful controls encoded as
// application/x-www-form-urlencoded in the page's charset, as a GET query
// or a POST body, to the form's action resolved against the page.
#pragma once

#include <string>

#include "platform/browser/html_document.h"

namespace browser {

struct FormSubmission {
    std::u16string url;
    bool post = false;
    std::string body;
    std::u16string headers;
    std::u16string target;  // the form's target frame name
};

// submitter: the button or image input that submitted the form, if any.
FormSubmission BuildFormSubmission(HtmlDocument& document, const Node& form, const Node* submitter);

// The urlencoded form of one name or value.
std::string FormEncode(std::u16string_view text, bool utf8);

}  // namespace browser
