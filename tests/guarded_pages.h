#pragma once

// Readable memory that ends right before a page that may not be touched, so that
// a test can place a string against it and fail loudly should code read past it.

#include <cstddef>

class GuardedPages {
   public:
    static constexpr std::size_t PageSize = 4096;

    explicit GuardedPages(std::size_t readablePages);
    ~GuardedPages();
    GuardedPages(const GuardedPages&) = delete;
    GuardedPages& operator=(const GuardedPages&) = delete;

    /// One past the last readable byte.
    char* end() const { return memory_ + readableBytes_; }

   private:
    char* memory_;
    std::size_t readableBytes_;
};
