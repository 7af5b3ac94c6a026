#include "console/Terminate.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace {

const char* TerminatingProgram = "";

[[noreturn]] void WriteLineAndAbort() noexcept {
  std::fputs(TerminatingProgram, stderr);
  std::fputs(": unexpected error, stopping.\n", stderr);
  std::abort();
}

}  // namespace

void InstallTerminateHandler(const char* ProgramName) {
  TerminatingProgram = ProgramName;
  std::set_terminate(&WriteLineAndAbort);
}
