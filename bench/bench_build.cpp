// Screensaver build throughput against zlib's level-9 raw deflate of the same movie bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>
#include <zlib.h>

#include "bench/bench_inputs.h"
#include "builder/engine/fc_document.h"
#include "builder/engine/fc_resources.h"
#include "builder/engine/fc_screensaver_builder.h"
#include "media/base/kz_reporter.h"

namespace {

void BuildScreensaver(benchmark::State& state, bool compressible) {
    const std::string& movie = bench::MovieFile(compressible);
    std::string output = bench::WorkFolder() + "build.scr";
    // A stub of the real one's size; its bytes are only copied.
    std::vector<uint8_t> stub(32768, 0x90);
    FCResourceTable resources;
    resources.set_data(FC_RES_STUB, stub.data(), uint32_t(stub.size()));
    FCDocument doc;
    doc.movie_file = movie.c_str();
    doc.short_name = "Bench";
    doc.long_name = "Bench screensaver";
    doc.compress_movies = true;
    doc.scramble_movies = true;
    doc.preview_mode = 0;
    doc.settings_show_movie = false;
    FCBuildOptions options;
    options.fixed_seed = true;
    options.seed = 0x5EED;
    for (auto _ : state) {
        KZRecordingReporter reporter;
        if (!build_screensaver(doc, output.c_str(), resources, reporter, options)) {
            state.SkipWithError("build failed");
            break;
        }
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bench::kMovieSize));
}

void ZlibDeflate9(benchmark::State& state, bool compressible) {
    const std::vector<uint8_t>& in = bench::MovieBytes(compressible);
    std::vector<uint8_t> out(compressBound(uLong(in.size())) + 1024);
    for (auto _ : state) {
        z_stream zs;
        memset(&zs, 0, sizeof zs);
        deflateInit2(&zs, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
        zs.next_in = const_cast<uint8_t*>(in.data());
        zs.avail_in = uInt(in.size());
        zs.next_out = out.data();
        zs.avail_out = uInt(out.size());
        if (deflate(&zs, Z_FINISH) != Z_STREAM_END)
            state.SkipWithError("deflate failed");
        deflateEnd(&zs);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(in.size()));
}

} // namespace

BENCHMARK_CAPTURE(BuildScreensaver, compressible, true)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(ZlibDeflate9, compressible, true)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BuildScreensaver, incompressible, false)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(ZlibDeflate9, incompressible, false)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
