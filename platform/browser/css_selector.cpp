#include "platform/browser/css_selector.h"

#include "platform/browser/tag_names.h"
#include "platform/win/text.h"

namespace browser {

namespace {

bool IsSpace(char16_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsNameChar(char16_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c >= 0x80;
}

// Longer chains are refused: matching recurses once per compound.
constexpr std::size_t kMaxCompounds = 32;

class Parser {
public:
    explicit Parser(std::u16string_view text) : m_text(text) {}

    bool Parse(std::vector<CssSelector::Compound>& out) {
        SkipSpaces();
        bool child = false;
        while (!AtEnd()) {
            if (out.size() == kMaxCompounds) return false;
            CssSelector::Compound compound;
            compound.childOfPrevious = child;
            if (!ParseCompound(compound)) return false;
            out.push_back(std::move(compound));
            const bool hadSpace = SkipSpaces();
            child = false;
            if (!AtEnd() && Peek() == '>') {
                ++m_pos;
                child = true;
                SkipSpaces();
                if (AtEnd()) return false;
            } else if (!AtEnd() && !hadSpace) {
                return false;
            }
        }
        return !out.empty() && !out.front().childOfPrevious;
    }

private:
    bool AtEnd() const { return m_pos >= m_text.size(); }
    char16_t Peek() const { return m_text[m_pos]; }

    bool SkipSpaces() {
        const std::size_t start = m_pos;
        while (!AtEnd() && IsSpace(Peek())) ++m_pos;
        return m_pos > start;
    }

    std::u16string Name() {
        const std::size_t start = m_pos;
        while (!AtEnd() && IsNameChar(Peek())) ++m_pos;
        return std::u16string(m_text.substr(start, m_pos - start));
    }

    bool Value(std::u16string& out) {
        if (AtEnd()) return false;
        if (Peek() == '"' || Peek() == '\'') {
            const char16_t quote = Peek();
            const std::size_t close = m_text.find(quote, m_pos + 1);
            if (close == std::u16string_view::npos) return false;
            out = std::u16string(m_text.substr(m_pos + 1, close - m_pos - 1));
            m_pos = close + 1;
            return true;
        }
        out = Name();
        return !out.empty();
    }

    bool ParseCompound(CssSelector::Compound& compound) {
        if (Peek() == '*') {
            ++m_pos;
            compound.type = u"*";
        } else {
            compound.type = Name();
        }
        bool any = !compound.type.empty();
        while (!AtEnd() && !IsSpace(Peek()) && Peek() != '>') {
            CssSelector::Condition condition{};
            const char16_t c = Peek();
            ++m_pos;
            if (c == '#' || c == '.') {
                condition.kind = c == '#' ? CssSelector::Condition::Kind::Id
                                          : CssSelector::Condition::Kind::Class;
                condition.value = Name();
                if (condition.value.empty()) return false;
            } else if (c == '[') {
                if (!ParseAttribute(condition)) return false;
            } else if (c == ':') {
                if (!ParseNthOfType(condition)) return false;
            } else {
                return false;
            }
            compound.conditions.push_back(std::move(condition));
            any = true;
        }
        return any;
    }

    bool ParseAttribute(CssSelector::Condition& condition) {
        SkipSpaces();
        condition.name = Name();
        SkipSpaces();
        if (condition.name.empty() || AtEnd()) return false;
        condition.kind = CssSelector::Condition::Kind::HasAttribute;
        if (Peek() == '=') {
            ++m_pos;
            SkipSpaces();
            condition.kind = CssSelector::Condition::Kind::AttributeEquals;
            if (!Value(condition.value)) return false;
            SkipSpaces();
        }
        if (AtEnd() || Peek() != ']') return false;
        ++m_pos;
        return true;
    }

    bool ParseNthOfType(CssSelector::Condition& condition) {
        if (WideLower(Name()) != u"nth-of-type" || AtEnd() || Peek() != '(') return false;
        ++m_pos;
        SkipSpaces();
        const std::u16string digits = Name();
        SkipSpaces();
        if (digits.empty() || AtEnd() || Peek() != ')') return false;
        ++m_pos;
        long number = 0;
        for (char16_t d : digits) {
            if (d < '0' || d > '9' || number > 100000000) return false;
            number = number * 10 + (d - '0');
        }
        condition.kind = CssSelector::Condition::Kind::NthOfType;
        condition.number = number;
        return number > 0;
    }

    std::u16string_view m_text;
    std::size_t m_pos = 0;
};

bool HasClass(const Node& element, std::u16string_view name) {
    const std::u16string* classes = element.FindAttribute(u"class");
    if (!classes) return false;
    std::size_t pos = 0;
    while (pos < classes->size()) {
        while (pos < classes->size() && IsSpace((*classes)[pos])) ++pos;
        const std::size_t start = pos;
        while (pos < classes->size() && !IsSpace((*classes)[pos])) ++pos;
        if (pos > start && std::u16string_view(*classes).substr(start, pos - start) == name)
            return true;
    }
    return false;
}

long IndexOfType(const Node& element) {
    const std::u16string name = LocalName(element);
    long index = 1;
    for (const Node* p = element.prev; p; p = p->prev)
        if (p->IsElement() && p->foreign == element.foreign && p->tag == element.tag &&
            (element.tag != kUnknownTag || LocalName(*p) == name))
            ++index;
    return index;
}

bool ConditionHolds(const CssSelector::Condition& c, const Node& e) {
    using Kind = CssSelector::Condition::Kind;
    switch (c.kind) {
        case Kind::Id:
            return e.AttributeOr(u"id") == c.value && e.HasAttribute(u"id");
        case Kind::Class:
            return HasClass(e, c.value);
        case Kind::HasAttribute:
            return e.HasAttribute(c.name);
        case Kind::AttributeEquals: {
            const std::u16string* value = e.FindAttribute(c.name);
            return value && *value == c.value;
        }
        case Kind::NthOfType:
            return IndexOfType(e) == c.number;
    }
    return false;
}

bool CompoundMatches(const CssSelector::Compound& compound, const Node& e) {
    if (!e.IsElement()) return false;
    if (!compound.type.empty() && compound.type != u"*" &&
        !WideEqualsNoCase(LocalName(e), compound.type))
        return false;
    for (const auto& condition : compound.conditions)
        if (!ConditionHolds(condition, e)) return false;
    return true;
}

}  // namespace

std::optional<CssSelector> CssSelector::Parse(std::u16string_view text) {
    CssSelector selector;
    if (!Parser(text).Parse(selector.m_compounds)) return std::nullopt;
    return selector;
}

namespace {

std::uint64_t MemoKey(std::size_t index, const Node& element) {
    return (static_cast<std::uint64_t>(element.order) << 8) | index;
}

}  // namespace

// Recursion here follows the compounds of the selector, not the tree.
// Results per (compound, element) are remembered, so descendant
// combinators on deep pages climb each ancestor chain once.
bool CssSelector::MatchesFrom(std::size_t index, const Node& element, Memo& memo) const {
    const std::uint64_t key = MemoKey(index, element);
    if (const auto known = memo.matches.find(key); known != memo.matches.end())
        return known->second;
    const Compound& compound = m_compounds[index];
    bool matched = CompoundMatches(compound, element);
    if (matched && index > 0) {
        const Node* parent =
            element.parent && element.parent->IsElement() ? element.parent : nullptr;
        if (compound.childOfPrevious)
            matched = parent && MatchesFrom(index - 1, *parent, memo);
        else
            matched = parent && SelfOrAncestorMatches(index - 1, *parent, memo);
    }
    memo.matches[key] = matched;
    return matched;
}

bool CssSelector::SelfOrAncestorMatches(std::size_t index, const Node& start, Memo& memo) const {
    std::vector<const Node*> climbed;
    bool result = false;
    for (const Node* up = &start; up && up->IsElement(); up = up->parent) {
        if (const auto known = memo.ancestors.find(MemoKey(index, *up));
            known != memo.ancestors.end()) {
            result = known->second;
            break;
        }
        climbed.push_back(up);
        if (MatchesFrom(index, *up, memo)) {
            result = true;
            break;
        }
    }
    for (const Node* node : climbed) memo.ancestors[MemoKey(index, *node)] = result;
    return result;
}

bool CssSelector::Matches(const Node& element) const {
    Memo memo;
    return !m_compounds.empty() && MatchesFrom(m_compounds.size() - 1, element, memo);
}

Node* CssSelector::FindFirst(const Node& scope) const {
    if (m_compounds.empty()) return nullptr;
    Memo memo;
    for (const Node* n = NextInSubtree(&scope, &scope); n; n = NextInSubtree(n, &scope))
        if (n->IsElement() && MatchesFrom(m_compounds.size() - 1, *n, memo))
            return const_cast<Node*>(n);
    return nullptr;
}

Node* QuerySelector(const Node& scope, std::u16string_view selector) {
    const std::optional<CssSelector> parsed = CssSelector::Parse(selector);
    return parsed ? parsed->FindFirst(scope) : nullptr;
}

}  // namespace browser
