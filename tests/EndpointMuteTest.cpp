#include "app/EndpointMute.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sim/SimSystem.h"

namespace {

using Endpoint::EndpointMute;
using Endpoint::IsMajorVersion6;

TEST(EndpointMuteTest, OnlyMajorVersionSixTakesTheEndpointPath) {
  struct Case {
    DWORD Major;
    bool QueryFails;
    bool Endpoint;
  };
  const Case cases[] = {
      {5, false, false}, {6, false, true}, {10, false, false}, {7, false, false}, {6, true, false},
  };
  for (const Case& c : cases) {
    SimSystem sim;
    sim.Kernel32.MajorVersion = c.Major;
    if (c.QueryFails) sim.Log.FailNamed("GetVersionExW");
    EXPECT_EQ(IsMajorVersion6(sim.Kernel32), c.Endpoint) << c.Major << (c.QueryFails ? ", failing" : "");
    EXPECT_EQ(sim.Log.Calls(), std::vector<std::string>{"GetVersionExW(276)"});
  }
}

TEST(EndpointMuteTest, MutesTheDefaultEndpointAndReleasesEverythingFirst) {
  SimSystem sim;
  TConsole console(sim.Kernel32);
  EndpointMute(sim.Platform(), true, console);
  const std::vector<std::string> expected{
      "CoInitialize(null)",
      "CoCreateInstance({BCDE0395-E52F-467C-8E3D-C4579291692E},null,0x5,{00000000-0000-0000-C000-000000000046})",
      "IMMDeviceEnumerator.QueryInterface({A95664D2-9614-4F35-A746-DE8DB63617E6})",
      "IMMDeviceEnumerator.GetDefaultAudioEndpoint(0,0)",
      "IMMDevice.Activate({5CDF2C82-841E-4546-9722-0CF74078229A},7,null)",
      "IMMDevice.Release()",
      "IMMDeviceEnumerator.Release()",
      "IMMDeviceEnumerator.Release()",
      "IAudioEndpointVolume.SetMute(1,{00000000-0000-0000-0000-000000000000})",
      "IAudioEndpointVolume.Release()",
      "CoUninitialize()",
  };
  EXPECT_EQ(sim.Log.Calls(), expected);
  EXPECT_TRUE(sim.Ole32.Muted);
}

TEST(EndpointMuteTest, ReportsFailuresOnceAndGoesOn) {
  struct Case {
    const char* Name;
    bool MuteOn;
    BOOL MutedBefore;
    bool HasEndpoint;
    bool ActivateSucceeds;
    HRESULT SetMuteResult;
    const char* Failing;  // a call the plan fails, or null
    std::string Output;
    BOOL MutedAfter;
    std::size_t SetMuteCalls;
  };
  const Case cases[] = {
      {"mute", true, FALSE, true, true, S_OK, nullptr, "", TRUE, 1},
      {"unmute", false, TRUE, true, true, S_OK, nullptr, "", FALSE, 1},
      {"already muted", true, TRUE, true, true, S_OK, nullptr, "", TRUE, 1},
      {"SetMute fails", true, FALSE, true, true, E_FAIL, nullptr, "SetMuteError\r\n", FALSE, 1},
      {"no endpoint", true, FALSE, false, true, S_OK, nullptr, "SetMuteError\r\n", FALSE, 0},
      {"endpoint lookup fails", true, FALSE, true, true, S_OK, "IMMDeviceEnumerator.GetDefaultAudioEndpoint",
       "SetMuteError\r\n", FALSE, 0},
      {"no volume interface", false, TRUE, true, false, S_OK, nullptr, "SetMuteError\r\n", TRUE, 0},
  };
  for (const Case& c : cases) {
    SimSystem sim;
    sim.Ole32.Muted = c.MutedBefore;
    sim.Ole32.HasEndpoint = c.HasEndpoint;
    sim.Ole32.ActivateSucceeds = c.ActivateSucceeds;
    sim.Ole32.SetMuteResult = c.SetMuteResult;
    if (c.Failing != nullptr) sim.Log.FailNamed(c.Failing);
    TConsole console(sim.Kernel32);
    EndpointMute(sim.Platform(), c.MuteOn, console);

    EXPECT_EQ(sim.Kernel32.Output, c.Output) << c.Name;
    EXPECT_EQ(sim.Ole32.Muted, c.MutedAfter) << c.Name;
    EXPECT_EQ(sim.Log.Count("IAudioEndpointVolume.SetMute"), c.SetMuteCalls) << c.Name;
    EXPECT_EQ(sim.Log.Count("CoUninitialize"), 1u) << c.Name;
    EXPECT_EQ(sim.Ole32.InitCount, 0) << c.Name;
    EXPECT_EQ(sim.Ole32.ReferencesAtUninitialize, 0) << c.Name;
    EXPECT_EQ(sim.Ole32.CallsAfterRelease, 0) << c.Name;
  }
}

TEST(EndpointMuteTest, EnumeratorFailuresRaiseAfterEverythingIsLeft) {
  struct Case {
    const char* Name;
    bool Registered;
    bool Interface;
    String SystemText;  // FormatMessageW's answer for the code; empty: none
    std::string ClassName;
    String Message;
  };
  const String classId = WSTR(", ClassID: {BCDE0395-E52F-467C-8E3D-C4579291692E}");
  const Case cases[] = {
      {"class not registered", false, true, WSTR("Class not registered\r\n"), "EOleSysError",
       WSTR("Class not registered") + classId},
      {"trailing periods, blanks and controls trimmed", false, true, WSTR("Not here. \t.\r\n"), "EOleSysError",
       WSTR("Not here") + classId},
      {"inner periods kept", false, true, WSTR("No. 5 is gone."), "EOleSysError", WSTR("No. 5 is gone") + classId},
      {"no system text", false, true, WSTR(""), "EOleSysError", WSTR("OLE error 80040154") + classId},
      {"interface missing", true, false, WSTR(""), "EIntfCastError",
       WSTR("Interface \x306F\x30B5\x30DD\x30FC\x30C8\x3055\x308C\x3066\x3044\x307E\x305B\x3093")},
  };
  for (const Case& c : cases) {
    SimSystem sim;
    sim.Ole32.EnumeratorRegistered = c.Registered;
    sim.Ole32.EnumeratorInterface = c.Interface;
    if (!c.SystemText.empty()) sim.Kernel32.SystemMessages[static_cast<DWORD>(REGDB_E_CLASSNOTREG)] = c.SystemText;
    TConsole console(sim.Kernel32);
    try {
      EndpointMute(sim.Platform(), true, console);
      ADD_FAILURE() << c.Name << ": no exception";
    } catch (const EOleSysError& e) {
      EXPECT_EQ(e.ErrorCode(), REGDB_E_CLASSNOTREG) << c.Name;
      EXPECT_EQ(Narrow(e.ClassName()), c.ClassName) << c.Name;
      EXPECT_EQ(Narrow(e.Message()), Narrow(c.Message)) << c.Name;
      EXPECT_EQ(sim.Log.Named("FormatMessageW"), std::vector<std::string>{"FormatMessageW(0x1200,0x80040154,0,256)"});
    } catch (const Exception& e) {
      EXPECT_EQ(Narrow(e.ClassName()), c.ClassName) << c.Name;
      EXPECT_EQ(Narrow(e.Message()), Narrow(c.Message)) << c.Name;
    }
    EXPECT_EQ(sim.Log.Count("CoUninitialize"), 1u) << c.Name;
    EXPECT_EQ(sim.Ole32.ReferencesAtUninitialize, 0) << c.Name;
    EXPECT_EQ(sim.Ole32.InitCount, 0) << c.Name;
    EXPECT_EQ(sim.Kernel32.Output, "") << c.Name;
  }
}

// The apartment is left exactly when this step entered it: a repeated
// initialisation (S_FALSE) is undone too, a failed one never.
TEST(EndpointMuteTest, UndoesOnlyAnInitialisationThatSucceeded) {
  struct Case {
    const char* Name;
    bool InitFails;
    std::size_t Uninitialize;
  };
  const Case cases[] = {{"already initialised: S_FALSE", false, 1}, {"initialisation fails", true, 0}};
  for (const Case& c : cases) {
    SimSystem sim;
    sim.Ole32.InitCount = 1;  // the thread's own apartment, from before the step
    if (c.InitFails) sim.Log.FailNamed("CoInitialize");
    TConsole console(sim.Kernel32);
    EndpointMute(sim.Platform(), true, console);
    EXPECT_TRUE(sim.Ole32.Muted) << c.Name;
    EXPECT_EQ(sim.Log.Count("CoUninitialize"), c.Uninitialize) << c.Name;
    EXPECT_EQ(sim.Ole32.InitCount, 1) << c.Name << ": the thread's own apartment stays";
  }
}

}  // namespace
