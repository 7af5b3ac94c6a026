// The mute step on systems without the endpoint interfaces: every line of
// every mixer device that has a mute control is set through the mixer library.
#pragma once

#include "app/platform/Platform.h"

/// Mutes (MuteOn) or unmutes every muteable line; the mixer library's
/// EMixerError leaves it, with the mixer freed on the way out.
void MixerMute(const TPlatform& Platform, bool MuteOn);
