// A line's volume, balance and mute over a scanned simulated device.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "mixers/Mixers.h"
#include "sim/MixerBuilders.h"
#include "sim/SimSystem.h"

namespace {

// Stands in for the device below the raw-volume accessors, to show that the
// level layer reaches them only through virtual calls.
class FakeLevelItem : public TMixerItem {
 public:
  using TMixerItem::TMixerItem;
  TMixerVolume Raw;
  std::vector<TMixerVolume> Written;

  TMixerVolume GetRawVolume() override { return Raw; }
  void SetRawVolume(TMixerVolume Value) override {
    Written.push_back(Value);
    Raw = Value;
  }
};

class LevelMixer : public TMixer {
 public:
  using TMixer::TMixer;
  bool Fake = false;

 protected:
  std::unique_ptr<TMixerItem> CreateItem(TMixerDev* AMixerDev, const MIXERLINEW& Line, TMixerItem* DestItem,
                                         std::uint32_t DestNum, TMixerOptions Options) override {
    if (Fake) return std::make_unique<FakeLevelItem>(AMixerDev, Line, DestItem, DestNum, Options);
    return TMixer::CreateItem(AMixerDev, Line, DestItem, DestNum, Options);
  }
};

class MixerItemVolumeTest : public ::testing::Test {
 protected:
  SimSystem Sim;
  std::unique_ptr<LevelMixer> Mixer;
  TMixerItem* Line = nullptr;  // the first line of the device

  void Scan(SimDevice Device, bool Fake = false) {
    Sim.Winmm.AddDevice(std::move(Device));
    Mixer = std::make_unique<LevelMixer>(Sim.MixerPlatform());
    Mixer->Fake = Fake;
    auto target = std::make_unique<TMixerTarget>();
    target->SetLineType(MixerSourceLineTypes + MixerDestLineTypes);
    target->SetControlType({ctVolume, ctMute});
    Mixer->SetTarget(std::move(target));
    Mixer->Scan();
    ASSERT_EQ(Mixer->GetCount(), 1);
    Line = Mixer->GetDevice(0)->GetItem(0);
    Sim.Log.Clear();
  }
  void ScanTypical() { Scan(SimWinmm::TypicalDevice(WSTR("Card"))); }
  // The driver's values of a line's first volume (or mute) control.
  std::vector<DWORD>& Stored(TMixerItem* Item) { return Sim.Winmm.Control(0, Item->VolumeCtrl()->ControlID())->Values; }
  std::vector<DWORD>& StoredMute(TMixerItem* Item) {
    return Sim.Winmm.Control(0, Item->MuteCtrl()->ControlID())->Values;
  }
  void SetDevice(DWORD Left, DWORD Right) { Stored(Line) = {Left, Right}; }
  std::vector<DWORD> Pair() {
    const std::vector<DWORD>& values = Stored(Line);
    return {values.at(0), values.at(1)};
  }
  std::size_t Writes() const { return Sim.Log.Count("mixerSetControlDetails"); }
  std::size_t Reads() const { return Sim.Log.Count("mixerGetControlDetailsW"); }
};

TEST_F(MixerItemVolumeTest, VolumeOnACentredLine) {
  ScanTypical();
  EXPECT_EQ(Line->GetBalance(), 50);
  struct Case {
    int Percent;
    DWORD Raw;
    int ReadBack;
  };
  // 32767.5 and 6553.5 round up to even, 19660.5 and 45874.5 down to even.
  const Case cases[] = {{50, 32768, 50},   {10, 6554, 10},    {30, 19660, 30}, {70, 45874, 70}, {90, 58982, 90},
                        {100, 65535, 100}, {150, 65535, 100}, {0, 0, 0},       {-5, 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Percent);
    SetDevice(1, 1);
    Line->SetVolume(c.Percent);
    EXPECT_EQ(Pair(), (std::vector<DWORD>{c.Raw, c.Raw}));
    EXPECT_EQ(Line->GetVolume(), c.ReadBack);
    EXPECT_EQ(Line->RawBalance(), 1.0f);
  }
}

TEST_F(MixerItemVolumeTest, BalanceSpreadsTheLevel) {
  ScanTypical();
  SetDevice(32768, 32768);
  struct Step {
    int Balance;
    DWORD Left, Right;
  };
  const Step steps[] = {{20, 32768, 8192}, {80, 8192, 32768}, {100, 0, 32768}, {0, 32768, 0}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.Balance);
    Line->SetBalance(s.Balance);
    EXPECT_EQ(Pair(), (std::vector<DWORD>{s.Left, s.Right}));
    EXPECT_EQ(Line->GetBalance(), s.Balance);
    EXPECT_EQ(Line->GetVolume(), 50);
  }
}

TEST_F(MixerItemVolumeTest, StoredRatioSurvivesRounding) {
  ScanTypical();
  Line->SetBalance(25);
  EXPECT_EQ(Line->RawBalance(), 1.0f / 3.0f);
  Line->SetVolume(100);
  EXPECT_EQ(Pair(), (std::vector<DWORD>{65535, 21845}));
  EXPECT_EQ(Line->GetVolume(), 100);
  EXPECT_EQ(Line->RawBalance(), 1.0f / 3.0f) << "21845/65535 is within the tolerance";

  // Too quiet to tell a ratio: the stored one stays.
  Line->SetRawBalance(0.25f);
  Line->SetVolume(1);
  EXPECT_EQ(Pair(), (std::vector<DWORD>{655, 164}));
  EXPECT_EQ(Line->GetVolume(), 1);
  EXPECT_EQ(Line->RawBalance(), 0.25f);
}

TEST_F(MixerItemVolumeTest, ReadingVolumeRefreshesTheRatio) {
  ScanTypical();
  struct Case {
    const char* Label;
    DWORD Left, Right;
    float Before, After;
    int Balance;
  };
  const Case cases[] = {
      {"right only", 0, 5000, 1.0f, 131071.0f, 100},        {"left only", 5000, 0, 1.0f, 0.0f, 0},
      {"within tolerance", 40000, 40020, 1.0f, 1.0f, 50},   {"sum below 3000", 1500, 1499, 0.25f, 0.25f, 20},
      {"sum of exactly 3000", 1500, 1500, 0.25f, 1.0f, 50}, {"any change from zero", 1000, 3000, 0.0f, 3.0f, 75},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Label);
    SetDevice(c.Left, c.Right);
    Line->SetRawBalance(c.Before);
    Line->GetVolume();
    EXPECT_EQ(Line->RawBalance(), c.After);
    EXPECT_EQ(Line->GetBalance(), c.Balance);
  }
  EXPECT_EQ(Writes(), 0u);

  // The option is read at each access.
  SetDevice(0, 5000);
  Line->SetRawBalance(1.0f);
  Mixer->SetOptions({moNoBalanceAutoUpdate});
  EXPECT_EQ(Line->GetVolume(), 8);
  EXPECT_EQ(Line->GetBalance(), 50);
  Mixer->SetOptions({});
  EXPECT_EQ(Line->GetVolume(), 8);
  EXPECT_EQ(Line->GetBalance(), 100);
}

TEST_F(MixerItemVolumeTest, MonoLineWritesOneElement) {
  SimControl volume = SimWinmm::VolumeControl();
  volume.Values = {0};
  Scan(OneDestination(1, {volume}));
  Line->SetRawBalance(0.25f);
  Line->SetVolume(60);
  const std::vector<std::string> writes = Sim.Log.Named("mixerSetControlDetails");
  ASSERT_EQ(writes.size(), 1u);
  EXPECT_NE(writes[0].find(",1,0,4,0x80000000,39321)"), std::string::npos) << writes[0];
  Stored(Line)[0] = 3000;
  EXPECT_EQ(Line->GetVolume(), 5);
  EXPECT_EQ(Line->RawBalance(), 0.25f) << "a mono line has no ratio to read";
}

TEST_F(MixerItemVolumeTest, RawWriteKeepsFurtherChannelsAndLimits) {
  SimControl six = SimWinmm::VolumeControl();
  six.Values = {1, 2, 3, 4, 5, 6};
  Scan(OneDestination(2, {SimWinmm::VolumeControl()},
                      {Source(MIXERLINE_COMPONENTTYPE_SRC_LINE, WSTR("Surround"), {six}, 6)}));
  TMixerItem* surround = Mixer->GetDevice(0)->GetItem(1);
  TMixerVolume v;
  v.Left() = 100;
  v.Right() = 70000;
  surround->SetRawVolume(v);
  EXPECT_EQ(Reads(), 1u) << "the other four channels are read first";
  EXPECT_EQ(Stored(surround), (std::vector<DWORD>{100, 65535, 3, 4, 5, 6}));
  EXPECT_EQ(surround->GetRawVolume().Right(), 65535u);

  Sim.Log.Clear();
  v.Left() = 65536;
  Line->SetRawVolume(v);
  EXPECT_EQ(Reads(), 0u) << "two channels are written without a read";
  EXPECT_EQ(Pair(), (std::vector<DWORD>{65535, 65535}));
}

TEST_F(MixerItemVolumeTest, WritesOnlyWhatChanges) {
  ScanTypical();
  SetDevice(32768, 32768);
  Line->SetVolume(50);
  EXPECT_EQ(Writes(), 0u);

  // A balance on a silent line is stored and waits for the volume.
  SetDevice(0, 0);
  Line->SetBalance(30);
  EXPECT_EQ(Writes(), 0u);
  EXPECT_EQ(Line->RawBalance(), static_cast<float>(30.0 / 70.0));
  Line->SetVolume(100);
  EXPECT_EQ(Pair(), (std::vector<DWORD>{65535, 28086}));

  // A failing write leaves the new ratio stored.
  Sim.Log.FailNamed("mixerSetControlDetails");
  EXPECT_THROW(Line->SetBalance(20), EMixerError);
  EXPECT_EQ(Line->RawBalance(), 0.25f);
}

TEST_F(MixerItemVolumeTest, VolumeExStepsTowardsTheTarget) {
  ScanTypical();
  struct Case {
    const char* Label;
    int From, Step, Target, After;
    bool Result;
  };
  const Case cases[] = {
      {"step 5 up", 20, 5, 80, 33, true},        {"step 0 moves one point", 20, 0, 80, 21, true},
      {"step 25 arrives", 20, 25, 80, 80, true}, {"step 5 down", 80, 5, 20, 67, true},
      {"already there", 80, 5, 80, 80, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Label);
    Line->SetVolume(c.From);
    Sim.Log.Clear();
    EXPECT_EQ(Line->SetVolumeEx(c.Step, c.Target), c.Result);
    EXPECT_EQ(Writes(), c.Result ? 1u : 0u);
    EXPECT_EQ(Line->GetVolume(), c.After);
  }
}

TEST_F(MixerItemVolumeTest, MuteWritesOnlyAChange) {
  ScanTypical();
  struct Case {
    DWORD Initial;
    bool Set;
    std::size_t Writes;
  };
  const Case cases[] = {{0, true, 1}, {1, true, 0}, {1, false, 1}, {0, false, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Initial * 10 + c.Set);
    StoredMute(Line) = {c.Initial};
    Sim.Log.Clear();
    Line->SetMute(c.Set);
    EXPECT_EQ(Writes(), c.Writes);
    EXPECT_EQ(StoredMute(Line)[0], c.Set ? 1u : 0u);
    EXPECT_EQ(Line->GetMute(), c.Set);
  }
}

TEST_F(MixerItemVolumeTest, MissingControlsWriteNothing) {
  const SimLine wave = Source(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, WSTR("Wave"), {SimWinmm::VolumeControl()});
  Scan(OneDestination(2, {SimWinmm::MuteControl()}, {wave}));
  TMixerItem* muteOnly = Line;
  TMixerItem* volumeOnly = Mixer->GetDevice(0)->GetItem(1);
  EXPECT_FALSE(muteOnly->VolumeExists());
  EXPECT_EQ(muteOnly->GetVolume(), -1);
  EXPECT_EQ(muteOnly->GetRawVolume().Left(), 0u);
  muteOnly->SetVolume(50);
  muteOnly->SetBalance(20);
  EXPECT_EQ(muteOnly->RawBalance(), 0.25f);
  EXPECT_TRUE(muteOnly->SetVolumeEx(5, 50));
  EXPECT_FALSE(muteOnly->SetVolumeEx(5, 0));
  EXPECT_FALSE(volumeOnly->MuteExists());
  EXPECT_FALSE(volumeOnly->GetMute());
  volumeOnly->SetMute(true);
  EXPECT_EQ(Sim.Log.Calls().size(), 0u);
}

TEST_F(MixerItemVolumeTest, EveryPercentAndBalanceRoundTrips) {
  ScanTypical();
  for (int p = 0; p <= 100; ++p) {
    Line->SetVolume(p);
    EXPECT_EQ(Line->GetVolume(), p) << p;
  }
  for (int b = 0; b <= 100; ++b) {
    Line->SetBalance(b);
    EXPECT_EQ(Line->GetBalance(), b) << b;
    EXPECT_EQ(Line->GetVolume(), 100) << b;
    EXPECT_EQ(Line->GetBalance(), b) << "after reading the device back, " << b;
  }
}

TEST_F(MixerItemVolumeTest, LevelsGoThroughTheVirtualAccessors) {
  Scan(SimWinmm::TypicalDevice(WSTR("Card")), true);
  auto* fake = dynamic_cast<FakeLevelItem*>(Line);
  ASSERT_NE(fake, nullptr);
  fake->Raw.Left() = 0;
  fake->Raw.Right() = 5000;
  EXPECT_EQ(fake->GetVolume(), 8);
  EXPECT_EQ(fake->GetBalance(), 100);
  fake->SetBalance(0);
  ASSERT_EQ(fake->Written.size(), 1u);
  EXPECT_EQ(fake->Written[0].Left(), 5243u);
  EXPECT_EQ(fake->Written[0].Right(), 0u);
  EXPECT_TRUE(fake->SetVolumeEx(25, 50));
  EXPECT_EQ(fake->Written.back().Left(), 32768u);
  EXPECT_EQ(Sim.Log.Calls().size(), 0u);
}

}  // namespace
