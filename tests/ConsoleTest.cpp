#include "app/Console.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/SimSystem.h"

namespace {

TEST(ConsoleTest, WritesEachLineWithOneLineEnd) {
  struct Case {
    const char* Name;
    String Text;
    std::string Bytes;
  };
  const Case cases[] = {
      {"ASCII", WSTR("SetMuteError"), "SetMuteError\r\n"},
      {"empty line", WSTR(""), "\r\n"},
      {"outside ASCII becomes ?", WSTR("a\x00E9z \x30A4\x30F3"), "a?z ??\r\n"},
      {"surrogate pair is one character", WSTR("x\xD83D\xDE00y"), "x?y\r\n"},
  };
  for (const Case& c : cases) {
    CallLog log;
    SimKernel32 kernel32(log);
    TConsole console(kernel32);
    console.WriteLine(c.Text);
    EXPECT_EQ(kernel32.Output, c.Bytes) << c.Name;
    EXPECT_EQ(log.Count("WriteFile"), 1u) << c.Name;
  }
}

TEST(ConsoleTest, FailedWriteRaisesOrReports) {
  for (const char* failing : {"WriteFile", "WideCharToMultiByte", "GetStdHandle"}) {
    CallLog log;
    SimKernel32 kernel32(log);
    TConsole console(kernel32);
    log.FailNamed(failing);
    EXPECT_FALSE(console.TryWriteLine(WSTR("text"))) << failing;
    try {
      console.WriteLine(WSTR("text"));
      ADD_FAILURE() << "no exception when " << failing << " fails";
    } catch (const Exception& e) {
      EXPECT_EQ(Narrow(e.ClassName()), "EInOutError") << failing;
      EXPECT_EQ(Narrow(e.Message()), "I/O error") << failing;
    }
    EXPECT_EQ(kernel32.Output, "") << failing;
  }
}

TEST(ConsoleTest, ReadsOneLineAndStopsAtTheEnd) {
  struct Case {
    const char* Name;
    std::string Input;
    bool Closed;
    const char* Failing;  // a call the plan fails, or null
    std::string Left;
    std::size_t Reads;
  };
  const Case cases[] = {
      {"one line of several", "yes\r\nmore\n", false, nullptr, "more\n", 5},
      {"empty line", "\nrest", false, nullptr, "rest", 1},
      {"end of input without a line end", "abc", false, nullptr, "", 4},
      {"end of input at once", "", false, nullptr, "", 1},
      {"standard input closed", "", true, nullptr, "", 1},
      {"read fails", "abc\n", false, "ReadFile", "abc\n", 1},
      {"no input handle", "abc\n", false, "GetStdHandle", "abc\n", 0},
  };
  for (const Case& c : cases) {
    CallLog log;
    SimKernel32 kernel32(log);
    kernel32.Input = c.Input;
    kernel32.InputClosed = c.Closed;
    if (c.Failing != nullptr) log.FailNamed(c.Failing);
    TConsole(kernel32).ReadLine();
    EXPECT_EQ(kernel32.Input, c.Left) << c.Name;
    EXPECT_EQ(log.Count("ReadFile"), c.Reads) << c.Name;
  }
}

}  // namespace
