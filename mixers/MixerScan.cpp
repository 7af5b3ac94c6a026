// Building the tree: every mixer device, its destinations and their sources,
// and the controls of each line, under the target's type filter.
#include "mixers/DriverArray.h"
#include "mixers/Mixer.h"

namespace {

constexpr DWORD DestinationQuery = MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_DESTINATION;
constexpr DWORD SourceQuery = MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE;
constexpr DWORD ControlsQuery = MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL;

}  // namespace

void TMixer::Scan() {
  Clear();
  DWORD openFlags = 0;
  const HWND window = GetNotifyWindow();
  if (window != nullptr) openFlags = CALLBACK_WINDOW;

  // Read once: a target swapped by a factory or an event does not change this scan's filter.
  const TMixerLineTypes lineTypes = FTarget != nullptr ? FTarget->LineType() : TMixerLineTypes();
  const TMixerControlTypes controlTypes = FTarget != nullptr ? FTarget->ControlType() : TMixerControlTypes();
  const bool enableInvalidItem = FEnableInvalidItem;
  const TMixerOptions options = FOptions;
  const auto lineAdmitted = [&](const MIXERLINEW& line) {
    return lineTypes.Contains(LineTypeOfComponentType(line.dwComponentType));
  };

  IWinmm& winmm = *FPlatform.Winmm;

  const auto deviceCount = static_cast<std::int32_t>(winmm.mixerGetNumDevs());
  for (std::int32_t id = 0; id < deviceCount; ++id) {
    MIXERCAPSW caps{};
    if (!MixerCheck(winmm.mixerGetDevCapsW(static_cast<UINT_PTR>(id), &caps, sizeof(caps)), false, nullptr)) continue;
    HMIXER handle = nullptr;
    if (!MixerCheck(winmm.mixerOpen(&handle, static_cast<UINT>(id), reinterpret_cast<DWORD_PTR>(window), 0, openFlags),
                    false, nullptr))
      continue;
    TMixerDev* dev = AddDev(handle, caps, options);
    const HMIXEROBJ object = reinterpret_cast<HMIXEROBJ>(handle);

    for (DWORD d = 0; d < caps.cDestinations; ++d) {
      MIXERLINEW line{};
      line.cbStruct = sizeof(line);
      line.dwDestination = d;
      if (!MixerCheck(winmm.mixerGetLineInfoW(object, &line, DestinationQuery), false, nullptr)) break;
      const auto connections = static_cast<std::int32_t>(line.cConnections);
      if (!lineAdmitted(line)) continue;

      TMixerItem* destItem = nullptr;
      int kept = 0;
      // s = -1 stands for the destination itself, which is asked for again.
      for (std::int32_t s = -1; s < connections; ++s) {
        line = MIXERLINEW{};
        MIXERLINECONTROLSW header{};
        line.cbStruct = sizeof(line);
        line.dwDestination = d;
        line.dwSource = s < 0 ? 0 : static_cast<DWORD>(s);
        const DWORD lineFlags = s < 0 ? DestinationQuery : SourceQuery;
        if (!MixerCheck(winmm.mixerGetLineInfoW(object, &line, lineFlags), false, nullptr)) continue;
        if (!lineAdmitted(line)) continue;
        const DWORD count = line.cControls;
        if (s >= 0 && !enableInvalidItem && count == 0) continue;

        TMixerItem* item = dev->AddItem(line, destItem, d, options);
        if (s < 0) destItem = item;

        header.cbStruct = sizeof(header);
        header.dwLineID = line.dwLineID;
        header.cControls = count;
        header.cbmxctrl = sizeof(MIXERCONTROLW);
        if (count > 0) {
          // A count that cannot be honoured is a line whose control records cannot be read.
          TDriverArray<MIXERCONTROLW> controls;
          bool read = controls.Allocate(count);
          if (read) {
            for (MIXERCONTROLW& record : controls) record.cbStruct = sizeof(MIXERCONTROLW);
            header.pamxctrl = controls.Data();
            read = MixerCheck(winmm.mixerGetLineControlsW(object, &header, ControlsQuery), false, nullptr);
          }
          if (!read) {
            // The line stays without controls. A source is counted as kept so
            // that its destination, which it names as DestItem, stays too.
            if (!item->IsDestination()) ++kept;
            continue;
          }
          for (MIXERCONTROLW& record : controls) {
            if (!controlTypes.Contains(ControlTypeOfControlType(record.dwControlType))) continue;
            // A mute has one value for all channels, whatever the driver says.
            if (record.dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE)
              record.fdwControl |= MIXERCONTROL_CONTROLF_UNIFORM;
            const int index = dev->AddCtrl(record, options, item);
            if (item->FCtrlIndex == -1) item->FCtrlIndex = index;
          }
        }

        if (item->IsDestination()) continue;
        if (enableInvalidItem || item->HasCtrl())
          ++kept;
        else
          dev->DeleteItem(item);
      }

      if (!enableInvalidItem && destItem != nullptr && !destItem->HasCtrl() && kept == 0) dev->DeleteItem(destItem);
    }
  }
}
