#pragma once
// TSmallBuffer: room for n values of T (face points mostly), inside the object
// when n is at most kInline, so that the few points of most faces need no
// allocation, and on the heap beyond that.

#include <cstddef>
#include <memory>

template <class T, size_t kInline = 16> class TSmallBuffer {
public:
    explicit TSmallBuffer(size_t count) {
        if (count > kInline) {
            FLarge = std::make_unique<T[]>(count);
            FData = FLarge.get();
        }
    }
    TSmallBuffer(const TSmallBuffer&) = delete;
    TSmallBuffer& operator=(const TSmallBuffer&) = delete;

    T* Data() { return FData; }
    T& operator[](size_t index) { return FData[index]; }

private:
    T FSmall[kInline];
    std::unique_ptr<T[]> FLarge;
    T* FData = FSmall;
};
