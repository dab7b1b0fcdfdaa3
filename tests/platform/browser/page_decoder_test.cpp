#include "platform/browser/page_decoder.h"
#include "platform/browser/url.h"
#include "tests/platform/browser/dom_test_support.h"

using namespace browser_test;

namespace {

std::u16string BodyText(std::string_view bytes, std::u16string_view headerCharset,
                        std::u16string* charset = nullptr) {
    browser::HtmlDocument* raw = nullptr;
    EXPECT_EQ(S_OK, browser::HtmlDocument::Create(bytes, u"http://x/", headerCharset, &raw));
    CComPtr<browser::HtmlDocument> page;
    page.Attach(raw);
    if (charset) *charset = page->Charset();
    CComPtr<IHTMLElement> body;
    page->get_body(&body);
    return Text(body.p, &IHTMLElement::get_innerText);
}

TEST(PageDecoderTest, CharsetComesFromHeaderThenMetaThenTheBytes) {
    std::u16string charset;
    EXPECT_EQ(u"caf\u00e9 \u20ac", BodyText("caf\xE9 \x80", u"windows-1252", &charset));
    EXPECT_EQ(u"windows-1252", charset);
    EXPECT_EQ(u"caf\u00e9", BodyText("<meta charset=\"ISO-8859-1\">caf\xE9", u"", &charset));
    EXPECT_EQ(u"caf\u00e9",
              BodyText("<META HTTP-EQUIV=Content-Type CONTENT='text/html; charset=windows-1252'>"
                       "caf\xE9",
                       u""));
    // The header wins over the page's own declaration.
    EXPECT_EQ(u"caf\u00e9", BodyText("<meta charset=windows-1252>caf\xC3\xA9", u"utf-8"));
    // Without any declaration: UTF-8 when the bytes are UTF-8, else Windows-1252.
    EXPECT_EQ(u"caf\u00e9", BodyText("caf\xC3\xA9", u"", &charset));
    EXPECT_EQ(u"utf-8", charset);
    EXPECT_EQ(u"caf\u00e9", BodyText("caf\xE9", u"", &charset));
    EXPECT_EQ(u"windows-1252", charset);
    EXPECT_EQ(u"\u00e9", BodyText("\xEF\xBB\xBF\xC3\xA9", u""));
}

TEST(UrlTest, ResolvesReferencesAgainstABase) {
    using browser::ResolveUrl;
    const std::u16string base = u"http://h.com/a/b/c.html?q#f";
    EXPECT_EQ(u"http://h.com/a/b/d.html", ResolveUrl(base, u"d.html"));
    EXPECT_EQ(u"http://h.com/a/x", ResolveUrl(base, u"../x"));
    EXPECT_EQ(u"http://h.com/root", ResolveUrl(base, u"/root"));
    EXPECT_EQ(u"http://h.com/a/b/c.html?q#top", ResolveUrl(base, u"#top"));
    EXPECT_EQ(u"http://h.com/a/b/c.html?z=1", ResolveUrl(base, u"?z=1"));
    EXPECT_EQ(u"http://other.org/p", ResolveUrl(base, u"//other.org/p"));
    EXPECT_EQ(u"ftp://f.org/", ResolveUrl(base, u"FTP://F.org"));
    EXPECT_EQ(u"file:///tmp/b.html", ResolveUrl(u"file:///tmp/a.html", u"b.html"));
}

TEST(UrlTest, HostNamesAndPorts) {
    const browser::Url url = browser::ParseUrl(u"https://user@[::1]:8443/x");
    EXPECT_EQ(u"[::1]", url.HostName());
    EXPECT_EQ(u"8443", url.Port());
    EXPECT_EQ(u"", browser::ParseUrl(u"about:blank").HostName());
}

}  // namespace
