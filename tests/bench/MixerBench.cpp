// Timings of the mixer library over large simulated machines: devices of 8
// destinations with a number of sources each, 4 controls on every line.
//
// Two drivers can stand behind the winmm seam:
//   - QuietDriver answers every call by arithmetic on line and control numbers
//     and records nothing, so its figures are the library's own cost. Each
//     benchmark runs at two machine sizes: the same cost per line or control
//     at both shows that it grows linearly with the machine.
//   - SimDriver is the tests' simulated driver, which checks every argument as
//     the system does and formats a record of every call; that work dominates
//     its figures, which are there for comparison.
//
//   build/<dir>/MixerBench [--benchmark_filter=...]   (measure a Release build)
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "mixers/Mixer.h"
#include "sim/CallLog.h"
#include "sim/MixerBuilders.h"
#include "sim/SimWinmm.h"

namespace {

constexpr int DestinationsPerDevice = 8;
constexpr int ControlsPerLine = 4;

struct Shape {
  int Devices;
  int SourcesPerDestination;

  int LinesPerDevice() const { return DestinationsPerDevice * (1 + SourcesPerDestination); }
  int Lines() const { return Devices * LinesPerDevice(); }
  int Controls() const { return Lines() * ControlsPerLine; }
};

// Every line of the machine has these controls, in this order; only the mute is uniform.
constexpr DWORD ControlTypes[ControlsPerLine] = {MIXERCONTROL_CONTROLTYPE_VOLUME, MIXERCONTROL_CONTROLTYPE_MUTE,
                                                 MIXERCONTROL_CONTROLTYPE_BASS, MIXERCONTROL_CONTROLTYPE_TREBLE};
constexpr int MuteIndex = 1;
constexpr DWORD Channels = 2;

DWORD DestinationComponentType(int Destination) {
  return Destination == 0 ? MIXERLINE_COMPONENTTYPE_DST_SPEAKERS : MIXERLINE_COMPONENTTYPE_DST_LINE;
}
DWORD SourceComponentType(int Source) { return MIXERLINE_COMPONENTTYPE_SRC_FIRST + static_cast<DWORD>(Source % 11); }

template <std::size_t N>
void PutName(WCHAR (&Field)[N], const String& Text) {
  const std::size_t n = Text.size() < N ? Text.size() : N - 1;
  std::copy_n(Text.data(), n, Field);
  Field[n] = 0;
}

// A driver that answers from arithmetic alone. Within a device, destination d
// is line number d * (1 + sources) and its source s the number 1 + s after it;
// a line's identifier is its number, and the identifier of its control k is
// number * 4 + k + 1. Handles are the device identifier plus one.
class QuietWinmm : public IWinmm {
 public:
  explicit QuietWinmm(Shape Size) : FShape(Size) {
    const std::size_t words = static_cast<std::size_t>(Size.LinesPerDevice()) * ControlsPerLine * Channels;
    FValues.assign(static_cast<std::size_t>(Size.Devices), std::vector<DWORD>(words, 0));
    for (int k = 0; k < ControlsPerLine; ++k) {
      MIXERCONTROLW& c = FControls[k];
      c.cbStruct = sizeof(MIXERCONTROLW);
      c.dwControlType = ControlTypes[k];
      c.fdwControl = k == MuteIndex ? MIXERCONTROL_CONTROLF_UNIFORM : 0;
      c.Bounds.dwReserved[1] = k == MuteIndex ? 1 : 65535;
      c.Metrics.dwReserved[0] = k == MuteIndex ? 0 : 65535;
      PutName(c.szName, k == MuteIndex ? WSTR("Mute") : WSTR("Volume"));
      PutName(c.szShortName, k == MuteIndex ? WSTR("Mute") : WSTR("Volume"));
    }
  }

  UINT mixerGetNumDevs() override { return static_cast<UINT>(FShape.Devices); }

  MMRESULT mixerGetDevCapsW(UINT_PTR uMxId, LPMIXERCAPSW pmxcaps, UINT cbmxcaps) override {
    if (uMxId >= static_cast<UINT_PTR>(FShape.Devices)) return MMSYSERR_BADDEVICEID;
    if (pmxcaps == nullptr || cbmxcaps < sizeof(MIXERCAPSW)) return MMSYSERR_INVALPARAM;
    *pmxcaps = MIXERCAPSW{};
    PutName(pmxcaps->szPname, WSTR("Card"));
    pmxcaps->cDestinations = DestinationsPerDevice;
    return MMSYSERR_NOERROR;
  }

  MMRESULT mixerOpen(LPHMIXER phmx, UINT uMxId, DWORD_PTR, DWORD_PTR, DWORD) override {
    if (uMxId >= static_cast<UINT>(FShape.Devices)) return MMSYSERR_BADDEVICEID;
    *phmx = reinterpret_cast<HMIXER>(static_cast<UINT_PTR>(uMxId) + 1);
    return MMSYSERR_NOERROR;
  }

  MMRESULT mixerClose(HMIXER hmx) override { return DeviceOf(hmx) < 0 ? MMSYSERR_INVALHANDLE : MMSYSERR_NOERROR; }

  MMRESULT mixerGetLineInfoW(HMIXEROBJ hmxobj, LPMIXERLINEW pmxl, DWORD fdwInfo) override {
    if (DeviceOf(reinterpret_cast<HMIXER>(hmxobj)) < 0) return MMSYSERR_INVALHANDLE;
    const DWORD query = fdwInfo & MIXER_GETLINEINFOF_QUERYMASK;
    const bool source = query == MIXER_GETLINEINFOF_SOURCE;
    if (!source && query != MIXER_GETLINEINFOF_DESTINATION) return MMSYSERR_INVALFLAG;
    const DWORD d = pmxl->dwDestination;
    const DWORD s = source ? pmxl->dwSource : 0;
    if (d >= DestinationsPerDevice || s >= static_cast<DWORD>(FShape.SourcesPerDestination)) return MIXERR_INVALLINE;
    const DWORD size = pmxl->cbStruct;
    *pmxl = MIXERLINEW{};
    pmxl->cbStruct = size;
    pmxl->dwDestination = d;
    pmxl->dwSource = s;
    pmxl->dwLineID = d * (1 + static_cast<DWORD>(FShape.SourcesPerDestination)) + (source ? 1 + s : 0);
    pmxl->fdwLine = MIXERLINE_LINEF_ACTIVE | (source ? MIXERLINE_LINEF_SOURCE : 0);
    pmxl->dwComponentType =
        source ? SourceComponentType(static_cast<int>(s)) : DestinationComponentType(static_cast<int>(d));
    pmxl->cChannels = Channels;
    pmxl->cConnections = source ? 0 : static_cast<DWORD>(FShape.SourcesPerDestination);
    pmxl->cControls = ControlsPerLine;
    PutName(pmxl->szName, source ? WSTR("In") : WSTR("Out"));
    PutName(pmxl->szShortName, source ? WSTR("In") : WSTR("Out"));
    return MMSYSERR_NOERROR;
  }

  MMRESULT mixerGetLineControlsW(HMIXEROBJ hmxobj, LPMIXERLINECONTROLSW pmxlc, DWORD fdwControls) override {
    if (DeviceOf(reinterpret_cast<HMIXER>(hmxobj)) < 0) return MMSYSERR_INVALHANDLE;
    if ((fdwControls & MIXER_GETLINECONTROLSF_QUERYMASK) != MIXER_GETLINECONTROLSF_ALL) return MMSYSERR_INVALFLAG;
    if (pmxlc->dwLineID >= static_cast<DWORD>(FShape.LinesPerDevice())) return MIXERR_INVALLINE;
    if (pmxlc->cControls != ControlsPerLine || pmxlc->cbmxctrl < sizeof(MIXERCONTROLW)) return MMSYSERR_INVALPARAM;
    BYTE* records = reinterpret_cast<BYTE*>(pmxlc->pamxctrl);
    for (int k = 0; k < ControlsPerLine; ++k) {
      MIXERCONTROLW& record =
          *reinterpret_cast<MIXERCONTROLW*>(records + static_cast<std::size_t>(k) * pmxlc->cbmxctrl);
      record = FControls[k];
      record.dwControlID = pmxlc->dwLineID * ControlsPerLine + static_cast<DWORD>(k) + 1;
    }
    return MMSYSERR_NOERROR;
  }

  MMRESULT mixerGetControlDetailsW(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override {
    DWORD* values = nullptr;
    if (const MMRESULT r = Details(hmxobj, pmxcd, fdwDetails, values)) return r;
    std::memcpy(pmxcd->paDetails, values, pmxcd->cChannels * sizeof(DWORD));
    return MMSYSERR_NOERROR;
  }

  MMRESULT mixerSetControlDetails(HMIXEROBJ hmxobj, LPMIXERCONTROLDETAILS pmxcd, DWORD fdwDetails) override {
    DWORD* values = nullptr;
    if (const MMRESULT r = Details(hmxobj, pmxcd, fdwDetails, values)) return r;
    std::memcpy(values, pmxcd->paDetails, pmxcd->cChannels * sizeof(DWORD));
    return MMSYSERR_NOERROR;
  }

 private:
  int DeviceOf(HMIXER Handle) const {
    const UINT_PTR raw = reinterpret_cast<UINT_PTR>(Handle);
    return raw >= 1 && raw <= static_cast<UINT_PTR>(FShape.Devices) ? static_cast<int>(raw - 1) : -1;
  }

  // The stored words of the control a details request names, once the request is one the control takes.
  MMRESULT Details(HMIXEROBJ Object, const MIXERCONTROLDETAILS* Request, DWORD Flags, DWORD*& Values) {
    const int device = DeviceOf(reinterpret_cast<HMIXER>(Object));
    if (device < 0) return MMSYSERR_INVALHANDLE;
    if ((Flags & MIXER_GETCONTROLDETAILSF_QUERYMASK) != MIXER_GETCONTROLDETAILSF_VALUE) return MMSYSERR_INVALFLAG;
    const DWORD index = Request->dwControlID - 1;
    if (Request->dwControlID == 0 || index >= static_cast<DWORD>(FShape.LinesPerDevice()) * ControlsPerLine)
      return MIXERR_INVALCONTROL;
    const DWORD channels = index % ControlsPerLine == MuteIndex ? 1 : Channels;
    if (Request->cChannels != channels || Request->cbDetails != sizeof(DWORD) || Request->paDetails == nullptr)
      return MMSYSERR_INVALPARAM;
    Values = &FValues[static_cast<std::size_t>(device)][index * Channels];
    return MMSYSERR_NOERROR;
  }

  Shape FShape;
  MIXERCONTROLW FControls[ControlsPerLine] = {};
  std::vector<std::vector<DWORD>> FValues;  // per device: two words for each control
};

struct QuietDriver {
  explicit QuietDriver(Shape Size) : Winmm(Size) {}
  IWinmm& Seam() { return Winmm; }
  void Drain() {}

  QuietWinmm Winmm;
};

// The same machine on the tests' simulated driver.
struct SimDriver {
  explicit SimDriver(Shape Size) {
    for (int i = 0; i < Size.Devices; ++i) Winmm.AddDevice(Device(i, Size));
  }
  IWinmm& Seam() { return Winmm; }
  // The driver's log would otherwise grow without end.
  void Drain() { Log.Clear(); }

  static std::vector<SimControl> FourControls() {
    std::vector<SimControl> controls;
    for (int k = 0; k < ControlsPerLine; ++k) {
      controls.push_back(k == MuteIndex ? SimWinmm::MuteControl() : SimWinmm::VolumeControl());
      controls.back().ControlType = ControlTypes[k];
    }
    return controls;
  }

  static SimDevice Device(int Index, Shape Size) {
    SimDevice device;
    device.Name = WSTR("Card ");
    device.Name.push_back(static_cast<WCHAR>('A' + Index % 26));
    for (int d = 0; d < DestinationsPerDevice; ++d) {
      std::vector<SimLine> sources;
      for (int s = 0; s < Size.SourcesPerDestination; ++s)
        sources.push_back(Source(SourceComponentType(s), WSTR("In"), FourControls(), Channels));
      device.Destinations.push_back(Dest(DestinationComponentType(d), WSTR("Out"), FourControls(), sources, Channels));
    }
    return device;
  }

  CallLog Log;
  SimWinmm Winmm{Log};
};

// A driver and a mixer over it that keeps every line and control.
template <class Driver>
struct Machine {
  explicit Machine(Shape Of) : Size(Of), Drv(Of), Mixer(Platform()) {
    Mixer.Target()->SetLineType(MixerSourceLineTypes + MixerDestLineTypes);
    Mixer.Target()->SetControlType({ctVolume, ctMute, ctBass, ctTreble});
  }
  // No window functions: the devices are opened without notifications.
  TMixerPlatform Platform() { return TMixerPlatform{nullptr, nullptr, &Drv.Seam(), nullptr, nullptr}; }

  template <class F>
  void EachLine(F&& Visit) {
    for (int d = 0; d < Mixer.GetCount(); ++d) {
      TMixerDev* dev = Mixer.GetDevice(d);
      for (int i = 0; i < dev->Count(); ++i) Visit(*dev->GetItem(i));
    }
    Drv.Drain();
  }

  Shape Size;
  Driver Drv;
  TMixer Mixer;
};

Shape ShapeOf(const benchmark::State& State) {
  return Shape{static_cast<int>(State.range(0)), static_cast<int>(State.range(1))};
}

void PerUnit(benchmark::State& State, const char* Name, int Units) {
  State.counters[Name] =
      benchmark::Counter(Units, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <class Driver>
void BM_Scan(benchmark::State& State) {
  Machine<Driver> m(ShapeOf(State));
  for (auto _ : State) {
    m.Mixer.Scan();
    m.Drv.Drain();
  }
  const Shape size = m.Size;
  if (m.Mixer.GetCount() != size.Devices || m.Mixer.GetDevice(0)->Count() != size.LinesPerDevice() ||
      m.Mixer.GetDevice(0)->CtrlCount() != size.LinesPerDevice() * ControlsPerLine)
    State.SkipWithError("the scan did not keep the whole machine");
  PerUnit(State, "per_line", size.Lines());
  PerUnit(State, "per_control", size.Controls());
}

template <class Driver>
void BM_ReadVolume(benchmark::State& State) {
  Machine<Driver> m(ShapeOf(State));
  m.Mixer.Scan();
  for (auto _ : State) m.EachLine([](TMixerItem& Line) { benchmark::DoNotOptimize(Line.GetVolume()); });
  PerUnit(State, "per_line", m.Size.Lines());
}

template <class Driver>
void BM_WriteVolume(benchmark::State& State) {
  Machine<Driver> m(ShapeOf(State));
  m.Mixer.Scan();
  std::int32_t value = 0;
  for (auto _ : State) {
    value = value == 50 ? 75 : 50;
    m.EachLine([value](TMixerItem& Line) { Line.SetVolume(value); });
  }
  PerUnit(State, "per_line", m.Size.Lines());
}

template <class Driver>
void BM_ReadMute(benchmark::State& State) {
  Machine<Driver> m(ShapeOf(State));
  m.Mixer.Scan();
  for (auto _ : State) m.EachLine([](TMixerItem& Line) { benchmark::DoNotOptimize(Line.GetMute()); });
  PerUnit(State, "per_line", m.Size.Lines());
}

template <class Driver>
void BM_WriteMute(benchmark::State& State) {
  Machine<Driver> m(ShapeOf(State));
  m.Mixer.Scan();
  bool on = false;
  for (auto _ : State) {
    on = !on;
    m.EachLine([on](TMixerItem& Line) { Line.SetMute(on); });
  }
  PerUnit(State, "per_line", m.Size.Lines());
}

// Finding a control by identifier, as a change notification does, for every control of the last device.
template <class Driver>
void BM_CtrlOfControlID(benchmark::State& State) {
  Machine<Driver> m(ShapeOf(State));
  m.Mixer.Scan();
  TMixerDev* dev = m.Mixer.GetDevice(m.Mixer.GetCount() - 1);
  std::vector<std::uint32_t> ids;
  for (int c = 0; c < dev->CtrlCount(); ++c) ids.push_back(dev->GetCtrl(c)->ControlID());
  for (auto _ : State)
    for (std::uint32_t id : ids) benchmark::DoNotOptimize(dev->CtrlOfControlID(id));
  PerUnit(State, "per_control", static_cast<int>(ids.size()));
}

// The machine of the figures (16 devices x 8 destinations x 16 sources x 4
// controls) and one with a quarter of its lines, half of them per device.
void TwoSizes(benchmark::internal::Benchmark* B) {
  B->ArgNames({"devices", "sources"})->Args({8, 8})->Args({16, 16})->Unit(benchmark::kMillisecond);
}
void FullSize(benchmark::internal::Benchmark* B) {
  B->ArgNames({"devices", "sources"})->Args({16, 16})->Unit(benchmark::kMillisecond);
}

BENCHMARK_TEMPLATE(BM_Scan, QuietDriver)->Apply(TwoSizes);
BENCHMARK_TEMPLATE(BM_ReadVolume, QuietDriver)->Apply(TwoSizes);
BENCHMARK_TEMPLATE(BM_WriteVolume, QuietDriver)->Apply(TwoSizes);
BENCHMARK_TEMPLATE(BM_ReadMute, QuietDriver)->Apply(TwoSizes);
BENCHMARK_TEMPLATE(BM_WriteMute, QuietDriver)->Apply(TwoSizes);
BENCHMARK_TEMPLATE(BM_CtrlOfControlID, QuietDriver)->Apply(TwoSizes);
BENCHMARK_TEMPLATE(BM_Scan, SimDriver)->Apply(FullSize);
BENCHMARK_TEMPLATE(BM_ReadVolume, SimDriver)->Apply(FullSize);
BENCHMARK_TEMPLATE(BM_WriteVolume, SimDriver)->Apply(FullSize);
BENCHMARK_TEMPLATE(BM_ReadMute, SimDriver)->Apply(FullSize);
BENCHMARK_TEMPLATE(BM_WriteMute, SimDriver)->Apply(FullSize);

}  // namespace

BENCHMARK_MAIN();
