#include "app/MixerMute.h"

#include <memory>

#include "mixers/Mixers.h"

void MixerMute(const TPlatform& Platform, bool MuteOn) {
  // Owned here, so an exception in the walk still closes the devices.
  const auto MuteMixer = std::make_unique<TMixer>(Platform.Mixer);
  MuteMixer->Target()->SetControlType(TMixerControlTypes{ctMute});
  MuteMixer->Target()->SetLineType(MixerSourceLineTypes + MixerDestLineTypes);
  MuteMixer->Scan();
  const int devices = MuteMixer->GetCount();
  for (int i = 0; i < devices; ++i) {
    TMixerDev* dev = MuteMixer->GetDevice(i);
    const int lines = dev->Count();
    for (int j = 0; j < lines; ++j) {
      TMixerItem* item = dev->GetItem(j);
      if (item->MuteExists()) item->SetMute(MuteOn);
    }
  }
}
