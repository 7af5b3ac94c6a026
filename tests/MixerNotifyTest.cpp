// Change notifications: which window the devices are opened with, how the
// library's own window routes the two mixer messages to the events, and the
// order in which a mixer lets go of its devices and its window.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "mixers/Mixer.h"
#include "sim/SimHeap.h"
#include "sim/SimSystem.h"

namespace {

struct Event {
  TMixer* Sender;
  TMixerDev* Dev;
  TMixerItem* Item;
  TMixerCtrl* Ctrl;  // null for a line change
};

struct MixerNotifyTest : ::testing::Test {
  SimSystem Sys;
  std::unique_ptr<TMixer> Mixer;
  std::vector<Event> Lines, Controls;

  void SetUp() override {
    Sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("One")));
    Sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Two")));
    Mixer = std::make_unique<TMixer>(Sys.MixerPlatform());
    Mixer->SetOnLineChange([this](TMixer* Sender, TMixerDev* Dev, TMixerItem* Item) {
      Lines.push_back({Sender, Dev, Item, nullptr});
    });
    Mixer->SetOnControlChange([this](TMixer* Sender, TMixerDev* Dev, TMixerItem* Item, TMixerCtrl* Ctrl) {
      Controls.push_back({Sender, Dev, Item, Ctrl});
    });
  }

  LRESULT Send(UINT Msg, HMIXER Handle, std::uint32_t Id) {
    return Sys.User32.Dispatch(Mixer->OwnNotifyWindow(), Msg, reinterpret_cast<WPARAM>(Handle),
                               static_cast<LPARAM>(Id));
  }
  std::string Window(HWND Handle) const { return Hex(reinterpret_cast<std::uintptr_t>(Handle)); }
};

TEST_F(MixerNotifyTest, LineChangeReachesItsDeviceAndLine) {
  Mixer->Scan();
  TMixerDev* dev = Mixer->GetDevice(1);
  TMixerItem* wave = dev->GetItem(1);
  EXPECT_EQ(Send(MM_MIXM_LINE_CHANGE, dev->Handle(), wave->LineId()), 0);
  ASSERT_EQ(Lines.size(), 1u);
  EXPECT_EQ(Lines[0].Sender, Mixer.get());
  EXPECT_EQ(Lines[0].Dev, dev);
  EXPECT_EQ(Lines[0].Item, wave);
  EXPECT_TRUE(Controls.empty());
}

TEST_F(MixerNotifyTest, ControlChangeReachesItsDeviceLineAndControl) {
  Mixer->Scan();
  TMixerDev* dev = Mixer->GetDevice(0);
  TMixerItem* speakers = dev->GetItem(0);
  TMixerCtrl* volume = speakers->VolumeCtrl();
  ASSERT_NE(volume, nullptr);
  EXPECT_EQ(Send(MM_MIXM_CONTROL_CHANGE, dev->Handle(), volume->ControlID()), 0);
  ASSERT_EQ(Controls.size(), 1u);
  EXPECT_EQ(Controls[0].Sender, Mixer.get());
  EXPECT_EQ(Controls[0].Dev, dev);
  EXPECT_EQ(Controls[0].Item, speakers);
  EXPECT_EQ(Controls[0].Ctrl, volume);
  EXPECT_TRUE(Lines.empty());
}

TEST_F(MixerNotifyTest, MessagesThatFindNothingAreDropped) {
  Mixer->Target()->SetControlType({ctMute});
  Mixer->Scan();
  TMixerDev* dev = Mixer->GetDevice(0);
  // The volume controls were left out by the filter; their identifiers are the driver's.
  const DWORD filteredVolume = Sys.Winmm.Device(0).Destinations[0].Controls[0].ControlID;
  const HMIXER stale = dev->Handle();
  const struct {
    const char* Name;
    UINT Msg;
    HMIXER Handle;
    std::uint32_t Id;
  } cases[] = {
      {/*Name=*/"control left out by the filter", /*Msg=*/MM_MIXM_CONTROL_CHANGE, /*Handle=*/dev->Handle(),
       /*Id=*/filteredVolume},
      {/*Name=*/"unknown control", /*Msg=*/MM_MIXM_CONTROL_CHANGE, /*Handle=*/dev->Handle(), /*Id=*/0xBAD},
      {/*Name=*/"unknown line", /*Msg=*/MM_MIXM_LINE_CHANGE, /*Handle=*/dev->Handle(), /*Id=*/0xBAD},
      {/*Name=*/"unknown handle, line", /*Msg=*/MM_MIXM_LINE_CHANGE, /*Handle=*/reinterpret_cast<HMIXER>(0x9999),
       /*Id=*/dev->GetItem(0)->LineId()},
      {/*Name=*/"unknown handle, control", /*Msg=*/MM_MIXM_CONTROL_CHANGE, /*Handle=*/nullptr,
       /*Id=*/dev->GetCtrl(0)->ControlID()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(Send(c.Msg, c.Handle, c.Id), 0);
  }
  // A handle the next scan closed is no longer known either.
  const std::uint32_t line = dev->GetItem(0)->LineId();
  Sys.Log.Clear();
  Mixer->Scan();
  EXPECT_EQ(Send(MM_MIXM_LINE_CHANGE, stale, line), 0);
  EXPECT_TRUE(Lines.empty());
  EXPECT_TRUE(Controls.empty());
  EXPECT_EQ(Sys.Log.Count("CallWindowProcW"), 0u) << "the mixer messages never reach the default procedure";
}

TEST_F(MixerNotifyTest, EmptyHandlersDropTheMessages) {
  Mixer->SetOnLineChange(nullptr);
  Mixer->SetOnControlChange(nullptr);
  Mixer->Scan();
  TMixerDev* dev = Mixer->GetDevice(0);
  EXPECT_EQ(Send(MM_MIXM_LINE_CHANGE, dev->Handle(), dev->GetItem(0)->LineId()), 0);
  EXPECT_EQ(Send(MM_MIXM_CONTROL_CHANGE, dev->Handle(), dev->GetCtrl(0)->ControlID()), 0);
}

TEST_F(MixerNotifyTest, OtherMessagesGetTheDefaultProcedure) {
  Mixer->Scan();
  const HWND window = Mixer->OwnNotifyWindow();
  Sys.Log.Clear();
  const UINT others[] = {WM_USER, WM_CLOSE, MM_MIXM_LINE_CHANGE - 1, MM_MIXM_CONTROL_CHANGE + 1};
  std::vector<std::string> expected;
  for (UINT msg : others) {
    SCOPED_TRACE(msg);
    EXPECT_EQ(Sys.User32.Dispatch(window, msg, 7, 9), Sys.User32.DefaultResult);
    expected.push_back("CallWindowProcW(DefWindowProcW," + Window(window) + "," + Hex(msg) + ",0x7,9)");
  }
  EXPECT_EQ(Sys.Log.Named("CallWindowProcW"), expected);
}

TEST_F(MixerNotifyTest, ClientWindowSetBeforeTheFirstScan) {
  const HWND client = reinterpret_cast<HWND>(0x7700);
  Mixer->SetCallbackWindow(client);
  Mixer->Scan();
  Mixer->Scan();
  EXPECT_EQ(Mixer->OwnNotifyWindow(), nullptr);
  EXPECT_EQ(Sys.Log.Count("CreateWindowExW"), 0u);
  for (const std::string& open : Sys.Log.Named("mixerOpen"))
    EXPECT_NE(open.find(",0x7700,0,0x10000)"), std::string::npos);
}

TEST_F(MixerNotifyTest, ClientWindowReplacesTheOwnWindowAtTheNextScan) {
  Mixer->Scan();
  const HWND own = Mixer->OwnNotifyWindow();
  ASSERT_NE(own, nullptr);
  Mixer->SetCallbackWindow(reinterpret_cast<HWND>(0x7700));
  // Writing the property alone changes nothing.
  EXPECT_TRUE(Sys.User32.IsWindow(own));
  Mixer->Scan();
  EXPECT_FALSE(Sys.User32.IsWindow(own));
  EXPECT_EQ(Mixer->OwnNotifyWindow(), nullptr);
  EXPECT_EQ(Sys.Log.Named("mixerOpen").back(), "mixerOpen(1,0x7700,0,0x10000)");

  // Back to no client window: the next scan makes a new window of its own.
  Mixer->SetCallbackWindow(nullptr);
  Mixer->Scan();
  const HWND renewed = Mixer->OwnNotifyWindow();
  ASSERT_NE(renewed, nullptr);
  EXPECT_NE(renewed, own);
  EXPECT_EQ(Sys.Log.Named("mixerOpen").back(), "mixerOpen(1," + Window(renewed) + ",0,0x10000)");
  TMixerDev* dev = Mixer->GetDevice(0);
  Send(MM_MIXM_LINE_CHANGE, dev->Handle(), dev->GetItem(0)->LineId());
  EXPECT_EQ(Lines.size(), 1u);
}

TEST_F(MixerNotifyTest, WindowThatCannotBeMadeIsTriedAgainNextScan) {
  const struct {
    const char* Name;
    const char* Call;
  } cases[] = {
      {/*Name=*/"class", /*Call=*/"RegisterClassExW"},
      {/*Name=*/"window", /*Call=*/"CreateWindowExW"},
      {/*Name=*/"refused at creation", /*Call=*/"CallWindowProcW"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SimSystem sys;
    sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("One")));
    TMixer mixer(sys.MixerPlatform());
    sys.Log.FailNamed(c.Call, 0);
    mixer.Scan();
    EXPECT_EQ(mixer.OwnNotifyWindow(), nullptr);
    EXPECT_EQ(sys.Log.Named("mixerOpen").back(), "mixerOpen(0,0x0,0,0x0)");
    EXPECT_EQ(sys.User32.WindowCount(), 0u);
    mixer.Scan();
    EXPECT_NE(mixer.OwnNotifyWindow(), nullptr);
    EXPECT_EQ(sys.User32.WindowCount(), 1u);
  }
}

// Runs out of memory at the first allocation of the library's window procedure
// on WM_NCCREATE, up to the system's default handling (whose records the
// simulator allocates for).
class OutOfMemoryAtCreation : public SimUser32 {
 public:
  using SimUser32::SimUser32;
  LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) override {
    SimHeap::Disarm();
    return SimUser32::CallWindowProcW(lpPrevWndFunc, hWnd, Msg, wParam, lParam);
  }
  ATOM RegisterClassExW(const WNDCLASSEXW* lpwcx) override {
    WNDCLASSEXW wrapped = *lpwcx;
    Library = lpwcx->lpfnWndProc;
    wrapped.lpfnWndProc = &Procedure;
    return SimUser32::RegisterClassExW(&wrapped);
  }

 private:
  static LRESULT CALLBACK Procedure(HWND Window, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (Msg == WM_NCCREATE) SimHeap::FailNextAllocation();
    const LRESULT result = Library(Window, Msg, wParam, lParam);
    SimHeap::Disarm();
    return result;
  }
  static inline WNDPROC Library = nullptr;
};

TEST(MixerNotifyOutOfMemoryTest, LinkingTheWindowThrowsNothing) {
  SimSystem sys;
  sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("One")));
  OutOfMemoryAtCreation user32(sys.Log);
  TMixerPlatform platform = sys.MixerPlatform();
  platform.User32 = &user32;
  {
    TMixer mixer(platform);
    EXPECT_NO_THROW(mixer.Scan()) << "nothing may unwind through the system's window code";
    EXPECT_NE(mixer.OwnNotifyWindow(), nullptr);
    EXPECT_EQ(user32.WindowCount(), 1u);
    ASSERT_EQ(sys.Log.Count("mixerOpen"), 1u);
    EXPECT_EQ(sys.Log.Named("mixerOpen").back(),
              "mixerOpen(0," + Hex(reinterpret_cast<std::uintptr_t>(mixer.OwnNotifyWindow())) + ",0,0x10000)")
        << "opened with notifications";
    EXPECT_EQ(mixer.GetCount(), 1);
  }
  EXPECT_EQ(user32.WindowCount(), 0u);
  EXPECT_EQ(sys.Log.Count("UnregisterClassW"), 1u);
  EXPECT_EQ(sys.Winmm.OpenHandleCount(), 0u);
}

TEST_F(MixerNotifyTest, DestructionClosesTheDevicesBeforeTheWindow) {
  Mixer->Scan();
  const HWND window = Mixer->OwnNotifyWindow();
  Sys.Log.Clear();
  Mixer.reset();
  std::vector<std::string> order;
  for (const std::string& call : Sys.Log.Calls()) {
    const std::string name = CallLog::NameOf(call);
    if (name == "mixerClose" || name == "DestroyWindow" || name == "UnregisterClassW") order.push_back(name);
  }
  EXPECT_EQ(order, (std::vector<std::string>{"mixerClose", "mixerClose", "DestroyWindow", "UnregisterClassW"}));
  EXPECT_FALSE(Sys.User32.IsWindow(window));
  EXPECT_EQ(Sys.Winmm.OpenHandleCount(), 0u);
  EXPECT_EQ(Sys.Log.Named("DestroyWindow"), std::vector<std::string>{"DestroyWindow(" + Window(window) + ")"});
}

TEST_F(MixerNotifyTest, TwoMixersEachGetTheirOwnMessages) {
  TMixer second(Sys.MixerPlatform());
  std::vector<TMixerItem*> secondLines;
  second.SetOnLineChange([&](TMixer*, TMixerDev*, TMixerItem* Item) { secondLines.push_back(Item); });
  Mixer->Scan();
  second.Scan();
  ASSERT_NE(second.OwnNotifyWindow(), Mixer->OwnNotifyWindow());
  TMixerDev* dev = second.GetDevice(0);
  Sys.User32.Dispatch(second.OwnNotifyWindow(), MM_MIXM_LINE_CHANGE, reinterpret_cast<WPARAM>(dev->Handle()),
                      static_cast<LPARAM>(dev->GetItem(0)->LineId()));
  EXPECT_EQ(secondLines, std::vector<TMixerItem*>{dev->GetItem(0)});
  // The first mixer does not know the second's handles.
  Send(MM_MIXM_LINE_CHANGE, dev->Handle(), dev->GetItem(0)->LineId());
  EXPECT_TRUE(Lines.empty());
}

}  // namespace

#ifdef _WIN32
// The system's own window plumbing: a real window class, its procedure called
// by the system, over the simulated driver.
TEST(MixerNotifySystemTest, PostedMessagesReachTheEvents) {
  SimSystem sys;
  sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("One")));
  TMixerPlatform platform = SystemMixerPlatform();
  platform.Winmm = &sys.Winmm;
  std::vector<TMixerCtrl*> changed;
  HWND window = nullptr;
  {
    TMixer mixer(platform);
    mixer.SetOnControlChange([&](TMixer*, TMixerDev*, TMixerItem*, TMixerCtrl* Ctrl) { changed.push_back(Ctrl); });
    mixer.Scan();
    window = mixer.OwnNotifyWindow();
    ASSERT_NE(window, nullptr);
    TMixerDev* dev = mixer.GetDevice(0);
    TMixerCtrl* mute = dev->GetItem(0)->MuteCtrl();
    ASSERT_TRUE(::PostMessageW(window, MM_MIXM_CONTROL_CHANGE, reinterpret_cast<WPARAM>(dev->Handle()),
                               static_cast<LPARAM>(mute->ControlID())));
    MSG msg;
    while (::PeekMessageW(&msg, window, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    EXPECT_EQ(changed, std::vector<TMixerCtrl*>{mute});
    EXPECT_EQ(::SendMessageW(window, MM_MIXM_LINE_CHANGE, reinterpret_cast<WPARAM>(dev->Handle()), 0), 0);
    // The default procedure lets a window be restored from an icon.
    EXPECT_EQ(::SendMessageW(window, WM_QUERYOPEN, 0, 0), TRUE);
  }
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(sys.Winmm.OpenHandleCount(), 0u);
}
#endif
