#include "bench/addon_session.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "addon/farrow_module.h"
#include "platform/browser/browser_session.h"
#include "platform/win/text.h"
#include "tests/addon/built_in_add_on.h"

namespace addon_bench {

namespace {

std::string& Folder() {
    static std::string folder;
    return folder;
}

}  // namespace

const std::string& StartSession(std::unique_ptr<UiBackend> ui) {
    if (!Folder().empty()) return Folder();
    char pattern[] = "/tmp/kestro-bench-XXXXXX";
    Folder() = mkdtemp(pattern);
    setenv("KESTRO_HOME", Folder().c_str(), 1);
    const std::string build =
        std::string(KESTRO_MAKE_LOGIN_DB) + " " + KESTRO_LOGIN_SQL + " " + Folder() + "/login.dat";
    if (std::system(build.c_str()) != 0) std::fprintf(stderr, "login.dat was not built\n");
    CoInitialize(nullptr);
    if (!built_in_add_on::Register(Folder())) std::fprintf(stderr, "the add-on was not registered\n");
    InstallUiBackend(std::move(ui));
    browser::BrowserSession::Instance().MapHost(u"bench.test", Utf8ToUtf16(Folder()));
    return Folder();
}

const std::string& SessionFolder() {
    return Folder();
}

void WritePage(const std::string& name, const std::string& html) {
    std::ofstream(Folder() + "/" + name) << html;
}

std::u16string PageUrl(const std::string& name) {
    return u"http://bench.test/" + Utf8ToUtf16(name);
}

void EndSession() {
    browser::BrowserSession::Instance().CloseAll();
    if (!Folder().empty()) std::filesystem::remove_all(Folder());
}

CEditHtml* AddOnOf(browser::BrowserWindow& window) {
    return built_in_add_on::AddOnOf(window);
}

CComPtr<IDispatch> ElementOf(browser::BrowserWindow& window, std::u16string_view selector) {
    browser::PageElement found;
    window.FindElement(selector, found);
    CComPtr<IDispatch> element;
    if (found.document) found.document->ObjectFor(found.element, &element);
    return element;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace addon_bench
