#include "platform/browser/form_controls.h"

#include "platform/browser/tag_names.h"
#include "platform/win/text.h"

namespace browser {

namespace {

constexpr std::u16string_view kClassicInputTypes[] = {
    u"text",  u"password", u"checkbox", u"radio", u"submit",
    u"reset", u"button",   u"hidden",   u"image", u"file"};

bool IsWhite(char16_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

std::u16string CollapsedText(const Node& element) {
    std::u16string out;
    bool pendingSpace = false;
    for (const Node* n = NextInSubtree(&element, &element); n; n = NextInSubtree(n, &element)) {
        if (n->kind != NodeKind::Text) continue;
        for (char16_t c : n->data) {
            if (IsWhite(c)) {
                pendingSpace = !out.empty();
                continue;
            }
            if (pendingSpace) out.push_back(' ');
            pendingSpace = false;
            out.push_back(c);
        }
    }
    return out;
}

std::u16string TextContent(const Node& element) {
    std::u16string out;
    for (const Node* n = NextInSubtree(&element, &element); n; n = NextInSubtree(n, &element))
        if (n->kind == NodeKind::Text) out += n->data;
    return out;
}

bool IsCheckable(const Node& input) {
    const std::u16string type = ControlType(input);
    return type == u"checkbox" || type == u"radio";
}

void InitialiseSelect(Node& select) {
    std::vector<Node*> options = SelectOptions(select);
    Node* lastSelected = nullptr;
    for (Node* option : options) {
        option->control->selected = option->HasAttribute(u"selected");
        if (option->control->selected) lastSelected = option;
    }
    if (IsMultipleSelect(select)) return;
    // A single-choice list always shows one option: the last one marked
    // selected, else the first.
    for (Node* option : options) option->control->selected = false;
    if (!lastSelected && !options.empty()) lastSelected = options.front();
    if (lastSelected) lastSelected->control->selected = true;
}

}  // namespace

void InitialiseControls(DocumentTree& tree) {
    Node* root = tree.Root();
    std::vector<Node*> selects;
    for (Node* n = root; n; n = NextInSubtree(n, root)) {
        if (!n->IsElement() || n->foreign) continue;
        switch (n->tag) {
            case GUMBO_TAG_INPUT:
                n->control = std::make_unique<ControlState>();
                n->control->value = n->AttributeOr(u"value", IsCheckable(*n) ? u"on" : u"");
                n->control->checked = IsCheckable(*n) && n->HasAttribute(u"checked");
                break;
            case GUMBO_TAG_TEXTAREA:
                n->control = std::make_unique<ControlState>();
                n->control->value = TextContent(*n);
                break;
            case GUMBO_TAG_OPTION:
                n->control = std::make_unique<ControlState>();
                n->control->value =
                    n->HasAttribute(u"value") ? n->AttributeOr(u"value") : CollapsedText(*n);
                break;
            case GUMBO_TAG_SELECT:
                selects.push_back(n);
                break;
            default:
                break;
        }
    }
    for (Node* select : selects) InitialiseSelect(*select);
}

bool IsFormControl(const Node& element) {
    if (!element.IsElement() || element.foreign) return false;
    switch (element.tag) {
        case GUMBO_TAG_INPUT:
        case GUMBO_TAG_BUTTON:
        case GUMBO_TAG_SELECT:
        case GUMBO_TAG_TEXTAREA:
        case GUMBO_TAG_FIELDSET:
        case GUMBO_TAG_OBJECT:
        case GUMBO_TAG_OUTPUT:
            return true;
        default:
            return false;
    }
}

std::u16string ControlType(const Node& element) {
    if (element.Is(GUMBO_TAG_INPUT)) {
        const std::u16string type = WideLower(element.AttributeOr(u"type"));
        for (std::u16string_view known : kClassicInputTypes)
            if (type == known) return type;
        return u"text";
    }
    if (element.Is(GUMBO_TAG_SELECT))
        return IsMultipleSelect(element) ? u"select-multiple" : u"select-one";
    if (element.Is(GUMBO_TAG_TEXTAREA)) return u"textarea";
    if (element.Is(GUMBO_TAG_BUTTON)) {
        const std::u16string type = WideLower(element.AttributeOr(u"type"));
        return type == u"button" || type == u"reset" ? type : u"submit";
    }
    return {};
}

std::u16string ControlName(const Node& element) {
    return element.AttributeOr(u"name");
}

Node* FormOwner(const Node& control, const DocumentTree& tree) {
    if (const std::u16string* id = control.FindAttribute(u"form")) {
        const Node* root = tree.Root();
        for (const Node* n = root; n; n = NextInSubtree(n, root))
            if (n->Is(GUMBO_TAG_FORM) && n->AttributeOr(u"id") == *id) return const_cast<Node*>(n);
        return nullptr;
    }
    for (Node* up = control.parent; up; up = up->parent)
        if (up->Is(GUMBO_TAG_FORM)) return up;
    return nullptr;
}

std::vector<Node*> FormElementsByTag(const Node& form, const DocumentTree& tree,
                                     std::u16string_view tagName) {
    const bool all = tagName == u"*";
    const TagId tag = all ? kUnknownTag : TagFromName(tagName);
    std::vector<Node*> out;
    const Node* root = tree.Root();
    for (const Node* n = root; n; n = NextInSubtree(n, root)) {
        if (!n->IsElement() || n == &form) continue;
        const bool tagMatches =
            all || (tag != kUnknownTag ? n->Is(tag) : WideEqualsNoCase(LocalName(*n), tagName));
        if (!tagMatches) continue;
        // Cheap test first: only controls may point elsewhere with form="".
        const bool inside = n->order > form.order && n->order <= form.lastOrder;
        if ((inside && !n->HasAttribute(u"form")) || FormOwner(*n, tree) == &form)
            out.push_back(const_cast<Node*>(n));
    }
    return out;
}

std::vector<Node*> FormElements(const Node& form, const DocumentTree& tree) {
    std::vector<Node*> out;
    for (Node* n : FormElementsByTag(form, tree, u"*")) {
        if (!IsFormControl(*n)) continue;
        if (n->Is(GUMBO_TAG_INPUT) && ControlType(*n) == u"image") continue;
        if (FormOwner(*n, tree) == &form) out.push_back(n);
    }
    return out;
}

std::u16string ControlValue(const Node& element) {
    if (element.Is(GUMBO_TAG_SELECT)) {
        for (const Node* option : SelectOptions(element))
            if (option->control->selected) return option->control->value;
        return {};
    }
    if (element.control) return element.control->value;
    return element.AttributeOr(u"value");
}

void SetControlValue(Node& element, std::u16string_view value) {
    if (element.Is(GUMBO_TAG_SELECT)) {
        bool found = false;
        for (Node* option : SelectOptions(element)) {
            const bool match = !found && option->control->value == value;
            option->control->selected = match;
            found = found || match;
        }
        return;
    }
    if (element.control) element.control->value = std::u16string(value);
}

bool IsChecked(const Node& input) {
    return input.control && input.control->checked;
}

void SetChecked(Node& input, bool checked, const DocumentTree& tree) {
    if (!input.control || !IsCheckable(input)) return;
    input.control->checked = checked;
    if (!checked || ControlType(input) != u"radio") return;
    const std::u16string name = ControlName(input);
    if (name.empty()) return;
    const Node* form = FormOwner(input, tree);
    const Node* root = tree.Root();
    for (Node* n = const_cast<Node*>(root); n; n = NextInSubtree(n, root)) {
        if (n == &input || !n->Is(GUMBO_TAG_INPUT) || !n->control) continue;
        if (ControlType(*n) == u"radio" && ControlName(*n) == name && FormOwner(*n, tree) == form)
            n->control->checked = false;
    }
}

std::vector<Node*> SelectOptions(const Node& select) {
    std::vector<Node*> out;
    for (const Node* n = NextInSubtree(&select, &select); n;) {
        if (n->Is(GUMBO_TAG_OPTION)) {
            if (n->control) out.push_back(const_cast<Node*>(n));
            n = NextSkippingChildren(n, &select);
        } else {
            n = NextInSubtree(n, &select);
        }
    }
    return out;
}

bool IsMultipleSelect(const Node& select) {
    return select.HasAttribute(u"multiple");
}

bool IsSelected(const Node& option) {
    return option.control && option.control->selected;
}

void SetSelected(Node& option, bool selected) {
    if (!option.control) return;
    Node* select = EnclosingSelect(option);
    if (selected && select && !IsMultipleSelect(*select))
        for (Node* other : SelectOptions(*select)) other->control->selected = false;
    option.control->selected = selected;
}

Node* EnclosingSelect(const Node& option) {
    for (Node* up = option.parent; up; up = up->parent) {
        if (up->Is(GUMBO_TAG_SELECT)) return up;
        if (!up->Is(GUMBO_TAG_OPTGROUP)) return nullptr;
    }
    return nullptr;
}

}  // namespace browser
