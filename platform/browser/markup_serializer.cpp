#include "platform/browser/markup_serializer.h"

#include "platform/browser/form_controls.h"
#include "platform/browser/tag_names.h"
#include "platform/win/text.h"

namespace browser {

namespace {

bool KeepsRawText(const Node& e) {
    if (e.foreign) return false;
    switch (e.tag) {
        case GUMBO_TAG_SCRIPT:
        case GUMBO_TAG_STYLE:
        case GUMBO_TAG_XMP:
        case GUMBO_TAG_IFRAME:
        case GUMBO_TAG_NOEMBED:
        case GUMBO_TAG_NOFRAMES:
        case GUMBO_TAG_PLAINTEXT:
            return true;
        default:
            return false;
    }
}

void AppendEscaped(std::u16string& out, const std::u16string& text, bool attribute) {
    for (char16_t c : text) {
        switch (c) {
            case '&':
                out += u"&amp;";
                break;
            case 0xA0:
                out += u"&nbsp;";
                break;
            case '"':
                if (attribute)
                    out += u"&quot;";
                else
                    out.push_back(c);
                break;
            case '<':
                if (attribute)
                    out.push_back(c);
                else
                    out += u"&lt;";
                break;
            case '>':
                if (attribute)
                    out.push_back(c);
                else
                    out += u"&gt;";
                break;
            default:
                out.push_back(c);
        }
    }
}

void AppendAttribute(std::u16string& out, std::u16string_view name, const std::u16string& value) {
    out.push_back(' ');
    out += name;
    out += u"=\"";
    AppendEscaped(out, value, true);
    out.push_back('"');
}

// Which attributes the live state replaces, and with what.
struct LiveAttributes {
    bool hasValue = false;
    std::u16string value;
    bool hasFlag = false;
    const char16_t* flagName = nullptr;
    bool flag = false;
};

LiveAttributes LiveAttributesOf(const Node& e) {
    LiveAttributes live;
    if (!e.control) return live;
    if (e.Is(GUMBO_TAG_INPUT)) {
        const std::u16string type = ControlType(e);
        if (type != u"file") {
            live.hasValue = true;
            live.value = e.control->value;
        }
        if (type == u"checkbox" || type == u"radio") {
            live.hasFlag = true;
            live.flagName = u"checked";
            live.flag = e.control->checked;
            // "on" is only the default of a box without a value attribute.
            if (!e.HasAttribute(u"value") && live.value == u"on") live.hasValue = false;
        }
    } else if (e.Is(GUMBO_TAG_OPTION)) {
        live.hasFlag = true;
        live.flagName = u"selected";
        live.flag = e.control->selected;
    }
    return live;
}

void AppendStartTag(std::u16string& out, const Node& e) {
    out.push_back('<');
    out += TagNameOf(e);
    const LiveAttributes live = LiveAttributesOf(e);
    bool wroteValue = false;
    for (const Attribute& a : e.attributes) {
        if (live.hasFlag && WideEqualsNoCase(a.name, live.flagName)) continue;
        if (live.hasValue && WideEqualsNoCase(a.name, u"value")) {
            AppendAttribute(out, a.name, live.value);
            wroteValue = true;
            continue;
        }
        AppendAttribute(out, a.name, a.value);
    }
    if (live.hasValue && !wroteValue && !live.value.empty())
        AppendAttribute(out, u"value", live.value);
    if (live.hasFlag && live.flag) {
        out.push_back(' ');
        out += WideUpper(live.flagName);
    }
    out.push_back('>');
}

void AppendEndTag(std::u16string& out, const Node& e) {
    if (IsVoidElement(e)) return;
    out += u"</";
    out += TagNameOf(e);
    out.push_back('>');
}

bool InsideRawText(const Node& text) {
    return text.parent && text.parent->IsElement() && KeepsRawText(*text.parent);
}

class Serializer {
public:
    // Writes the node's opening part; returns whether its children follow.
    bool Open(const Node& n) {
        switch (n.kind) {
            case NodeKind::Text:
                if (InsideRawText(n))
                    m_out += n.data;
                else
                    AppendEscaped(m_out, n.data, false);
                return false;
            case NodeKind::Comment:
                m_out += u"<!--";
                m_out += n.data;
                m_out += u"-->";
                return false;
            case NodeKind::Document:
                return true;
            case NodeKind::Element:
                AppendStartTag(m_out, n);
                if (n.Is(GUMBO_TAG_TEXTAREA)) {
                    AppendEscaped(m_out, ControlValue(n), false);
                    return false;
                }
                return true;
        }
        return false;
    }

    void Close(const Node& n) {
        if (n.IsElement()) AppendEndTag(m_out, n);
    }

    void Children(const Node& root) {
        const Node* n = root.firstChild;
        while (n) {
            const bool descend = Open(*n);
            if (descend && n->firstChild) {
                n = n->firstChild;
                continue;
            }
            Close(*n);
            while (!n->next) {
                n = n->parent;
                if (!n || n == &root) return;
                Close(*n);
            }
            n = n->next;
        }
    }

    std::u16string Outer(const Node& node) {
        if (Open(node)) Children(node);
        Close(node);
        return std::move(m_out);
    }

    std::u16string Inner(const Node& node) {
        if (node.Is(GUMBO_TAG_TEXTAREA)) {
            AppendEscaped(m_out, ControlValue(node), false);
        } else {
            Children(node);
        }
        return std::move(m_out);
    }

private:
    std::u16string m_out;
};

}  // namespace

std::u16string OuterHtml(const Node& node) {
    return Serializer().Outer(node);
}

std::u16string InnerHtml(const Node& node) {
    return Serializer().Inner(node);
}

}  // namespace browser
