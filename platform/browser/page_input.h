// A user's acts on the pages a driver shows (page_driver.h), carried out
// through its view as a person's pointer and keyboard would. Each returns
// once what it caused is complete: the events have reached the add-ons,
// the loads and windows they started are shown, and the document model
// holds the pages as they now are. Texts as BrowserWindow's acts: empty on
// success, or what made the act impossible. Targets are model elements of
// the window (BrowserWindow::FindElement), already checked for their kind.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/browser/browser_window.h"

namespace browser {

class PageInput {
public:
    virtual std::string Type(const PageElement& target, std::u16string_view text) = 0;
    virtual std::string SetChecked(const PageElement& target, bool checked) = 0;
    virtual std::string Choose(const PageElement& target,
                               const std::vector<std::u16string>& values) = 0;
    virtual std::string Click(const PageElement& target, bool alt) = 0;
    virtual std::string DoubleClick(const PageElement& target, bool alt) = 0;
    virtual std::string Hover(const PageElement& target) = 0;
    virtual std::string Select(const PageElement& target, std::optional<std::size_t> from,
                               std::optional<std::size_t> to) = 0;
    virtual std::string Unselect() = 0;
    virtual std::string RightClick(const PageElement& target) = 0;
    // Waits for what was started so far (loads, new windows, writes) and
    // brings the model in step with the pages.
    virtual std::string Settle() = 0;

protected:
    ~PageInput() = default;
};

}  // namespace browser
