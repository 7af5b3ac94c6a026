#include "fuzz/FuzzWinmm.h"

#include <sanitizer/asan_interface.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "fuzz/FuzzCheck.h"

namespace {

constexpr DWORD ObjectMask = 0xF0000000u;
constexpr std::uint64_t Max32 = std::numeric_limits<std::uint32_t>::max();
// Bytes a driver leaves beyond the structure it knows, inside the caller's size.
constexpr int Filler = 0xA5;

// Writes Size bytes at Dest: the record, cut to Size, then filler.
void WriteBlock(void* Dest, std::uint64_t Size, const void* Record, std::size_t RecordSize) {
  const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(Size, RecordSize));
  std::memcpy(Dest, Record, n);
  if (Size > n) std::memset(static_cast<BYTE*>(Dest) + n, Filler, static_cast<std::size_t>(Size - n));
}

// Reads Size bytes at Source as a driver taking values would; a byte the
// caller does not own is reported where it is read.
void ReadBlock(const void* Source, std::uint64_t Size) {
  if (Size == 0) return;
  const void* bad = __asan_region_is_poisoned(const_cast<void*>(Source), static_cast<std::size_t>(Size));
  if (bad != nullptr) {
    const volatile BYTE* at = static_cast<const volatile BYTE*>(bad);
    (void)*at;
  }
}

DWORD ComponentType(TFuzzStream& In) {
  const std::uint8_t b = In.Byte();
  if (b < 0xF0) return FuzzTables::ComponentTypes[b % 20];
  return In.Dword();
}

DWORD ControlType(TFuzzStream& In) {
  const std::uint8_t b = In.Byte();
  if (b < 0xF0) return FuzzTables::ControlTypes[b % 30];
  return In.Dword();
}

// Uniform, multiple and disabled by the low bits, an undefined bit beside them, or 32 raw bits.
DWORD ControlFlags(TFuzzStream& In) {
  const std::uint8_t b = In.Byte();
  if (b >= 0xF0) return In.Dword();
  DWORD flags = 0;
  if ((b & 1) != 0) flags |= MIXERCONTROL_CONTROLF_UNIFORM;
  if ((b & 2) != 0) flags |= MIXERCONTROL_CONTROLF_MULTIPLE;
  if ((b & 4) != 0) flags |= MIXERCONTROL_CONTROLF_DISABLED;
  if ((b & 8) != 0) flags |= 0x40;
  return flags;
}

void Block(TFuzzStream& In, DWORD (&Words)[6], bool Bounds) {
  const std::uint8_t b = In.Byte();
  std::fill(Words, Words + 6, 0u);
  if (b >= 0xF0) {
    for (DWORD& w : Words) w = In.Value();
  } else if (Bounds) {
    // Unsigned 0..65535, a switch 0..1, signed -32768..32767.
    if (b == 0) Words[1] = 65535;
    if (b == 1) Words[1] = 1;
    if (b == 2) {
      Words[0] = 0xFFFF8000u;
      Words[1] = 0x7FFF;
    }
  } else {
    if (b == 0) Words[0] = 65535;
    if (b == 1) Words[0] = In.Count();
  }
}

DWORD MultipleItemsOf(const MIXERCONTROLDETAILS& Details) {
  DWORD items = 0;
  std::memcpy(&items, &Details.cMultipleItems, sizeof items);
  return items;
}

}  // namespace

TFuzzWinmm::TFuzzWinmm(TFuzzInput& Input)
    : FDevices(Input[siDevices]), FLines(Input[siLines]), FControls(Input[siControls]), FDetails(Input[siDetails]) {}

bool TFuzzWinmm::IsOpen(HMIXER Handle) const {
  for (const THandle& h : FHandles)
    if (h.Handle == Handle) return h.Closes == 0;
  return false;
}

std::vector<HMIXER> TFuzzWinmm::OpenHandles() const {
  std::vector<HMIXER> open;
  for (const THandle& h : FHandles)
    if (h.Closes == 0) open.push_back(h.Handle);
  return open;
}

void TFuzzWinmm::CheckObject(HMIXEROBJ Object, DWORD Flags, const char* Call) const {
  if ((Flags & ObjectMask) != MIXER_OBJECTF_HMIXER)
    Finding(std::string(Call) + " names its object otherwise than by an open handle");
  if (!IsOpen(reinterpret_cast<HMIXER>(Object))) Finding(std::string(Call) + " on a handle that is not open");
}

DWORD TFuzzWinmm::SizingCount(TFuzzStream& Stream) {
  const DWORD count = Stream.Count();
  if (count < 16 || count >= (1u << 26)) return count;
  if (count > FCountStock) return count & 15;
  FCountStock -= count;
  return count;
}

UINT TFuzzWinmm::mixerGetNumDevs() {
  FDeviceCount = FDevices.LoopCount();
  return FDeviceCount;
}

MMRESULT TFuzzWinmm::mixerGetDevCapsW(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps) {
  Check(uMxId < FDeviceCount, "mixerGetDevCapsW for a device beyond the count");
  if (pmxcaps == nullptr) return MMSYSERR_INVALPARAM;
  const MMRESULT result = FDevices.Result();
  if (!Writes(result, FDevices)) return result;
  MIXERCAPSW caps{};
  caps.wMid = FDevices.Byte();
  caps.wPid = FDevices.Byte();
  caps.vDriverVersion = FDevices.Word();
  FDevices.Name(caps.szPname, MAXPNAMELEN);
  caps.fdwSupport = FDevices.Byte();
  caps.cDestinations = FDevices.Count();
  WriteBlock(pmxcaps, cbmxcaps, &caps, sizeof caps);
  return result;
}

MMRESULT TFuzzWinmm::mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR, DWORD fdwOpen) {
  Check(uMxId < FDeviceCount, "mixerOpen for a device beyond the count");
  if (phmx == nullptr) return MMSYSERR_INVALPARAM;
  if (fdwOpen != CALLBACK_NULL && fdwOpen != CALLBACK_WINDOW) return MMSYSERR_INVALFLAG;
  const MMRESULT result = FDevices.Result();
  const std::size_t n = FHandles.size();
  if (result == MMSYSERR_NOERROR) {
    const HMIXER handle = reinterpret_cast<HMIXER>(static_cast<UINT_PTR>(0x4D000 + 16 * n));
    const HWND window = fdwOpen == CALLBACK_WINDOW ? reinterpret_cast<HWND>(dwCallback) : nullptr;
    FHandles.push_back({handle, uMxId, window, 0});
    *phmx = handle;
  } else if (FDevices.Flag()) {
    // Never given out: a caller that keeps it after the failure uses a handle that is not open.
    *phmx = reinterpret_cast<HMIXER>(static_cast<UINT_PTR>(0xBAD000 + 16 * n));
  }
  return result;
}

MMRESULT TFuzzWinmm::mixerClose(HMIXER hmx) {
  THandle* found = nullptr;
  for (THandle& h : FHandles)
    if (h.Handle == hmx) found = &h;
  if (found == nullptr) Finding("mixerClose of a handle that was never opened");
  if (found->Closes != 0) Finding("mixerClose of a handle already closed");
  ++found->Closes;
  // A failing close leaves nothing the caller could do; the handle counts as closed.
  return FDevices.Result();
}

MMRESULT TFuzzWinmm::mixerGetLineInfoW(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo) {
  CheckObject(hmxobj, fdwInfo, "mixerGetLineInfoW");
  if (pmxl == nullptr || pmxl->cbStruct < sizeof(MIXERLINEW)) return MMSYSERR_INVALPARAM;
  const MMRESULT result = FLines.Result();
  if (!Writes(result, FLines)) return result;
  MIXERLINEW line{};
  line.cbStruct = sizeof(MIXERLINEW);
  line.dwDestination = pmxl->dwDestination;
  line.dwSource = pmxl->dwSource;
  line.dwLineID = FLines.Id();
  line.fdwLine = FLines.Byte() < 0xF0 ? MIXERLINE_LINEF_ACTIVE : FLines.Dword();
  line.dwComponentType = ComponentType(FLines);
  line.cChannels = SizingCount(FLines);
  line.cConnections = FLines.LoopCount();
  line.cControls = SizingCount(FLines);
  FLines.Name(line.szShortName, MIXER_SHORT_NAME_CHARS);
  FLines.Name(line.szName, MIXER_LONG_NAME_CHARS);
  line.Target.dwType = FLines.Byte();
  line.Target.dwDeviceID = FLines.Byte();
  line.Target.wMid = FLines.Byte();
  line.Target.wPid = FLines.Byte();
  FLines.Name(line.Target.szPname, MAXPNAMELEN);
  FLineIds.push_back(line.dwLineID);
  WriteBlock(pmxl, pmxl->cbStruct, &line, sizeof line);
  return result;
}

MIXERCONTROLW TFuzzWinmm::ControlRecord() {
  MIXERCONTROLW c{};
  c.cbStruct = sizeof(MIXERCONTROLW);
  c.dwControlID = FControls.Id();
  c.dwControlType = ControlType(FControls);
  c.fdwControl = ControlFlags(FControls);
  c.cMultipleItems = SizingCount(FControls);
  FControls.Name(c.szShortName, MIXER_SHORT_NAME_CHARS);
  FControls.Name(c.szName, MIXER_LONG_NAME_CHARS);
  Block(FControls, c.Bounds.dwReserved, true);
  Block(FControls, c.Metrics.dwReserved, false);
  FControlIds.push_back(c.dwControlID);
  return c;
}

MMRESULT TFuzzWinmm::mixerGetLineControlsW(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls) {
  CheckObject(hmxobj, fdwControls, "mixerGetLineControlsW");
  if (pmxlc == nullptr || pmxlc->cbStruct < sizeof(MIXERLINECONTROLSW)) return MMSYSERR_INVALPARAM;
  const DWORD query = fdwControls & MIXER_GETLINECONTROLSF_QUERYMASK;
  if (query > MIXER_GETLINECONTROLSF_ONEBYTYPE) return MMSYSERR_INVALFLAG;
  const std::uint64_t count = query == MIXER_GETLINECONTROLSF_ALL ? pmxlc->cControls : 1;
  const std::uint64_t stride = pmxlc->cbmxctrl;
  if (count == 0 || stride < sizeof(MIXERCONTROLW) || pmxlc->pamxctrl == nullptr) return MMSYSERR_INVALPARAM;
  if (count * stride > Max32) Finding("mixerGetLineControlsW asked for more bytes than a 32-bit size holds");
  const MMRESULT result = FControls.Result();
  if (!Writes(result, FControls)) return result;
  BYTE* records = reinterpret_cast<BYTE*>(pmxlc->pamxctrl);
  for (std::uint64_t i = 0; i < count; ++i) {
    const MIXERCONTROLW c = ControlRecord();
    WriteBlock(records + i * stride, stride, &c, sizeof c);
  }
  return result;
}

DWORD TFuzzWinmm::Param() {
  // Mostly a line identifier reported before, so that list items name lines of the tree.
  const std::uint8_t b = FDetails.Byte();
  if (b < 0x80 && !FLineIds.empty()) return FLineIds[b % FLineIds.size()];
  return FDetails.Value();
}

MMRESULT TFuzzWinmm::mixerGetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
  CheckObject(hmxobj, fdwDetails, "mixerGetControlDetailsW");
  if (pmxcd == nullptr || pmxcd->cbStruct < sizeof(MIXERCONTROLDETAILS)) return MMSYSERR_INVALPARAM;
  const DWORD query = fdwDetails & ~ObjectMask;
  if (query != MIXER_GETCONTROLDETAILSF_VALUE && query != MIXER_GETCONTROLDETAILSF_LISTTEXT) return MMSYSERR_INVALFLAG;
  const DWORD items = MultipleItemsOf(*pmxcd);
  const std::uint64_t elements = std::uint64_t(pmxcd->cChannels) * (items != 0 ? items : 1);
  const std::uint64_t size = pmxcd->cbDetails;
  if (elements > Max32 || elements * size > Max32)
    Finding("mixerGetControlDetailsW asked for more bytes than a 32-bit size holds");
  if (elements != 0 && pmxcd->paDetails == nullptr) return MMSYSERR_INVALPARAM;
  const MMRESULT result = FDetails.Result();
  if (!Writes(result, FDetails)) return result;
  BYTE* out = static_cast<BYTE*>(pmxcd->paDetails);
  for (std::uint64_t i = 0; i < elements; ++i) {
    BYTE* element = out + i * size;
    if (FDetails.Empty()) {
      // What is left reads as zero values; written at once, as the loop would.
      std::memset(element, 0, static_cast<std::size_t>((elements - i) * size));
      break;
    }
    if (query == MIXER_GETCONTROLDETAILSF_LISTTEXT) {
      MIXERCONTROLDETAILS_LISTTEXTW entry{};
      entry.dwParam1 = Param();
      entry.dwParam2 = Param();
      FDetails.Name(entry.szName, MIXER_LONG_NAME_CHARS);
      WriteBlock(element, size, &entry, sizeof entry);
    } else {
      const DWORD value = FDetails.Value();
      WriteBlock(element, size, &value, sizeof value);
    }
  }
  return result;
}

MMRESULT TFuzzWinmm::mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
  CheckObject(hmxobj, fdwDetails, "mixerSetControlDetails");
  if (pmxcd == nullptr || pmxcd->cbStruct < sizeof(MIXERCONTROLDETAILS)) return MMSYSERR_INVALPARAM;
  if ((fdwDetails & ~ObjectMask) != MIXER_SETCONTROLDETAILSF_VALUE) return MMSYSERR_INVALFLAG;
  const DWORD items = MultipleItemsOf(*pmxcd);
  const std::uint64_t elements = std::uint64_t(pmxcd->cChannels) * (items != 0 ? items : 1);
  const std::uint64_t size = elements * pmxcd->cbDetails;
  if (elements > Max32 || size > Max32) Finding("mixerSetControlDetails gave more bytes than a 32-bit size holds");
  if (elements != 0 && pmxcd->paDetails == nullptr) return MMSYSERR_INVALPARAM;
  ReadBlock(pmxcd->paDetails, size);
  return FDetails.Result();
}
