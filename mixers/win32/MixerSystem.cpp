// A mixer on the running system's own functions.
#include "mixers/Mixer.h"

TMixer::TMixer() : TMixer(SystemMixerPlatform()) {}
