// The filtered resampler (a separable two-pass convolution with seventeen filters), ResizeTo
// over the area scaler, and the builder's in-place resize.
#include "media/picture/kz_picture.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

// Bessel function of the first kind, order 1: a ratio of polynomials below 8, the asymptotic
// form with sqrt(2 / (pi x)) and phase x - 3 pi / 4 above.
double BesselJ1(double x) {
    double ax = std::fabs(x);
    if (ax < 8.0) {
        double y = x * x;
        double p =
            x *
            (72362614232.0 +
             y * (-7895059235.0 +
                  y * (242396853.1 + y * (-2972611.439 + y * (15704.48260 + y * (-30.16036606))))));
        double q = 144725228442.0 +
                   y * (2300535178.0 +
                        y * (18583304.74 + y * (99447.43394 + y * (376.9991397 + y * 1.0))));
        return p / q;
    }
    double z = 8.0 / ax;
    double y = z * z;
    double phase = ax - 2.356194491;
    double p = 1.0 + y * (0.183105e-2 +
                          y * (-0.3516396496e-4 + y * (0.2457520174e-5 + y * (-0.240337019e-6))));
    double q =
        0.04687499995 +
        y * (-0.2002690873e-3 + y * (0.8449199096e-5 + y * (-0.88228987e-6 + y * 0.105787412e-6)));
    double r = std::sqrt(0.636619772 / ax) * (std::cos(phase) * p - z * std::sin(phase) * q);
    return x < 0.0 ? -r : r;
}

double Box(double x) {
    return x >= -0.5 && x < 0.5 ? 1.0 : 0.0;
}

double Kernel(int filter, double x) {
    double ax = std::fabs(x);
    switch (filter) {
    case KZ_FILTER_TRIANGLE:
        return ax < 1.0 ? 1.0 - ax : 0.0;
    case KZ_FILTER_HERMITE:
        return ax < 1.0 ? (2.0 * ax - 3.0) * x * x + 1.0 : 0.0;
    case KZ_FILTER_HANNING:
        return 0.5 + 0.5 * std::cos(kPi * x);
    case KZ_FILTER_HAMMING:
        return 0.54 + 0.46 * std::cos(kPi * x);
    case KZ_FILTER_BLACKMAN:
        return 0.42 + 0.5 * std::cos(kPi * x) + 0.08 * std::cos(2.0 * kPi * x);
    case KZ_FILTER_GAUSSIAN:
        return std::exp(-2.0 * x * x) * std::sqrt(2.0 / kPi);
    case KZ_FILTER_QUADRATIC:
        if (ax < 0.5)
            return 0.75 - x * x;
        if (ax < 1.5)
            return 0.5 * (ax - 1.5) * (ax - 1.5);
        return 0.0;
    case KZ_FILTER_CUBIC:
        if (ax < 1.0)
            return 0.5 * ax * ax * ax - x * x + 2.0 / 3.0;
        if (ax < 2.0)
            return (2.0 - ax) * (2.0 - ax) * (2.0 - ax) / 6.0;
        return 0.0;
    case KZ_FILTER_CATROM:
        if (ax < 1.0)
            return 0.5 * (2.0 + x * x * (3.0 * ax - 5.0));
        if (ax < 2.0)
            return 0.5 * (4.0 + ax * (ax * (5.0 - ax) - 8.0));
        return 0.0;
    case KZ_FILTER_MITCHELL:
        if (ax < 1.0)
            return (7.0 / 6.0) * ax * ax * ax - 2.0 * x * x + 8.0 / 9.0;
        if (ax < 2.0)
            return -(7.0 / 18.0) * ax * ax * ax + 2.0 * x * x - (10.0 / 3.0) * ax + 16.0 / 9.0;
        return 0.0;
    case KZ_FILTER_LANCZOS:
        if (ax == 0.0)
            return 1.0;
        if (ax < 3.0)
            return 3.0 * std::sin(kPi * ax) * std::sin(kPi * ax / 3.0) / (kPi * kPi * ax * ax);
        return 0.0;
    case KZ_FILTER_BESSEL:
        if (x == 0.0)
            return kPi / 4.0;
        return BesselJ1(kPi * x) / (2.0 * x);
    case KZ_FILTER_SINC:
        if (x == 0.0)
            return 1.0;
        return std::sin(kPi * x) / (kPi * x);
    default: // Unknown, Point, Box (and Fast, which never gets here)
        return Box(x);
    }
}

const char* const kFilterNames[KZ_FILTER_COUNT] = {
    "Unknown", "Fast",     "Point",    "Box",      "Triangle",  "Hermite",
    "Hanning", "Hamming",  "Blackman", "Gaussian", "Quadratic", "Cubic",
    "Catrom",  "Mitchell", "Lanczos",  "Bessel",   "Sinc"};
const double kFilterSupport[KZ_FILTER_COUNT] = {0.0,  0.0, 0.0, 0.5, 1.0, 1.0, 1.0,    1.0, 1.0,
                                                1.25, 1.5, 2.0, 2.0, 2.0, 3.0, 3.2383, 4.0};

// Results are rounded and clamped to 0..255 through a table: 0 below, the value, 255 above.
struct ClampTable {
    uint8_t t[768];
    ClampTable() {
        for (int i = 0; i < 768; i++)
            t[i] = uint8_t(i < 256 ? 0 : i < 512 ? i - 256 : 255);
    }
    uint8_t operator()(double s) const {
        double v = s + 0.5;
        // Strong negative lobes can push a sum past the table; keep it inside.
        if (v < -256.0)
            return 0;
        if (v > 511.0)
            return 255;
        return t[256 + int(v)];
    }
};

struct Contribution {
    int pixel;
    float weight;
};

// Contributors of target position i along an axis of `source` pixels.
int Contributors(int i, int source, double factor, int filter, double support,
                 std::vector<Contribution>* list) {
    double scale = std::max(1.0 / factor, 1.0);
    double half = std::max(support * scale, 0.5);
    double centre = (i + 0.5) / factor;
    int start = std::max(0, int(centre - half + 0.5));
    int stop = std::min(source, int(centre + half + 0.5));
    list->clear();
    double sum = 0.0;
    for (int j = start; j < stop; j++) {
        float w = float(Kernel(filter, (j - centre + 0.5) / scale) / scale);
        list->push_back({j, w});
        sum += w;
    }
    if (sum != 0.0 && sum != 1.0)
        for (Contribution& c : *list)
            c.weight = float(c.weight / sum);
    return int(list->size());
}

// Every sum below adds the float products weight * sample to a double in contributor order, so
// that the passes give the same bytes however their loops are arranged.

// Row by row: the contributors of every target column are worked out first (the progress
// callback is asked once per column, as it is per row in the vertical pass), then each source
// row is read once from left to right.
bool HorizontalPass(const KZPicture* src, KZPicture* dst, double factor, int filter,
                    std::vector<Contribution>& list, const ClampTable& clamp,
                    KZProgressCallback progress, void* arg) {
    const int bpp = src->BytesPerPixel();
    const double support = kFilterSupport[filter];
    const int width = dst->Width();
    std::vector<int> first(size_t(width) + 1);
    std::vector<int> offsets;
    std::vector<float> weights;
    for (int i = 0; i < width; i++) {
        if (progress && progress(arg))
            return false;
        int n = Contributors(i, src->Width(), factor, filter, support, &list);
        first[size_t(i)] = int(weights.size());
        for (int k = 0; k < n; k++) {
            offsets.push_back(list[size_t(k)].pixel * bpp);
            weights.push_back(list[size_t(k)].weight);
        }
    }
    first[size_t(width)] = int(weights.size());
    const int* offset = offsets.data();
    const float* weight = weights.data();
    for (int y = 0; y < dst->Height(); y++) {
        const uint8_t* s = src->Row(y);
        uint8_t* t = dst->Row(y);
        for (int i = 0; i < width; i++, t += bpp) {
            const int begin = first[size_t(i)], end = first[size_t(i) + 1];
            if (bpp == 3) {
                double v0 = 0.0, v1 = 0.0, v2 = 0.0;
                for (int k = begin; k < end; k++) {
                    const uint8_t* p = s + offset[k];
                    const float w = weight[k];
                    v0 += w * p[0];
                    v1 += w * p[1];
                    v2 += w * p[2];
                }
                t[0] = clamp(v0), t[1] = clamp(v1), t[2] = clamp(v2);
                continue;
            }
            for (int c = 0; c < bpp; c++) {
                double v = 0.0;
                for (int k = begin; k < end; k++)
                    v += weight[k] * s[offset[k] + c];
                t[c] = clamp(v);
            }
        }
    }
    return true;
}

// Each target row sums whole source rows into a row of doubles, a stretch at a time so that
// the sums stay in the cache; the inner loop runs along the row and vectorises.
bool VerticalPass(const KZPicture* src, KZPicture* dst, double factor, int filter,
                  std::vector<Contribution>& list, const ClampTable& clamp,
                  KZProgressCallback progress, void* arg) {
    const int row_bytes = src->BytesPerPixel() * src->Width();
    const double support = kFilterSupport[filter];
    const int kStretch = 2048;
    std::vector<double> sums(size_t(std::min(row_bytes, kStretch)));
    double* sum = sums.data();
    for (int i = 0; i < dst->Height(); i++) {
        if (progress && progress(arg))
            return false;
        int n = Contributors(i, src->Height(), factor, filter, support, &list);
        uint8_t* t = dst->Row(i);
        for (int at = 0; at < row_bytes; at += kStretch) {
            const int count = std::min(kStretch, row_bytes - at);
            for (int b = 0; b < count; b++)
                sum[b] = 0.0;
            for (int k = 0; k < n; k++) {
                const uint8_t* s = src->Row(list[size_t(k)].pixel) + at;
                const float w = list[size_t(k)].weight;
                for (int b = 0; b < count; b++)
                    sum[b] += w * s[b];
            }
            for (int b = 0; b < count; b++)
                t[at + b] = clamp(sum[b]);
        }
    }
    return true;
}

bool Resizable(const KZPicture* p) {
    if (!p || !p->IsValid())
        return false;
    int f = p->Format();
    return f == KZ_PICTURE_RGB || f == KZ_PICTURE_RGBA || f == KZ_PICTURE_GRAY ||
           f == KZ_PICTURE_GRAY_ALPHA;
}

} // namespace

const char* GetResampleFilterName(int filter) {
    return filter >= 0 && filter < KZ_FILTER_COUNT ? kFilterNames[filter] : nullptr;
}

double GetResampleFilterSupport(int filter) {
    return filter >= 0 && filter < KZ_FILTER_COUNT ? kFilterSupport[filter] : 0.0;
}

double EvaluateResampleFilter(int filter, double x) {
    return Kernel(filter, x);
}

KZPicture* KZPicture::ResizeTo(int width, int height, KZProgressCallback progress,
                               void* progress_arg) const {
    if (!Resizable(this))
        return nullptr;
    if (width == width_ && height == height_)
        return Clone();
    KZPicture* target = CreatePicture(format_, width, height);
    if (!target)
        return nullptr;
    target->SetSourceFileType(source_file_type_);
    if (!ScaleArea(width_, height_, BytesPerPixel(), stride_, data_, width, height, target->Data(),
                   target->Stride(), progress, progress_arg)) {
        delete target;
        return nullptr;
    }
    return target;
}

KZPicture* ResampleFiltered(const KZPicture* picture, int width, int height, int filter,
                            KZProgressCallback progress, void* progress_arg) {
    if (!Resizable(picture))
        return nullptr;
    if (width < 1)
        width = 1;
    if (height < 1)
        height = 1;
    if (width == picture->Width() && height == picture->Height())
        return picture->Clone();
    if (filter == KZ_FILTER_FAST)
        return picture->ResizeTo(width, height, progress, progress_arg);
    if (filter < 0 || filter >= KZ_FILTER_COUNT)
        filter = KZ_FILTER_BOX;

    double x_factor = double(width) / picture->Width();
    double y_factor = double(height) / picture->Height();
    static const ClampTable clamp;
    double fs = kFilterSupport[filter];
    double support = std::max(fs / x_factor, fs / y_factor);
    if (support < fs)
        support = fs;
    std::vector<Contribution> list;
    list.reserve(size_t(2.0 * support + 3.0));

    int format = picture->Format();
    bool vertical_first = height < picture->Height();
    KZPicture* middle = vertical_first ? KZPicture::CreatePicture(format, picture->Width(), height)
                                       : KZPicture::CreatePicture(format, width, picture->Height());
    KZPicture* result = KZPicture::CreatePicture(format, width, height);
    bool ok = middle && result;
    if (ok && vertical_first)
        ok = VerticalPass(picture, middle, y_factor, filter, list, clamp, progress, progress_arg) &&
             HorizontalPass(middle, result, x_factor, filter, list, clamp, progress, progress_arg);
    else if (ok)
        ok = HorizontalPass(picture, middle, x_factor, filter, list, clamp, progress,
                            progress_arg) &&
             VerticalPass(middle, result, y_factor, filter, list, clamp, progress, progress_arg);
    delete middle;
    if (!ok) {
        delete result;
        return nullptr;
    }
    result->SetSourceFileType(picture->SourceFileType());
    return result;
}

bool ResizePictureInPlace(KZPicture** slot, int width, int height) {
    if (!slot || !*slot)
        return false;
    KZPicture* picture = *slot;
    bool palette = picture->Format() == KZ_PICTURE_PALETTE;
    if (picture->Width() == width && picture->Height() == height) {
        if (palette)
            static_cast<KZPicturePalette*>(picture)->OptimizePalette();
        return true;
    }
    KZPicture* expanded = nullptr;
    if (palette) {
        expanded = static_cast<KZPicturePalette*>(picture)->ExpandPalette();
        if (!expanded) {
            delete picture;
            *slot = nullptr;
            return false;
        }
    }
    KZPicture* resized =
        ResampleFiltered(expanded ? expanded : picture, width, height, KZ_FILTER_LANCZOS);
    delete expanded;
    delete picture;
    *slot = resized;
    return resized != nullptr;
}
