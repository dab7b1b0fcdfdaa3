#include "addon/content/url_footer.h"

#include "addon/content/html_escape.h"

std::u16string ItemUrlFooter(std::u16string_view url) {
    return u"\r\n\r\n" + std::u16string(url) + u"\r\n";
}

std::u16string LinkPageUrlFooter(std::u16string_view url) {
    return u"\r\n" + std::u16string(url) + u"\r\n";
}

std::u16string ViewUrlFooter(std::u16string_view url) {
    const std::u16string escaped = EscapeHtml(url);
    return u"<P><A HREF=\"" + escaped + u"\">" + escaped + u"</A></P>";
}
