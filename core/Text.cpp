#include "core/Text.h"

namespace {

const char Figures[] = "0123456789ABCDEF";

}  // namespace

String DecimalText(std::int64_t Value) {
  // The magnitude in unsigned arithmetic: the most negative value has no positive counterpart.
  std::uint64_t magnitude = Value < 0 ? 0u - static_cast<std::uint64_t>(Value) : static_cast<std::uint64_t>(Value);
  String text;
  do {
    text.insert(text.begin(), static_cast<TextUnit>(Figures[magnitude % 10]));
    magnitude /= 10;
  } while (magnitude != 0);
  if (Value < 0) text.insert(text.begin(), TextUnit('-'));
  return text;
}

String HexText(std::uint64_t Value, int Digits) {
  String text;
  do {
    text.insert(text.begin(), static_cast<TextUnit>(Figures[Value & 0xFu]));
    Value >>= 4;
  } while (Value != 0);
  if (static_cast<int>(text.size()) < Digits)
    text.insert(text.begin(), static_cast<std::size_t>(Digits) - text.size(), TextUnit('0'));
  return text;
}

String Widened(const char* Text) {
  String text;
  for (; *Text != 0; ++Text) text.push_back(static_cast<TextUnit>(static_cast<unsigned char>(*Text)));
  return text;
}

std::string AsciiText(const String& Text, std::string (*Other)(TextUnit Unit)) {
  std::string text;
  text.reserve(Text.size());
  for (TextUnit c : Text) {
    if (static_cast<unsigned>(c) < 0x80)
      text.push_back(static_cast<char>(c));
    else if (Other != nullptr)
      text += Other(c);
    else
      text.push_back('?');
  }
  return text;
}

String AsciiLowered(const String& Text) {
  String out = Text;
  for (TextUnit& c : out)
    if (c >= TextUnit('A') && c <= TextUnit('Z')) c = static_cast<TextUnit>(c - TextUnit('A') + TextUnit('a'));
  return out;
}
