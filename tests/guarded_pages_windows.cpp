#include <windows.h>

#include <new>

#include "guarded_pages.h"

GuardedPages::GuardedPages(std::size_t readablePages) : readableBytes_(readablePages * PageSize) {
    void* memory =
        VirtualAlloc(nullptr, readableBytes_ + PageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (memory == nullptr) throw std::bad_alloc();
    memory_ = static_cast<char*>(memory);
    DWORD previous;
    VirtualProtect(memory_ + readableBytes_, PageSize, PAGE_NOACCESS, &previous);
}

GuardedPages::~GuardedPages() { VirtualFree(memory_, 0, MEM_RELEASE); }
