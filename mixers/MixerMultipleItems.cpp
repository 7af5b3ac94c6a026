// The item list of a multiple-item control and the selection of
// single-selection controls, read from and written to the owning line.
#include <cstdint>

#include "mixers/DriverArray.h"
#include "mixers/Mixer.h"
#include "mixers/MixerCtrl.h"
#include "mixers/MixerDev.h"
#include "mixers/MixerItem.h"

namespace {

bool HasSelection(const TMixerCtrl* Control) {
  return Control != nullptr && (Control->ControlType() == ctMux || Control->ControlType() == ctSingleSelect);
}

}  // namespace

TMixerMultipleItems::TMixerMultipleItems(TMixerItem* AOwner) : FItem(AOwner) {}

TMixerMultipleItems::~TMixerMultipleItems() = default;

void TMixerMultipleItems::ClearList() { FList.clear(); }

void TMixerMultipleItems::LoadList() {
  ClearList();
  if (FControl == nullptr) return;
  const std::uint32_t n = FItem->GetDetailsLength(FControl);
  if (n == 0) return;
  // A list the driver claims but memory cannot hold stays empty.
  TDriverArray<MIXERCONTROLDETAILS_LISTTEXTW> entries;
  if (!entries.Allocate(n)) return;
  FItem->GetListText(FControl, entries.Data(), n);
  FList.resize(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    NameFieldToText(entries[i].szName, FList[i].Name);
    FList[i].Param1 = entries[i].dwParam1;
    FList[i].Param2 = entries[i].dwParam2;
  }
}

void TMixerMultipleItems::SetCtrl(TMixerCtrl* Value) {
  FControl = Value;
  LoadList();
}

int TMixerMultipleItems::IndexOfParam1(std::uint32_t Param) const {
  for (std::size_t i = 0; i < FList.size(); ++i)
    if (FList[i].Param1 == Param) return static_cast<int>(i);
  return -1;
}

int TMixerMultipleItems::IndexOfParam2(std::uint32_t Param) const {
  for (std::size_t i = 0; i < FList.size(); ++i)
    if (FList[i].Param2 == Param) return static_cast<int>(i);
  return -1;
}

int TMixerMultipleItems::IndexOfName(const String& Name) const {
  if (FList.empty() || FItem == nullptr || FItem->Device() == nullptr || FItem->Device()->Mixer() == nullptr) return -1;
  IMixerKernel32* kernel32 = FItem->Device()->Mixer()->Platform().Kernel32;
  if (kernel32 == nullptr) return -1;
  for (std::size_t i = 0; i < FList.size(); ++i) {
    const String& itemName = FList[i].Name;
    if (kernel32->CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, itemName.c_str(),
                                 static_cast<int>(itemName.size()), Name.c_str(),
                                 static_cast<int>(Name.size())) == CSTR_EQUAL)
      return static_cast<int>(i);
  }
  return -1;
}

TMixerItem* TMixerMultipleItems::MixerItemOfIndex(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  TMixerDev* device = FItem->Device();
  if (device == nullptr) return nullptr;
  return device->ItemOfLineID(FList[static_cast<std::size_t>(Index)].Param1);
}

int TMixerMultipleItems::GetSelectedIndex() const {
  if (!HasSelection(FControl)) return -1;
  const std::uint32_t n = FItem->GetDetailsLength(FControl);
  if (n == 0) return -1;
  const auto values = DetailArray<MIXERCONTROLDETAILS_BOOLEAN>(FControl, n);
  FItem->GetBoolean(FControl, values.Data(), n);
  for (std::uint32_t i = 0; i < n; ++i)
    if (values[i].fValue != 0) return static_cast<int>(i);
  return -1;
}

void TMixerMultipleItems::SetSelectedIndex(int Value) {
  if (!HasSelection(FControl)) return;
  const std::uint32_t n = FItem->GetDetailsLength(FControl);
  if (n == 0) return;
  const auto values = DetailArray<MIXERCONTROLDETAILS_BOOLEAN>(FControl, n);
  FItem->GetBoolean(FControl, values.Data(), n);
  // Every entry the device reported can be selected, however long the list.
  if (Value < 0 || static_cast<std::uint32_t>(Value) >= n) return;
  const auto selected = static_cast<std::uint32_t>(Value);
  if (values[selected].fValue != 0) return;
  for (std::uint32_t i = 0; i < n; ++i) values[i].fValue = i == selected ? 1 : 0;
  FItem->SetBoolean(FControl, values.Data(), n);
}

TMixerItem* TMixerMultipleItems::GetSelectedItem() const {
  const int i = GetSelectedIndex();
  if (i < 0 || i >= Count()) return nullptr;
  return MixerItemOfIndex(i);
}

void TMixerMultipleItems::SetSelectedItem(TMixerItem* Value) {
  int cur = GetSelectedIndex();
  if (cur < 0) return;
  if (Value == nullptr) return;
  const int wanted = IndexOfParam1(Value->LineId());
  if (wanted == -1) return;
  if (cur >= Count()) {
    // The device lists more entries than were loaded: the list is stale.
    LoadList();
    cur = GetSelectedIndex();
    if (cur < 0 || cur >= Count()) return;
  }
  if (wanted != cur) SetSelectedIndex(wanted);
}
