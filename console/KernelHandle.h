// A kernel object's handle (a token, a thread), closed when its owner goes,
// through the CloseHandle of the seam that handed it over.
#pragma once

#include "core/Unique.h"
#include "platform/WinTypes.h"

template <class TKernel32>
struct TKernelHandleClose {
  TKernel32* Kernel32;
  void operator()(HANDLE Handle) const { Kernel32->CloseHandle(Handle); }
};

template <class TKernel32>
using TKernelHandle = TUnique<HANDLE, TKernelHandleClose<TKernel32>>;
