#include "mixers/MixerDev.h"

#include <utility>

#include "mixers/Mixer.h"

TMixerDev::TMixerDev(TMixer* AMixer, HMIXER Handle, const MIXERCAPSW& MixerCaps, TMixerOptions Options)
    : FMixer(AMixer) {
  if (!Options.Contains(moNoDeviceName)) NameFieldToText(MixerCaps.szPname, FName);
  // Last, after everything that can fail: a constructor that throws has not
  // taken the handle, and whoever gave it still closes it.
  FHandle = TMixer::TakeHandle(AMixer, Handle);
}

TMixerDev::~TMixerDev() {
  Clear();
  // Nothing can be done about a device that refuses to close.
  FHandle.Reset();
}

TMixerItem* TMixerDev::GetItem(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return ItemList[static_cast<std::size_t>(Index)].get();
}

TMixerCtrl* TMixerDev::GetCtrl(int Index) const {
  if (Index < 0 || Index >= CtrlCount()) return nullptr;
  return CtrlList[static_cast<std::size_t>(Index)].get();
}

void TMixerDev::Clear() {
  // Lines go before the controls they refer to. Each entry is emptied before
  // its object dies, so a destructor that looks back at the lists finds no
  // dangling entry.
  for (std::unique_ptr<TMixerItem>& entry : ItemList) {
    std::unique_ptr<TMixerItem> item = std::move(entry);
    item.reset();
  }
  ItemList.clear();
  for (std::unique_ptr<TMixerCtrl>& entry : CtrlList) {
    std::unique_ptr<TMixerCtrl> ctrl = std::move(entry);
    ctrl.reset();
  }
  CtrlList.clear();
}

int TMixerDev::IndexOf(const TMixerItem* Item) const {
  for (int i = 0; i < Count(); ++i)
    if (ItemList[static_cast<std::size_t>(i)].get() == Item) return i;
  return -1;
}

namespace {

// The first line from position Start on that Matches; null when Start is negative or none does.
template <class Match>
TMixerItem* FirstItem(const std::vector<std::unique_ptr<TMixerItem>>& Items, int Start, Match Matches) {
  if (Start < 0) return nullptr;
  for (std::size_t i = static_cast<std::size_t>(Start); i < Items.size(); ++i)
    if (Matches(*Items[i])) return Items[i].get();
  return nullptr;
}

}  // namespace

TMixerItem* TMixerDev::ItemOfType(TMixerLineType LineType, int Start) const {
  return FirstItem(ItemList, Start, [LineType](const TMixerItem& Item) { return Item.LineType() == LineType; });
}

TMixerItem* TMixerDev::ItemOfTypeNext(const TMixerItem* PrevItem) const {
  const int index = PrevItem != nullptr ? IndexOf(PrevItem) : -1;
  return index >= 0 ? ItemOfType(PrevItem->LineType(), index + 1) : nullptr;
}

TMixerItem* TMixerDev::ItemOfName(const String& Name, int Start) const {
  return FirstItem(ItemList, Start, [&Name](const TMixerItem& Item) { return Item.Name() == Name; });
}

TMixerItem* TMixerDev::ItemOfNameNext(const TMixerItem* PrevItem) const {
  const int index = PrevItem != nullptr ? IndexOf(PrevItem) : -1;
  return index >= 0 ? ItemOfName(PrevItem->Name(), index + 1) : nullptr;
}

TMixerItem* TMixerDev::ItemOfLineID(std::uint32_t LineID) const {
  return FirstItem(ItemList, 0, [LineID](const TMixerItem& Item) { return Item.LineId() == LineID; });
}

TMixerCtrl* TMixerDev::CtrlOfControlID(std::uint32_t ControlID) const {
  for (int i = 0; i < CtrlCount(); ++i) {
    TMixerCtrl* ctrl = CtrlList[static_cast<std::size_t>(i)].get();
    if (ctrl->ControlID() == ControlID) return ctrl;
  }
  return nullptr;
}

TMixerItem* TMixerDev::AddItem(const MIXERLINEW& Line, TMixerItem* DestItem, std::uint32_t DestNum,
                               TMixerOptions Options) {
  ItemList.push_back(FMixer->CreateItem(this, Line, DestItem, DestNum, Options));
  return ItemList.back().get();
}

int TMixerDev::AddCtrl(const MIXERCONTROLW& Control, TMixerOptions Options, TMixerItem* Item) {
  CtrlList.push_back(FMixer->CreateCtrl(Item, Control, Options));
  return CtrlCount() - 1;
}

int TMixerDev::DeleteItem(TMixerItem* Item) {
  const int index = IndexOf(Item);
  if (index < 0) return -1;
  std::unique_ptr<TMixerItem> item = std::move(ItemList[static_cast<std::size_t>(index)]);
  ItemList.erase(ItemList.begin() + index);
  item.reset();
  return index;
}
