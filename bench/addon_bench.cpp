// The add-on in browser windows: from a right-click to the menu handed to
// the UI layer on a 1 MB page with 2,000 inputs and 2,000 links (target: a
// median under 10 ms), and a new window with the add-on attached (SetSite
// through the first top-level DocumentComplete), alone and with 20 windows
// already open, beside the same window without the add-on.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "addon/edit_html.h"
#include "addon/farrow_module.h"
#include "bench/addon_session.h"
#include "platform/browser/browser_session.h"
#include "platform/browser/browser_settings.h"
#include "platform/com/class_factory.h"
#include "platform/ui/ui_backend.h"
#include "platform/win/module.h"
#include "platform/win/registry.h"
#include "platform/win/text.h"

namespace {

using SteadyClock = std::chrono::steady_clock;

// Dismisses every menu at once and notes when it was handed over.
class MenuClock final : public UiBackend {
public:
    void RunModalDialog(HWND) override {}
    UINT TrackPopupMenu(HMENU, HWND, POINT) override {
        handed = SteadyClock::now();
        return 0;
    }
    int ShowMessageBox(const MessageBoxRequest&) override { return IDCANCEL; }
    bool ChooseFile(const FileChooserRequest&, std::u16string&) override { return false; }
    bool ChooseFolder(const FolderChooserRequest&, std::u16string&) override { return false; }
    bool ConfirmPrint(const std::u16string&) override { return false; }

    SteadyClock::time_point handed;
};

std::string LargePage() {
    std::string page = "<!DOCTYPE html><html><head><title>Large</title></head><body>";
    page += "<p id=target>Text under the pointer.</p>";
    for (int i = 0; i < 2000; ++i) {
        const std::string n = std::to_string(i);
        page += "<div><p>Paragraph " + n + " with <a href='/p" + n + ".html'>a link</a>.</p>";
        page += "<form action=/f" + n + "><input name=field" + n + " value=v" + n + "></form>";
        page += "<p>" + std::string(400, 'x') + "</p></div>\n";
    }
    return page + "</body></html>";
}

MenuClock& Clock() {
    static MenuClock* clock = [] {
        auto made = std::make_unique<MenuClock>();
        MenuClock* kept = made.get();
        addon_bench::StartSession(std::move(made));
        addon_bench::WritePage("large.html", LargePage());
        addon_bench::WritePage("small.html", "<title>Small</title><p>A small page.</p>");
        return kept;
    }();
    return *clock;
}

void SetAddOnRegistered(bool registered) {
    const std::u16string key =
        std::u16string(browser::kAddOnsKey) + u"\\{B5B24C3A-6312-4861-A9A1-A3A1EB0A1916}";
    if (registered) {
        _AtlModule.UpdateRegistryFromResource(101, TRUE);
    } else {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
    }
}

void BM_RightClickToMenu(benchmark::State& state) {
    MenuClock& clock = Clock();
    SetAddOnRegistered(true);
    auto& session = browser::BrowserSession::Instance();
    browser::BrowserWindow* window = session.OpenWindow(addon_bench::PageUrl("large.html"));
    browser::PageElement target;
    window->FindElement(u"#target", target);
    for (auto _ : state) {
        const SteadyClock::time_point start = SteadyClock::now();
        window->RightClick(target);
        state.SetIterationTime(std::chrono::duration<double>(clock.handed - start).count());
    }
    session.CloseAll();
}
BENCHMARK(BM_RightClickToMenu)
    ->UseManualTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// arg 0: add-on registered (1) or not (0); arg 1: windows already open.
void BM_NewWindow(benchmark::State& state) {
    Clock();
    SetAddOnRegistered(state.range(0) != 0);
    auto& session = browser::BrowserSession::Instance();
    for (int i = 0; i < state.range(1); ++i) session.OpenWindow(addon_bench::PageUrl("small.html"));
    for (auto _ : state) {
        browser::BrowserWindow* window = session.OpenWindow(addon_bench::PageUrl("small.html"));
        state.PauseTiming();
        window->Close();
        state.ResumeTiming();
    }
    session.CloseAll();
}
BENCHMARK(BM_NewWindow)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 20})
    ->Args({1, 20})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
