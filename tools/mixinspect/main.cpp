// The mixer inspector's entry point: scans every mixer device with nothing
// filtered out and prints the tree as the library sees it; with -watch it then
// stays and prints each change notification until Enter is pressed or
// standard input ends. The exit status is always 0.
#include <exception>
#include <vector>

#include "console/Arguments.h"
#include "console/Console.h"
#include "console/KernelHandle.h"
#include "console/Terminate.h"
#include "mixers/Mixers.h"
#include "platform/Loader.h"
#include "tools/mixinspect/InspectorPlatform.h"
#include "tools/mixinspect/MixerReport.h"

namespace {

void WriteLines(TConsole& Console, const std::vector<String>& Lines) {
  for (const String& line : Lines) Console.WriteLine(line);
}

// Runs inside the window's message dispatch: nothing may leave it.
template <class Report>
void WriteEvent(TConsole& Console, Report MakeReport) {
  try {
    WriteLines(Console, MakeReport());
  } catch (const std::exception& error) {
    Console.TryWriteLine(DescribeException(error));
  }
}

struct Reader {
  const TInspectorPlatform* Platform;
  DWORD LoopThread;
};

DWORD WINAPI ReadThenQuit(LPVOID Parameter) {
  const Reader& reader = *static_cast<const Reader*>(Parameter);
  TConsole(*reader.Platform->Console).ReadLine();
  reader.Platform->User32->PostThreadMessageW(reader.LoopThread, WM_QUIT, 0, 0);
  return 0;
}

void Watch(const TInspectorPlatform& Platform, TMixer& Mixer, TConsole& Console) {
  Mixer.SetOnLineChange([&Console](TMixer* Sender, TMixerDev* Dev, TMixerItem* Item) {
    WriteEvent(Console, [&] { return LineChangeReport(*Sender, Dev, Item); });
  });
  Mixer.SetOnControlChange([&Console](TMixer* Sender, TMixerDev* Dev, TMixerItem* Item, TMixerCtrl* Ctrl) {
    WriteEvent(Console, [&] { return ControlChangeReport(*Sender, Dev, Item, Ctrl); });
  });
  Console.WriteLine(WSTR("Watching for changes; press Enter to stop."));

  // Reading standard input blocks, so another thread waits for the line and
  // then ends this thread's message loop; the events need this thread, which
  // owns the library's window.
  // Static: after a failing message loop the reader may outlive this call.
  static Reader reader;
  reader = Reader{&Platform, Platform.Kernel32->GetCurrentThreadId()};
  const TKernelHandle<IInspectorKernel32> thread(
      Platform.Kernel32->CreateThread(nullptr, 0, &ReadThenQuit, &reader, 0, nullptr),
      TKernelHandleClose<IInspectorKernel32>{Platform.Kernel32});
  if (!thread) {
    Console.WriteLine(WSTR("Cannot wait for Enter; stopping."));
    return;
  }
  MSG msg{};
  BOOL got;
  while ((got = Platform.User32->GetMessageW(&msg, nullptr, 0, 0)) > 0) Platform.User32->DispatchMessageW(&msg);
  // WM_QUIT comes only after the reader is done; after a failure it may still be
  // waiting, and the process's end takes it along.
  if (got == 0) Platform.Kernel32->WaitForSingleObject(thread.Get(), INFINITE);
}

}  // namespace

int main() {
  NarrowDllSearch(SystemLoader());
  InstallTerminateHandler("mixinspect");
  const TInspectorPlatform platform = SystemInspectorPlatform();
  TConsole console(*platform.Console);
  try {
    const std::vector<String> args = SplitCommandLine(platform.Console->GetCommandLineW());
    bool watch = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
      if (AsciiLowered(args[i]) == WSTR("-watch")) {
        watch = true;
      } else {
        console.WriteLine(WSTR("Usage: mixinspect.exe [-watch]"));
        return 0;
      }
    }
    const String planted = SystemPlantedLibrary();
    if (!planted.empty()) {
      console.WriteLine(WSTR("The mixer interface is left out: ") + PlantedLibraryReason(planted) + WSTR("."));
      return 0;
    }
    if (!SystemMixerAvailable()) {
      console.WriteLine(
          WSTR("The mixer interface is unavailable: winmm.dll could not be loaded from the system folder."));
      return 0;
    }
    TMixer mixer(platform.Mixer);
    AdmitEverything(mixer);
    mixer.Scan();
    WriteLines(console, MixerReport(mixer));
    if (watch) Watch(platform, mixer, console);
  } catch (const std::exception& error) {
    console.TryWriteLine(DescribeException(error));
  }
  return 0;
}
