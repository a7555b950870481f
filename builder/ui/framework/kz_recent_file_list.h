// The recently opened files, newest first, at most `limit` entries; a file opened again moves to
// the front (paths compare without ASCII case, as Windows does).
#pragma once

#include "media/base/kz_array.h"
#include "media/base/kz_string.h"

class KZRecentFileList {
public:
    explicit KZRecentFileList(int limit = 8) : limit_(limit < 1 ? 1 : limit) {}
    ~KZRecentFileList();
    KZRecentFileList(const KZRecentFileList&) = delete;
    KZRecentFileList& operator=(const KZRecentFileList&) = delete;

    void Add(const char* path); // empty paths are ignored
    void Remove(int index);     // out of range does nothing
    void Clear();
    int GetCount() const { return count_; }
    int GetLimit() const { return limit_; }
    // Entry index (0 = newest); empty out of range.
    KZString Get(int index) const;

private:
    static const int kMaxLimit = 16;
    int limit_;
    int count_ = 0;
    KZString entries_[kMaxLimit];
};
