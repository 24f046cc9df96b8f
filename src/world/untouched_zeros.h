#pragma once

// An allocator for large arrays that start at zero and may be written only
// in part. The memory comes straight from the system as fresh zeroed pages,
// which take no memory until first written, and elements made without a
// value keep that zero instead of being written over with it. (Where there
// is no mmap, calloc, which in most C libraries does the same for large
// blocks.)

#include <cstddef>
#include <cstdlib>
#include <new>
#include <utility>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#define KESTRAVA_ZEROS_MMAP 1
#endif

template <typename T> struct UntouchedZeros {
    using value_type = T;

    UntouchedZeros() = default;
    template <typename U> UntouchedZeros(const UntouchedZeros<U>&) noexcept {}

    T* allocate(std::size_t n)
    {
        if (n == 0)
            n = 1;
#if defined(KESTRAVA_ZEROS_MMAP)
        void* p = mmap(nullptr, n * sizeof(T), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED)
            throw std::bad_alloc();
        return static_cast<T*>(p);
#else
        if (void* p = std::calloc(n, sizeof(T)))
            return static_cast<T*>(p);
        throw std::bad_alloc();
#endif
    }
    void deallocate(T* p, std::size_t n) noexcept
    {
#if defined(KESTRAVA_ZEROS_MMAP)
        munmap(p, (n == 0 ? 1 : n) * sizeof(T));
#else
        (void)n;
        std::free(p);
#endif
    }

    template <typename U> void construct(U* p) noexcept { ::new (static_cast<void*>(p)) U; }
    template <typename U, typename... A> void construct(U* p, A&&... args)
    {
        ::new (static_cast<void*>(p)) U(std::forward<A>(args)...);
    }

    template <typename U> bool operator==(const UntouchedZeros<U>&) const noexcept { return true; }
    template <typename U> bool operator!=(const UntouchedZeros<U>&) const noexcept { return false; }
};
