#include "platform/browser/rendered_text.h"

#include <algorithm>

#include "platform/browser/form_controls.h"
#include "platform/browser/tag_names.h"
#include "platform/win/text.h"

namespace browser {

namespace {

bool IsWhite(char16_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

enum class Layout { Inline, Block, Paragraph, Row, Cell, Break, Preformatted, Skip, Value };

Layout LayoutOf(const Node& e) {
    if (e.foreign) return Layout::Inline;
    switch (e.tag) {
        case GUMBO_TAG_P:
            return Layout::Paragraph;
        case GUMBO_TAG_BR:
            return Layout::Break;
        case GUMBO_TAG_TR:
            return Layout::Row;
        case GUMBO_TAG_TD:
        case GUMBO_TAG_TH:
            return Layout::Cell;
        case GUMBO_TAG_PRE:
        case GUMBO_TAG_LISTING:
        case GUMBO_TAG_XMP:
        case GUMBO_TAG_PLAINTEXT:
            return Layout::Preformatted;
        case GUMBO_TAG_TEXTAREA:
            return Layout::Value;
        case GUMBO_TAG_SCRIPT:
        case GUMBO_TAG_STYLE:
        case GUMBO_TAG_HEAD:
        case GUMBO_TAG_TITLE:
        case GUMBO_TAG_META:
        case GUMBO_TAG_LINK:
        case GUMBO_TAG_BASE:
        case GUMBO_TAG_TEMPLATE:
        case GUMBO_TAG_NOSCRIPT:
        case GUMBO_TAG_NOFRAMES:
        case GUMBO_TAG_INPUT:
        case GUMBO_TAG_IMG:
        case GUMBO_TAG_IFRAME:
        case GUMBO_TAG_FRAME:
        case GUMBO_TAG_OBJECT:
        case GUMBO_TAG_EMBED:
        case GUMBO_TAG_PARAM:
        case GUMBO_TAG_AREA:
        case GUMBO_TAG_MAP:
            return Layout::Skip;
        case GUMBO_TAG_ADDRESS:
        case GUMBO_TAG_ARTICLE:
        case GUMBO_TAG_ASIDE:
        case GUMBO_TAG_BLOCKQUOTE:
        case GUMBO_TAG_BODY:
        case GUMBO_TAG_CAPTION:
        case GUMBO_TAG_CENTER:
        case GUMBO_TAG_DD:
        case GUMBO_TAG_DETAILS:
        case GUMBO_TAG_DIR:
        case GUMBO_TAG_DIV:
        case GUMBO_TAG_DL:
        case GUMBO_TAG_DT:
        case GUMBO_TAG_FIELDSET:
        case GUMBO_TAG_FIGCAPTION:
        case GUMBO_TAG_FIGURE:
        case GUMBO_TAG_FOOTER:
        case GUMBO_TAG_FORM:
        case GUMBO_TAG_FRAMESET:
        case GUMBO_TAG_H1:
        case GUMBO_TAG_H2:
        case GUMBO_TAG_H3:
        case GUMBO_TAG_H4:
        case GUMBO_TAG_H5:
        case GUMBO_TAG_H6:
        case GUMBO_TAG_HEADER:
        case GUMBO_TAG_HGROUP:
        case GUMBO_TAG_HR:
        case GUMBO_TAG_HTML:
        case GUMBO_TAG_LEGEND:
        case GUMBO_TAG_LI:
        case GUMBO_TAG_MAIN:
        case GUMBO_TAG_MENU:
        case GUMBO_TAG_NAV:
        case GUMBO_TAG_OL:
        case GUMBO_TAG_OPTION:
        case GUMBO_TAG_SECTION:
        case GUMBO_TAG_SELECT:
        case GUMBO_TAG_SUMMARY:
        case GUMBO_TAG_TABLE:
        case GUMBO_TAG_TBODY:
        case GUMBO_TAG_TFOOT:
        case GUMBO_TAG_THEAD:
        case GUMBO_TAG_UL:
            return Layout::Block;
        default:
            return Layout::Inline;
    }
}

bool HasDisplayNone(const Node& e) {
    const std::u16string* style = e.FindAttribute(u"style");
    if (!style) return false;
    std::u16string compact;
    for (char16_t c : *style)
        if (!IsWhite(c)) compact.push_back(WideToLower(c));
    return compact.find(u"display:none") != std::u16string::npos;
}

class TextWriter {
public:
    void Text(const std::u16string& text, bool preformatted) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            if (preformatted) {
                if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
                if (c == '\n' || c == '\r') {
                    HardBreak();
                } else {
                    Content(c == 0xA0 ? u' ' : c);
                }
            } else if (IsWhite(c)) {
                // White space where a line starts (after a block, a row or
                // a paragraph) is not rendered.
                m_pendingSpace = !m_afterSpace && m_pendingBreaks == 0;
            } else {
                if (m_pendingSpace) Content(u' ', true);
                Content(c == 0xA0 ? u' ' : c);
            }
        }
    }

    void RequestBreaks(int count) {
        m_pendingBreaks = std::max(m_pendingBreaks, count);
        m_pendingSpace = false;
    }

    void HardBreak() {
        m_out += u"\r\n";
        ++m_breaksSinceContent;
        m_pendingBreaks = 0;
        m_pendingSpace = false;
        m_afterSpace = true;
    }

    void Tab() { Content(u'\t', true); }

    std::u16string Take() { return std::move(m_out); }

private:
    void Content(char16_t c, bool collapsible = false) {
        if (m_pendingBreaks > 0 && !m_out.empty())
            for (int i = m_breaksSinceContent; i < m_pendingBreaks; ++i) m_out += u"\r\n";
        m_pendingBreaks = 0;
        m_breaksSinceContent = 0;
        m_pendingSpace = false;
        m_out.push_back(c);
        m_afterSpace = collapsible;
    }

    std::u16string m_out;
    int m_pendingBreaks = 0;
    int m_breaksSinceContent = 0;
    bool m_pendingSpace = false;
    bool m_afterSpace = true;
};

bool IsFirstCellOfRow(const Node& cell) {
    for (const Node* p = cell.prev; p; p = p->prev)
        if (p->Is(GUMBO_TAG_TD) || p->Is(GUMBO_TAG_TH)) return false;
    return true;
}

class Renderer {
public:
    // Returns whether the walk goes into the node's children.
    bool Enter(const Node& n) {
        if (n.kind == NodeKind::Text) {
            m_writer.Text(n.data, m_preformatted > 0);
            return false;
        }
        if (!n.IsElement() || IsRenderedHidden(n)) return false;
        switch (LayoutOf(n)) {
            case Layout::Skip:
                return false;
            case Layout::Break:
                m_writer.HardBreak();
                return false;
            case Layout::Value:
                m_writer.Text(ControlValue(n), true);
                return false;
            case Layout::Block:
            case Layout::Row:
            case Layout::Paragraph:
                m_writer.RequestBreaks(1);
                return true;
            case Layout::Cell:
                if (!IsFirstCellOfRow(n)) m_writer.Tab();
                return true;
            case Layout::Preformatted:
                m_writer.RequestBreaks(1);
                ++m_preformatted;
                return true;
            case Layout::Inline:
                return true;
        }
        return true;
    }

    void Leave(const Node& n) {
        switch (LayoutOf(n)) {
            case Layout::Paragraph:
                m_writer.RequestBreaks(2);
                break;
            case Layout::Preformatted:
                --m_preformatted;
                m_writer.RequestBreaks(1);
                break;
            case Layout::Block:
            case Layout::Row:
                m_writer.RequestBreaks(1);
                break;
            default:
                break;
        }
    }

    std::u16string Render(const Node& root) {
        if (root.IsElement() && LayoutOf(root) == Layout::Preformatted) ++m_preformatted;
        const Node* n = root.firstChild;
        while (n) {
            const bool entered = Enter(*n);
            if (entered && n->firstChild) {
                n = n->firstChild;
                continue;
            }
            if (entered) Leave(*n);
            while (!n->next) {
                n = n->parent;
                if (n == &root || !n) return m_writer.Take();
                Leave(*n);
            }
            n = n->next;
        }
        return m_writer.Take();
    }

private:
    TextWriter m_writer;
    int m_preformatted = 0;
};

std::u16string RawText(const Node& element) {
    std::u16string out;
    for (const Node* n = element.firstChild; n; n = n->next)
        if (n->kind == NodeKind::Text) out += n->data;
    return out;
}

}  // namespace

bool IsRenderedHidden(const Node& element) {
    if (!element.IsElement()) return false;
    if (element.HasAttribute(u"hidden") || HasDisplayNone(element)) return true;
    return element.Is(GUMBO_TAG_INPUT) && ControlType(element) == u"hidden";
}

std::u16string RenderedText(const Node& element) {
    if (element.Is(GUMBO_TAG_TEXTAREA)) return ControlValue(element);
    if (element.Is(GUMBO_TAG_SCRIPT) || element.Is(GUMBO_TAG_STYLE) || element.Is(GUMBO_TAG_TITLE))
        return RawText(element);
    return Renderer().Render(element);
}

}  // namespace browser
