// The mixer functions of winmm, which is not one of the system's known DLLs:
// it is loaded from the system folder at first use instead of being imported,
// so that a winmm.dll beside the program is never the one that runs.
#pragma once

#include "platform/Loader.h"
#include "platform/Winmm.h"

/// The mixer functions of a loaded winmm: all of them, or none.
struct TWinmmFunctions {
  UINT(WINAPI* mixerGetNumDevs)();
  MMRESULT(WINAPI* mixerGetDevCapsW)(UINT_PTR, LPMIXERCAPSW, UINT);
  MMRESULT(WINAPI* mixerOpen)(LPHMIXER, UINT, DWORD_PTR, DWORD_PTR, DWORD);
  MMRESULT(WINAPI* mixerClose)(HMIXER);
  MMRESULT(WINAPI* mixerGetLineInfoW)(HMIXEROBJ, LPMIXERLINEW, DWORD);
  MMRESULT(WINAPI* mixerGetLineControlsW)(HMIXEROBJ, LPMIXERLINECONTROLSW, DWORD);
  MMRESULT(WINAPI* mixerGetControlDetailsW)(HMIXEROBJ, LPMIXERCONTROLDETAILS, DWORD);
  MMRESULT(WINAPI* mixerSetControlDetails)(HMIXEROBJ, LPMIXERCONTROLDETAILS, DWORD);

  bool Available() const { return mixerGetNumDevs != nullptr; }
};

/// Loads winmm from the system folder and finds its mixer functions; none
/// when it cannot be loaded or lacks any of them.
TWinmmFunctions LoadWinmm(ILoader& Loader);

/// The mixer functions over a table that Resolve gives on every call (loaded
/// at the first). Without the functions it is a system without mixer devices.
class TLoadedWinmm final : public IWinmm {
 public:
  using TResolve = const TWinmmFunctions& (*)();
  explicit TLoadedWinmm(TResolve Resolve) : FResolve(Resolve) {}

  bool Available() const { return FResolve().Available(); }

  UINT mixerGetNumDevs() override;
  MMRESULT mixerGetDevCapsW(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps) override;
  MMRESULT mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen) override;
  MMRESULT mixerClose(HMIXER hmx) override;
  MMRESULT mixerGetLineInfoW(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo) override;
  MMRESULT mixerGetLineControlsW(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls) override;
  MMRESULT mixerGetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override;
  MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override;

 private:
  TResolve FResolve;
};
