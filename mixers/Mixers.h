// The mixer library: an object model over the multimedia mixer interface.
#pragma once

#include "mixers/Mixer.h"
#include "mixers/MixerCtrl.h"
#include "mixers/MixerDev.h"
#include "mixers/MixerItem.h"
#include "mixers/MixerTypes.h"
