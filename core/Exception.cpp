#include "core/Exception.h"

#include <utility>

namespace {

std::string Narrow(const String& text) {
  std::string out;
  out.reserve(text.size());
  for (TextUnit c : text) out.push_back(static_cast<unsigned>(c) < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

}  // namespace

Exception::Exception(String message) : FMessage(std::move(message)), FWhat(Narrow(FMessage)) {}

void Exception::SetMessage(String message) {
  FMessage = std::move(message);
  FWhat = Narrow(FMessage);
}
