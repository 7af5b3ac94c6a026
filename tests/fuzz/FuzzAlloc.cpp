#include "fuzz/FuzzAlloc.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "fuzz/FuzzCheck.h"

namespace {

// Allocations still allowed while memory is running out; -1 while it is not.
thread_local int Allowed = -1;

void* TryAllocate(std::size_t Size) noexcept {
  if (Size > MaxAllocation) return nullptr;
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

TMemoryRunsOut::TMemoryRunsOut(int AllowedCount) : FPrevious(Allowed) { Allowed = AllowedCount; }

TMemoryRunsOut::~TMemoryRunsOut() { Allowed = FPrevious; }

void Finding(const std::string& What) {
  std::fprintf(stderr, "\n==== finding: %s\n", What.c_str());
  std::fflush(stderr);
  std::abort();
}

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
