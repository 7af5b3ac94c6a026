#include "platform/LoadedWinmm.h"

namespace {

template <class Function>
bool Find(ILoader& Loader, HMODULE Module, LPCSTR Name, Function& Slot) {
  Slot = ProcAs<Function>(Loader.GetProcAddress(Module, Name));
  return Slot != nullptr;
}

}  // namespace

TWinmmFunctions LoadWinmm(ILoader& Loader) {
  TWinmmFunctions f{};
  const HMODULE winmm = LoadSystemLibrary(Loader, WSTR("winmm.dll"));
  if (winmm == nullptr) return f;
  const bool complete = Find(Loader, winmm, "mixerGetNumDevs", f.mixerGetNumDevs) &&
                        Find(Loader, winmm, "mixerGetDevCapsW", f.mixerGetDevCapsW) &&
                        Find(Loader, winmm, "mixerOpen", f.mixerOpen) &&
                        Find(Loader, winmm, "mixerClose", f.mixerClose) &&
                        Find(Loader, winmm, "mixerGetLineInfoW", f.mixerGetLineInfoW) &&
                        Find(Loader, winmm, "mixerGetLineControlsW", f.mixerGetLineControlsW) &&
                        Find(Loader, winmm, "mixerGetControlDetailsW", f.mixerGetControlDetailsW) &&
                        Find(Loader, winmm, "mixerSetControlDetails", f.mixerSetControlDetails);
  // Half a set of functions is none: a scan must never reach a missing one.
  return complete ? f : TWinmmFunctions{};
}

// Without the functions there are no devices, so no handle is ever given out
// and the other calls are not reached; they answer as for a missing driver.

UINT TLoadedWinmm::mixerGetNumDevs() {
  const TWinmmFunctions& f = FResolve();
  return f.Available() ? f.mixerGetNumDevs() : 0;
}

MMRESULT TLoadedWinmm::mixerGetDevCapsW(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps) {
  const TWinmmFunctions& f = FResolve();
  return f.Available() ? f.mixerGetDevCapsW(uMxId, pmxcaps, cbmxcaps) : MMSYSERR_NODRIVER;
}

MMRESULT TLoadedWinmm::mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen) {
  const TWinmmFunctions& f = FResolve();
  return f.Available() ? f.mixerOpen(phmx, uMxId, dwCallback, dwInstance, fdwOpen) : MMSYSERR_NODRIVER;
}

MMRESULT TLoadedWinmm::mixerClose(HMIXER hmx) {
  const TWinmmFunctions& f = FResolve();
  return f.Available() ? f.mixerClose(hmx) : MMSYSERR_INVALHANDLE;
}

MMRESULT TLoadedWinmm::mixerGetLineInfoW(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo) {
  const TWinmmFunctions& f = FResolve();
  return f.Available() ? f.mixerGetLineInfoW(hmxobj, pmxl, fdwInfo) : MMSYSERR_NODRIVER;
}

MMRESULT TLoadedWinmm::mixerGetLineControlsW(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls) {
  const TWinmmFunctions& f = FResolve();
  return f.Available() ? f.mixerGetLineControlsW(hmxobj, pmxlc, fdwControls) : MMSYSERR_NODRIVER;
}

MMRESULT TLoadedWinmm::mixerGetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
  const TWinmmFunctions& f = FResolve();
  return f.Available() ? f.mixerGetControlDetailsW(hmxobj, pmxcd, fdwDetails) : MMSYSERR_NODRIVER;
}

MMRESULT TLoadedWinmm::mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
  const TWinmmFunctions& f = FResolve();
  return f.Available() ? f.mixerSetControlDetails(hmxobj, pmxcd, fdwDetails) : MMSYSERR_NODRIVER;
}
