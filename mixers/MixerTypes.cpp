#include "mixers/MixerTypes.h"

#include <string>
#include <utility>

#include "mixers/MixerCtrl.h"

const WCHAR* const MixerLineTypeNames[MixerLineTypeCount] = {
    WSTR("Undefined"),    // ltUndefined
    WSTR("Digital"),      // ltDigital
    WSTR("Line"),         // ltLine
    WSTR("Microphone"),   // ltMicrophone
    WSTR("Synthesizer"),  // ltSynthesizer
    WSTR("CompactDisk"),  // ltCompactDisk
    WSTR("Telephone"),    // ltTelephone
    WSTR("PcSpeaker"),    // ltPcSpeaker
    WSTR("WaveOut"),      // ltWaveOut
    WSTR("Auxiliary"),    // ltAuxiliary
    WSTR("Analog"),       // ltAnalog
    WSTR("Unknown"),      // ltUnknown
    WSTR("Undefined"),    // dtUndefined
    WSTR("Digital"),      // dtDigital
    WSTR("Line"),         // dtLine
    WSTR("Monitor"),      // dtMonitor
    WSTR("Speakers"),     // dtSpeakers
    WSTR("Headphones"),   // dtHeadphones
    WSTR("Telephone"),    // dtTelephone
    WSTR("WaveIn"),       // dtWaveIn
    WSTR("Voice"),        // dtVoiceIn: clients have always been shown this shorter text
};

namespace {

// Each control type's display name, the driver's code for it and the forms
// its details take, in the order of TMixerControlType.
struct TControlTypeRow {
  const WCHAR* Name;
  std::uint32_t Code;
  TMixerValueKinds Kinds;
};

constexpr TControlTypeRow ControlTypeRows[MixerControlTypeCount] = {
    {WSTR("Custom"), MIXERCONTROL_CONTROLTYPE_CUSTOM, {}},                                       // ctCustom
    {WSTR("Bass"), MIXERCONTROL_CONTROLTYPE_BASS, {vkUnsigned}},                                 // ctBass
    {WSTR("Equalizer"), MIXERCONTROL_CONTROLTYPE_EQUALIZER, {vkUnsigned, vkListText}},           // ctEqualizer
    {WSTR("Fader"), MIXERCONTROL_CONTROLTYPE_FADER, {vkUnsigned}},                               // ctFader
    {WSTR("Treble"), MIXERCONTROL_CONTROLTYPE_TREBLE, {vkUnsigned}},                             // ctTreble
    {WSTR("Volume"), MIXERCONTROL_CONTROLTYPE_VOLUME, {vkUnsigned}},                             // ctVolume
    {WSTR("Mixer"), MIXERCONTROL_CONTROLTYPE_MIXER, {vkBoolean, vkListText}},                    // ctMixer
    {WSTR("MultipleSelect"), MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT, {vkBoolean, vkListText}},  // ctMultipleSelect
    {WSTR("Mux"), MIXERCONTROL_CONTROLTYPE_MUX, {vkBoolean, vkListText}},                        // ctMux
    {WSTR("SingleSelect"), MIXERCONTROL_CONTROLTYPE_SINGLESELECT, {vkBoolean, vkListText}},      // ctSingleSelect
    {WSTR("BooleanMeter"), MIXERCONTROL_CONTROLTYPE_BOOLEANMETER, {vkBoolean}},                  // ctBooleanMeter
    {WSTR("PeakMeter"), MIXERCONTROL_CONTROLTYPE_PEAKMETER, {vkSigned}},                         // ctPeakMeter
    {WSTR("SignedMeter"), MIXERCONTROL_CONTROLTYPE_SIGNEDMETER, {vkSigned}},                     // ctSignedMeter
    {WSTR("UnsignedMeter"), MIXERCONTROL_CONTROLTYPE_UNSIGNEDMETER, {vkUnsigned}},               // ctUnsignedMeter
    {WSTR("Decibels"), MIXERCONTROL_CONTROLTYPE_DECIBELS, {vkSigned}},                           // ctDecibels
    {WSTR("Percent"), MIXERCONTROL_CONTROLTYPE_PERCENT, {vkUnsigned}},                           // ctPercent
    {WSTR("Signed"), MIXERCONTROL_CONTROLTYPE_SIGNED, {vkSigned}},                               // ctSigned
    {WSTR("Unsigned"), MIXERCONTROL_CONTROLTYPE_UNSIGNED, {vkUnsigned}},                         // ctUnsigned
    {WSTR("Pan"), MIXERCONTROL_CONTROLTYPE_PAN, {vkSigned}},                                     // ctPan
    {WSTR("QsoundPan"), MIXERCONTROL_CONTROLTYPE_QSOUNDPAN, {vkSigned}},                         // ctQsoundPan
    {WSTR("Slider"), MIXERCONTROL_CONTROLTYPE_SLIDER, {vkSigned}},                               // ctSlider
    {WSTR("Boolean"), MIXERCONTROL_CONTROLTYPE_BOOLEAN, {vkBoolean}},                            // ctBoolean
    {WSTR("Button"), MIXERCONTROL_CONTROLTYPE_BUTTON, {vkBoolean}},                              // ctButton
    {WSTR("Loudness"), MIXERCONTROL_CONTROLTYPE_LOUDNESS, {vkBoolean}},                          // ctLoudness
    {WSTR("Mono"), MIXERCONTROL_CONTROLTYPE_MONO, {vkBoolean}},                                  // ctMono
    {WSTR("Mute"), MIXERCONTROL_CONTROLTYPE_MUTE, {vkBoolean}},                                  // ctMute
    {WSTR("OnOff"), MIXERCONTROL_CONTROLTYPE_ONOFF, {vkBoolean}},                                // ctOnOff
    {WSTR("StereoEnh"), MIXERCONTROL_CONTROLTYPE_STEREOENH, {vkBoolean}},                        // ctStereoEnh
    {WSTR("MicroTime"), MIXERCONTROL_CONTROLTYPE_MICROTIME, {vkUnsigned}},                       // ctMicroTime
    {WSTR("MilliTime"), MIXERCONTROL_CONTROLTYPE_MILLITIME, {vkUnsigned}},                       // ctMilliTime
    // ctUnknown: no code of its own; the published text, kept as clients know it.
    {WSTR("Unknow"), 0, {}},
};

// The table's columns, each an array of its own, so that a program keeps only
// those it uses (the scan needs the codes, not the names).
template <class T>
struct TColumn {
  T Values[MixerControlTypeCount];
};

template <class T>
constexpr TColumn<T> ColumnOf(T TControlTypeRow::*Field) {
  TColumn<T> column{};
  for (int i = 0; i < MixerControlTypeCount; ++i) column.Values[i] = ControlTypeRows[i].*Field;
  return column;
}

constexpr TColumn<const WCHAR*> ControlTypeNames = ColumnOf(&TControlTypeRow::Name);
constexpr TColumn<std::uint32_t> ControlTypeCodes = ColumnOf(&TControlTypeRow::Code);
constexpr TColumn<TMixerValueKinds> ControlTypeKinds = ColumnOf(&TControlTypeRow::Kinds);

String MessageOfCode(std::uint32_t ErrorCode) {
  switch (ErrorCode) {
    case MMSYSERR_BADDEVICEID:
      return WSTR("デバイスIDは不正です");
    case MMSYSERR_INVALHANDLE:
      return WSTR("無効なハンドルです");
    case MMSYSERR_NODRIVER:
      return WSTR("デバイスドライバがありません");
    case MMSYSERR_NOMEM:
      return WSTR("メモリを割り当てられないかメモリをロックできません");
    case MMSYSERR_INVALFLAG:
      return WSTR("無効なフラグです");
    case MMSYSERR_INVALPARAM:
      return WSTR("無効なパラメータです");
    case MIXERR_INVALLINE:
      return WSTR("無効なラインです");
    case MIXERR_INVALCONTROL:
      return WSTR("無効なコントロールです");
    default:
      return WSTR("不明なエラー:") + DecimalText(ErrorCode);
  }
}

}  // namespace

const WCHAR* const (&MixerControlTypeNames)[MixerControlTypeCount] = ControlTypeNames.Values;

TMixerLineType LineTypeOfComponentType(std::uint32_t ComponentType) {
  if (ComponentType <= MIXERLINE_COMPONENTTYPE_DST_LAST)
    return static_cast<TMixerLineType>(dtUndefined + (ComponentType - MIXERLINE_COMPONENTTYPE_DST_FIRST));
  if (ComponentType >= MIXERLINE_COMPONENTTYPE_SRC_FIRST && ComponentType <= MIXERLINE_COMPONENTTYPE_SRC_LAST)
    return static_cast<TMixerLineType>(ltUndefined + (ComponentType - MIXERLINE_COMPONENTTYPE_SRC_FIRST));
  return ltUnknown;
}

TMixerControlStatus ControlStatusOfFlags(std::uint32_t Flags) {
  TMixerControlStatus status;
  if ((Flags & MIXERCONTROL_CONTROLF_UNIFORM) != 0) status.Include(csUniform);
  if ((Flags & MIXERCONTROL_CONTROLF_MULTIPLE) != 0) status.Include(csMultiple);
  if ((Flags & MIXERCONTROL_CONTROLF_DISABLED) != 0) status.Include(csDisabled);
  return status;
}

TMixerControlType ControlTypeOfControlType(std::uint32_t ControlType) {
  for (int i = 0; i < ctUnknown; ++i)
    if (ControlTypeCodes.Values[i] == ControlType) return static_cast<TMixerControlType>(i);
  return ctUnknown;
}

TMixerValueKinds ControlValueKinds(TMixerControlType ControlType) {
  return ControlType < MixerControlTypeCount ? ControlTypeKinds.Values[ControlType] : TMixerValueKinds();
}

void NameFieldToText(const WCHAR* Field, int MaxIndex, String& Text) {
  Text.clear();
  if (Field == nullptr) return;
  for (int i = 0; i <= MaxIndex && Field[i] != 0; ++i) Text.push_back(Field[i]);
  // A pair cut by the field's end would leave half a character behind.
  if (!Text.empty()) {
    const auto last = static_cast<std::uint16_t>(Text.back());
    if (last >= 0xD800 && last <= 0xDBFF) Text.pop_back();
  }
}

std::int32_t MaxOf(std::int32_t A, std::int32_t B) { return B < A ? A : B; }

EMixerError::EMixerError(String Message, std::uint32_t ErrorCode, TMixerCtrl* Ctrl)
    : Exception(std::move(Message)), FErrorCode(ErrorCode), FCtrl(Ctrl) {}

namespace {

[[noreturn]] void Raise(std::uint32_t ErrorCode, TMixerCtrl* Ctrl) {
  String message = MessageOfCode(ErrorCode);
  if (Ctrl != nullptr) message += WSTR("(") + Ctrl->Name() + WSTR(")");
  throw EMixerError(std::move(message), ErrorCode, Ctrl);
}

}  // namespace

bool MixerCheck(std::uint32_t ErrorCode, bool RaiseOnError, TMixerCtrl* Ctrl) {
  const bool result = ErrorCode == MMSYSERR_NOERROR;
  if (result || !RaiseOnError) return result;
  Raise(ErrorCode, Ctrl);
}

void MixerRefuse(TMixerCtrl* Ctrl) { Raise(MMSYSERR_INVALPARAM, Ctrl); }
