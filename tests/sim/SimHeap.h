// Out of memory on request: the test program's and the fuzz targets' own
// operator new fails the allocations it is told to, so that the library's
// out-of-memory paths can be driven on purpose. A failing operator new throws
// std::bad_alloc; the nothrow forms answer null. A build may also make every
// allocation above SIM_HEAP_MAX_SIZE bytes fail (the fuzz targets' does).
#pragma once

namespace SimHeap {

/// Makes the next allocation on this thread fail.
void FailNextAllocation();
/// Withdraws a failure that has not happened yet.
void Disarm();

/// While an instance lives, allocations on this thread fail after Allowed more have succeeded.
class Shortage {
 public:
  explicit Shortage(int Allowed);
  ~Shortage();
  Shortage(const Shortage&) = delete;
  Shortage& operator=(const Shortage&) = delete;

 private:
  int FPrevious;
};

}  // namespace SimHeap
