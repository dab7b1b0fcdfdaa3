// Where the text of the item, table, selection and linked-page commands
// comes from, on pages built for it, and the page address after it.
#include "addon/content/article_text.h"
#include "addon/content/dom_reads.h"
#include "addon/content/enclosing_element.h"
#include "tests/addon/content/content_test_support.h"

namespace content_test {

namespace {

constexpr char kTables[] = R"(<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Tables</title></head><body>
<p id="para">Plain   <b id="bold">bold <i id="italic">and   italic</i></b>
 text.</p>
<table id="outer">
 <tr><td id="first">First   cell<br>second line</td><td id="empty"></td><th id="head">Head</th></tr>
 <tr><td id="holder"><table id="inner"><tr><td id="innercell"><span id="word">Inner</span> words</td></tr></table></td><td id="greek">Ελληνικά κείμενο</td></tr>
</table>
<table id="before"><tr><td>Done with</td></tr></table>
<div id="after"><p id="p1">One paragraph.</p><p id="p2">Another <span id="span">one</span>.</p></div>
</body></html>)";

std::string Id(IHTMLElement* element) {
    CComBSTR id;
    if (!element || FAILED(element->get_id(&id))) return "(none)";
    return Utf16ToUtf8(TextOf(id));
}

class TextSources : public ContentTest {
protected:
    void SetUp() override {
        ContentTest::SetUp();
        m_window = &Open(AddPage("tables.html", kTables));
    }
    std::string Enclosing(const char16_t* selector, const char16_t* tagName) {
        CComPtr<IHTMLElement> found;
        EXPECT_EQ(S_OK, FindEnclosingElement(ElementOf(*m_window, selector), tagName, &found));
        return Id(found);
    }
    // What "Show Text of Item" or "Show Text in Table" hands to the editor.
    std::string ShownText(const char16_t* selector, const char16_t* tagName) {
        AddOn(*m_window).ProcessItemText(ObjectOf(*m_window, selector), tagName, 1);
        return LastEditorBytes();
    }
    std::string Footer() const { return "\r\n\r\n" + Utf16ToUtf8(m_window->Url()) + "\r\n"; }

    browser::BrowserWindow* m_window = nullptr;
};

TEST_F(TextSources, TheEnclosingElementIsTheElementTheNearestAncestorOrNone) {
    const struct {
        const char16_t* selector;
        const char16_t* tagName;
        const char* found;
    } cases[] = {
        {u"#first", u"TD", "first"},      // the element itself
        {u"#empty", u"TD", "empty"},      // an empty cell is its own item
        {u"#word", u"TD", "innercell"},   // the innermost cell around it
        {u"#word", u"TABLE", "inner"},    // the innermost table
        {u"#holder", u"TABLE", "outer"},  // a nested table inside does not count
        {u"#head", u"TD", "head"},        // a header cell is not an item
        {u"#span", u"TABLE", "span"},     // complete tables before it cancel out
        {u"#italic", u"TD", "italic"},    // outside every table
        {u"#italic", u"B", "bold"},       // any tag name, exactly as reported
        {u"#italic", u"b", "italic"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.found, Enclosing(c.selector, c.tagName))
            << Utf16ToUtf8(c.selector) << " " << Utf16ToUtf8(c.tagName);
}

TEST_F(TextSources, ItemAndTableTextIsTheRenderedTextWithTheAddress) {
    // Runs of white space collapse, <br> breaks the line, inline elements
    // join their text, an empty cell gives empty text.
    EXPECT_EQ("Plain bold and italic text." + Footer(), ShownText(u"#para", u"TD"));
    EXPECT_EQ("and italic" + Footer(), ShownText(u"#italic", u"TD"));
    EXPECT_EQ("First cell\r\nsecond line" + Footer(), ShownText(u"#first", u"TD"));
    EXPECT_EQ(Footer(), ShownText(u"#empty", u"TD"));
    EXPECT_EQ("Inner words" + Footer(), ShownText(u"#word", u"TD"));
    EXPECT_EQ("Inner words" + Footer(), ShownText(u"#word", u"TABLE"));
    // Cells of a row are separated by tabs, rows by a line break; a nested
    // table is a block of its own.
    EXPECT_EQ(
        Utf16Bytes(u"\uFEFF") + Utf16Bytes(u"First cell\r\nsecond line\t\tHead\r\nInner words\r\n\t"
                                           u"Ελληνικά κείμενο" +
                                           Utf8ToUtf16(Footer())),
        ShownText(u"#head", u"TABLE"));
    // Paragraphs are separated by an empty line; outside any table the
    // table text is the element's own.
    EXPECT_EQ("One paragraph.\r\n\r\nAnother one." + Footer(), ShownText(u"#after", u"TABLE"));
}

TEST_F(TextSources, WithoutAppendUrlTheTextIsBareAndEmptyTextIsUnicode) {
    AddOn(*m_window).m_bAppendUrl = 0;
    EXPECT_EQ("Inner words", ShownText(u"#innercell", u"TD"));
    // Empty text cannot be written in the ANSI code page: two bytes, the mark.
    EXPECT_EQ("\xFF\xFE", ShownText(u"#empty", u"TD"));
    EXPECT_EQ("\xFF\xFE" + Utf16Bytes(u"Ελληνικά κείμενο"), ShownText(u"#greek", u"TD"));
}

TEST_F(TextSources, SpokenTextNeverCarriesTheAddressAndNothingElseHappens) {
    CEditHtml& addOn = AddOn(*m_window);
    addOn.ProcessItemText(ObjectOf(*m_window, u"#first"), u"TD", 2);
    // No element, or an object that is not one: nothing.
    addOn.ProcessItemText(nullptr, u"TD", 0);
    addOn.ProcessItemText(static_cast<IHTMLDocument2*>(m_window->Document()), u"TD", 1);
    EXPECT_TRUE(EditorFiles().empty());
    EXPECT_TRUE(Ui().Shown().empty());
}

TEST_F(TextSources, TheSelectionAcrossElementsIsSavedAsSelectedNow) {
    m_window->Select(Element(*m_window, u"#para"), 3, 20);
    CEditHtml& addOn = AddOn(*m_window);
    addOn.m_bstrSelection = u"stale text";
    Answer(u"dialog \"Kestro - Save text file\"");
    Answer(u"set 204 " + SavePath("selection.txt"));
    Answer(u"press 1");
    addOn.SaveSelectionText(ObjectOf(*m_window, u"#p1"));
    EXPECT_EQ("in bold and itali" + Footer(),
              testing_support::ReadFile(Utf16ToUtf8(SavePath("selection.txt"))));
}

TEST_F(TextSources, NoSelectionIsSaidSo) {
    Answer(u"message \"Kestro - Save selection\" \"No selection is in the current page.\" OK");
    AddOn(*m_window).SaveSelectionText(ObjectOf(*m_window, u"#p1"));
    // A selected control is not a text selection either.
    browser::BrowserWindow& form = OpenDemo("form.html");
    form.Select(Element(form, u"input"));
    Answer(u"message \"Kestro - Save selection\" \"No selection is in the current page.\" OK");
    AddOn(form).SaveSelectionText(ObjectOf(form, u"input"));
}

class ArticleText : public ContentTest {
protected:
    bool ArticleOf(const std::string& html, bool appendUrl, std::u16string& text) {
        browser::BrowserWindow& window = Open(AddPage("page.html", html));
        m_url = window.Url();
        return GetArticleText(CComQIPtr<IHTMLDocument2>(window.Document()), appendUrl, text);
    }
    std::u16string m_url;
};

TEST_F(ArticleText, TheMainBlockOfAPageWithNavigationAndSidebarsIsItsArticleCell) {
    const std::string page = R"(<html><head><title>News</title></head><body>
<div id="nav"><a href="/">Home</a> | <a href="/news/">News</a> | <a href="/about">About us and the team</a></div>
<table><tr>
<td id="side"><b>Elsewhere</b><br><a href="/x">A sidebar link with a long enough title</a></td>
<td id="main"><h1>Headline</h1><p>The article starts with a paragraph that is longer than anything the navigation or the sidebar holds, so it marks the block.</p><p>A second <i>paragraph</i>.</p></td>
</tr></table>
<div id="foot">Copyright notice of the site, short</div></body></html>)";
    std::u16string text;
    ASSERT_TRUE(ArticleOf(page, false, text));
    EXPECT_EQ(
        u"Headline\r\nThe article starts with a paragraph that is longer than anything the "
        u"navigation or the sidebar holds, so it marks the block.\r\n\r\nA second "
        u"paragraph.",
        text);
    ASSERT_TRUE(ArticleOf(page, true, text));
    EXPECT_EQ(u"\r\n" + m_url + u"\r\n", text.substr(text.size() - m_url.size() - 4));
    EXPECT_EQ(u"paragraph.\r\n" + m_url + u"\r\n", text.substr(text.size() - m_url.size() - 14));
}

TEST_F(ArticleText, WithoutATableTheBlockIsTheWholeBody) {
    std::u16string text;
    ASSERT_TRUE(
        ArticleOf("<title>T</title><div><p>Short.</p><p>A much longer paragraph "
                  "here.</p></div><p>End.</p>",
                  false, text));
    EXPECT_EQ(u"Short.\r\n\r\nA much longer paragraph here.\r\n\r\nEnd.", text);
}

TEST_F(ArticleText, OfTwoEquallyLongTextsTheFirstDecides) {
    std::u16string text;
    ASSERT_TRUE(
        ArticleOf("<table><tr><td>Cell one <b>twelve chars</b></td><td>x<i>twelve "
                  "chars</i></td></tr></table>",
                  false, text));
    EXPECT_EQ(u"Cell one twelve chars", text);
}

TEST_F(ArticleText, APageWithoutTextHasNoArticle) {
    std::u16string text = u"untouched";
    EXPECT_FALSE(
        ArticleOf("<title>Images</title><body><img src=a.png><br><hr></body>", true, text));
    EXPECT_EQ(u"untouched", text);
    CComPtr<IHTMLDOMNode> parent;
    EXPECT_FALSE(FindLongestTextNode(nullptr, parent));
}

}  // namespace

}  // namespace content_test
