#include "sim/SimWinmm.h"

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

namespace {

constexpr UINT_PTR kFirstHandle = 0x1000;
// What the driver reports as maker, product and version, on the device and on every line's target.
constexpr WORD kMid = 0x00FF;
constexpr WORD kPid = 0x0042;
constexpr MMVERSION kDriverVersion = 0x0501;
// The object-type bits of the line, control and detail calls.
constexpr DWORD kObjectMask = 0xF0000000u;

UINT_PTR RawHandle(const void* handle) { return reinterpret_cast<UINT_PTR>(handle); }

// Copies a name into a fixed field. The system cuts a name to leave room for
// the terminator, except a product name of exactly the field's width, which
// fills the field without one.
template <std::size_t N>
void CopyName(WCHAR (&field)[N], const String& text, bool exactWidthFills = false) {
  std::size_t n = text.size();
  if (n >= N && !(exactWidthFills && n == N)) n = N - 1;
  std::copy_n(text.data(), n, field);
  std::fill(field + n, field + N, WCHAR(0));
}

struct LineRef {
  SimLine* Line = nullptr;
  DWORD Destination = 0;
  DWORD Source = 0;
  bool IsSource = false;
  DWORD Connections = 0;
};

// Every line of a device: each destination followed by its sources.
std::vector<LineRef> LinesOf(SimDevice& device) {
  std::vector<LineRef> out;
  for (std::size_t d = 0; d < device.Destinations.size(); ++d) {
    SimDestination& dst = device.Destinations[d];
    const DWORD connections = dst.ClaimedConnections != 0 ? dst.ClaimedConnections : DWORD(dst.Sources.size());
    out.push_back({&dst, DWORD(d), 0, false, connections});
    for (std::size_t s = 0; s < dst.Sources.size(); ++s) out.push_back({&dst.Sources[s], DWORD(d), DWORD(s), true, 0});
  }
  return out;
}

bool IsMultiple(const SimControl& c) { return (c.Flags & MIXERCONTROL_CONTROLF_MULTIPLE) != 0; }
bool IsUniform(const SimControl& c) { return (c.Flags & MIXERCONTROL_CONTROLF_UNIFORM) != 0; }
DWORD ItemsOf(const SimControl& c) { return IsMultiple(c) ? c.MultipleItems : 1; }
DWORD StoredChannels(const SimControl& c, const SimLine& line) {
  return IsUniform(c) ? 1 : std::max<DWORD>(1, line.Channels);
}
// Tests may change a control's flags after adding the device; keep its values whole.
void EnsureValues(SimControl& c, const SimLine& line) {
  const std::size_t need = std::size_t(StoredChannels(c, line)) * ItemsOf(c);
  if (c.Values.size() < need) c.Values.resize(need, 0);
}

MIXERCONTROLW Describe(const SimControl& c) {
  MIXERCONTROLW out{};
  out.cbStruct = sizeof(MIXERCONTROLW);
  out.dwControlID = c.ControlID;
  out.dwControlType = c.ControlType;
  out.fdwControl = c.Flags;
  out.cMultipleItems = c.MultipleItems;
  CopyName(out.szShortName, c.ShortName);
  CopyName(out.szName, c.Name);
  std::copy_n(c.Bounds, 6, out.Bounds.dwReserved);
  std::copy_n(c.Metrics, 6, out.Metrics.dwReserved);
  return out;
}

// The cMultipleItems word of a details header (it shares its place with hwndOwner).
DWORD MultipleItemsOf(const MIXERCONTROLDETAILS& d) {
  DWORD items = 0;
  std::memcpy(&items, &d.cMultipleItems, sizeof items);
  return items;
}

DWORD WordAt(const void* base, std::size_t index) {
  DWORD word = 0;
  std::memcpy(&word, static_cast<const BYTE*>(base) + index * sizeof(DWORD), sizeof word);
  return word;
}

void PutWord(void* base, std::size_t index, DWORD word) {
  std::memcpy(static_cast<BYTE*>(base) + index * sizeof(DWORD), &word, sizeof word);
}

}  // namespace

SimWinmm::SimWinmm(CallLog& Log) : FLog(Log) {}

UINT SimWinmm::AddDevice(SimDevice Device) {
  std::set<DWORD> used;
  for (const LineRef& ref : LinesOf(Device))
    for (const SimControl& c : ref.Line->Controls)
      if (c.ControlID != 0) used.insert(c.ControlID);
  DWORD next = 1;
  for (const LineRef& ref : LinesOf(Device)) {
    SimLine& line = *ref.Line;
    if (line.LineID == 0)
      line.LineID = ref.IsSource ? (ref.Source << 16) | ref.Destination : 0xFFFF0000u + ref.Destination;
    for (SimControl& c : line.Controls) {
      if (c.ControlID == 0) {
        while (used.count(next) != 0) ++next;
        c.ControlID = next++;
      }
      EnsureValues(c, line);
    }
  }
  FDevices.push_back(std::move(Device));
  return UINT(FDevices.size() - 1);
}

SimControl SimWinmm::VolumeControl(const String& Name) {
  SimControl c;
  c.ControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
  c.Name = Name;
  c.ShortName = Name;
  c.Bounds[1] = 65535;
  c.Metrics[0] = 65535;
  c.Values = {65535, 65535};
  return c;
}

SimControl SimWinmm::MuteControl(const String& Name) {
  SimControl c;
  c.ControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
  c.Flags = MIXERCONTROL_CONTROLF_UNIFORM;
  c.Name = Name;
  c.ShortName = Name;
  c.Bounds[1] = 1;
  c.Values = {0};
  return c;
}

SimControl SimWinmm::MuxControl(const String& Name, std::vector<SimListText> Items) {
  SimControl c;
  c.ControlType = MIXERCONTROL_CONTROLTYPE_MUX;
  c.Flags = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE;
  c.MultipleItems = DWORD(Items.size());
  c.Name = Name;
  c.ShortName = Name;
  c.Bounds[1] = Items.empty() ? 0 : DWORD(Items.size() - 1);
  c.Metrics[0] = DWORD(Items.size());
  c.Values.assign(Items.size(), 0);
  if (!c.Values.empty()) c.Values[0] = 1;
  c.ListTexts = std::move(Items);
  return c;
}

SimDevice SimWinmm::TypicalDevice(const String& Name) {
  SimLine wave;
  wave.Name = wave.ShortName = WSTR("Wave");
  wave.TargetType = MIXERLINE_TARGETTYPE_WAVEOUT;
  wave.TargetName = Name;
  wave.Controls = {VolumeControl(), MuteControl()};
  SimDestination speakers;
  speakers.ComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  speakers.Name = speakers.ShortName = WSTR("Speakers");
  speakers.TargetType = MIXERLINE_TARGETTYPE_WAVEOUT;
  speakers.TargetName = Name;
  speakers.Controls = {VolumeControl(WSTR("Master Volume")), MuteControl(WSTR("Master Mute"))};
  speakers.Sources = {wave};
  SimDevice device;
  device.Name = Name;
  device.Destinations.push_back(std::move(speakers));
  return device;
}

SimControl* SimWinmm::Control(UINT Id, DWORD ControlID) {
  if (Id >= FDevices.size()) return nullptr;
  for (const LineRef& ref : LinesOf(FDevices[Id]))
    for (SimControl& c : ref.Line->Controls)
      if (c.ControlID == ControlID) return &c;
  return nullptr;
}

int SimWinmm::DeviceOfHandle(HMIXER Handle) const {
  const UINT_PTR raw = RawHandle(Handle);
  if (raw < kFirstHandle || raw - kFirstHandle >= FOpen.size()) return -1;
  return FOpen[raw - kFirstHandle];
}

std::size_t SimWinmm::OpenHandleCount() const {
  return std::size_t(std::count_if(FOpen.begin(), FOpen.end(), [](int d) { return d >= 0; }));
}

// The device an object names. The library names devices by open handle
// (MIXER_OBJECTF_HMIXER) only; other kinds of object are not modelled.
MMRESULT SimWinmm::ResolveObject(HMIXEROBJ Object, DWORD Flags, UINT& Id) const {
  if ((Flags & kObjectMask) != MIXER_OBJECTF_HMIXER) return MMSYSERR_INVALFLAG;
  const int d = DeviceOfHandle(reinterpret_cast<HMIXER>(Object));
  if (d < 0) return MMSYSERR_INVALHANDLE;
  Id = UINT(d);
  return MMSYSERR_NOERROR;
}

UINT SimWinmm::mixerGetNumDevs() {
  if (FLog.Record("mixerGetNumDevs()")) return 0;
  return UINT(FDevices.size());
}

MMRESULT SimWinmm::mixerGetDevCapsW(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps) {
  if (FLog.Record(CallText("mixerGetDevCapsW", uMxId, cbmxcaps))) return FailCode;
  if (uMxId >= FDevices.size()) return MMSYSERR_BADDEVICEID;
  if (pmxcaps == nullptr) return MMSYSERR_INVALPARAM;
  const SimDevice& device = FDevices[uMxId];
  MIXERCAPSW caps{};
  caps.wMid = kMid;
  caps.wPid = kPid;
  caps.vDriverVersion = kDriverVersion;
  CopyName(caps.szPname, device.Name, true);
  caps.fdwSupport = 0;
  caps.cDestinations = DWORD(device.Destinations.size());
  std::memcpy(pmxcaps, &caps, std::min<std::size_t>(cbmxcaps, sizeof caps));
  return MMSYSERR_NOERROR;
}

MMRESULT SimWinmm::mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR dwCallback, DWORD_PTR dwInstance, DWORD fdwOpen) {
  if (FLog.Record(CallText("mixerOpen", uMxId, Hex(dwCallback), dwInstance, Hex(fdwOpen)))) return FailCode;
  if (phmx == nullptr) return MMSYSERR_INVALPARAM;
  if (uMxId >= FDevices.size()) return MMSYSERR_BADDEVICEID;
  if (fdwOpen != CALLBACK_NULL && fdwOpen != CALLBACK_WINDOW) return MMSYSERR_INVALFLAG;
  if (fdwOpen == CALLBACK_WINDOW && dwCallback == 0) return MMSYSERR_INVALPARAM;
  *phmx = reinterpret_cast<HMIXER>(kFirstHandle + FOpen.size());
  FOpen.push_back(int(uMxId));
  return MMSYSERR_NOERROR;
}

MMRESULT SimWinmm::mixerClose(HMIXER hmx) {
  if (FLog.Record(CallText("mixerClose", Hex(RawHandle(hmx))))) return FailCode;
  if (DeviceOfHandle(hmx) < 0) return MMSYSERR_INVALHANDLE;
  FOpen[RawHandle(hmx) - kFirstHandle] = -1;
  return MMSYSERR_NOERROR;
}

MMRESULT SimWinmm::mixerGetLineInfoW(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo) {
  const DWORD dst = pmxl ? pmxl->dwDestination : 0;
  const DWORD src = pmxl ? pmxl->dwSource : 0;
  if (FLog.Record(CallText("mixerGetLineInfoW", Hex(RawHandle(hmxobj)), dst, src, Hex(fdwInfo)))) return FailCode;
  if (pmxl == nullptr || pmxl->cbStruct < sizeof(MIXERLINEW)) return MMSYSERR_INVALPARAM;
  UINT id = 0;
  if (const MMRESULT r = ResolveObject(hmxobj, fdwInfo, id)) return r;
  if ((fdwInfo & ~(kObjectMask | MIXER_GETLINEINFOF_QUERYMASK)) != 0) return MMSYSERR_INVALFLAG;

  const std::vector<LineRef> lines = LinesOf(FDevices[id]);
  const LineRef* found = nullptr;
  switch (fdwInfo & MIXER_GETLINEINFOF_QUERYMASK) {
    case MIXER_GETLINEINFOF_DESTINATION:
      for (const LineRef& ref : lines)
        if (!ref.IsSource && ref.Destination == dst) found = &ref;
      break;
    case MIXER_GETLINEINFOF_SOURCE:
      for (const LineRef& ref : lines)
        if (ref.IsSource && ref.Destination == dst && ref.Source == src) found = &ref;
      break;
    default:
      return MMSYSERR_INVALFLAG;
  }
  if (found == nullptr) return MIXERR_INVALLINE;

  const SimLine& line = *found->Line;
  MIXERLINEW out{};
  out.cbStruct = pmxl->cbStruct;
  out.dwDestination = found->Destination;
  out.dwSource = found->Source;
  out.dwLineID = line.LineID;
  out.fdwLine = line.LineFlags | (found->IsSource ? MIXERLINE_LINEF_SOURCE : 0);
  out.dwUser = 0;
  out.dwComponentType = line.ComponentType;
  out.cChannels = line.Channels;
  out.cConnections = found->Connections;
  out.cControls = line.ClaimedControls != 0 ? line.ClaimedControls : DWORD(line.Controls.size());
  CopyName(out.szShortName, line.ShortName);
  CopyName(out.szName, line.Name);
  out.Target.dwType = line.TargetType;
  out.Target.dwDeviceID = id;
  out.Target.wMid = kMid;
  out.Target.wPid = kPid;
  out.Target.vDriverVersion = kDriverVersion;
  CopyName(out.Target.szPname, line.TargetName, true);
  *pmxl = out;
  return MMSYSERR_NOERROR;
}

MMRESULT SimWinmm::mixerGetLineControlsW(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls) {
  const DWORD lineID = pmxlc ? pmxlc->dwLineID : 0;
  const DWORD count = pmxlc ? pmxlc->cControls : 0;
  if (FLog.Record(CallText("mixerGetLineControlsW", Hex(RawHandle(hmxobj)), Hex(lineID), count, Hex(fdwControls))))
    return FailCode;
  if (pmxlc == nullptr || pmxlc->cbStruct < sizeof(MIXERLINECONTROLSW) || pmxlc->cbmxctrl < sizeof(MIXERCONTROLW) ||
      pmxlc->pamxctrl == nullptr)
    return MMSYSERR_INVALPARAM;
  UINT id = 0;
  if (const MMRESULT r = ResolveObject(hmxobj, fdwControls, id)) return r;
  if ((fdwControls & ~(kObjectMask | MIXER_GETLINECONTROLSF_QUERYMASK)) != 0) return MMSYSERR_INVALFLAG;
  // The library asks for all of a line's controls at once; single-control queries are not modelled.
  if ((fdwControls & MIXER_GETLINECONTROLSF_QUERYMASK) != MIXER_GETLINECONTROLSF_ALL) return MMSYSERR_INVALFLAG;

  const SimLine* line = nullptr;
  for (const LineRef& ref : LinesOf(FDevices[id]))
    if (!line && ref.Line->LineID == lineID) line = ref.Line;
  if (line == nullptr) return MIXERR_INVALLINE;

  BYTE* records = reinterpret_cast<BYTE*>(pmxlc->pamxctrl);

  if (count == 0 || count != line->Controls.size()) return MMSYSERR_INVALPARAM;
  for (std::size_t i = 0; i < line->Controls.size(); ++i) {
    const MIXERCONTROLW one = Describe(line->Controls[i]);
    std::memcpy(records + i * pmxlc->cbmxctrl, &one, sizeof one);
  }
  return MMSYSERR_NOERROR;
}

// Checks a details request the way the system does; on success names the
// control, its line and the number of elements the caller's array holds.
MMRESULT SimWinmm::CheckDetails(HMIXEROBJ Object, const MIXERCONTROLDETAILS* Details, DWORD Flags, bool Set, UINT& Id,
                                SimLine*& LineOut, SimControl*& ControlOut, DWORD& Count) {
  if (Details == nullptr || Details->cbStruct < sizeof(MIXERCONTROLDETAILS) || Details->paDetails == nullptr)
    return MMSYSERR_INVALPARAM;
  if (const MMRESULT r = ResolveObject(Object, Flags, Id)) return r;
  const DWORD query = Flags & ~kObjectMask;
  const bool listText = !Set && query == MIXER_GETCONTROLDETAILSF_LISTTEXT;
  if (query != MIXER_GETCONTROLDETAILSF_VALUE && !listText) return MMSYSERR_INVALFLAG;

  LineOut = nullptr;
  ControlOut = nullptr;
  for (const LineRef& ref : LinesOf(FDevices[Id]))
    for (SimControl& c : ref.Line->Controls)
      if (!ControlOut && c.ControlID == Details->dwControlID) {
        LineOut = ref.Line;
        ControlOut = &c;
      }
  if (ControlOut == nullptr) return MIXERR_INVALCONTROL;

  const SimControl& c = *ControlOut;
  if (Details->cChannels != 1 && Details->cChannels != LineOut->Channels) return MMSYSERR_INVALPARAM;
  const DWORD items = MultipleItemsOf(*Details);
  if (IsMultiple(c) ? items != c.MultipleItems : items != 0) return MMSYSERR_INVALPARAM;
  if (listText) {
    if (!IsMultiple(c) || Details->cbDetails < sizeof(MIXERCONTROLDETAILS_LISTTEXTW)) return MMSYSERR_INVALPARAM;
  } else if (Details->cbDetails != sizeof(DWORD)) {
    return MMSYSERR_INVALPARAM;
  }
  Count = Details->cChannels * ItemsOf(c);
  return MMSYSERR_NOERROR;
}

MMRESULT SimWinmm::mixerGetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
  UINT id = 0;
  SimLine* line = nullptr;
  SimControl* control = nullptr;
  DWORD count = 0;
  const MMRESULT check = CheckDetails(hmxobj, pmxcd, fdwDetails, false, id, line, control, count);
  if (FLog.Record(DetailsCall("mixerGetControlDetailsW", hmxobj, pmxcd, fdwDetails))) return FailCode;
  if (check != MMSYSERR_NOERROR) return check;

  SimControl& c = *control;
  EnsureValues(c, *line);
  const DWORD items = ItemsOf(c);
  if ((fdwDetails & ~kObjectMask) == MIXER_GETCONTROLDETAILSF_LISTTEXT) {
    BYTE* out = static_cast<BYTE*>(pmxcd->paDetails);
    for (DWORD i = 0; i < count; ++i) {
      const DWORD item = i % items;
      const SimListText* text = i < c.ListTexts.size()      ? &c.ListTexts[i]
                                : item < c.ListTexts.size() ? &c.ListTexts[item]
                                                            : nullptr;
      MIXERCONTROLDETAILS_LISTTEXTW entry{};
      if (text) {
        entry.dwParam1 = text->Param1;
        entry.dwParam2 = text->Param2;
        CopyName(entry.szName, text->Name);
      }
      std::memcpy(out + std::size_t(i) * pmxcd->cbDetails, &entry, sizeof entry);
    }
    return MMSYSERR_NOERROR;
  }
  for (DWORD ch = 0; ch < pmxcd->cChannels; ++ch) {
    const DWORD stored = IsUniform(c) ? 0 : ch;
    for (DWORD j = 0; j < items; ++j)
      PutWord(pmxcd->paDetails, std::size_t(ch) * items + j, c.Values[stored * items + j]);
  }
  return MMSYSERR_NOERROR;
}

MMRESULT SimWinmm::mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) {
  UINT id = 0;
  SimLine* line = nullptr;
  SimControl* control = nullptr;
  DWORD count = 0;
  const MMRESULT check = CheckDetails(hmxobj, pmxcd, fdwDetails, true, id, line, control, count);
  std::string call = DetailsCall("mixerSetControlDetails", hmxobj, pmxcd, fdwDetails);
  if (check == MMSYSERR_NOERROR) {
    call.pop_back();
    for (DWORD i = 0; i < count; ++i) call += "," + std::to_string(WordAt(pmxcd->paDetails, i));
    call += ')';
  }
  if (FLog.Record(std::move(call))) return FailCode;
  if (check != MMSYSERR_NOERROR) return check;

  SimControl& c = *control;
  EnsureValues(c, *line);
  const DWORD items = ItemsOf(c);
  const DWORD storedChannels = StoredChannels(c, *line);
  for (DWORD ch = 0; ch < storedChannels; ++ch) {
    // One channel given for several stored ones sets them all alike.
    const DWORD from = pmxcd->cChannels == 1 ? 0 : ch;
    for (DWORD j = 0; j < items; ++j)
      c.Values[ch * items + j] = WordAt(pmxcd->paDetails, std::size_t(from) * items + j);
  }
  return MMSYSERR_NOERROR;
}

std::string SimWinmm::DetailsCall(const char* Name, HMIXEROBJ Object, const MIXERCONTROLDETAILS* Details, DWORD Flags) {
  if (Details == nullptr) return CallText(Name, Hex(RawHandle(Object)), 0, 0, 0, 0, Hex(Flags));
  return CallText(Name, Hex(RawHandle(Object)), Details->dwControlID, Details->cChannels, MultipleItemsOf(*Details),
                  Details->cbDetails, Hex(Flags));
}
