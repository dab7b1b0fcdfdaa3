// The browser windows of the process, in creation order, numbered from 1;
// a closed window leaves the list. Windows open here (the user), from
// pages (document.open, links with new-window targets) and from add-ons
// (Navigate with navOpenInNewWindow/navOpenInNewTab); a tab is a window of
// its own. Each new window gets its own add-on objects from the registry.
// All calls belong to the UI thread. Page loading is synchronous; what
// handlers start runs once they have returned (deferred_work.h), so every
// call here returns with that work done.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/browser/browser_window.h"

namespace browser {

// The host's own version, as its set-up writes it.
inline constexpr char16_t kBrowserVersion[] = u"11.0.9600.16428";

// The host's set-up: the string value "Version" under HKEY_LOCAL_MACHINE
// "Software\Microsoft\Internet Explorer" (ERROR_SUCCESS or the registry's
// error).
LONG WriteBrowserVersion(std::u16string_view version = kBrowserVersion);

class BrowserSession {
public:
    static BrowserSession& Instance();

    // Serves http://HOST/... and https://HOST/... from a folder.
    void MapHost(std::u16string_view host, std::u16string_view directory);
    // The folder a host is served from; empty when it is not mapped.
    std::u16string MappedFolder(std::u16string_view host) const;

    // A new window with the page loaded (or an error page when it could
    // not be); null only when no window could be made. url as typed into
    // an address bar: an absolute URL or file path ("example.com/x" gets
    // http://). The window object stays valid for the life of the process.
    // Journals nothing: "window" entries are for windows pages and add-ons
    // open.
    BrowserWindow* OpenWindow(std::u16string_view url);

    std::size_t WindowCount() const;
    // Window number n (from 1); null when there is none.
    BrowserWindow* Window(std::size_t number) const;
    // The number of an open window; 0 when it is not open.
    std::size_t NumberOf(const BrowserWindow* window) const;

    // Where printed pages go as PDF files (default: "prints" under the
    // KESTRO_HOME directory).
    void SetPrintFolder(std::u16string_view folder);
    std::u16string PrintFolder() const;

    // What the browser's Copy command put on the clipboard.
    std::u16string ClipboardText() const { return m_clipboard; }
    void SetClipboardText(std::u16string_view text) { m_clipboard = text; }

    // Closes every window as Close does (end of a run).
    void CloseAll();

    // Called with each new window's browser before its add-ons or its
    // first page (a live engine sets its page driver there).
    using WindowStarter = std::function<void(WebBrowser& browser)>;
    void SetWindowStarter(WindowStarter starter) { m_starter = std::move(starter); }

    // For the engine: a new window's browser with the page loaded, or with
    // a blank page and no add-ons yet; windows leave the list here; the
    // next free PDF path for a print.
    WebBrowser* OpenBrowser(std::u16string_view url);
    WebBrowser* OpenBlankBrowser(bool addToHistory);
    void RemoveWindow(WebBrowser* browser);
    BrowserWindow* WindowOf(const WebBrowser* browser) const;
    std::string NextPrintPath();

private:
    BrowserSession() = default;
    BrowserWindow* NewWindow();
    struct Host {
        std::u16string name;
        std::u16string folder;
    };
    std::vector<BrowserWindow*> m_windows;  // open ones
    std::vector<BrowserWindow*> m_all;      // every window made, kept for callers' pointers
    std::vector<Host> m_hosts;
    std::u16string m_printFolder;
    std::u16string m_clipboard;
    WindowStarter m_starter;
};

}  // namespace browser
