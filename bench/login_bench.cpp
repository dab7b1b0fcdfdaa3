// The login commands in a browser window, on a real disk:
// - Fill Login Data on a page of 1,000 inputs for a site with 20 accounts
//   (target: a median under 20 ms), the time the account chooser is open
//   left out; and the same fill for a site with one account, without the
//   chooser;
// - Save Login Data of a new site (look-up, protection, insert, commit),
//   the time the favor-name dialog is open left out, against one raw
//   SQLite commit of the same row plus the protection of its two values,
//   in turns in one loop (target: within 1.2x). The ratio of the medians
//   is printed with the table.
// Files live in a fresh directory with its own KESTRO_HOME.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "addon/edit_html.h"
#include "addon/farrow_module.h"
#include "addon/login/login_ids.h"
#include "bench/addon_session.h"
#include "platform/browser/browser_session.h"
#include "platform/browser/browser_settings.h"
#include "platform/com/class_factory.h"
#include "platform/ui/dialog.h"
#include "platform/ui/ui_backend.h"
#include "platform/ui/window.h"
#include "platform/win/module.h"
#include "platform/win/text.h"
#include "store/ado_db.h"
#include "store/crypt_str.h"
#include "store/login_schema.h"

namespace {

using addon_bench::AddOnOf;
using addon_bench::ElementOf;
using addon_bench::Median;
using Clock = std::chrono::steady_clock;

// Answers every dialog at once (the first account, OK) and adds up the
// time dialogs were open.
class InstantAnswers final : public UiBackend {
public:
    void RunModalDialog(HWND dialog) override {
        const Clock::time_point start = Clock::now();
        SendMessageW(GetDlgItem(dialog, IDC_SELECT_ACCOUNTS), LB_SETCURSEL, 0, 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        open += Clock::now() - start;
    }
    UINT TrackPopupMenu(HMENU, HWND, POINT) override { return 0; }
    int ShowMessageBox(const MessageBoxRequest&) override { return IDNO; }
    bool ChooseFile(const FileChooserRequest&, std::u16string&) override { return false; }
    bool ChooseFolder(const FolderChooserRequest&, std::u16string&) override { return false; }
    bool ConfirmPrint(const std::u16string&) override { return false; }

    Clock::duration open{};
};

struct Setup {
    std::string folder;
    std::string database;
    InstantAnswers* ui = nullptr;
};

std::string LargeLoginPage() {
    std::string page = "<!DOCTYPE html><title>Large</title><form id=login>";
    for (int i = 0; i < 999; ++i)
        page += "<input name=f" + std::to_string(i) + " value=v" + std::to_string(i) + ">";
    return page + "<input type=password name=pass></form>";
}

Setup& Environment() {
    static Setup setup = [] {
        Setup s;
        auto ui = std::make_unique<InstantAnswers>();
        s.ui = ui.get();
        s.folder = addon_bench::StartSession(std::move(ui));
        s.database = s.folder + "/login.dat";
        addon_bench::WritePage("large.html", LargeLoginPage());
        addon_bench::WritePage("login.html",
                               "<form><input name=user value=alice><input type=password "
                               "name=pass value=s3cret></form>");
        return s;
    }();
    return setup;
}

std::u16string Protect(CCryptStr& crypt, const std::u16string& clear) {
    std::string text;
    crypt.EncryptStrW(clear, text);
    return Utf8ToUtf16(text);
}

void ResetSite(int accounts) {
    CAdoDb db;
    db.OpenDb(Utf8ToUtf16(Environment().database));
    db.ExecuteSql(u"delete from LoginInfo", {});
    CCryptStr crypt;
    for (int i = 0; i < accounts; ++i) {
        const std::u16string n = Utf8ToUtf16(std::to_string(i));
        db.ExecuteSql(login_schema::kInsertCapturedLogin,
                      {u"bench.test", u"f0\npass", Protect(crypt, u"user" + n + u"\npw" + n),
                       addon_bench::PageUrl("large.html"), u"pass", Protect(crypt, u"pw" + n),
                       u"account" + n, u"Bench"});
    }
}

// arg: accounts of the site.
void BM_FillLoginData(benchmark::State& state) {
    Setup& setup = Environment();
    ResetSite(static_cast<int>(state.range(0)));
    auto& session = browser::BrowserSession::Instance();
    browser::BrowserWindow* window = session.OpenWindow(addon_bench::PageUrl("large.html"));
    CComPtr<IDispatch> user = ElementOf(*window, u"[name=f0]");
    CEditHtml* addOn = AddOnOf(*window);
    if (!addOn || !user || !addOn->EnsureDbOpen()) {
        state.SkipWithError("no add-on, element or database");
        session.CloseAll();
        return;
    }
    for (auto _ : state) {
        setup.ui->open = {};
        const Clock::time_point start = Clock::now();
        addOn->FillLoginData(user);
        state.SetIterationTime(
            std::chrono::duration<double>(Clock::now() - start - setup.ui->open).count());
    }
    // The first account's login, or the fill measured nothing.
    CComQIPtr<IHTMLInputElement> input(user);
    CComBSTR value;
    if (!input || FAILED(input->get_value(&value)) ||
        std::u16string(value.m_str ? value.m_str : u"") != u"user0")
        state.SkipWithError("the form was not filled");
    session.CloseAll();
}
BENCHMARK(BM_FillLoginData)
    ->Arg(20)
    ->Arg(1)
    ->UseManualTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// One raw commit of a captured row (its insert prepared, bound, run and
// committed), with its two values protected.
class RawCommit {
public:
    explicit RawCommit(const std::string& path) {
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(m_db, 10000);
        sqlite3_exec(m_db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
        sqlite3_exec(m_db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
    }
    ~RawCommit() { sqlite3_close(m_db); }
    void Run() {
        const std::u16string values = Protect(m_crypt, u"alice\ns3cret");
        const std::u16string password = Protect(m_crypt, u"s3cret");
        const std::u16string texts[] = {u"bench.test", u"user\npass", values,   u"http://x/",
                                        u"pass",       password,      u"alice", u"bench"};
        sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare16_v2(m_db, login_schema::kInsertCapturedLogin, -1, &insert, nullptr);
        for (int i = 0; i < 8; ++i)
            sqlite3_bind_text16(insert, i + 1, texts[i].data(),
                                static_cast<int>(texts[i].size() * 2), SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_finalize(insert);
        sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    }
    // Through another connection, so each side finds the file changed by
    // someone else, as the add-on's connection does.
    void Clear() { sqlite3_exec(m_db, "delete from LoginInfo", nullptr, nullptr, nullptr); }

private:
    sqlite3* m_db = nullptr;
    CCryptStr m_crypt;
};

void BM_SaveLoginDataVsRawCommit(benchmark::State& state) {
    Setup& setup = Environment();
    ResetSite(0);
    auto& session = browser::BrowserSession::Instance();
    browser::BrowserWindow* window = session.OpenWindow(addon_bench::PageUrl("login.html"));
    CComPtr<IDispatch> user = ElementOf(*window, u"[name=user]");
    CEditHtml* addOn = AddOnOf(*window);
    if (!addOn || !user || !addOn->EnsureDbOpen()) {
        state.SkipWithError("no add-on, element or database");
        session.CloseAll();
        return;
    }
    RawCommit raw(setup.database);
    RawCommit clearer(setup.database);
    std::vector<double> save, commit;
    for (auto _ : state) {
        setup.ui->open = {};
        Clock::time_point start = Clock::now();
        addOn->SaveLoginData(user);
        save.push_back(
            std::chrono::duration<double>(Clock::now() - start - setup.ui->open).count());
        clearer.Clear();
        start = Clock::now();
        raw.Run();
        commit.push_back(std::chrono::duration<double>(Clock::now() - start).count());
        clearer.Clear();
        state.SetIterationTime(save.back());
    }
    // The save wrote its row each time (the clearer removed it after).
    if (save.empty() || addOn->m_db.m_strError != u"") state.SkipWithError("the save failed");
    state.counters["save_ms"] = Median(save) * 1000;
    state.counters["raw_ms"] = Median(commit) * 1000;
    state.counters["ratio"] = Median(save) / Median(commit);
    session.CloseAll();
}
BENCHMARK(BM_SaveLoginDataVsRawCommit)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
