// Writes the seed corpus of both fuzz targets, which scripts/fuzz checks:
// fuzz_make_seeds DIR writes DIR/commandline/* and DIR/mixer/*. The mixer seeds
// are written in the order in which a scan asks its questions (FuzzInput.h,
// FuzzWinmm.cpp), so that each one starts the fuzzer from a meaningful tree.
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "fuzz/FuzzInput.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

bool WriteFile(const std::string& Path, const Bytes& Data) {
  std::FILE* f = std::fopen(Path.c_str(), "wb");
  if (f == nullptr) return false;
  const bool ok = std::fwrite(Data.data(), 1, Data.size(), f) == Data.size();
  return std::fclose(f) == 0 && ok;
}

Bytes Utf16(const std::u16string& Text) {
  Bytes out;
  for (char16_t c : Text) {
    out.push_back(static_cast<std::uint8_t>(c & 0xFF));
    out.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return out;
}

// One stream, written with the inverse of TFuzzStream's readers.
class TOut {
 public:
  Bytes Data;

  TOut& Byte(std::uint8_t b) {
    Data.push_back(b);
    return *this;
  }
  TOut& Raw(std::initializer_list<std::uint8_t> bs) {
    for (std::uint8_t b : bs) Byte(b);
    return *this;
  }
  TOut& Word(std::uint16_t w) { return Byte(static_cast<std::uint8_t>(w)).Byte(static_cast<std::uint8_t>(w >> 8)); }
  TOut& Dword(std::uint32_t d) { return Word(static_cast<std::uint16_t>(d)).Word(static_cast<std::uint16_t>(d >> 16)); }
  TOut& Ok() { return Byte(0); }
  /// A failing call that leaves the buffer alone.
  TOut& Fail(MMRESULT Code) {
    for (std::uint8_t i = 0; i < 16; ++i)
      if (FuzzTables::FailureCodes[i] == Code) return Byte(static_cast<std::uint8_t>(0xC0 | i)).Byte(0);
    return Byte(0xC0).Byte(0);
  }
  TOut& Count(std::uint32_t n) {
    if (n < 16) return Byte(static_cast<std::uint8_t>(n));
    for (std::uint8_t i = 0; i < 15; ++i)
      if (FuzzTables::OutsizedCounts[i] == n) return Byte(static_cast<std::uint8_t>(0xF0 | i));
    return Byte(0xFF).Dword(n);
  }
  TOut& Id(std::uint32_t id) { return id < 0xF0 ? Byte(static_cast<std::uint8_t>(id)) : Byte(0xF0).Dword(id); }
  TOut& Value(std::uint32_t v) {
    for (std::uint8_t i = 0; i < 31; ++i)
      if (FuzzTables::Values[i] == v) return Byte(i);
    if (v < 0x80) return Byte(static_cast<std::uint8_t>(v));
    return Byte(0xF0).Dword(v);
  }
  /// A name in printable ASCII, cut to the field.
  TOut& Name(const std::string& Text) {
    Byte(static_cast<std::uint8_t>(Text.size() < 0xC0 ? Text.size() : 0xBF));
    for (char c : Text) Byte(static_cast<std::uint8_t>(c - 0x20));
    return *this;
  }
  /// A field filled to its end without a terminator, ending in half a surrogate pair when Cut.
  TOut& FullName(char c, bool Cut) { return Byte(Cut ? 0xC1 : 0xC0).Byte(static_cast<std::uint8_t>(c - 0x20)); }
};

std::uint8_t ComponentIndex(std::uint32_t Type) {
  for (std::uint8_t i = 0; i < 20; ++i)
    if (FuzzTables::ComponentTypes[i] == Type) return i;
  return 0;
}

std::uint8_t ControlIndex(std::uint32_t Type) {
  for (std::uint8_t i = 0; i < 30; ++i)
    if (FuzzTables::ControlTypes[i] == Type) return i;
  return 0;
}

struct TLine {
  std::uint32_t Id;
  std::uint32_t ComponentType;
  std::uint32_t Channels;
  std::uint32_t Connections;
  std::uint32_t Controls;
  std::string Name;
};

struct TControl {
  std::uint32_t Id;
  std::uint32_t Type;
  std::uint8_t Flags;  // bit 0 uniform, bit 1 multiple, bit 2 disabled
  std::uint32_t Items;
  std::string Name;
};

class TSeed {
 public:
  TOut S[StreamCount];
  TOut& operator[](TStreamId Id) { return S[Id]; }

  void Caps(const std::string& Name, std::uint32_t Destinations) {
    S[siDevices].Ok().Byte(0xFF).Byte(0x42).Word(0x0501).Name(Name).Byte(0).Count(Destinations);
  }
  void Line(const TLine& L) {
    S[siLines].Ok().Id(L.Id).Byte(0).Byte(ComponentIndex(L.ComponentType)).Count(L.Channels).Count(L.Connections);
    S[siLines].Count(L.Controls).Name(L.Name.substr(0, 15)).Name(L.Name).Raw({0, 0, 0xFF, 0x42}).Name("");
  }
  void Controls(std::initializer_list<TControl> Cs) {
    S[siControls].Ok();
    for (const TControl& c : Cs) {
      S[siControls].Id(c.Id).Byte(ControlIndex(c.Type)).Byte(c.Flags).Count(c.Items).Name(c.Name.substr(0, 15));
      // Bounds 0..65535 (0..1 for switches), 65535 steps.
      const bool isSwitch = c.Type == MIXERCONTROL_CONTROLTYPE_MUTE || c.Type == MIXERCONTROL_CONTROLTYPE_MUX;
      S[siControls].Name(c.Name).Byte(isSwitch ? 1 : 0).Byte(0);
    }
  }
  /// A destination as a scan reads it: asked for once, then again before its sources.
  void Destination(const TLine& L) {
    Line(L);
    Line(L);
  }

  Bytes Build() const {
    Bytes out;
    for (const TOut& s : S) {
      out.push_back(static_cast<std::uint8_t>(s.Data.size() & 0xFF));
      out.push_back(static_cast<std::uint8_t>(s.Data.size() >> 8));
    }
    for (const TOut& s : S) out.insert(out.end(), s.Data.begin(), s.Data.end());
    return out;
  }
};

constexpr std::uint32_t Speakers = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
constexpr std::uint32_t WaveIn = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
constexpr std::uint32_t WaveOut = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
constexpr std::uint32_t Microphone = MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE;
constexpr std::uint32_t LineIn = MIXERLINE_COMPONENTTYPE_SRC_LINE;
constexpr std::uint32_t Volume = MIXERCONTROL_CONTROLTYPE_VOLUME;
constexpr std::uint32_t Mute = MIXERCONTROL_CONTROLTYPE_MUTE;
constexpr std::uint32_t Mux = MIXERCONTROL_CONTROLTYPE_MUX;

// Speakers with a volume and a mute, fed by a wave output with the same two.
void TypicalDevice(TSeed& Seed, const std::string& Name, std::uint32_t FirstId) {
  Seed.Caps(Name, 1);
  Seed[siDevices].Ok();  // mixerOpen
  Seed.Destination({FirstId, Speakers, 2, 1, 2, "Speakers"});
  Seed.Controls({{FirstId, Volume, 0, 0, "Master Volume"}, {FirstId + 1, Mute, 1, 0, "Master Mute"}});
  Seed.Line({FirstId + 1, WaveOut, 2, 0, 2, "Wave"});
  Seed.Controls({{FirstId + 2, Volume, 0, 0, "Wave Volume"}, {FirstId + 3, Mute, 1, 0, "Wave Mute"}});
}

// Operations of the plan, as MixerFuzz.cpp numbers them.
enum : std::uint8_t {
  Walk,
  LineOp,
  Notify,
  Scan,
  Clear,
  CallbackWindow,
  Options,
  Target,
  InvalidItems,
  Master,
  MuteOp,
  SetTarget,
  ScanShort
};

std::vector<std::pair<std::string, Bytes>> MixerSeeds() {
  std::vector<std::pair<std::string, Bytes>> seeds;

  {  // Two sane devices; the second also records, through a multiplexer over two inputs.
    TSeed s;
    s[siPlan].Raw({16, Walk, Notify, Notify, Master, Scan, MuteOp, Walk});
    s[siDevices].Count(2);
    TypicalDevice(s, "Speakers (Fuzz Audio)", 10);
    s.Caps("Recording (Fuzz Audio)", 2);
    s[siDevices].Ok();
    s.Destination({20, Speakers, 2, 1, 2, "Speakers"});
    s.Controls({{30, Volume, 0, 0, "Master Volume"}, {31, Mute, 1, 0, "Master Mute"}});
    s.Line({21, WaveOut, 2, 0, 2, "Wave"});
    s.Controls({{32, Volume, 0, 0, "Wave Volume"}, {33, Mute, 1, 0, "Wave Mute"}});
    s.Destination({22, WaveIn, 2, 2, 2, "Recording Control"});
    s.Controls({{34, Volume, 0, 0, "Recording Volume"}, {35, Mux, 3, 2, "Recording Source"}});
    s.Line({23, Microphone, 1, 0, 1, "Microphone"});
    s.Controls({{36, Volume, 0, 0, "Microphone Volume"}});
    s.Line({24, LineIn, 2, 0, 1, "Line In"});
    s.Controls({{37, Volume, 0, 0, "Line In Volume"}});
    // Volumes as read, the multiplexer's items (naming the two inputs) and its selection.
    s[siDetails].Ok().Value(65535).Value(32768).Ok().Ok().Value(65535).Value(65535);
    // Notifications: a line change for the first device's first line, a control change for its first control.
    s[siArgs].Raw({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    seeds.emplace_back("two-devices", s.Build());
  }
  {  // No device at all.
    TSeed s;
    s[siPlan].Raw({0, Walk, Master, Notify});
    s[siDevices].Count(0);
    seeds.emplace_back("no-devices", s.Build());
  }
  {  // Every name fills its field without a terminator, some ending in half a surrogate pair.
    TSeed s;
    s[siPlan].Raw({16, Walk, Notify});
    s[siDevices].Count(1).Ok().Byte(1).Byte(2).Word(0x0100).FullName('D', false).Byte(0).Count(1).Ok();
    for (int i = 0; i < 2; ++i) {  // the destination, asked for twice
      TOut& line = s[siLines].Ok().Id(7).Byte(0).Byte(ComponentIndex(Speakers)).Count(2).Count(1).Count(1);
      line.FullName('s', true).FullName('L', false).Raw({0, 0, 0, 0}).FullName('T', true);
    }
    TOut& mux = s[siControls].Ok().Id(1).Byte(ControlIndex(Mux)).Byte(3).Count(3);
    mux.FullName('c', true).FullName('C', false).Byte(1).Byte(0);
    TOut& mic = s[siLines].Ok().Id(8).Byte(0).Byte(ComponentIndex(Microphone)).Count(1).Count(0).Count(1);
    mic.FullName('m', false).FullName('M', true).Raw({0, 0, 0, 0}).FullName('t', false);
    TOut& volume = s[siControls].Ok().Id(2).Byte(ControlIndex(Volume)).Byte(0).Count(0);
    volume.FullName('v', false).FullName('V', true).Byte(0).Byte(0);
    // Three list items whose names fill the field too.
    s[siDetails].Ok();
    for (int i = 0; i < 3; ++i) s[siDetails].Byte(0).Byte(0).FullName(static_cast<char>('a' + i), i == 1);
    seeds.emplace_back("names-without-terminators", s.Build());
  }
  {  // Multiple-item controls that report no items: GetDetailsLength answers 0,
     // and no request for them (one element per channel) is ever sent.
    TSeed s;
    s[siPlan].Raw({16, Walk});
    s[siDevices].Count(1);
    s.Caps("No Items", 1);
    s[siDevices].Ok();
    s.Destination({1, Speakers, 2, 0, 3, "Speakers"});
    s.Controls({{1, Mux, 3, 0, "Mux"}, {2, Volume, 2, 0, "Volume"}, {3, Mute, 2, 0, "Mute"}});
    seeds.emplace_back("multiple-without-items", s.Build());
  }
  {  // Counts no real driver reports: controls in the billions, a multiple-item
     // control without items, a volume with items, 256 channels (0 in the low byte).
    TSeed s;
    s[siPlan].Raw({24, Walk, Scan, Walk});
    s[siDevices].Count(1);
    s.Caps("Odd", 1);
    s[siDevices].Ok();
    s.Destination({1, Speakers, 2, 4, 2, "Speakers"});
    s.Controls({{1, Mux, 3, 0, "Empty Mux"}, {2, Volume, 2, 0x10000000u, "Volume With Items"}});
    s.Line({2, WaveOut, 2, 0, 0x7FFFFFFFu, "Too Many"});
    s.Line({3, WaveOut, 2, 0, 0x80000000u, "Negative"});
    s.Line({4, LineIn, 256, 0, 1, "Wide"});
    s.Controls({{3, Volume, 0, 0, "Wide Volume"}});
    s.Line({5, Microphone, 255, 0, 1, "Many Channels"});
    s.Controls({{4, Mux, 3, 0xFFFF, "Big Mux"}});
    seeds.emplace_back("outsized-counts", s.Build());
  }
  {  // Memory runs out while the library's window is being created.
    TSeed s;
    s[siPlan].Raw({0, Walk, Notify});
    s[siDevices].Count(1);
    TypicalDevice(s, "Speakers", 1);
    s[siWindows].Raw({0, 0, 0xE0});  // the class, the window, then WM_NCCREATE with no memory left
    seeds.emplace_back("window-out-of-memory", s.Build());
  }
  {  // A driver that fails here and there: a second device that cannot be opened,
     // a controls query and detail reads that fail, a window that will not be made.
    TSeed s;
    s[siPlan].Raw({8, Walk, Notify, Scan, Walk});
    s[siDevices].Count(2);
    TypicalDevice(s, "Speakers", 1);
    s.Caps("Broken", 1);
    s[siDevices].Fail(MMSYSERR_ALLOCATED);
    s[siControls].Data.clear();
    s[siControls].Fail(MMSYSERR_INVALPARAM);
    s[siDetails].Fail(MMSYSERR_NOTSUPPORTED).Fail(MIXERR_INVALCONTROL).Ok().Value(0xFFFFFFFFu).Value(0);
    s[siWindows].Raw({0, 0xF0});
    seeds.emplace_back("failing-driver", s.Build());
  }
  {  // Memory runs out at each allocation of a scan in turn, those of adding a
     // device (the device itself, its name) among them: the handle is closed once.
    TSeed s;
    s[siPlan].Raw({0});
    for (std::uint8_t allowed = 0; allowed < 16; ++allowed) {
      s[siPlan].Byte(ScanShort);
      s[siArgs].Byte(allowed);
    }
    for (int scan = 0; scan < 17; ++scan) {
      s[siDevices].Count(1);
      TypicalDevice(s, "Speakers of a long name", 1);
    }
    seeds.emplace_back("device-out-of-memory", s.Build());
  }
  {  // A destination that reports 2^31 connections, a negative count: it is not read again.
    TSeed s;
    s[siPlan].Raw({16, Walk, Scan});
    s[siDevices].Count(1);
    s.Caps("Negative", 2);
    s[siDevices].Ok();
    s.Line({1, Speakers, 2, 0x80000000u, 1, "Speakers"});
    s.Destination({2, WaveIn, 2, 0, 1, "Recording"});
    s.Controls({{1, Volume, 0, 0, "Recording Volume"}});
    seeds.emplace_back("negative-connections", s.Build());
  }
  return seeds;
}

std::vector<std::pair<std::string, Bytes>> CommandLineSeeds() {
  return {
      {"mute-lock", Utf16(u"Lullscreen.exe 1000 -muteon -withlock")},
      {"quoted-hex-case", Utf16(u"\"C:\\Program Files\\Lullscreen.exe\" $1F4 -MuteOff -WITHLOCK")},
      {"power-ends-scan", Utf16(u"Lullscreen.exe -reboot -shutdown -muteon")},
      {"empty-quotes", Utf16(u"Lullscreen.exe \"\" \"  -0x7fffffff\" -hibernate")},
      {"limits", Utf16(u"Lullscreen.exe -2147483648 -suspend 2147483648")},
      {"no-arguments", Utf16(u"Lullscreen.exe")},
      {"tabs-and-signs", Utf16(u"x.exe\t+x10\t\"-muteon\"\x1f-muteoff -withlock \"unterminated")},
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s CORPUS_DIR (with subdirectories commandline and mixer)\n", argv[0]);
    return 2;
  }
  const std::string dir = argv[1];
  bool ok = true;
  for (const auto& seed : CommandLineSeeds()) ok = WriteFile(dir + "/commandline/" + seed.first, seed.second) && ok;
  for (const auto& seed : MixerSeeds()) ok = WriteFile(dir + "/mixer/" + seed.first, seed.second) && ok;
  if (!ok) std::fprintf(stderr, "could not write every seed under %s\n", dir.c_str());
  return ok ? 0 : 1;
}
