// An owner of one COM interface reference: releases it when reset or destroyed.
#pragma once

#include "platform/WinTypes.h"

template <class T>
class TComPtr {
 public:
  TComPtr() = default;
  ~TComPtr() { Reset(); }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  TComPtr(TComPtr&& Other) noexcept : FPtr(Other.FPtr) { Other.FPtr = nullptr; }
  TComPtr& operator=(TComPtr&& Other) noexcept {
    if (this != &Other) {
      Reset();
      FPtr = Other.FPtr;
      Other.FPtr = nullptr;
    }
    return *this;
  }

  T* Get() const { return FPtr; }
  T* operator->() const { return FPtr; }
  explicit operator bool() const { return FPtr != nullptr; }

  /// Releases the reference held, if any.
  void Reset() {
    T* p = FPtr;
    FPtr = nullptr;
    if (p != nullptr) p->Release();
  }
  /// Releases the reference held and hands out the slot an out parameter fills.
  T** Put() {
    Reset();
    return &FPtr;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

 private:
  T* FPtr = nullptr;
};
