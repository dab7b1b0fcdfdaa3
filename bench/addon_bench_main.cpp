// The entry of every benchmark of the add-on in browser windows: the
// benchmarks, then the shared session's end (its windows and files).
#include <benchmark/benchmark.h>

#include "bench/addon_session.h"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    addon_bench::EndSession();
    return 0;
}
