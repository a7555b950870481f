// Base of reference-counted objects (pictures and the movie writer's picture entries).
#pragma once

class KZRefClass {
public:
    KZRefClass() = default;
    KZRefClass(const KZRefClass&) = delete;
    KZRefClass& operator=(const KZRefClass&) = delete;
    virtual ~KZRefClass() = default;

    // The creator holds the first reference.
    int AddRef() { return ++ref_count; }
    // Drops one reference without destroying; owners that destroy at "0 or below" use this.
    int DecRef() { return --ref_count; }
    // Drops one reference and destroys the object when none is left. Returns the count left.
    int Release() {
        int left = --ref_count;
        if (left <= 0)
            delete this;
        return left;
    }
    int GetRefCount() const { return ref_count; }

protected:
    int ref_count = 1; // plain arithmetic: used from one thread
};
