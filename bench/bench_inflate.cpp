// Our raw DEFLATE decoder against zlib's inflate and libdeflate on the same streams.
#include <benchmark/benchmark.h>

#include <cstring>
#include <libdeflate.h>
#include <memory>
#include <vector>
#include <zlib.h>

#include "bench/bench_inputs.h"
#include "runtime/core/qvrk_inflate.h"

namespace {

void OurInflate(benchmark::State& state, bool compressible) {
    const std::vector<uint8_t>& in = bench::DeflatedMovie(compressible);
    std::vector<uint8_t> out(bench::kMovieSize);
    std::unique_ptr<QvrkInflater> work(new QvrkInflater);
    for (auto _ : state) {
        size_t produced = 0;
        if (qvrk_inflate(work.get(), in.data(), in.size(), out.data(), out.size(), &produced) !=
            QVRK_INFLATE_OK) {
            state.SkipWithError("inflate failed");
            break;
        }
        benchmark::DoNotOptimize(out.data());
    }
    if (out != bench::MovieBytes(compressible))
        state.SkipWithError("wrong output");
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

void ZlibInflate(benchmark::State& state, bool compressible) {
    const std::vector<uint8_t>& in = bench::DeflatedMovie(compressible);
    std::vector<uint8_t> out(bench::kMovieSize);
    for (auto _ : state) {
        z_stream zs;
        memset(&zs, 0, sizeof zs);
        inflateInit2(&zs, -15);
        zs.next_in = const_cast<uint8_t*>(in.data());
        zs.avail_in = uInt(in.size());
        zs.next_out = out.data();
        zs.avail_out = uInt(out.size());
        if (inflate(&zs, Z_FINISH) != Z_STREAM_END)
            state.SkipWithError("inflate failed");
        inflateEnd(&zs);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

void LibdeflateInflate(benchmark::State& state, bool compressible) {
    const std::vector<uint8_t>& in = bench::DeflatedMovie(compressible);
    std::vector<uint8_t> out(bench::kMovieSize);
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    for (auto _ : state) {
        size_t produced = 0;
        if (libdeflate_deflate_decompress(d, in.data(), in.size(), out.data(), out.size(),
                                          &produced) != LIBDEFLATE_SUCCESS)
            state.SkipWithError("inflate failed");
        benchmark::DoNotOptimize(out.data());
    }
    libdeflate_free_decompressor(d);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(out.size()));
}

} // namespace

BENCHMARK_CAPTURE(OurInflate, compressible, true)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->MinTime(2);
BENCHMARK_CAPTURE(ZlibInflate, compressible, true)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->MinTime(2);
BENCHMARK_CAPTURE(LibdeflateInflate, compressible, true)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->MinTime(2);
BENCHMARK_CAPTURE(OurInflate, incompressible, false)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->MinTime(2);
BENCHMARK_CAPTURE(ZlibInflate, incompressible, false)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->MinTime(2);
BENCHMARK_CAPTURE(LibdeflateInflate, incompressible, false)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->MinTime(2);
