// The run settings: what the command line asked for. The entry point owns one
// instance and hands it to the steps, so every step can be driven on its own.
#pragma once

#include <array>
#include <cstdint>

/// The wait when the command line gives none.
constexpr std::int32_t DefaultWaitMsec = 300;

struct TRunSettings {
  /// Milliseconds to wait before the display goes off; Delay reads it as unsigned.
  std::int32_t WaitMsec = DefaultWaitMsec;
  bool MuteRequested = false;
  /// The state to apply: true mutes, false unmutes (and ends the run after the mute).
  bool MuteOn = false;
  bool WithLock = false;
  bool PowerRequested = false;
  /// 1 reboot, 2 shutdown, 3 suspend, 4 hibernate.
  std::uint8_t PowerAction = 1;
  /// Set by the power path just before the power action.
  bool PowerOff = false;
  bool ForceAction = false;
};

/// Base exit-request flags for PowerAction 1 to 4 (index PowerAction - 1):
/// EWX_REBOOT, EWX_SHUTDOWN; suspend and hibernate never read theirs.
constexpr std::array<std::uint32_t, 4> ExitFlagTable = {2, 1, 0, 0};
