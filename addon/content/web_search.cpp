// "Search Selection on Internet...": the selected text, every byte of its
// UTF-8 form percent-encoded, put into the search address of string 113 and
// handed to the shell (the user's web browser).
#include <string>

#include "addon/content/content_ids.h"
#include "addon/edit_html.h"
#include "platform/ui/atl_dialog.h"
#include "platform/ui/shell_execute.h"
#include "platform/ui/string_resource.h"
#include "platform/win/codepage.h"
#include "platform/win/resource.h"

namespace {

// String table entry id of the add-on's own module, read from the
// resource data as the string table holds it.
std::u16string OwnString(UINT id) {
    const HINSTANCE module = AtlResourceInstanceOfImage();
    char16_t buffer[1024] = {};
    const int length = LoadStringW(module, id, buffer, 1024);
    return length > 0 ? std::u16string(buffer, static_cast<std::size_t>(length)) : std::u16string();
}

std::u16string WithoutLineBreakPairs(std::u16string text) {
    for (std::size_t at = text.find(u"\r\n"); at != std::u16string::npos;
         at = text.find(u"\r\n", at))
        text.replace(at, 2, u" ");
    return text;
}

std::u16string PercentEncoded(const std::u16string& text) {
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(std::max(length, 0)), '\0');
    if (length > 0)
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                            length, nullptr, nullptr);
    std::u16string encoded;
    encoded.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        encoded += u'%';
        encoded += kDigits[b / 16];
        encoded += kDigits[b % 16];
    }
    return encoded;
}

}  // namespace

void CEditHtml::SearchSelection() {
    const std::u16string selection =
        m_bstrSelection.m_str ? std::u16string(m_bstrSelection.m_str, m_bstrSelection.Length())
                              : std::u16string();
    const std::u16string query = PercentEncoded(WithoutLineBreakPairs(selection));
    std::u16string url = OwnString(IDS_SEARCH_URL);
    constexpr std::u16string_view kPlaceholder = u"SEARCH_TEXT";
    for (std::size_t at = url.find(kPlaceholder); at != std::u16string::npos;
         at = url.find(kPlaceholder, at + query.size()))
        url.replace(at, kPlaceholder.size(), query);
    ShellExecuteW(nullptr, u"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}
