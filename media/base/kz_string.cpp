#include "media/base/kz_string.h"

#include <climits>
#include <cstring>

#include "media/base/kz_format.h"
#include "media/base/kz_memory.h"

namespace {
struct StaticBlock {
    KZString::Header header;
    char nul;
};

// Shared by every empty string. Its count starts high and the block is never freed, whatever the
// count says, so an unbalanced count from another thread cannot free static memory.
StaticBlock empty_block = {{0, 1, 101}, 0};
// Shared by every string in its error state; reads as empty.
StaticBlock error_block = {{0, 1, 101}, 0};

char* EmptyChars() {
    ++empty_block.header.ref_count;
    return &empty_block.nul;
}

bool IsStatic(const KZString::Header* h) {
    return h == &empty_block.header || h == &error_block.header;
}

const int kMaxLength = INT_MAX - int(sizeof(KZString::Header)) - 1;

KZString::Header* NewBlock(int length) {
    void* block = KZMalloc(sizeof(KZString::Header) + size_t(length) + 1);
    if (!block)
        return nullptr;
    KZString::Header* h = static_cast<KZString::Header*>(block);
    h->length = length;
    h->capacity = length + 1;
    h->ref_count = 1;
    return h;
}

char* CharsOf(KZString::Header* h) {
    return reinterpret_cast<char*>(h + 1);
}
} // namespace

KZString::KZString() : chars(EmptyChars()) {}

KZString::KZString(const char* text) : chars(EmptyChars()) {
    if (text)
        Assign(text, int(strlen(text)));
}

KZString::KZString(const char* text, int n) : chars(EmptyChars()) {
    if (text && n > 0)
        Assign(text, n);
}

KZString::KZString(const KZString& other) : chars(other.chars) {
    Header* h = GetHeader();
    if (h != &error_block.header)
        ++h->ref_count;
}

KZString::KZString(KZString&& other) noexcept : chars(other.chars) {
    other.chars = EmptyChars();
}

KZString::~KZString() {
    Release();
}

void KZString::Release() {
    Header* h = GetHeader();
    if (h == &error_block.header)
        return;
    if (IsStatic(h)) {
        --h->ref_count;
        return;
    }
    if (h->ref_count == 1)
        KZFree(h);
    else
        --h->ref_count;
}

bool KZString::IsError() const {
    return GetHeader() == &error_block.header;
}

void KZString::EnterErrorState() {
    Release();
    chars = &error_block.nul;
}

void KZString::Empty() {
    Release();
    chars = EmptyChars();
}

KZString& KZString::operator=(const KZString& other) {
    if (chars != other.chars) {
        Header* h = other.GetHeader();
        if (h != &error_block.header)
            ++h->ref_count;
        Release();
        chars = other.chars;
    }
    return *this;
}

KZString& KZString::operator=(KZString&& other) noexcept {
    if (this != &other) {
        Release();
        chars = other.chars;
        other.chars = EmptyChars();
    }
    return *this;
}

KZString& KZString::operator=(const char* text) {
    if (!text || !*text) {
        Empty();
        return *this;
    }
    // `text` may point into our own block: build the new one before letting go.
    KZString copy(text);
    *this = static_cast<KZString&&>(copy);
    return *this;
}

bool KZString::Assign(const char* text, int n) {
    Release();
    if (n <= 0) {
        chars = EmptyChars();
        return true;
    }
    Header* h = n > kMaxLength ? nullptr : NewBlock(n);
    if (!h) {
        chars = &error_block.nul;
        return false;
    }
    memcpy(CharsOf(h), text, size_t(n));
    CharsOf(h)[n] = 0;
    chars = CharsOf(h);
    return true;
}

char* KZString::ReserveLength(int extra) {
    if (IsError())
        return nullptr;
    Header* h = GetHeader();
    if (extra < 0 || extra > kMaxLength - h->length) {
        EnterErrorState();
        return nullptr;
    }
    int new_length = h->length + extra;
    if (IsStatic(h) || h->ref_count > 1) {
        Header* fresh = NewBlock(new_length);
        if (!fresh) {
            EnterErrorState();
            return nullptr;
        }
        memcpy(CharsOf(fresh), chars, size_t(h->length) + 1);
        Release();
        chars = CharsOf(fresh);
        h = fresh;
    } else if (new_length + 1 > h->capacity) {
        void* grown = KZRealloc(h, sizeof(Header) + size_t(new_length) + 1);
        if (!grown) {
            EnterErrorState();
            return nullptr;
        }
        h = static_cast<Header*>(grown);
        chars = CharsOf(h);
        h->capacity = new_length + 1;
    }
    h->length = new_length;
    chars[new_length] = 0;
    return chars;
}

char* KZString::SetLength(int n) {
    if (IsError())
        return nullptr;
    if (n < 0)
        n = 0;
    int length = GetLength();
    if (n >= length)
        return ReserveLength(n - length);
    if (!ReserveLength(0))
        return nullptr;
    GetHeader()->length = n;
    chars[n] = 0;
    return chars;
}

bool KZString::Append(const KZString& other) {
    if (other.IsError()) {
        EnterErrorState();
        return false;
    }
    // Appending a string to itself (or to a copy sharing the block): keep the block alive.
    KZString keep(other);
    return Append(keep.chars, keep.GetLength());
}

bool KZString::Append(const char* text) {
    return text ? Append(text, int(strlen(text))) : !IsError();
}

bool KZString::Append(const char* text, int n) {
    if (IsError())
        return false;
    if (!text || n <= 0)
        return true;
    Header* h = GetHeader();
    // The source may lie inside our own block, which ReserveLength may move.
    const char* own_begin = chars;
    const char* own_end = chars + h->length + 1;
    bool inside = text >= own_begin && text < own_end;
    ptrdiff_t offset = text - own_begin;
    int old_length = h->length;
    if (!ReserveLength(n))
        return false;
    const char* source = inside ? chars + offset : text;
    memmove(chars + old_length, source, size_t(n));
    chars[old_length + n] = 0;
    return true;
}

int KZString::Compare(const char* text) const {
    if (!text)
        text = "";
    return strcmp(chars, text);
}

int KZString::Compare(const KZString& other) const {
    int a = GetLength(), b = other.GetLength();
    int common = a < b ? a : b;
    int result = memcmp(chars, other.chars, size_t(common));
    if (result != 0)
        return result;
    return a < b ? -1 : (a > b ? 1 : 0);
}

int KZString::CompareNoCase(const char* text) const {
    if (!text)
        text = "";
    const unsigned char* a = reinterpret_cast<const unsigned char*>(chars);
    const unsigned char* b = reinterpret_cast<const unsigned char*>(text);
    for (;; ++a, ++b) {
        int ca = *a >= 'A' && *a <= 'Z' ? *a + 32 : *a;
        int cb = *b >= 'A' && *b <= 'Z' ? *b + 32 : *b;
        if (ca != cb || ca == 0)
            return ca - cb;
    }
}

bool KZString::Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    bool ok = FormatV(format, args);
    va_end(args);
    return ok;
}

bool KZString::FormatV(const char* format, va_list args) {
    if (IsError())
        return false;
    if (!format) {
        Empty();
        return true;
    }
    char local[512];
    va_list again;
    va_copy(again, args);
    int n = FormatToBufferV(local, int(sizeof(local)), format, args);
    // The arguments may point into this string, so the result goes into a fresh string first.
    KZString result;
    bool ok = n == 0 || result.SetLength(n) != nullptr;
    if (ok) {
        if (n == 0) {
            // stays the shared empty string
        } else if (n < int(sizeof(local)))
            memcpy(result.chars, local, size_t(n) + 1);
        else
            FormatToBufferV(result.chars, n + 1, format, again);
    }
    va_end(again);
    if (!ok) {
        EnterErrorState();
        return false;
    }
    *this = static_cast<KZString&&>(result);
    return true;
}
