// Lists every mixer device with the volume and mute of its first speakers
// line (or, on a recording device, its first line): a few lines of a program
// built against the installed mixer library.
#include <cstdio>
#include <string>

#include "mixers/Mixers.h"
#include "platform/Loader.h"

int main() {
  // First thing: DLLs that system code loads later by name (audio drivers among
  // them) come from the system folder, never from beside the program.
  NarrowDllSearch(SystemLoader());
  // The console shows ASCII as it is; anything else becomes '?' (AsciiText).
  try {
    TMixer mixer;  // on the system's own mixer functions
    mixer.Scan();
    std::printf("Mixer devices: %d\n", mixer.GetCount());
    for (int i = 0; i < mixer.GetCount(); ++i) {
      TMixerDev* dev = mixer.GetDevice(i);
      TMixerItem* line = dev->ItemOfType(dtSpeakers, 0);
      if (line == nullptr) line = dev->GetItem(0);
      if (line == nullptr) {
        std::printf("%d \"%s\": no line\n", i, AsciiText(dev->Name()).c_str());
        continue;
      }
      std::printf("%d \"%s\": %s line \"%s\" volume %d%%, mute %s\n", i, AsciiText(dev->Name()).c_str(),
                  AsciiText(MixerLineTypeNames[line->LineType()]).c_str(), AsciiText(line->Name()).c_str(),
                  static_cast<int>(line->GetVolume()), line->GetMute() ? "on" : "off");
    }
  } catch (const EMixerError& error) {
    std::printf("EMixerError: %s\n", error.what());
  }
  return 0;
}
