// The Windows entry point: the command line comes from the system, not from argv.
#include "app/RunSequence.h"
#include "app/Terminate.h"
#include "platform/Platform.h"

int main() {
  InstallTerminateHandler("Lullscreen");
  return RunLullscreen(SystemPlatform());
}
