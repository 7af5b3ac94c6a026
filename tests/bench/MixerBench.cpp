// Timings of the mixer library over a large simulated machine: 16 devices of
// 8 destinations with 16 sources each, 4 controls on every line. The figures
// include the simulated driver's own work (it checks and logs every call).
//
//   build/<dir>/tests/MixerBench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <vector>

#include "mixers/Mixer.h"
#include "sim/CallLog.h"
#include "sim/SimWinmm.h"

namespace {

constexpr int Devices = 16;
constexpr int DestinationsPerDevice = 8;
constexpr int SourcesPerDestination = 16;
constexpr int LinesPerDevice = DestinationsPerDevice * (1 + SourcesPerDestination);
constexpr int Lines = Devices * LinesPerDevice;
constexpr int ControlsPerLine = 4;
constexpr int Controls = Lines * ControlsPerLine;

std::vector<SimControl> FourControls() {
  SimControl bass = SimWinmm::VolumeControl(WSTR("Bass"));
  bass.ControlType = MIXERCONTROL_CONTROLTYPE_BASS;
  SimControl treble = SimWinmm::VolumeControl(WSTR("Treble"));
  treble.ControlType = MIXERCONTROL_CONTROLTYPE_TREBLE;
  return {SimWinmm::VolumeControl(), SimWinmm::MuteControl(), bass, treble};
}

SimDevice LargeDevice(int Index) {
  SimDevice device;
  device.Name = WSTR("Card ");
  device.Name.push_back(static_cast<WCHAR>('A' + Index));
  for (int d = 0; d < DestinationsPerDevice; ++d) {
    SimDestination dest;
    dest.ComponentType = d == 0 ? MIXERLINE_COMPONENTTYPE_DST_SPEAKERS : MIXERLINE_COMPONENTTYPE_DST_LINE;
    dest.Name = WSTR("Out");
    dest.Controls = FourControls();
    for (int s = 0; s < SourcesPerDestination; ++s) {
      SimLine source;
      source.ComponentType = MIXERLINE_COMPONENTTYPE_SRC_FIRST + static_cast<DWORD>(s % 11);
      source.Name = WSTR("In");
      source.Controls = FourControls();
      dest.Sources.push_back(source);
    }
    device.Destinations.push_back(dest);
  }
  return device;
}

// The simulated machine and a mixer over it, keeping every line and control.
struct Machine {
  CallLog Log;
  SimWinmm Winmm{Log};
  TMixer Mixer;

  Machine() : Mixer(Platform()) {
    for (int i = 0; i < Devices; ++i) Winmm.AddDevice(LargeDevice(i));
    Mixer.Target()->SetLineType(MixerSourceLineTypes + MixerDestLineTypes);
    Mixer.Target()->SetControlType({ctVolume, ctMute, ctBass, ctTreble});
  }
  // No window functions: the devices are opened without notifications.
  TMixerPlatform Platform() { return TMixerPlatform{nullptr, nullptr, &Winmm, nullptr}; }

  template <class F>
  void EachLine(F&& Visit) {
    for (int d = 0; d < Mixer.GetCount(); ++d) {
      TMixerDev* dev = Mixer.GetDevice(d);
      for (int i = 0; i < dev->Count(); ++i) Visit(*dev->GetItem(i));
    }
    // The driver's log would otherwise grow without end.
    Log.Clear();
  }
};

void PerUnit(benchmark::State& State, const char* Name, int Units) {
  State.counters[Name] = benchmark::Counter(Units, benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
}

void BM_Scan(benchmark::State& State) {
  Machine m;
  for (auto _ : State) {
    m.Mixer.Scan();
    m.Log.Clear();
  }
  if (m.Mixer.GetCount() != Devices || m.Mixer.GetDevice(0)->Count() != LinesPerDevice ||
      m.Mixer.GetDevice(0)->CtrlCount() != LinesPerDevice * ControlsPerLine)
    State.SkipWithError("the scan did not keep the whole machine");
  PerUnit(State, "per_line", Lines);
  PerUnit(State, "per_control", Controls);
}
BENCHMARK(BM_Scan)->Unit(benchmark::kMillisecond);

void BM_ReadVolume(benchmark::State& State) {
  Machine m;
  m.Mixer.Scan();
  for (auto _ : State) m.EachLine([](TMixerItem& Line) { benchmark::DoNotOptimize(Line.GetVolume()); });
  PerUnit(State, "per_line", Lines);
}
BENCHMARK(BM_ReadVolume)->Unit(benchmark::kMillisecond);

void BM_WriteVolume(benchmark::State& State) {
  Machine m;
  m.Mixer.Scan();
  std::int32_t value = 0;
  for (auto _ : State) {
    value = value == 50 ? 75 : 50;
    m.EachLine([value](TMixerItem& Line) { Line.SetVolume(value); });
  }
  PerUnit(State, "per_line", Lines);
}
BENCHMARK(BM_WriteVolume)->Unit(benchmark::kMillisecond);

void BM_ReadMute(benchmark::State& State) {
  Machine m;
  m.Mixer.Scan();
  for (auto _ : State) m.EachLine([](TMixerItem& Line) { benchmark::DoNotOptimize(Line.GetMute()); });
  PerUnit(State, "per_line", Lines);
}
BENCHMARK(BM_ReadMute)->Unit(benchmark::kMillisecond);

void BM_WriteMute(benchmark::State& State) {
  Machine m;
  m.Mixer.Scan();
  bool on = false;
  for (auto _ : State) {
    on = !on;
    m.EachLine([on](TMixerItem& Line) { Line.SetMute(on); });
  }
  PerUnit(State, "per_line", Lines);
}
BENCHMARK(BM_WriteMute)->Unit(benchmark::kMillisecond);

// Finding a control by identifier walks the device's list: the notification path.
void BM_CtrlOfControlID(benchmark::State& State) {
  Machine m;
  m.Mixer.Scan();
  TMixerDev* dev = m.Mixer.GetDevice(Devices - 1);
  std::vector<std::uint32_t> ids;
  for (int c = 0; c < dev->CtrlCount(); ++c) ids.push_back(dev->GetCtrl(c)->ControlID());
  for (auto _ : State)
    for (std::uint32_t id : ids) benchmark::DoNotOptimize(dev->CtrlOfControlID(id));
  PerUnit(State, "per_control", static_cast<int>(ids.size()));
}
BENCHMARK(BM_CtrlOfControlID)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
