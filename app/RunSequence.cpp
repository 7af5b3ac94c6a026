#include "app/RunSequence.h"

#include <exception>
#include <vector>

#include "app/CommandLine.h"
#include "app/EndpointMute.h"
#include "app/MixerMute.h"
#include "app/SystemActions.h"
#include "app/Usage.h"
#include "core/Exception.h"
#include "platform/Loader.h"

namespace {

// The report's own write failures are ignored: there is nowhere left to tell.
void ReportException(TConsole& Console, const std::exception& Error) {
  Console.TryWriteLine(DescribeException(Error));
  Console.TryWriteLine(WSTR("Press any key to continue."));
  Console.ReadLine();
}

}  // namespace

void RunActions(const TPlatform& Platform, TRunSettings& Settings, int ArgCount, TConsole& Console) {
  if (Settings.PowerRequested) {
    Settings.PowerOff = true;
    Settings.ForceAction = true;
    DoPowerAction(Platform, Settings);
    return;
  }
  if (Settings.MuteRequested) {
    const String planted = Platform.PlantedLibrary();
    if (!planted.empty())
      // Either path loads audio drivers by name, which this system would take from the program's folder first.
      Console.WriteLine(WSTR("The mute is left out: ") + PlantedLibraryReason(planted) + WSTR("."));
    else if (Endpoint::IsMajorVersion6(*Platform.Kernel32))
      Endpoint::EndpointMute(Platform, Settings.MuteOn, Console);
    else
      MixerMute(Platform, Settings.MuteOn);
    if (!Settings.MuteOn) return;
  }
  if (Settings.MuteOn || Settings.WithLock || ArgCount < 2) {
    Delay(*Platform.Kernel32, static_cast<DWORD>(Settings.WaitMsec));
    DisplayOff(Platform);
  }
  if (Settings.WithLock) LockStation(Platform);
}

int RunLullscreen(const TPlatform& Platform) {
  TConsole console(*Platform.Console);
  const std::vector<String> args = SplitCommandLine(Platform.Console->GetCommandLineW());
  const int argCount = ArgumentCount(args);
  if (argCount == 0) {
    // Outside the report: a console that cannot take the usage text does not stop the run.
    for (const WCHAR* line : UsageLines()) console.TryWriteLine(line);
  }
  TRunSettings settings;
  ReadSettings(args, settings);
  try {
    RunActions(Platform, settings, argCount, console);
  } catch (const std::exception& error) {
    ReportException(console, error);
  }
  return 0;
}
