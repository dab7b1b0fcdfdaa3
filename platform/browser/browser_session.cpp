#include "platform/browser/browser_session.h"

#include <sys/stat.h>
#include <algorithm>

#include "platform/browser/web_browser_object.h"
#include "platform/win/kestro_home.h"
#include "platform/win/text.h"

namespace browser {

BrowserSession& BrowserSession::Instance() {
    // Never destroyed: windows may still be closing while the program ends.
    static BrowserSession* session = new BrowserSession();
    return *session;
}

void BrowserSession::MapHost(std::u16string_view host, std::u16string_view directory) {
    std::u16string folder(directory);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    const std::u16string name = WideLower(host);
    for (Host& existing : m_hosts)
        if (existing.name == name) {
            existing.folder = folder;
            return;
        }
    m_hosts.push_back({name, folder});
}

std::u16string BrowserSession::MappedFolder(std::u16string_view host) const {
    const std::u16string name = WideLower(host);
    for (const Host& existing : m_hosts)
        if (existing.name == name) return existing.folder;
    return {};
}

BrowserWindow* BrowserSession::NewWindow() {
    CComPtr<WebBrowser> browser;
    if (FAILED(WebBrowser::CreateWindowBrowser(&browser))) return nullptr;
    auto* window = new BrowserWindow(browser);
    m_all.push_back(window);
    m_windows.push_back(window);
    if (m_starter) m_starter(*browser);
    return window;
}

BrowserWindow* BrowserSession::OpenWindow(std::u16string_view url) {
    BrowserWindow* window = NewWindow();
    if (!window) return nullptr;
    window->m_browser->LoadAddOns();
    if (!window->m_browser->IsClosed()) window->Navigate(url);
    return window;
}

WebBrowser* BrowserSession::OpenBrowser(std::u16string_view url) {
    BrowserWindow* window = OpenWindow(url);
    return window ? window->m_browser : nullptr;
}

WebBrowser* BrowserSession::OpenBlankBrowser(bool addToHistory) {
    BrowserWindow* window = NewWindow();
    if (!window) return nullptr;
    window->m_browser->ShowBlankPage(addToHistory);
    return window->m_browser;
}

std::size_t BrowserSession::WindowCount() const {
    return m_windows.size();
}

BrowserWindow* BrowserSession::Window(std::size_t number) const {
    return number >= 1 && number <= m_windows.size() ? m_windows[number - 1] : nullptr;
}

std::size_t BrowserSession::NumberOf(const BrowserWindow* window) const {
    const auto found = std::find(m_windows.begin(), m_windows.end(), window);
    return found == m_windows.end() ? 0 : static_cast<std::size_t>(found - m_windows.begin()) + 1;
}

void BrowserSession::RemoveWindow(WebBrowser* browser) {
    std::erase_if(m_windows, [browser](BrowserWindow* w) { return w->m_browser == browser; });
}

BrowserWindow* BrowserSession::WindowOf(const WebBrowser* browser) const {
    for (BrowserWindow* window : m_all)
        if (window->m_browser == browser) return window;
    return nullptr;
}

void BrowserSession::SetPrintFolder(std::u16string_view folder) {
    m_printFolder = folder;
}

std::u16string BrowserSession::PrintFolder() const {
    if (!m_printFolder.empty()) return m_printFolder;
    return Utf8ToUtf16(KestroHomeDirectory()) + u"/prints";
}

std::string BrowserSession::NextPrintPath() {
    const std::string folder = Utf16ToUtf8(PrintFolder());
    mkdir(folder.c_str(), 0700);
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return {};
    for (int number = 1; number < 100000; ++number) {
        const std::string path = folder + "/print-" + std::to_string(number) + ".pdf";
        if (stat(path.c_str(), &info) != 0) return path;
    }
    return {};
}

void BrowserSession::CloseAll() {
    while (!m_windows.empty()) {
        BrowserWindow* window = m_windows.front();
        window->Close();
        std::erase(m_windows, window);  // in case it could not close
    }
}

}  // namespace browser
