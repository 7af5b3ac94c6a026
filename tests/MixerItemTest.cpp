// Lines: construction, the walk over a line's run of controls, detail counts
// and the typed detail accessors, over a scanned simulated device.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "mixers/Mixers.h"
#include "sim/MixerBuilders.h"
#include "sim/SimSystem.h"

namespace {

SimControl Plain(DWORD Type, DWORD Flags, DWORD Items, const String& Name) {
  SimControl c;
  c.ControlType = Type;
  c.Flags = Flags;
  c.MultipleItems = Items;
  c.Name = Name;
  return c;
}

// Lets a control look different to the library than to the driver: controls
// named in HugeItems become multiple-item controls with that item count.
class TweakMixer : public TMixer {
 public:
  using TMixer::TMixer;
  std::map<String, DWORD> HugeItems;

 protected:
  std::unique_ptr<TMixerCtrl> CreateCtrl(TMixerItem* Item, const MIXERCONTROLW& Control,
                                         TMixerOptions Options) override {
    MIXERCONTROLW copy = Control;
    String name;
    NameFieldToText(copy.szName, name);
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
    Mixer = std::make_unique<TweakMixer>(Sim.MixerPlatform());
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
};

TEST(MixerItemCreate, SnapshotOfTheLine) {
  MIXERLINEW line{};
  line.dwLineID = 0xFFFF0000u;
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
  line.cChannels = 0x102;
  line.Target.dwType = 0x1234;
  PutName(line.szName, WSTR("Speakers Long"));
  PutName(line.szShortName, WSTR("Spk"));
  PutName(line.Target.szPname, WSTR("Card"));
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
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Label);
    TMixerItem item(nullptr, line, nullptr, 3, c.Options);
    EXPECT_EQ(item.Name(), c.Name);
    EXPECT_EQ(item.ShortName(), c.ShortName);
    EXPECT_EQ(item.TargetName(), c.TargetName);
  }

  TMixerItem dest(nullptr, line, nullptr, 3, {});
  line.dwComponentType = MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
  TMixerItem source(nullptr, line, &dest, 3, {});
  EXPECT_EQ(dest.Channel(), 2) << "only the low 8 bits of cChannels count";
  EXPECT_EQ(dest.TargetType(), 0x1234u);
  EXPECT_EQ(source.LineType(), ltWaveOut);
  EXPECT_EQ(source.GetDestType(), dtSpeakers);
  EXPECT_FALSE(source.IsDestination());
  EXPECT_EQ(dest.RawBalance(), 1.0f);
  // Without controls every lookup answers without reaching for a device.
  EXPECT_EQ(dest.Count(), 0);
  EXPECT_EQ(dest.CtrlOfType(TMixerControlTypes::Range(ctCustom, ctUnknown), 0), nullptr);
  EXPECT_EQ(dest.MultipleItems(), nullptr);
}

TEST_F(MixerItemTest, RunWalkStaysWithinTheLine) {
  // Speakers: Volume A, Mute M, Volume B; then Wave: Volume C, Mute.
  Scan(OneDestination(
      2, {SimWinmm::VolumeControl(WSTR("A")), SimWinmm::MuteControl(WSTR("M")), SimWinmm::VolumeControl(WSTR("B"))},
      {Source(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, WSTR("Wave"),
              {SimWinmm::VolumeControl(WSTR("C")), SimWinmm::MuteControl()})}));
  TMixerItem* recording = Item(0);
  TMixerItem* wave = Item(1);
  TMixerCtrl *a = Ctrl(0), *m = Ctrl(1), *b = Ctrl(2), *c = Ctrl(3);
  EXPECT_EQ(recording->Count(), 3);
  EXPECT_EQ(wave->Count(), 2);
  struct Case {
    const char* Label;
    TMixerItem* Line;
    TMixerControlTypes Types;
    int Start;
    TMixerCtrl* Expected;
  };
  const Case cases[] = {
      {"first volume", recording, {ctVolume}, 0, a},
      {"either type from 1", recording, {ctVolume, ctMute}, 1, m},
      {"volume from 1 skips the mute", recording, {ctVolume}, 1, b},
      {"start on the next line's control", recording, {ctVolume}, 3, nullptr},
      {"start beyond the list", recording, {ctVolume}, 10, nullptr},
      {"source line's own run", wave, {ctVolume}, 0, c},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.Label);
    EXPECT_EQ(k.Line->CtrlOfType(k.Types, k.Start), k.Expected);
  }
  EXPECT_EQ(recording->CtrlOfTypeNext(a), b);
  EXPECT_EQ(recording->CtrlOfTypeNext(b), nullptr) << "the next line's volume is not this line's";
  EXPECT_EQ(recording->CtrlOfTypeNext(nullptr), nullptr);
  EXPECT_EQ(recording->CtrlOfTypeNext(c), nullptr);
  EXPECT_EQ(recording->IndexOf(b), 2);
  EXPECT_EQ(recording->IndexOf(c), -1);
  EXPECT_EQ(wave->IndexOf(c), 0);
}

TEST_F(MixerItemTest, DetailCountsAndRequests) {
  std::vector<SimListText> five;
  for (DWORD i = 1; i <= 5; ++i) five.push_back({i, 0, WSTR("Item")});
  SimControl mixer10 = Plain(MIXERCONTROL_CONTROLTYPE_MIXER, MIXERCONTROL_CONTROLF_MULTIPLE, 5, WSTR("Mixer"));
  mixer10.ListTexts = five;
  Scan(OneDestination(
      2, {SimWinmm::VolumeControl(), SimWinmm::MuteControl(), mixer10, SimWinmm::MuxControl(WSTR("Mux"), five)}));
  TMixerItem* line = Item(0);
  TMixerCtrl *volume = Ctrl(0), *mute = Ctrl(1), *mixer = Ctrl(2), *mux = Ctrl(3);
  EXPECT_EQ(line->GetDetailsLength(volume), 2u);
  EXPECT_EQ(line->GetDetailsLength(mute), 1u) << "uniform";
  EXPECT_EQ(line->GetDetailsLength(mixer), 10u) << "two channels of five items";
  EXPECT_EQ(line->GetDetailsLength(mux), 5u) << "uniform, five items";

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
      {"volume read", [&] { line->GetUnsigned(volume, u, 2); },
       CallText("mixerGetControlDetailsW", Handle(), volume->ControlID(), 2, 0, 4, Hex(0x80000000u))},
      {"volume write", [&] { line->SetUnsigned(volume, w, 2); },
       CallText("mixerSetControlDetails", Handle(), volume->ControlID(), 2, 0, 4, Hex(0x80000000u), 7, 9)},
      {"mute read", [&] { line->GetBoolean(mute, b, 1); },
       CallText("mixerGetControlDetailsW", Handle(), mute->ControlID(), 1, 0, 4, Hex(0x80000000u))},
      {"uniform multiple-item read", [&] { line->GetBoolean(mux, b, 5); },
       CallText("mixerGetControlDetailsW", Handle(), mux->ControlID(), 1, 5, 4, Hex(0x80000000u))},
      {"list texts", [&] { line->GetListText(mixer, t, 10); },
       CallText("mixerGetControlDetailsW", Handle(), mixer->ControlID(), 2, 5, textSize, Hex(0x80000001u))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Label);
    Sim.Log.Clear();
    ASSERT_NO_THROW(c.Call());
    EXPECT_EQ(Sim.Log.Calls(), std::vector<std::string>{c.Record});
  }
  EXPECT_EQ(t[9].dwParam1, 5u) << "the second channel's entries follow the first's";
}

TEST_F(MixerItemTest, ChecksRefuseBeforeTheDevice) {
  Scan(SimWinmm::TypicalDevice(WSTR("Card")));
  TMixerItem* speakers = Item(0);
  TMixerCtrl *volume = Ctrl(0), *mute = Ctrl(1), *waveVolume = Ctrl(2);
  constexpr DWORD Sentinel = 0x5A5A5A5A;
  MIXERCONTROLDETAILS_UNSIGNED u[2];
  MIXERCONTROLDETAILS_BOOLEAN b[2];
  MIXERCONTROLDETAILS_SIGNED s[2];
  MIXERCONTROLDETAILS_LISTTEXTW t[2];
  struct Case {
    const char* Label;
    TMixerCtrl* Control;
    std::function<void()> Call;
  };
  const Case cases[] = {
      {"signed read of a volume", volume, [&] { speakers->GetSigned(volume, s, 2); }},
      {"boolean write of a volume", volume, [&] { speakers->SetBoolean(volume, b, 2); }},
      {"unsigned read of a mute", mute, [&] { speakers->GetUnsigned(mute, u, 2); }},
      {"list texts of a volume", volume, [&] { speakers->GetListText(volume, t, 2); }},
      {"list-text writer on a volume", volume, [&] { speakers->SetListText(volume, t, 2); }},
      {"read of another line's control", waveVolume, [&] { speakers->GetUnsigned(waveVolume, u, 2); }},
      {"write of another line's control", waveVolume, [&] { speakers->SetUnsigned(waveVolume, u, 2); }},
      {"read into fewer elements than channels", volume, [&] { speakers->GetUnsigned(volume, u, 1); }},
      {"write from fewer elements than channels", volume, [&] { speakers->SetUnsigned(volume, u, 1); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Label);
    for (int i = 0; i < 2; ++i) {
      u[i].dwValue = t[i].dwParam1 = Sentinel;
      b[i].fValue = s[i].lValue = LONG(Sentinel);
    }
    TMixerCtrl* raisedFor = nullptr;
    EXPECT_EQ(RaisedCode(c.Call, &raisedFor), MMSYSERR_INVALPARAM);
    EXPECT_EQ(raisedFor, c.Control);
    for (int i = 0; i < 2; ++i) {
      EXPECT_TRUE(u[i].dwValue == Sentinel && t[i].dwParam1 == Sentinel && b[i].fValue == LONG(Sentinel) &&
                  s[i].lValue == LONG(Sentinel));
    }
    EXPECT_EQ(DetailCalls(), 0u);
  }
}

TEST_F(MixerItemTest, ReadClearsEveryElementEvenWhenTheDeviceFails) {
  Scan(SimWinmm::TypicalDevice(WSTR("Card")));
  TMixerCtrl* volume = Ctrl(0);
  MIXERCONTROLDETAILS_UNSIGNED values[3] = {{7}, {7}, {7}};
  Item(0)->GetUnsigned(volume, values, 3);
  EXPECT_EQ(values[0].dwValue, 65535u);
  EXPECT_EQ(values[2].dwValue, 0u) << "beyond the two channels";

  Sim.Winmm.FailCode = MIXERR_INVALVALUE;
  Sim.Log.FailNamed("mixerGetControlDetailsW");
  values[0].dwValue = 7;
  TMixerCtrl* raisedFor = nullptr;
  EXPECT_EQ(RaisedCode([&] { Item(0)->GetUnsigned(volume, values, 3); }, &raisedFor), MIXERR_INVALVALUE);
  EXPECT_EQ(raisedFor, volume);
  EXPECT_EQ(values[0].dwValue, 0u);
}

TEST_F(MixerItemTest, ListTextWriterOnlyClears) {
  Scan(OneDestination(2, {SimWinmm::MuxControl(WSTR("Mux"), {{1, 0, WSTR("A")}, {2, 0, WSTR("B")}})}));
  MIXERCONTROLDETAILS_LISTTEXTW texts[3];
  for (auto& t : texts) {
    t.dwParam1 = t.dwParam2 = 5;
    PutName(t.szName, WSTR("x"));
  }
  Item(0)->SetListText(Ctrl(0), texts, 3);
  for (const auto& t : texts) EXPECT_TRUE(t.dwParam1 == 0 && t.dwParam2 == 0 && t.szName[0] == 0);
  EXPECT_EQ(Sim.Log.Calls().size(), 0u);
}

TEST_F(MixerItemTest, MultipleItemsViewsTheFirstMultipleControl) {
  const std::vector<SimListText> three = {{1, 0, WSTR("A")}, {2, 0, WSTR("B")}, {3, 0, WSTR("C")}};
  SimControl mixer = Plain(MIXERCONTROL_CONTROLTYPE_MIXER, MIXERCONTROL_CONTROLF_MULTIPLE, 3, WSTR("Mixer"));
  mixer.ListTexts = three;
  Scan(OneDestination(2, {SimWinmm::VolumeControl(), mixer, SimWinmm::MuxControl(WSTR("Mux"), three)},
                      {Source(MIXERLINE_COMPONENTTYPE_SRC_LINE, WSTR("Line"), {SimWinmm::VolumeControl()})}));
  TMixerMultipleItems* view = Item(0)->MultipleItems();
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->Ctrl(), Ctrl(1));
  EXPECT_EQ(view->Count(), 6) << "two channels of three items";
  EXPECT_EQ(Item(0)->MultipleItems(), view) << "built once";
  EXPECT_EQ(Item(1)->MultipleItems(), nullptr) << "the next line's controls are not this line's";
  EXPECT_EQ(Sim.Log.Count("mixerGetControlDetailsW"), 1u);
}

// Driver counts whose byte size does not fit in 32 bits are refused before any
// clearing or device call, and GetDetailsLength never wraps them into small
// ones. A multiple-item control without items has a length of 0 and is never
// asked for: the system would move one element per channel, whatever the array.
TEST_F(MixerItemTest, AbsurdCountsAreRefused) {
  Scan(OneDestination(
           2, {Plain(MIXERCONTROL_CONTROLTYPE_MIXER, 0, 0, WSTR("Huge")), SimWinmm::VolumeControl(WSTR("HugeVolume")),
               Plain(MIXERCONTROL_CONTROLTYPE_MIXER, 0, 0, WSTR("Wraps")),
               Plain(MIXERCONTROL_CONTROLTYPE_ONOFF, MIXERCONTROL_CONTROLF_UNIFORM, 0, WSTR("NoItems"))}),
       {{WSTR("Huge"), 0x40000000u},
        {WSTR("HugeVolume"), 0x40000000u},
        {WSTR("Wraps"), 0x80000000u},
        {WSTR("NoItems"), 0u}});
  TMixerItem* line = Item(0);
  TMixerCtrl *huge = Ctrl(0), *hugeVolume = Ctrl(1), *noItems = Ctrl(3);
  EXPECT_EQ(line->GetDetailsLength(noItems), 0u);
  EXPECT_EQ(line->GetDetailsLength(huge), 0x80000000u);
  EXPECT_EQ(line->GetDetailsLength(Ctrl(2)), 0xFFFFFFFFu) << "2 x 2^31 saturates instead of wrapping to 0";

  // The arrays are small; the counts claimed for them are what the checks see.
  MIXERCONTROLDETAILS_BOOLEAN b[1] = {{7}};
  MIXERCONTROLDETAILS_UNSIGNED u[1] = {{7}};
  MIXERCONTROLDETAILS_LISTTEXTW t[1] = {{7, 7, {}}};
  const std::function<void()> calls[] = {
      [&] { line->GetBoolean(huge, b, 0xFFFFFFFFu); },
      [&] { line->SetBoolean(huge, b, 0xFFFFFFFFu); },
      [&] { line->GetListText(huge, t, 0xFFFFFFFFu); },
      [&] { line->GetUnsigned(hugeVolume, u, 0xFFFFFFFFu); },
      [&] { line->SetVolume(50); },
      [&] { line->GetBoolean(noItems, b, 0); },
      [&] { line->SetBoolean(noItems, b, 0); },
      [&] { line->GetBoolean(noItems, b, 1); },
      [&] { line->SetBoolean(noItems, b, 1); },
  };
  for (const auto& call : calls) EXPECT_EQ(RaisedCode(call), MMSYSERR_INVALPARAM);
  EXPECT_TRUE(b[0].fValue == 7 && u[0].dwValue == 7 && t[0].dwParam1 == 7);
  // The list-item view sizes its array from GetDetailsLength and must refuse too.
  ASSERT_NE(line->MultipleItems(), nullptr);
  EXPECT_EQ(line->MultipleItems()->Count(), 0);
  EXPECT_EQ(DetailCalls(), 0u);
}

}  // namespace
