// A mixer line: its snapshot from the scan, the walk over its run of controls
// in the device's control list, and the typed control-detail accessors.
#include "mixers/MixerItem.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "mixers/Mixer.h"
#include "mixers/MixerDev.h"

namespace {

constexpr std::uint64_t MaxDetailsBytes = std::numeric_limits<std::uint32_t>::max();

// Every request names the object by the device's open handle.
constexpr DWORD DetailsFlags = MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE;
constexpr DWORD ListTextFlags = MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_LISTTEXT;
constexpr DWORD SetDetailsFlags = MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE;

// The element count of a request for Control on a line of Channel channels:
// its channels (1 when uniform) times its items (when multiple), formed in 64
// bits because driver-reported item counts are 32 bits wide. A multiple-item
// control that reports no items has a count of 0, and a request of 0 elements
// is never sent: the system would read its item count of 0 as "not a
// multiple-item control" and move one element per channel.
std::uint64_t DetailsCount(const TMixerCtrl* Control, std::uint8_t Channel) {
  const std::uint64_t channels = Control->Status().Contains(csUniform) ? 1 : Channel;
  const std::uint64_t items = Control->Status().Contains(csMultiple) ? Control->MultipleItems() : 1;
  return channels * items;
}

}  // namespace

TMixerItem::TMixerItem(TMixerDev* AMixerDev, const MIXERLINEW& Line, TMixerItem* DestItem, std::uint32_t DestNum,
                       TMixerOptions Options)
    : FMixerDev(AMixerDev), FDestItem(DestItem) {
  FCtrlIndex = -1;
  FBalance = 1.0f;
  FLineID = Line.dwLineID;
  FLineType = LineTypeOfComponentType(Line.dwComponentType);
  FChannel = static_cast<std::uint8_t>(Line.cChannels & 0xFFu);
  if (!Options.Contains(moNoLineName)) NameFieldToText(Line.szName, FName);
  if (!Options.Contains(moNoLineShortName)) NameFieldToText(Line.szShortName, FShortName);
  if (!Options.Contains(moNoTargetName)) NameFieldToText(Line.Target.szPname, FTargetName);
  FTargetType = Line.Target.dwType;
  FDestNum = DestNum;
}

TMixerItem::~TMixerItem() = default;

TMixerLineType TMixerItem::GetDestType() { return FDestItem != nullptr ? FDestItem->FLineType : FLineType; }

int TMixerItem::Count() const {
  if (!HasCtrl() || FCtrlIndex >= FMixerDev->CtrlCount()) return 0;
  int i = FCtrlIndex;
  while (i < FMixerDev->CtrlCount()) {
    const TMixerCtrl* ctrl = FMixerDev->GetCtrl(i);
    if (ctrl == nullptr || ctrl->Parent() != this) break;
    ++i;
  }
  return i - FCtrlIndex;
}

int TMixerItem::IndexOf(const TMixerCtrl* Ctrl) const {
  const int count = Count();
  for (int i = 0; i < count; ++i)
    if (FMixerDev->GetCtrl(FCtrlIndex + i) == Ctrl) return i;
  return -1;
}

TMixerCtrl* TMixerItem::CtrlOfType(TMixerControlTypes ControlTypes, int Start) const {
  if (!HasCtrl()) return nullptr;
  const int count = FMixerDev->CtrlCount();
  // Widened so that an index near the top of int cannot overflow.
  for (long long i = static_cast<long long>(FCtrlIndex) + Start; i >= 0 && i < count; ++i) {
    TMixerCtrl* ctrl = FMixerDev->GetCtrl(static_cast<int>(i));
    if (ctrl == nullptr || ctrl->Parent() != this) break;
    if (ControlTypes.Contains(ctrl->ControlType())) return ctrl;
  }
  return nullptr;
}

TMixerCtrl* TMixerItem::CtrlOfTypeNext(const TMixerCtrl* PrevCtrl) const {
  if (PrevCtrl == nullptr) return nullptr;
  const int index = IndexOf(PrevCtrl);
  if (index < 0) return nullptr;
  return CtrlOfType(TMixerControlTypes{PrevCtrl->ControlType()}, index + 1);
}

TMixerMultipleItems* TMixerItem::MultipleItems() {
  if (!FMultipleItems) CreateMultipleItems();
  return FMultipleItems.get();
}

void TMixerItem::CreateMultipleItems() {
  // Only MultipleItems calls this, and only while no view exists: there is no
  // old view to free first.
  const int count = Count();
  for (int i = 0; i < count; ++i) {
    TMixerCtrl* ctrl = FMixerDev->GetCtrl(FCtrlIndex + i);
    if (ctrl->Status().Contains(csMultiple)) {
      FMultipleItems = std::make_unique<TMixerMultipleItems>(this);
      FMultipleItems->SetCtrl(ctrl);
      return;
    }
  }
}

bool TMixerItem::DetailsFit(std::uint64_t Count, std::uint32_t ElementSize) {
  // Count is at most 255 x (2^32 - 1), so the product cannot wrap 64 bits for any real element size.
  return Count <= MaxDetailsBytes && Count * ElementSize <= MaxDetailsBytes;
}

std::uint32_t TMixerItem::GetDetailsLength(const TMixerCtrl* Control) {
  // Saturating keeps an absurd driver count absurd instead of wrapping it
  // into a small one that would size a short array.
  const std::uint64_t n = DetailsCount(Control, FChannel);
  return n > MaxDetailsBytes ? std::numeric_limits<std::uint32_t>::max() : static_cast<std::uint32_t>(n);
}

std::uint64_t TMixerItem::PrepareDetails(TMixerCtrl* Control, MIXERCONTROLDETAILS& Details) {
  if (Control->Parent() != this) MixerRefuse(Control);
  std::memset(&Details, 0, sizeof(Details));
  Details.cbStruct = sizeof(MIXERCONTROLDETAILS);
  Details.dwControlID = Control->ControlID();
  Details.cChannels = Control->Status().Contains(csUniform) ? 1 : FChannel;
  if (Control->Status().Contains(csMultiple)) Details.cMultipleItems = Control->MultipleItems();
  return DetailsCount(Control, FChannel);
}

std::uint64_t TMixerItem::CheckDetails(TMixerCtrl* Control, TMixerValueKind Kind, std::uint32_t Count,
                                       std::uint32_t ElementSize, MIXERCONTROLDETAILS& Details) {
  if (!ControlValueKinds(Control->ControlType()).Contains(Kind)) MixerRefuse(Control);
  // The caller's array is checked against what the system will move for the
  // request as sent. A request of no elements (no channel, or no items) is
  // not sent, and one whose byte size does not fit in 32 bits would wrap the
  // driver's size computation on a 32-bit system.
  const std::uint64_t n = PrepareDetails(Control, Details);
  if (n == 0 || !DetailsFit(n, ElementSize) || n > Count) MixerRefuse(Control);
  return n;
}

template <class T>
void TMixerItem::ReadDetails(TMixerCtrl* Control, TMixerValueKind Kind, T* Values, std::uint32_t Count, DWORD Flags) {
  MIXERCONTROLDETAILS details;
  CheckDetails(Control, Kind, Count, sizeof(T), details);
  std::fill_n(Values, Count, T{});
  details.cbDetails = sizeof(T);
  details.paDetails = Values;
  IWinmm* winmm = Device()->Mixer()->Platform().Winmm;
  MixerCheck(winmm->mixerGetControlDetailsW(reinterpret_cast<HMIXEROBJ>(Device()->Handle()), &details, Flags), true,
             Control);
}

template <class T>
void TMixerItem::WriteDetails(TMixerCtrl* Control, TMixerValueKind Kind, const T* Values, std::uint32_t Count) {
  MIXERCONTROLDETAILS details;
  CheckDetails(Control, Kind, Count, sizeof(T), details);
  details.cbDetails = sizeof(T);
  // The request's pointer is not const; a set call only reads through it.
  details.paDetails = const_cast<T*>(Values);
  IWinmm* winmm = Device()->Mixer()->Platform().Winmm;
  MixerCheck(winmm->mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(Device()->Handle()), &details, SetDetailsFlags),
             true, Control);
}

void TMixerItem::GetBoolean(TMixerCtrl* Control, MIXERCONTROLDETAILS_BOOLEAN* Values, std::uint32_t Count) {
  ReadDetails(Control, vkBoolean, Values, Count, DetailsFlags);
}

void TMixerItem::SetBoolean(TMixerCtrl* Control, const MIXERCONTROLDETAILS_BOOLEAN* Values, std::uint32_t Count) {
  WriteDetails(Control, vkBoolean, Values, Count);
}

void TMixerItem::GetSigned(TMixerCtrl* Control, MIXERCONTROLDETAILS_SIGNED* Values, std::uint32_t Count) {
  ReadDetails(Control, vkSigned, Values, Count, DetailsFlags);
}

void TMixerItem::SetSigned(TMixerCtrl* Control, const MIXERCONTROLDETAILS_SIGNED* Values, std::uint32_t Count) {
  WriteDetails(Control, vkSigned, Values, Count);
}

void TMixerItem::GetUnsigned(TMixerCtrl* Control, MIXERCONTROLDETAILS_UNSIGNED* Values, std::uint32_t Count) {
  ReadDetails(Control, vkUnsigned, Values, Count, DetailsFlags);
}

void TMixerItem::SetUnsigned(TMixerCtrl* Control, const MIXERCONTROLDETAILS_UNSIGNED* Values, std::uint32_t Count) {
  WriteDetails(Control, vkUnsigned, Values, Count);
}

void TMixerItem::GetListText(TMixerCtrl* Control, MIXERCONTROLDETAILS_LISTTEXTW* Values, std::uint32_t Count) {
  ReadDetails(Control, vkListText, Values, Count, ListTextFlags);
}

void TMixerItem::SetListText(TMixerCtrl* Control, MIXERCONTROLDETAILS_LISTTEXTW* Values, std::uint32_t Count) {
  // List texts cannot be written; the writer only clears the caller's array.
  if (!ControlValueKinds(Control->ControlType()).Contains(vkListText)) MixerRefuse(Control);
  std::fill_n(Values, Count, MIXERCONTROLDETAILS_LISTTEXTW{});
}
