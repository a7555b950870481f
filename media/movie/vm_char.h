// Base of the characters a movie library holds (shapes and bitmaps).
#pragma once

#include <cstdint>

#include "media/base/kz_string.h"

enum VMCharKind {
    VM_CHAR_SHAPE = 1,
    VM_CHAR_BITMAP = 3,
};

class VMChar {
public:
    virtual ~VMChar();
    virtual bool IsEmpty() const = 0;

    int Kind() const { return kind_; }
    const KZString& Name() const { return name_; }
    uint16_t CharacterId() const { return character_id_; }
    void SetCharacterId(uint16_t id) { character_id_ = id; }

    int AddRef() { return ++ref_count_; }
    // Drops one reference without destroying; the library destroys at 0 or below.
    int DecRef() { return --ref_count_; }
    int RefCount() const { return ref_count_; }

protected:
    explicit VMChar(int kind) : kind_(kind) {}

private:
    VMChar(const VMChar&) = delete;
    VMChar& operator=(const VMChar&) = delete;

    int kind_;
    KZString name_;
    int ref_count_ = 0;
    uint16_t character_id_ = 0;
};
