#include "app/MixerMute.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mixers/Mixers.h"
#include "sim/SimSystem.h"

namespace {

// The mute values of every line of a device, destinations each before their sources.
std::vector<DWORD> MuteValues(SimDevice& device) {
  std::vector<DWORD> out;
  auto add = [&out](const SimLine& line) {
    for (const SimControl& c : line.Controls)
      if (c.ControlType == MIXERCONTROL_CONTROLTYPE_MUTE) out.push_back(c.Values.at(0));
  };
  for (const SimDestination& d : device.Destinations) {
    add(d);
    for (const SimLine& s : d.Sources) add(s);
  }
  return out;
}

// A recording destination with a muteable microphone, and a source without a mute control.
SimDevice RecordingDevice() {
  SimDevice device;
  device.Name = WSTR("Recorder");
  device.Destinations.push_back(SimWinmm::Destination(
      MIXERLINE_COMPONENTTYPE_DST_WAVEIN, WSTR("Recording"), 2, {SimWinmm::VolumeControl()},
      {SimWinmm::Line(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, WSTR("Mic"), 1,
                      {SimWinmm::VolumeControl(), SimWinmm::MuteControl()}),
       SimWinmm::Line(MIXERLINE_COMPONENTTYPE_SRC_LINE, WSTR("Line In"), 2, {SimWinmm::VolumeControl()})}));
  return device;
}

SimDevice DeviceWithoutMute() {
  SimDevice device;
  device.Name = WSTR("Volume only");
  device.Destinations.push_back(SimWinmm::Destination(
      MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, WSTR("Speakers"), 2, {SimWinmm::VolumeControl()},
      {SimWinmm::Line(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, WSTR("Wave"), 2, {SimWinmm::VolumeControl()})}));
  return device;
}

void SetAllMutes(SimDevice& device, DWORD value) {
  auto set = [value](SimLine& line) {
    for (SimControl& c : line.Controls)
      if (c.ControlType == MIXERCONTROL_CONTROLTYPE_MUTE) c.Values.assign(c.Values.size(), value);
  };
  for (SimDestination& d : device.Destinations) {
    set(d);
    for (SimLine& s : d.Sources) set(s);
  }
}

TEST(MixerMuteTest, SetsEveryMuteableLineOfEveryDevice) {
  struct Case {
    const char* Name;
    std::vector<SimDevice> Devices;
    DWORD Before;
    bool MuteOn;
    std::vector<std::vector<DWORD>> After;  // per device
    std::vector<std::string> SetHandles;     // the handle of each write, in order
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
      SetAllMutes(device, c.Before);
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
