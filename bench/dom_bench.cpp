// The browser host's documents on generated pages of 1 MB and 10 MB:
// building a document against raw gumbo parsing of the same bytes (the
// "ratio" counter; target at most 1.5), innerText of the body (target under
// 100 ms for 10 MB), getElementsByTagName("INPUT"), and memory per node.
#include <benchmark/benchmark.h>
#include <gumbo.h>
#include <malloc.h>

#include <chrono>
#include <string>

#include "platform/browser/html_document.h"

namespace {

using browser::HtmlDocument;
using Clock = std::chrono::steady_clock;

// A mix of what real pages hold: nested blocks, paragraphs with inline
// markup, tables, forms with controls, lists and links.
std::string GeneratePage(std::size_t bytes) {
    std::string page =
        "<!DOCTYPE html><html><head><title>Bench</title>"
        "<style>p { color: black }</style></head><body>";
    for (int block = 0; page.size() < bytes; ++block) {
        const std::string n = std::to_string(block);
        page += "<div class=section id=s" + n + "><h2>Section " + n + "</h2>";
        page += "<p>Some <b>bold</b> and <i>italic</i> text with a <a href='/page" + n +
                ".html'>link</a>, &amp; an entity.</p>";
        page += "<table><tr><th>Name</th><th>Value</th></tr><tr><td>row " + n +
                "</td><td>cell</td></tr></table>";
        page += "<form action=/submit method=post><input name=user" + n +
                " value=someone><input type=password name=pw><select name=s><option>a"
                "<option selected>b</select><textarea name=t>note</textarea></form>";
        page += "<ul><li>one</li><li>two</li></ul></div>\n";
    }
    return page + "</body></html>";
}

const std::string& PageOfSize(std::size_t megabytes) {
    static const std::string one = GeneratePage(1u << 20);
    static const std::string ten = GeneratePage(10u << 20);
    return megabytes == 1 ? one : ten;
}

CComPtr<HtmlDocument> Build(const std::string& page) {
    HtmlDocument* raw = nullptr;
    HtmlDocument::Create(page, u"http://bench.example/", u"utf-8", &raw);
    CComPtr<HtmlDocument> document;
    document.Attach(raw);
    return document;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void BM_BuildAgainstGumbo(benchmark::State& state) {
    const std::string& page = PageOfSize(static_cast<std::size_t>(state.range(0)));
    double gumboTotal = 0, buildTotal = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        GumboOutput* output =
            gumbo_parse_with_options(&kGumboDefaultOptions, page.data(), page.size());
        gumbo_destroy_output(&kGumboDefaultOptions, output);
        const auto t1 = Clock::now();
        {
            CComPtr<HtmlDocument> document = Build(page);
            benchmark::DoNotOptimize(document.p);
        }
        const auto t2 = Clock::now();
        gumboTotal += Seconds(t1 - t0);
        buildTotal += Seconds(t2 - t1);
        state.SetIterationTime(Seconds(t2 - t1));
    }
    state.counters["gumbo_ms"] = benchmark::Counter(gumboTotal * 1000 / state.iterations());
    state.counters["build_ms"] = benchmark::Counter(buildTotal * 1000 / state.iterations());
    state.counters["ratio"] = benchmark::Counter(buildTotal / gumboTotal);
    state.SetBytesProcessed(static_cast<int64_t>(page.size()) * state.iterations());
}
BENCHMARK(BM_BuildAgainstGumbo)->Arg(1)->Arg(10)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_BodyInnerText(benchmark::State& state) {
    CComPtr<HtmlDocument> document = Build(PageOfSize(static_cast<std::size_t>(state.range(0))));
    CComPtr<IHTMLElement> body;
    document->get_body(&body);
    std::size_t length = 0;
    for (auto _ : state) {
        CComBSTR text;
        body->get_innerText(&text);
        length = text.Length();
    }
    state.counters["chars"] = benchmark::Counter(static_cast<double>(length));
}
BENCHMARK(BM_BodyInnerText)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_InputsByTagName(benchmark::State& state) {
    CComPtr<HtmlDocument> document = Build(PageOfSize(static_cast<std::size_t>(state.range(0))));
    long length = 0;
    for (auto _ : state) {
        CComPtr<IHTMLElementCollection> inputs;
        document->getElementsByTagName(CComBSTR(u"INPUT"), &inputs);
        inputs->get_length(&length);
    }
    state.counters["inputs"] = benchmark::Counter(static_cast<double>(length));
}
BENCHMARK(BM_InputsByTagName)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_MemoryPerNode(benchmark::State& state) {
    const std::string& page = PageOfSize(static_cast<std::size_t>(state.range(0)));
    double perNode = 0, nodes = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const std::size_t before = mallinfo2().uordblks;
        CComPtr<HtmlDocument> document = Build(page);
        const std::size_t after = mallinfo2().uordblks;
        nodes = static_cast<double>(document->Tree().NodeCount());
        perNode = static_cast<double>(after - before) / nodes;
    }
    state.counters["nodes"] = benchmark::Counter(nodes);
    state.counters["bytes_per_node"] = benchmark::Counter(perNode);
}
BENCHMARK(BM_MemoryPerNode)->Arg(1)->Arg(10)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
