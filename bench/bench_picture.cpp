// Picture loading, resampling and picture-to-movie conversion, with the in-process references
// (libvips' lanczos3, libjpeg-turbo's own encoder). ImageMagick runs as a program from
// scripts/bench, which times it on the same files.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <jpeglib.h>
#include <string>
#include <sys/stat.h>
#include <vector>
#include <vips/vips.h>

#include "bench/bench_inputs.h"
#include "media/base/kz_reporter.h"
#include "media/movie/vm_movie_converter.h"
#include "media/picture/kz_picture.h"

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

void Load(benchmark::State& state, std::string path) {
    for (auto _ : state) {
        KZPicture* p = LoadPicture(path.c_str());
        if (!p) {
            state.SkipWithError("load failed");
            break;
        }
        benchmark::DoNotOptimize(p->Data());
        delete p;
    }
}

struct Size {
    const char* name;
    int width, height;
};
const Size kSizes[] = {{"164x314", 164, 314}, {"1600x1200", 1600, 1200}};

void Lanczos(benchmark::State& state, Size size) {
    const KZPicture* photo = bench::Photo();
    for (auto _ : state) {
        KZPicture* r = ResampleFiltered(photo, size.width, size.height, KZ_FILTER_LANCZOS);
        if (!r) {
            state.SkipWithError("resample failed");
            break;
        }
        delete r;
    }
}

void Area(benchmark::State& state, Size size) {
    const KZPicture* photo = bench::Photo();
    for (auto _ : state) {
        KZPicture* r = photo->ResizeTo(size.width, size.height);
        if (!r) {
            state.SkipWithError("resize failed");
            break;
        }
        delete r;
    }
}

// libvips over the same pixels in memory, evaluated into memory on one thread, no cache. "gap" 0
// keeps vips_resize from box-shrinking first, so that it is a Lanczos-3 convolution throughout.
void VipsLanczos3(benchmark::State& state, Size size) {
    const KZPicture* photo = bench::Photo();
    size_t bytes = size_t(photo->Stride()) * photo->Height();
    for (auto _ : state) {
        VipsImage* in = vips_image_new_from_memory(photo->Data(), bytes, photo->Width(),
                                                   photo->Height(), 3, VIPS_FORMAT_UCHAR);
        VipsImage* out = nullptr;
        double h = double(size.width) / photo->Width(), v = double(size.height) / photo->Height();
        int rc = vips_resize(in, &out, h, "vscale", v, "kernel", VIPS_KERNEL_LANCZOS3, "gap", 0.0,
                             nullptr);
        size_t n = 0;
        void* pixels = rc == 0 ? vips_image_write_to_memory(out, &n) : nullptr;
        if (!pixels)
            state.SkipWithError(vips_error_buffer());
        g_free(pixels);
        if (out)
            g_object_unref(out);
        g_object_unref(in);
        if (!pixels)
            break;
    }
}

void ConvertToMovie(benchmark::State& state) {
    const KZPicture* photo = bench::Photo();
    std::string path = bench::WorkFolder() + "photo.swf";
    for (auto _ : state) {
        state.PauseTiming();
        KZPicture* copy = photo->Clone();
        state.ResumeTiming();
        KZRecordingReporter reporter;
        if (!ConvertPictureToMovie(copy, path.c_str(), &reporter)) {
            state.SkipWithError("conversion failed");
            break;
        }
    }
}

// libjpeg-turbo alone: baseline JPEG at quality 75 of the same rows into memory.
void JpegTurbo75(benchmark::State& state) {
    const KZPicture* photo = bench::Photo();
    for (auto _ : state) {
        jpeg_compress_struct c;
        jpeg_error_mgr err;
        c.err = jpeg_std_error(&err);
        jpeg_create_compress(&c);
        unsigned char* out = nullptr;
        unsigned long out_size = 0;
        jpeg_mem_dest(&c, &out, &out_size);
        c.image_width = JDIMENSION(photo->Width());
        c.image_height = JDIMENSION(photo->Height());
        c.input_components = 3;
        c.in_color_space = JCS_RGB;
        jpeg_set_defaults(&c);
        jpeg_set_quality(&c, 75, TRUE);
        jpeg_start_compress(&c, TRUE);
        while (c.next_scanline < c.image_height) {
            JSAMPROW row =
                const_cast<JSAMPROW>(photo->Row(photo->Height() - 1 - int(c.next_scanline)));
            jpeg_write_scanlines(&c, &row, 1);
        }
        jpeg_finish_compress(&c);
        jpeg_destroy_compress(&c);
        benchmark::DoNotOptimize(out);
        free(out);
    }
}

} // namespace

namespace bench {

void RegisterPictureBenchmarks() {
    static const char* const kFiles[] = {"load.png",   "load.jpg",   "load.tif",  "load.bmp",
                                         "load.gif",   "load.pcx",   "load.ppm",  "load.tga",
                                         "load16.png", "load16.tif", "load16.ppm"};
    for (const char* name : kFiles) {
        std::string path = DataFile(name);
        if (Exists(path))
            benchmark::RegisterBenchmark(("Load/" + std::string(name)).c_str(), Load, path)
                ->Unit(benchmark::kMillisecond)
                ->MeasureProcessCPUTime();
    }
    if (!Photo()) {
        fprintf(stderr, "no %s: the resampling and conversion benchmarks are left out\n",
                DataFile("photo.ppm").c_str());
        return;
    }
    for (const Size& s : kSizes) {
        benchmark::RegisterBenchmark((std::string("Lanczos/") + s.name).c_str(), Lanczos, s)
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime();
        benchmark::RegisterBenchmark((std::string("VipsLanczos3/") + s.name).c_str(), VipsLanczos3,
                                     s)
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime();
        benchmark::RegisterBenchmark((std::string("Area/") + s.name).c_str(), Area, s)
            ->Unit(benchmark::kMillisecond)
            ->MeasureProcessCPUTime();
    }
    benchmark::RegisterBenchmark("ConvertPictureToMovie", ConvertToMovie)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime();
    benchmark::RegisterBenchmark("JpegTurbo75", JpegTurbo75)
        ->Unit(benchmark::kMillisecond)
        ->MeasureProcessCPUTime();
}

} // namespace bench
