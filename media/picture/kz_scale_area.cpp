// The area scaler: every target pixel is the coverage-weighted mean of the source pixels under
// it, in 16.16 fixed point, after halving axes that shrink by 16 or more.
#include "media/picture/kz_picture.h"

#include <cstdlib>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A halving step into a new block: pairs of columns (half_x), pairs of rows (half_y) or both.
// An odd last column or row is dropped.
struct Block {
    std::vector<uint8_t> bytes;
    int width, height, stride;
};

bool Halve(int w, int h, int bpp, int stride, const uint8_t* src, bool half_x, bool half_y,
           Block* out) {
    int nw = half_x ? w / 2 : w;
    int nh = half_y ? h / 2 : h;
    int nstride = nw * bpp;
    std::vector<uint8_t> bytes;
    bytes.resize(size_t(nstride) * nh);
    for (int y = 0; y < nh; y++) {
        const uint8_t* r0 = src + size_t(stride) * (half_y ? 2 * y : y);
        const uint8_t* r1 = half_y ? r0 + stride : r0;
        uint8_t* t = &bytes[size_t(nstride) * y];
        for (int x = 0; x < nw; x++) {
            for (int c = 0; c < bpp; c++) {
                int i0 = (half_x ? 2 * x : x) * bpp + c;
                int i1 = half_x ? i0 + bpp : i0;
                if (half_x && half_y)
                    t[x * bpp + c] = uint8_t((r0[i0] + r0[i1] + r1[i0] + r1[i1] + 2) >> 2);
                else if (half_x)
                    t[x * bpp + c] = uint8_t((r0[i0] + r0[i1] + 1) >> 1);
                else
                    t[x * bpp + c] = uint8_t((r0[i0] + r1[i0] + 1) >> 1);
            }
        }
    }
    out->bytes.swap(bytes);
    out->width = nw;
    out->height = nh;
    out->stride = nstride;
    return true;
}

struct Span {
    int first; // index into the weights
    int count; // contributors
};
struct Weight {
    int index;
    uint32_t weight; // coverage in 1/65536
};

// Coverage of every target cell along one axis with steps of `step` (16.16).
void MakeSpans(int source, int target, uint32_t step, std::vector<Span>* spans,
               std::vector<Weight>* weights) {
    spans->resize(size_t(target));
    weights->clear();
    for (int t = 0; t < target; t++) {
        uint64_t a = uint64_t(t) * step;
        uint64_t b = a + step;
        Span& span = (*spans)[size_t(t)];
        span.first = int(weights->size());
        uint64_t pos = a;
        while (pos < b) {
            int index = int(pos >> 16);
            uint64_t next = (uint64_t(index) + 1) << 16;
            uint64_t end = next < b ? next : b;
            uint32_t w = uint32_t(end - pos);
            bool trailing = end == b && pos != a;
            // A sliver at the end of a span is rounding noise of the step, not a pixel.
            if (index < source && !(trailing && w <= 16))
                weights->push_back({index, w});
            pos = end;
        }
        span.count = int(weights->size()) - span.first;
    }
}

} // namespace

bool ScaleArea(int src_width, int src_height, int bpp, int src_stride, const uint8_t* src,
               int dst_width, int dst_height, uint8_t* dst, int dst_stride,
               KZProgressCallback progress, void* progress_arg) {
    if (src_width <= 0 || src_height <= 0 || dst_width <= 0 || dst_height <= 0 || bpp <= 0 ||
        bpp > 4 || !src || !dst || src_stride < src_width * bpp || dst_stride < dst_width * bpp)
        return false;
    int w = src_width, h = src_height, stride = src_stride;
    const uint8_t* pixels = src;
    Block scratch;
    for (;;) {
        bool half_x = int64_t(w) >= int64_t(dst_width) * 16;
        bool half_y = int64_t(h) >= int64_t(dst_height) * 16;
        if (!half_x && !half_y)
            break;
        if (progress && progress(progress_arg))
            return false;
        Block next;
        Halve(w, h, bpp, stride, pixels, half_x, half_y, &next);
        scratch.bytes.swap(next.bytes);
        w = next.width;
        h = next.height;
        stride = next.stride;
        pixels = scratch.bytes.data();
    }

    uint32_t step_x = uint32_t((uint64_t(w) << 16) / uint64_t(dst_width));
    uint32_t step_y = uint32_t((uint64_t(h) << 16) / uint64_t(dst_height));
    std::vector<Span> spans_x, spans_y;
    std::vector<Weight> weights_x, weights_y;
    MakeSpans(w, dst_width, step_x, &spans_x, &weights_x);
    MakeSpans(h, dst_height, step_y, &spans_y, &weights_y);
    // Row accumulators: 4 channels of 64 bits, 32 bytes per target column.
    std::vector<uint64_t> acc(size_t(dst_width) * 4);
    const uint64_t divisor = uint64_t(step_x) * step_y;
    for (int ty = 0; ty < dst_height; ty++) {
        if ((ty & 7) == 0 && progress && progress(progress_arg))
            return false;
        std::fill(acc.begin(), acc.end(), 0);
        const Span& sy = spans_y[size_t(ty)];
        for (int k = 0; k < sy.count; k++) {
            const Weight& wy = weights_y[size_t(sy.first + k)];
            const uint8_t* row = pixels + size_t(stride) * wy.index;
            for (int tx = 0; tx < dst_width; tx++) {
                const Span& sx = spans_x[size_t(tx)];
                uint64_t sums[4] = {0, 0, 0, 0};
                for (int j = 0; j < sx.count; j++) {
                    const Weight& wx = weights_x[size_t(sx.first + j)];
                    const uint8_t* p = row + size_t(wx.index) * bpp;
                    for (int c = 0; c < bpp; c++)
                        sums[c] += uint64_t(wx.weight) * p[c];
                }
                uint64_t* a = &acc[size_t(tx) * 4];
                for (int c = 0; c < bpp; c++)
                    a[c] += sums[c] * wy.weight;
            }
        }
        uint8_t* t = dst + size_t(dst_stride) * ty;
        for (int tx = 0; tx < dst_width; tx++)
            for (int c = 0; c < bpp; c++) {
                uint64_t v = (acc[size_t(tx) * 4 + c] + divisor / 2) / divisor;
                t[tx * bpp + c] = uint8_t(v > 255 ? 255 : v);
            }
    }
    return true;
}
