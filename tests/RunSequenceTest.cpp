#include "app/RunSequence.h"

#include <gtest/gtest.h>

#include <exception>
#include <string>
#include <vector>

#include "console/Terminate.h"
#include "app/Usage.h"
#include "mixers/Mixers.h"
#include "sim/SimSystem.h"

namespace {

HWND const Shell = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x10010));

std::string Post(int state) {
  return "PostMessageW(" + Arg(static_cast<const void*>(Shell)) + ",0x112,0xF170," + std::to_string(state) + ")";
}

// The calls that make up the run's effects, in order. A run of tick polls with
// 1 ms sleeps becomes one "Delay"; console, command line, privilege, COM
// reference and mixer scan calls are left out (their own tests cover them).
std::vector<std::string> Effects(const CallLog& log) {
  static const char* const kept[] = {"GetVersionExW", "CoInitialize",           "CoUninitialize",
                                     "FindWindowW",   "PostMessageW",           "LockWorkStation",
                                     "ExitWindowsEx", "SetSystemPowerState",    "Sleep",
                                     "GetTickCount",  "mixerSetControlDetails", "IAudioEndpointVolume.SetMute"};
  std::vector<std::string> out;
  for (const std::string& call : log.Calls()) {
    const std::string name = CallLog::NameOf(call);
    bool keep = false;
    for (const char* k : kept) keep = keep || name == k;
    if (!keep) continue;
    if (name == "GetTickCount" || call == "Sleep(1)") {
      if (out.empty() || out.back() != "Delay") out.push_back("Delay");
      continue;
    }
    if (name == "mixerSetControlDetails" || name == "IAudioEndpointVolume.SetMute")
      out.push_back(name);
    else
      out.push_back(call);
  }
  return out;
}

std::string UsageText() {
  std::string out;
  for (const WCHAR* line : UsageLines()) out += Narrow(line) + "\r\n";
  return out;
}

struct Machine {
  DWORD Major = 5;
  bool HasEndpoint = true;
  BOOL EndpointMuted = FALSE;
  DWORD MixerMuted = 0;
  bool Planted = false;  // a file beside the program that audio code would load
};

Machine OnVersion(DWORD major, bool hasEndpoint = true, BOOL endpointMuted = FALSE) {
  Machine m;
  m.Major = major;
  m.HasEndpoint = hasEndpoint;
  m.EndpointMuted = endpointMuted;
  return m;
}

Machine PlantedOn(DWORD major) {
  Machine m = OnVersion(major);
  m.Planted = true;
  return m;
}

Machine MixerMuted() {
  Machine m;
  m.MixerMuted = 1;
  return m;
}

TEST(RunSequenceTest, RunsTheActionsInTheirOrder) {
  const std::vector<std::string> display{"Delay", "FindWindowW(\"ProgMan\",null)", Post(1), "Sleep(0)", Post(2)};
  auto then = [](std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  };
  const std::vector<std::string> version{"GetVersionExW(276)"};
  const std::vector<std::string> mixerMute = then(version, {"mixerSetControlDetails", "mixerSetControlDetails"});
  const std::vector<std::string> endpointMute =
      then(version, {"CoInitialize(null)", "IAudioEndpointVolume.SetMute", "CoUninitialize()"});
  const std::vector<std::string> lock{"LockWorkStation()"};
  const std::string LeftOut =
      "The mute is left out: C:\\Downloads\\msacm32.dll has the name of a system DLL, and this Windows would load "
      "it in place of the system's.\r\n";

  struct Case {
    const char* Name;
    String CommandLine;
    Machine On;
    std::vector<std::string> Effects;
    DWORD Waited;  // ticks that passed; Delay(n) takes n + 2 on the simulator's clock
    std::string Output;
  };
  const Case cases[] = {
      {"no arguments", WSTR("Lullscreen.exe"), {}, display, 302, UsageText()},
      {"quoted program path", WSTR("\"C:\\Program Files\\Lullscreen.exe\"  "), {}, display, 302, UsageText()},
      {"wait only", WSTR("Lullscreen.exe 1000"), {}, display, 1002, ""},
      {"mute, any case", WSTR("Lullscreen.exe -MuteOn"), {}, then(mixerMute, display), 302, ""},
      {"only argument 1 is the wait", WSTR("Lullscreen.exe -muteon 500"), {}, then(mixerMute, display), 302, ""},
      {"unmute ends the run", WSTR("Lullscreen.exe 500 -muteoff -withlock"), MixerMuted(), mixerMute, 0, ""},
      {"last mute option wins", WSTR("Lullscreen.exe 500 -muteon -muteoff"), MixerMuted(), mixerMute, 0, ""},
      {"wait and lock", WSTR("Lullscreen.exe 500 -withlock"), {}, then(display, lock), 502, ""},
      {"lock alone", WSTR("Lullscreen.exe -withlock"), {}, then(display, lock), 302, ""},
      {"mute, wait and lock",
       WSTR("Lullscreen.exe 1000 -muteon -withlock"),
       {},
       then(then(mixerMute, display), lock),
       1002,
       ""},
      {"two arguments, nothing known", WSTR("Lullscreen.exe 500 -xyz"), {}, {}, 0, ""},
      {"not options", WSTR("Lullscreen.exe /muteon --muteon -mute"), {}, {}, 0, ""},
      {"one unknown argument", WSTR("Lullscreen.exe /muteon"), {}, display, 302, ""},
      {"first power option wins", WSTR("Lullscreen.exe -reboot -shutdown"), {}, {"ExitWindowsEx(0xE,0)"}, 0, ""},
      {"lock then reboot", WSTR("Lullscreen.exe -withlock -reboot"), {}, {"ExitWindowsEx(0xE,0)"}, 0, ""},
      {"mute then reboot", WSTR("Lullscreen.exe -muteon -reboot"), {}, {"ExitWindowsEx(0xE,0)"}, 0, ""},
      {"shutdown", WSTR("Lullscreen.exe 10 -shutdown -withlock"), {}, {"ExitWindowsEx(0xD,0)"}, 0, ""},
      {"suspend", WSTR("Lullscreen.exe -suspend"), {}, {"SetSystemPowerState(1,1)"}, 0, ""},
      {"hibernate", WSTR("Lullscreen.exe -hibernate"), {}, {"SetSystemPowerState(0,1)"}, 0, ""},
      {"hexadecimal wait", WSTR("Lullscreen.exe $1F4"), {}, display, 502, ""},
      {"hexadecimal wait, C style", WSTR("Lullscreen.exe 0x1f4"), {}, display, 502, ""},
      {"bad number", WSTR("Lullscreen.exe 12abc"), {}, display, 302, ""},
      {"negative wait polls once", WSTR("Lullscreen.exe -5"), {}, display, 1, ""},
      {"empty first argument is skipped", WSTR("Lullscreen.exe \"\" 500 -withlock"), {}, then(display, lock), 502, ""},
      {"endpoint on major version 6", WSTR("Lullscreen.exe -muteon"), OnVersion(6), then(endpointMute, display), 302,
       ""},
      {"endpoint already muted", WSTR("Lullscreen.exe -muteon"), OnVersion(6, true, TRUE), then(endpointMute, display),
       302, ""},
      {"mixer on major version 10", WSTR("Lullscreen.exe -muteon"), OnVersion(10), then(mixerMute, display), 302, ""},
      {"no endpoint: report and go on", WSTR("Lullscreen.exe -muteon"), OnVersion(6, false),
       then(then(version, {"CoInitialize(null)", "CoUninitialize()"}), display), 302, "SetMuteError\r\n"},
      {"no endpoint, unmute", WSTR("Lullscreen.exe -muteoff"), OnVersion(6, false),
       then(version, {"CoInitialize(null)", "CoUninitialize()"}), 0, "SetMuteError\r\n"},
      {"planted DLL: no mute, the display still off", WSTR("Lullscreen.exe -muteon"), PlantedOn(5), display, 302,
       LeftOut},
      {"planted DLL: no unmute, on either path", WSTR("Lullscreen.exe -muteoff"), PlantedOn(6), {}, 0, LeftOut},
  };
  for (const Case& c : cases) {
    SimSystem sim;
    sim.Kernel32.CommandLine = c.CommandLine;
    sim.Kernel32.MajorVersion = c.On.Major;
    sim.User32.ShellWindow = Shell;
    sim.Ole32.HasEndpoint = c.On.HasEndpoint;
    sim.Ole32.Muted = c.On.EndpointMuted;
    SimDevice device = SimWinmm::TypicalDevice(WSTR("Speakers"));
    for (SimDestination& d : device.Destinations) {
      d.Controls[1].Values = {c.On.MixerMuted};
      for (SimLine& s : d.Sources) s.Controls[1].Values = {c.On.MixerMuted};
    }
    sim.Winmm.AddDevice(device);
    if (c.On.Planted) sim.PlantedLibrary = [] { return String(WSTR("C:\\Downloads\\msacm32.dll")); };
    const DWORD start = sim.Kernel32.Tick;

    EXPECT_EQ(RunLullscreen(sim.Platform()), 0) << c.Name;
    EXPECT_EQ(Effects(sim.Log), c.Effects) << c.Name;
    EXPECT_EQ(static_cast<DWORD>(sim.Kernel32.Tick - start), c.Waited) << c.Name;
    EXPECT_EQ(sim.Kernel32.Output, c.Output) << c.Name;
    EXPECT_EQ(sim.Log.Count("ReadFile"), 0u) << c.Name;
  }
}

TEST(RunSequenceTest, ReportsAnExceptionAndReadsOneLine) {
  const std::string classId = ", ClassID: {BCDE0395-E52F-467C-8E3D-C4579291692E}";
  struct Case {
    const char* Name;
    String CommandLine;
    bool Registered;
    bool Interface;
    const char* Failing;  // a call the plan fails, or null
    bool InputClosed;
    std::string FirstLine;  // the report's first line; "EMixerError: " matches any message
  };
  const Case cases[] = {
      {"class not registered", WSTR("Lullscreen.exe -muteon"), false, true, nullptr, false,
       "EOleSysError: Class not registered" + classId},
      {"standard input closed", WSTR("Lullscreen.exe -muteon -withlock"), false, true, nullptr, true,
       "EOleSysError: Class not registered" + classId},
      {"interface missing", WSTR("Lullscreen.exe 100 -muteoff"), true, false, nullptr, false,
       "EIntfCastError: Interface ????????????"},
      {"creation fails with another code", WSTR("Lullscreen.exe -muteon"), true, true, "CoCreateInstance", false,
       "EOleSysError: Unspecified error" + classId},
  };
  for (const Case& c : cases) {
    SimSystem sim;
    sim.Kernel32.CommandLine = c.CommandLine;
    sim.Kernel32.MajorVersion = 6;
    sim.Kernel32.SystemMessages[static_cast<DWORD>(REGDB_E_CLASSNOTREG)] = WSTR("Class not registered\r\n");
    sim.Kernel32.SystemMessages[static_cast<DWORD>(E_FAIL)] = WSTR("Unspecified error\r\n");
    sim.Kernel32.Input = c.InputClosed ? "" : "\nnext\n";
    sim.Kernel32.InputClosed = c.InputClosed;
    sim.Ole32.EnumeratorRegistered = c.Registered;
    sim.Ole32.EnumeratorInterface = c.Interface;
    if (c.Failing != nullptr) sim.Log.FailNamed(c.Failing);

    EXPECT_EQ(RunLullscreen(sim.Platform()), 0) << c.Name;
    EXPECT_EQ(sim.Kernel32.Output, c.FirstLine + "\r\nPress any key to continue.\r\n") << c.Name;
    EXPECT_EQ(sim.Kernel32.Input, c.InputClosed ? "" : "next\n") << c.Name << ": one line read";
    EXPECT_EQ(sim.Log.Count("ReadFile"), 1u) << c.Name;
    EXPECT_EQ(sim.Log.Count("FindWindowW") + sim.Log.Count("LockWorkStation"), 0u) << c.Name;
    EXPECT_EQ(sim.Log.Calls({"CoUninitialize", "WriteFile"}).front(), "CoUninitialize()")
        << c.Name << ": COM is left before the report";
  }
}

TEST(RunSequenceTest, FailedWritesInsideAndAfterTheActions) {
  // "SetMuteError" cannot be written: that failure is reported like any other.
  {
    SimSystem sim;
    sim.Kernel32.CommandLine = WSTR("Lullscreen.exe -muteon");
    sim.Kernel32.MajorVersion = 6;
    sim.Ole32.HasEndpoint = false;
    sim.Log.FailNamed("WriteFile", 0);
    EXPECT_EQ(RunLullscreen(sim.Platform()), 0);
    EXPECT_EQ(sim.Kernel32.Output, "EInOutError: I/O error\r\nPress any key to continue.\r\n");
    EXPECT_EQ(sim.Log.Count("FindWindowW"), 0u);
  }
  // No write succeeds at all: the usage is skipped, the report too, and the run still ends with 0.
  {
    SimSystem sim;
    sim.Kernel32.CommandLine = WSTR("Lullscreen.exe");
    sim.User32.ShellWindow = Shell;
    sim.Log.FailNamed("WriteFile");
    EXPECT_EQ(RunLullscreen(sim.Platform()), 0);
    EXPECT_EQ(sim.Log.Count("WriteFile"), 10u);
    EXPECT_EQ(sim.Log.Named("PostMessageW"), (std::vector<std::string>{Post(1), Post(2)}));
  }
}

TEST(RunSequenceTest, MixerFailureIsReported) {
  SimSystem sim;
  sim.Kernel32.CommandLine = WSTR("Lullscreen.exe -muteon");
  sim.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Speakers")));
  sim.Log.FailNamed("mixerSetControlDetails");
  sim.Kernel32.InputClosed = true;
  EXPECT_EQ(RunLullscreen(sim.Platform()), 0);
  const std::string& out = sim.Kernel32.Output;
  EXPECT_EQ(out.rfind("EMixerError: ", 0), 0u) << out;
  const std::string tail = "\r\nPress any key to continue.\r\n";
  ASSERT_GE(out.size(), tail.size());
  EXPECT_EQ(out.substr(out.size() - tail.size()), tail);
  EXPECT_EQ(sim.Log.Count("FindWindowW"), 0u);
  EXPECT_EQ(sim.Winmm.OpenHandleCount(), 0u);
}

// What nothing catches ends the program with one fixed line (the C++ runtime's
// own report is not linked into the programs).
TEST(RunSequenceDeathTest, AnExceptionNothingCatchesEndsWithOneLine) {
  EXPECT_DEATH(
      {
        InstallTerminateHandler("Lullscreen");
        std::terminate();
      },
      "^Lullscreen: unexpected error, stopping\\.");
}

}  // namespace
