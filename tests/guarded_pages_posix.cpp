#include <sys/mman.h>

#include <new>

#include "guarded_pages.h"

GuardedPages::GuardedPages(std::size_t readablePages) : readableBytes_(readablePages * PageSize) {
    void* memory = mmap(nullptr, readableBytes_ + PageSize, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED) throw std::bad_alloc();
    memory_ = static_cast<char*>(memory);
    mprotect(memory_ + readableBytes_, PageSize, PROT_NONE);
}

GuardedPages::~GuardedPages() { munmap(memory_, readableBytes_ + PageSize); }
