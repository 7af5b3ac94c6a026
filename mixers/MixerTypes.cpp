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

const WCHAR* const MixerControlTypeNames[MixerControlTypeCount] = {
    WSTR("Custom"),          // ctCustom
    WSTR("Bass"),            // ctBass
    WSTR("Equalizer"),       // ctEqualizer
    WSTR("Fader"),           // ctFader
    WSTR("Treble"),          // ctTreble
    WSTR("Volume"),          // ctVolume
    WSTR("Mixer"),           // ctMixer
    WSTR("MultipleSelect"),  // ctMultipleSelect
    WSTR("Mux"),             // ctMux
    WSTR("SingleSelect"),    // ctSingleSelect
    WSTR("BooleanMeter"),    // ctBooleanMeter
    WSTR("PeakMeter"),       // ctPeakMeter
    WSTR("SignedMeter"),     // ctSignedMeter
    WSTR("UnsignedMeter"),   // ctUnsignedMeter
    WSTR("Decibels"),        // ctDecibels
    WSTR("Percent"),         // ctPercent
    WSTR("Signed"),          // ctSigned
    WSTR("Unsigned"),        // ctUnsigned
    WSTR("Pan"),             // ctPan
    WSTR("QsoundPan"),       // ctQsoundPan
    WSTR("Slider"),          // ctSlider
    WSTR("Boolean"),         // ctBoolean
    WSTR("Button"),          // ctButton
    WSTR("Loudness"),        // ctLoudness
    WSTR("Mono"),            // ctMono
    WSTR("Mute"),            // ctMute
    WSTR("OnOff"),           // ctOnOff
    WSTR("StereoEnh"),       // ctStereoEnh
    WSTR("MicroTime"),       // ctMicroTime
    WSTR("MilliTime"),       // ctMilliTime
    WSTR("Unknow"),          // ctUnknown: the published text, kept as clients know it
};

namespace {

// The driver's control-type codes, indexed by TMixerControlType (ctUnknown has none).
constexpr std::uint32_t ControlTypeCodes[ctUnknown] = {
    MIXERCONTROL_CONTROLTYPE_CUSTOM,       MIXERCONTROL_CONTROLTYPE_BASS,           MIXERCONTROL_CONTROLTYPE_EQUALIZER,
    MIXERCONTROL_CONTROLTYPE_FADER,        MIXERCONTROL_CONTROLTYPE_TREBLE,         MIXERCONTROL_CONTROLTYPE_VOLUME,
    MIXERCONTROL_CONTROLTYPE_MIXER,        MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT, MIXERCONTROL_CONTROLTYPE_MUX,
    MIXERCONTROL_CONTROLTYPE_SINGLESELECT, MIXERCONTROL_CONTROLTYPE_BOOLEANMETER,   MIXERCONTROL_CONTROLTYPE_PEAKMETER,
    MIXERCONTROL_CONTROLTYPE_SIGNEDMETER,  MIXERCONTROL_CONTROLTYPE_UNSIGNEDMETER,  MIXERCONTROL_CONTROLTYPE_DECIBELS,
    MIXERCONTROL_CONTROLTYPE_PERCENT,      MIXERCONTROL_CONTROLTYPE_SIGNED,         MIXERCONTROL_CONTROLTYPE_UNSIGNED,
    MIXERCONTROL_CONTROLTYPE_PAN,          MIXERCONTROL_CONTROLTYPE_QSOUNDPAN,      MIXERCONTROL_CONTROLTYPE_SLIDER,
    MIXERCONTROL_CONTROLTYPE_BOOLEAN,      MIXERCONTROL_CONTROLTYPE_BUTTON,         MIXERCONTROL_CONTROLTYPE_LOUDNESS,
    MIXERCONTROL_CONTROLTYPE_MONO,         MIXERCONTROL_CONTROLTYPE_MUTE,           MIXERCONTROL_CONTROLTYPE_ONOFF,
    MIXERCONTROL_CONTROLTYPE_STEREOENH,    MIXERCONTROL_CONTROLTYPE_MICROTIME,      MIXERCONTROL_CONTROLTYPE_MILLITIME,
};

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
    if (ControlTypeCodes[i] == ControlType) return static_cast<TMixerControlType>(i);
  return ctUnknown;
}

TMixerValueKinds ControlValueKinds(TMixerControlType ControlType) {
  switch (ControlType) {
    case ctBass:
    case ctFader:
    case ctTreble:
    case ctVolume:
    case ctUnsignedMeter:
    case ctPercent:
    case ctUnsigned:
    case ctMicroTime:
    case ctMilliTime:
      return {vkUnsigned};
    case ctEqualizer:
      return {vkUnsigned, vkListText};
    case ctMixer:
    case ctMultipleSelect:
    case ctMux:
    case ctSingleSelect:
      return {vkBoolean, vkListText};
    case ctBooleanMeter:
    case ctBoolean:
    case ctButton:
    case ctLoudness:
    case ctMono:
    case ctMute:
    case ctOnOff:
    case ctStereoEnh:
      return {vkBoolean};
    case ctPeakMeter:
    case ctSignedMeter:
    case ctDecibels:
    case ctSigned:
    case ctPan:
    case ctQsoundPan:
    case ctSlider:
      return {vkSigned};
    case ctCustom:
    case ctUnknown:
      break;
  }
  return {};
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
