// The fuzz targets' own operator new: allocations above MaxAllocation fail,
// as large ones may in the 32-bit program, whose address space is small and
// shared (without a limit an absurd count would only make the fuzzer run out
// of memory, or time), and memory can be made to run out on purpose.
#pragma once

#include <cstddef>

constexpr std::size_t MaxAllocation = std::size_t(64) << 20;

/// While an instance lives, allocations on this thread fail after Allowed more
/// have succeeded: operator new throws std::bad_alloc, the nothrow forms give null.
class TMemoryRunsOut {
 public:
  explicit TMemoryRunsOut(int Allowed);
  ~TMemoryRunsOut();
  TMemoryRunsOut(const TMemoryRunsOut&) = delete;
  TMemoryRunsOut& operator=(const TMemoryRunsOut&) = delete;

 private:
  int FPrevious;
};
