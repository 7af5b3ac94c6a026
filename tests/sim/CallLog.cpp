#include "sim/CallLog.h"

#include <cstdio>

bool CallLog::Record(std::string call) {
  const std::size_t position = FCalls.size();
  const std::string name = NameOf(call);
  FCalls.push_back(std::move(call));
  bool fail = FFailAt.count(position) != 0;
  for (NamedFailure& f : FFailNamed) {
    if (f.Name != name) continue;
    if (f.Nth < 0 || f.Seen == f.Nth) fail = true;
    ++f.Seen;
  }
  return fail;
}

void CallLog::FailNamed(const std::string& name, int nth) { FFailNamed.push_back({name, nth, 0}); }

void CallLog::Clear() { FCalls.clear(); }

std::vector<std::string> CallLog::Named(const std::string& name) const {
  std::vector<std::string> out;
  for (const std::string& c : FCalls)
    if (NameOf(c) == name) out.push_back(c);
  return out;
}

std::vector<std::string> CallLog::Calls(std::initializer_list<std::string> names) const {
  std::vector<std::string> out;
  for (const std::string& c : FCalls)
    for (const std::string& name : names)
      if (NameOf(c) == name) out.push_back(c);
  return out;
}

std::string CallLog::NameOf(const std::string& call) { return call.substr(0, call.find('(')); }

std::string Narrow(const String& text) {
  return AsciiText(text, [](TextUnit unit) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(unit));
    return std::string(buf);
  });
}

std::vector<std::string> Narrow(const std::vector<String>& texts) {
  std::vector<std::string> out;
  for (const String& text : texts) out.push_back(Narrow(text));
  return out;
}

std::string Arg(const WCHAR* text) { return text ? "\"" + Narrow(String(text)) + "\"" : std::string("null"); }

std::string Arg(const void* pointer) {
  return pointer ? Hex(reinterpret_cast<std::uintptr_t>(pointer)) : std::string("null");
}

std::string Hex(std::uint64_t value) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "0x%llX", static_cast<unsigned long long>(value));
  return buf;
}
