// Out of memory on request: the test program's own operator new fails the
// allocation it is told to, so that the library's out-of-memory paths can be
// driven from a test.
#pragma once

namespace SimHeap {

/// Makes the next allocation on this thread throw std::bad_alloc.
void FailNextAllocation();
/// Withdraws a failure that has not happened yet.
void Disarm();

}  // namespace SimHeap
