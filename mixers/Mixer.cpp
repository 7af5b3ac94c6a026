#include "mixers/Mixer.h"

#include <utility>

#include "mixers/MixerNotifyWindow.h"

TMixer::TMixer(const TMixerPlatform& Platform)
    : FPlatform(Platform),
      FTarget(std::make_unique<TMixerTarget>()),
      FPendingHandle(TMixerHandleClose{Platform.Winmm}) {
  FTarget->SetLineType(TMixerTarget::DefaultLineType);
  FTarget->SetControlType(TMixerTarget::DefaultControlType);
}

TMixer::~TMixer() {
  // The devices go first: their handles may still post to the window.
  Clear();
  FTarget.reset();
  FNotifyWindow.reset();
}

std::unique_ptr<TMixerTarget> TMixer::SetTarget(std::unique_ptr<TMixerTarget> Value) {
  std::swap(FTarget, Value);
  return Value;
}

TMixerDev* TMixer::GetDevice(int Index) const {
  if (Index < 0 || static_cast<std::size_t>(Index) >= DevList.size()) return nullptr;
  return DevList[static_cast<std::size_t>(Index)].get();
}

TMixerDev* TMixer::GetPrimaryDevice() const {
  if (GetCount() <= 0 || DevList.empty()) return nullptr;
  return DevList.front().get();
}

int TMixer::GetCount() const { return static_cast<int>(DevList.size()); }

TMixerItem* TMixer::GetMaster() const {
  // Resolved on every use: a subclass may answer another primary device.
  TMixerDev* primary = GetPrimaryDevice();
  return primary != nullptr ? primary->ItemOfType(dtSpeakers, 0) : nullptr;
}

std::int32_t TMixer::GetMasterVolume() const {
  TMixerItem* master = GetMaster();
  return master != nullptr ? master->GetVolume() : -1;
}

void TMixer::SetMasterVolume(std::int32_t Value) {
  if (TMixerItem* master = GetMaster()) master->SetVolume(Value);
}

bool TMixer::GetMasterMute() const {
  TMixerItem* master = GetMaster();
  return master != nullptr && master->GetMute();
}

void TMixer::SetMasterMute(bool Value) {
  if (TMixerItem* master = GetMaster()) master->SetMute(Value);
}

void TMixer::Clear() {
  for (std::unique_ptr<TMixerDev>& entry : DevList) {
    std::unique_ptr<TMixerDev> dev = std::move(entry);
    // A destructor only reaches its own class's Clear; a descendant's override
    // runs here, while the device is whole and its handle still open.
    if (dev) dev->Clear();
    dev.reset();
  }
  DevList.clear();
}

TMixerDev* TMixer::DevOfHandle(HMIXER Handle) const {
  for (const std::unique_ptr<TMixerDev>& dev : DevList)
    if (dev->Handle() == Handle) return dev.get();
  return nullptr;
}

TMixerDev* TMixer::DevOfName(const String& Name) const {
  for (const std::unique_ptr<TMixerDev>& dev : DevList)
    if (dev->Name() == Name) return dev.get();
  return nullptr;
}

TMixerDev* TMixer::AddDev(HMIXER Handle, const MIXERCAPSW& MixerCaps, TMixerOptions Options) {
  DevList.push_back(CreateDev(Handle, MixerCaps, Options));
  return DevList.back().get();
}

TMixerHandle TMixer::TakeHandle(TMixer* Mixer, HMIXER Handle) {
  if (Mixer == nullptr) return TMixerHandle(Handle, TMixerHandleClose{nullptr});
  if (Mixer->FPendingHandle && Mixer->FPendingHandle.Get() == Handle) return std::move(Mixer->FPendingHandle);
  return TMixerHandle(Handle, TMixerHandleClose{Mixer->FPlatform.Winmm});
}

std::unique_ptr<TMixerDev> TMixer::CreateDev(HMIXER Handle, const MIXERCAPSW& MixerCaps, TMixerOptions Options) {
  return std::make_unique<TMixerDev>(this, Handle, MixerCaps, Options);
}

std::unique_ptr<TMixerItem> TMixer::CreateItem(TMixerDev* AMixerDev, const MIXERLINEW& Line, TMixerItem* DestItem,
                                               std::uint32_t DestNum, TMixerOptions Options) {
  return std::make_unique<TMixerItem>(AMixerDev, Line, DestItem, DestNum, Options);
}

std::unique_ptr<TMixerCtrl> TMixer::CreateCtrl(TMixerItem* Item, const MIXERCONTROLW& Control, TMixerOptions Options) {
  std::unique_ptr<TMixerCtrl> ctrl = std::make_unique<TMixerCtrl>(Control, Options);
  ctrl->FParent = Item;
  return ctrl;
}
