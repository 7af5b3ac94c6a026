#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sim/CallLog.h"

namespace {

TEST(CommandLineTest, Splits) {
  struct Case {
    const char* Name;
    String Line;
    std::vector<std::string> Args;
  };
  const Case cases[] = {
      {"plain", WSTR("prog 1000 -muteon"), {"prog", "1000", "-muteon"}},
      {"runs of blanks and controls", WSTR("  prog\t\t1000\r\n\x01-x  "), {"prog", "1000", "-x"}},
      {"quoted run keeps blanks", WSTR("\"C:\\Program Files\\l.exe\" \"a b\""), {"C:\\Program Files\\l.exe", "a b"}},
      {"quotes inside an argument", WSTR("prog ab\"c d\"e"), {"prog", "abc de"}},
      {"no escape character", WSTR("prog a\\\"b c\\\" d"), {"prog", "a\\b c\\", "d"}},
      {"unterminated quote runs to the end", WSTR("prog \"a b"), {"prog", "a b"}},
      {"leading empty pair is skipped", WSTR("prog \"\" 500"), {"prog", "500"}},
      {"empty pair glued to an argument", WSTR("prog \"\"500"), {"prog", "500"}},
      {"repeated empty pairs", WSTR("prog \"\"\"\" \"\" -withlock"), {"prog", "-withlock"}},
      {"empty pair later in an argument", WSTR("prog a\"\"b"), {"prog", "ab"}},
      {"lone quote at the end ends the list", WSTR("prog a \""), {"prog", "a"}},
      {"empty line", WSTR(""), {}},
      {"blanks only", WSTR("   \t "), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Narrow(SplitCommandLine(c.Line.c_str())), c.Args) << c.Name;
  EXPECT_TRUE(SplitCommandLine(nullptr).empty());
}

TEST(CommandLineTest, ConvertsWaitValues) {
  struct Case {
    String Text;
    bool Valid;
    std::int32_t Value;
  };
  const Case cases[] = {
      {WSTR("0"), true, 0},
      {WSTR("1000"), true, 1000},
      {WSTR("+7"), true, 7},
      {WSTR("-5"), true, -5},
      {WSTR(" 42"), true, 42},
      {WSTR("   -42"), true, -42},
      {WSTR("2147483647"), true, 2147483647},
      {WSTR("-2147483648"), true, INT32_MIN},
      {WSTR("2147483648"), false, 0},
      {WSTR("-2147483649"), false, 0},
      {WSTR("99999999999999999999"), false, 0},
      {WSTR("000000000000000000001"), true, 1},
      {WSTR("$1F4"), true, 500},
      {WSTR("0x1f4"), true, 500},
      {WSTR("0X1F4"), true, 500},
      {WSTR("x1f4"), true, 500},
      {WSTR("X1f4"), true, 500},
      {WSTR("$7FFFFFFF"), true, 2147483647},
      {WSTR("$80000000"), true, INT32_MIN},
      {WSTR("$FFFFFFFF"), true, -1},
      {WSTR("$00000000FFFFFFFF"), true, -1},
      {WSTR("$100000000"), false, 0},
      {WSTR("-$1"), true, -1},
      {WSTR("-$FFFFFFFF"), true, 1},
      {WSTR("+0x10"), true, 16},
      {WSTR("12abc"), false, 0},
      {WSTR("$12G"), false, 0},
      {WSTR("1f4"), false, 0},
      {WSTR("$"), false, 0},
      {WSTR("0x"), false, 0},
      {WSTR("-"), false, 0},
      {WSTR("+"), false, 0},
      {WSTR("-$"), false, 0},
      {WSTR(""), false, 0},
      {WSTR("  "), false, 0},
      {WSTR("42 "), false, 0},
      {WSTR("--5"), false, 0},
      {WSTR("- 5"), false, 0},
      {WSTR("\x0665"), false, 0},  // an Arabic-Indic digit is not a digit here
  };
  for (const Case& c : cases) {
    std::int32_t value = 12345;
    EXPECT_EQ(TryStrToInt32(c.Text, value), c.Valid) << Narrow(c.Text);
    EXPECT_EQ(value, c.Valid ? c.Value : 12345) << Narrow(c.Text);
  }
}

TEST(CommandLineTest, ScansOptions) {
  struct Expected {
    std::int32_t WaitMsec = 300;
    bool MuteRequested = false;
    bool MuteOn = false;
    bool WithLock = false;
    bool PowerRequested = false;
    std::uint8_t PowerAction = 1;
  };
  struct Case {
    const char* Name;
    std::vector<String> Args;  // after the program
    Expected Settings;
  };
  auto with = [](auto change) {
    Expected e;
    change(e);
    return e;
  };
  const Case cases[] = {
      {"none", {}, {}},
      {"wait only", {WSTR("1000")}, with([](Expected& e) { e.WaitMsec = 1000; })},
      {"case of A-Z is ignored", {WSTR("-MuteOn")}, with([](Expected& e) { e.MuteRequested = e.MuteOn = true; })},
      {"only argument 1 is the wait", {WSTR("-muteon"), WSTR("500")}, with([](Expected& e) {
         e.MuteRequested = e.MuteOn = true;
       })},
      {"unmute with lock", {WSTR("500"), WSTR("-muteoff"), WSTR("-withlock")}, with([](Expected& e) {
         e.WaitMsec = 500;
         e.MuteRequested = e.WithLock = true;
       })},
      {"last mute option wins", {WSTR("500"), WSTR("-muteon"), WSTR("-muteoff")}, with([](Expected& e) {
         e.WaitMsec = 500;
         e.MuteRequested = true;
       })},
      {"repeated lock", {WSTR("-withlock"), WSTR("-WITHLOCK")}, with([](Expected& e) { e.WithLock = true; })},
      {"unknown option", {WSTR("500"), WSTR("-xyz")}, with([](Expected& e) { e.WaitMsec = 500; })},
      {"near misses", {WSTR("/muteon"), WSTR("--muteon"), WSTR("-mute"), WSTR("-muteon "), WSTR("muteon")}, {}},
      {"first power option ends the scan", {WSTR("-reboot"), WSTR("-shutdown"), WSTR("-muteon")}, with([](Expected& e) {
         e.PowerRequested = true;
       })},
      {"options before power stay", {WSTR("-withlock"), WSTR("-muteon"), WSTR("-Shutdown")}, with([](Expected& e) {
         e.WithLock = e.MuteRequested = e.MuteOn = e.PowerRequested = true;
         e.PowerAction = 2;
       })},
      {"suspend", {WSTR("-SUSPEND")}, with([](Expected& e) {
         e.PowerRequested = true;
         e.PowerAction = 3;
       })},
      {"hibernate", {WSTR("9"), WSTR("-hibernate")}, with([](Expected& e) {
         e.WaitMsec = 9;
         e.PowerRequested = true;
         e.PowerAction = 4;
       })},
      {"negative wait", {WSTR("-5")}, with([](Expected& e) { e.WaitMsec = -5; })},
      {"bad number keeps the default", {WSTR("12abc"), WSTR("-withlock")}, with([](Expected& e) {
         e.WithLock = true;
       })},
      // Only A-Z are lowered: a dotted capital I would become "i" under full case mapping.
      {"non-ASCII capitals are not lowered", {WSTR("-w\x0130thlock")}, {}},
  };
  for (const Case& c : cases) {
    std::vector<String> args{WSTR("Lullscreen.exe")};
    args.insert(args.end(), c.Args.begin(), c.Args.end());
    TRunSettings s;
    ReadSettings(args, s);
    EXPECT_EQ(s.WaitMsec, c.Settings.WaitMsec) << c.Name;
    EXPECT_EQ(s.MuteRequested, c.Settings.MuteRequested) << c.Name;
    EXPECT_EQ(s.MuteOn, c.Settings.MuteOn) << c.Name;
    EXPECT_EQ(s.WithLock, c.Settings.WithLock) << c.Name;
    EXPECT_EQ(s.PowerRequested, c.Settings.PowerRequested) << c.Name;
    EXPECT_EQ(s.PowerAction, c.Settings.PowerAction) << c.Name;
    EXPECT_FALSE(s.PowerOff) << c.Name;
    EXPECT_FALSE(s.ForceAction) << c.Name;
  }
}

TEST(CommandLineTest, ProgramNameIsNeverAnOption) {
  TRunSettings s;
  ReadSettings({WSTR("-reboot")}, s);
  EXPECT_FALSE(s.PowerRequested);
  EXPECT_EQ(s.WaitMsec, 300);
}

}  // namespace
