// The Windows entry point: the command line comes from the system, not from argv.
#include "app/RunSequence.h"
#include "app/Terminate.h"
#include "platform/Loader.h"
#include "platform/Platform.h"

int main() {
  // Before anything can load a DLL by name, such as an audio driver's helper.
  NarrowDllSearch(SystemLoader());
  InstallTerminateHandler("Lullscreen");
  return RunLullscreen(SystemPlatform());
}
