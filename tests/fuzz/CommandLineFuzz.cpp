// The command line: the input's bytes, read as UTF-16 code units (little
// endian), go through the splitting, the wait conversion and the option
// scan, and what comes out is checked against rules that hold for every
// command line. The number rules are checked by a reading of their own,
// written differently from the program's.
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/CommandLine.h"
#include "app/RunSettings.h"
#include "fuzz/FuzzCheck.h"

namespace {

bool IsDigitOf(WCHAR c, bool Hex) {
  if (c >= WCHAR('0') && c <= WCHAR('9')) return true;
  return Hex && ((c >= WCHAR('a') && c <= WCHAR('f')) || (c >= WCHAR('A') && c <= WCHAR('F')));
}

unsigned DigitValue(WCHAR c) {
  if (c <= WCHAR('9')) return static_cast<unsigned>(c - WCHAR('0'));
  if (c >= WCHAR('a')) return static_cast<unsigned>(c - WCHAR('a') + 10);
  return static_cast<unsigned>(c - WCHAR('A') + 10);
}

// The wait as the rules define it, or nothing when the text is not a number:
// spaces, a sign, then decimal digits, or hexadecimal ones after $, x, X, 0x
// or 0X. Leading zeros are dropped first, so the range test only has to count
// the digits left and compare them with the largest value.
std::optional<std::int32_t> ReferenceNumber(const String& Text) {
  std::size_t i = Text.find_first_not_of(WCHAR(' '));
  if (i == String::npos) return std::nullopt;
  bool negative = false;
  if (Text[i] == WCHAR('+') || Text[i] == WCHAR('-')) negative = Text[i++] == WCHAR('-');
  bool hex = false;
  const String rest = Text.substr(i);
  if (rest.size() >= 1 && (rest[0] == WCHAR('$') || rest[0] == WCHAR('x') || rest[0] == WCHAR('X'))) {
    hex = true;
    i += 1;
  } else if (rest.size() >= 2 && rest[0] == WCHAR('0') && (rest[1] == WCHAR('x') || rest[1] == WCHAR('X'))) {
    hex = true;
    i += 2;
  }
  const String digits = Text.substr(i);
  if (digits.empty()) return std::nullopt;
  for (WCHAR c : digits)
    if (!IsDigitOf(c, hex)) return std::nullopt;
  const std::size_t first = digits.find_first_not_of(WCHAR('0'));
  const String significant = first == String::npos ? String() : digits.substr(first);
  if (significant.size() > (hex ? 8u : 10u)) return std::nullopt;
  std::uint64_t value = 0;
  for (WCHAR c : significant) value = value * (hex ? 16 : 10) + DigitValue(c);
  if (hex) {
    // A full 32-bit pattern, taken bit for bit; a sign negates the pattern.
    std::uint32_t pattern = static_cast<std::uint32_t>(value);
    if (negative) pattern = ~pattern + 1u;
    std::int32_t out;
    std::memcpy(&out, &pattern, sizeof out);
    return out;
  }
  if (value > (negative ? 2147483648ull : 2147483647ull)) return std::nullopt;
  return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(value)) : static_cast<std::int32_t>(value);
}

String Lowered(const String& Text) {
  String out = Text;
  for (WCHAR& c : out)
    if (c >= WCHAR('A') && c <= WCHAR('Z')) c = static_cast<WCHAR>(c + 32);
  return out;
}

// 1 to 4 for the power options, 0 for anything else.
int PowerOption(const String& Arg) {
  const String a = Lowered(Arg);
  if (a == WSTR("-reboot")) return 1;
  if (a == WSTR("-shutdown")) return 2;
  if (a == WSTR("-suspend")) return 3;
  if (a == WSTR("-hibernate")) return 4;
  return 0;
}

bool Same(const TRunSettings& A, const TRunSettings& B) {
  return A.WaitMsec == B.WaitMsec && A.MuteRequested == B.MuteRequested && A.MuteOn == B.MuteOn &&
         A.WithLock == B.WithLock && A.PowerRequested == B.PowerRequested && A.PowerAction == B.PowerAction &&
         A.PowerOff == B.PowerOff && A.ForceAction == B.ForceAction;
}

void CheckNumber(const String& Text) {
  const std::optional<std::int32_t> expected = ReferenceNumber(Text);
  std::int32_t value = 0x5EED;
  const bool ok = TryStrToInt32(Text, value);
  Check(ok == expected.has_value(), "TryStrToInt32 and the rules disagree on whether the text is a number");
  Check(ok ? value == *expected : value == 0x5EED, "TryStrToInt32 gives another value than the rules");
}

void CheckSplit(const String& Line, const std::vector<String>& Args) {
  const bool quoted = Line.find(WCHAR('"')) != String::npos;
  // What the arguments hold is the line's own text, in order, without the quotes.
  std::size_t at = 0;
  for (const String& arg : Args) {
    Check(!arg.empty(), "an empty argument");
    for (WCHAR c : arg) {
      Check(c != 0, "a null inside an argument");
      Check(c != WCHAR('"'), "a quote left in an argument");
      Check(quoted || static_cast<unsigned>(c) > 32, "a separator inside an argument of a line without quotes");
      while (at < Line.size() && Line[at] != c) ++at;
      Check(at < Line.size(), "an argument holds text the line does not have there");
      ++at;
    }
  }
}

void CheckSettings(const std::vector<String>& Args) {
  TRunSettings settings;
  ReadSettings(Args, settings);
  const std::size_t count = Args.empty() ? 0 : Args.size() - 1;

  // The wait: argument 1 when it is a number, else 300.
  std::int32_t wait = 300;
  if (count >= 1) {
    if (const std::optional<std::int32_t> n = ReferenceNumber(Args[1])) wait = *n;
  }
  Check(settings.WaitMsec == wait, "WaitMsec is not what argument 1 says (300 when it is no number)");

  // The scan: every argument up to the first power option, which ends it.
  std::size_t last = count;
  int power = 0;
  bool mute = false, muteOn = false, lock = false;
  for (std::size_t i = 1; i <= count; ++i) {
    const String a = Lowered(Args[i]);
    if (a == WSTR("-withlock")) lock = true;
    if (a == WSTR("-muteon")) mute = muteOn = true;
    if (a == WSTR("-muteoff")) {
      mute = true;
      muteOn = false;
    }
    power = PowerOption(Args[i]);
    if (power != 0) {
      last = i;
      break;
    }
  }
  Check(settings.MuteRequested == mute && settings.MuteOn == muteOn, "the mute settings do not follow the options");
  Check(settings.WithLock == lock, "WithLock does not follow the options");
  Check(settings.PowerRequested == (power != 0) && settings.PowerAction == (power != 0 ? power : 1),
        "the power settings do not follow the first power option");
  Check(!settings.MuteOn || settings.MuteRequested, "MuteOn without MuteRequested");
  Check(settings.PowerAction >= 1 && settings.PowerAction <= 4, "PowerAction outside 1 to 4");
  Check(!settings.PowerOff && !settings.ForceAction, "the settings phase set PowerOff or ForceAction");

  // Nothing after a power option is examined: options put there change nothing.
  if (power != 0 && last < count) {
    std::vector<String> changed(Args.begin(), Args.begin() + static_cast<std::ptrdiff_t>(last) + 1);
    const WCHAR* const options[] = {WSTR("-muteon"), WSTR("-withlock"), WSTR("-muteoff"), WSTR("-reboot"),
                                    WSTR("-hibernate")};
    for (std::size_t i = last + 1; i <= count; ++i) changed.push_back(options[i % 5]);
    TRunSettings again;
    ReadSettings(changed, again);
    Check(Same(settings, again), "an argument after a power option was examined");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  String line;
  for (std::size_t i = 0; i + 1 < Size; i += 2) line.push_back(static_cast<WCHAR>(Data[i] | (Data[i + 1] << 8)));

  // The whole input as one text for the number rules, nulls and all.
  CheckNumber(line);

  // The system hands over a terminated line: cut at the first null, in a
  // buffer of exactly that length, so that reading past the end is caught.
  const String terminated = line.substr(0, line.find(WCHAR(0)));
  std::vector<WCHAR> buffer(terminated.begin(), terminated.end());
  buffer.push_back(0);
  const std::vector<String> args = SplitCommandLine(buffer.data());
  CheckSplit(terminated, args);
  CheckSettings(args);
  return 0;
}
