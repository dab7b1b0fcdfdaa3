// Form data and speech in a browser window:
// - Save Form Data and Fill Form Data of a form of 500 fields beside the
//   raw SQLite inserts (one transaction) and selects of the same rows plus
//   the protection of the values, in turns in one loop (target: the save
//   and fill together within 2x); the ratios, together and of each, are
//   printed with the table;
// - from "Speak Text of Page" on a 1 MB page to the first audio samples
//   handed to the player (target: a median under 200 ms).
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "addon/edit_html.h"
#include "bench/addon_session.h"
#include "platform/browser/browser_session.h"
#include "platform/sapi/speech_playback_info.h"
#include "platform/ui/ui_backend.h"
#include "platform/win/text.h"
#include "store/crypt_str.h"

namespace {

using addon_bench::AddOnOf;
using addon_bench::ElementOf;
using addon_bench::Median;
using Clock = std::chrono::steady_clock;

constexpr int kFields = 500;

// Answers the replace question with Yes; nothing else is shown.
class YesToEverything final : public UiBackend {
public:
    void RunModalDialog(HWND) override {}
    UINT TrackPopupMenu(HMENU, HWND, POINT) override { return 0; }
    int ShowMessageBox(const MessageBoxRequest&) override { return IDYES; }
    bool ChooseFile(const FileChooserRequest&, std::u16string&) override { return false; }
    bool ChooseFolder(const FolderChooserRequest&, std::u16string&) override { return false; }
    bool ConfirmPrint(const std::u16string&) override { return false; }
};

std::string FormPage() {
    std::string page = "<!DOCTYPE html><title>Form</title><form id=f>";
    for (int i = 0; i < kFields; ++i)
        page += "<input name=field" + std::to_string(i) + " value='value number " +
                std::to_string(i) + "'>";
    return page + "</form>";
}

std::string LargePage() {
    std::string page = "<!DOCTYPE html><title>Large</title><body>";
    while (page.size() < (1u << 20))
        page += "<p>A sentence of the long page that the voice reads aloud, and another one.</p>\n";
    return page + "</body>";
}

const std::string& Folder() {
    static const std::string& folder = [&]() -> const std::string& {
        const std::string& made = addon_bench::StartSession(std::make_unique<YesToEverything>());
        addon_bench::WritePage("form.html", FormPage());
        addon_bench::WritePage("large.html", LargePage());
        return made;
    }();
    return folder;
}

std::string Protected(CCryptStr& crypt, const std::u16string& clear) {
    std::string text;
    crypt.EncryptStrW(clear, text);
    return text;
}

// The same rows written and read with SQLite alone.
class RawForm {
public:
    explicit RawForm(const std::string& path) {
        sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(m_db, 10000);
        sqlite3_exec(m_db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    }
    ~RawForm() { sqlite3_close(m_db); }
    void Save() {
        sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_exec(m_db, "insert into FormInfo (FormUrl, DomainName) values ('raw', 'raw')",
                     nullptr, nullptr, nullptr);
        const sqlite3_int64 form = sqlite3_last_insert_rowid(m_db);
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(m_db,
                           "insert into FieldInfo (FieldName, FieldType, FieldValue, FormId) "
                           "values (?, 'text', ?, ?)",
                           -1, &insert, nullptr);
        for (int i = 0; i < kFields; ++i) {
            const std::string name = "field" + std::to_string(i);
            const std::string value =
                Protected(m_crypt, Utf8ToUtf16("value number " + std::to_string(i)));
            sqlite3_bind_text(insert, 1, name.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, value.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(insert, 3, form);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        m_form = form;
    }
    void Fill() {
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(
            m_db, "select FieldName, FieldType, FieldValue from FieldInfo where FormId = ?", -1,
            &select, nullptr);
        sqlite3_bind_int64(select, 1, m_form);
        std::u16string clear;
        while (sqlite3_step(select) == SQLITE_ROW)
            m_crypt.DecryptStrW(reinterpret_cast<const char*>(sqlite3_column_text(select, 2)),
                                clear);
        sqlite3_finalize(select);
    }
    void Clear() {
        sqlite3_exec(m_db, "delete from FieldInfo; delete from FormInfo", nullptr, nullptr,
                     nullptr);
    }

private:
    sqlite3* m_db = nullptr;
    sqlite3_int64 m_form = 0;
    CCryptStr m_crypt;
};

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void BM_FormSaveAndFillVsRaw(benchmark::State& state) {
    const std::string& folder = Folder();
    auto& session = browser::BrowserSession::Instance();
    browser::BrowserWindow* window = session.OpenWindow(addon_bench::PageUrl("form.html"));
    CComPtr<IDispatch> field = ElementOf(*window, u"[name=field0]");
    CEditHtml* addOn = AddOnOf(*window);
    if (!addOn || !field || !addOn->EnsureDbOpen()) {
        state.SkipWithError("no add-on, element or database");
        session.CloseAll();
        return;
    }
    RawForm raw(folder + "/login.dat");
    std::vector<double> save, fill, rawSave, rawFill;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        addOn->SaveFormData(field);
        save.push_back(Seconds(Clock::now() - start));
        start = Clock::now();
        addOn->FillFormData(field);
        fill.push_back(Seconds(Clock::now() - start));
        start = Clock::now();
        raw.Save();
        rawSave.push_back(Seconds(Clock::now() - start));
        start = Clock::now();
        raw.Fill();
        rawFill.push_back(Seconds(Clock::now() - start));
        raw.Clear();
        state.SetIterationTime(save.back() + fill.back());
    }
    state.counters["save_ms"] = Median(save) * 1000;
    state.counters["fill_ms"] = Median(fill) * 1000;
    state.counters["save_ratio"] = Median(save) / Median(rawSave);
    state.counters["fill_ratio"] = Median(fill) / Median(rawFill);
    state.counters["ratio"] = (Median(save) + Median(fill)) / (Median(rawSave) + Median(rawFill));
    session.CloseAll();
}
BENCHMARK(BM_FormSaveAndFillVsRaw)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);

ULONGLONG SamplesPlayed(ISpVoice* voice) {
    SpeechPlaybackInfo info{};
    CComQIPtr<ISpeechPlaybackInfo> playback(voice);
    if (!playback || FAILED(playback->GetPlaybackInfo(&info))) return 0;
    return info.samplesPlayed;
}

void BM_SpeakPageToFirstSamples(benchmark::State& state) {
    Folder();
    auto& session = browser::BrowserSession::Instance();
    browser::BrowserWindow* window = session.OpenWindow(addon_bench::PageUrl("large.html"));
    CComPtr<IDispatch> paragraph = ElementOf(*window, u"p");
    CEditHtml* addOn = AddOnOf(*window);
    if (!addOn || !paragraph || !addOn->m_spVoice) {
        state.SkipWithError("no add-on, element or voice");
        session.CloseAll();
        return;
    }
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        addOn->DispatchCommand(32769, paragraph);
        while (SamplesPlayed(addOn->m_spVoice) == 0 &&
               Clock::now() - start < std::chrono::seconds(5))
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        state.SetIterationTime(Seconds(Clock::now() - start));
        addOn->m_spVoice->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
    }
    session.CloseAll();
}
BENCHMARK(BM_SpeakPageToFirstSamples)
    ->UseManualTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace
