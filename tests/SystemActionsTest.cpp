#include "app/SystemActions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/SimSystem.h"

namespace {

HANDLE const ProcessPseudoHandle = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
HWND const Shell = reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x10010));

std::vector<std::string> NamesOf(const CallLog& log) {
  std::vector<std::string> out;
  for (const std::string& call : log.Calls()) out.push_back(CallLog::NameOf(call));
  return out;
}

TEST(SystemActionsTest, DelayPollsUntilMoreThanTheWaitHasPassed) {
  struct Case {
    const char* Name;
    DWORD StartTick;
    DWORD TicksPerSleep;
    DWORD Msec;
    std::size_t Sleeps;
  };
  const Case cases[] = {
      {"zero waits for the tick to move", 1000, 0, 0, 2},
      {"ordinary", 1000, 0, 300, 302},
      {"coarse timer", 1000, 15, 100, 8},
      {"across the counter's wrap", 0xFFFFFF00u, 0, 1000, 1002},
      {"ending on the wrap", 0xFFFFFFFFu, 0, 1, 3},
      {"largest positive wait", 1000, 0x7FFFFFFFu, 0x7FFFFFFFu, 2},
      {"negative: first poll only", 1000, 0, 0xFFFFFFFBu, 1},
      {"negative, no wrap of the old deadline: still first poll only", 3, 0, 0xFFFFFFFBu, 1},
      {"smallest negative", 1000, 0, 0x80000000u, 1},
  };
  for (const Case& c : cases) {
    SimSystem sim;
    sim.Kernel32.Tick = c.StartTick;
    sim.Kernel32.TicksPerSleep = c.TicksPerSleep;
    Delay(sim.Kernel32, c.Msec);

    std::vector<std::string> expected{"GetTickCount()"};
    for (std::size_t i = 0; i < c.Sleeps; ++i) {
      expected.push_back("GetTickCount()");
      expected.push_back("Sleep(1)");
    }
    EXPECT_EQ(sim.Log.Calls(), expected) << c.Name;
    // The tick read by the last poll lies more than the wait past the start.
    const DWORD lastPoll = static_cast<DWORD>(sim.Kernel32.Tick - 1u - c.TicksPerSleep - c.StartTick);
    if (c.Msec < 0x80000000u) {
      EXPECT_GT(lastPoll, c.Msec) << c.Name;
    }
  }
}

TEST(SystemActionsTest, DisplayOffPostsLowPowerThenOff) {
  for (HWND shell : {Shell, static_cast<HWND>(nullptr)}) {
    SimSystem sim;
    sim.User32.ShellWindow = shell;
    sim.Log.FailNamed("PostMessageW", 0);  // a refused post changes nothing
    DisplayOff(sim.Platform());
    const std::vector<std::string> expected{
        "FindWindowW(\"ProgMan\",null)",
        "PostMessageW(" + Arg(static_cast<const void*>(shell)) + ",0x112,0xF170,1)",
        "Sleep(0)",
        "PostMessageW(" + Arg(static_cast<const void*>(shell)) + ",0x112,0xF170,2)",
    };
    EXPECT_EQ(sim.Log.Calls(), expected);
  }
}

TEST(SystemActionsTest, ShutdownPrivilegeClosesTheTokenExactlyWhenOpened) {
  struct Case {
    const char* Name;
    const char* Failing;
    bool Result;
    std::vector<std::string> Calls;
  };
  const Case cases[] = {
      {"granted",
       nullptr,
       true,
       {"GetCurrentProcess", "OpenProcessToken", "LookupPrivilegeValueW", "AdjustTokenPrivileges", "CloseHandle"}},
      {"token refused", "OpenProcessToken", false, {"GetCurrentProcess", "OpenProcessToken"}},
      {"name unknown",
       "LookupPrivilegeValueW",
       false,
       {"GetCurrentProcess", "OpenProcessToken", "LookupPrivilegeValueW", "CloseHandle"}},
      {"adjustment refused",
       "AdjustTokenPrivileges",
       false,
       {"GetCurrentProcess", "OpenProcessToken", "LookupPrivilegeValueW", "AdjustTokenPrivileges", "CloseHandle"}},
  };
  for (const Case& c : cases) {
    for (bool enable : {true, false}) {
      SimSystem sim;
      if (c.Failing != nullptr) sim.Log.FailNamed(c.Failing);
      EXPECT_EQ(SetShutdownPrivilege(sim.Platform(), enable), c.Result) << c.Name;
      EXPECT_EQ(NamesOf(sim.Log), c.Calls) << c.Name;
      EXPECT_EQ(sim.Kernel32.OpenHandleCount(), 0u) << c.Name;
      if (c.Failing == nullptr) {
        EXPECT_EQ(sim.Advapi32.ShutdownEnabled, enable) << c.Name;
      }
      if (c.Failing == nullptr || std::string(c.Failing) != "OpenProcessToken") {
        EXPECT_EQ(sim.Log.Calls({"OpenProcessToken", "LookupPrivilegeValueW"}),
                  (std::vector<std::string>{"OpenProcessToken(" + Arg(ProcessPseudoHandle) + ",0x28)",
                                            "LookupPrivilegeValueW(null,\"SeShutdownPrivilege\")"}))
            << c.Name;
      }
    }
  }
}

TEST(SystemActionsTest, PowerActionsMakeExactlyTheirCall) {
  struct Case {
    std::uint8_t PowerAction;
    bool PowerOff;
    bool ForceAction;
    std::string PowerCall;
  };
  const Case cases[] = {
      {1, true, true, "ExitWindowsEx(0xE,0)"},     {2, true, true, "ExitWindowsEx(0xD,0)"},
      {3, true, true, "SetSystemPowerState(1,1)"}, {4, true, true, "SetSystemPowerState(0,1)"},
      {1, false, false, "ExitWindowsEx(0x2,0)"},   {2, false, true, "ExitWindowsEx(0x5,0)"},
      {2, true, false, "ExitWindowsEx(0x9,0)"},    {3, false, false, "SetSystemPowerState(1,0)"},
  };
  const std::vector<std::string> privilege{"GetCurrentProcess", "OpenProcessToken", "LookupPrivilegeValueW",
                                           "AdjustTokenPrivileges", "CloseHandle"};
  for (const Case& c : cases) {
    SimSystem sim;
    TRunSettings settings;
    settings.PowerRequested = true;
    settings.PowerAction = c.PowerAction;
    settings.PowerOff = c.PowerOff;
    settings.ForceAction = c.ForceAction;
    EXPECT_TRUE(DoPowerAction(sim.Platform(), settings)) << c.PowerCall;

    // The privilege is taken before the power call and given back after it.
    std::vector<std::string> names = privilege;
    names.push_back(CallLog::NameOf(c.PowerCall));
    names.insert(names.end(), privilege.begin(), privilege.end());
    EXPECT_EQ(NamesOf(sim.Log), names) << c.PowerCall;
    EXPECT_EQ(sim.Log.Calls({"ExitWindowsEx", "SetSystemPowerState"}), std::vector<std::string>{c.PowerCall});
    // Not disabling all; one entry with the looked-up identifier; a 16-byte record.
    const std::vector<std::string> adjusts = sim.Log.Named("AdjustTokenPrivileges");
    EXPECT_NE(adjusts[0].find(",0,1,{19,0},0x2,16)"), std::string::npos) << "enabled before the call";
    EXPECT_NE(adjusts[1].find(",0,1,{19,0},0x0,16)"), std::string::npos) << "disabled after it";
    EXPECT_FALSE(sim.Advapi32.ShutdownEnabled);
  }
}

TEST(SystemActionsTest, PowerActionResultIsThePowerCall) {
  struct Case {
    const char* Name;
    std::uint8_t PowerAction;
    const char* Failing;
    bool Result;
  };
  const Case cases[] = {
      {"reboot refused", 1, "ExitWindowsEx", false},
      {"suspend refused", 3, "SetSystemPowerState", false},
      // A missing privilege passes silently: the power call is still made.
      {"no token", 2, "OpenProcessToken", true},
      {"privilege not adjusted", 4, "AdjustTokenPrivileges", true},
  };
  for (const Case& c : cases) {
    SimSystem sim;
    sim.Log.FailNamed(c.Failing);
    TRunSettings settings;
    settings.PowerAction = c.PowerAction;
    settings.PowerOff = settings.ForceAction = true;
    EXPECT_EQ(DoPowerAction(sim.Platform(), settings), c.Result) << c.Name;
    EXPECT_EQ(sim.Log.Count("ExitWindowsEx") + sim.Log.Count("SetSystemPowerState"), 1u) << c.Name;
    EXPECT_EQ(sim.Kernel32.OpenHandleCount(), 0u) << c.Name;
  }
}

}  // namespace
