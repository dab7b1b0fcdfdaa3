// The page content tools on large inputs: the main text block and the
// table text of a 1 MB page (target: a median under 50 ms each), and
// saving 10 MB of text as ANSI and as UTF-16 through the Save text file
// dialog beside writing the same bytes with one write call, alternately in
// the same run (target: a median ratio within 1.5). The settings key is
// not registered here, so the save's own work is measured without the
// settings written back after it.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "addon/content/article_text.h"
#include "addon/content/content_ids.h"
#include "addon/content/enclosing_element.h"
#include "addon/content/text_output.h"
#include "addon/edit_html.h"
#include "platform/browser/html_document.h"
#include "platform/ui/dialog.h"
#include "platform/ui/ui_backend.h"
#include "platform/ui/window.h"
#include "platform/win/text.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

std::string& Folder() {
    static std::string folder = [] {
        char pattern[] = "/tmp/kestro-content-bench-XXXXXX";
        const std::string made = mkdtemp(pattern);
        setenv("KESTRO_HOME", made.c_str(), 1);
        CoInitialize(nullptr);
        return made;
    }();
    return folder;
}

// About 1 MB: navigation, a sidebar and a long article in a table cell,
// then a large table of 9,000 rows.
std::string LargePage() {
    std::string page = "<!DOCTYPE html><html><head><title>Large</title></head><body>";
    page += "<div id=nav>";
    for (int i = 0; i < 200; ++i) page += "<a href='/s" + std::to_string(i) + "'>Section</a> ";
    page += "</div><table><tr><td>Sidebar text</td><td>";
    for (int i = 0; i < 600; ++i)
        page += "<p>Paragraph " + std::to_string(i) + " of the article, " +
                std::string(i == 300 ? 900 : 500, 'x') + ".</p>\n";
    page += "</td></tr></table><table id=big>\n";
    for (int i = 0; i < 9000; ++i)
        page += "  <tr><td>Row " + std::to_string(i) + "</td><td>" + std::to_string(i * 7) +
                "</td><td>Some words in the third cell</td></tr>\n";
    page += "<tr><td id=last><b id=target>Last</b> cell</td></tr></table></body></html>";
    return page;
}

CComPtr<browser::HtmlDocument>& LargeDocument() {
    static CComPtr<browser::HtmlDocument> document = [] {
        const std::string page = LargePage();
        CComPtr<browser::HtmlDocument> made;
        browser::HtmlDocument::Create(page, u"http://bench.test/large.html", u"", &made);
        return made;
    }();
    return document;
}

void BM_MainTextBlock(benchmark::State& state) {
    CComPtr<browser::HtmlDocument> document = LargeDocument();
    state.counters["page_bytes"] = static_cast<double>(LargePage().size());
    for (auto _ : state) {
        std::u16string text;
        if (!GetArticleText(document, true, text)) state.SkipWithError("no article text");
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_MainTextBlock)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// The table around the last cell: the markup walk back over the whole
// table, then its text.
void BM_TableText(benchmark::State& state) {
    CComPtr<browser::HtmlDocument> document = LargeDocument();
    CComBSTR id(u"target");
    CComPtr<IHTMLElement> target;
    document->getElementById(id, &target);
    for (auto _ : state) {
        CComPtr<IHTMLElement> table;
        CComBSTR text;
        if (FAILED(FindEnclosingElement(target, u"TABLE", &table)) ||
            FAILED(table->get_innerText(&text)))
            state.SkipWithError("no table text");
        benchmark::DoNotOptimize(text.m_str);
    }
}
BENCHMARK(BM_TableText)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// Answers every Save text file dialog with a path, and Unicode as asked.
class SaveAnswers final : public UiBackend {
public:
    void RunModalDialog(HWND dialog) override {
        SetDlgItemTextW(dialog, IDC_SAVE_PATH, path.c_str());
        CheckDlgButton(dialog, IDC_SAVE_UNICODE, unicode ? BST_CHECKED : BST_UNCHECKED);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    UINT TrackPopupMenu(HMENU, HWND, POINT) override { return 0; }
    int ShowMessageBox(const MessageBoxRequest&) override {
        failed = true;
        return IDOK;
    }
    bool ChooseFile(const FileChooserRequest&, std::u16string&) override { return false; }
    bool ChooseFolder(const FolderChooserRequest&, std::u16string&) override { return false; }
    bool ConfirmPrint(const std::u16string&) override { return false; }

    std::u16string path;
    bool unicode = false;
    bool failed = false;
};

SaveAnswers& Answers() {
    static SaveAnswers* answers = [] {
        auto made = std::make_unique<SaveAnswers>();
        SaveAnswers* raw = made.get();
        InstallUiBackend(std::move(made));
        return raw;
    }();
    return *answers;
}

CEditHtml& AddOn() {
    static CComPtr<IUnknown> held;
    static CComObject<CEditHtml>* addOn = [] {
        CComObject<CEditHtml>* made = nullptr;
        CComObject<CEditHtml>::CreateInstance(&made);
        held = made->GetUnknown();
        return made;
    }();
    return *addOn;
}

// 10 MB of page-like text: words, line breaks and Latin-1 letters.
const std::u16string& TenMegabytes() {
    static const std::u16string text = [] {
        const std::u16string line =
            u"The kestrel hovered over the caf\u00E9 garden, tail spread.\r\n";
        std::u16string made;
        while (made.size() < 10'000'000) made += line;
        made.resize(10'000'000);
        return made;
    }();
    return text;
}

// The bytes the save writes for the text: ANSI (one byte a character
// here) or the mark and UTF-16.
std::string SavedBytes(const std::u16string& text, bool unicode) {
    std::string bytes;
    if (!unicode) {
        for (char16_t c : text) bytes += static_cast<char>(c);
        return bytes;
    }
    bytes = "\xFF\xFE";
    bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    return bytes;
}

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// arg: 0 ANSI, 1 UTF-16. Each iteration writes the same bytes with one
// write call into a file of its own, then saves the text through the
// dialog over the previous save; the time is the save's, and the counters
// give the one-write time and the ratio, each the median of the run.
void BM_SaveText(benchmark::State& state) {
    Folder();
    SaveAnswers& answers = Answers();
    answers.unicode = state.range(0) != 0;
    answers.path = Utf8ToUtf16(Folder() + "/saved.txt");
    const std::string written = Folder() + "/written.txt";
    const std::string bytes = SavedBytes(TenMegabytes(), answers.unicode);
    CEditHtml& addOn = AddOn();
    std::vector<double> writes, ratios;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        const int fd = open(written.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            state.SkipWithError("the write failed");
        close(fd);
        const Clock::time_point between = Clock::now();
        SaveTextToFile(addOn, TenMegabytes());
        const Clock::time_point end = Clock::now();
        writes.push_back(Seconds(start, between));
        ratios.push_back(Seconds(between, end) / Seconds(start, between));
        state.SetIterationTime(Seconds(between, end));
    }
    if (answers.failed) state.SkipWithError("the save reported a failure");
    if (std::filesystem::file_size(Folder() + "/saved.txt") != bytes.size())
        state.SkipWithError("the save wrote other bytes");
    state.counters["write_ms"] = Median(writes) * 1000;
    state.counters["ratio"] = Median(ratios);
}
BENCHMARK(BM_SaveText)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(41)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder());
    return 0;
}
