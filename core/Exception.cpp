#include "core/Exception.h"

#include <utility>

Exception::Exception(String message) : FMessage(std::move(message)), FWhat(AsciiText(FMessage)) {}

void Exception::SetMessage(String message) {
  FMessage = std::move(message);
  FWhat = AsciiText(FMessage);
}

String DescribeException(const std::exception& Error) {
  if (const auto* own = dynamic_cast<const Exception*>(&Error)) return own->ClassName() + WSTR(": ") + own->Message();
  return WSTR("Exception: ") + Widened(Error.what());
}
