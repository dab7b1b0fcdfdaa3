// A browser session under test: pages in a temporary folder, a scripted UI
// whose answers the test queues, an effects journal, and a recording
// add-on (a class built into the test) that every new window loads and
// that writes down the browser and document events it receives.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/browser/browser_session.h"
#include "platform/browser/mshtml_document.h"
#include "platform/ui/scripted_backend.h"
#include "tests/support/temp_home.h"

namespace browser_test {

// What the recording add-ons of all windows saw, in order: "site",
// "site null", "BN2 a.html frame", "NC2 ...", "DC a.html frame",
// "NewWindow2", "OnQuit", "click SPAN alt", "dblclick P", "mousemove A"...
std::vector<std::string>& EventLog();
// The recording add-on cancels every navigation whose address holds this.
inline constexpr char16_t kCancelledWord[] = u"cancel";
// Runs inside the recording add-on's handler, after it wrote the event down
// (the log entry and the browser the add-on is sited on); reset per test.
using HandlerAction = std::function<void(const std::string& entry, IWebBrowser2* browser)>;
void SetHandlerAction(HandlerAction action);

class BrowserTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers the recording add-on, or the add-on of a class id ("{...}"),
    // for the windows opened from now on.
    void LoadRecordingAddOn();
    void LoadAddOn(std::u16string_view classKey);
    // Writes a page into the pages folder; its file: URL.
    std::u16string AddPage(const std::string& name, const std::string& html);
    std::u16string PageUrl(const std::string& name) const;
    std::string PagesFolder() const { return m_pages.path(); }

    void Answer(std::u16string_view line);
    ScriptedBackend& Ui() { return *m_backend; }
    // Journal lines "KIND\tTEXT" written so far.
    std::vector<std::string> Journal() const;
    std::vector<std::string> JournalOf(const std::string& kind) const;

    browser::BrowserSession& Session() { return browser::BrowserSession::Instance(); }
    browser::BrowserWindow& Open(const std::u16string& url);
    browser::PageElement Element(browser::BrowserWindow& window, std::u16string_view selector);

private:
    testing_support::TempDir m_pages;
    std::string m_journal;
    QueuedAnswers* m_answers = nullptr;
    ScriptedBackend* m_backend = nullptr;
};

// Writes html into a document (one string, as document.write takes it).
HRESULT WriteDocument(IHTMLDocument2* document, const std::u16string& html);

// Sets a registry value the way a user's settings would.
void SetPopupBlocker(DWORD value);

}  // namespace browser_test
