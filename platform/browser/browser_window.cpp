#include "platform/browser/browser_window.h"

#include <algorithm>

#include "platform/browser/context_menu.h"
#include "platform/browser/css_selector.h"
#include "platform/browser/form_controls.h"
#include "platform/browser/page_driver.h"
#include "platform/browser/page_input.h"
#include "platform/browser/pointer_events.h"
#include "platform/browser/selection.h"
#include "platform/browser/tag_names.h"
#include "platform/browser/url.h"
#include "platform/browser/web_browser_object.h"
#include "platform/win/text.h"

namespace browser {

namespace {

constexpr char kClosed[] = "the window is closed";
constexpr POINT kMenuPoint{100, 100};

std::string Describe(std::u16string_view text) {
    return Utf16ToUtf8(text);
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

bool IsTextInput(const Node& element) {
    if (element.Is(GUMBO_TAG_TEXTAREA)) return true;
    if (!element.Is(GUMBO_TAG_INPUT)) return false;
    const std::u16string type = ControlType(element);
    return type != u"checkbox" && type != u"radio" && type != u"submit" && type != u"button" &&
           type != u"reset" && type != u"image" && type != u"file";
}

// An address as typed: a path or a name without a scheme is completed.
std::u16string TypedAddress(std::u16string_view typed) {
    const std::u16string_view text = Trim(typed);
    if (text.empty()) return u"about:blank";
    if (text.front() == '/' || !ParseUrl(text).scheme.empty()) return ParseUrl(text).ToString();
    return ParseUrl(u"http://" + std::u16string(text)).ToString();
}

}  // namespace

BrowserWindow::BrowserWindow(WebBrowser* browser) : m_browser(browser) {
    m_browser->AddRef();
}

BrowserWindow::~BrowserWindow() {
    m_browser->Release();
}

bool BrowserWindow::IsOpen() const {
    return !m_browser->IsClosed();
}

IWebBrowser2* BrowserWindow::Browser() const {
    return m_browser;
}

HWND BrowserWindow::PageWindow() const {
    return m_browser->PageWindow();
}

HtmlDocument* BrowserWindow::Document() const {
    return IsOpen() ? m_browser->Document() : nullptr;
}

std::u16string BrowserWindow::Url() const {
    HtmlDocument* document = Document();
    return document ? document->Url() : std::u16string();
}

PageInput* BrowserWindow::Input() const {
    PageDriver* driver = m_browser->Driver();
    return driver ? driver->Input() : nullptr;
}

std::u16string BrowserWindow::Title() const {
    HtmlDocument* document = Document();
    return document ? document->Title() : std::u16string();
}

std::string BrowserWindow::Navigate(std::u16string_view url) {
    if (!IsOpen()) return kClosed;
    if (FAILED(m_browser->Go({TypedAddress(url)}))) return "the address cannot be opened";
    if (PageInput* input = Input()) return input->Settle();
    return {};
}

std::string BrowserWindow::FindElement(std::u16string_view selector, PageElement& found) const {
    found = {};
    HtmlDocument* document = Document();
    if (!document) return IsOpen() ? "the window shows no page" : kClosed;
    std::u16string_view rest = Trim(selector);
    while (rest.starts_with(u"frame ")) {
        const std::size_t arrows = rest.find(u">>");
        if (arrows == std::u16string_view::npos) break;
        const std::u16string_view number = Trim(rest.substr(6, arrows - 6));
        std::size_t index = 0;
        for (char16_t c : number) {
            if (c < '0' || c > '9') return "not a frame number: " + Describe(number);
            index = index * 10 + (c - '0');
        }
        const std::vector<HtmlDocument*> frames = document->Frames();
        if (index < 1 || index > frames.size())
            return "no frame " + Describe(number) + " (the page has " +
                   std::to_string(frames.size()) + ")";
        document = frames[index - 1];
        rest = Trim(rest.substr(arrows + 2));
    }
    if (!CssSelector::Parse(rest)) return "not a selector: " + Describe(rest);
    Node* element = QuerySelector(*document->Tree().Root(), rest);
    if (!element) return "no element matches " + Describe(rest);
    found.document = document;
    found.element = element;
    return {};
}

std::string BrowserWindow::Type(const PageElement& target, std::u16string_view text) {
    if (!IsOpen()) return kClosed;
    if (!target.element || !IsTextInput(*target.element)) return "not a text box or text area";
    if (PageInput* input = Input()) return input->Type(target, text);
    SetControlValue(*target.element, text);
    return {};
}

std::string BrowserWindow::SetChecked(const PageElement& target, bool checked) {
    if (!IsOpen()) return kClosed;
    Node* element = target.element;
    const std::u16string type = element ? ControlType(*element) : u"";
    if (!element || !element->Is(GUMBO_TAG_INPUT) || (type != u"checkbox" && type != u"radio"))
        return "not a check box or radio button";
    if (PageInput* input = Input()) return input->SetChecked(target, checked);
    browser::SetChecked(*element, checked, target.document->Tree());
    return {};
}

std::string BrowserWindow::Choose(const PageElement& target,
                                  const std::vector<std::u16string>& values) {
    if (!IsOpen()) return kClosed;
    Node* list = target.element;
    if (!list || !list->Is(GUMBO_TAG_SELECT)) return "not a list";
    if (values.size() > 1 && !IsMultipleSelect(*list)) return "the list takes one choice";
    const std::vector<Node*> options = SelectOptions(*list);
    for (const std::u16string& value : values)
        if (std::none_of(options.begin(), options.end(),
                         [&](const Node* o) { return ControlValue(*o) == value; }))
            return "the list has no option " + Describe(value);
    if (PageInput* input = Input()) return input->Choose(target, values);
    for (Node* option : options) SetSelected(*option, false);
    for (const std::u16string& value : values)
        for (Node* option : options)
            if (ControlValue(*option) == value) {
                SetSelected(*option, true);
                break;
            }
    return {};
}

std::string BrowserWindow::Click(const PageElement& target, bool alt) {
    if (!IsOpen()) return kClosed;
    WebBrowser* browser = target.document ? m_browser->BrowserOf(*target.document) : nullptr;
    if (!browser || !target.element) return "the element's page is no longer shown";
    if (PageInput* input = Input()) return input->Click(target, alt);
    ClickElement(*browser, *target.document, ElementUnderPointer(*target.element), alt);
    return {};
}

std::string BrowserWindow::DoubleClick(const PageElement& target, bool alt) {
    if (!IsOpen()) return kClosed;
    WebBrowser* browser = target.document ? m_browser->BrowserOf(*target.document) : nullptr;
    if (!browser || !target.element) return "the element's page is no longer shown";
    if (PageInput* input = Input()) return input->DoubleClick(target, alt);
    for (HtmlDocument* document : m_browser->AllDocuments())
        if (document != target.document.p) document->ClearSelection();
    DoubleClickElement(*browser, *target.document, *target.element, alt);
    return {};
}

std::string BrowserWindow::Hover(const PageElement& target) {
    if (!IsOpen()) return kClosed;
    WebBrowser* browser = target.document ? m_browser->BrowserOf(*target.document) : nullptr;
    if (!browser || !target.element) return "the element's page is no longer shown";
    if (PageInput* input = Input()) return input->Hover(target);
    FireMouseEvent(*browser, *target.document, DISPID_HTMLDOCUMENTEVENTS2_ONMOUSEMOVE,
                   ElementUnderPointer(*target.element), false);
    return {};
}

std::string BrowserWindow::Select(const PageElement& target, std::optional<std::size_t> from,
                                  std::optional<std::size_t> to) {
    if (!IsOpen()) return kClosed;
    if (!target.element || !m_browser->BrowserOf(*target.document))
        return "the element's page is no longer shown";
    if (PageInput* input = Input()) return input->Select(target, from, to);
    for (HtmlDocument* document : m_browser->AllDocuments()) document->ClearSelection();
    const Selection selection = IsSelectableControl(*target.element) && !from && !to
                                    ? SelectControl(*target.element)
                                    : SelectElementText(*target.element, from, to);
    target.document->Select(selection);
    return {};
}

std::string BrowserWindow::Unselect() {
    if (!IsOpen()) return kClosed;
    if (PageInput* input = Input()) return input->Unselect();
    for (HtmlDocument* document : m_browser->AllDocuments()) document->ClearSelection();
    return {};
}

std::string BrowserWindow::RightClick(const PageElement& target) {
    if (!IsOpen()) return kClosed;
    WebBrowser* browser = target.document ? m_browser->BrowserOf(*target.document) : nullptr;
    if (!browser || !target.element) return "the element's page is no longer shown";
    if (PageInput* input = Input()) return input->RightClick(target);
    if (FAILED(ShowPageContextMenu(*browser, *target.document, *target.element, kMenuPoint)))
        return "the browser's context menus (SHDOCLC.DLL) cannot be loaded";
    return {};
}

std::string BrowserWindow::Close() {
    if (!IsOpen()) return kClosed;
    m_browser->CloseWindow();
    return {};
}

}  // namespace browser
