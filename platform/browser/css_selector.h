// The small CSS selector language scenario steps name elements with: type,
// *, #id, .class, [attr], [attr=value], :nth-of-type(n), and the descendant
// and child (>) combinators.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/browser/dom_node.h"

namespace browser {

class CssSelector {
public:
    // nullopt when the text is not a selector of this language.
    static std::optional<CssSelector> Parse(std::u16string_view text);

    bool Matches(const Node& element) const;
    // The first matching element inside scope (a document or an element),
    // in document order; nullptr when none.
    Node* FindFirst(const Node& scope) const;

    struct Condition {
        enum class Kind { Id, Class, HasAttribute, AttributeEquals, NthOfType };
        Kind kind;
        std::u16string name;
        std::u16string value;
        long number = 0;
    };
    struct Compound {
        std::u16string type;  // empty or "*": any element
        std::vector<Condition> conditions;
        bool childOfPrevious = false;  // joined to the previous compound by '>'
    };

private:
    struct Memo {
        std::unordered_map<std::uint64_t, bool> matches;
        std::unordered_map<std::uint64_t, bool> ancestors;
    };
    bool MatchesFrom(std::size_t index, const Node& element, Memo& memo) const;
    bool SelfOrAncestorMatches(std::size_t index, const Node& start, Memo& memo) const;

    std::vector<Compound> m_compounds;
};

// Parses selector and finds its first match; nullptr when none or malformed.
Node* QuerySelector(const Node& scope, std::u16string_view selector);

}  // namespace browser
