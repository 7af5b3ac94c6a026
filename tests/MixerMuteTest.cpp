#include "app/MixerMute.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mixers/Mixers.h"
#include "sim/MixerBuilders.h"
#include "sim/SimSystem.h"

namespace {

// The mute controls of every line of a device, destinations each before their sources.
std::vector<SimControl*> MuteControls(SimDevice& device) {
  std::vector<SimControl*> out;
  auto add = [&out](SimLine& line) {
    for (SimControl& c : line.Controls)
      if (c.ControlType == MIXERCONTROL_CONTROLTYPE_MUTE) out.push_back(&c);
  };
  for (SimDestination& d : device.Destinations) {
    add(d);
    for (SimLine& s : d.Sources) add(s);
  }
  return out;
}

std::vector<DWORD> MuteValues(SimDevice& device) {
  std::vector<DWORD> out;
  for (const SimControl* c : MuteControls(device)) out.push_back(c->Values.at(0));
  return out;
}

// A recording destination with a muteable microphone, and a source without a mute control.
SimDevice RecordingDevice() {
  SimDevice device;
  device.Name = WSTR("Recorder");
  device.Destinations.push_back(
      Dest(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, WSTR("Recording"), {SimWinmm::VolumeControl()},
           {Source(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, WSTR("Mic"),
                   {SimWinmm::VolumeControl(), SimWinmm::MuteControl()}, 1),
            Source(MIXERLINE_COMPONENTTYPE_SRC_LINE, WSTR("Line In"), {SimWinmm::VolumeControl()})}));
  return device;
}

SimDevice DeviceWithoutMute() {
  SimDevice device;
  device.Name = WSTR("Volume only");
  device.Destinations.push_back(
      Dest(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, WSTR("Speakers"), {SimWinmm::VolumeControl()},
           {Source(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, WSTR("Wave"), {SimWinmm::VolumeControl()})}));
  return device;
}

TEST(MixerMuteTest, SetsEveryMuteableLineOfEveryDevice) {
  struct Case {
    const char* Name;
    std::vector<SimDevice> Devices;
    DWORD Before;
    bool MuteOn;
    std::vector<std::vector<DWORD>> After;  // per device
    std::vector<std::string> SetHandles;    // the handle of each write, in order
  };
  const Case cases[] = {
      {"no devices", {}, 0, true, {}, {}},
      {"two devices, mute",
       {SimWinmm::TypicalDevice(WSTR("A")), SimWinmm::TypicalDevice(WSTR("B"))},
       0,
       true,
       {{1, 1}, {1, 1}},
       {"0x1000", "0x1000", "0x1001", "0x1001"}},
      {"two devices, unmute",
       {SimWinmm::TypicalDevice(WSTR("A")), SimWinmm::TypicalDevice(WSTR("B"))},
       1,
       false,
       {{0, 0}, {0, 0}},
       {"0x1000", "0x1000", "0x1001", "0x1001"}},
      {"already in the requested state", {SimWinmm::TypicalDevice(WSTR("A"))}, 1, true, {{1, 1}}, {}},
      {"no mute controls", {DeviceWithoutMute()}, 0, true, {{}}, {}},
      {"recording lines too", {RecordingDevice()}, 0, true, {{1}}, {"0x1000"}},
  };
  for (const Case& c : cases) {
    SimSystem sim;
    for (SimDevice device : c.Devices) {
      for (SimControl* mute : MuteControls(device)) mute->Values.assign(mute->Values.size(), c.Before);
      sim.Winmm.AddDevice(std::move(device));
    }
    MixerMute(sim.Platform(), c.MuteOn);

    for (std::size_t i = 0; i < c.After.size(); ++i)
      EXPECT_EQ(MuteValues(sim.Winmm.Device(static_cast<UINT>(i))), c.After[i]) << c.Name << ", device " << i;
    std::vector<std::string> handles;
    for (const std::string& call : sim.Log.Named("mixerSetControlDetails"))
      handles.push_back(call.substr(call.find('(') + 1, call.find(',') - call.find('(') - 1));
    EXPECT_EQ(handles, c.SetHandles) << c.Name;
    EXPECT_EQ(sim.Winmm.OpenHandleCount(), 0u) << c.Name << ": the mixer is freed";
  }
}

TEST(MixerMuteTest, FailureLeavesWithTheDevicesClosed) {
  SimSystem sim;
  sim.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("A")));
  sim.Winmm.AddDevice(SimWinmm::TypicalDevice(WSTR("B")));
  sim.Log.FailNamed("mixerSetControlDetails");
  EXPECT_THROW(MixerMute(sim.Platform(), true), EMixerError);
  EXPECT_EQ(sim.Log.Count("mixerSetControlDetails"), 1u) << "the walk stops at the first failure";
  EXPECT_EQ(sim.Winmm.OpenHandleCount(), 0u);
}

}  // namespace
