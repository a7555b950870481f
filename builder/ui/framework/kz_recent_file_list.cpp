#include "builder/ui/framework/kz_recent_file_list.h"

KZRecentFileList::~KZRecentFileList() = default;

void KZRecentFileList::Add(const char* path) {
    if (!path || !*path)
        return;
    if (limit_ > kMaxLimit)
        limit_ = kMaxLimit;
    KZString entry(path);
    int found = -1;
    for (int i = 0; i < count_; ++i) {
        if (entries_[i].CompareNoCase(path) == 0) {
            found = i;
            break;
        }
    }
    // Shift everything before the old place (or the whole list) down by one.
    int last = found >= 0 ? found : (count_ < limit_ ? count_ : limit_ - 1);
    for (int i = last; i > 0; --i)
        entries_[i] = entries_[i - 1];
    entries_[0] = entry;
    if (found < 0 && count_ < limit_)
        ++count_;
}

void KZRecentFileList::Remove(int index) {
    if (index < 0 || index >= count_)
        return;
    for (int i = index; i + 1 < count_; ++i)
        entries_[i] = entries_[i + 1];
    --count_;
    entries_[count_].Empty();
}

void KZRecentFileList::Clear() {
    for (int i = 0; i < count_; ++i)
        entries_[i].Empty();
    count_ = 0;
}

KZString KZRecentFileList::Get(int index) const {
    if (index < 0 || index >= count_)
        return KZString();
    return entries_[index];
}
