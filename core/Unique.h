// An owner of one resource of the system's (a mixer handle, a window, a
// window class, a token): move-only, it releases what it holds when reset or
// destroyed. The releasing function is a type parameter, a small callable that
// knows which seam to call, so each kind of resource needs no class of its own.
// A resource that a system call hands over through an out-parameter is owned
// from the moment the call returns (Receive), never held raw in between.
#pragma once

#include <utility>

template <class T, class Releaser>
class TUnique {
 public:
  TUnique() = default;
  /// Empty, with the releaser for what it will receive.
  explicit TUnique(Releaser Release) : FRelease(std::move(Release)) {}
  TUnique(T Value, Releaser Release) : FValue(Value), FRelease(std::move(Release)) {}
  ~TUnique() { Reset(); }
  TUnique(const TUnique&) = delete;
  TUnique& operator=(const TUnique&) = delete;
  TUnique(TUnique&& Other) noexcept : FValue(Other.Detach()), FRelease(std::move(Other.FRelease)) {}
  TUnique& operator=(TUnique&& Other) noexcept {
    if (this != &Other) {
      Reset();
      FRelease = std::move(Other.FRelease);
      FValue = Other.Detach();
    }
    return *this;
  }

  T Get() const { return FValue; }
  explicit operator bool() const { return FValue != T{}; }
  /// Hands the resource over without releasing it.
  T Detach() {
    const T value = FValue;
    FValue = T{};
    return value;
  }
  /// Releases the resource held, if any; the owner is empty before the release runs.
  void Reset() {
    if (FValue != T{}) FRelease(Detach());
  }
  /// Releases what is held, then has Fill make the system call that stores a
  /// new resource through the pointer Fill is given, and owns it when Fill
  /// answers true (the call succeeded). A call that fails leaves the owner
  /// empty, whatever it stored.
  template <class Call>
  bool Receive(Call&& Fill) {
    Reset();
    T value{};
    if (!Fill(&value)) return false;
    FValue = value;
    return true;
  }

 private:
  T FValue{};
  Releaser FRelease{};
};
