// One ordered record of every simulated platform call, shared by all the
// simulators of a test, with a plan of which calls are to fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/WinTypes.h"

class CallLog {
 public:
  /// Records a call written as "Name(arg,arg)"; true when the plan fails it.
  bool Record(std::string call);

  /// Fails the call that will stand at this position of the log (0-based).
  void FailAt(std::size_t position) { FFailAt.insert(position); }
  /// Fails every call of this name from now on (or only its nth occurrence, 0-based, counted from now).
  void FailNamed(const std::string& name, int nth = -1);
  void Clear();

  const std::vector<std::string>& Calls() const { return FCalls; }
  /// The calls of any of these names, in order.
  std::vector<std::string> Calls(std::initializer_list<std::string> names) const;
  /// The calls of one name, in order.
  std::vector<std::string> Named(const std::string& name) const;
  std::size_t Count(const std::string& name) const { return Named(name).size(); }

  static std::string NameOf(const std::string& call);

 private:
  struct NamedFailure {
    std::string Name;
    int Nth;  // -1: every occurrence
    int Seen;
  };
  std::vector<std::string> FCalls;
  std::set<std::size_t> FFailAt;
  std::vector<NamedFailure> FFailNamed;
};

// Argument formatting for call records.
std::string Arg(const WCHAR* text);
std::string Arg(const void* pointer);
std::string Hex(std::uint64_t value);
inline std::string Arg(long long value) { return std::to_string(value); }
inline std::string Arg(unsigned long long value) { return std::to_string(value); }
inline std::string Arg(long value) { return std::to_string(value); }
inline std::string Arg(unsigned long value) { return std::to_string(value); }
inline std::string Arg(int value) { return std::to_string(value); }
inline std::string Arg(unsigned value) { return std::to_string(value); }
inline std::string Arg(const std::string& text) { return text; }

/// "Name(a,b,c)" from already formatted or formattable arguments.
template <class... A>
std::string CallText(const char* name, const A&... args) {
  std::string out = name;
  out += '(';
  bool first = true;
  ((out += (first ? "" : ","), out += Arg(args), first = false), ...);
  out += ')';
  return out;
}

/// UTF-16 to narrow text, for logs and messages in test failures: ASCII as it
/// is, every other code unit as \uXXXX.
std::string Narrow(const String& text);
std::vector<std::string> Narrow(const std::vector<String>& texts);
