// Builds a DocumentTree from page text with gumbo.
#pragma once

#include <memory>
#include <string_view>

#include "platform/browser/document_tree.h"

namespace browser {

// utf8 is the page already decoded to UTF-8 (see page_decoder.h); invalid
// sequences become U+FFFD. Form controls get their initial live state.
std::unique_ptr<DocumentTree> BuildTree(std::string_view utf8);

}  // namespace browser
