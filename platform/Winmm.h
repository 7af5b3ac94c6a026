// The multimedia mixer functions of winmm, as a seam: the mixer library calls
// them only through this interface, so tests can stand a simulated driver in.
#pragma once

#include "core/Unique.h"
#include "platform/WinTypes.h"

class IWinmm {
 public:
  virtual ~IWinmm() = default;
  /// Number of mixer devices; identifiers run from 0 to the result less one.
  virtual UINT mixerGetNumDevs() = 0;
  /// Fills the capabilities of device uMxId; 0 on success.
  virtual MMRESULT mixerGetDevCapsW(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps) = 0;
  /// Opens device uMxId into *phmx; 0 on success.
  virtual MMRESULT mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen) = 0;
  /// Closes an open mixer handle; 0 on success.
  virtual MMRESULT mixerClose(HMIXER hmx) = 0;
  /// Fills a line description selected by fdwInfo; 0 on success.
  virtual MMRESULT mixerGetLineInfoW(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo) = 0;
  /// Fills control descriptions of a line; 0 on success.
  virtual MMRESULT mixerGetLineControlsW(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls) = 0;
  /// Reads control details (values or list texts); 0 on success.
  virtual MMRESULT mixerGetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) = 0;
  /// Writes control values; 0 on success.
  virtual MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) = 0;
};

/// Closes a mixer handle through the seam: the releaser of TMixerHandle.
/// Without mixer functions (a device made outside a mixer) there is nothing to call.
struct TMixerHandleClose {
  IWinmm* Winmm;
  void operator()(HMIXER Handle) const {
    if (Winmm != nullptr) Winmm->mixerClose(Handle);
  }
};
/// An open mixer handle, closed when its owner goes.
using TMixerHandle = TUnique<HMIXER, TMixerHandleClose>;
