// The page content commands under test: the add-on in a browser session
// whose temporary folder (for the files handed to the editor) is a private
// one, with the editor's file, the bytes of files and the objects of page
// elements at hand.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/ui/ui_backend.h"
#include "tests/addon/addon_test_support.h"

namespace content_test {

class ContentTest : public addon_test::AddOnTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The add-on object of a window (the test fails without one).
    CEditHtml& AddOn(browser::BrowserWindow& window);
    CComPtr<IDispatch> ObjectOf(browser::BrowserWindow& window, std::u16string_view selector);
    CComPtr<IHTMLElement> ElementOf(browser::BrowserWindow& window, std::u16string_view selector);

    std::string TempFolder() const { return m_temp.path(); }
    std::string SaveFolder() const { return m_save.path(); }
    // A path in the save folder, as the dialog takes it.
    std::u16string SavePath(const std::string& name) const;
    // The files handed to the editor so far ("shell" effects), in order.
    std::vector<std::string> EditorFiles() const;
    // The bytes of the file last handed to the editor.
    std::string LastEditorBytes() const;

private:
    testing_support::TempDir m_temp;
    testing_support::TempDir m_save;
    std::string m_oldTmpdir;
    bool m_hadTmpdir = false;
};

// While it lives, the UI the test answers is watched: message boxes may be
// answered here (a hook that returns a button), and print dialogs are
// seen before the answers take them.
class UiWatch {
public:
    UiWatch();
    ~UiWatch();
    UiWatch(const UiWatch&) = delete;
    UiWatch& operator=(const UiWatch&) = delete;

    std::function<std::optional<int>(const MessageBoxRequest&)> answerMessage;
    std::function<void(const std::u16string& title)> beforePrint;
};

// Text as a UTF-16 file holds it: little-endian, no mark.
std::string Utf16Bytes(std::u16string_view text);
// Text in Windows-1252 (ASCII and Latin-1 only).
std::string Latin1Bytes(std::u16string_view text);
// A file's bytes as a hexadecimal string, for readable failures.
std::string Hex(const std::string& bytes);

}  // namespace content_test
