// The library's notification window on the real system: a mixer whose window
// functions are the system's own and whose driver is simulated scans, which
// creates its window on this thread; messages posted to that window reach the
// mixer's events only when this thread dispatches them.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "mixers/Mixers.h"
#include "app/platform/Platform.h"
#include "sim/SimWinmm.h"

namespace {

class MixerWindowTest : public ::testing::Test {
 protected:
  MixerWindowTest() : Winmm(Log), System(SystemPlatform()) {
    Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Realtek Output")));
    Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("USB Headset")));
    Platform = System.Mixer;
    Platform.Winmm = &Winmm;
    Drain();  // nothing left over from an earlier test may reach this one
  }

  /// A scanned mixer whose events are written to Events.
  std::unique_ptr<TMixer> NewMixer(const std::string& Tag = "") {
    auto mixer = std::make_unique<TMixer>(Platform);
    mixer->SetOnLineChange([this, Tag](TMixer* Sender, TMixerDev* Dev, TMixerItem* Item) {
      Events.push_back(Tag + "line " + Where(Sender, Dev) + " " + Hex(Item->LineId()));
    });
    mixer->SetOnControlChange([this, Tag](TMixer* Sender, TMixerDev* Dev, TMixerItem* Item, TMixerCtrl* Ctrl) {
      Events.push_back(Tag + "control " + Where(Sender, Dev) + " " + Hex(Item->LineId()) + " " +
                       std::to_string(Ctrl->ControlID()));
    });
    mixer->Scan();
    return mixer;
  }

  static std::string Where(TMixer* Mixer, TMixerDev* Dev) {
    for (int i = 0; i < Mixer->GetCount(); ++i)
      if (Mixer->GetDevice(i) == Dev) return "dev" + std::to_string(i);
    return "dev?";
  }

  /// Dispatches every message queued for this thread; how many there were.
  int Drain() {
    int count = 0;
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != 0) {
      ::DispatchMessageW(&msg);
      ++count;
    }
    return count;
  }

  CallLog Log;
  SimWinmm Winmm;
  TPlatform System;
  TMixerPlatform Platform{};
  std::vector<std::string> Events;
};

TEST_F(MixerWindowTest, ScanOpensEveryDeviceWithItsOwnWindowOnThisThread) {
  auto mixer = NewMixer();
  const HWND window = mixer->OwnNotifyWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_NE(IsWindow(window), FALSE);
  EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), GetCurrentThreadId());
  EXPECT_EQ(IsWindowVisible(window), FALSE);
  // A message-only window, which no broadcast reaches, of a class of this module's.
  wchar_t name[128] = {};
  ASSERT_GT(GetClassNameW(window, name, 128), 0);
  EXPECT_EQ(FindWindowExW(HWND_MESSAGE, nullptr, name, nullptr), window);
  EXPECT_NE(GetAncestor(window, GA_PARENT), GetDesktopWindow()) << "not a top-level window";
  EXPECT_EQ(reinterpret_cast<HINSTANCE>(GetClassLongPtrW(window, GCLP_HMODULE)), GetModuleHandleW(nullptr));
  const std::string open = "," + Hex(reinterpret_cast<std::uintptr_t>(window)) + ",0,0x10000)";
  const auto opens = Log.Named("mixerOpen");
  ASSERT_EQ(opens.size(), 2u);
  for (const std::string& call : opens) EXPECT_NE(call.find(open), std::string::npos) << call;
}

TEST_F(MixerWindowTest, PostedMessagesFireTheMatchingEventWhenDispatched) {
  auto mixer = NewMixer();
  TMixerDev* dev1 = mixer->GetDevice(1);
  TMixerItem* speakers = dev1->GetItem(0);
  TMixerItem* wave = dev1->GetItem(1);
  TMixerDev* dev0 = mixer->GetDevice(0);
  TMixerItem* wave0 = dev0->GetItem(1);
  const auto handle = [](TMixerDev* Dev) { return reinterpret_cast<WPARAM>(Dev->Handle()); };

  struct Case {
    const char* Name;
    UINT Msg;
    WPARAM Handle;
    LPARAM Id;
    std::vector<std::string> Expected;
  };
  const Case cases[] = {
      {"line change of a known line",
       MM_MIXM_LINE_CHANGE,
       handle(dev1),
       LPARAM(wave->LineId()),
       {"line dev1 " + Hex(wave->LineId())}},
      {"control change of a volume control",
       MM_MIXM_CONTROL_CHANGE,
       handle(dev1),
       LPARAM(speakers->VolumeCtrl()->ControlID()),
       {"control dev1 " + Hex(speakers->LineId()) + " " + std::to_string(speakers->VolumeCtrl()->ControlID())}},
      {"control change on the first device",
       MM_MIXM_CONTROL_CHANGE,
       handle(dev0),
       LPARAM(wave0->MuteCtrl()->ControlID()),
       {"control dev0 " + Hex(wave0->LineId()) + " " + std::to_string(wave0->MuteCtrl()->ControlID())}},
      {"unknown line id", MM_MIXM_LINE_CHANGE, handle(dev1), LPARAM(0x7777), {}},
      {"unknown control id", MM_MIXM_CONTROL_CHANGE, handle(dev1), LPARAM(999), {}},
      {"unknown handle", MM_MIXM_LINE_CHANGE, WPARAM(0x9999), LPARAM(wave->LineId()), {}},
      {"another message", WM_USER, handle(dev1), LPARAM(wave->LineId()), {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Events.clear();
    ASSERT_NE(System.User32->PostMessageW(mixer->OwnNotifyWindow(), c.Msg, c.Handle, c.Id), FALSE);
    EXPECT_TRUE(Events.empty()) << "nothing fires before the thread dispatches";
    EXPECT_EQ(Drain(), 1);
    EXPECT_EQ(Events, c.Expected);
  }
}

TEST_F(MixerWindowTest, EachPostedMessageFiresOnceInOrder) {
  auto mixer = NewMixer();
  TMixerDev* dev0 = mixer->GetDevice(0);
  TMixerItem* speakers = dev0->GetItem(0);
  const HWND window = mixer->OwnNotifyWindow();
  const WPARAM handle = reinterpret_cast<WPARAM>(dev0->Handle());
  System.User32->PostMessageW(window, MM_MIXM_LINE_CHANGE, handle, LPARAM(speakers->LineId()));
  System.User32->PostMessageW(window, MM_MIXM_CONTROL_CHANGE, handle, LPARAM(speakers->MuteCtrl()->ControlID()));
  System.User32->PostMessageW(window, MM_MIXM_LINE_CHANGE, handle, LPARAM(speakers->LineId()));
  Drain();
  const std::string line = "line dev0 " + Hex(speakers->LineId());
  EXPECT_EQ(Events, (std::vector<std::string>{line,
                                              "control dev0 " + Hex(speakers->LineId()) + " " +
                                                  std::to_string(speakers->MuteCtrl()->ControlID()),
                                              line}));
}

TEST_F(MixerWindowTest, MessageResultsAreZeroForMixerMessagesAndTheDefaultOtherwise) {
  auto mixer = NewMixer();
  const HWND window = mixer->OwnNotifyWindow();
  TMixerDev* dev0 = mixer->GetDevice(0);
  const WPARAM handle = reinterpret_cast<WPARAM>(dev0->Handle());

  EXPECT_EQ(SendMessageW(window, MM_MIXM_LINE_CHANGE, handle, LPARAM(dev0->GetItem(0)->LineId())), 0);
  EXPECT_EQ(SendMessageW(window, MM_MIXM_CONTROL_CHANGE, handle, LPARAM(dev0->GetItem(0)->MuteCtrl()->ControlID())), 0);
  EXPECT_EQ(Events.size(), 2u) << "a sent message is handled at once";

  // The default procedure answers TRUE here, so the mixer must really pass it on.
  const LRESULT expected = DefWindowProcW(window, WM_QUERYOPEN, 0, 0);
  ASSERT_NE(expected, 0);
  EXPECT_EQ(SendMessageW(window, WM_QUERYOPEN, 0, 0), expected);
}

TEST_F(MixerWindowTest, TwoMixersOnOneThreadEachGetOnlyTheirOwnMessages) {
  auto first = NewMixer("first ");
  auto second = NewMixer("second ");
  ASSERT_NE(first->OwnNotifyWindow(), second->OwnNotifyWindow());
  TMixerDev* dev = second->GetDevice(0);
  System.User32->PostMessageW(second->OwnNotifyWindow(), MM_MIXM_LINE_CHANGE, reinterpret_cast<WPARAM>(dev->Handle()),
                              LPARAM(dev->GetItem(0)->LineId()));
  Drain();
  EXPECT_EQ(Events, std::vector<std::string>{"second line dev0 " + Hex(dev->GetItem(0)->LineId())});
}

TEST_F(MixerWindowTest, DestroyingTheMixerDestroysItsWindowAndDropsWhatIsQueued) {
  auto mixer = NewMixer();
  const HWND window = mixer->OwnNotifyWindow();
  TMixerDev* dev0 = mixer->GetDevice(0);
  System.User32->PostMessageW(window, MM_MIXM_LINE_CHANGE, reinterpret_cast<WPARAM>(dev0->Handle()),
                              LPARAM(dev0->GetItem(0)->LineId()));
  mixer.reset();
  EXPECT_EQ(IsWindow(window), FALSE);
  Drain();
  EXPECT_TRUE(Events.empty());
  EXPECT_EQ(Winmm.OpenHandleCount(), 0u);
}

}  // namespace
