#include "tests/addon/content/content_test_support.h"

#include <cstdlib>

namespace content_test {

void ContentTest::SetUp() {
    const char* tmpdir = std::getenv("TMPDIR");
    m_hadTmpdir = tmpdir != nullptr;
    if (tmpdir) m_oldTmpdir = tmpdir;
    setenv("TMPDIR", m_temp.path().c_str(), 1);
    AddOnTest::SetUp();
}

void ContentTest::TearDown() {
    AddOnTest::TearDown();
    if (m_hadTmpdir)
        setenv("TMPDIR", m_oldTmpdir.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

CEditHtml& ContentTest::AddOn(browser::BrowserWindow& window) {
    CEditHtml* addOn = AddOnOf(window);
    if (!addOn) ADD_FAILURE() << "the window has no add-on object";
    return *addOn;
}

CComPtr<IDispatch> ContentTest::ObjectOf(browser::BrowserWindow& window,
                                         std::u16string_view selector) {
    const browser::PageElement found = Element(window, selector);
    CComPtr<IDispatch> object;
    if (found.document) found.document->ObjectFor(found.element, &object);
    return object;
}

CComPtr<IHTMLElement> ContentTest::ElementOf(browser::BrowserWindow& window,
                                             std::u16string_view selector) {
    CComQIPtr<IHTMLElement> element(ObjectOf(window, selector));
    return CComPtr<IHTMLElement>(element.p);
}

std::u16string ContentTest::SavePath(const std::string& name) const {
    return Utf8ToUtf16(m_save.File(name));
}

std::vector<std::string> ContentTest::EditorFiles() const {
    std::vector<std::string> files;
    const std::string prefix = "notepad.exe \"";
    for (const std::string& line : JournalOf("shell"))
        if (line.rfind(prefix, 0) == 0 && line.back() == '"')
            files.push_back(line.substr(prefix.size(), line.size() - prefix.size() - 1));
    return files;
}

std::string ContentTest::LastEditorBytes() const {
    const std::vector<std::string> files = EditorFiles();
    if (files.empty()) {
        ADD_FAILURE() << "nothing was handed to the editor";
        return {};
    }
    return testing_support::ReadFile(files.back());
}

namespace {

class WatchingBackend final : public UiBackend {
public:
    explicit WatchingBackend(UiWatch& watch) : m_watch(watch) {}

    void RunModalDialog(HWND dialog) override { inner->RunModalDialog(dialog); }
    UINT TrackPopupMenu(HMENU menu, HWND owner, POINT point) override {
        return inner->TrackPopupMenu(menu, owner, point);
    }
    int ShowMessageBox(const MessageBoxRequest& request) override {
        if (m_watch.answerMessage)
            if (const std::optional<int> button = m_watch.answerMessage(request)) return *button;
        return inner->ShowMessageBox(request);
    }
    bool ChooseFile(const FileChooserRequest& request, std::u16string& path) override {
        return inner->ChooseFile(request, path);
    }
    bool ChooseFolder(const FolderChooserRequest& request, std::u16string& path) override {
        return inner->ChooseFolder(request, path);
    }
    bool ConfirmPrint(const std::u16string& title) override {
        if (m_watch.beforePrint) m_watch.beforePrint(title);
        return inner->ConfirmPrint(title);
    }
    void Beep() override { inner->Beep(); }
    SIZE DialogBaseUnits(const std::u16string& font, WORD pointSize) override {
        return inner->DialogBaseUnits(font, pointSize);
    }
    void WindowChanged(HWND window) override { inner->WindowChanged(window); }
    void WindowDestroyed(HWND window) override { inner->WindowDestroyed(window); }

    std::unique_ptr<UiBackend> inner;

private:
    UiWatch& m_watch;
};

}  // namespace

UiWatch::UiWatch() {
    auto watching = std::make_unique<WatchingBackend>(*this);
    WatchingBackend* installed = watching.get();
    installed->inner = InstallUiBackend(std::move(watching));
}

UiWatch::~UiWatch() {
    std::unique_ptr<UiBackend> watching = InstallUiBackend(nullptr);
    InstallUiBackend(std::move(static_cast<WatchingBackend*>(watching.get())->inner));
}

std::string Utf16Bytes(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

std::string Latin1Bytes(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text) bytes += static_cast<char>(c);
    return bytes;
}

std::string Hex(const std::string& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += kDigits[b >> 4];
        out += kDigits[b & 0xF];
    }
    return out;
}

}  // namespace content_test
