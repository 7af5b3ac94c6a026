#include "console/Console.h"

#include <gtest/gtest.h>

#include <string>

#include "sim/SimSystem.h"

namespace {

TEST(ConsoleTest, WritesEachLineWithOneLineEnd) {
  // On a console the text goes out as UTF-16, as it is; redirected, as bytes
  // in the ANSI code page.
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
  for (const bool onConsole : {false, true}) {
    for (const Case& c : cases) {
      CallLog log;
      SimKernel32 kernel32(log);
      kernel32.ConsoleOutput = onConsole;
      TConsole console(kernel32);
      console.WriteLine(c.Text);
      EXPECT_EQ(kernel32.Output, onConsole ? "" : c.Bytes) << c.Name;
      EXPECT_TRUE(kernel32.ConsoleText == (onConsole ? c.Text + WSTR("\r\n") : String()))
          << c.Name << ": every code unit kept, " << Narrow(kernel32.ConsoleText);
      EXPECT_EQ(log.Count("WriteConsoleW"), onConsole ? 1u : 0u) << c.Name;
      EXPECT_EQ(log.Count("WriteFile") + log.Count("WideCharToMultiByte"), onConsole        ? 0u
                                                                           : c.Text.empty() ? 1u
                                                                                            : 3u)
          << c.Name;
    }
  }
}

TEST(ConsoleTest, WritesALongLineInPiecesUntilAllIsTaken) {
  // A console refuses a write larger than its shared heap; a pipe may take part of one.
  const String pair = WSTR("\xD83D\xDE00");
  struct Case {
    const char* Name;
    bool OnConsole;
    String Text;
    DWORD Takes;  // the most one write takes (console: more fails)
    bool Written;
  };
  const Case cases[] = {
      {"console: pieces, no surrogate pair split", true, String(4095, 'a') + pair + String(6000, 'b'), 4096, true},
      {"pipe taking three bytes a write", false, WSTR("SetMuteError"), 3, true},
      {"pipe that takes nothing", false, WSTR("x"), 0, false},
  };
  for (const Case& c : cases) {
    CallLog log;
    SimKernel32 kernel32(log);
    kernel32.ConsoleOutput = c.OnConsole;
    (c.OnConsole ? kernel32.ConsoleTakesAtMost : kernel32.PipeTakes) = c.Takes;
    EXPECT_EQ(TConsole(kernel32).TryWriteLine(c.Text), c.Written) << c.Name;
    if (!c.Written) continue;
    const String line = c.Text + WSTR("\r\n");
    EXPECT_TRUE(c.OnConsole ? kernel32.ConsoleText == line : kernel32.Output == Narrow(c.Text) + "\r\n") << c.Name;
    std::size_t at = 0;
    for (const std::size_t piece : kernel32.ConsolePieces) {
      at += piece;
      EXPECT_FALSE(at < line.size() && line[at - 1] == pair[0]) << c.Name << ": a pair split at " << at;
    }
  }
}

TEST(ConsoleTest, FailedWriteRaisesOrReports) {
  struct Case {
    bool OnConsole;
    const char* Failing;
  };
  const Case cases[] = {{false, "WriteFile"},
                        {false, "WideCharToMultiByte"},
                        {false, "GetStdHandle"},
                        {true, "WriteConsoleW"},
                        {true, "GetStdHandle"}};
  for (const Case& c : cases) {
    CallLog log;
    SimKernel32 kernel32(log);
    kernel32.ConsoleOutput = c.OnConsole;
    TConsole console(kernel32);
    log.FailNamed(c.Failing);
    EXPECT_FALSE(console.TryWriteLine(WSTR("text"))) << c.Failing;
    try {
      console.WriteLine(WSTR("text"));
      ADD_FAILURE() << "no exception when " << c.Failing << " fails";
    } catch (const Exception& e) {
      EXPECT_EQ(Narrow(e.ClassName()), "EInOutError") << c.Failing;
      EXPECT_EQ(Narrow(e.Message()), "I/O error") << c.Failing;
    }
    EXPECT_EQ(kernel32.Output, "") << c.Failing;
    EXPECT_TRUE(kernel32.ConsoleText.empty()) << c.Failing;
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
