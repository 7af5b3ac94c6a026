#include "app/CommandLine.h"

#include <cstddef>

namespace {

int DigitValue(WCHAR c, int Base) {
  const unsigned u = static_cast<unsigned>(c);
  int d = -1;
  if (u >= '0' && u <= '9')
    d = static_cast<int>(u - '0');
  else if (u >= 'a' && u <= 'f')
    d = static_cast<int>(u - 'a' + 10);
  else if (u >= 'A' && u <= 'F')
    d = static_cast<int>(u - 'A' + 10);
  return d < Base ? d : -1;
}

}  // namespace

bool TryStrToInt32(const String& Text, std::int32_t& Value) {
  std::size_t i = 0;
  const std::size_t n = Text.size();
  while (i < n && Text[i] == WCHAR(' ')) ++i;
  bool negative = false;
  if (i < n && (Text[i] == WCHAR('-') || Text[i] == WCHAR('+'))) negative = Text[i++] == WCHAR('-');
  int base = 10;
  if (i < n && (Text[i] == WCHAR('$') || Text[i] == WCHAR('x') || Text[i] == WCHAR('X'))) {
    base = 16;
    ++i;
  } else if (i + 1 < n && Text[i] == WCHAR('0') && (Text[i + 1] == WCHAR('x') || Text[i + 1] == WCHAR('X'))) {
    base = 16;
    i += 2;
  }
  if (i == n) return false;

  // A limit one past the largest magnitude lets "-2147483648" through.
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : 0x80000000ull;
  std::uint64_t magnitude = 0;
  for (; i < n; ++i) {
    const int d = DigitValue(Text[i], base);
    if (d < 0) return false;
    magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    if (magnitude > limit) return false;
  }
  if (base == 10 && !negative && magnitude > 0x7FFFFFFFull) return false;

  const std::uint32_t pattern = static_cast<std::uint32_t>(magnitude);
  Value = AsSigned(negative ? 0u - pattern : pattern);
  return true;
}

void ReadSettings(const std::vector<String>& Args, TRunSettings& Settings) {
  const auto count = static_cast<std::size_t>(ArgumentCount(Args));
  Settings.WaitMsec = DefaultWaitMsec;
  if (count >= 1) {
    std::int32_t wait = 0;
    if (TryStrToInt32(Args[1], wait)) Settings.WaitMsec = wait;
  }
  for (std::size_t i = 1; i <= count; ++i) {
    const String option = AsciiLowered(Args[i]);
    if (option == WSTR("-withlock")) {
      Settings.WithLock = true;
    } else if (option == WSTR("-muteon")) {
      Settings.MuteRequested = true;
      Settings.MuteOn = true;
    } else if (option == WSTR("-muteoff")) {
      Settings.MuteRequested = true;
      Settings.MuteOn = false;
    } else {
      std::uint8_t action = 0;
      if (option == WSTR("-reboot"))
        action = 1;
      else if (option == WSTR("-shutdown"))
        action = 2;
      else if (option == WSTR("-suspend"))
        action = 3;
      else if (option == WSTR("-hibernate"))
        action = 4;
      if (action != 0) {
        Settings.PowerRequested = true;
        Settings.PowerAction = action;
        return;  // a power option ends the scan
      }
    }
  }
}
