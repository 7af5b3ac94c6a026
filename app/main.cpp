// The Windows entry point: the command line comes from the system, not from argv.
#include "app/RunSequence.h"
#include "console/Terminate.h"
#include "platform/Loader.h"
#include "app/platform/Platform.h"

int main() {
  // Before anything can load a DLL by name, such as an audio driver's helper.
  NarrowDllSearch(SystemLoader());
  InstallTerminateHandler("Lullscreen");
  return RunLullscreen(SystemPlatform());
}
