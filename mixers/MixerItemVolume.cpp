// A line's level layer: its first volume control seen as a volume and a
// balance in percent, its first mute control as a flag, and the raw channel
// values. The balance lives in the item as a ratio right over left, so that it
// survives the volume going down to silence and up again.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "mixers/DriverArray.h"
#include "mixers/Mixer.h"
#include "mixers/MixerDev.h"
#include "mixers/MixerItem.h"

namespace {

static_assert(std::numeric_limits<double>::is_iec559, "the level arithmetic assumes IEEE doubles");

constexpr std::int64_t FullRaw = 65535;      // a channel's full value
constexpr std::int64_t FullPercent = 100;    // full volume and right-only balance
constexpr std::uint64_t MinRatioSum = 3000;  // below this sum the channels are too quiet to tell a ratio
constexpr double RatioTolerance = 0.001;     // relative change of the ratio that is not worth storing
constexpr std::int64_t StepDivisor = 25;
constexpr auto RightOnly = static_cast<float>(2 * FullRaw + 1);  // any raw value divided by it rounds to 0

// Numerator / Denominator (Denominator > 0) rounded to the nearest integer, ties
// to even, in exact integer arithmetic; a negative quotient rounds like its magnitude.
std::int64_t RoundedQuotient(std::int64_t Numerator, std::int64_t Denominator) {
  const std::int64_t magnitude = Numerator < 0 ? -Numerator : Numerator;
  std::int64_t quotient = magnitude / Denominator;
  const std::int64_t twiceRest = 2 * (magnitude % Denominator);
  if (twiceRest > Denominator || (twiceRest == Denominator && quotient % 2 != 0)) ++quotient;
  return Numerator < 0 ? -quotient : quotient;
}

// The balance ratio is a float, so what involves it stays in floating point.
// A value as a double in memory holds it, rounded to 64 bits: builds that keep
// intermediates in the x87's 80-bit registers would otherwise round some ties
// differently.
double StoredDouble(double Value) {
  volatile double stored = Value;
  return stored;
}

float StoredFloat(double Value) {
  volatile float stored = static_cast<float>(Value);
  return stored;
}

// Nearest integer, ties to even, whatever rounding mode the host has set.
double RoundEven(double Value) {
  const double floor = std::floor(Value);
  const double fraction = Value - floor;
  if (fraction > 0.5) return floor + 1.0;
  if (fraction < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

// Rounded and limited to the unsigned 32-bit range; not-a-number gives 0.
// Only ratios outside 0 to 131071 (stored through SetRawBalance) reach the limits.
std::uint32_t RoundToUInt32(double Value) {
  const double r = RoundEven(Value);
  if (!(r > 0.0)) return 0;
  if (r >= 4294967295.0) return std::numeric_limits<std::uint32_t>::max();
  return static_cast<std::uint32_t>(r);
}

// Rounded and limited to the signed 32-bit range; not-a-number gives 0.
std::int32_t RoundToInt32(double Value) {
  const double r = RoundEven(Value);
  if (std::isnan(r)) return 0;
  if (r <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
  if (r >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(r);
}

// A raw channel value limited to the full value.
std::uint32_t FullRawAtMost(std::uint32_t Raw) {
  return static_cast<std::uint32_t>(std::min<std::int64_t>(Raw, FullRaw));
}

// The volume in percent that a pair of raw values stands for: the louder channel's.
std::int32_t PercentOfRaw(const TMixerVolume& Raw) {
  const std::int32_t louder = MaxOf(AsSigned(Raw.Left()), AsSigned(Raw.Right()));
  return static_cast<std::int32_t>(RoundedQuotient(louder * FullPercent, FullRaw));  // within +-3276800
}

}  // namespace

TMixerCtrl* TMixerItem::VolumeCtrl() const { return CtrlOfType(TMixerControlTypes{ctVolume}, 0); }

TMixerCtrl* TMixerItem::MuteCtrl() const { return CtrlOfType(TMixerControlTypes{ctMute}, 0); }

TMixerVolume TMixerItem::GetRawVolume() {
  TMixerVolume result;
  TMixerCtrl* ctrl = VolumeCtrl();
  if (ctrl == nullptr) return result;
  const std::uint32_t n = GetDetailsLength(ctrl);
  if (n == 0) return result;
  const auto values = DetailArray<MIXERCONTROLDETAILS_UNSIGNED>(ctrl, n);
  GetUnsigned(ctrl, values.Data(), n);
  result.Left() = values[0].dwValue;
  if (n >= 2) result.Right() = values[1].dwValue;
  return result;
}

void TMixerItem::SetRawVolume(TMixerVolume Value) {
  TMixerCtrl* ctrl = VolumeCtrl();
  if (ctrl == nullptr) return;
  const std::uint32_t n = GetDetailsLength(ctrl);
  if (n == 0) return;
  const auto values = DetailArray<MIXERCONTROLDETAILS_UNSIGNED>(ctrl, n);
  // Channels beyond the first two keep what the device has.
  if (n > 2) GetUnsigned(ctrl, values.Data(), n);
  values[0].dwValue = FullRawAtMost(Value.Left());
  if (n >= 2) values[1].dwValue = FullRawAtMost(Value.Right());
  SetUnsigned(ctrl, values.Data(), n);
}

float TMixerItem::CalcBalance(std::uint32_t Left, std::uint32_t Right) const {
  if (FChannel == 1) return FBalance;
  // Summed in 64 bits: two out-of-range driver values must not wrap into a small sum.
  if (static_cast<std::uint64_t>(Left) + Right < MinRatioSum) return FBalance;
  if (Left == 0) return RightOnly;
  if (Right == 0) return 0.0f;
  return StoredFloat(StoredDouble(static_cast<double>(Right) / static_cast<double>(Left)));
}

TMixerVolume TMixerItem::UpdateBalance() {
  const TMixerVolume raw = GetRawVolume();
  const float ratio = CalcBalance(raw.Left(), raw.Right());
  const double current = FBalance;
  if (StoredDouble(std::fabs(StoredDouble(current - ratio))) > StoredDouble(RatioTolerance * current)) FBalance = ratio;
  return raw;
}

std::int32_t TMixerItem::GetVolume() {
  if (VolumeCtrl() == nullptr) return -1;
  // The option is read at each access, so a client may switch it at any time.
  const bool keepRatio = Device()->Mixer()->Options().Contains(moNoBalanceAutoUpdate);
  const TMixerVolume raw = keepRatio ? GetRawVolume() : UpdateBalance();
  return PercentOfRaw(raw);
}

TMixerVolume TMixerItem::CalcRawVolume(std::uint32_t Percent) const {
  // Only outsized percentages from SetVolumeEx reach the limit.
  const auto m = static_cast<std::uint32_t>(std::min<std::int64_t>(RoundedQuotient(Percent * FullRaw, FullPercent),
                                                                   std::numeric_limits<std::uint32_t>::max()));
  TMixerVolume result;
  if (FChannel < 2) {
    result.Left() = m;
    return result;
  }
  if (m == 0) return result;
  // The louder channel gets the full value; the other follows the ratio.
  const double ratio = FBalance;
  if (ratio > 1.0) {
    result.Left() = RoundToUInt32(StoredDouble(m / ratio));
    result.Right() = m;
  } else {
    result.Left() = m;
    result.Right() = RoundToUInt32(StoredDouble(m * ratio));
  }
  return result;
}

void TMixerItem::SetVolume(std::int32_t Value) {
  const auto percent = static_cast<std::uint32_t>(std::clamp<std::int64_t>(Value, 0, FullPercent));
  const TMixerVolume target = CalcRawVolume(percent);
  const TMixerVolume current = GetRawVolume();
  if (target.Left() != current.Left() || target.Right() != current.Right()) SetRawVolume(target);
}

std::int32_t TMixerItem::GetBalance() {
  const double ratio = FBalance;
  const double sum = StoredDouble(ratio + 1.0);
  // Only a ratio of exactly -1, stored from outside, has no balance.
  if (sum == 0.0) return 0;
  return RoundToInt32(StoredDouble(StoredDouble(ratio / sum) * static_cast<double>(FullPercent)));
}

void TMixerItem::SetBalance(std::int32_t Value) {
  const std::int32_t level = GetVolume();
  if (Value <= 0)
    FBalance = 0.0f;
  else if (Value >= FullPercent)
    FBalance = RightOnly;
  else
    FBalance = StoredFloat(StoredDouble(static_cast<double>(Value) / static_cast<double>(FullPercent - Value)));
  SetVolume(level);
}

bool TMixerItem::SetVolumeEx(std::int32_t Step, std::int32_t Value) {
  const std::int32_t current = PercentOfRaw(GetRawVolume());
  if (current == Value) return false;
  // The distance times Step is a 32-bit signed product; it is formed in
  // unsigned arithmetic so that an outsized Step wraps instead of overflowing.
  const std::int64_t distance = std::llabs(static_cast<long long>(current) - Value);
  const std::uint32_t wrapped =
      static_cast<std::uint32_t>(static_cast<std::uint64_t>(distance) * static_cast<std::uint32_t>(Step));
  const std::int32_t product = AsSigned(wrapped);
  const std::int64_t step = RoundedQuotient(product, StepDivisor) + 1;
  std::int64_t next;
  if (current < Value) {
    next = current + step;
    if (next > Value) next = Value;
  } else {
    next = current - step;
    if (next < Value) next = Value;
  }
  // The percentage parameter is unsigned 32-bit; what lies outside 0 to 100 only arises from outsized arguments.
  SetRawVolume(CalcRawVolume(static_cast<std::uint32_t>(next)));
  return true;
}

bool TMixerItem::GetMute() {
  TMixerCtrl* ctrl = MuteCtrl();
  if (ctrl == nullptr) return false;
  MIXERCONTROLDETAILS_BOOLEAN value{};
  GetBoolean(ctrl, &value, 1);
  return value.fValue != 0;
}

void TMixerItem::SetMute(bool Value) {
  TMixerCtrl* ctrl = MuteCtrl();
  if (ctrl == nullptr) return;
  MIXERCONTROLDETAILS_BOOLEAN value{};
  GetBoolean(ctrl, &value, 1);
  if ((value.fValue != 0) == Value) return;
  value.fValue = Value ? 1 : 0;
  SetBoolean(ctrl, &value, 1);
}
