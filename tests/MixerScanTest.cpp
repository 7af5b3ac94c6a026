// The scan over simulated drivers: the filter and keep rules, failing
// devices and queries, the open calls, the master line and the lookups.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "mixers/Mixer.h"
#include "sim/MixerBuilders.h"
#include "sim/SimHeap.h"
#include "sim/SimSystem.h"

namespace {

SimControl Volume(const String& Name = WSTR("V")) { return SimWinmm::VolumeControl(Name); }
SimControl Mute(const String& Name = WSTR("M")) { return SimWinmm::MuteControl(Name); }

// Speakers with sources of every keep case, a capture destination without
// controls of its own, and a headphones destination outside the default target.
SimDevice MixedDevice() {
  SimControl looseMute = Mute(WSTR("M"));
  looseMute.Flags = 0;  // this driver calls its mute per channel
  SimDevice device;
  device.Name = WSTR("Mixed");
  device.Destinations = {
      Dest(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, WSTR("Speakers"), {Volume(), Mute()},
           {Source(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, WSTR("Wave"), {Volume(), Mute()}),
            Source(MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, WSTR("CD"), {Volume()}),
            Source(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, WSTR("Mic"), {}),
            Source(MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER, WSTR("Synth"), {looseMute})}),
      Dest(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, WSTR("Record"), {},
           {Source(MIXERLINE_COMPONENTTYPE_SRC_LINE, WSTR("Line"), {Volume()}),
            Source(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, WSTR("Mic"), {Mute()})}),
      Dest(MIXERLINE_COMPONENTTYPE_DST_HEADPHONES, WSTR("Phones"), {Volume()},
           {Source(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, WSTR("Wave"), {Volume()})}),
  };
  return device;
}

constexpr TMixerLineTypes AllLines = MixerSourceLineTypes + MixerDestLineTypes;

struct Fixture : ::testing::Test {
  SimSystem Sys;
  std::unique_ptr<TMixer> Mixer;

  TMixer& Make() {
    Mixer = std::make_unique<TMixer>(Sys.MixerPlatform());
    return *Mixer;
  }
  TMixer& Scanned() {
    Make().Scan();
    return *Mixer;
  }
  std::vector<std::string> Calls(const std::string& Name) const { return Sys.Log.Named(Name); }
};

using MixerScanTest = Fixture;

TEST_F(MixerScanTest, CreatedWithDefaultsAndNothingElse) {
  TMixer& mixer = Make();
  EXPECT_EQ(mixer.Target()->LineType().Bits(), 0x00090134u);
  EXPECT_EQ(mixer.Target()->ControlType().Bits(), 0x02000020u);
  EXPECT_TRUE(mixer.AutoScan());
  EXPECT_FALSE(mixer.EnableInvalidItem());
  EXPECT_TRUE(mixer.Options().Empty());
  EXPECT_EQ(mixer.GetCount(), 0);
  EXPECT_EQ(mixer.OwnNotifyWindow(), nullptr);
  EXPECT_TRUE(Sys.Log.Calls().empty());
}

TEST_F(MixerScanTest, SetTargetHandsThePreviousBack) {
  TMixer& mixer = Make();
  TMixerTarget* first = mixer.Target();
  auto next = std::make_unique<TMixerTarget>();
  next->SetControlType({ctMute});
  TMixerTarget* second = next.get();
  std::unique_ptr<TMixerTarget> previous = mixer.SetTarget(std::move(next));
  EXPECT_EQ(previous.get(), first);
  EXPECT_EQ(mixer.Target(), second);
  EXPECT_TRUE(TMixerTarget().LineType().Empty());
}

struct KeepCase {
  const char* Name;
  TMixerLineTypes LineTypes;
  TMixerControlTypes ControlTypes;
  bool EnableInvalidItem;
  const char* Tree;
};

TEST_F(MixerScanTest, FilterAndKeepRules) {
  const KeepCase cases[] = {
      {/*Name=*/"default target",
       /*LineTypes=*/TMixerTarget::DefaultLineType,
       /*ControlTypes=*/TMixerTarget::DefaultControlType,
       /*EnableInvalidItem=*/false,
       // Mic is not admitted; Phones is not admitted and takes its Wave source along.
       /*Tree=*/"Speakers(V,M) -Wave(V,M) -CD(V) -Synth(M) Record() -Line(V)"},
      {/*Name=*/"mute only",
       /*LineTypes=*/AllLines,
       /*ControlTypes=*/{ctMute},
       /*EnableInvalidItem=*/false,
       /*Tree=*/"Speakers(M) -Wave(M) -Synth(M) Record() -Mic(M)"},
      {/*Name=*/"mute only, invalid items kept",
       /*LineTypes=*/AllLines,
       /*ControlTypes=*/{ctMute},
       /*EnableInvalidItem=*/true,
       /*Tree=*/"Speakers(M) -Wave(M) -CD() -Mic() -Synth(M) Record() -Line() -Mic(M) Phones() -Wave()"},
      {/*Name=*/"no control type",
       /*LineTypes=*/AllLines,
       /*ControlTypes=*/{},
       /*EnableInvalidItem=*/false,
       /*Tree=*/""},
      {/*Name=*/"sources only",
       /*LineTypes=*/MixerSourceLineTypes,
       /*ControlTypes=*/TMixerTarget::DefaultControlType,
       /*EnableInvalidItem=*/true,
       /*Tree=*/""},
  };
  for (const KeepCase& c : cases) {
    SCOPED_TRACE(c.Name);
    SimSystem sys;
    sys.Winmm.AddDevice(MixedDevice());
    TMixer mixer(sys.MixerPlatform());
    mixer.Target()->SetLineType(c.LineTypes);
    mixer.Target()->SetControlType(c.ControlTypes);
    mixer.SetEnableInvalidItem(c.EnableInvalidItem);
    mixer.Scan();
    ASSERT_EQ(mixer.GetCount(), 1);
    EXPECT_EQ(Describe(*mixer.GetDevice(0)), c.Tree);
  }
}

TEST_F(MixerScanTest, NoDevices) {
  TMixer& mixer = Scanned();
  EXPECT_EQ(mixer.GetCount(), 0);
  EXPECT_EQ(mixer.GetPrimaryDevice(), nullptr);
  EXPECT_EQ(mixer.GetMaster(), nullptr);
  EXPECT_EQ(mixer.GetMasterVolume(), -1);
  EXPECT_FALSE(mixer.GetMasterMute());
  mixer.SetMasterVolume(50);
  mixer.SetMasterMute(true);
  EXPECT_EQ(Sys.Log.Count("mixerSetControlDetails"), 0u);
  EXPECT_NE(mixer.OwnNotifyWindow(), nullptr);
  EXPECT_TRUE(Sys.User32.IsWindow(mixer.OwnNotifyWindow()));
}

TEST_F(MixerScanTest, DeviceThatCannotBeOpenedIsLeftOut) {
  const struct {
    const char* Call;
    int Nth;
    UINT KeptId;
  } cases[] = {
      {/*Call=*/"mixerOpen", /*Nth=*/0, /*KeptId=*/1},
      {/*Call=*/"mixerGetDevCapsW", /*Nth=*/0, /*KeptId=*/1},
      {/*Call=*/"mixerGetDevCapsW", /*Nth=*/1, /*KeptId=*/0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Call) + " " + std::to_string(c.Nth));
    SimSystem sys;
    sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("First")));
    sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Second")));
    sys.Log.FailNamed(c.Call, c.Nth);
    TMixer mixer(sys.MixerPlatform());
    mixer.Scan();
    ASSERT_EQ(mixer.GetCount(), 1);
    EXPECT_EQ(sys.Winmm.DeviceOfHandle(mixer.GetDevice(0)->Handle()), static_cast<int>(c.KeptId));
    EXPECT_EQ(mixer.GetDevice(0)->Name(), c.KeptId == 0 ? WSTR("First") : WSTR("Second"));
    EXPECT_EQ(mixer.GetPrimaryDevice(), mixer.GetDevice(0));
    EXPECT_NE(mixer.GetMaster(), nullptr);
    EXPECT_EQ(sys.Winmm.OpenHandleCount(), 1u);
  }
}

// Memory runs out while a device is added, after the device was opened: at
// three moments, each of which must close the handle exactly once.
enum class DevFailure { InFactory, AtTheName, InDerivedConstructor };

class LateFailingDev : public TMixerDev {
 public:
  LateFailingDev(TMixer* AMixer, HMIXER Handle, const MIXERCAPSW& Caps, TMixerOptions Options)
      : TMixerDev(AMixer, Handle, Caps, Options) {
    throw std::bad_alloc();
  }
};

class FailingDevMixer : public TMixer {
 public:
  FailingDevMixer(const TMixerPlatform& Platform, DevFailure Failure) : TMixer(Platform), FFailure(Failure) {}

 protected:
  std::unique_ptr<TMixerDev> CreateDev(HMIXER Handle, const MIXERCAPSW& Caps, TMixerOptions Options) override {
    switch (FFailure) {
      case DevFailure::InFactory:
        throw std::bad_alloc();
      case DevFailure::AtTheName: {
        // The device's memory is there; the next allocation, its name, fails.
        void* memory = ::operator new(sizeof(TMixerDev));
        SimHeap::FailNextAllocation();
        try {
          return std::unique_ptr<TMixerDev>(new (memory) TMixerDev(this, Handle, Caps, Options));
        } catch (...) {
          SimHeap::Disarm();
          ::operator delete(memory);
          throw;
        }
      }
      case DevFailure::InDerivedConstructor:
        return std::make_unique<LateFailingDev>(this, Handle, Caps, Options);
    }
    return nullptr;
  }

 private:
  DevFailure FFailure;
};

TEST_F(MixerScanTest, HandleOfADeviceThatCannotBeAddedIsClosedOnce) {
  for (const DevFailure failure : {DevFailure::InFactory, DevFailure::AtTheName, DevFailure::InDerivedConstructor}) {
    SCOPED_TRACE(static_cast<int>(failure));
    SimSystem sys;
    // A name longer than a string keeps without memory of its own.
    sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Speakers of a long name")));
    FailingDevMixer mixer(sys.MixerPlatform(), failure);
    EXPECT_THROW(mixer.Scan(), std::bad_alloc);
    EXPECT_EQ(mixer.GetCount(), 0);
    EXPECT_EQ(sys.Winmm.OpenHandleCount(), 0u);
    EXPECT_EQ(sys.Log.Count("mixerClose"), 1u);
  }
}

TEST_F(MixerScanTest, GetDeviceOutOfRangeIsNull) {
  Sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Only")));
  TMixer& mixer = Scanned();
  EXPECT_EQ(mixer.GetDevice(-1), nullptr);
  EXPECT_NE(mixer.GetDevice(0), nullptr);
  EXPECT_EQ(mixer.GetDevice(1), nullptr);
}

TEST_F(MixerScanTest, FailingDestinationQueryEndsThatDeviceOnly) {
  SimDevice three;
  three.Name = WSTR("Three");
  three.Destinations.assign(3, Dest(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, WSTR("Out"), {Volume()}, {}));
  Sys.Winmm.AddDevice(three);
  Sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Next")));
  // Calls on the first device: destination 0 twice, then destination 1.
  Sys.Log.FailNamed("mixerGetLineInfoW", 2);
  TMixer& mixer = Scanned();
  ASSERT_EQ(mixer.GetCount(), 2);
  EXPECT_EQ(Describe(*mixer.GetDevice(0)), "Out(V)");
  EXPECT_EQ(mixer.GetDevice(1)->Count(), 2);
  for (const std::string& call : Calls("mixerGetLineInfoW"))
    EXPECT_EQ(call.find("mixerGetLineInfoW(0x1000,2,"), std::string::npos) << call;
}

TEST_F(MixerScanTest, FailingQueriesAndTheirOutcome) {
  // Each case fails the nth call of a name during a scan of the mixed device
  // with the default target.
  const struct {
    const char* Name;
    const char* Call;
    int Nth;
    const char* Tree;
  } cases[] = {
      // The second query of Speakers itself: its sources stand alone, as destinations.
      {/*Name=*/"destination re-query",
       /*Call=*/"mixerGetLineInfoW",
       /*Nth=*/1,
       /*Tree=*/"Wave(V,M) CD(V) Synth(M) Record() -Line(V)"},
      {/*Name=*/"source query", /*Call=*/"mixerGetLineInfoW", /*Nth=*/2,
       /*Tree=*/"Speakers(V,M) -CD(V) -Synth(M) Record() -Line(V)"},
      {/*Name=*/"destination controls", /*Call=*/"mixerGetLineControlsW", /*Nth=*/0,
       /*Tree=*/"Speakers() -Wave(V,M) -CD(V) -Synth(M) Record() -Line(V)"},
      // The only source of Record loses its controls: it stays, and so does Record.
      {/*Name=*/"source controls under a bare destination", /*Call=*/"mixerGetLineControlsW", /*Nth=*/4,
       /*Tree=*/"Speakers(V,M) -Wave(V,M) -CD(V) -Synth(M) Record() -Line()"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SimSystem sys;
    sys.Winmm.AddDevice(MixedDevice());
    sys.Log.FailNamed(c.Call, c.Nth);
    TMixer mixer(sys.MixerPlatform());
    mixer.Scan();
    ASSERT_EQ(mixer.GetCount(), 1);
    const TMixerDev& dev = *mixer.GetDevice(0);
    EXPECT_EQ(Describe(dev), c.Tree);
    for (int i = 0; i < dev.Count(); ++i) {
      const TMixerItem* dest = dev.GetItem(i)->DestItem();
      if (dest != nullptr) {
        EXPECT_GE(dev.IndexOf(dest), 0) << "line " << i << " names a freed destination";
      }
    }
  }
}

// A control count that cannot be honoured is a line whose controls cannot be
// read: it stays without controls, no request is sent for it, and the scan goes on.
TEST_F(MixerScanTest, AbsurdControlCountLeavesTheLineWithoutControls) {
  for (const DWORD claimed : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(claimed);
    SimSystem sys;
    SimDevice device = MixedDevice();
    device.Destinations[0].Sources[1].ClaimedControls = claimed;  // CD
    sys.Winmm.AddDevice(std::move(device));
    TMixer mixer(sys.MixerPlatform());
    ASSERT_NO_THROW(mixer.Scan());
    ASSERT_EQ(mixer.GetCount(), 1);
    EXPECT_EQ(Describe(*mixer.GetDevice(0)), "Speakers(V,M) -Wave(V,M) -CD() -Synth(M) Record() -Line(V)");
    for (const std::string& call : sys.Log.Named("mixerGetLineControlsW"))
      EXPECT_EQ(call.find(",0x10000,"), std::string::npos) << call;
  }
}

// A connection count of 2^31 or more is negative as the scan reads it: the
// destination is not read again, so neither it nor a source gets an item.
TEST_F(MixerScanTest, NegativeConnectionCountReadsNoLine) {
  for (const DWORD claimed : {0x80000000u, 0xFFFFFFFFu}) {
    SCOPED_TRACE(claimed);
    SimSystem sys;
    SimDevice device = MixedDevice();
    device.Destinations[0].ClaimedConnections = claimed;
    sys.Winmm.AddDevice(std::move(device));
    TMixer mixer(sys.MixerPlatform());
    ASSERT_NO_THROW(mixer.Scan());
    ASSERT_EQ(mixer.GetCount(), 1);
    EXPECT_EQ(Describe(*mixer.GetDevice(0)), "Record() -Line(V)");
    const std::vector<std::string> queries = sys.Log.Named("mixerGetLineInfoW");
    EXPECT_EQ(std::count_if(queries.begin(), queries.end(),
                            [](const std::string& q) { return q.find("(0x1000,0,") != std::string::npos; }),
              1)
        << "destination 0 is read once, its sources never";
  }
}

TEST_F(MixerScanTest, LineWithOnlyFilteredControlsIsAskedOnceThenRemoved) {
  Sys.Winmm.AddDevice(MixedDevice());
  TMixer& mixer = Make();
  mixer.Target()->SetLineType(AllLines);
  mixer.Target()->SetControlType({ctMute});
  mixer.Scan();
  // CD is source 1 of destination 0: line id 0x00010000.
  EXPECT_EQ(mixer.GetDevice(0)->ItemOfName(WSTR("CD"), 0), nullptr);
  const std::vector<std::string> calls = Calls("mixerGetLineControlsW");
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "mixerGetLineControlsW(0x1000,0x10000,1,0x80000000)"), 1);
}

TEST_F(MixerScanTest, MuteIsAlwaysUniform) {
  Sys.Winmm.AddDevice(MixedDevice());
  TMixer& mixer = Scanned();
  TMixerDev* dev = mixer.GetDevice(0);
  TMixerItem* synth = dev->ItemOfName(WSTR("Synth"), 0);
  ASSERT_NE(synth, nullptr);
  ASSERT_NE(synth->MuteCtrl(), nullptr);
  EXPECT_TRUE(synth->MuteCtrl()->Status().Contains(csUniform));
  // Other kinds keep what the driver says.
  EXPECT_FALSE(synth->DestItem()->VolumeCtrl()->Status().Contains(csUniform));
}

TEST_F(MixerScanTest, PlatformCallsOfOneDevice) {
  Sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Card")));
  TMixer& mixer = Scanned();
  const std::string window = Hex(reinterpret_cast<std::uintptr_t>(mixer.OwnNotifyWindow()));
  const std::vector<std::string> expected = {
      "mixerGetNumDevs()",
      "mixerGetDevCapsW(0,80)",
      "mixerOpen(0," + window + ",0,0x10000)",
      "mixerGetLineInfoW(0x1000,0,0,0x80000000)",
      "mixerGetLineInfoW(0x1000,0,0,0x80000000)",
      "mixerGetLineControlsW(0x1000,0xFFFF0000,2,0x80000000)",
      "mixerGetLineInfoW(0x1000,0,0,0x80000001)",
      "mixerGetLineControlsW(0x1000,0x0,2,0x80000000)",
  };
  std::vector<std::string> winmm;
  for (const std::string& call : Sys.Log.Calls())
    if (call.rfind("mixer", 0) == 0) winmm.push_back(call);
  EXPECT_EQ(winmm, expected);
}

TEST_F(MixerScanTest, OpenFlagsFollowTheWindow) {
  const struct {
    const char* Name;
    bool WithUser32;
    HWND Client;
    bool FailWindow;
    const char* Open;  // with "W" standing for the library's own window
  } cases[] = {
      {/*Name=*/"own window", /*WithUser32=*/true, /*Client=*/nullptr, /*FailWindow=*/false,
       /*Open=*/"mixerOpen(0,W,0,0x10000)"},
      {/*Name=*/"client window", /*WithUser32=*/true, /*Client=*/reinterpret_cast<HWND>(0x4242), /*FailWindow=*/false,
       /*Open=*/"mixerOpen(0,0x4242,0,0x10000)"},
      {/*Name=*/"no window made", /*WithUser32=*/true, /*Client=*/nullptr, /*FailWindow=*/true,
       /*Open=*/"mixerOpen(0,0x0,0,0x0)"},
      {/*Name=*/"no window functions", /*WithUser32=*/false, /*Client=*/nullptr, /*FailWindow=*/false,
       /*Open=*/"mixerOpen(0,0x0,0,0x0)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SimSystem sys;
    sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Card")));
    if (c.FailWindow) sys.Log.FailNamed("CreateWindowExW");
    TMixerPlatform platform = sys.MixerPlatform();
    if (!c.WithUser32) platform.User32 = nullptr;
    TMixer mixer(platform);
    mixer.SetCallbackWindow(c.Client);
    mixer.Scan();
    ASSERT_EQ(mixer.GetCount(), 1);
    std::string expected = c.Open;
    const std::size_t w = expected.find('W');
    if (w != std::string::npos) expected.replace(w, 1, Hex(reinterpret_cast<std::uintptr_t>(mixer.OwnNotifyWindow())));
    EXPECT_EQ(sys.Log.Named("mixerOpen"), std::vector<std::string>{expected});
  }
}

TEST_F(MixerScanTest, SecondScanClosesBeforeOpeningAndBuildsTheSameTree) {
  Sys.Winmm.AddDevice(MixedDevice());
  Sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Card")));
  TMixer& mixer = Scanned();
  const std::string first = Describe(mixer);
  const HWND window = mixer.OwnNotifyWindow();
  Sys.Log.Clear();
  mixer.Scan();
  EXPECT_EQ(Describe(mixer), first);
  EXPECT_EQ(mixer.OwnNotifyWindow(), window);
  const std::string w = Hex(reinterpret_cast<std::uintptr_t>(window));
  EXPECT_EQ(Sys.Log.Calls({"mixerClose", "mixerGetNumDevs", "mixerOpen"}),
            (std::vector<std::string>{"mixerClose(0x1000)", "mixerClose(0x1001)", "mixerGetNumDevs()",
                                      "mixerOpen(0," + w + ",0,0x10000)", "mixerOpen(1," + w + ",0,0x10000)"}));
  EXPECT_EQ(Sys.Winmm.OpenHandleCount(), 2u);
  EXPECT_EQ(Sys.Log.Count("CreateWindowExW"), 0u);
}

TEST_F(MixerScanTest, DevOfNameAndHandleAreExact) {
  Sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Speakers")));
  Sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Speakers")));
  TMixer& mixer = Scanned();
  EXPECT_EQ(mixer.DevOfName(WSTR("Speakers")), mixer.GetDevice(0));
  EXPECT_EQ(mixer.DevOfName(WSTR("speakers")), nullptr);
  EXPECT_EQ(mixer.DevOfName(WSTR("Speaker")), nullptr);
  EXPECT_EQ(mixer.DevOfHandle(mixer.GetDevice(1)->Handle()), mixer.GetDevice(1));
  EXPECT_EQ(mixer.DevOfHandle(reinterpret_cast<HMIXER>(0x999)), nullptr);
}

TEST_F(MixerScanTest, MasterIsTheFirstSpeakersLineOfThePrimaryDevice) {
  Sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Card")));
  TMixer& mixer = Scanned();
  TMixerItem* master = mixer.GetMaster();
  ASSERT_NE(master, nullptr);
  EXPECT_EQ(master, mixer.GetDevice(0)->GetItem(0));

  SimControl* volume = Sys.Winmm.Control(0, master->VolumeCtrl()->ControlID());
  SimControl* mute = Sys.Winmm.Control(0, master->MuteCtrl()->ControlID());
  volume->Values = {65535, 65535};
  EXPECT_EQ(mixer.GetMasterVolume(), master->GetVolume());
  mixer.SetMasterMute(true);
  EXPECT_EQ(mute->Values[0], 1u);
  EXPECT_TRUE(mixer.GetMasterMute());
  mixer.SetMasterVolume(0);
  EXPECT_EQ(volume->Values[0], 0u);
}

TEST_F(MixerScanTest, NoMasterWithoutSpeakersInTheTarget) {
  Sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Card")));
  TMixer& mixer = Make();
  mixer.Target()->SetLineType(TMixerTarget::DefaultLineType - TMixerLineTypes{dtSpeakers});
  mixer.Scan();
  EXPECT_EQ(mixer.GetCount(), 1);
  EXPECT_EQ(mixer.GetMaster(), nullptr);
  EXPECT_EQ(mixer.GetMasterVolume(), -1);
  EXPECT_FALSE(mixer.GetMasterMute());
}

// A mixer whose factories build subclasses, and which calls a different device primary.
class CountingMixer : public TMixer {
 public:
  using TMixer::TMixer;
  struct Dev : TMixerDev {
    using TMixerDev::TMixerDev;
  };
  struct Item : TMixerItem {
    using TMixerItem::TMixerItem;
  };
  int Devs = 0, Items = 0, Ctrls = 0;
  bool LastIsPrimary = false;

  TMixerDev* GetPrimaryDevice() const override {
    return LastIsPrimary && GetCount() > 0 ? GetDevice(GetCount() - 1) : TMixer::GetPrimaryDevice();
  }

 protected:
  std::unique_ptr<TMixerDev> CreateDev(HMIXER Handle, const MIXERCAPSW& Caps, TMixerOptions Options) override {
    ++Devs;
    return std::make_unique<Dev>(this, Handle, Caps, Options);
  }
  std::unique_ptr<TMixerItem> CreateItem(TMixerDev* D, const MIXERLINEW& Line, TMixerItem* DestItem,
                                         std::uint32_t DestNum, TMixerOptions Options) override {
    ++Items;
    return std::make_unique<Item>(D, Line, DestItem, DestNum, Options);
  }
  std::unique_ptr<TMixerCtrl> CreateCtrl(TMixerItem* I, const MIXERCONTROLW& Control, TMixerOptions Options) override {
    ++Ctrls;
    return TMixer::CreateCtrl(I, Control, Options);
  }
};

TEST_F(MixerScanTest, FactoriesMakeEveryObjectAndMasterFollowsThePrimaryDevice) {
  Sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("One")));
  Sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Two")));
  CountingMixer mixer(Sys.MixerPlatform());
  mixer.Scan();
  EXPECT_EQ(mixer.Devs, 2);
  EXPECT_EQ(mixer.Items, 4);
  EXPECT_EQ(mixer.Ctrls, 8);
  EXPECT_NE(dynamic_cast<CountingMixer::Dev*>(mixer.GetDevice(1)), nullptr);
  EXPECT_NE(dynamic_cast<CountingMixer::Item*>(mixer.GetDevice(1)->GetItem(1)), nullptr);
  EXPECT_EQ(mixer.GetMaster()->Device(), mixer.GetDevice(0));
  mixer.LastIsPrimary = true;
  EXPECT_EQ(mixer.GetMaster()->Device(), mixer.GetDevice(1));
}

}  // namespace
