// Replaces the global allocation functions of the test program. The
// replacements allocate with malloc and free with free, which keeps them
// consistent with each other under the sanitizers too.
#include "sim/SimHeap.h"

#include <cstdlib>
#include <new>

namespace {

thread_local bool FailNext = false;

void* Allocate(std::size_t Size) {
  if (FailNext) {
    FailNext = false;
    throw std::bad_alloc();
  }
  if (void* p = std::malloc(Size != 0 ? Size : 1)) return p;
  throw std::bad_alloc();
}

}  // namespace

void SimHeap::FailNextAllocation() { FailNext = true; }

void SimHeap::Disarm() { FailNext = false; }

void* operator new(std::size_t Size) { return Allocate(Size); }
void* operator new[](std::size_t Size) { return Allocate(Size); }
void* operator new(std::size_t Size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(Size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t Size, const std::nothrow_t& Tag) noexcept { return operator new(Size, Tag); }
void operator delete(void* Block) noexcept { std::free(Block); }
void operator delete[](void* Block) noexcept { std::free(Block); }
void operator delete(void* Block, std::size_t) noexcept { std::free(Block); }
void operator delete[](void* Block, std::size_t) noexcept { std::free(Block); }
void operator delete(void* Block, const std::nothrow_t&) noexcept { std::free(Block); }
void operator delete[](void* Block, const std::nothrow_t&) noexcept { std::free(Block); }
