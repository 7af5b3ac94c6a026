// How a fuzz target reports a finding: the broken rule on standard error,
// then an abort, which libFuzzer records as a crash with the input.
#pragma once

#include <string>

[[noreturn]] void Finding(const std::string& What);

inline void Check(bool Condition, const char* What) {
  if (!Condition) Finding(What);
}
