// How a fuzz target reports a finding: the broken rule on standard error,
// then an abort, which libFuzzer records as a crash with the input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

[[noreturn]] inline void Finding(const std::string& What) {
  std::fprintf(stderr, "\n==== finding: %s\n", What.c_str());
  std::fflush(stderr);
  std::abort();
}

inline void Check(bool Condition, const char* What) {
  if (!Condition) Finding(What);
}
