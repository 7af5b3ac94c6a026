#include "console/Arguments.h"

#include <utility>

namespace {

bool IsSeparator(WCHAR c) { return c != 0 && static_cast<unsigned>(c) <= 32; }

}  // namespace

int ArgumentCount(const std::vector<String>& Args) { return Args.empty() ? 0 : static_cast<int>(Args.size()) - 1; }

std::vector<String> SplitCommandLine(const WCHAR* CommandLine) {
  std::vector<String> args;
  if (CommandLine == nullptr) return args;
  const WCHAR* p = CommandLine;
  const WCHAR Quote = WCHAR('"');
  for (;;) {
    for (;;) {
      while (IsSeparator(*p)) ++p;
      if (p[0] == Quote && p[1] == Quote)
        p += 2;
      else
        break;
    }
    String arg;
    while (*p != 0 && !IsSeparator(*p)) {
      if (*p == Quote) {
        ++p;
        while (*p != 0 && *p != Quote) arg += *p++;
        if (*p != 0) ++p;
      } else {
        arg += *p++;
      }
    }
    if (arg.empty()) break;
    args.push_back(std::move(arg));
  }
  return args;
}
