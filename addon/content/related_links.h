// Related links: the other links beside a clicked link that point into the
// same folder of the same site, and the frameset page that gathers their
// pages for saving.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/browser/mshtml_element.h"

// The title by which a window of gathered link pages is recognised.
inline constexpr char16_t kLinkPagesTitle[] = u"Kestro Link Pages";

// The URL cut before its last '/'; empty when it holds none.
std::u16string LinkPrefix(const std::u16string& url);

// The nearest ancestor of the link, from its parent up, that is a "BODY"
// or "TABLE"; where the climb had to stop otherwise (no parent, a tag name
// that cannot be read). Null when the link has no parent.
CComPtr<IHTMLElement> LinkContainer(IHTMLElement* link);

// The addresses of the container's anchors that begin with the prefix, in
// the container's order, each once, as many as maxLinks (the walk stops
// once that many are taken).
std::vector<std::u16string> RelatedLinks(IHTMLElement* container, const std::u16string& prefix,
                                         std::size_t maxLinks);

// The column widths of a frameset of n frames: the first gets 80%, the
// others share 20% with the remainder going to the last; one frame gets
// 100%.
std::u16string FrameColumnWidths(std::size_t n);

// The frameset page, one frame per address, addresses escaped for markup.
std::u16string LinkPagesDocument(const std::vector<std::u16string>& urls);
