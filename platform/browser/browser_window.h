// A top-level browser window as a user sees it: its page (with frames),
// and what a user does to the page. Every act goes through the same
// events and default actions a real pointer or keyboard would cause, and
// returns after their effects (navigations, new windows, menus, dialogs,
// and the work the handlers started) are complete, so the next act sees
// the result. On a live engine that offers it (page_input.h) the acts go
// to the live page through its view instead, and wait for what they
// caused there.
//
// A BrowserWindow stays valid after it closed (IsOpen tells); then every
// act fails and the page is gone.
//
// Acts return an empty text on success, or what made the act impossible
// (no such element, wrong kind of element, a value the control cannot
// take, the window is closed).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/browser/html_document.h"
#include "platform/browser/web_browser.h"

namespace browser {

class PageInput;
class WebBrowser;

// An element and the document (page or frame) that holds it.
struct PageElement {
    CComPtr<HtmlDocument> document;
    Node* element = nullptr;
};

class BrowserWindow {
public:
    BrowserWindow(const BrowserWindow&) = delete;
    BrowserWindow& operator=(const BrowserWindow&) = delete;

    bool IsOpen() const;
    // The window's browser object (what add-ons get as their site).
    IWebBrowser2* Browser() const;
    // The page's window (owner of its menus and message boxes).
    HWND PageWindow() const;
    // The current top-level document; null before the first page or after
    // the window closed.
    HtmlDocument* Document() const;
    std::u16string Url() const;
    std::u16string Title() const;

    // Loads an address in this window, as typed into its address bar.
    std::string Navigate(std::u16string_view url);

    // An element by selector: "SEL" in the page, "frame N >> SEL" in its
    // N-th frame (from 1, document order; may repeat for nested frames).
    std::string FindElement(std::u16string_view selector, PageElement& found) const;

    // Replaces the value of an input or text area.
    std::string Type(const PageElement& target, std::u16string_view text);
    // Check boxes and radio buttons (checking one of a group unchecks the others).
    std::string SetChecked(const PageElement& target, bool checked);
    // Selects exactly these option values of a list.
    std::string Choose(const PageElement& target, const std::vector<std::u16string>& values);
    // A pointer over the element's first character of text.
    std::string Click(const PageElement& target, bool alt = false);
    std::string DoubleClick(const PageElement& target, bool alt = false);
    std::string Hover(const PageElement& target);
    // The element's whole text, or characters [from, to) of its innerText.
    std::string Select(const PageElement& target, std::optional<std::size_t> from = {},
                       std::optional<std::size_t> to = {});
    // Clears the selection of the page and its frames.
    std::string Unselect();
    // Shows the context menu for the element (the UI handler's or the
    // browser's own) and returns after its command was carried out.
    std::string RightClick(const PageElement& target);
    // As the browser's close command: OnQuit, add-ons released, window gone.
    std::string Close();

private:
    friend class BrowserSession;
    friend class WebBrowser;
    explicit BrowserWindow(WebBrowser* browser);
    ~BrowserWindow();
    // A live engine's way to act on the page as a user; null for the
    // embedded engine, whose acts work on the model.
    PageInput* Input() const;

    WebBrowser* m_browser;  // counted
};

}  // namespace browser
