#include "platform/browser/form_submission.h"

#include "platform/browser/form_controls.h"
#include "platform/browser/tag_names.h"
#include "platform/browser/url.h"
#include "platform/win/codepage.h"
#include "platform/win/text.h"

namespace browser {

namespace {

std::string Encoded(std::u16string_view text, bool utf8) {
    if (utf8 || text.empty()) return Utf16ToUtf8(text);
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_WINDOWS_1252, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 0, '\0');
    if (size > 0)
        WideCharToMultiByte(CP_WINDOWS_1252, 0, text.data(), length, out.data(), size, nullptr,
                            nullptr);
    return out;
}

// Text areas submit their line breaks as CR LF.
std::u16string WithCrLf(std::u16string_view text) {
    std::u16string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        if (text[i] == '\r' || text[i] == '\n')
            out += u"\r\n";
        else
            out.push_back(text[i]);
    }
    return out;
}

using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;

void AddControl(const Node& control, const Node* submitter, Pairs& pairs) {
    if (control.HasAttribute(u"disabled")) return;
    const std::u16string name = ControlName(control);
    const std::u16string type = ControlType(control);
    if (control.Is(GUMBO_TAG_INPUT)) {
        if (type == u"submit" || type == u"button" || type == u"reset" || type == u"image") {
            if (&control != submitter || type == u"button" || type == u"reset") return;
            if (type == u"image") {
                const std::u16string prefix = name.empty() ? u"" : name + u".";
                pairs.push_back({prefix + u"x", u"0"});
                pairs.push_back({prefix + u"y", u"0"});
                return;
            }
        }
        if (name.empty()) return;
        if (type == u"checkbox" || type == u"radio") {
            if (!IsChecked(control)) return;
            const std::u16string* value = control.FindAttribute(u"value");
            pairs.push_back({name, value ? *value : u"on"});
            return;
        }
        pairs.push_back({name, type == u"file" ? u"" : ControlValue(control)});
    } else if (control.Is(GUMBO_TAG_BUTTON)) {
        if (&control == submitter && !name.empty() && type == u"submit")
            pairs.push_back({name, control.AttributeOr(u"value")});
    } else if (control.Is(GUMBO_TAG_SELECT)) {
        if (name.empty()) return;
        for (const Node* option : SelectOptions(control))
            if (IsSelected(*option) && !option->HasAttribute(u"disabled"))
                pairs.push_back({name, ControlValue(*option)});
    } else if (control.Is(GUMBO_TAG_TEXTAREA)) {
        if (!name.empty()) pairs.push_back({name, WithCrLf(ControlValue(control))});
    }
}

}  // namespace

std::string FormEncode(std::u16string_view text, bool utf8) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : Encoded(text, utf8)) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '*' || c == '-' || c == '.' || c == '_') {
            out.push_back(static_cast<char>(c));
        } else if (c == ' ') {
            out.push_back('+');
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        }
    }
    return out;
}

FormSubmission BuildFormSubmission(HtmlDocument& document, const Node& form,
                                   const Node* submitter) {
    Pairs pairs;
    for (const Node* control : FormElements(form, document.Tree()))
        AddControl(*control, submitter, pairs);
    if (submitter && submitter->Is(GUMBO_TAG_INPUT) && ControlType(*submitter) == u"image")
        AddControl(*submitter, submitter, pairs);  // image inputs are not listed elements

    const bool utf8 = !WideEqualsNoCase(document.Charset(), u"windows-1252");
    std::string encoded;
    for (const auto& [name, value] : pairs) {
        if (!encoded.empty()) encoded.push_back('&');
        encoded += FormEncode(name, utf8) + "=" + FormEncode(value, utf8);
    }

    FormSubmission submission;
    const std::u16string* action = form.FindAttribute(u"action");
    submission.url = action && !action->empty() ? document.ResolveLink(*action) : document.Url();
    submission.post = WideEqualsNoCase(form.AttributeOr(u"method"), u"post");
    submission.target = form.AttributeOr(u"target");
    if (submission.post) {
        submission.body = std::move(encoded);
        submission.headers = u"Content-Type: application/x-www-form-urlencoded\r\n";
        return submission;
    }
    Url url = ParseUrl(submission.url);
    url.hasQuery = true;
    url.query = Utf8ToUtf16(encoded);
    url.hasFragment = false;
    url.fragment.clear();
    submission.url = url.ToString();
    return submission;
}

}  // namespace browser
