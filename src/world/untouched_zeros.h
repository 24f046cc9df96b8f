#pragma once

// An allocator for large arrays that start at zero and may be written only
// in part: the system hands a large calloc zeroed pages that take no memory
// until first written (glibc asks the kernel for fresh pages and skips
// clearing them), and elements made without a value keep that zero instead
// of being written over with it.

#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>

template <typename T> struct UntouchedZeros {
    using value_type = T;

    UntouchedZeros() = default;
    template <typename U> UntouchedZeros(const UntouchedZeros<U>&) noexcept {}

    T* allocate(std::size_t n)
    {
        if (void* p = std::calloc(n, sizeof(T)))
            return static_cast<T*>(p);
        throw std::bad_alloc();
    }
    void deallocate(T* p, std::size_t) noexcept { std::free(p); }

    template <typename U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <typename U, typename... A> void construct(U* p, A&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<A>(args)...);
    }

    template <typename U> bool operator==(const UntouchedZeros<U>&) const noexcept { return true; }
    template <typename U> bool operator!=(const UntouchedZeros<U>&) const noexcept { return false; }
};
