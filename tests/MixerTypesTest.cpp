#include "mixers/MixerTypes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "mixers/MixerCtrl.h"
#include "sim/MixerBuilders.h"

namespace {

MIXERCONTROLW ControlNamed(const String& Name) {
  MIXERCONTROLW c;
  std::memset(&c, 0, sizeof c);
  c.cbStruct = sizeof c;
  c.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
  PutName(c.szName, Name);
  return c;
}

}  // namespace

TEST(MixerTypes, LineTypeOfComponentTypeAtTheTableEdges) {
  struct Case {
    std::uint32_t Code;
    TMixerLineType Expected;
  };
  const Case cases[] = {
      {/*Code=*/0x0000, /*Expected=*/dtUndefined},   {/*Code=*/0x0004, /*Expected=*/dtSpeakers},
      {/*Code=*/0x0008, /*Expected=*/dtVoiceIn},     {/*Code=*/0x0009, /*Expected=*/ltUnknown},
      {/*Code=*/0x0FFF, /*Expected=*/ltUnknown},     {/*Code=*/0x1000, /*Expected=*/ltUndefined},
      {/*Code=*/0x1005, /*Expected=*/ltCompactDisk}, {/*Code=*/0x100A, /*Expected=*/ltAnalog},
      {/*Code=*/0x100B, /*Expected=*/ltUnknown},     {/*Code=*/0xFFFFFFFF, /*Expected=*/ltUnknown},
  };
  for (const Case& c : cases) EXPECT_EQ(LineTypeOfComponentType(c.Code), c.Expected) << std::hex << c.Code;
}

TEST(MixerTypes, ControlTypeOfControlTypeMatchesWholeCodes) {
  struct Case {
    std::uint32_t Code;
    TMixerControlType Expected;
  };
  const Case cases[] = {
      {/*Code=*/MIXERCONTROL_CONTROLTYPE_CUSTOM, /*Expected=*/ctCustom},
      {/*Code=*/MIXERCONTROL_CONTROLTYPE_BASS, /*Expected=*/ctBass},
      {/*Code=*/MIXERCONTROL_CONTROLTYPE_MUX, /*Expected=*/ctMux},
      {/*Code=*/MIXERCONTROL_CONTROLTYPE_PEAKMETER, /*Expected=*/ctPeakMeter},
      {/*Code=*/MIXERCONTROL_CONTROLTYPE_MUTE, /*Expected=*/ctMute},
      {/*Code=*/MIXERCONTROL_CONTROLTYPE_MILLITIME, /*Expected=*/ctMilliTime},
      // Not in the table, or near misses of codes that are.
      {/*Code=*/MIXERCONTROL_CONTROLTYPE_BASS_BOOST, /*Expected=*/ctUnknown},
      {/*Code=*/1, /*Expected=*/ctUnknown},
      {/*Code=*/MIXERCONTROL_CONTROLTYPE_MUTE | 0x80000000u, /*Expected=*/ctUnknown},
      {/*Code=*/0xFFFFFFFF, /*Expected=*/ctUnknown},
  };
  for (const Case& c : cases) EXPECT_EQ(ControlTypeOfControlType(c.Code), c.Expected) << std::hex << c.Code;
}

TEST(MixerTypes, ControlStatusOfFlagsKeepsOnlyTheThreeFlags) {
  struct Case {
    std::uint32_t Flags;
    std::uint8_t ExpectedBits;  // csDisabled 1, csMultiple 2, csUniform 4
  };
  const Case cases[] = {
      {/*Flags=*/0, /*ExpectedBits=*/0},
      {/*Flags=*/4, /*ExpectedBits=*/0},
      {/*Flags=*/MIXERCONTROL_CONTROLF_UNIFORM, /*ExpectedBits=*/4},
      {/*Flags=*/MIXERCONTROL_CONTROLF_DISABLED, /*ExpectedBits=*/1},
      {/*Flags=*/0x80000003u, /*ExpectedBits=*/7},
  };
  for (const Case& c : cases) EXPECT_EQ(ControlStatusOfFlags(c.Flags).Bits(), c.ExpectedBits) << std::hex << c.Flags;
}

TEST(MixerTypes, ControlValueKindsByFamily) {
  struct Case {
    TMixerControlType Type;
    TMixerValueKinds Expected;
  };
  const Case cases[] = {
      {/*Type=*/ctUnknown, /*Expected=*/{}},
      {/*Type=*/ctVolume, /*Expected=*/{vkUnsigned}},
      {/*Type=*/ctEqualizer, /*Expected=*/{vkUnsigned, vkListText}},
      {/*Type=*/ctMux, /*Expected=*/{vkBoolean, vkListText}},
      {/*Type=*/ctMixer, /*Expected=*/{vkBoolean, vkListText}},
      {/*Type=*/ctMute, /*Expected=*/{vkBoolean}},
      {/*Type=*/ctPeakMeter, /*Expected=*/{vkSigned}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ControlValueKinds(c.Type).Bits(), c.Expected.Bits()) << MixerControlTypeNames[c.Type];
}

TEST(MixerTypes, DisplayNames) {
  for (int i = 0; i < MixerLineTypeCount; ++i) ASSERT_NE(MixerLineTypeNames[i], nullptr) << i;
  for (int i = 0; i < MixerControlTypeCount; ++i) ASSERT_NE(MixerControlTypeNames[i], nullptr) << i;
  EXPECT_EQ(String(MixerLineTypeNames[dtVoiceIn]), WSTR("Voice"));
  EXPECT_EQ(String(MixerLineTypeNames[dtTelephone]), WSTR("Telephone"));
  EXPECT_EQ(String(MixerControlTypeNames[ctUnknown]), WSTR("Unknow"));
  EXPECT_EQ(String(MixerControlTypeNames[ctMilliTime]), WSTR("MilliTime"));
}

TEST(MixerTypes, NameFieldToText) {
  const String sixtyFour(64, WSTR('x'));
  struct Case {
    const char* What;
    std::vector<WCHAR> Field;  // exactly MaxIndex + 1 characters, so reading past it is caught
    String Expected;
  };
  auto field = [](String text, std::size_t width) {
    text.resize(width, 0);
    return std::vector<WCHAR>(text.begin(), text.end());
  };
  const Case cases[] = {
      {/*What=*/"full field without null", /*Field=*/field(sixtyFour, 64), /*Expected=*/sixtyFour},
      {/*What=*/"all nulls", /*Field=*/field(String(), 64), /*Expected=*/String()},
      {/*What=*/"stops at the first null", /*Field=*/field(String(WSTR("ab")) + WCHAR(0) + WSTR("cd"), 64),
       /*Expected=*/WSTR("ab")},
      {/*What=*/"leading surrogate cut by the field's end", /*Field=*/field(String(63, WSTR('y')) + WCHAR(0xD83D), 64),
       /*Expected=*/String(63, WSTR('y'))},
      {/*What=*/"leading surrogate before the null", /*Field=*/field(String(WSTR("ab")) + WCHAR(0xDBFF), 16),
       /*Expected=*/WSTR("ab")},
      {/*What=*/"complete pair at the end", /*Field=*/field(String(14, WSTR('z')) + WCHAR(0xD83D) + WCHAR(0xDE00), 16),
       /*Expected=*/String(14, WSTR('z')) + WCHAR(0xD83D) + WCHAR(0xDE00)},
  };
  for (const Case& c : cases) {
    auto heap = std::make_unique<WCHAR[]>(c.Field.size());
    std::copy(c.Field.begin(), c.Field.end(), heap.get());
    String text = WSTR("stale");
    NameFieldToText(heap.get(), static_cast<int>(c.Field.size()) - 1, text);
    EXPECT_EQ(text, c.Expected) << c.What;
  }
}

TEST(MixerTypes, MaxOf) {
  EXPECT_EQ(MaxOf(-5, 3), 3);
  EXPECT_EQ(MaxOf(7, 7), 7);
}

TEST(MixerCheck, SuccessAndQuietFailure) {
  EXPECT_TRUE(MixerCheck(MMSYSERR_NOERROR, true, nullptr));
  EXPECT_TRUE(MixerCheck(MMSYSERR_NOERROR, false, nullptr));
  for (std::uint32_t code : {1u, 2u, 11u, 1024u, 1026u, 0xFFFFFFFFu}) {
    bool result = true;
    EXPECT_NO_THROW(result = MixerCheck(code, false, nullptr)) << code;
    EXPECT_FALSE(result) << code;
  }
}

TEST(MixerCheck, RaisesWithTheMessageOfTheCode) {
  struct Case {
    std::uint32_t Code;
    String Message;
  };
  const Case cases[] = {
      {/*Code=*/MMSYSERR_BADDEVICEID, /*Message=*/WSTR("デバイスIDは不正です")},
      {/*Code=*/MMSYSERR_INVALHANDLE, /*Message=*/WSTR("無効なハンドルです")},
      {/*Code=*/MMSYSERR_NODRIVER, /*Message=*/WSTR("デバイスドライバがありません")},
      {/*Code=*/MMSYSERR_NOMEM, /*Message=*/WSTR("メモリを割り当てられないかメモリをロックできません")},
      {/*Code=*/MMSYSERR_INVALFLAG, /*Message=*/WSTR("無効なフラグです")},
      {/*Code=*/MMSYSERR_INVALPARAM, /*Message=*/WSTR("無効なパラメータです")},
      {/*Code=*/MIXERR_INVALLINE, /*Message=*/WSTR("無効なラインです")},
      {/*Code=*/MIXERR_INVALCONTROL, /*Message=*/WSTR("無効なコントロールです")},
      {/*Code=*/MIXERR_INVALVALUE, /*Message=*/WSTR("不明なエラー:1026")},
      {/*Code=*/MMSYSERR_ERROR, /*Message=*/WSTR("不明なエラー:1")},
      {/*Code=*/0xFFFFFFFF, /*Message=*/WSTR("不明なエラー:4294967295")},
  };
  for (const Case& c : cases) {
    try {
      MixerCheck(c.Code, true, nullptr);
      ADD_FAILURE() << "no exception for " << c.Code;
    } catch (const EMixerError& e) {
      EXPECT_EQ(e.Message(), c.Message) << c.Code;
      EXPECT_EQ(e.ErrorCode(), c.Code);
      EXPECT_EQ(e.Ctrl(), nullptr);
      EXPECT_EQ(e.ClassName(), WSTR("EMixerError"));
    }
  }
}

TEST(MixerCheck, AppendsTheControlsName) {
  struct Case {
    const char* What;
    TMixerOptions Options;
    String Expected;
  };
  const Case cases[] = {
      {/*What=*/"named", /*Options=*/{}, /*Expected=*/WSTR("無効なパラメータです(Volume)")},
      {/*What=*/"built without its name", /*Options=*/{moNoControlName}, /*Expected=*/WSTR("無効なパラメータです()")},
  };
  for (const Case& c : cases) {
    TMixerCtrl ctrl(ControlNamed(WSTR("Volume")), c.Options);
    try {
      MixerCheck(MMSYSERR_INVALPARAM, true, &ctrl);
      ADD_FAILURE() << "no exception: " << c.What;
    } catch (const EMixerError& e) {
      EXPECT_EQ(e.Message(), c.Expected) << c.What;
      EXPECT_EQ(e.ErrorCode(), MMSYSERR_INVALPARAM);
      EXPECT_EQ(e.Ctrl(), &ctrl);
    }
  }
}
