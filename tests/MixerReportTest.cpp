#include "tools/mixinspect/MixerReport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "sim/MixerBuilders.h"
#include "sim/SimSystem.h"

namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::HasSubstr;

// Position of the first line holding the text, -1 when none does.
int LineOf(const std::vector<std::string>& lines, const std::string& text) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].find(text) != std::string::npos) return static_cast<int>(i);
  return -1;
}

// A scanned machine with everything admitted, as the inspector sees it.
struct Inspected {
  explicit Inspected(std::vector<SimDevice> devices) {
    for (SimDevice& d : devices) System.Winmm.AddDevice(std::move(d));
    AdmitEverything(Mixer);
    Mixer.Scan();
  }
  std::vector<std::string> Report() { return Narrow(MixerReport(Mixer)); }

  SimSystem System;
  TMixer Mixer{System.MixerPlatform()};
};

// A recording destination whose selector lists its two sources; the second is selected.
SimDevice RecordingDevice() {
  SimControl mux = SimWinmm::MuxControl(WSTR("Recording Source"),
                                        {{0x00000000, 0, WSTR("Microphone")}, {0x00010000, 0, WSTR("Line In")}});
  mux.Values = {0, 1};
  SimLine mic = Source(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, WSTR("Microphone"),
                       {SimWinmm::VolumeControl(WSTR("Mic Volume"))}, 1);
  SimLine lineIn =
      Source(MIXERLINE_COMPONENTTYPE_SRC_LINE, WSTR("Line In"), {SimWinmm::VolumeControl(WSTR("Line Volume"))});
  SimLine cd = Source(MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, WSTR("CD Player"), {});
  SimDevice device;
  device.Name = WSTR("USB Capture");
  device.Destinations.push_back(
      Dest(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, WSTR("Recording Control"), {mux}, {mic, lineIn, cd}));
  return device;
}

TEST(MixerReportTest, ListsDevicesThenTheirLinesThenTheirControlsInTreeOrder) {
  Inspected machine({SimWinmm::TypicalDevice(WSTR("Realtek Output")), SimWinmm::TypicalDevice(WSTR("USB Headset"))});
  const auto lines = machine.Report();

  EXPECT_EQ(lines.at(0), "Mixer devices: 2");
  const int dev0 = LineOf(lines, "Device 0: \"Realtek Output\", handle 0x00001000, 2 lines");
  const int speakers = LineOf(lines, "Speakers line \"Speakers\"");
  const int masterVolume = LineOf(lines, "Volume control \"Master Volume\"");
  const int wave = LineOf(lines, "WaveOut line \"Wave\"");
  const int dev1 = LineOf(lines, "Device 1: \"USB Headset\", handle 0x00001001");
  ASSERT_GE(dev0, 0);
  EXPECT_LT(dev0, speakers);
  EXPECT_LT(speakers, masterVolume);
  EXPECT_LT(masterVolume, wave);
  EXPECT_LT(wave, dev1);

  EXPECT_THAT(lines[static_cast<std::size_t>(speakers)],
              AllOf(HasSubstr("2 channels"), HasSubstr("id 0xFFFF0000"), HasSubstr("destination 0"),
                    HasSubstr("target WaveOut \"Realtek Output\"")));
  EXPECT_THAT(lines[static_cast<std::size_t>(wave)],
              AllOf(HasSubstr("id 0x00000000"), HasSubstr("source of destination 0 \"Speakers\"")));
  EXPECT_THAT(lines, Contains(AllOf(HasSubstr("Mute control \"Master Mute\""), HasSubstr("id 2"),
                                    HasSubstr("status uniform"), HasSubstr("range 0..1"), HasSubstr("value off"))));
  EXPECT_THAT(lines,
              Contains(AllOf(HasSubstr("Volume control \"Master Volume\""), HasSubstr("status none"),
                             HasSubstr("range 0..65535"), HasSubstr("steps 65535"), HasSubstr("value 65535 65535"))));
}

TEST(MixerReportTest, ShowsVolumeBalanceAndMuteOfEachLine) {
  struct Case {
    const char* Name;
    DWORD Channels;
    DWORD VolumeFlags;
    std::vector<DWORD> Volume;
    DWORD Mute;
    std::string ExpectedVolume;
    std::string ExpectedMute;
  };
  const Case cases[] = {
      {"stereo, right at half", /*Channels=*/2, /*VolumeFlags=*/0, /*Volume=*/{32768, 16384}, /*Mute=*/1,
       "Volume: 50% (left 32768, right 16384), balance 33", "Mute: on"},
      {"stereo, right only", /*Channels=*/2, /*VolumeFlags=*/0, /*Volume=*/{0, 65535}, /*Mute=*/0,
       "Volume: 100% (left 0, right 65535), balance 100", "Mute: off"},
      {"mono", /*Channels=*/1, /*VolumeFlags=*/0, /*Volume=*/{39321}, /*Mute=*/0, "Volume: 60% (raw 39321)",
       "Mute: off"},
      {"stereo with one value for both channels", /*Channels=*/2, /*VolumeFlags=*/MIXERCONTROL_CONTROLF_UNIFORM,
       /*Volume=*/{65535}, /*Mute=*/0, "Volume: 100% (raw 65535)", "Mute: off"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SimControl volume = SimWinmm::VolumeControl();
    volume.Flags = c.VolumeFlags;
    volume.Values = c.Volume;
    SimControl mute = SimWinmm::MuteControl();
    mute.Values = {c.Mute};
    SimDevice device;
    device.Name = WSTR("Card");
    device.Destinations.push_back(
        Dest(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, WSTR("Out"), {volume, mute}, {}, c.Channels));
    Inspected machine({device});
    const auto lines = machine.Report();
    EXPECT_THAT(lines, Contains("    " + c.ExpectedVolume));
    EXPECT_THAT(lines, Contains("    " + c.ExpectedMute));
  }
}

TEST(MixerReportTest, ListsTheItemsOfASelectorAndMarksTheSelectedOne) {
  Inspected machine({RecordingDevice()});
  const auto lines = machine.Report();

  EXPECT_THAT(lines, Contains(AllOf(HasSubstr("WaveIn line \"Recording Control\""), HasSubstr("destination 0"))));
  EXPECT_THAT(lines, Contains(AllOf(HasSubstr("Mux control \"Recording Source\""), HasSubstr("status multiple uniform"),
                                    HasSubstr("2 items"), HasSubstr("value off on"))));
  EXPECT_THAT(lines, Contains("      Item 0: \"Microphone\", param1 0x00000000, param2 0x00000000"));
  EXPECT_THAT(lines, Contains("      Item 1: \"Line In\", param1 0x00010000, param2 0x00000000, selected"));
  // A source the selector names appears with its own id, so the two can be matched up.
  EXPECT_THAT(lines, Contains(AllOf(HasSubstr("Line line \"Line In\""), HasSubstr("id 0x00010000"))));
}

TEST(MixerReportTest, ShowsLinesWithoutControls) {
  Inspected machine({RecordingDevice()});
  const auto lines = machine.Report();

  const int cd = LineOf(lines, "CompactDisk line \"CD Player\"");
  ASSERT_GE(cd, 0);
  EXPECT_EQ(lines.at(static_cast<std::size_t>(cd) + 1), "    (no controls)");
}

TEST(MixerReportTest, AValueThatCannotBeReadIsReportedAndTheRestStillShows) {
  Inspected machine({SimWinmm::TypicalDevice(WSTR("Realtek Output"))});
  // The first detail read of the report is the master line's volume.
  machine.System.Log.FailNamed("mixerGetControlDetailsW", 0);
  const auto lines = machine.Report();

  EXPECT_THAT(lines, Contains(HasSubstr("    Volume: unreadable (EMixerError: ")));
  EXPECT_THAT(lines, Contains("    Mute: off"));
  EXPECT_THAT(lines, Contains(HasSubstr("WaveOut line \"Wave\"")));
  EXPECT_THAT(lines, Contains(AllOf(HasSubstr("Mute control \"Mute\""), HasSubstr("value off"))));
}

TEST(MixerReportTest, ChangeEventsNameDeviceLineAndControlWithTheNewValue) {
  Inspected machine({SimWinmm::TypicalDevice(WSTR("Realtek Output")), SimWinmm::TypicalDevice(WSTR("USB Headset"))});
  TMixerDev* dev = machine.Mixer.GetDevice(1);
  TMixerItem* wave = dev->ItemOfType(ltWaveOut, 0);
  ASSERT_NE(wave, nullptr);
  TMixerCtrl* mute = wave->MuteCtrl();
  ASSERT_NE(mute, nullptr);
  machine.System.Winmm.Control(1, mute->ControlID())->Values = {1};

  EXPECT_THAT(Narrow(LineChangeReport(machine.Mixer, dev, wave)),
              ::testing::ElementsAre("Line change: device 1 \"USB Headset\", WaveOut line \"Wave\" (id 0x00000000)",
                                     "  Volume: 100% (left 65535, right 65535), balance 50", "  Mute: on"));
  EXPECT_THAT(Narrow(ControlChangeReport(machine.Mixer, dev, wave, mute)),
              ::testing::ElementsAre("Control change: device 1 \"USB Headset\", WaveOut line \"Wave\", Mute control "
                                     "\"Mute\" (id " +
                                     std::to_string(mute->ControlID()) + "), value on"));
}

TEST(MixerReportTest, DescribesExceptionsByClassAndMessage) {
  EXPECT_EQ(Narrow(DescribeException(EMixerError(WSTR("bad"), 11, nullptr))), "EMixerError: bad");
  EXPECT_EQ(Narrow(DescribeException(std::runtime_error("boom"))), "Exception: boom");
}

}  // namespace
