#include "app/MixerMute.h"

#include <memory>

#include "mixers/Mixers.h"

void MixerMute(const TPlatform& Platform, bool MuteOn) {
  // Owned here, so an exception in the walk still closes the devices.
  const auto mixer = std::make_unique<TMixer>(Platform.Mixer);
  mixer->Target()->SetControlType(TMixerControlTypes{ctMute});
  mixer->Target()->SetLineType(MixerSourceLineTypes + MixerDestLineTypes);
  mixer->Scan();
  const int devices = mixer->GetCount();
  for (int i = 0; i < devices; ++i) {
    TMixerDev* dev = mixer->GetDevice(i);
    const int lines = dev->Count();
    for (int j = 0; j < lines; ++j) {
      TMixerItem* item = dev->GetItem(j);
      if (item->MuteExists()) item->SetMute(MuteOn);
    }
  }
}
