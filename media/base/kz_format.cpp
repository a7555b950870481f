// The formatter. Integers are converted directly; floating-point values are converted exactly
// (the double's binary value expanded to all its decimal digits with a small big-number
// routine) and then rounded half to even, which is what the C libraries on both platforms do, so
// results agree with printf to the last digit.
#include "media/base/kz_format.h"

#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

const int kLimit = 510; // widths and precisions beyond this are cut to it

enum Flags {
    kLeft = 1,
    kPlus = 2,
    kSpace = 4,
    kAlternate = 8,
    kZero = 16,
};

enum Length { kInt, kChar, kShort, kLong, kLongLong, kSize, kPtrDiff };

// Collects output: writes what fits, counts everything.
class Sink {
public:
    Sink(char* buffer, int size) : buffer(buffer), size(size > 0 && buffer ? size : 0) {}

    void Put(char c) {
        if (length < int64_t(size) - 1)
            buffer[length] = c;
        ++length;
    }
    void Put(const char* s, int64_t n) {
        for (int64_t i = 0; i < n; ++i)
            Put(s[i]);
    }
    void Repeat(char c, int64_t n) {
        for (int64_t i = 0; i < n; ++i)
            Put(c);
    }
    int64_t Length() const { return length; }
    int Finish() {
        if (size > 0)
            buffer[length < size - 1 ? length : size - 1] = 0;
        return length > INT_MAX ? INT_MAX : int(length);
    }

private:
    char* buffer;
    int size;
    int64_t length = 0;
};

struct Conversion {
    int flags = 0;
    int width = 0;
    int precision = -1; // -1: none given
    Length length = kInt;
};

// Writes prefix (sign, "0x"), `zeros` zeros and the body, padded to the width.
void Emit(Sink& out, const Conversion& conv, const char* prefix, int prefix_length, int64_t zeros,
          const char* body, int64_t body_length, bool allow_zero_pad) {
    int64_t total = prefix_length + zeros + body_length;
    int64_t pad = conv.width > total ? conv.width - total : 0;
    if (conv.flags & kLeft) {
        out.Put(prefix, prefix_length);
        out.Repeat('0', zeros);
        out.Put(body, body_length);
        out.Repeat(' ', pad);
    } else if ((conv.flags & kZero) && allow_zero_pad) {
        out.Put(prefix, prefix_length);
        out.Repeat('0', zeros + pad);
        out.Put(body, body_length);
    } else {
        out.Repeat(' ', pad);
        out.Put(prefix, prefix_length);
        out.Repeat('0', zeros);
        out.Put(body, body_length);
    }
}

void FormatInteger(Sink& out, const Conversion& conv, char conversion, uint64_t magnitude,
                   bool negative) {
    char digits[32];
    int n = 0;
    unsigned base = conversion == 'o' ? 8 : (conversion == 'x' || conversion == 'X') ? 16 : 10;
    const char* alphabet = conversion == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
    for (uint64_t v = magnitude; v != 0; v /= base)
        digits[n++] = alphabet[v % base];
    char body[32];
    for (int i = 0; i < n; ++i)
        body[i] = digits[n - 1 - i];

    char prefix[3];
    int prefix_length = 0;
    bool is_signed = conversion == 'd' || conversion == 'i';
    if (is_signed) {
        if (negative)
            prefix[prefix_length++] = '-';
        else if (conv.flags & kPlus)
            prefix[prefix_length++] = '+';
        else if (conv.flags & kSpace)
            prefix[prefix_length++] = ' ';
    }
    if ((conv.flags & kAlternate) && base == 16 && magnitude != 0) {
        prefix[prefix_length++] = '0';
        prefix[prefix_length++] = conversion;
    }
    int precision = conv.precision < 0 ? 1 : conv.precision;
    int64_t zeros = precision > n ? precision - n : 0;
    // "#o" makes the first digit a zero.
    if ((conv.flags & kAlternate) && base == 8 && zeros == 0 && (n == 0 || body[0] != '0'))
        zeros = 1;
    // A precision switches the zero flag off.
    Emit(out, conv, prefix, prefix_length, zeros, body, n, conv.precision < 0);
}

// ---- exact decimal expansion of doubles ----

// Unsigned big number in base 10^9, least significant limb first.
class BigDecimal {
public:
    explicit BigDecimal(uint64_t value) {
        while (value) {
            limbs[count++] = uint32_t(value % kBase);
            value /= kBase;
        }
    }
    void Multiply(uint32_t factor) {
        uint64_t carry = 0;
        for (int i = 0; i < count; ++i) {
            uint64_t v = uint64_t(limbs[i]) * factor + carry;
            limbs[i] = uint32_t(v % kBase);
            carry = v / kBase;
        }
        while (carry) {
            limbs[count++] = uint32_t(carry % kBase);
            carry /= kBase;
        }
    }
    // Decimal digits without leading zeros (at least one digit); returns their count.
    int ToDigits(char* out) const {
        if (count == 0) {
            out[0] = '0';
            return 1;
        }
        int n = 0;
        char tmp[10];
        int t = 0;
        for (uint32_t v = limbs[count - 1]; v; v /= 10)
            tmp[t++] = char('0' + v % 10);
        while (t)
            out[n++] = tmp[--t];
        for (int i = count - 2; i >= 0; --i) {
            uint32_t v = limbs[i];
            for (int d = 8; d >= 0; --d) {
                out[n + d] = char('0' + v % 10);
                v /= 10;
            }
            n += 9;
        }
        return n;
    }

private:
    static const uint32_t kBase = 1000000000u;
    uint32_t limbs[100] = {}; // 2^1024 has 309 digits, 2^53 * 5^1074 has 767
    int count = 0;
};

// A finite non-negative double as decimal digits d1 d2 ... with the decimal point after
// `point` digits (point may be negative or past the digits). Enough room for the longest
// expansion plus rounding carries.
struct Digits {
    char d[800];
    int count;
    int point;
};

void Expand(double value, Digits& out) {
    if (value == 0) {
        out.d[0] = '0';
        out.count = 1;
        out.point = 1;
        return;
    }
    int exponent;
    double fraction = frexp(value, &exponent); // value = fraction * 2^exponent, 0.5 <= f < 1
    uint64_t mantissa = uint64_t(ldexp(fraction, 53));
    exponent -= 53;
    // Drop trailing zero bits so the big number stays small.
    while ((mantissa & 1) == 0) {
        mantissa >>= 1;
        ++exponent;
    }
    BigDecimal big(mantissa);
    int fraction_digits = 0;
    if (exponent > 0) {
        for (int e = exponent; e > 0; e -= 29)
            big.Multiply(uint32_t(1) << (e < 29 ? e : 29));
    } else if (exponent < 0) {
        // m / 2^k = m * 5^k / 10^k
        int k = -exponent;
        fraction_digits = k;
        for (; k >= 13; k -= 13)
            big.Multiply(1220703125u); // 5^13
        uint32_t rest = 1;
        while (k-- > 0)
            rest *= 5;
        big.Multiply(rest);
    }
    out.count = big.ToDigits(out.d);
    out.point = out.count - fraction_digits;
}

// Rounds to `keep` leading digits (keep may be 0 or negative), half to even.
void Round(Digits& x, int keep) {
    if (keep >= x.count)
        return;
    if (keep < 0) {
        x.d[0] = '0';
        x.count = 1;
        x.point = 1;
        return;
    }
    bool up;
    char first = x.d[keep];
    if (first > '5') {
        up = true;
    } else if (first < '5') {
        up = false;
    } else {
        bool rest_nonzero = false;
        for (int i = keep + 1; i < x.count; ++i)
            if (x.d[i] != '0') {
                rest_nonzero = true;
                break;
            }
        bool odd = keep > 0 && ((x.d[keep - 1] - '0') & 1);
        up = rest_nonzero || odd;
    }
    x.count = keep;
    if (up) {
        int i = keep - 1;
        while (i >= 0 && x.d[i] == '9')
            x.d[i--] = '0';
        if (i >= 0) {
            ++x.d[i];
        } else {
            memmove(x.d + 1, x.d, size_t(x.count));
            x.d[0] = '1';
            ++x.count;
            ++x.point;
        }
    }
    if (x.count == 0) {
        x.d[0] = '0';
        x.count = 1;
        x.point = 1;
    }
}

char DigitAt(const Digits& x, int index) {
    return index >= 0 && index < x.count ? x.d[index] : '0';
}

// Fixed notation of already rounded digits into `body`; returns the length.
int FixedBody(const Digits& x, int precision, bool point_always, bool zero, char* body) {
    int n = 0;
    if (zero || x.point <= 0) {
        body[n++] = '0';
    } else {
        for (int i = 0; i < x.point; ++i)
            body[n++] = DigitAt(x, i);
    }
    if (precision > 0 || point_always)
        body[n++] = '.';
    for (int i = 0; i < precision; ++i)
        body[n++] = zero ? '0' : DigitAt(x, x.point + i);
    return n;
}

int ExponentBody(const Digits& x, int precision, bool point_always, bool zero, char e, char* body) {
    int n = 0;
    body[n++] = DigitAt(x, 0);
    if (precision > 0 || point_always)
        body[n++] = '.';
    for (int i = 1; i <= precision; ++i)
        body[n++] = DigitAt(x, i);
    int exponent = zero ? 0 : x.point - 1;
    body[n++] = e;
    body[n++] = exponent < 0 ? '-' : '+';
    if (exponent < 0)
        exponent = -exponent;
    char tmp[8];
    int t = 0;
    do {
        tmp[t++] = char('0' + exponent % 10);
        exponent /= 10;
    } while (exponent);
    if (t < 2)
        tmp[t++] = '0';
    while (t)
        body[n++] = tmp[--t];
    return n;
}

void FormatDouble(Sink& out, const Conversion& conv, char conversion, double value) {
    char prefix[1];
    int prefix_length = 0;
    if (std::signbit(value))
        prefix[prefix_length++] = '-';
    else if (conv.flags & kPlus)
        prefix[prefix_length++] = '+';
    else if (conv.flags & kSpace)
        prefix[prefix_length++] = ' ';
    bool upper = conversion == 'E' || conversion == 'F' || conversion == 'G';
    if (std::isinf(value) || std::isnan(value)) {
        const char* text = std::isnan(value) ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf");
        Emit(out, conv, prefix, prefix_length, 0, text, 3, false);
        return;
    }
    double magnitude = std::fabs(value);
    bool zero = magnitude == 0;
    bool point_always = (conv.flags & kAlternate) != 0;
    int precision = conv.precision < 0 ? 6 : conv.precision;

    Digits exact;
    Digits work;
    // Longest body: 309 integer digits, a point and 514 decimals, or an exponent form.
    char body[1000];
    Expand(magnitude, exact);
    int n = 0;
    char lower = char(conversion | 0x20);
    if (lower == 'f') {
        work = exact;
        if (!zero)
            Round(work, work.point + precision);
        n = FixedBody(work, precision, point_always, zero, body);
    } else if (lower == 'e') {
        work = exact;
        if (!zero)
            Round(work, precision + 1);
        n = ExponentBody(work, precision, point_always, zero, upper ? 'E' : 'e', body);
    } else {
        int p = precision == 0 ? 1 : precision;
        work = exact;
        if (!zero)
            Round(work, p);
        int x = zero ? 0 : work.point - 1;
        if (p > x && x >= -4) {
            int fixed_precision = p - 1 - x;
            work = exact;
            if (!zero)
                Round(work, work.point + fixed_precision);
            n = FixedBody(work, fixed_precision, point_always, zero, body);
        } else {
            n = ExponentBody(work, p - 1, point_always, zero, upper ? 'E' : 'e', body);
        }
        if (!point_always) {
            // Drop trailing zeros of the fraction, and the point when nothing follows it.
            int mantissa_end = n;
            for (int i = 0; i < n; ++i)
                if (body[i] == 'e' || body[i] == 'E') {
                    mantissa_end = i;
                    break;
                }
            bool has_point = memchr(body, '.', size_t(mantissa_end)) != nullptr;
            if (has_point) {
                int end = mantissa_end;
                while (body[end - 1] == '0')
                    --end;
                if (body[end - 1] == '.')
                    --end;
                memmove(body + end, body + mantissa_end, size_t(n - mantissa_end));
                n -= mantissa_end - end;
            }
        }
    }
    Emit(out, conv, prefix, prefix_length, 0, body, n, true);
}

void FormatPointer(Sink& out, const Conversion& conv, const void* pointer) {
    uintptr_t value = reinterpret_cast<uintptr_t>(pointer);
#if defined(_WIN32)
    // The Windows C runtime: all digits of the pointer, upper-case, without a prefix.
    char body[2 * sizeof(void*)];
    int n = int(sizeof(body));
    for (int i = n - 1; i >= 0; --i, value >>= 4)
        body[i] = "0123456789ABCDEF"[value & 15];
    Emit(out, conv, "", 0, 0, body, n, false);
#else
    // glibc: "(nil)", or "0x" and lower-case hex digits like "%#lx".
    if (!pointer) {
        Conversion text = conv;
        text.precision = -1;
        Emit(out, text, "", 0, 0, "(nil)", 5, false);
        return;
    }
    Conversion hex = conv;
    hex.flags |= kAlternate;
    hex.flags &= ~(kPlus | kSpace);
    FormatInteger(out, hex, 'x', value, false);
#endif
}

const char* ParseNumber(const char* p, int* value) {
    int64_t v = 0;
    while (*p >= '0' && *p <= '9') {
        if (v <= kLimit)
            v = v * 10 + (*p - '0');
        ++p;
    }
    *value = v > kLimit ? kLimit : int(v);
    return p;
}

} // namespace

int FormatToBufferV(char* buffer, int size, const char* format, va_list args) {
    Sink out(buffer, size);
    if (!format)
        return out.Finish();
    va_list ap;
    va_copy(ap, args);
    const char* p = format;
    while (*p) {
        if (*p != '%') {
            const char* start = p;
            while (*p && *p != '%')
                ++p;
            out.Put(start, p - start);
            continue;
        }
        const char* directive = p++;
        Conversion conv;
        for (;; ++p) {
            if (*p == '-')
                conv.flags |= kLeft;
            else if (*p == '+')
                conv.flags |= kPlus;
            else if (*p == ' ')
                conv.flags |= kSpace;
            else if (*p == '#')
                conv.flags |= kAlternate;
            else if (*p == '0')
                conv.flags |= kZero;
            else
                break;
        }
        if (*p == '*') {
            int64_t w = va_arg(ap, int);
            if (w < 0) {
                conv.flags |= kLeft;
                w = -w;
            }
            conv.width = w > kLimit ? kLimit : int(w);
            ++p;
        } else {
            p = ParseNumber(p, &conv.width);
        }
        if (*p == '.') {
            ++p;
            if (*p == '*') {
                int v = va_arg(ap, int);
                // A negative precision is taken as none given, as in C.
                conv.precision = v < 0 ? -1 : (v > kLimit ? kLimit : v);
                ++p;
            } else {
                p = ParseNumber(p, &conv.precision);
            }
        }
        if (*p == 'h') {
            ++p;
            conv.length = kShort;
            if (*p == 'h') {
                ++p;
                conv.length = kChar;
            }
        } else if (*p == 'l') {
            ++p;
            conv.length = kLong;
            if (*p == 'l') {
                ++p;
                conv.length = kLongLong;
            }
        } else if (*p == 'z') {
            ++p;
            conv.length = kSize;
        } else if (*p == 't') {
            ++p;
            conv.length = kPtrDiff;
        }
        if (conv.flags & kLeft)
            conv.flags &= ~kZero;
        if (conv.flags & kPlus)
            conv.flags &= ~kSpace;

        char conversion = *p;
        switch (conversion) {
        case 'd':
        case 'i': {
            int64_t v;
            switch (conv.length) {
            case kChar:
                v = static_cast<signed char>(va_arg(ap, int));
                break;
            case kShort:
                v = static_cast<short>(va_arg(ap, int));
                break;
            case kLong:
                v = va_arg(ap, long);
                break;
            case kLongLong:
                v = va_arg(ap, long long);
                break;
            case kSize:
                v = int64_t(va_arg(ap, size_t));
                break;
            case kPtrDiff:
                v = va_arg(ap, ptrdiff_t);
                break;
            default:
                v = va_arg(ap, int);
                break;
            }
            uint64_t magnitude = v < 0 ? 0 - uint64_t(v) : uint64_t(v);
            FormatInteger(out, conv, conversion, magnitude, v < 0);
            break;
        }
        case 'u':
        case 'o':
        case 'x':
        case 'X': {
            uint64_t v;
            switch (conv.length) {
            case kChar:
                v = static_cast<unsigned char>(va_arg(ap, unsigned));
                break;
            case kShort:
                v = static_cast<unsigned short>(va_arg(ap, unsigned));
                break;
            case kLong:
                v = va_arg(ap, unsigned long);
                break;
            case kLongLong:
                v = va_arg(ap, unsigned long long);
                break;
            case kSize:
                v = va_arg(ap, size_t);
                break;
            case kPtrDiff:
                v = uint64_t(va_arg(ap, ptrdiff_t)) &
                    (~uint64_t(0) >> (64 - 8 * sizeof(ptrdiff_t)));
                break;
            default:
                v = va_arg(ap, unsigned);
                break;
            }
            FormatInteger(out, conv, conversion, v, false);
            break;
        }
        case 'c': {
            char c = char(static_cast<unsigned char>(va_arg(ap, int)));
            Emit(out, conv, "", 0, 0, &c, 1, false);
            break;
        }
        case 's': {
            const char* s = va_arg(ap, const char*);
            if (!s)
                s = "(null)";
            // Never read past the precision: the text need not be terminated within it.
            int64_t n = 0;
            if (conv.precision >= 0) {
                while (n < conv.precision && s[n])
                    ++n;
            } else {
                n = int64_t(strlen(s));
            }
            Emit(out, conv, "", 0, 0, s, n, false);
            break;
        }
        case 'p':
            FormatPointer(out, conv, va_arg(ap, void*));
            break;
        case 'n': {
            int64_t count = out.Length();
            switch (conv.length) {
            case kChar:
                *va_arg(ap, signed char*) = static_cast<signed char>(count);
                break;
            case kShort:
                *va_arg(ap, short*) = static_cast<short>(count);
                break;
            case kLong:
                *va_arg(ap, long*) = static_cast<long>(count);
                break;
            case kLongLong:
                *va_arg(ap, long long*) = count;
                break;
            case kSize:
                *va_arg(ap, size_t*) = size_t(count);
                break;
            case kPtrDiff:
                *va_arg(ap, ptrdiff_t*) = ptrdiff_t(count);
                break;
            default:
                *va_arg(ap, int*) = count > INT_MAX ? INT_MAX : int(count);
                break;
            }
            break;
        }
        case 'e':
        case 'E':
        case 'f':
        case 'F':
        case 'g':
        case 'G':
            FormatDouble(out, conv, conversion, va_arg(ap, double));
            break;
        case '%':
            out.Put('%');
            break;
        case 0:
            // A lone '%' at the end: written out as it stands.
            out.Put(directive, p - directive);
            continue;
        default:
            // Not a conversion: the directive is written out as it stands.
            out.Put(directive, p + 1 - directive);
            break;
        }
        ++p;
    }
    va_end(ap);
    return out.Finish();
}

int FormatToBuffer(char* buffer, int size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    int n = FormatToBufferV(buffer, size, format, args);
    va_end(args);
    return n;
}
