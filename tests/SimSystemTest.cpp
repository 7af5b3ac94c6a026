// The simulated system behaves as its header documents in the places other
// tests lean on: window life and dispatch, the default window procedure,
// locale comparison, the console, COM references and the failure plan.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/platform/MMDeviceApi.h"
#include "sim/SimSystem.h"

namespace {

using ::testing::Contains;

struct Delivered {
  HWND Window;
  UINT Msg;
  LPVOID CreateParam;  // from the CREATESTRUCTW of WM_NCCREATE and WM_CREATE
};
std::vector<Delivered> Deliveries;

// A pointer value no call may leave in an output parameter it fails.
template <class T>
T* Stale() {
  return reinterpret_cast<T*>(static_cast<std::uintptr_t>(0x10));
}
LRESULT NcCreateAnswer = TRUE;
LRESULT CreateAnswer = 0;

LRESULT CALLBACK RecordingProc(HWND hWnd, UINT Msg, WPARAM, LPARAM lParam) {
  LPVOID param = nullptr;
  if (Msg == WM_NCCREATE || Msg == WM_CREATE) param = reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams;
  Deliveries.push_back({hWnd, Msg, param});
  if (Msg == WM_NCCREATE) return NcCreateAnswer;
  if (Msg == WM_CREATE) return CreateAnswer;
  return 42;
}

class SimSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Deliveries.clear();
    NcCreateAnswer = TRUE;
    CreateAnswer = 0;
  }

  ATOM Register(const WCHAR* name) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &RecordingProc;
    wc.lpszClassName = name;
    return Sim.User32.RegisterClassExW(&wc);
  }

  HWND Create(const WCHAR* className, LPVOID param) {
    return Sim.User32.CreateWindowExW(0, className, nullptr, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, param);
  }

  std::vector<UINT> MessagesDelivered() const {
    std::vector<UINT> out;
    for (const Delivered& d : Deliveries) out.push_back(d.Msg);
    return out;
  }

  SimSystem Sim;
};

TEST_F(SimSystemTest, WindowLifeDeliversCreationAndDestructionMessages) {
  ASSERT_NE(Register(WSTR("MixerNotify")), 0);
  EXPECT_EQ(Register(WSTR("MIXERNOTIFY")), 0) << "class names are unique regardless of case";

  int owner = 0;
  HWND window = Create(WSTR("mixernotify"), &owner);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(Sim.User32.IsWindow(window));
  ASSERT_EQ(MessagesDelivered(), (std::vector<UINT>{WM_NCCREATE, WM_CREATE}));
  EXPECT_EQ(Deliveries[0].Window, window);
  EXPECT_EQ(Deliveries[0].CreateParam, &owner);

  EXPECT_EQ(Sim.User32.Dispatch(window, MM_MIXM_LINE_CHANGE, 1, 2), 42);
  EXPECT_EQ(Sim.User32.UnregisterClassW(WSTR("MixerNotify"), nullptr), FALSE) << "a window of the class exists";

  Deliveries.clear();
  EXPECT_EQ(Sim.User32.DestroyWindow(window), TRUE);
  EXPECT_EQ(MessagesDelivered(), (std::vector<UINT>{WM_DESTROY, WM_NCDESTROY}));
  EXPECT_FALSE(Sim.User32.IsWindow(window));
  EXPECT_EQ(Sim.User32.DestroyWindow(window), FALSE);
  EXPECT_EQ(Sim.User32.Dispatch(window, WM_USER, 0, 0), 0);
  EXPECT_EQ(Sim.User32.UnregisterClassW(WSTR("MixerNotify"), nullptr), TRUE);
  EXPECT_EQ(Create(WSTR("MixerNotify"), nullptr), nullptr) << "the class is gone";
}

TEST_F(SimSystemTest, RefusedCreationEndsWithNcDestroyAndNoWindow) {
  struct Case {
    const char* Name;
    LRESULT NcCreate;
    LRESULT Create;
    std::vector<UINT> Messages;
  };
  const Case cases[] = {
      {"WM_NCCREATE answers 0", FALSE, 0, {WM_NCCREATE, WM_NCDESTROY}},
      {"WM_CREATE answers -1", TRUE, -1, {WM_NCCREATE, WM_CREATE, WM_NCDESTROY}},
  };
  ASSERT_NE(Register(WSTR("Refusing")), 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Deliveries.clear();
    NcCreateAnswer = c.NcCreate;
    CreateAnswer = c.Create;
    EXPECT_EQ(Create(WSTR("Refusing"), nullptr), nullptr);
    EXPECT_EQ(MessagesDelivered(), c.Messages);
    EXPECT_EQ(Sim.User32.WindowCount(), 0u);
  }
}

TEST_F(SimSystemTest, DefaultProcedureIsObservableThroughCallWindowProc) {
  TMixerPlatform platform = Sim.MixerPlatform();
  HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1234));
  EXPECT_EQ(platform.User32->CallWindowProcW(platform.DefaultWindowProc, window, WM_USER, 0, 0),
            Sim.User32.DefaultResult);
  EXPECT_EQ(platform.User32->CallWindowProcW(platform.DefaultWindowProc, window, WM_NCCREATE, 0, 0), TRUE);
  EXPECT_EQ(Sim.Log.Calls({"CallWindowProcW", "DefWindowProcW"}),
            (std::vector<std::string>{
                "CallWindowProcW(DefWindowProcW,0x1234,0x400,0x0,0)", "DefWindowProcW(0x1234,0x400,0x0,0)",
                "CallWindowProcW(DefWindowProcW,0x1234,0x81,0x0,0)", "DefWindowProcW(0x1234,0x81,0x0,0)"}));
}

TEST_F(SimSystemTest, CompareStringIgnoresCaseAndHonoursCounts) {
  struct Case {
    const WCHAR* Left;
    int LeftCount;
    const WCHAR* Right;
    int RightCount;
    DWORD Flags;
    int Expected;
  };
  const Case cases[] = {
      {WSTR("Master Volume"), -1, WSTR("MASTER VOLUME"), -1, NORM_IGNORECASE, CSTR_EQUAL},
      {WSTR("\u00E9t\u00E9"), -1, WSTR("\u00C9T\u00C9"), -1, NORM_IGNORECASE, CSTR_EQUAL},
      {WSTR("a"), -1, WSTR("B"), -1, NORM_IGNORECASE, CSTR_LESS_THAN},
      {WSTR("line_in"), -1, WSTR("LineA"), -1, NORM_IGNORECASE, CSTR_LESS_THAN},
      {WSTR("abc"), -1, WSTR("ab"), -1, NORM_IGNORECASE, CSTR_GREATER_THAN},
      {WSTR("abcdef"), 3, WSTR("ABC"), -1, NORM_IGNORECASE, CSTR_EQUAL},
      {WSTR("abc"), 0, WSTR(""), -1, 0, CSTR_EQUAL},
      {nullptr, -1, WSTR("a"), -1, 0, 0},
      {WSTR("a"), -2, WSTR("a"), -1, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Left != nullptr ? Narrow(c.Left) : std::string("null"));
    EXPECT_EQ(Sim.Kernel32.CompareStringW(LOCALE_USER_DEFAULT, c.Flags, c.Left, c.LeftCount, c.Right, c.RightCount),
              c.Expected);
  }
  EXPECT_THAT(Sim.Log.Named("CompareStringW"), Contains("CompareStringW(0x400,0x1,\"abc\",3,\"ABC\",-1)"));
}

TEST_F(SimSystemTest, ConsoleRoundTrip) {
  IConsoleKernel32& k = Sim.Kernel32;
  HANDLE out = k.GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE in = k.GetStdHandle(STD_INPUT_HANDLE);
  HANDLE err = k.GetStdHandle(STD_ERROR_HANDLE);
  EXPECT_TRUE(out != in && in != err && out != err);

  const WCHAR text[] = WSTR("Caf\u00E9 \U0001F600\r\n");
  const int needed = k.WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  EXPECT_EQ(needed, 9) << "the pair is one character, the terminator counts";
  std::string bytes(static_cast<std::size_t>(needed), '\0');
  EXPECT_EQ(k.WideCharToMultiByte(CP_ACP, 0, text, -1, &bytes[0], needed, nullptr, nullptr), needed);
  EXPECT_EQ(bytes, std::string("Caf? ?\r\n", 9));

  DWORD written = 0;
  EXPECT_TRUE(k.WriteFile(out, bytes.data(), 8, &written, nullptr));
  EXPECT_EQ(written, 8u);
  EXPECT_EQ(Sim.Kernel32.Output, "Caf? ?\r\n");
  EXPECT_FALSE(k.WriteFile(in, "x", 1, &written, nullptr));
  EXPECT_EQ(Sim.Log.Named("WriteFile"),
            (std::vector<std::string>{"WriteFile(0x7,\"Caf? ?\\r\\n\",8)", "WriteFile(0x3,\"x\",1)"}));

  Sim.Kernel32.Input = "yes\r\nmore";
  char buffer[5];
  DWORD read = 0;
  EXPECT_TRUE(k.ReadFile(in, buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(std::string(buffer, read), "yes\r\n");
  EXPECT_TRUE(k.ReadFile(in, buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(std::string(buffer, read), "more");
  EXPECT_TRUE(k.ReadFile(in, buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(read, 0u) << "end of input";
  Sim.Kernel32.InputClosed = true;
  EXPECT_FALSE(k.ReadFile(in, buffer, sizeof buffer, &read, nullptr));
}

TEST_F(SimSystemTest, SleepMovesTheClockAndWraps) {
  Sim.Kernel32.Tick = 0xFFFFFFF0u;
  Sim.Kernel32.TicksPerSleep = 15;
  Sim.Kernel32.Sleep(1);
  EXPECT_EQ(Sim.Kernel32.GetTickCount(), 0u);
  Sim.Kernel32.Sleep(0);
  EXPECT_EQ(Sim.Kernel32.GetTickCount(), 15u);
}

TEST_F(SimSystemTest, ShutdownPrivilegeRoundTripClosesItsToken) {
  IAdvapi32& a = Sim.Advapi32;
  HANDLE token = nullptr;
  ASSERT_TRUE(a.OpenProcessToken(Sim.Kernel32.GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
  TOKEN_PRIVILEGES state{};
  state.PrivilegeCount = 1;
  ASSERT_TRUE(a.LookupPrivilegeValueW(nullptr, WSTR("SeShutdownPrivilege"), &state.Privileges[0].Luid));
  state.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  TOKEN_PRIVILEGES previous{};
  DWORD length = 0;
  EXPECT_TRUE(a.AdjustTokenPrivileges(token, FALSE, &state, sizeof previous, &previous, &length));
  EXPECT_TRUE(Sim.Advapi32.ShutdownEnabled);
  EXPECT_EQ(previous.Privileges[0].Attributes, 0u);
  EXPECT_EQ(length, 16u);
  EXPECT_EQ(Sim.Log.Named("AdjustTokenPrivileges"),
            std::vector<std::string>{"AdjustTokenPrivileges(" + Arg(token) + ",0,1,{19,0},0x2,16)"});

  state.Privileges[0].Attributes = 0;
  EXPECT_FALSE(a.AdjustTokenPrivileges(token, FALSE, &state, 4, &previous, &length)) << "previous state too small";
  EXPECT_TRUE(Sim.Advapi32.ShutdownEnabled);
  EXPECT_TRUE(a.AdjustTokenPrivileges(token, FALSE, &state, sizeof previous, &previous, &length));
  EXPECT_FALSE(Sim.Advapi32.ShutdownEnabled);

  EXPECT_EQ(Sim.Kernel32.OpenHandleCount(), 1u);
  EXPECT_TRUE(Sim.Kernel32.CloseHandle(token));
  EXPECT_EQ(Sim.Kernel32.OpenHandleCount(), 0u);
  EXPECT_FALSE(Sim.Kernel32.CloseHandle(token)) << "already closed";
  EXPECT_FALSE(a.AdjustTokenPrivileges(token, FALSE, &state, sizeof previous, &previous, &length));
}

TEST_F(SimSystemTest, EndpointObjectsCountReferences) {
  IOle32& ole = Sim.Ole32;
  void* made = nullptr;
  EXPECT_EQ(ole.CoCreateInstance(MMDeviceApi::CLSID_MMDeviceEnumerator, nullptr, 5, MMDeviceApi::IID_IUnknown, &made),
            CO_E_NOTINITIALIZED);
  EXPECT_EQ(ole.CoInitialize(nullptr), S_OK);
  EXPECT_EQ(ole.CoInitialize(nullptr), S_FALSE);
  ole.CoUninitialize();

  ASSERT_EQ(ole.CoCreateInstance(MMDeviceApi::CLSID_MMDeviceEnumerator, nullptr, 5, MMDeviceApi::IID_IUnknown, &made),
            S_OK);
  IUnknown* unknown = static_cast<IUnknown*>(made);
  void* asEnumerator = nullptr;
  ASSERT_EQ(unknown->QueryInterface(MMDeviceApi::IID_IMMDeviceEnumerator, &asEnumerator), S_OK);
  auto* enumerator = static_cast<IMMDeviceEnumerator*>(asEnumerator);
  IMMDevice* device = nullptr;
  ASSERT_EQ(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &device), S_OK);
  void* asVolume = nullptr;
  ASSERT_EQ(device->Activate(MMDeviceApi::IID_IAudioEndpointVolume, 7, nullptr, &asVolume), S_OK);
  auto* volume = static_cast<IAudioEndpointVolume*>(asVolume);
  EXPECT_EQ(Sim.Ole32.LiveReferences(), 4);

  EXPECT_EQ(volume->SetMute(TRUE, &MMDeviceApi::GUID_NULL), S_OK);
  EXPECT_EQ(volume->SetMute(TRUE, &MMDeviceApi::GUID_NULL), S_FALSE) << "already muted";
  EXPECT_EQ(Sim.Ole32.Muted, TRUE);
  EXPECT_EQ(Sim.Log.Named("IAudioEndpointVolume.SetMute"),
            std::vector<std::string>(2, "IAudioEndpointVolume.SetMute(1,{00000000-0000-0000-0000-000000000000})"));
  EXPECT_EQ(Sim.Log.Named("IMMDevice.Activate"),
            std::vector<std::string>{"IMMDevice.Activate({5CDF2C82-841E-4546-9722-0CF74078229A},7,null)"});

  unknown->Release();
  enumerator->Release();
  device->Release();
  ole.CoUninitialize();
  EXPECT_EQ(Sim.Ole32.ReferencesAtUninitialize, 1) << "the volume is still held";
  volume->Release();
  EXPECT_EQ(Sim.Ole32.LiveReferences(), 0);
  EXPECT_EQ(Sim.Ole32.CallsAfterRelease, 0);
  volume->Release();
  EXPECT_EQ(Sim.Ole32.CallsAfterRelease, 1);
  EXPECT_EQ(Sim.Ole32.LiveReferences(), 0);
}

TEST_F(SimSystemTest, EndpointAbsencesAnswerFailuresWithNullResults) {
  struct Case {
    const char* Name;
    bool Registered, Interface, Endpoint, Activates;
    HRESULT Create, Query, Default, Activate;
  };
  const HRESULT notFound = static_cast<HRESULT>(0x80070490u);
  const Case cases[] = {
      {"class not registered", false, true, true, true, REGDB_E_CLASSNOTREG, S_OK, S_OK, S_OK},
      {"no enumerator interface", true, false, true, true, S_OK, E_NOINTERFACE, S_OK, S_OK},
      {"no endpoint", true, true, false, true, S_OK, S_OK, notFound, S_OK},
      {"activation fails", true, true, true, false, S_OK, S_OK, S_OK, E_FAIL},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SimSystem sim;
    sim.Ole32.EnumeratorRegistered = c.Registered;
    sim.Ole32.EnumeratorInterface = c.Interface;
    sim.Ole32.HasEndpoint = c.Endpoint;
    sim.Ole32.ActivateSucceeds = c.Activates;
    sim.Ole32.CoInitialize(nullptr);
    void* made = Stale<void>();  // a failure must clear it
    ASSERT_EQ(
        sim.Ole32.CoCreateInstance(MMDeviceApi::CLSID_MMDeviceEnumerator, nullptr, 5, MMDeviceApi::IID_IUnknown, &made),
        c.Create);
    if (FAILED(c.Create)) {
      EXPECT_EQ(made, nullptr);
      continue;
    }
    IUnknown* unknown = static_cast<IUnknown*>(made);
    void* asEnumerator = Stale<void>();
    ASSERT_EQ(unknown->QueryInterface(MMDeviceApi::IID_IMMDeviceEnumerator, &asEnumerator), c.Query);
    if (FAILED(c.Query)) {
      EXPECT_EQ(asEnumerator, nullptr);
      unknown->Release();
      EXPECT_EQ(sim.Ole32.LiveReferences(), 0);
      continue;
    }
    auto* enumerator = static_cast<IMMDeviceEnumerator*>(asEnumerator);
    IMMDevice* device = Stale<IMMDevice>();
    ASSERT_EQ(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &device), c.Default);
    if (SUCCEEDED(c.Default)) {
      void* asVolume = Stale<void>();
      EXPECT_EQ(device->Activate(MMDeviceApi::IID_IAudioEndpointVolume, 7, nullptr, &asVolume), c.Activate);
      EXPECT_EQ(asVolume, nullptr);
      device->Release();
    } else {
      EXPECT_EQ(device, nullptr);
    }
    enumerator->Release();
    unknown->Release();
    EXPECT_EQ(sim.Ole32.LiveReferences(), 0);
  }
}

TEST_F(SimSystemTest, PlannedFailuresAnswerLikeTheSystemAndChangeNothing) {
  Sim.User32.ShellWindow = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x10010));
  for (const char* name :
       {"GetStdHandle", "PostMessageW", "OpenProcessToken", "CoInitialize", "CoCreateInstance", "Sleep"})
    Sim.Log.FailNamed(name);
  Sim.Log.FailNamed("RegisterClassExW", 0);

  EXPECT_EQ(Sim.Kernel32.GetStdHandle(STD_OUTPUT_HANDLE), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Sim.User32.PostMessageW(Sim.User32.ShellWindow, WM_SYSCOMMAND, SC_MONITORPOWER, 2), FALSE);
  HANDLE token = nullptr;
  EXPECT_EQ(Sim.Advapi32.OpenProcessToken(Sim.Kernel32.GetCurrentProcess(), 0x28, &token), FALSE);
  EXPECT_EQ(Sim.Kernel32.OpenHandleCount(), 0u);
  EXPECT_TRUE(FAILED(Sim.Ole32.CoInitialize(nullptr)));
  EXPECT_EQ(Sim.Ole32.InitCount, 0);
  void* made = Stale<void>();
  EXPECT_EQ(
      Sim.Ole32.CoCreateInstance(MMDeviceApi::CLSID_MMDeviceEnumerator, nullptr, 5, MMDeviceApi::IID_IUnknown, &made),
      E_FAIL);
  EXPECT_EQ(made, nullptr);
  const DWORD before = Sim.Kernel32.Tick;
  Sim.Kernel32.Sleep(10);
  EXPECT_EQ(Sim.Kernel32.Tick, before + 10) << "Sleep cannot fail";
  EXPECT_EQ(Register(WSTR("Planned")), 0);
  EXPECT_NE(Register(WSTR("Planned")), 0) << "the failed registration left nothing behind";
  EXPECT_EQ(Sim.Log.Named("PostMessageW"), std::vector<std::string>{"PostMessageW(0x10010,0x112,0xF170,2)"});
}

}  // namespace
