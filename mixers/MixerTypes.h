// The mixer library's vocabulary: line and control types, status flags and
// options with their sets, the records of channel volumes, bounds and metrics,
// the display-name tables, the mappings from the mixer interface's codes, and
// the library's exception with the one routine that raises it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "core/Exception.h"
#include "platform/WinTypes.h"

class TMixerCtrl;

enum TMixerLineType : std::uint8_t {
  ltUndefined,
  ltDigital,
  ltLine,
  ltMicrophone,
  ltSynthesizer,
  ltCompactDisk,
  ltTelephone,
  ltPcSpeaker,
  ltWaveOut,
  ltAuxiliary,
  ltAnalog,
  ltUnknown,
  dtUndefined,
  dtDigital,
  dtLine,
  dtMonitor,
  dtSpeakers,
  dtHeadphones,
  dtTelephone,
  dtWaveIn,
  dtVoiceIn,
};
constexpr int MixerLineTypeCount = dtVoiceIn + 1;

enum TMixerControlType : std::uint8_t {
  ctCustom,
  ctBass,
  ctEqualizer,
  ctFader,
  ctTreble,
  ctVolume,
  ctMixer,
  ctMultipleSelect,
  ctMux,
  ctSingleSelect,
  ctBooleanMeter,
  ctPeakMeter,
  ctSignedMeter,
  ctUnsignedMeter,
  ctDecibels,
  ctPercent,
  ctSigned,
  ctUnsigned,
  ctPan,
  ctQsoundPan,
  ctSlider,
  ctBoolean,
  ctButton,
  ctLoudness,
  ctMono,
  ctMute,
  ctOnOff,
  ctStereoEnh,
  ctMicroTime,
  ctMilliTime,
  ctUnknown,
};
constexpr int MixerControlTypeCount = ctUnknown + 1;

// The three flags of a control's status (bit values 1, 2 and 4).
enum TMixerControlStatusFlag : std::uint8_t { csDisabled, csMultiple, csUniform };

enum TMixerOption : std::uint8_t {
  moNoDeviceName,
  moNoLineName,
  moNoLineShortName,
  moNoControlName,
  moNoControlShortName,
  moNoTargetName,
  moNoControlBounds,
  moNoControlMetrics,
  moNoBalanceAutoUpdate,
};

// The forms in which a control's details can be read or written (bit values 1, 2, 4, 8).
enum TMixerValueKind : std::uint8_t { vkSigned, vkUnsigned, vkBoolean, vkListText };

// A set over an enumeration, held as a mask in which bit n stands for ordinal n.
template <class Enum, class Mask>
class TSet {
 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<Enum> items) {
    for (Enum e : items) FMask = static_cast<Mask>(FMask | Bit(e));
  }
  static constexpr TSet FromMask(Mask mask) {
    TSet s;
    s.FMask = mask;
    return s;
  }
  /// All ordinals from first to last inclusive.
  static constexpr TSet Range(Enum first, Enum last) {
    TSet s;
    for (int i = first; i <= last; ++i) s.FMask = static_cast<Mask>(s.FMask | Bit(static_cast<Enum>(i)));
    return s;
  }

  constexpr Mask Bits() const { return FMask; }
  constexpr bool Empty() const { return FMask == 0; }
  /// Membership; an ordinal beyond the mask's width is never a member.
  constexpr bool Contains(Enum e) const { return (FMask & Bit(e)) != 0; }
  constexpr TSet& Include(Enum e) {
    FMask = static_cast<Mask>(FMask | Bit(e));
    return *this;
  }
  constexpr TSet& Exclude(Enum e) {
    FMask = static_cast<Mask>(FMask & ~Bit(e));
    return *this;
  }

  friend constexpr TSet operator+(TSet a, TSet b) { return FromMask(static_cast<Mask>(a.FMask | b.FMask)); }
  friend constexpr TSet operator-(TSet a, TSet b) { return FromMask(static_cast<Mask>(a.FMask & ~b.FMask)); }
  friend constexpr TSet operator*(TSet a, TSet b) { return FromMask(static_cast<Mask>(a.FMask & b.FMask)); }
  friend constexpr bool operator==(TSet a, TSet b) { return a.FMask == b.FMask; }
  friend constexpr bool operator!=(TSet a, TSet b) { return a.FMask != b.FMask; }

 private:
  static constexpr Mask Bit(Enum e) {
    return static_cast<unsigned>(e) < sizeof(Mask) * 8 ? static_cast<Mask>(Mask(1) << static_cast<unsigned>(e))
                                                       : Mask(0);
  }
  Mask FMask = 0;
};

using TMixerLineTypes = TSet<TMixerLineType, std::uint32_t>;
using TMixerControlTypes = TSet<TMixerControlType, std::uint32_t>;
using TMixerControlStatus = TSet<TMixerControlStatusFlag, std::uint8_t>;
using TMixerOptions = TSet<TMixerOption, std::uint16_t>;
using TMixerValueKinds = TSet<TMixerValueKind, std::uint8_t>;

constexpr TMixerLineTypes MixerSourceLineTypes = TMixerLineTypes::Range(ltUndefined, ltUnknown);
constexpr TMixerLineTypes MixerDestLineTypes = TMixerLineTypes::Range(dtUndefined, dtVoiceIn);

// Raw channel values of a line's volume control; Mono and Left share the first word.
struct TMixerVolume {
  std::uint32_t Volume[2] = {0, 0};

  std::uint32_t& Mono() { return Volume[0]; }
  std::uint32_t Mono() const { return Volume[0]; }
  std::uint32_t& Left() { return Volume[0]; }
  std::uint32_t Left() const { return Volume[0]; }
  std::uint32_t& Right() { return Volume[1]; }
  std::uint32_t Right() const { return Volume[1]; }
};

// A control's limits: the same 24 bytes as the Bounds block of MIXERCONTROLW.
struct TMixerCtrlBounds {
  std::uint32_t Reserved[6] = {0, 0, 0, 0, 0, 0};

  std::int32_t SignedMin() const { return AsSigned(Reserved[0]); }
  std::int32_t SignedlMax() const { return AsSigned(Reserved[1]); }
  std::uint32_t& Min() { return Reserved[0]; }
  std::uint32_t Min() const { return Reserved[0]; }
  std::uint32_t& Max() { return Reserved[1]; }
  std::uint32_t Max() const { return Reserved[1]; }
};
using PMixerCtrlBounds = TMixerCtrlBounds*;

// A control's metrics: the same 24 bytes as the Metrics block of MIXERCONTROLW.
struct TMixerCtrlMetrics {
  std::uint32_t Reserved[6] = {0, 0, 0, 0, 0, 0};

  std::uint32_t& Steps() { return Reserved[0]; }
  std::uint32_t Steps() const { return Reserved[0]; }
  std::uint32_t& CustomData() { return Reserved[0]; }
  std::uint32_t CustomData() const { return Reserved[0]; }
};
using PMixerCtrlMetrics = TMixerCtrlMetrics*;

static_assert(sizeof(TMixerCtrlBounds) == 24, "copied as one block");
static_assert(sizeof(TMixerCtrlMetrics) == 24, "copied as one block");

/// Display names for clients, indexed by the enumerations. The control types'
/// names are a column of the one table that also holds their codes and value kinds.
extern const WCHAR* const MixerLineTypeNames[MixerLineTypeCount];
extern const WCHAR* const (&MixerControlTypeNames)[MixerControlTypeCount];

TMixerLineType LineTypeOfComponentType(std::uint32_t ComponentType);
TMixerControlStatus ControlStatusOfFlags(std::uint32_t Flags);
TMixerControlType ControlTypeOfControlType(std::uint32_t ControlType);
TMixerValueKinds ControlValueKinds(TMixerControlType ControlType);

/// Text of a fixed-width name field of MaxIndex + 1 characters: up to the
/// first null, without a leading surrogate cut off by the field's end.
void NameFieldToText(const WCHAR* Field, int MaxIndex, String& Text);
/// The same for a field of the mixer interface's records, whose width is the array's.
template <std::size_t Width>
void NameFieldToText(const WCHAR (&Field)[Width], String& Text) {
  static_assert(Width > 0 && Width <= 0x7FFFFFFF, "a name field's last index is an int");
  NameFieldToText(Field, static_cast<int>(Width) - 1, Text);
}

/// The larger of two signed integers.
std::int32_t MaxOf(std::int32_t A, std::int32_t B);

class EMixerError : public Exception {
 public:
  EMixerError(String Message, std::uint32_t ErrorCode, TMixerCtrl* Ctrl);

  std::uint32_t ErrorCode() const { return FErrorCode; }
  void SetErrorCode(std::uint32_t Value) { FErrorCode = Value; }
  /// The control concerned, or null; not owned.
  TMixerCtrl* Ctrl() const { return FCtrl; }
  String ClassName() const override { return WSTR("EMixerError"); }

 private:
  std::uint32_t FErrorCode;
  TMixerCtrl* FCtrl;
};

/// True exactly when ErrorCode is 0; with RaiseOnError, any other code raises
/// EMixerError with its message (and the control's name, when a control is given).
bool MixerCheck(std::uint32_t ErrorCode, bool RaiseOnError, TMixerCtrl* Ctrl);

/// The library's own refusal of a request about Ctrl: MixerCheck's EMixerError
/// for MMSYSERR_INVALPARAM (invalid parameter).
[[noreturn]] void MixerRefuse(TMixerCtrl* Ctrl);
