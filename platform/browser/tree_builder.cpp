#include "platform/browser/tree_builder.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/browser/form_controls.h"
#include "platform/browser/tag_names.h"
#include "platform/browser/utf8_to_utf16.h"

namespace browser {

namespace {

// gumbo frees its output recursively, which a deeply nested page would turn
// into a stack overflow. Every block gumbo takes is linked into a list
// instead, so the whole output is released with one loop.
struct alignas(std::max_align_t) TrackedBlock {
    TrackedBlock* prev;
    TrackedBlock* next;
};

struct BlockList {
    TrackedBlock* head = nullptr;

    ~BlockList() {
        while (head) {
            TrackedBlock* next = head->next;
            std::free(head);
            head = next;
        }
    }
};

void* Allocate(void* userdata, size_t size) {
    auto* list = static_cast<BlockList*>(userdata);
    auto* block = static_cast<TrackedBlock*>(std::malloc(sizeof(TrackedBlock) + size));
    if (!block) std::abort();  // gumbo cannot report a failed allocation
    block->prev = nullptr;
    block->next = list->head;
    if (list->head) list->head->prev = block;
    list->head = block;
    return block + 1;
}

void Deallocate(void* userdata, void* pointer) {
    if (!pointer) return;
    auto* list = static_cast<BlockList*>(userdata);
    auto* block = static_cast<TrackedBlock*>(pointer) - 1;
    if (block->prev)
        block->prev->next = block->next;
    else
        list->head = block->next;
    if (block->next) block->next->prev = block->prev;
    std::free(block);
}

std::u16string Widen(const char* utf8, std::size_t length) {
    std::u16string out;
    AppendUtf8AsUtf16(std::string_view(utf8, length), out);
    return out;
}

std::u16string ForeignName(const GumboElement& element) {
    GumboStringPiece piece = element.original_tag;
    gumbo_tag_from_original_text(&piece);
    if (element.tag_namespace == GUMBO_NAMESPACE_SVG && piece.data)
        if (const char* fixed = gumbo_normalize_svg_tagname(&piece))
            return Widen(fixed, std::strlen(fixed));
    if (element.tag != GUMBO_TAG_UNKNOWN || !piece.data) {
        const char* name = gumbo_normalized_tagname(element.tag);
        return Widen(name, std::strlen(name));
    }
    std::u16string name = Widen(piece.data, piece.length);
    // Outside SVG, names are case-insensitive and kept in lower case.
    if (element.tag_namespace != GUMBO_NAMESPACE_SVG)
        for (char16_t& c : name)
            if (c >= 'A' && c <= 'Z') c = static_cast<char16_t>(c + 32);
    return name;
}

void FillElement(const GumboElement& source, Node* node) {
    node->foreign = source.tag_namespace != GUMBO_NAMESPACE_HTML;
    node->tag = static_cast<TagId>(source.tag);
    if (node->foreign || source.tag == GUMBO_TAG_UNKNOWN) node->data = ForeignName(source);
    node->attributes.reserve(source.attributes.length);
    for (unsigned int i = 0; i < source.attributes.length; ++i) {
        const auto* attribute = static_cast<const GumboAttribute*>(source.attributes.data[i]);
        Attribute& a = node->attributes.emplace_back();
        AppendUtf8AsUtf16(attribute->name, a.name);
        AppendUtf8AsUtf16(attribute->value, a.value);
    }
}

Node* ConvertNode(const GumboNode& source, DocumentTree& tree) {
    switch (source.type) {
        case GUMBO_NODE_ELEMENT:
        case GUMBO_NODE_TEMPLATE: {
            Node* node = tree.NewNode(NodeKind::Element);
            FillElement(source.v.element, node);
            return node;
        }
        case GUMBO_NODE_TEXT:
        case GUMBO_NODE_CDATA:
        case GUMBO_NODE_WHITESPACE: {
            Node* node = tree.NewNode(NodeKind::Text);
            AppendUtf8AsUtf16(source.v.text.text, node->data);
            return node;
        }
        case GUMBO_NODE_COMMENT: {
            Node* node = tree.NewNode(NodeKind::Comment);
            AppendUtf8AsUtf16(source.v.text.text, node->data);
            return node;
        }
        default:
            return nullptr;
    }
}

const GumboVector* ChildrenOf(const GumboNode& node) {
    if (node.type == GUMBO_NODE_DOCUMENT) return &node.v.document.children;
    if (node.type == GUMBO_NODE_ELEMENT || node.type == GUMBO_NODE_TEMPLATE)
        return &node.v.element.children;
    return nullptr;
}

void ConvertTree(const GumboNode& document, DocumentTree& tree) {
    struct Pending {
        const GumboVector* children;
        unsigned int index;
        Node* parent;
    };
    std::vector<Pending> stack;
    stack.push_back({ChildrenOf(document), 0, tree.Root()});
    while (!stack.empty()) {
        Pending& top = stack.back();
        if (top.index >= top.children->length) {
            stack.pop_back();
            continue;
        }
        const auto* child = static_cast<const GumboNode*>(top.children->data[top.index++]);
        Node* parent = top.parent;
        Node* node = ConvertNode(*child, tree);
        if (!node) continue;
        DocumentTree::AppendChild(parent, node);
        if (const GumboVector* children = ChildrenOf(*child); children && children->length)
            stack.push_back({children, 0, node});
    }
}

}  // namespace

std::unique_ptr<DocumentTree> BuildTree(std::string_view utf8) {
    auto tree = std::make_unique<DocumentTree>();
    BlockList blocks;
    GumboOptions options = kGumboDefaultOptions;
    options.allocator = Allocate;
    options.deallocator = Deallocate;
    options.userdata = &blocks;
    options.max_errors = 0;
    // The output is released with the block list, never with gumbo_destroy_output.
    GumboOutput* output = gumbo_parse_with_options(&options, utf8.data(), utf8.size());
    if (output) ConvertTree(*output->document, *tree);
    tree->NumberNodes();
    InitialiseControls(*tree);
    return tree;
}

}  // namespace browser
