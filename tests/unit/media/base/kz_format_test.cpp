#include "media/base/kz_format.h"

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string Ours(const char* format, ...) {
    char buffer[2048];
    va_list args;
    va_start(args, format);
    int n = FormatToBufferV(buffer, sizeof(buffer), format, args);
    va_end(args);
    EXPECT_EQ(size_t(n), strlen(buffer)) << format;
    return buffer;
}

std::string Host(const char* format, ...) {
    char buffer[2048];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    return buffer;
}

#if defined(_WIN32)
// The Windows C runtime's own formatter (MinGW's snprintf is a C99 replacement of its own).
std::string Runtime(const char* format, ...) {
    char buffer[2048] = {0};
    va_list args;
    va_start(args, format);
    _vsnprintf(buffer, sizeof(buffer) - 1, format, args);
    va_end(args);
    return buffer;
}
#endif

// Formats with both and compares; the format is a run-time string on purpose.
#define EXPECT_LIKE_HOST(format, ...)                                                              \
    EXPECT_EQ(Ours(format, __VA_ARGS__), Host(format, __VA_ARGS__)) << format

TEST(FormatToBuffer, IntegersAgreeWithHost) {
    const char* formats[] = {"%d",    "%5d",    "%-5d|", "%05d",  "%+d",     "% d",
                             "%+05d", "%.3d",   "%.0d",  "%5.3d", "%-+8.4d", "%i",
                             "% 06i", "%-05d|", "%+.0d", "%08.3d"};
    const int values[] = {0, 1, -1, 42, -42, 12345678, INT_MIN, INT_MAX};
    for (const char* f : formats)
        for (int v : values)
            EXPECT_LIKE_HOST(f, v);
    const char* unsigned_formats[] = {"%u",   "%o",     "%#o",    "%x",    "%X",    "%#x",
                                      "%#X",  "%#010x", "%08.3x", "%#.0o", "%#.0x", "%-#8o|",
                                      "%.0u", "%+u",    "% x",    "%#5.3o"};
    const unsigned unsigned_values[] = {0u, 1u, 8u, 255u, 0xDEADBEEFu, UINT_MAX};
    for (const char* f : unsigned_formats)
        for (unsigned v : unsigned_values) {
#if defined(_WIN32)
            // MinGW's printf prints nothing for "%#.0o" of 0; C asks for the "0".
            if (strcmp(f, "%#.0o") == 0 && v == 0) {
                EXPECT_EQ(Ours(f, v), "0");
                continue;
            }
#endif
            EXPECT_LIKE_HOST(f, v);
        }
}

TEST(FormatToBuffer, LengthModifiersAgreeWithHost) {
    EXPECT_LIKE_HOST("%hd %hd", 70000, -32769);
    EXPECT_LIKE_HOST("%hhd %hhd", 300, -129);
    EXPECT_LIKE_HOST("%hu %hx", -1, 0x12345);
    EXPECT_LIKE_HOST("%hhu %hhx", -1, 0x1FF);
    EXPECT_LIKE_HOST("%ld %ld", LONG_MIN, LONG_MAX);
    EXPECT_LIKE_HOST("%lu %lx", ULONG_MAX, 1ul);
    EXPECT_LIKE_HOST("%lld %lld", LLONG_MIN, LLONG_MAX);
    EXPECT_LIKE_HOST("%llu %llx %llo", ULLONG_MAX, 0x123456789ABCull, 0x8000000000000000ull);
    EXPECT_LIKE_HOST("%zu %zx", size_t(123456), size_t(0xABCDEF));
    EXPECT_LIKE_HOST("%td %zd", ptrdiff_t(-77), ptrdiff_t(77));
    // Arguments after a wide one stay in step.
    EXPECT_LIKE_HOST("%lld|%d|%hhd|%s", 1ll << 40, 7, 65, "end");
}

TEST(FormatToBuffer, CharactersStringsAndStarsAgreeWithHost) {
    EXPECT_LIKE_HOST("%c|%5c|%-3c|", 'A', 'b', 'c');
    const char* string_formats[] = {"%s", "%10s", "%-10s|", "%.2s", "%10.3s", "%.0s", "%-3.1s|"};
    for (const char* f : string_formats) {
        EXPECT_LIKE_HOST(f, "hello");
        EXPECT_LIKE_HOST(f, "");
    }
    EXPECT_LIKE_HOST("%*d|", 5, 42);
    EXPECT_LIKE_HOST("%*d|", -5, 42);
    EXPECT_LIKE_HOST("%-*d|", 3, 42);
    EXPECT_LIKE_HOST("%.*d|", 3, 7);
    EXPECT_LIKE_HOST("%.*d|", -1, 0);
    EXPECT_LIKE_HOST("%*.*f|", 10, 2, 3.14159);
    EXPECT_LIKE_HOST("%*.*f|", -10, 2, 3.14159);
    EXPECT_LIKE_HOST("%.*s|", -1, "abc");
    EXPECT_LIKE_HOST("%.*s|", 2, "abc");
    EXPECT_LIKE_HOST("%.*f|", -3, 1.5);
    EXPECT_LIKE_HOST("%0*d|", 6, -12);
    EXPECT_LIKE_HOST("%%|%5%|abc%%def%s", "");
}

TEST(FormatToBuffer, FloatingPointAgreesWithHost) {
    const char* formats[] = {"%f",  "%.0f",     "%.1f",     "%.2f",   "%10.4f", "%-12.3f|", "%+f",
                             "% f", "%010.3f",  "%#.0f",    "%e",     "%.0e",   "%#.0e",    "%.3e",
                             "%E",  "%-14.2e|", "%+012.4E", "%g",     "%.0g",   "%#g",      "%.10g",
                             "%G",  "%.3g",     "%#.3g",    "%-12g|", "%012g",  "%.17g",    "%.1g",
                             "%F",  "%+.3g",    "%.20f",    "%.40e"};
    const double values[] = {0.0,
                             -0.0,
                             0.5,
                             1.5,
                             2.5,
                             -0.5,
                             0.125,
                             0.375,
                             1.0 / 3.0,
                             -2.0 / 3.0,
                             9.96,
                             9.9999995,
                             999.5,
                             0.0001,
                             0.00001,
                             0.000123456,
                             100000.0,
                             1000000.0,
                             123456789.0,
                             1e21,
                             1e22,
                             1e100,
                             1e-100,
                             3.14159265358979,
                             -273.15,
                             0.1,
                             DBL_MAX,
                             DBL_MIN,
                             4.9406564584124654e-324,
                             2.2250738585072009e-308};
    for (const char* f : formats)
        for (double v : values) {
            // glibc drops the kept zeros of "%#g" when rounding carries into a new exponent
            // ("1.e+03"); C asks for them, and that is what we print.
            if (strcmp(f, "%#.3g") == 0 && v == 999.5)
                continue;
            EXPECT_LIKE_HOST(f, v);
        }
    EXPECT_EQ(Ours("%#.3g", 999.5), "1.00e+03");
    EXPECT_EQ(Ours("%#.3g|%#.2g", 99.96, 0.0999), "100.|0.10");
    const double specials[] = {HUGE_VAL, -HUGE_VAL, NAN};
    const char* special_formats[] = {"%f", "%E", "%g", "%10f|", "%-10e|", "%+G", "%010f"};
    for (const char* f : special_formats)
        for (double v : specials)
            EXPECT_LIKE_HOST(f, v);
}

TEST(FormatToBuffer, RandomDoublesAgreeWithHost) {
    std::mt19937_64 random(20261209);
    const char* formats[] = {"%.17g", "%.25e", "%.3f", "%g", "%.0f", "%.12g", "%f"};
    for (int i = 0; i < 3000; ++i) {
        uint64_t bits = random();
        double v;
        memcpy(&v, &bits, sizeof(v));
        if (std::isnan(v) || std::isinf(v))
            continue;
        // Also values of ordinary size, where ties and carries are frequent.
        double small = double(int64_t(random() % 2000001) - 1000000) / 1024.0;
        for (const char* f : formats) {
            EXPECT_LIKE_HOST(f, v);
            EXPECT_LIKE_HOST(f, small);
        }
    }
}

TEST(FormatToBuffer, PointerFollowsTheHostLibrary) {
    int x = 0;
    void* pointers[] = {&x, reinterpret_cast<void*>(uintptr_t(0x1234abcd)), nullptr};
    const char* formats[] = {"%p", "%20p|", "%-20p|"};
    for (void* p : pointers)
        for (const char* f : formats) {
#if defined(_WIN32)
            EXPECT_EQ(Ours(f, p), Runtime(f, p)) << f;
#else
            EXPECT_LIKE_HOST(f, p);
#endif
        }
#if defined(_WIN32)
    EXPECT_EQ(Ours("%p", reinterpret_cast<void*>(uintptr_t(0xabc))), "0000000000000ABC");
#else
    EXPECT_EQ(Ours("%p", reinterpret_cast<void*>(uintptr_t(0xabc))), "0xabc");
#endif
}

TEST(FormatToBuffer, OwnRules) {
    EXPECT_EQ(Ours("[%s]", static_cast<const char*>(nullptr)), "[(null)]");
    EXPECT_EQ(Ours("[%8s]", static_cast<const char*>(nullptr)), "[  (null)]");
    // Not a conversion: written out with its percent sign, and the arguments stay in step.
    EXPECT_EQ(Ours("a%qb%d", 5), "a%qb5");
    EXPECT_EQ(Ours("%-5y|%d", 6), "%-5y|6");
    EXPECT_EQ(Ours("%Lf|%d", 7), "%Lf|7");
    EXPECT_EQ(Ours("end%"), "end%");
    // Widths and precisions stop at 510.
    EXPECT_EQ(Ours("%600d", 1), std::string(509, ' ') + "1");
    EXPECT_EQ(Ours("%*d", 1000, 1), std::string(509, ' ') + "1");
    EXPECT_EQ(Ours("%*d", -1000, 1), "1" + std::string(509, ' '));
    EXPECT_EQ(Ours("%.600d", 1), std::string(509, '0') + "1");
    EXPECT_EQ(Ours("%.*d", 99999, 1), std::string(509, '0') + "1");
    EXPECT_EQ(Ours("%99999999999999999999d", 1), std::string(509, ' ') + "1");
    std::string f = Ours("%.999f", 1.0);
    EXPECT_EQ(f, "1." + std::string(510, '0'));
    EXPECT_EQ(Ours("%.510f", 0.1), Host("%.510f", 0.1));
    EXPECT_EQ(Ours("%.510f", -DBL_MAX), Host("%.510f", -DBL_MAX));
    EXPECT_EQ(Ours("%.510e", 4.9406564584124654e-324), Host("%.510e", 4.9406564584124654e-324));
}

TEST(FormatToBuffer, CountConversionStoresTheFullLengthSoFar) {
    int n = -1;
    signed char hh = -1;
    long long ll = -1;
    char small[4];
    int total = FormatToBuffer(small, sizeof(small), "abcdef%n%hhn|%lln", &n, &hh, &ll);
    EXPECT_EQ(total, 7);
    EXPECT_EQ(n, 6);
    EXPECT_EQ(hh, 6);
    EXPECT_EQ(ll, 7);
    EXPECT_STREQ(small, "abc");
}

TEST(FormatToBuffer, NeverWritesPastTheGivenSize) {
    const std::string full = Ours("%s-%08.3f-%x-%-20s|", "head", 3.25, 0xBEEFu, "tail");
    for (int size = 0; size <= int(full.size()) + 2; ++size) {
        char buffer[128];
        memset(buffer, 'Z', sizeof(buffer));
        int n = FormatToBuffer(buffer, size, "%s-%08.3f-%x-%-20s|", "head", 3.25, 0xBEEFu, "tail");
        EXPECT_EQ(n, int(full.size()));
        for (int i = size; i < int(sizeof(buffer)); ++i)
            ASSERT_EQ(buffer[i], 'Z') << "size " << size << " byte " << i;
        if (size > 0) {
            int kept = std::min(size - 1, n);
            EXPECT_EQ(std::string(buffer, kept), full.substr(0, kept));
            EXPECT_EQ(buffer[kept], 0);
        }
    }
    EXPECT_EQ(FormatToBuffer(nullptr, 0, "%d%s", 12345, "abc"), 8);
    EXPECT_EQ(FormatToBuffer(nullptr, 0, "%.500f", 1e300), 301 + 1 + 500);
}

} // namespace
