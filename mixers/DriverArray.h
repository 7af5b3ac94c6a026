// An array sized by a count the driver reported. Drivers can report any
// count; one whose byte size does not fit a mixer request (32 bits), or that
// memory cannot hold, is refused here instead of throwing from deep inside a
// scan or wrapping into a short allocation on a 32-bit build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <new>

#include "mixers/MixerTypes.h"

template <class T>
class TDriverArray {
 public:
  /// Zeroed storage for Count elements; false (and no storage) when Count cannot be honoured.
  bool Allocate(std::uint64_t Count) {
    FData.reset();
    FCount = 0;
    if (Count > std::numeric_limits<std::uint32_t>::max() / sizeof(T)) return false;
    FData.reset(new (std::nothrow) T[static_cast<std::size_t>(Count)]());
    if (!FData) return false;
    FCount = static_cast<std::uint32_t>(Count);
    return true;
  }

  T* Data() const { return FData.get(); }
  std::uint32_t Count() const { return FCount; }
  T& operator[](std::uint32_t Index) const { return FData[Index]; }
  T* begin() const { return FData.get(); }
  T* end() const { return FData.get() + FCount; }

 private:
  std::unique_ptr<T[]> FData;
  std::uint32_t FCount = 0;
};

/// Storage for Count detail values of Control; a count that cannot be honoured
/// is refused as an invalid parameter (EMixerError, code 11).
template <class T>
TDriverArray<T> DetailArray(TMixerCtrl* Control, std::uint32_t Count) {
  TDriverArray<T> values;
  if (!values.Allocate(Count)) MixerRefuse(Control);
  return values;
}
