// A mixer driver whose every answer comes from the fuzzer's bytes: the device
// count, capabilities, line and control records (counts, flags, types, names
// without terminators), result codes and detail values, read from the
// streams at the moment the library asks.
//
// What it does with the caller's memory follows the system's rules and
// nothing else, so a wrong size or count in a request shows up as an access
// outside the caller's buffer:
//   mixerGetDevCapsW      writes cbmxcaps bytes
//   mixerGetLineInfoW     writes cbStruct bytes
//   mixerGetLineControlsW writes cControls x cbmxctrl bytes (one record for the by-id and by-type queries)
//   control details       transfer cChannels x cMultipleItems elements of cbDetails bytes, where a
//                         cMultipleItems of 0 means a control without items: one element per channel
// A failing call may still have written its buffer, as a careless driver does.
//
// Counts that size real work (cChannels, cControls, cMultipleItems) are drawn
// freely, except that one input's driver has a finite stock of large ones:
// a count from 16 up to 2^26 is granted while the counts granted so far stay
// below CountBudget, and is cut to its low four bits after that. Without the
// stock, a few hundred lines of 65535 controls each would only measure how
// long the library takes to honour them. Larger counts cost nothing (no
// request of their size fits in memory) and are always given.
//
// Beyond the answers it checks what only a driver sees: every call names a
// handle that is open (with MIXER_OBJECTF_HMIXER), and no handle is closed
// twice or closed without having been opened.
#pragma once

#include <cstdint>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "platform/Winmm.h"

class TFuzzWinmm : public IWinmm {
 public:
  static constexpr std::uint64_t CountBudget = 0x01100000;

  explicit TFuzzWinmm(TFuzzInput& Input);

  struct THandle {
    HMIXER Handle;
    UINT DeviceId;
    HWND Window;  // the notification window it was opened with, or null
    int Closes;
  };
  /// Every handle given out, in order.
  const std::vector<THandle>& Handles() const { return FHandles; }
  bool IsOpen(HMIXER Handle) const;
  std::vector<HMIXER> OpenHandles() const;
  /// Line and control identifiers reported so far, for list items and notifications to name.
  const std::vector<DWORD>& LineIds() const { return FLineIds; }
  const std::vector<DWORD>& ControlIds() const { return FControlIds; }

  UINT mixerGetNumDevs() override;
  MMRESULT mixerGetDevCapsW(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps) override;
  MMRESULT mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen) override;
  MMRESULT mixerClose(HMIXER hmx) override;
  MMRESULT mixerGetLineInfoW(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo) override;
  MMRESULT mixerGetLineControlsW(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls) override;
  MMRESULT mixerGetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override;
  MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override;

 private:
  /// A finding unless Object is an open handle named as one.
  void CheckObject(HMIXEROBJ Object, DWORD Flags, const char* Call) const;
  /// True when a call that failed with Result writes its buffer all the same.
  static bool Writes(MMRESULT Result, TFuzzStream& Stream) { return Result == MMSYSERR_NOERROR || Stream.Flag(); }
  MIXERCONTROLW ControlRecord();
  DWORD Param();
  /// A sizing count from the stream, within the stock of large ones.
  DWORD SizingCount(TFuzzStream& Stream);

  TFuzzStream& FDevices;
  TFuzzStream& FLines;
  TFuzzStream& FControls;
  TFuzzStream& FDetails;
  UINT FDeviceCount = 0;
  std::uint64_t FCountStock = CountBudget;
  std::vector<THandle> FHandles;
  std::vector<DWORD> FLineIds;
  std::vector<DWORD> FControlIds;
};
