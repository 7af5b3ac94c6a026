// Replaces the global allocation functions of every program that links it:
// the unit tests and the fuzz targets, one definition each. The replacements
// allocate with malloc and free with free, which keeps them consistent with
// each other under the sanitizers too.
#include "sim/SimHeap.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#ifndef SIM_HEAP_MAX_SIZE
#define SIM_HEAP_MAX_SIZE SIZE_MAX
#endif

namespace {

thread_local bool FailNext = false;
// Allocations still allowed while memory is running out; -1 while it is not.
thread_local int Allowed = -1;

void* TryAllocate(std::size_t Size) noexcept {
  if (Size > std::size_t(SIM_HEAP_MAX_SIZE)) return nullptr;
  if (FailNext) {
    FailNext = false;
    return nullptr;
  }
  if (Allowed == 0) return nullptr;
  if (Allowed > 0) --Allowed;
  // operator new never answers null for a size of 0.
  return std::malloc(Size != 0 ? Size : 1);
}

void* Allocate(std::size_t Size) {
  void* p = TryAllocate(Size);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}

}  // namespace

void SimHeap::FailNextAllocation() { FailNext = true; }

void SimHeap::Disarm() { FailNext = false; }

SimHeap::Shortage::Shortage(int AllowedCount) : FPrevious(Allowed) { Allowed = AllowedCount; }

SimHeap::Shortage::~Shortage() { Allowed = FPrevious; }

void* operator new(std::size_t Size) { return Allocate(Size); }
void* operator new[](std::size_t Size) { return Allocate(Size); }
void* operator new(std::size_t Size, const std::nothrow_t&) noexcept { return TryAllocate(Size); }
void* operator new[](std::size_t Size, const std::nothrow_t&) noexcept { return TryAllocate(Size); }
void operator delete(void* Block) noexcept { std::free(Block); }
void operator delete[](void* Block) noexcept { std::free(Block); }
void operator delete(void* Block, std::size_t) noexcept { std::free(Block); }
void operator delete[](void* Block, std::size_t) noexcept { std::free(Block); }
void operator delete(void* Block, const std::nothrow_t&) noexcept { std::free(Block); }
void operator delete[](void* Block, const std::nothrow_t&) noexcept { std::free(Block); }
