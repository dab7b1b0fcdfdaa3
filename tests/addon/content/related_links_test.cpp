// Related links: which links are taken, the windows "Show Other Links"
// opens, and the "Kestro Link Pages" frameset that saves their text and
// closes its window.
#include <filesystem>

#include "addon/content/related_links.h"
#include "tests/addon/content/content_test_support.h"

namespace content_test {

namespace {

// A page whose longest text is in a paragraph of the body: its main text
// is the whole body.
std::string NotePage(const std::string& title, const std::string& text) {
    return "<html><head><title>" + title +
           "</title></head><body><div id=\"menu\"><a "
           "href=\"/\">Home</a></div><p>" +
           text + "</p><p>Short.</p></body></html>";
}

std::string Attribute(const std::string& value) {
    std::string out;
    for (char c : value) out += c == '"' ? "&quot;" : c == '&' ? "&amp;" : std::string(1, c);
    return out;
}

class RelatedLinks : public ContentTest {
protected:
    void SetUp() override {
        ContentTest::SetUp();
        std::filesystem::create_directories(PagesFolder() + "/notes");
        std::filesystem::create_directories(PagesFolder() + "/other");
    }
    // An index page with these links in one list, and a note page for each.
    browser::BrowserWindow& Index(const std::vector<std::string>& hrefs) {
        std::string page = "<html><head><title>Index</title></head><body><p>Intro</p><ul>";
        for (std::size_t i = 0; i < hrefs.size(); ++i) {
            page += "<li><a id=\"l" + std::to_string(i) + "\" href=\"" + Attribute(hrefs[i]) +
                    "\">Link " + std::to_string(i) + "</a></li>";
            const std::string file = hrefs[i].substr(0, hrefs[i].find('?'));
            AddPage(file, NotePage("Note " + std::to_string(i),
                                   "The main text of note number " + std::to_string(i) + "."));
        }
        page +=
            "</ul><table><tr><td><a id=\"intable\" href=\"notes/t.html\">In a table</a></td>"
            "<td><a href=\"notes/u.html\">Beside it</a></td></tr></table></body></html>";
        AddPage("notes/t.html", NotePage("T", "The text of the page linked from the table."));
        AddPage("notes/u.html", NotePage("U", "The text of the other page in the table."));
        return Open(AddPage("index.html", page));
    }
    std::string Url(const std::string& relative) const { return Utf16ToUtf8(PageUrl(relative)); }
    std::vector<std::string> Notes(int from, int to) const {
        std::vector<std::string> urls;
        for (int i = from; from <= to ? i <= to : i >= to; i += from <= to ? 1 : -1)
            urls.push_back(Url("notes/n" + std::to_string(i) + ".html"));
        return urls;
    }
};

std::vector<std::string> ThirtyNotes() {
    std::vector<std::string> hrefs;
    for (int i = 1; i <= 30; ++i) hrefs.push_back("notes/n" + std::to_string(i) + ".html");
    return hrefs;
}

TEST_F(RelatedLinks, ShowOtherLinksOpensTheFirstDistinctLinksOfTheFolderInOrder) {
    std::vector<std::string> hrefs = {"other/x.html", "notes/n1.html"};
    for (const std::string& href : ThirtyNotes()) hrefs.push_back(href);
    browser::BrowserWindow& index = Index(hrefs);
    CEditHtml& addOn = AddOn(index);
    ASSERT_EQ(15u, addOn.m_nMaxLinks);
    addOn.ProcessRelatedLinks(ObjectOf(index, u"#l5"), 0);
    // Links into another folder are skipped, the repeated one counts once.
    EXPECT_EQ(Notes(1, 15), JournalOf("window"));
    EXPECT_EQ(16u, Session().WindowCount());
}

TEST_F(RelatedLinks, AnOlderBrowserOpensThemLastFirst) {
    addon_test::SetBrowserVersion(u"6.0.2900");
    addon_test::SetSetting(u"Maximum Links", 4);
    browser::BrowserWindow& index = Index(ThirtyNotes());
    AddOn(index).ProcessRelatedLinks(ObjectOf(index, u"#l0"), 0);
    EXPECT_EQ(Notes(4, 1), JournalOf("window"));
}

TEST_F(RelatedLinks, OnlyALinkItselfAndOnlyItsContainerCount) {
    browser::BrowserWindow& index = Index(ThirtyNotes());
    CEditHtml& addOn = AddOn(index);
    addOn.ProcessRelatedLinks(ObjectOf(index, u"li"), 0);
    addOn.ProcessRelatedLinks(nullptr, 1);
    EXPECT_TRUE(JournalOf("window").empty());
    // A link in a table has the table as its container.
    addOn.ProcessRelatedLinks(ObjectOf(index, u"#intable"), 0);
    EXPECT_EQ((std::vector<std::string>{Url("notes/t.html"), Url("notes/u.html")}),
              JournalOf("window"));
}

TEST(LinkPrefix, EndsBeforeTheLastSlashAndIsEmptyWithoutOne) {
    EXPECT_EQ(u"http://site.test/notes", LinkPrefix(u"http://site.test/notes/a.html"));
    EXPECT_EQ(u"http://site.test/notes/a", LinkPrefix(u"http://site.test/notes/a/"));
    EXPECT_EQ(u"", LinkPrefix(u"mailto:someone"));
}

TEST(LinkPagesDocument, ColumnsGiveTheFirstPageMostRoomAndTheRestToTheLast) {
    EXPECT_EQ(u"100%", FrameColumnWidths(1));
    EXPECT_EQ(u"80%, 20%", FrameColumnWidths(2));
    EXPECT_EQ(u"80%, 6%, 6%, 8%", FrameColumnWidths(4));
    EXPECT_EQ(u"80%, 1%, 1%, 1%, 1%, 1%, 1%, 1%, 1%, 1%, 1%, 1%, 1%, 1%, 7%",
              FrameColumnWidths(15));
    EXPECT_EQ(
        u"<HTML><HEAD><TITLE>Kestro Link Pages</TITLE></HEAD><FRAMESET cols=\"100%\">"
        u"<FRAME src=\"http://site.test/a.html\"></FRAMESET></HTML>",
        LinkPagesDocument({u"http://site.test/a.html"}));
    // An address can never close its attribute or add a tag.
    EXPECT_EQ(
        u"<HTML><HEAD><TITLE>Kestro Link Pages</TITLE></HEAD><FRAMESET cols=\"80%, 20%\">"
        u"<FRAME src=\"http://x.test/a?b=1&amp;c=2\"><FRAME "
        u"src=\"http://x.test/&quot;&gt;&lt;script&gt;\"></FRAMESET></HTML>",
        LinkPagesDocument({u"http://x.test/a?b=1&c=2", u"http://x.test/\"><script>"}));
}

class LinkPages : public RelatedLinks {
protected:
    // Answers the save dialog of the link pages window with a file.
    void AnswerSave(const std::string& name) {
        Answer(u"dialog \"Kestro - Save text file\"");
        Answer(u"set 204 " + SavePath(name));
        Answer(u"untick 209");
        Answer(u"press 1");
    }
    std::string Saved(const std::string& name) const {
        return testing_support::ReadFile(Utf16ToUtf8(SavePath(name)));
    }
    std::string Article(const std::string& text, const std::string& href) const {
        return "Home\r\n" + text + "\r\n\r\nShort.\r\n" + Url(href) + "\r\n";
    }
    std::string Note(int i, const std::string& href) const {
        return Article("The main text of note number " + std::to_string(i) + ".", href);
    }
};

TEST_F(LinkPages, SaveTextOfLinksSavesEveryPageAndClosesItsWindow) {
    const std::vector<std::string> hrefs = {"notes/n1.html", "notes/n2.html?a=1&b=2",
                                            "notes/q\"uote.html"};
    browser::BrowserWindow& index = Index(hrefs);
    AnswerSave("links.txt");
    AddOn(index).ProcessRelatedLinks(ObjectOf(index, u"#l1"), 1);
    // Every link of the body's folder, the table's two included, in order;
    // an address with a quote or an ampersand loads as it is.
    EXPECT_EQ(Note(0, hrefs[0]) + Note(1, hrefs[1]) + Note(2, hrefs[2]) +
                  Article("The text of the page linked from the table.", "notes/t.html") +
                  Article("The text of the other page in the table.", "notes/u.html"),
              Saved("links.txt"));
    EXPECT_EQ(1u, Session().WindowCount());
    EXPECT_EQ(1u, JournalOf("close").size());
}

TEST_F(LinkPages, OneLinkIsOneFullWidthFrameAndCancellingStillCloses) {
    browser::BrowserWindow& index = Index({"notes/only.html", "other/x.html"});
    Answer(u"dialog \"Kestro - Save text file\"");
    Answer(u"press 2");
    AddOn(index).ProcessRelatedLinks(ObjectOf(index, u"#l0"), 1);
    EXPECT_EQ(1u, Session().WindowCount());
    EXPECT_EQ(1u, JournalOf("close").size());
}

TEST_F(LinkPages, AnyFramesetTitledLinkPagesIsSavedWhicheverWayItWasOpened) {
    AddPage("notes/a.html", NotePage("A", "The text of page A, the longest here."));
    AddPage("notes/b.html", NotePage("B", "The text of page B, also long enough."));
    AnswerSave("opened.txt");
    Open(AddPage("pages.html",
                 "<html><head><title>Kestro Link Pages</title></head><frameset cols=\"50%,50%\">"
                 "<frame src=\"notes/a.html\"><frame src=\"notes/b.html\"></frameset></html>"));
    EXPECT_EQ(Article("The text of page A, the longest here.", "notes/a.html") +
                  Article("The text of page B, also long enough.", "notes/b.html"),
              Saved("opened.txt"));
    EXPECT_EQ(0u, Session().WindowCount());
    // Another title, or the title without frames, is an ordinary page.
    Open(AddPage("titled.html", "<title>Kestro Link Pages</title><p>No frames here.</p>"));
    Open(DemoFile("frames.html"));
    EXPECT_EQ(2u, Session().WindowCount());
}

}  // namespace

}  // namespace content_test
