// An in-memory mixer driver behind the winmm seam. It checks what it is given
// the way the system does (structure sizes, flags, handles, line and control
// identifiers, detail counts and sizes) and answers with the system's result
// codes. Every call is recorded in the shared call log, and any call can be
// made to fail.
//
// Call records (numbers in decimal unless marked hex):
//   mixerGetNumDevs()
//   mixerGetDevCapsW(id,cbmxcaps)
//   mixerOpen(id,callback hex,instance,flags hex)
//   mixerClose(handle hex)
//   mixerGetLineInfoW(handle hex,dwDestination,dwSource,flags hex)
//   mixerGetLineControlsW(handle hex,dwLineID hex,cControls,flags hex)
//   mixerGetControlDetailsW(handle hex,dwControlID,cChannels,cMultipleItems,cbDetails,flags hex)
//   mixerSetControlDetails(handle hex,dwControlID,cChannels,cMultipleItems,cbDetails,flags hex,value,value,...)
// Handles are 0x1000 plus the number of opens before, never reused.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/Winmm.h"
#include "sim/CallLog.h"

struct SimListText {
  DWORD Param1 = 0;
  DWORD Param2 = 0;
  String Name;
};

struct SimControl {
  DWORD ControlID = 0;  // 0: assigned when the device is added (unique within the device)
  DWORD ControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
  DWORD Flags = 0;          // fdwControl as the driver reports it
  DWORD MultipleItems = 0;  // cMultipleItems, for MIXERCONTROL_CONTROLF_MULTIPLE controls
  String Name;
  String ShortName;
  DWORD Bounds[6] = {0, 0, 0, 0, 0, 0};
  DWORD Metrics[6] = {0, 0, 0, 0, 0, 0};
  // Current values as raw 32-bit words (booleans and signed values too):
  // (uniform ? 1 : line channels) x (multiple ? MultipleItems : 1) of them,
  // channel-major as the system lays out details. Zero-filled to that size
  // when the device is added, if shorter.
  std::vector<DWORD> Values;
  // List texts of a multiple-item control, in the order they are reported.
  std::vector<SimListText> ListTexts;
};

struct SimLine {
  DWORD LineID = 0;  // 0: assigned (destination d: 0xFFFF0000 + d; source s of d: (s << 16) | d)
  DWORD ComponentType = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
  DWORD Channels = 2;
  DWORD LineFlags = MIXERLINE_LINEF_ACTIVE;
  String Name;
  String ShortName;
  DWORD TargetType = MIXERLINE_TARGETTYPE_UNDEFINED;
  String TargetName;
  std::vector<SimControl> Controls;
  DWORD ClaimedControls = 0;  // nonzero: the cControls a buggy driver reports instead of the real count
};

struct SimDestination : SimLine {
  std::vector<SimLine> Sources;
  DWORD ClaimedConnections = 0;  // nonzero: the cConnections a buggy driver reports instead of the real count
};

struct SimDevice {
  String Name;
  std::vector<SimDestination> Destinations;
};

class SimWinmm : public IWinmm {
 public:
  explicit SimWinmm(CallLog& Log);

  /// Adds a device and assigns the identifiers still 0; its device identifier.
  UINT AddDevice(SimDevice Device);
  /// A control of each kind as a typical driver reports it.
  static SimControl VolumeControl(const String& Name = WSTR("Volume"));  // 0..65535, 65535 steps, not uniform
  static SimControl MuteControl(const String& Name = WSTR("Mute"));      // boolean, uniform
  /// A device as a typical driver has it: one destination (speakers, two
  /// channels) and one source (wave out, two channels), each with a volume
  /// and a mute control.
  static SimDevice TypicalDevice(const String& Name);
  /// A single-select multiplexer over these items (uniform, the first one selected).
  static SimControl MuxControl(const String& Name, std::vector<SimListText> Items);

  SimDevice& Device(UINT Id) { return FDevices.at(Id); }
  /// The control with this identifier on device Id, or null.
  SimControl* Control(UINT Id, DWORD ControlID);
  /// The device an open handle belongs to, -1 when the handle is not open.
  int DeviceOfHandle(HMIXER Handle) const;
  std::size_t OpenHandleCount() const;

  /// What a call failed by the call log's plan returns (mixerGetNumDevs returns 0).
  MMRESULT FailCode = MMSYSERR_ERROR;

  UINT mixerGetNumDevs() override;
  MMRESULT mixerGetDevCapsW(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps) override;
  MMRESULT mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen) override;
  MMRESULT mixerClose(HMIXER hmx) override;
  MMRESULT mixerGetLineInfoW(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo) override;
  MMRESULT mixerGetLineControlsW(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls) override;
  MMRESULT mixerGetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override;
  MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override;

 private:
  MMRESULT ResolveObject(HMIXEROBJ Object, DWORD Flags, UINT& Id) const;
  MMRESULT CheckDetails(HMIXEROBJ Object, const MIXERCONTROLDETAILS* Details, DWORD Flags, bool Set, UINT& Id,
                        SimLine*& LineOut, SimControl*& ControlOut, DWORD& Count);
  static std::string DetailsCall(const char* Name, HMIXEROBJ Object, const MIXERCONTROLDETAILS* Details, DWORD Flags);

  CallLog& FLog;
  std::vector<SimDevice> FDevices;
  std::vector<int> FOpen;  // device of each handle ever issued, -1 once closed
};
