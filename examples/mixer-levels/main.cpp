// Lists every mixer device with the volume and mute of its first speakers
// line (or, on a recording device, its first line): a few lines of a program
// built against the installed mixer library.
#include <cstdio>
#include <string>

#include "mixers/Mixers.h"
#include "platform/Loader.h"

namespace {

// The console shows ASCII as it is; anything else becomes '?'.
std::string Ascii(const String& Text) {
  std::string out;
  for (const auto c : Text) out += static_cast<unsigned>(c) < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace

int main() {
  // First thing: DLLs that system code loads later by name (audio drivers among
  // them) come from the system folder, never from beside the program.
  NarrowDllSearch(SystemLoader());
  try {
    TMixer mixer;  // on the system's own mixer functions
    mixer.Scan();
    std::printf("Mixer devices: %d\n", mixer.GetCount());
    for (int i = 0; i < mixer.GetCount(); ++i) {
      TMixerDev* dev = mixer.GetDevice(i);
      TMixerItem* line = dev->ItemOfType(dtSpeakers, 0);
      if (line == nullptr) line = dev->GetItem(0);
      if (line == nullptr) {
        std::printf("%d \"%s\": no line\n", i, Ascii(dev->Name()).c_str());
        continue;
      }
      std::printf("%d \"%s\": %s line \"%s\" volume %d%%, mute %s\n", i, Ascii(dev->Name()).c_str(),
                  Ascii(MixerLineTypeNames[line->LineType()]).c_str(), Ascii(line->Name()).c_str(),
                  static_cast<int>(line->GetVolume()), line->GetMute() ? "on" : "off");
    }
  } catch (const EMixerError& error) {
    std::printf("EMixerError: %s\n", error.what());
  }
  return 0;
}
