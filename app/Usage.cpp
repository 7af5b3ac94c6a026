#include "app/Usage.h"

#include "app/Version.h"

const TUsageLines& UsageLines() {
  static const TUsageLines lines = {
      WSTR("Lullscreen " LULLSCREEN_VERSION
           " - turns the display off after a wait; mutes, locks or powers off on request"),
      WSTR("Usage: Lullscreen.exe [waitmsec] [options]"),
      WSTR("                      -muteon   : SpeakerMuteOn"),
      WSTR("                      -muteoff  : SpeakerMuteOff"),
      WSTR("                      -withlock : LockWorkStation"),
      WSTR(""),
      WSTR("                      -reboot   : PC Reboot"),
      WSTR("                      -shutdown : PC Shutdown"),
      WSTR("                      -suspend  : PC Suspend"),
      WSTR("                      -hibernate: PC Hibernate"),
  };
  return lines;
}
