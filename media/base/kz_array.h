// Growable arrays.
//
// KZTArray holds plain values (moved by their bytes when the block grows). Growth to hold n items:
// a capacity of 0 becomes 8, otherwise capacity + capacity / 2, and n when that is larger.
// KZTOArray owns one heap object per element and destroys them with itself.
#pragma once

#include <cstdint>
#include <cstring>
#include <new>

#include "media/base/kz_memory.h"

template <class T> class KZTArray {
public:
    KZTArray() = default;
    KZTArray(const KZTArray&) = delete;
    KZTArray& operator=(const KZTArray&) = delete;
    ~KZTArray() { KZFree(items); }

    int GetCount() const { return count; }
    int GetCapacity() const { return capacity; }
    bool IsEmpty() const { return count == 0; }
    T* GetData() { return items; }
    const T* GetData() const { return items; }
    T& operator[](int index) { return items[index]; }
    const T& operator[](int index) const { return items[index]; }

    // Makes room for n items by the growth rule; false when the block cannot grow.
    bool Grow(int n) {
        if (n <= capacity)
            return true;
        if (n < 0)
            return false;
        int64_t wanted = capacity == 0 ? 8 : int64_t(capacity) + capacity / 2;
        if (wanted < n)
            wanted = n;
        if (wanted > INT32_MAX || uint64_t(wanted) > SIZE_MAX / sizeof(T))
            return false;
        void* grown = KZRealloc(items, size_t(wanted) * sizeof(T));
        if (!grown)
            return false;
        items = static_cast<T*>(grown);
        capacity = int(wanted);
        return true;
    }

    bool Add(const T& item) {
        if (count == capacity) {
            // `item` may live in our own block: copy it before the block moves.
            T copy = item;
            if (!Grow(count + 1))
                return false;
            items[count++] = copy;
            return true;
        }
        items[count++] = item;
        return true;
    }

    bool InsertAt(int index, const T& item) {
        if (index < 0 || index > count)
            return false;
        T copy = item;
        if (!Grow(count + 1))
            return false;
        memmove(static_cast<void*>(items + index + 1), static_cast<const void*>(items + index),
                size_t(count - index) * sizeof(T));
        items[index] = copy;
        ++count;
        return true;
    }

    void RemoveAt(int index, int n = 1) {
        if (index < 0 || n <= 0 || index >= count)
            return;
        if (n > count - index)
            n = count - index;
        memmove(static_cast<void*>(items + index), static_cast<const void*>(items + index + n),
                size_t(count - index - n) * sizeof(T));
        count -= n;
    }

    // Sets the count; new items are zero bytes.
    bool SetCount(int n) {
        if (n < 0 || !Grow(n))
            return false;
        if (n > count)
            memset(static_cast<void*>(items + count), 0, size_t(n - count) * sizeof(T));
        count = n;
        return true;
    }

    // Keeps the block.
    void RemoveAll() { count = 0; }

    // Frees the block.
    void FreeAll() {
        KZFree(items);
        items = nullptr;
        count = capacity = 0;
    }

    int Find(const T& item) const {
        for (int i = 0; i < count; ++i)
            if (items[i] == item)
                return i;
        return -1;
    }

private:
    T* items = nullptr;
    int32_t count = 0;
    int32_t capacity = 0;
};

template <class T> class KZTOArray {
public:
    KZTOArray() = default;
    KZTOArray(const KZTOArray&) = delete;
    KZTOArray& operator=(const KZTOArray&) = delete;
    ~KZTOArray() { RemoveAll(); }

    int GetCount() const { return items.GetCount(); }
    bool IsEmpty() const { return items.IsEmpty(); }
    T* GetAt(int index) const { return items[index]; }
    T& operator[](int index) { return *items[index]; }
    const T& operator[](int index) const { return *items[index]; }

    // Takes ownership of `object`. When the array cannot grow the object is destroyed and false
    // comes back, so that nothing leaks either way.
    bool Add(T* object) {
        if (!items.Add(object)) {
            delete object;
            return false;
        }
        return true;
    }
    bool Add(const T& value) {
        T* object = new (std::nothrow) T(value);
        return object && Add(object);
    }

    bool InsertAt(int index, T* object) {
        if (!items.InsertAt(index, object)) {
            delete object;
            return false;
        }
        return true;
    }

    // Destroys the element.
    void RemoveAt(int index) {
        if (index < 0 || index >= items.GetCount())
            return;
        delete items[index];
        items.RemoveAt(index);
    }

    // Gives the element to the caller.
    T* DetachAt(int index) {
        if (index < 0 || index >= items.GetCount())
            return nullptr;
        T* object = items[index];
        items.RemoveAt(index);
        return object;
    }

    void RemoveAll() {
        for (int i = items.GetCount() - 1; i >= 0; --i)
            delete items[i];
        items.FreeAll();
    }

private:
    KZTArray<T*> items;
};
