// Every platform call of a scan failing in turn, over several machines: the
// tree stays sound, every handle the mixer holds belongs to a device, and
// nothing is left open or alive once the mixer is gone.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "mixers/Mixer.h"
#include "sim/MixerBuilders.h"
#include "sim/SimSystem.h"

namespace {

struct Machine {
  const char* Name;
  std::function<void(SimWinmm&)> Build;
};

const std::vector<Machine>& Machines() {
  static const std::vector<Machine> machines = {
      {/*Name=*/"no devices", /*Build=*/[](SimWinmm&) {}},
      {/*Name=*/"two typical devices",
       /*Build=*/
       [](SimWinmm& w) {
         w.AddDevice(SimWinmm::TypicalDevice(WSTR("One")));
         w.AddDevice(SimWinmm::TypicalDevice(WSTR("Two")));
       }},
      {/*Name=*/"destinations without sources",
       /*Build=*/
       [](SimWinmm& w) {
         SimDevice d;
         d.Name = WSTR("Bare");
         d.Destinations = {Dest(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, WSTR("Out"), {SimWinmm::VolumeControl()}, {}),
                           Dest(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, WSTR("In"), {}, {})};
         w.AddDevice(d);
       }},
      {/*Name=*/"sources without controls",
       /*Build=*/
       [](SimWinmm& w) {
         SimDevice d;
         d.Name = WSTR("Quiet");
         d.Destinations = {Dest(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, WSTR("Out"), {},
                                {Source(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, WSTR("Wave"), {}),
                                 Source(MIXERLINE_COMPONENTTYPE_SRC_LINE, WSTR("Line"), {SimWinmm::MuteControl()}),
                                 Source(MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, WSTR("CD"), {})})};
         w.AddDevice(d);
         w.AddDevice(SimWinmm::TypicalDevice(WSTR("Typical")));
       }},
      {/*Name=*/"multiple-item controls",
       /*Build=*/
       [](SimWinmm& w) {
         SimDevice d;
         d.Name = WSTR("Capture");
         SimLine mic = Source(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, WSTR("Mic"), {SimWinmm::VolumeControl()});
         SimLine line = Source(MIXERLINE_COMPONENTTYPE_SRC_LINE, WSTR("Line"), {SimWinmm::VolumeControl()});
         mic.LineID = 0x00000001;
         line.LineID = 0x00010001;
         d.Destinations = {
             Dest(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, WSTR("Out"),
                  {SimWinmm::VolumeControl(), SimWinmm::MuteControl()},
                  {Source(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, WSTR("Wave"), {SimWinmm::VolumeControl()})}),
             Dest(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, WSTR("In"),
                  {SimWinmm::MuxControl(WSTR("Select"), {{/*Param1=*/0x00000001, /*Param2=*/0, /*Name=*/WSTR("Mic")},
                                                         {/*Param1=*/0x00010001, /*Param2=*/0, /*Name=*/WSTR("Line")}}),
                   SimWinmm::VolumeControl()},
                  {mic, line})};
         w.AddDevice(d);
       }},
  };
  return machines;
}

// The line's position in its destination: -1 for the destination, else its source index.
long SourceIndex(const TMixerItem& Item) {
  return Item.LineId() >= 0xFFFF0000u ? -1 : static_cast<long>(Item.LineId() >> 16);
}

void ExpectSound(const TMixer& Mixer) {
  for (int d = 0; d < Mixer.GetCount(); ++d) {
    SCOPED_TRACE("device " + std::to_string(d));
    const TMixerDev* dev = Mixer.GetDevice(d);
    ASSERT_NE(dev, nullptr);
    EXPECT_EQ(dev->Mixer(), &Mixer);
    int lastRun = -1;
    for (int i = 0; i < dev->Count(); ++i) {
      SCOPED_TRACE("line " + std::to_string(i));
      const TMixerItem* item = dev->GetItem(i);
      ASSERT_NE(item, nullptr);
      EXPECT_EQ(item->Device(), dev);
      if (const TMixerItem* dest = item->DestItem()) {
        const int at = dev->IndexOf(dest);
        ASSERT_GE(at, 0) << "a source names a destination that is gone";
        EXPECT_LT(at, i);
        EXPECT_TRUE(dest->IsDestination());
        EXPECT_EQ(dest->DestNum(), item->DestNum());
      }
      if (i > 0) {
        const TMixerItem* prev = dev->GetItem(i - 1);
        EXPECT_LE(prev->DestNum(), item->DestNum());
        if (prev->DestNum() == item->DestNum()) {
          EXPECT_LT(SourceIndex(*prev), SourceIndex(*item));
        }
      }
      // The line's controls: one run from its first-control index, after the previous line's run.
      const int first = item->CtrlIndex();
      int run = 0;
      for (int c = 0; c < dev->CtrlCount(); ++c)
        if (dev->GetCtrl(c)->Parent() == item) {
          EXPECT_EQ(c, first + run) << "controls of one line are not contiguous";
          ++run;
        }
      if (first < 0) {
        EXPECT_EQ(run, 0);
      } else {
        EXPECT_GT(run, 0);
        EXPECT_GT(first, lastRun);
        lastRun = first + run - 1;
      }
    }
    for (int c = 0; c < dev->CtrlCount(); ++c) {
      const TMixerCtrl* ctrl = dev->GetCtrl(c);
      ASSERT_NE(ctrl, nullptr);
      EXPECT_GE(dev->IndexOf(ctrl->Parent()), 0) << "control " << c << " belongs to no line of its device";
    }
  }
}

// Exercises the tree the way a client would, so freed objects would show.
void Walk(TMixer& Mixer) {
  for (int d = 0; d < Mixer.GetCount(); ++d) {
    TMixerDev* dev = Mixer.GetDevice(d);
    for (int i = 0; i < dev->Count(); ++i) {
      TMixerItem* item = dev->GetItem(i);
      (void)item->Name();
      if (item->DestItem() != nullptr) (void)item->DestItem()->Name();
    }
    (void)Mixer.DevOfHandle(dev->Handle());
  }
  (void)Mixer.GetMaster();
}

struct Setting {
  const char* Name;
  bool EnableInvalidItem;
  TMixerControlTypes ControlTypes;
};

const Setting Settings[] = {
    {/*Name=*/"default", /*EnableInvalidItem=*/false, /*ControlTypes=*/TMixerTarget::DefaultControlType},
    {/*Name=*/"every line, every control", /*EnableInvalidItem=*/true,
     /*ControlTypes=*/TMixerControlTypes::Range(ctCustom, ctUnknown)},
    {/*Name=*/"mute only", /*EnableInvalidItem=*/false, /*ControlTypes=*/{ctMute}},
};

void Configure(TMixer& Mixer, const Setting& S) {
  Mixer.Target()->SetLineType(MixerSourceLineTypes + MixerDestLineTypes);
  Mixer.Target()->SetControlType(S.ControlTypes);
  Mixer.SetEnableInvalidItem(S.EnableInvalidItem);
}

// The calls of a clean run of two scans, and what the first scan built.
struct CleanRun {
  std::vector<std::string> Calls;
  std::size_t FirstScanCalls = 0;
  std::string Tree;
};

// Fails the call at Position (counted over the calls of both scans) and
// checks the mixer after each scan, after Clear and after destruction.
void RunFailing(const Machine& M, const Setting& S, std::size_t Position, const CleanRun& Clean) {
  SimSystem sys;
  M.Build(sys.Winmm);
  sys.Log.FailAt(Position);
  // Only a close the plan refused may leave a handle open outside the tree.
  const bool closeFails = CallLog::NameOf(Clean.Calls[Position]) == "mixerClose";
  const auto leaked = [&] { return closeFails && Position < sys.Log.Calls().size() ? 1u : 0u; };
  {
    TMixer mixer(sys.MixerPlatform());
    Configure(mixer, S);
    for (int round = 0; round < 2; ++round) {
      mixer.Scan();
      ExpectSound(mixer);
      Walk(mixer);
      EXPECT_EQ(sys.Winmm.OpenHandleCount(), static_cast<std::size_t>(mixer.GetCount()) + leaked());
    }
    // A failure in the first scan is mended by the second.
    if (Position < Clean.FirstScanCalls) {
      EXPECT_EQ(Describe(mixer), Clean.Tree);
    }
    mixer.Clear();
    EXPECT_EQ(mixer.GetCount(), 0);
    EXPECT_EQ(sys.Winmm.OpenHandleCount(), leaked());
    mixer.Scan();
  }
  EXPECT_EQ(sys.Winmm.OpenHandleCount(), leaked());
  EXPECT_EQ(sys.User32.WindowCount(), 0u);
}

TEST(MixerFaultTest, EveryCallOfTwoScansFailingInTurn) {
  for (const Machine& machine : Machines()) {
    for (const Setting& setting : Settings) {
      SCOPED_TRACE(std::string(machine.Name) + ", " + setting.Name);
      CleanRun clean;
      {
        SimSystem sys;
        machine.Build(sys.Winmm);
        TMixer mixer(sys.MixerPlatform());
        Configure(mixer, setting);
        mixer.Scan();
        clean.FirstScanCalls = sys.Log.Calls().size();
        clean.Tree = Describe(mixer);
        mixer.Scan();
        ASSERT_EQ(Describe(mixer), clean.Tree);
        clean.Calls = sys.Log.Calls();
      }
      for (std::size_t position = 0; position < clean.Calls.size(); ++position) {
        SCOPED_TRACE("failing " + clean.Calls[position]);
        RunFailing(machine, setting, position, clean);
        if (::testing::Test::HasFatalFailure()) return;
      }
    }
  }
}

}  // namespace
