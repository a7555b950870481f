// scrkit-bench: Google Benchmark's runner over our benchmarks and their references.
//   scrkit-bench --write-movies   writes the two 20 MB movies into the work folder and stops
//   scrkit-bench [benchmark flags]
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vips/vips.h>

#include "bench/bench_inputs.h"

namespace bench {
void RegisterPictureBenchmarks();
}

int main(int argc, char** argv) {
    if (argc == 2 && strcmp(argv[1], "--write-movies") == 0) {
        printf("%s\n%s\n", bench::MovieFile(true).c_str(), bench::MovieFile(false).c_str());
        return 0;
    }
    if (VIPS_INIT(argv[0]) != 0)
        return 1;
    // Single-threaded and uncached, like every other figure of the table.
    vips_concurrency_set(1);
    vips_cache_set_max(0);
    bench::RegisterPictureBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    vips_shutdown();
    return 0;
}
