// A mixer device: its name, its lookups over lines and controls, removing a
// line, and what it frees and closes.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "mixers/Mixer.h"
#include "sim/MixerBuilders.h"
#include "sim/SimSystem.h"

namespace {

// Lines that tell how they are freed, and a device that lets the tests remove lines.
struct Trail {
  std::vector<std::string> Events;
};

class TracedItem : public TMixerItem {
 public:
  TracedItem(Trail& T, TMixerDev* Dev, const MIXERLINEW& Line, TMixerItem* DestItem, std::uint32_t DestNum,
             TMixerOptions Options)
      : TMixerItem(Dev, Line, DestItem, DestNum, Options), FTrail(T) {}
  ~TracedItem() override {
    bool listed = false;
    for (int i = 0; i < Device()->Count(); ++i) listed = listed || Device()->GetItem(i) == this;
    const bool controlsAlive = Device()->CtrlCount() > 0 && Device()->GetCtrl(0) != nullptr;
    FTrail.Events.push_back(Narrow(Name()) + (listed ? " still listed" : "") +
                            (controlsAlive ? "" : " after the controls"));
  }

 private:
  Trail& FTrail;
};

class OpenDev : public TMixerDev {
 public:
  using TMixerDev::DeleteItem;
  using TMixerDev::TMixerDev;
};

class TracingMixer : public TMixer {
 public:
  TracingMixer(const TMixerPlatform& Platform, Trail& T) : TMixer(Platform), FTrail(T) {}
  OpenDev* Dev(int Index) const { return static_cast<OpenDev*>(GetDevice(Index)); }

 protected:
  std::unique_ptr<TMixerDev> CreateDev(HMIXER Handle, const MIXERCAPSW& Caps, TMixerOptions Options) override {
    return std::make_unique<OpenDev>(this, Handle, Caps, Options);
  }
  std::unique_ptr<TMixerItem> CreateItem(TMixerDev* Dev, const MIXERLINEW& Line, TMixerItem* DestItem,
                                         std::uint32_t DestNum, TMixerOptions Options) override {
    return std::make_unique<TracedItem>(FTrail, Dev, Line, DestItem, DestNum, Options);
  }

 private:
  Trail& FTrail;
};

// Items in order: 0 Out, 1 Wave, 2 CD, 3 wave, 4 Wave, 5 "" (capture), 6 Line.
SimDevice LookupDevice(const String& Name) {
  SimDevice device;
  device.Name = Name;
  SimDestination out;
  static_cast<SimLine&>(out) =
      Source(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, WSTR("Out"), {SimWinmm::VolumeControl(), SimWinmm::MuteControl()});
  out.Sources = {Source(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, WSTR("Wave"), {SimWinmm::VolumeControl()}),
                 Source(MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, WSTR("CD"), {SimWinmm::VolumeControl()}),
                 Source(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, WSTR("wave"), {SimWinmm::VolumeControl()}),
                 Source(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, WSTR("Wave"), {SimWinmm::MuteControl()})};
  SimDestination in;
  static_cast<SimLine&>(in) = Source(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, WSTR(""), {});
  in.Sources = {Source(MIXERLINE_COMPONENTTYPE_SRC_LINE, WSTR("Line"), {SimWinmm::VolumeControl()})};
  device.Destinations = {out, in};
  return device;
}

struct MixerDevTest : ::testing::Test {
  SimSystem Sys;
  Trail T;
  std::unique_ptr<TracingMixer> Mixer;

  void SetUp() override {
    Sys.Winmm.AddDevice(LookupDevice(WSTR("Card")));
    Sys.Winmm.AddDevice(LookupDevice(WSTR("Other")));
    Mixer = std::make_unique<TracingMixer>(Sys.MixerPlatform(), T);
    Mixer->Target()->SetLineType(MixerSourceLineTypes + MixerDestLineTypes);
    Mixer->SetEnableInvalidItem(true);
    Mixer->Scan();
    ASSERT_EQ(Mixer->GetCount(), 2);
    ASSERT_EQ(Mixer->Dev(0)->Count(), 7);
  }
  OpenDev& Dev() { return *Mixer->Dev(0); }
  TMixerItem* At(int Index) { return Dev().GetItem(Index); }
};

}  // namespace

namespace {

TEST_F(MixerDevTest, NameFromTheCapabilities) {
  const struct {
    const char* Name;
    String Field;  // written into szPname, without a terminator when it fills the field
    TMixerOptions Options;
    String Expected;
  } cases[] = {
      {/*Name=*/"short", /*Field=*/WSTR("Card"), /*Options=*/{}, /*Expected=*/WSTR("Card")},
      {/*Name=*/"stops at the first zero", /*Field=*/String(WSTR("Ca\0rd"), 5), /*Options=*/{},
       /*Expected=*/WSTR("Ca")},
      {/*Name=*/"fills the field", /*Field=*/String(32, WCHAR('x')), /*Options=*/{},
       /*Expected=*/String(32, WCHAR('x'))},
      {/*Name=*/"suppressed", /*Field=*/WSTR("Card"), /*Options=*/{moNoDeviceName}, /*Expected=*/WSTR("")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    MIXERCAPSW caps{};
    std::copy(c.Field.begin(), c.Field.end(), caps.szPname);
    // A byte after the field that must not be read as part of the name.
    caps.fdwSupport = 0x41;
    TMixerDev dev(Mixer.get(), reinterpret_cast<HMIXER>(0x77), caps, c.Options);
    EXPECT_EQ(dev.Name(), c.Expected);
  }
}

TEST_F(MixerDevTest, DestructionFreesLinesBeforeControlsThenClosesTheHandle) {
  const auto close = [](TMixerDev* Dev) {
    return "mixerClose(" + Hex(reinterpret_cast<std::uintptr_t>(Dev->Handle())) + ")";
  };
  const std::vector<std::string> closes = {close(Mixer->Dev(0)), close(Mixer->Dev(1))};
  Sys.Log.Clear();
  T.Events.clear();
  Mixer->Clear();
  ASSERT_GE(T.Events.size(), 7u);
  EXPECT_EQ(T.Events[0], "Out");
  EXPECT_EQ(T.Events[6], "Line");
  // Both devices, in order, each exactly once.
  EXPECT_EQ(Sys.Log.Named("mixerClose"), closes);
  EXPECT_EQ(Sys.Winmm.OpenHandleCount(), 0u);
}

TEST_F(MixerDevTest, ItemOfTypeAndName) {
  const struct {
    const char* Name;
    bool ByType;
    TMixerLineType Type;
    String Text;
    int Start;
    int Expected;  // position, -1 for none
  } cases[] = {
      {/*Name=*/"first of a type", /*ByType=*/true, /*Type=*/ltWaveOut, /*Text=*/WSTR(""), /*Start=*/0, /*Expected=*/1},
      {/*Name=*/"from a later start", /*ByType=*/true, /*Type=*/ltWaveOut, /*Text=*/WSTR(""), /*Start=*/2,
       /*Expected=*/3},
      {/*Name=*/"start on a match", /*ByType=*/true, /*Type=*/ltWaveOut, /*Text=*/WSTR(""), /*Start=*/4,
       /*Expected=*/4},
      {/*Name=*/"none after", /*ByType=*/true, /*Type=*/ltWaveOut, /*Text=*/WSTR(""), /*Start=*/5, /*Expected=*/-1},
      {/*Name=*/"start at count", /*ByType=*/true, /*Type=*/ltLine, /*Text=*/WSTR(""), /*Start=*/7, /*Expected=*/-1},
      {/*Name=*/"negative start", /*ByType=*/true, /*Type=*/dtSpeakers, /*Text=*/WSTR(""), /*Start=*/-1,
       /*Expected=*/-1},
      {/*Name=*/"absent type", /*ByType=*/true, /*Type=*/dtHeadphones, /*Text=*/WSTR(""), /*Start=*/0,
       /*Expected=*/-1},
      {/*Name=*/"name", /*ByType=*/false, /*Type=*/ltUnknown, /*Text=*/WSTR("Wave"), /*Start=*/0, /*Expected=*/1},
      {/*Name=*/"name, case counts", /*ByType=*/false, /*Type=*/ltUnknown, /*Text=*/WSTR("wave"), /*Start=*/0,
       /*Expected=*/3},
      {/*Name=*/"name from a later start", /*ByType=*/false, /*Type=*/ltUnknown, /*Text=*/WSTR("Wave"), /*Start=*/2,
       /*Expected=*/4},
      {/*Name=*/"no such name", /*ByType=*/false, /*Type=*/ltUnknown, /*Text=*/WSTR("WAVE"), /*Start=*/0,
       /*Expected=*/-1},
      {/*Name=*/"empty name", /*ByType=*/false, /*Type=*/ltUnknown, /*Text=*/WSTR(""), /*Start=*/0, /*Expected=*/5},
      {/*Name=*/"name, start at count", /*ByType=*/false, /*Type=*/ltUnknown, /*Text=*/WSTR("Line"), /*Start=*/7,
       /*Expected=*/-1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TMixerItem* found = c.ByType ? Dev().ItemOfType(c.Type, c.Start) : Dev().ItemOfName(c.Text, c.Start);
    EXPECT_EQ(found, c.Expected < 0 ? nullptr : At(c.Expected));
  }
}

TEST_F(MixerDevTest, NextLookupsWalkInPositionOrder) {
  std::vector<int> byType;
  for (TMixerItem* item = Dev().ItemOfType(ltWaveOut, 0); item != nullptr; item = Dev().ItemOfTypeNext(item))
    byType.push_back(Dev().IndexOf(item));
  EXPECT_EQ(byType, (std::vector<int>{1, 3, 4}));

  std::vector<int> byName;
  for (TMixerItem* item = Dev().ItemOfName(WSTR("Wave"), 0); item != nullptr; item = Dev().ItemOfNameNext(item))
    byName.push_back(Dev().IndexOf(item));
  EXPECT_EQ(byName, (std::vector<int>{1, 4}));

  TMixerItem* foreign = Mixer->Dev(1)->GetItem(1);
  EXPECT_EQ(Dev().IndexOf(foreign), -1);
  EXPECT_EQ(Dev().ItemOfTypeNext(foreign), nullptr);
  EXPECT_EQ(Dev().ItemOfNameNext(foreign), nullptr);
  EXPECT_EQ(Dev().ItemOfTypeNext(nullptr), nullptr);
  EXPECT_EQ(Dev().ItemOfNameNext(nullptr), nullptr);
}

TEST_F(MixerDevTest, LookupsByIdentifierAndPosition) {
  EXPECT_EQ(Dev().ItemOfLineID(At(3)->LineId()), At(3));
  EXPECT_EQ(Dev().ItemOfLineID(0x12345678), nullptr);
  for (int i = 0; i < Dev().CtrlCount(); ++i) {
    TMixerCtrl* ctrl = Dev().GetCtrl(i);
    ASSERT_NE(ctrl, nullptr);
    EXPECT_EQ(Dev().CtrlOfControlID(ctrl->ControlID()), ctrl);
  }
  EXPECT_EQ(Dev().CtrlOfControlID(0xDEAD), nullptr);

  const int outside[] = {-1, 7, 1000};
  for (int index : outside) EXPECT_EQ(Dev().GetItem(index), nullptr) << index;
  EXPECT_EQ(Dev().GetCtrl(-1), nullptr);
  EXPECT_EQ(Dev().GetCtrl(Dev().CtrlCount()), nullptr);
}

TEST_F(MixerDevTest, DeleteItemKeepsTheOrder) {
  // Three lines of their own on the second device: its destinations without
  // the capture line.
  OpenDev& other = *Mixer->Dev(1);
  TMixerItem* first = At(0);
  TMixerItem* second = At(1);
  TMixerItem* third = At(2);
  T.Events.clear();
  EXPECT_EQ(Dev().DeleteItem(first), 0);
  EXPECT_EQ(T.Events, std::vector<std::string>{"Out"});
  EXPECT_EQ(Dev().Count(), 6);
  EXPECT_EQ(At(0), second);
  EXPECT_EQ(At(1), third);
  EXPECT_EQ(Dev().DeleteItem(At(5)), 5);
  EXPECT_EQ(Dev().Count(), 5);
  // Controls stay where they were.
  EXPECT_EQ(Dev().CtrlCount(), 7);

  T.Events.clear();
  EXPECT_EQ(Dev().DeleteItem(other.GetItem(0)), -1);
  EXPECT_EQ(Dev().DeleteItem(nullptr), -1);
  EXPECT_TRUE(T.Events.empty());
  EXPECT_EQ(other.Count(), 7);
}

}  // namespace

namespace {

// A device that extends Clear, as a descendant may; the override must still run
// when the mixer lets go of the device, and before the device's handle closes.
class ExtendedClearDev : public TMixerDev {
 public:
  ExtendedClearDev(std::vector<std::string>& Events, const CallLog& Log, TMixer* Mixer, HMIXER Handle,
                   const MIXERCAPSW& Caps, TMixerOptions Options)
      : TMixerDev(Mixer, Handle, Caps, Options), FEvents(Events), FLog(Log) {}
  void Clear() override {
    FEvents.push_back("Clear " + Narrow(Name()) + " after " + std::to_string(FLog.Count("mixerClose")) + " closes, " +
                      std::to_string(Count()) + " lines");
    TMixerDev::Clear();
  }

 private:
  std::vector<std::string>& FEvents;
  const CallLog& FLog;
};

class ExtendedClearMixer : public TMixer {
 public:
  ExtendedClearMixer(const TMixerPlatform& Platform, std::vector<std::string>& Events, const CallLog& Log)
      : TMixer(Platform), FEvents(Events), FLog(Log) {}

 protected:
  std::unique_ptr<TMixerDev> CreateDev(HMIXER Handle, const MIXERCAPSW& Caps, TMixerOptions Options) override {
    return std::make_unique<ExtendedClearDev>(FEvents, FLog, this, Handle, Caps, Options);
  }

 private:
  std::vector<std::string>& FEvents;
  const CallLog& FLog;
};

TEST(MixerDevClear, OverrideRunsWhenTheMixerFreesItsDevices) {
  const struct {
    const char* Name;
    bool ByDestruction;
  } cases[] = {
      {/*Name=*/"Clear", /*ByDestruction=*/false},
      {/*Name=*/"destruction", /*ByDestruction=*/true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    SimSystem sys;
    sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("One")));
    sys.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("Two")));
    std::vector<std::string> events;
    auto mixer = std::make_unique<ExtendedClearMixer>(sys.MixerPlatform(), events, sys.Log);
    mixer->Scan();
    sys.Log.Clear();
    if (c.ByDestruction)
      mixer.reset();
    else
      mixer->Clear();
    EXPECT_EQ(events,
              (std::vector<std::string>{"Clear One after 0 closes, 2 lines", "Clear Two after 1 closes, 2 lines"}));
    EXPECT_EQ(sys.Winmm.OpenHandleCount(), 0u);
  }
}

}  // namespace
