#include "counting_new.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> g_allocations{0};

void* Allocate(std::size_t n)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    void* p = std::malloc(n ? n : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}

void* AllocateNoThrow(std::size_t n) noexcept
{
    try {
        return Allocate(n);
    } catch (...) {
        return nullptr;
    }
}

void Release(void* p) noexcept { std::free(p); }
} // namespace

namespace quenrix_test {
long AllocationCount() { return g_allocations.load(std::memory_order_relaxed); }
} // namespace quenrix_test

void* operator new(std::size_t n) { return Allocate(n); }
void* operator new[](std::size_t n) { return Allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept { return AllocateNoThrow(n); }
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept { return AllocateNoThrow(n); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }
