// Lines: construction, the walk over a line's run of controls, detail counts
// and the typed detail accessors, over a scanned simulated device.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "mixers/Mixers.h"
#include "sim/SimSystem.h"

namespace {

constexpr DWORD GetFlags = 0x80000000u;
constexpr DWORD ListTextFlags = 0x80000001u;

template <std::size_t N>
void Put(WCHAR (&Field)[N], const String& Text) {
  for (std::size_t i = 0; i < N; ++i) Field[i] = i < Text.size() ? Text[i] : WCHAR(0);
}

MIXERLINEW LineRecord(DWORD ComponentType, DWORD Channels) {
  MIXERLINEW line{};
  line.cbStruct = sizeof(line);
  line.dwLineID = 0xFFFF0000u;
  line.dwComponentType = ComponentType;
  line.cChannels = Channels;
  Put(line.szName, WSTR("Speakers Long"));
  Put(line.szShortName, WSTR("Spk"));
  Put(line.Target.szPname, WSTR("Card"));
  line.Target.dwType = 0x1234;
  return line;
}

// A control with DWORD values only: type, flags and item count as the driver reports them.
SimControl Plain(DWORD Type, DWORD Flags, DWORD Items, const String& Name) {
  SimControl c;
  c.ControlType = Type;
  c.Flags = Flags;
  c.MultipleItems = Items;
  c.Name = Name;
  return c;
}

// A mixer that can make a control look different to the library than to the
// driver: the item count of controls named in HugeItems is replaced, marking
// them multiple-item controls.
class TweakMixer : public TMixer {
 public:
  using TMixer::TMixer;
  std::map<String, DWORD> HugeItems;

 protected:
  std::unique_ptr<TMixerCtrl> CreateCtrl(TMixerItem* Item, const MIXERCONTROLW& Control,
                                         TMixerOptions Options) override {
    MIXERCONTROLW copy = Control;
    String name;
    NameFieldToText(copy.szName, MIXER_LONG_NAME_CHARS - 1, name);
    const auto huge = HugeItems.find(name);
    if (huge != HugeItems.end()) {
      copy.fdwControl |= MIXERCONTROL_CONTROLF_MULTIPLE;
      copy.cMultipleItems = huge->second;
    }
    return TMixer::CreateCtrl(Item, copy, Options);
  }
};

class MixerItemTest : public ::testing::Test {
 protected:
  SimSystem Sim;
  std::unique_ptr<TweakMixer> Mixer;

  // Scans one device with every line and control type admitted; the log starts empty afterwards.
  void Scan(SimDevice Device, std::map<String, DWORD> HugeItems = {}) {
    Sim.Winmm.AddDevice(std::move(Device));
    Mixer = std::make_unique<TweakMixer>(Sim.Platform());
    Mixer->HugeItems = std::move(HugeItems);
    auto target = std::make_unique<TMixerTarget>();
    target->SetLineType(MixerSourceLineTypes + MixerDestLineTypes);
    target->SetControlType(TMixerControlTypes::Range(ctCustom, ctUnknown));
    Mixer->SetTarget(std::move(target));
    Mixer->Scan();
    ASSERT_EQ(Mixer->GetCount(), 1);
    Sim.Log.Clear();
  }
  TMixerItem* Item(int Index) { return Mixer->GetDevice(0)->GetItem(Index); }
  TMixerCtrl* Ctrl(int Index) { return Mixer->GetDevice(0)->GetCtrl(Index); }
  std::size_t DetailCalls() const {
    return Sim.Log.Count("mixerGetControlDetailsW") + Sim.Log.Count("mixerSetControlDetails");
  }
  std::string Handle() { return Hex(reinterpret_cast<std::uintptr_t>(Mixer->GetDevice(0)->Handle())); }

  // Speakers (2 channels): Volume A, Mute M, Volume B, then Wave (2 channels): Volume C, Mute.
  void ScanRun() {
    SimLine wave = SimWinmm::Line(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, WSTR("Wave"), 2,
                                  {SimWinmm::VolumeControl(WSTR("C")), SimWinmm::MuteControl()});
    SimDevice device;
    device.Name = WSTR("Card");
    device.Destinations.push_back(SimWinmm::Destination(
        MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, WSTR("Speakers"), 2,
        {SimWinmm::VolumeControl(WSTR("A")), SimWinmm::MuteControl(WSTR("M")), SimWinmm::VolumeControl(WSTR("B"))},
        {wave}));
    Scan(device);
  }
};

TEST(MixerItemCreate, NamesFollowOptions) {
  struct Case {
    const char* Label;
    TMixerOptions Options;
    String Name, ShortName, TargetName;
  };
  const Case cases[] = {
      {"none", {}, WSTR("Speakers Long"), WSTR("Spk"), WSTR("Card")},
      {"no long name", {moNoLineName}, WSTR(""), WSTR("Spk"), WSTR("Card")},
      {"no short name", {moNoLineShortName}, WSTR("Speakers Long"), WSTR(""), WSTR("Card")},
      {"no target name", {moNoTargetName}, WSTR("Speakers Long"), WSTR("Spk"), WSTR("")},
      {"all three", {moNoLineName, moNoLineShortName, moNoTargetName}, WSTR(""), WSTR(""), WSTR("")},
      // Options of other objects leave the line's names alone.
      {"control and device options", {moNoControlName, moNoDeviceName}, WSTR("Speakers Long"), WSTR("Spk"),
       WSTR("Card")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Label);
    TMixerItem item(nullptr, LineRecord(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, 2), nullptr, 3, c.Options);
    EXPECT_EQ(item.Name(), c.Name);
    EXPECT_EQ(item.ShortName(), c.ShortName);
    EXPECT_EQ(item.TargetName(), c.TargetName);
    EXPECT_EQ(item.TargetType(), 0x1234u);
    EXPECT_EQ(item.DestNum(), 3u);
  }
}

TEST(MixerItemCreate, SnapshotOfTheLine) {
  TMixerItem dest(nullptr, LineRecord(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, 0x102), nullptr, 0, {});
  TMixerItem source(nullptr, LineRecord(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, 6), &dest, 0, {});
  EXPECT_EQ(dest.Channel(), 2) << "only the low 8 bits of cChannels count";
  EXPECT_EQ(source.Channel(), 6);
  EXPECT_EQ(dest.LineId(), 0xFFFF0000u);
  EXPECT_TRUE(dest.IsDestination());
  EXPECT_FALSE(source.IsDestination());
  EXPECT_EQ(source.LineType(), ltWaveOut);
  EXPECT_EQ(source.GetDestType(), dtSpeakers);
  EXPECT_EQ(dest.GetDestType(), dtSpeakers);
  EXPECT_EQ(source.DestItem(), &dest);
  EXPECT_EQ(dest.RawBalance(), 1.0f);
  // A line without controls answers every lookup without reaching for a device.
  EXPECT_FALSE(dest.HasCtrl());
  EXPECT_EQ(dest.CtrlIndex(), -1);
  EXPECT_EQ(dest.Count(), 0);
  EXPECT_EQ(dest.CtrlOfType(TMixerControlTypes::Range(ctCustom, ctUnknown), 0), nullptr);
  EXPECT_EQ(dest.MultipleItems(), nullptr);
}

TEST_F(MixerItemTest, RunWalkStaysWithinTheLine) {
  ScanRun();
  TMixerItem* speakers = Item(0);
  TMixerItem* wave = Item(1);
  TMixerCtrl* a = Ctrl(0);
  TMixerCtrl* m = Ctrl(1);
  TMixerCtrl* b = Ctrl(2);
  TMixerCtrl* c = Ctrl(3);
  ASSERT_EQ(c->Name(), WSTR("C"));
  EXPECT_EQ(speakers->Count(), 3);
  EXPECT_EQ(wave->Count(), 2);
  EXPECT_EQ(wave->CtrlIndex(), 3);

  struct Case {
    const char* Label;
    TMixerItem* Line;
    TMixerControlTypes Types;
    int Start;
    TMixerCtrl* Expected;
  };
  const Case cases[] = {
      {"first volume", speakers, {ctVolume}, 0, a},
      {"either type from 1", speakers, {ctVolume, ctMute}, 1, m},
      {"volume from 1 skips the mute", speakers, {ctVolume}, 1, b},
      {"no mute after position 1", speakers, {ctMute}, 2, nullptr},
      {"start on the next line's control", speakers, {ctVolume}, 3, nullptr},
      {"start beyond the list", speakers, {ctVolume}, 10, nullptr},
      {"type not on the line", speakers, {ctPeakMeter}, 0, nullptr},
      {"source line's own run", wave, {ctVolume}, 0, c},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Label);
    EXPECT_EQ(k.Line->CtrlOfType(k.Types, k.Start), k.Expected);
  }

  EXPECT_EQ(speakers->CtrlOfTypeNext(a), b);
  EXPECT_EQ(speakers->CtrlOfTypeNext(b), nullptr) << "the next line's volume is not this line's";
  EXPECT_EQ(speakers->CtrlOfTypeNext(nullptr), nullptr);
  EXPECT_EQ(speakers->CtrlOfTypeNext(c), nullptr);
  EXPECT_EQ(speakers->IndexOf(b), 2);
  EXPECT_EQ(speakers->IndexOf(c), -1);
  EXPECT_EQ(wave->IndexOf(c), 0);
  EXPECT_EQ(wave->IndexOf(a), -1);
  EXPECT_EQ(DetailCalls(), 0u);
}

TEST_F(MixerItemTest, DetailCountsAndRequests) {
  SimDevice device;
  device.Name = WSTR("Card");
  std::vector<SimListText> five;
  for (DWORD i = 0; i < 5; ++i) five.push_back({i + 1, 0, WSTR("Item")});
  SimControl mixer10 = Plain(MIXERCONTROL_CONTROLTYPE_MIXER, MIXERCONTROL_CONTROLF_MULTIPLE, 5, WSTR("Mixer"));
  mixer10.ListTexts = five;
  device.Destinations.push_back(SimWinmm::Destination(
      MIXERLINE_COMPONENTTYPE_DST_WAVEIN, WSTR("Recording"), 2,
      {SimWinmm::VolumeControl(), SimWinmm::MuteControl(), mixer10, SimWinmm::MuxControl(WSTR("Mux"), five)},
      {SimWinmm::Line(MIXERLINE_COMPONENTTYPE_SRC_LINE, WSTR("Surround"), 6, {SimWinmm::VolumeControl()})}));
  Scan(device);
  TMixerItem* recording = Item(0);
  TMixerCtrl* volume = Ctrl(0);
  TMixerCtrl* mute = Ctrl(1);
  TMixerCtrl* mixer = Ctrl(2);
  TMixerCtrl* mux = Ctrl(3);

  EXPECT_EQ(recording->GetDetailsLength(volume), 2u);
  EXPECT_EQ(recording->GetDetailsLength(mute), 1u) << "uniform";
  EXPECT_EQ(recording->GetDetailsLength(mixer), 10u) << "two channels of five items";
  EXPECT_EQ(recording->GetDetailsLength(mux), 5u) << "uniform, five items";
  EXPECT_EQ(Item(1)->GetDetailsLength(Ctrl(4)), 6u);

  // The header each accessor sends: control, channels, items, element size and flags.
  MIXERCONTROLDETAILS_UNSIGNED u[2] = {};
  const MIXERCONTROLDETAILS_UNSIGNED w[2] = {{7}, {9}};
  MIXERCONTROLDETAILS_BOOLEAN b[5] = {};
  MIXERCONTROLDETAILS_LISTTEXTW t[10] = {};
  const std::size_t textSize = sizeof(MIXERCONTROLDETAILS_LISTTEXTW);
  struct Case {
    const char* Label;
    std::function<void()> Call;
    std::string Record;
  };
  const Case cases[] = {
      {"volume read", [&] { recording->GetUnsigned(volume, u, 2); },
       CallText("mixerGetControlDetailsW", Handle(), volume->ControlID(), 2, 0, 4, Hex(GetFlags))},
      {"volume write", [&] { recording->SetUnsigned(volume, w, 2); },
       CallText("mixerSetControlDetails", Handle(), volume->ControlID(), 2, 0, 4, Hex(GetFlags), 7, 9)},
      {"mute read", [&] { recording->GetBoolean(mute, b, 1); },
       CallText("mixerGetControlDetailsW", Handle(), mute->ControlID(), 1, 0, 4, Hex(GetFlags))},
      {"uniform multiple-item read", [&] { recording->GetBoolean(mux, b, 5); },
       CallText("mixerGetControlDetailsW", Handle(), mux->ControlID(), 1, 5, 4, Hex(GetFlags))},
      {"list texts", [&] { recording->GetListText(mixer, t, 10); },
       CallText("mixerGetControlDetailsW", Handle(), mixer->ControlID(), 2, 5, textSize, Hex(ListTextFlags))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Label);
    Sim.Log.Clear();
    ASSERT_NO_THROW(c.Call());
    ASSERT_EQ(Sim.Log.Calls().size(), 1u);
    EXPECT_EQ(Sim.Log.Calls()[0], c.Record);
  }
  EXPECT_EQ(t[9].dwParam1, 5u) << "the second channel's entries follow the first's";
}

TEST_F(MixerItemTest, ChecksRefuseBeforeTheDevice) {
  ScanRun();
  TMixerItem* speakers = Item(0);
  TMixerCtrl* volume = Ctrl(0);
  TMixerCtrl* mute = Ctrl(1);
  TMixerCtrl* waveVolume = Ctrl(3);
  constexpr LONG Sentinel = 0x5A5A5A5A;
  struct Buffers {
    MIXERCONTROLDETAILS_BOOLEAN b[4] = {{Sentinel}, {Sentinel}, {Sentinel}, {Sentinel}};
    MIXERCONTROLDETAILS_SIGNED s[4] = {{Sentinel}, {Sentinel}, {Sentinel}, {Sentinel}};
    MIXERCONTROLDETAILS_UNSIGNED u[4] = {{Sentinel}, {Sentinel}, {Sentinel}, {Sentinel}};
    MIXERCONTROLDETAILS_LISTTEXTW t[2] = {{Sentinel, Sentinel, {}}, {Sentinel, Sentinel, {}}};
    bool Untouched() const {
      for (int i = 0; i < 4; ++i)
        if (b[i].fValue != Sentinel || s[i].lValue != Sentinel || u[i].dwValue != DWORD(Sentinel)) return false;
      return t[0].dwParam1 == DWORD(Sentinel) && t[1].dwParam2 == DWORD(Sentinel);
    }
  };
  struct Case {
    const char* Label;
    TMixerCtrl* Control;
    std::function<void(Buffers&)> Call;
  };
  const Case cases[] = {
      {"signed read of a volume", volume, [&](Buffers& x) { speakers->GetSigned(volume, x.s, 4); }},
      {"signed write of a volume", volume, [&](Buffers& x) { speakers->SetSigned(volume, x.s, 4); }},
      {"boolean read of a volume", volume, [&](Buffers& x) { speakers->GetBoolean(volume, x.b, 4); }},
      {"unsigned read of a mute", mute, [&](Buffers& x) { speakers->GetUnsigned(mute, x.u, 4); }},
      {"list texts of a volume", volume, [&](Buffers& x) { speakers->GetListText(volume, x.t, 2); }},
      {"list-text writer on a volume", volume, [&](Buffers& x) { speakers->SetListText(volume, x.t, 2); }},
      {"read of another line's control", waveVolume,
       [&](Buffers& x) { speakers->GetUnsigned(waveVolume, x.u, 4); }},
      {"write of another line's control", waveVolume,
       [&](Buffers& x) { speakers->SetUnsigned(waveVolume, x.u, 4); }},
      {"read into fewer elements than channels", volume, [&](Buffers& x) { speakers->GetUnsigned(volume, x.u, 1); }},
      {"write from fewer elements than channels", volume,
       [&](Buffers& x) { speakers->SetUnsigned(volume, x.u, 1); }},
      {"read into no elements", mute, [&](Buffers& x) { speakers->GetBoolean(mute, x.b, 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Label);
    Buffers buffers;
    try {
      c.Call(buffers);
      ADD_FAILURE() << "no EMixerError";
    } catch (const EMixerError& e) {
      EXPECT_EQ(e.ErrorCode(), MMSYSERR_INVALPARAM);
      EXPECT_EQ(e.Ctrl(), c.Control);
    }
    EXPECT_TRUE(buffers.Untouched());
    EXPECT_EQ(DetailCalls(), 0u);
  }
}

TEST_F(MixerItemTest, ReadClearsTheWholeArray) {
  SimControl onOff = Plain(MIXERCONTROL_CONTROLTYPE_ONOFF, 0, 0, WSTR("Switch"));
  onOff.Values = {1, 1};
  SimDevice device;
  device.Name = WSTR("Card");
  device.Destinations.push_back(
      SimWinmm::Destination(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, WSTR("Speakers"), 2, {onOff}));
  Scan(device);
  MIXERCONTROLDETAILS_BOOLEAN values[4] = {{7}, {7}, {7}, {7}};
  Item(0)->GetBoolean(Ctrl(0), values, 4);
  EXPECT_EQ(values[0].fValue, 1);
  EXPECT_EQ(values[1].fValue, 1);
  EXPECT_EQ(values[2].fValue, 0);
  EXPECT_EQ(values[3].fValue, 0);
}

TEST_F(MixerItemTest, DeviceFailureCarriesItsCode) {
  Scan(SimWinmm::TypicalDevice(WSTR("Card")));
  Sim.Winmm.FailCode = MIXERR_INVALVALUE;
  Sim.Log.FailNamed("mixerGetControlDetailsW");
  Sim.Log.FailNamed("mixerSetControlDetails");
  TMixerCtrl* volume = Ctrl(0);
  MIXERCONTROLDETAILS_UNSIGNED values[3] = {{7}, {7}, {7}};
  try {
    Item(0)->GetUnsigned(volume, values, 3);
    ADD_FAILURE() << "no EMixerError";
  } catch (const EMixerError& e) {
    EXPECT_EQ(e.ErrorCode(), MIXERR_INVALVALUE);
    EXPECT_EQ(e.Ctrl(), volume);
  }
  EXPECT_EQ(values[0].dwValue, 0u) << "a read clears before the call";
  EXPECT_EQ(values[2].dwValue, 0u);
  try {
    Item(0)->SetUnsigned(volume, values, 2);
    ADD_FAILURE() << "no EMixerError";
  } catch (const EMixerError& e) {
    EXPECT_EQ(e.ErrorCode(), MIXERR_INVALVALUE);
  }
}

TEST_F(MixerItemTest, ListTextWriterOnlyClears) {
  SimDevice device;
  std::vector<SimListText> two = {{1, 0, WSTR("A")}, {2, 0, WSTR("B")}};
  device.Name = WSTR("Other");
  device.Destinations.push_back(SimWinmm::Destination(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, WSTR("Recording"), 2,
                                                      {SimWinmm::MuxControl(WSTR("Mux"), two)}));
  Scan(device);
  MIXERCONTROLDETAILS_LISTTEXTW texts[3];
  for (auto& t : texts) {
    t.dwParam1 = 5;
    t.dwParam2 = 6;
    Put(t.szName, WSTR("x"));
  }
  Item(0)->SetListText(Ctrl(0), texts, 3);
  for (const auto& t : texts) {
    EXPECT_EQ(t.dwParam1, 0u);
    EXPECT_EQ(t.dwParam2, 0u);
    EXPECT_EQ(t.szName[0], WCHAR(0));
  }
  EXPECT_EQ(Sim.Log.Calls().size(), 0u);
}

TEST_F(MixerItemTest, MultipleItemsViewsTheFirstMultipleControl) {
  std::vector<SimListText> three = {{1, 0, WSTR("A")}, {2, 0, WSTR("B")}, {3, 0, WSTR("C")}};
  SimControl mixer = Plain(MIXERCONTROL_CONTROLTYPE_MIXER, MIXERCONTROL_CONTROLF_MULTIPLE, 3, WSTR("Mixer"));
  mixer.ListTexts = three;
  SimDevice device;
  device.Name = WSTR("Card");
  device.Destinations.push_back(SimWinmm::Destination(
      MIXERLINE_COMPONENTTYPE_DST_WAVEIN, WSTR("Recording"), 2,
      {SimWinmm::VolumeControl(), mixer, SimWinmm::MuxControl(WSTR("Mux"), three)},
      {SimWinmm::Line(MIXERLINE_COMPONENTTYPE_SRC_LINE, WSTR("Line"), 2, {SimWinmm::VolumeControl()})}));
  Scan(device);
  TMixerMultipleItems* view = Item(0)->MultipleItems();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->Ctrl(), Ctrl(1));
  EXPECT_EQ(view->Count(), 6) << "two channels of three items";
  EXPECT_EQ(Item(0)->MultipleItems(), view) << "built once";
  EXPECT_EQ(Sim.Log.Count("mixerGetControlDetailsW"), 1u);
  EXPECT_EQ(Item(1)->MultipleItems(), nullptr) << "the next line's controls are not this line's";
}

// Driver counts whose byte size does not fit in 32 bits are refused before any
// clearing or device call, and GetDetailsLength never wraps them into small ones.
TEST_F(MixerItemTest, AbsurdCountsAreRefused) {
  SimDevice device;
  device.Name = WSTR("Card");
  device.Destinations.push_back(SimWinmm::Destination(
      MIXERLINE_COMPONENTTYPE_DST_WAVEIN, WSTR("Recording"), 2,
      {Plain(MIXERCONTROL_CONTROLTYPE_MIXER, 0, 0, WSTR("Huge")), SimWinmm::VolumeControl(WSTR("HugeVolume")),
       Plain(MIXERCONTROL_CONTROLTYPE_MIXER, 0, 0, WSTR("Wraps")),
       Plain(MIXERCONTROL_CONTROLTYPE_MIXER, 0, 0, WSTR("Edge"))}));
  Scan(device, {{WSTR("Huge"), 0x40000000u},
                {WSTR("HugeVolume"), 0x40000000u},
                {WSTR("Wraps"), 0x80000000u},
                {WSTR("Edge"), 0x7FFFFFFFu}});
  TMixerItem* line = Item(0);
  TMixerCtrl* huge = Ctrl(0);
  TMixerCtrl* hugeVolume = Ctrl(1);
  EXPECT_EQ(line->GetDetailsLength(huge), 0x80000000u);
  EXPECT_EQ(line->GetDetailsLength(Ctrl(2)), 0xFFFFFFFFu) << "2 x 2^31 saturates instead of wrapping to 0";
  EXPECT_EQ(line->GetDetailsLength(Ctrl(3)), 0xFFFFFFFEu);
  EXPECT_FALSE(TMixerItem::DetailsFit(0x40000000u, 4));
  EXPECT_TRUE(TMixerItem::DetailsFit(0x3FFFFFFFu, 4));

  // The arrays are small; the counts claimed for them are what the checks see.
  MIXERCONTROLDETAILS_BOOLEAN b[2] = {{7}, {7}};
  MIXERCONTROLDETAILS_UNSIGNED u[2] = {{7}, {7}};
  MIXERCONTROLDETAILS_LISTTEXTW t[2] = {{7, 7, {}}, {7, 7, {}}};
  const std::function<void()> calls[] = {
      [&] { line->GetBoolean(huge, b, 0xFFFFFFFFu); },
      [&] { line->SetBoolean(huge, b, 0xFFFFFFFFu); },
      [&] { line->GetListText(huge, t, 0xFFFFFFFFu); },
      [&] { line->GetUnsigned(hugeVolume, u, 0xFFFFFFFFu); },
      [&] { line->GetRawVolume(); },
      [&] { line->SetVolume(50); },
  };
  for (const auto& call : calls) {
    try {
      call();
      ADD_FAILURE() << "no EMixerError";
    } catch (const EMixerError& e) {
      EXPECT_EQ(e.ErrorCode(), MMSYSERR_INVALPARAM);
    }
  }
  EXPECT_EQ(b[1].fValue, 7);
  EXPECT_EQ(u[1].dwValue, 7u);
  EXPECT_EQ(t[1].dwParam1, 7u);
  // The list-item view sizes its array from GetDetailsLength and must refuse too.
  TMixerMultipleItems* view = line->MultipleItems();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->Count(), 0);
  EXPECT_EQ(DetailCalls(), 0u);
}

}  // namespace
