#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

#include "mixers/Mixer.h"
#include "mixers/MixerCtrl.h"
#include "mixers/MixerItem.h"
#include "sim/MixerBuilders.h"
#include "sim/SimSystem.h"

namespace {

MIXERLINEW LineWithId(DWORD LineID) {
  MIXERLINEW l;
  std::memset(&l, 0, sizeof l);
  l.cbStruct = sizeof l;
  l.dwLineID = LineID;
  l.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
  l.cChannels = 2;
  return l;
}

MIXERCONTROLW ControlOfType(DWORD ControlType) {
  MIXERCONTROLW c;
  std::memset(&c, 0, sizeof c);
  c.cbStruct = sizeof c;
  c.dwControlID = 7;
  c.dwControlType = ControlType;
  c.fdwControl = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE;
  c.cMultipleItems = 3;
  return c;
}

MIXERCONTROLDETAILS_LISTTEXTW Entry(DWORD Param1, DWORD Param2, const String& Name) {
  MIXERCONTROLDETAILS_LISTTEXTW e;
  std::memset(&e, 0, sizeof e);
  e.dwParam1 = Param1;
  e.dwParam2 = Param2;
  PutName(e.szName, Name);
  return e;
}

// A line whose device is replaced by fields: the entry count, the list texts
// and the boolean values, with every read and write recorded.
class FakeLine : public TMixerItem {
 public:
  explicit FakeLine(DWORD LineID = 0xFFFF0000u) : TMixerItem(nullptr, LineWithId(LineID), nullptr, 0, {}) {}

  std::uint32_t Length = 0;
  std::vector<MIXERCONTROLDETAILS_LISTTEXTW> Texts;
  std::vector<LONG> Values;
  bool FailListText = false;

  int ListTextReads = 0;
  int BooleanReads = 0;
  std::vector<std::vector<LONG>> Writes;

  std::uint32_t GetDetailsLength(const TMixerCtrl*) override { return Length; }
  void GetListText(TMixerCtrl* Control, MIXERCONTROLDETAILS_LISTTEXTW* Out, std::uint32_t Count) override {
    ++ListTextReads;
    EXPECT_EQ(Count, Length);
    if (FailListText) MixerCheck(MMSYSERR_INVALHANDLE, true, Control);
    for (std::uint32_t i = 0; i < Count && i < Texts.size(); ++i) Out[i] = Texts[i];
  }
  void GetBoolean(TMixerCtrl*, MIXERCONTROLDETAILS_BOOLEAN* Out, std::uint32_t Count) override {
    ++BooleanReads;
    EXPECT_EQ(Count, Length);
    for (std::uint32_t i = 0; i < Count && i < Values.size(); ++i) Out[i].fValue = Values[i];
  }
  void SetBoolean(TMixerCtrl*, const MIXERCONTROLDETAILS_BOOLEAN* In, std::uint32_t Count) override {
    std::vector<LONG> written;
    for (std::uint32_t i = 0; i < Count; ++i) written.push_back(In[i].fValue);
    Writes.push_back(written);
    Values = written;
  }
};

// Three items standing for lines 0x10, 0x20 and 0x30.
void FillThree(FakeLine& line) {
  line.Length = 3;
  line.Texts = {Entry(0x10, 100, WSTR("Microphone")), Entry(0x20, 200, WSTR("Line In")),
                Entry(0x30, 100, WSTR("CD Audio"))};
  line.Values = {0, 1, 0};
}

std::vector<LONG> OneSelected(std::size_t Count, std::size_t Index) {
  std::vector<LONG> v(Count, 0);
  v[Index] = 1;
  return v;
}

}  // namespace

TEST(MixerMultipleItems, LoadsTheListInTheDriversOrder) {
  FakeLine line;
  FillThree(line);
  line.Texts[2] = Entry(0x30, 100, String(63, WSTR('c')) + WCHAR(0xD83D));  // pair cut by the field's end
  TMixerCtrl mux(ControlOfType(MIXERCONTROL_CONTROLTYPE_MUX), {});
  TMixerMultipleItems items(&line);
  EXPECT_EQ(items.Count(), 0);

  items.SetCtrl(&mux);
  EXPECT_EQ(items.Ctrl(), &mux);
  ASSERT_EQ(items.Count(), 3);
  EXPECT_EQ(items.Data(0).Name, WSTR("Microphone"));
  EXPECT_EQ(items.Data(1).Name, WSTR("Line In"));
  EXPECT_EQ(items.Data(2).Name, String(63, WSTR('c')));
  EXPECT_EQ(items.Data(1).Param1, 0x20u);
  EXPECT_EQ(items.Data(1).Param2, 200u);
  EXPECT_EQ(line.ListTextReads, 1);

  // Lookups answer the first match, and -1 when nothing matches.
  EXPECT_EQ(items.IndexOfParam1(0x30), 2);
  EXPECT_EQ(items.IndexOfParam1(0x40), -1);
  EXPECT_EQ(items.IndexOfParam2(100), 0);
  EXPECT_EQ(items.IndexOfParam2(300), -1);

  items.SetCtrl(nullptr);
  EXPECT_EQ(items.Count(), 0);
  EXPECT_EQ(items.GetSelectedIndex(), -1);
  EXPECT_EQ(items.GetSelectedItem(), nullptr);
  EXPECT_EQ(line.BooleanReads, 0);
}

TEST(MixerMultipleItems, ListIsEmptyWhenLoadingCannotOrMustNotHappen) {
  struct Case {
    const char* What;
    std::uint32_t Length;
    bool FailListText;
    int ExpectedListTextReads;
    bool ExpectRaise;
  };
  const Case cases[] = {
      {/*What=*/"no entries", /*Length=*/0, /*FailListText=*/false, /*ExpectedListTextReads=*/0,
       /*ExpectRaise=*/false},
      {/*What=*/"device fails", /*Length=*/3, /*FailListText=*/true, /*ExpectedListTextReads=*/1,
       /*ExpectRaise=*/true},
      // 31580642 entries of 136 bytes need more than 32 bits; wrapped, they would size a short buffer.
      {/*What=*/"byte size beyond 32 bits", /*Length=*/0xFFFFFFFFu / 136 + 1, /*FailListText=*/false,
       /*ExpectedListTextReads=*/0, /*ExpectRaise=*/false},
      {/*What=*/"largest count", /*Length=*/0xFFFFFFFFu, /*FailListText=*/false, /*ExpectedListTextReads=*/0,
       /*ExpectRaise=*/false},
  };
  for (const Case& c : cases) {
    FakeLine line;
    FillThree(line);
    TMixerCtrl mux(ControlOfType(MIXERCONTROL_CONTROLTYPE_MUX), {});
    TMixerMultipleItems items(&line);
    items.SetCtrl(&mux);
    ASSERT_EQ(items.Count(), 3) << c.What;
    line.ListTextReads = 0;

    line.Length = c.Length;
    line.FailListText = c.FailListText;
    if (c.ExpectRaise) {
      EXPECT_THROW(items.SetCtrl(&mux), EMixerError) << c.What;
    } else {
      EXPECT_NO_THROW(items.SetCtrl(&mux)) << c.What;
    }
    EXPECT_EQ(items.Count(), 0) << c.What;
    EXPECT_EQ(line.ListTextReads, c.ExpectedListTextReads) << c.What;
  }
}

TEST(MixerMultipleItems, SelectionOfSingleSelectionControls) {
  struct Case {
    const char* What;
    DWORD ControlType;
    std::uint32_t Length;
    std::vector<LONG> Values;
    int Assign;
    int ExpectedBefore;                     // SelectedIndex before the assignment
    std::vector<std::vector<LONG>> Writes;  // what the assignment wrote
  };
  const DWORD mux = MIXERCONTROL_CONTROLTYPE_MUX;
  const Case cases[] = {
      {/*What=*/"select another", /*ControlType=*/mux, /*Length=*/3, /*Values=*/{0, 1, 0}, /*Assign=*/2,
       /*ExpectedBefore=*/1, /*Writes=*/{{0, 0, 1}}},
      {/*What=*/"already selected", /*ControlType=*/mux, /*Length=*/3, /*Values=*/{0, 1, 0}, /*Assign=*/1,
       /*ExpectedBefore=*/1, /*Writes=*/{}},
      {/*What=*/"first nonzero wins, the rest are cleared", /*ControlType=*/mux, /*Length=*/3,
       /*Values=*/{0, 1, 1}, /*Assign=*/0, /*ExpectedBefore=*/1, /*Writes=*/{{1, 0, 0}}},
      {/*What=*/"none selected", /*ControlType=*/mux, /*Length=*/3, /*Values=*/{0, 0, 0}, /*Assign=*/0,
       /*ExpectedBefore=*/-1, /*Writes=*/{{1, 0, 0}}},
      {/*What=*/"negative index", /*ControlType=*/mux, /*Length=*/3, /*Values=*/{1, 0, 0}, /*Assign=*/-1,
       /*ExpectedBefore=*/0, /*Writes=*/{}},
      {/*What=*/"index equal to the count", /*ControlType=*/mux, /*Length=*/3, /*Values=*/{1, 0, 0}, /*Assign=*/3,
       /*ExpectedBefore=*/0, /*Writes=*/{}},
      {/*What=*/"single select", /*ControlType=*/MIXERCONTROL_CONTROLTYPE_SINGLESELECT, /*Length=*/2,
       /*Values=*/{1, 0}, /*Assign=*/1, /*ExpectedBefore=*/0, /*Writes=*/{{0, 1}}},
      {/*What=*/"index 300 of 400", /*ControlType=*/mux, /*Length=*/400, /*Values=*/OneSelected(400, 5),
       /*Assign=*/300, /*ExpectedBefore=*/5, /*Writes=*/{OneSelected(400, 300)}},
  };
  for (const Case& c : cases) {
    FakeLine line;
    line.Length = c.Length;
    line.Values = c.Values;
    TMixerCtrl ctrl(ControlOfType(c.ControlType), {});
    TMixerMultipleItems items(&line);
    items.SetCtrl(&ctrl);

    EXPECT_EQ(items.GetSelectedIndex(), c.ExpectedBefore) << c.What;
    EXPECT_EQ(line.BooleanReads, 1) << c.What;
    items.SetSelectedIndex(c.Assign);
    EXPECT_EQ(line.BooleanReads, 2) << c.What << ": the setter reads the device first";
    EXPECT_EQ(line.Writes, c.Writes) << c.What;
    if (!c.Writes.empty()) {
      EXPECT_EQ(items.GetSelectedIndex(), c.Assign) << c.What;
    }
  }
}

TEST(MixerMultipleItems, SelectionWithoutSelectorOrEntriesNeverTouchesTheDevice) {
  const DWORD types[] = {MIXERCONTROL_CONTROLTYPE_MIXER, MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT,
                         MIXERCONTROL_CONTROLTYPE_EQUALIZER, MIXERCONTROL_CONTROLTYPE_MUX};
  for (DWORD type : types) {
    FakeLine line;
    FillThree(line);
    if (type == MIXERCONTROL_CONTROLTYPE_MUX) line.Length = 0;  // a selector without entries
    TMixerCtrl ctrl(ControlOfType(type), {});
    TMixerMultipleItems items(&line);
    items.SetCtrl(&ctrl);
    EXPECT_EQ(items.GetSelectedIndex(), -1) << std::hex << type;
    items.SetSelectedIndex(0);
    FakeLine other(0x30);
    items.SetSelectedItem(&other);
    EXPECT_EQ(line.BooleanReads, 0) << std::hex << type;
    EXPECT_TRUE(line.Writes.empty()) << std::hex << type;
  }
}

TEST(MixerMultipleItems, SelectionRefusesAnAbsurdCount) {
  FakeLine line;
  FillThree(line);
  TMixerCtrl mux(ControlOfType(MIXERCONTROL_CONTROLTYPE_MUX), {});
  TMixerMultipleItems items(&line);
  items.SetCtrl(&mux);
  line.Length = 0xFFFFFFFFu;
  const std::function<void()> calls[] = {[&] { items.GetSelectedIndex(); }, [&] { items.SetSelectedIndex(1); }};
  for (const auto& call : calls) {
    TMixerCtrl* raisedFor = nullptr;
    EXPECT_EQ(RaisedCode(call, &raisedFor), MMSYSERR_INVALPARAM);
    EXPECT_EQ(raisedFor, &mux);
  }
  EXPECT_EQ(line.BooleanReads, 0);
  EXPECT_TRUE(line.Writes.empty());
}

TEST(MixerMultipleItems, SelectedItemIgnoresLinesThatAreNoItem) {
  FakeLine line;
  FillThree(line);
  TMixerCtrl mux(ControlOfType(MIXERCONTROL_CONTROLTYPE_MUX), {});
  TMixerMultipleItems items(&line);
  items.SetCtrl(&mux);
  FakeLine stranger(0x99);
  items.SetSelectedItem(&stranger);
  items.SetSelectedItem(nullptr);
  EXPECT_TRUE(line.Writes.empty());
  EXPECT_EQ(line.ListTextReads, 1);
}

TEST(MixerMultipleItems, SelectedItemReloadsAStaleList) {
  FakeLine line;
  FillThree(line);
  TMixerCtrl mux(ControlOfType(MIXERCONTROL_CONTROLTYPE_MUX), {});
  TMixerMultipleItems items(&line);
  items.SetCtrl(&mux);

  // The device now lists a fourth item, and it is the selected one.
  line.Length = 4;
  line.Texts.push_back(Entry(0x40, 400, WSTR("Aux")));
  line.Values = {0, 0, 0, 1};
  FakeLine target(0x10);
  items.SetSelectedItem(&target);
  EXPECT_EQ(line.ListTextReads, 2);
  EXPECT_EQ(items.Count(), 4);
  EXPECT_EQ(line.Writes, (std::vector<std::vector<LONG>>{{1, 0, 0, 0}}));
}

namespace {

// A recording destination whose multiplexer lists the microphone, the line
// input and a line the driver does not report, with the first one selected;
// a second, per-channel multiple-item control sits on the line input.
class ScannedMux : public ::testing::Test {
 protected:
  static constexpr DWORD MicId = 0x00000000;     // source 0 of destination 0
  static constexpr DWORD LineInId = 0x00010000;  // source 1 of destination 0

  void SetUp() override {
    SimDevice device;
    device.Name = WSTR("Sim Audio");
    SimControl perChannel = SimWinmm::MuxControl(WSTR("Per Channel"), {{0, 0, WSTR("A")}, {0, 0, WSTR("B")}});
    perChannel.ControlType = MIXERCONTROL_CONTROLTYPE_MIXER;
    perChannel.Flags = MIXERCONTROL_CONTROLF_MULTIPLE;
    perChannel.Values.clear();
    perChannel.ListTexts = {{1, 10, WSTR("L-A")}, {2, 20, WSTR("L-B")}, {3, 30, WSTR("R-A")}, {4, 40, WSTR("R-B")}};
    device.Destinations.push_back(
        Dest(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, WSTR("Recording"),
             {SimWinmm::MuxControl(
                 WSTR("Recording Source"),
                 {{MicId, 0, WSTR("Microphone")}, {LineInId, 0, WSTR("Line In")}, {0x7777, 0, WSTR("Aux")}})},
             {Source(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, WSTR("Mic"), {SimWinmm::VolumeControl()}, 1),
              Source(MIXERLINE_COMPONENTTYPE_SRC_LINE, WSTR("Line In"), {perChannel})}));
    Sys.Winmm.AddDevice(device);

    auto target = std::make_unique<TMixerTarget>();
    target->SetLineType(MixerSourceLineTypes + MixerDestLineTypes);
    target->SetControlType({ctVolume, ctMux, ctMixer});
    Mixer.SetTarget(std::move(target));
    Mixer.Scan();
    ASSERT_EQ(Mixer.GetCount(), 1);
    Dev = Mixer.GetDevice(0);
    Recording = Dev->ItemOfType(dtWaveIn, 0);
    Mic = Dev->ItemOfLineID(MicId);
    LineIn = Dev->ItemOfLineID(LineInId);
    ASSERT_NE(Recording, nullptr);
    ASSERT_NE(Mic, nullptr);
    ASSERT_NE(LineIn, nullptr);
    Items = Recording->MultipleItems();
    ASSERT_NE(Items, nullptr);
    ASSERT_EQ(Items->Count(), 3);
  }

  SimSystem Sys;
  TMixer Mixer{Sys.MixerPlatform()};
  TMixerDev* Dev = nullptr;
  TMixerItem* Recording = nullptr;
  TMixerItem* Mic = nullptr;
  TMixerItem* LineIn = nullptr;
  TMixerMultipleItems* Items = nullptr;
};

}  // namespace

TEST_F(ScannedMux, IndexOfNameComparesWholeNamesIgnoringCase) {
  struct Case {
    String Name;
    int Expected;
  };
  const Case cases[] = {
      {/*Name=*/WSTR("Line In"), /*Expected=*/1},
      {/*Name=*/WSTR("LINE in"), /*Expected=*/1},
      {/*Name=*/WSTR("aux"), /*Expected=*/2},
      {/*Name=*/WSTR("Line"), /*Expected=*/-1},
  };
  for (const Case& c : cases) EXPECT_EQ(Items->IndexOfName(c.Name), c.Expected) << Narrow(c.Name);

  Sys.Log.Clear();
  Items->IndexOfName(WSTR("line in"));
  EXPECT_EQ(Sys.Log.Named("CompareStringW"),
            (std::vector<std::string>{"CompareStringW(0x400,0x1,\"Microphone\",10,\"line in\",7)",
                                      "CompareStringW(0x400,0x1,\"Line In\",7,\"line in\",7)"}));
}

TEST_F(ScannedMux, ItemsMapToTheDevicesLines) {
  EXPECT_EQ(Items->MixerItemOfIndex(0), Mic);
  EXPECT_EQ(Items->MixerItemOfIndex(1), LineIn);
  EXPECT_EQ(Items->MixerItemOfIndex(2), nullptr);  // the driver reports no such line
  EXPECT_EQ(Items->MixerItemOfIndex(3), nullptr);
  EXPECT_EQ(Items->MixerItemOfIndex(-1), nullptr);
  EXPECT_EQ(Items->GetSelectedItem(), Mic);
}

TEST_F(ScannedMux, SelectingALineWritesTheDevice) {
  Items->SetSelectedItem(LineIn);
  EXPECT_EQ(Items->GetSelectedIndex(), 1);
  EXPECT_EQ(Items->GetSelectedItem(), LineIn);
  const SimControl* mux = Sys.Winmm.Control(0, Items->Ctrl()->ControlID());
  ASSERT_NE(mux, nullptr);
  EXPECT_EQ(mux->Values, (std::vector<DWORD>{0, 1, 0}));

  Sys.Log.Clear();
  Items->SetSelectedItem(LineIn);
  EXPECT_EQ(Sys.Log.Count("mixerGetControlDetailsW"), 1u);
  EXPECT_EQ(Sys.Log.Count("mixerSetControlDetails"), 0u);
}

TEST_F(ScannedMux, PerChannelListHoldsEveryChannelsItems) {
  TMixerMultipleItems* perChannel = LineIn->MultipleItems();
  ASSERT_NE(perChannel, nullptr);
  ASSERT_EQ(perChannel->Count(), 4);
  const String names[] = {WSTR("L-A"), WSTR("L-B"), WSTR("R-A"), WSTR("R-B")};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(perChannel->Data(i).Name, names[i]);
    EXPECT_EQ(perChannel->Data(i).Param1, static_cast<std::uint32_t>(i + 1));
    EXPECT_EQ(perChannel->Data(i).Param2, static_cast<std::uint32_t>(10 * (i + 1)));
  }
  EXPECT_EQ(perChannel->GetSelectedIndex(), -1);  // a mixer control selects many, not one
}
