// KZString: the reference-counted 8-bit string of the ANSI code page.
//
// The object is one pointer to NUL-terminated characters; in front of them lies a header of three
// int32 fields (length without the NUL, capacity including the NUL, reference count). Copies share
// the block. Every empty string shares one static block that is never freed. Counts change with
// plain arithmetic: a string and its copies belong to one thread.
//
// Allocation failure puts the string into its error state: it reads as empty, IsError() is true,
// and every further change (append, format, reserve) fails until it is assigned or emptied.
#pragma once

#include <cstdarg>
#include <cstdint>

#include "media/base/kz_format.h"

class KZString {
public:
    struct Header {
        int32_t length;
        int32_t capacity;
        int32_t ref_count;
    };

    KZString();
    KZString(const char* text);          // null is taken as empty
    KZString(const char* text, int n);   // n bytes (may hold NULs); n < 0 is taken as 0
    KZString(const KZString& other);     // shares the block
    KZString(KZString&& other) noexcept; // takes the block, leaves `other` empty
    ~KZString();

    KZString& operator=(const KZString& other);
    KZString& operator=(KZString&& other) noexcept;
    KZString& operator=(const char* text);

    const char* c_str() const { return chars; }
    operator const char*() const { return chars; }
    int GetLength() const { return GetHeader()->length; }
    bool IsEmpty() const { return GetHeader()->length == 0; }
    bool IsError() const;
    char operator[](int index) const { return chars[index]; }

    // Makes the string empty and clears the error state.
    void Empty();

    // Appends; false (and the error state) when memory runs out.
    bool Append(const KZString& other);
    bool Append(const char* text);
    bool Append(const char* text, int n);
    bool AppendChar(char c) { return Append(&c, 1); }
    KZString& operator+=(const KZString& other) {
        Append(other);
        return *this;
    }
    KZString& operator+=(const char* text) {
        Append(text);
        return *this;
    }

    // Byte-wise comparison (<0, 0, >0); null is taken as empty.
    int Compare(const char* text) const;
    int Compare(const KZString& other) const;
    // Comparison ignoring ASCII case.
    int CompareNoCase(const char* text) const;
    bool operator==(const char* text) const { return Compare(text) == 0; }
    bool operator!=(const char* text) const { return Compare(text) != 0; }
    bool operator==(const KZString& other) const { return Compare(other) == 0; }
    bool operator!=(const KZString& other) const { return Compare(other) != 0; }
    bool operator<(const KZString& other) const { return Compare(other) < 0; }

    // Sets the string to the formatted text (see kz_format.h); a null format makes it empty.
    bool Format(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(KZ_PRINTF_FORMAT, 2, 3)))
#endif
        ;
    bool FormatV(const char* format, va_list args);

    // Unshares the block and grows the length by `extra` bytes (content undefined, NUL at the new
    // end). Returns the writable characters, or null on failure (error state).
    char* ReserveLength(int extra);
    // Unshares the block and sets the length to n (growing or cutting); NUL at n. Returns the
    // writable characters, or null on failure.
    char* SetLength(int n);
    // Writable characters of an unshared string (after ReserveLength/SetLength).
    char* GetBuffer() {
        return chars;
    }

    // Shared-block inspection for tests and diagnostics.
    int GetCapacity() const {
        return GetHeader()->capacity;
    }
    int GetRefCount() const {
        return GetHeader()->ref_count;
    }
    bool SharesBlockWith(const KZString& other) const {
        return chars == other.chars;
    }

private:
    Header* GetHeader() const {
        return reinterpret_cast<Header*>(chars) - 1;
    }
    void Release();
    void EnterErrorState();
    bool Assign(const char* text, int n);

    char* chars;
};

inline bool operator==(const char* text, const KZString& s) {
    return s.Compare(text) == 0;
}
inline bool operator!=(const char* text, const KZString& s) {
    return s.Compare(text) != 0;
}
