// Building the tree: every mixer device, its destinations and their sources,
// and the controls of each line, under the target's type filter.
#include "mixers/DriverArray.h"
#include "mixers/Mixer.h"

namespace {

constexpr DWORD DestinationQuery = MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION;
constexpr DWORD SourceQuery = MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE;
constexpr DWORD ControlsQuery = MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL;

}  // namespace

// What one scan keeps, read once at its start: a target swapped by a factory
// or an event does not change the scan under way.
struct TMixer::TScanFilter {
  TMixerLineTypes LineTypes;
  TMixerControlTypes ControlTypes;
  bool EnableInvalidItem;
  TMixerOptions Options;

  bool Admits(const MIXERLINEW& Line) const {
    return LineTypes.Contains(LineTypeOfComponentType(Line.dwComponentType));
  }
};

void TMixer::Scan() {
  Clear();
  const HWND window = GetNotifyWindow();
  const TScanFilter filter{FTarget != nullptr ? FTarget->LineType() : TMixerLineTypes(),
                           FTarget != nullptr ? FTarget->ControlType() : TMixerControlTypes(), FEnableInvalidItem,
                           FOptions};
  const std::int32_t deviceCount = AsSigned(FPlatform.Winmm->mixerGetNumDevs());
  for (std::int32_t id = 0; id < deviceCount; ++id) ScanDevice(static_cast<UINT>(id), window, filter);
}

void TMixer::ScanDevice(UINT Id, HWND Window, const TScanFilter& Filter) {
  IWinmm& winmm = *FPlatform.Winmm;
  MIXERCAPSW caps{};
  if (!MixerCheck(winmm.mixerGetDevCapsW(Id, &caps, sizeof(caps)), false, nullptr)) return;
  const DWORD openFlags = Window != nullptr ? CALLBACK_WINDOW : 0;
  // The handle has one owner at every moment: the scan's, from the moment the
  // system hands it over until the device made for it takes it (TakeHandle),
  // as the last step of the device's construction. What no device took, the
  // scan closes.
  if (!FPendingHandle.Receive([&](HMIXER* Handle) {
        return MixerCheck(winmm.mixerOpen(Handle, Id, reinterpret_cast<DWORD_PTR>(Window), 0, openFlags), false,
                          nullptr);
      }))
    return;
  TMixerDev* dev = nullptr;
  try {
    dev = AddDev(FPendingHandle.Get(), caps, Filter.Options);
  } catch (...) {
    FPendingHandle.Reset();
    throw;
  }
  FPendingHandle.Reset();
  // A destination that cannot be read ends the device's scan.
  for (DWORD d = 0; d < caps.cDestinations; ++d)
    if (!ScanDestination(*dev, d, Filter)) return;
}

bool TMixer::ScanDestination(TMixerDev& Dev, DWORD Destination, const TScanFilter& Filter) {
  MIXERLINEW line{};
  line.cbStruct = sizeof(line);
  line.dwDestination = Destination;
  if (!MixerCheck(
          FPlatform.Winmm->mixerGetLineInfoW(reinterpret_cast<HMIXEROBJ>(Dev.Handle()), &line, DestinationQuery), false,
          nullptr))
    return false;
  if (!Filter.Admits(line)) return true;

  // The destination is asked for again as the first of its lines. A source
  // names it as DestItem, so a destination without controls of its own stays
  // while one of its sources does.
  // The count is read as signed: a destination that reports 2^31 or more
  // connections has a negative count, and then not even itself is read again.
  const std::int32_t connections = AsSigned(line.cConnections);
  if (connections < 0) return true;
  TMixerItem* destItem = ScanLine(Dev, Destination, -1, nullptr, Filter);
  int kept = 0;
  for (std::int32_t s = 0; s < connections; ++s)
    if (ScanLine(Dev, Destination, s, destItem, Filter) != nullptr) ++kept;
  if (!Filter.EnableInvalidItem && destItem != nullptr && !destItem->HasCtrl() && kept == 0) Dev.DeleteItem(destItem);
  return true;
}

TMixerItem* TMixer::ScanLine(TMixerDev& Dev, DWORD Destination, std::int32_t Source, TMixerItem* DestItem,
                             const TScanFilter& Filter) {
  const bool isDestination = Source < 0;
  MIXERLINEW line{};
  line.cbStruct = sizeof(line);
  line.dwDestination = Destination;
  line.dwSource = isDestination ? 0 : static_cast<DWORD>(Source);
  if (!MixerCheck(FPlatform.Winmm->mixerGetLineInfoW(reinterpret_cast<HMIXEROBJ>(Dev.Handle()), &line,
                                                     isDestination ? DestinationQuery : SourceQuery),
                  false, nullptr))
    return nullptr;
  if (!Filter.Admits(line)) return nullptr;
  if (!isDestination && !Filter.EnableInvalidItem && line.cControls == 0) return nullptr;

  TMixerItem* item = Dev.AddItem(line, DestItem, Destination, Filter.Options);
  // A line whose control records cannot be read stays without controls.
  if (!ScanControls(Dev, line, *item, Filter)) return item;
  // A line without a destination item (its destination could not be read
  // again) stands alone, as a destination does.
  if (item->IsDestination() || Filter.EnableInvalidItem || item->HasCtrl()) return item;
  Dev.DeleteItem(item);
  return nullptr;
}

bool TMixer::ScanControls(TMixerDev& Dev, const MIXERLINEW& Line, TMixerItem& Item, const TScanFilter& Filter) {
  if (Line.cControls == 0) return true;
  // A count that cannot be honoured is a line whose control records cannot be read.
  TDriverArray<MIXERCONTROLW> controls;
  if (!controls.Allocate(Line.cControls)) return false;
  for (MIXERCONTROLW& record : controls) record.cbStruct = sizeof(MIXERCONTROLW);
  MIXERLINECONTROLSW header{};
  header.cbStruct = sizeof(header);
  header.dwLineID = Line.dwLineID;
  header.cControls = Line.cControls;
  header.cbmxctrl = sizeof(MIXERCONTROLW);
  header.pamxctrl = controls.Data();
  if (!MixerCheck(
          FPlatform.Winmm->mixerGetLineControlsW(reinterpret_cast<HMIXEROBJ>(Dev.Handle()), &header, ControlsQuery),
          false, nullptr))
    return false;
  for (MIXERCONTROLW& record : controls) {
    if (!Filter.ControlTypes.Contains(ControlTypeOfControlType(record.dwControlType))) continue;
    // A mute has one value for all channels, whatever the driver says.
    if (record.dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE) record.fdwControl |= MIXERCONTROL_CONTROLF_UNIFORM;
    const int index = Dev.AddCtrl(record, Filter.Options, &Item);
    if (Item.FCtrlIndex == -1) Item.FCtrlIndex = index;
  }
  return true;
}
