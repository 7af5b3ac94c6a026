// The mixer library over a driver whose every answer comes from the fuzzer
// (FuzzWinmm.h), used as a client would use it: scans, the tree's lookups,
// levels, mute, list items and their selection, the detail accessors with
// arrays sized by GetDetailsLength, and change notifications delivered
// through the library's own window. After every scan the tree must hold
// together, and once the mixer is gone every handle it opened must have been
// closed exactly once.
//
// EMixerError is an accessor's way of saying no; any other exception, a
// sanitizer report or a broken rule is a finding.
#include <cstdint>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <new>
#include <set>
#include <string>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "fuzz/FuzzInput.h"
#include "fuzz/FuzzSystem.h"
#include "fuzz/FuzzWinmm.h"
#include "mixers/Mixers.h"
#include "sim/SimHeap.h"

namespace {

// The operations of the plan stream, one byte each (taken modulo the count).
enum TOperation : std::uint8_t {
  opWalk,    // every line of every device, with all operations below
  opLine,    // one line (arguments: device, line)
  opNotify,  // a message to the library's window (see Notify)
  opScan,    // scans again
  opClear,
  opCallbackWindow,  // the client's own window, or none, for the next scan
  opOptions,         // 16 bits of options
  opTarget,          // line and control types
  opInvalidItems,    // EnableInvalidItem
  opMaster,          // the master line's shortcuts
  opMute,            // the program's mute: every line type, mute controls only, then every mute set
  opSetTarget,       // a new filter object, or none
  opScanShort,       // scans with memory running out after as many allocations as the argument byte says
  OperationCount
};

// The client's settings, from the first plan byte.
enum : std::uint8_t {
  cfNoUser32 = 1,      // no window functions: no notifications
  cfNoKernel32 = 2,    // no kernel functions: list items are not found by name
  cfClientWindow = 4,  // the client names its own window before the first scan
  cfInvalidItems = 8,  // EnableInvalidItem
  cfEveryType = 16,    // every line type and every control type instead of the defaults
  cfOptions = 32,      // 16 bits of options follow in the arguments
};

// Lookups that walk a line's run or a device's list are checked for the first
// controls and the last one only: drivers may report tens of thousands of
// controls, and checking every one with a walk would take quadratic time.
constexpr int Sampled = 4;

bool IsSampled(int Index, int Count) { return Index < Sampled || Index == Count - 1; }

std::string Escaped(const char* What, const std::exception& e) {
  return std::string(What) + " let " + e.what() + " escape";
}

// Runs a library call; any exception but EMixerError is a finding, and
// EMixerError too unless it is allowed.
template <class F>
void Guarded(bool MixerErrorAllowed, const char* What, F&& Op) {
  try {
    Op();
  } catch (const EMixerError& e) {
    if (!MixerErrorAllowed) Finding(Escaped(What, e));
  } catch (const std::exception& e) {
    Finding(Escaped(What, e));
  } catch (...) {
    Finding(std::string(What) + " let an unknown exception escape");
  }
}

// An accessor: EMixerError is its way of saying no.
template <class F>
void Call(const char* What, F&& Op) {
  Guarded(true, What, Op);
}

// A call that has no reason to raise at all.
template <class F>
void Strict(const char* What, F&& Op) {
  Guarded(false, What, Op);
}

std::int32_t Int(TFuzzStream& In) {
  // Percentages and their edges, or any 32-bit value.
  static const std::int32_t Table[16] = {0,  1,  50, 99,  100,  101,   -1,         -100,
                                         25, 75, 49, 200, 1000, 65535, 2147483647, -2147483647 - 1};
  const std::uint8_t b = In.Byte();
  if (b < 0xF0) return b < 0x80 ? Table[b & 15] : static_cast<std::int32_t>(b - 0x80);
  return static_cast<std::int32_t>(In.Dword());
}

class TClient {
 public:
  TClient(TFuzzInput& Input, TFuzzWinmm& Winmm, TFuzzUser32& User32, TMixer& Mixer)
      : P(Input[siPlan]), A(Input[siArgs]), FWinmm(Winmm), FUser32(User32), FMixer(Mixer) {}

  void Run(std::uint8_t Config);

 private:
  void Scan();
  void CheckTree();
  void CheckDevice(TMixerDev* Dev);
  void Walk();
  void WalkLine(TMixerDev* Dev, TMixerItem* Item);
  void Levels(TMixerItem* Item);
  void Details(TMixerItem* Item, TMixerCtrl* Ctrl);
  template <class T, class Get, class Set>
  void Values(const char* Name, TMixerItem* Item, TMixerCtrl* Ctrl, std::uint32_t Count, Get GetFn, Set SetFn);
  void ListItems(TMixerDev* Dev, TMixerItem* Item);
  void Notify();
  void OnLine(TMixer* Sender, TMixerDev* Dev, TMixerItem* Item);
  void OnControl(TMixer* Sender, TMixerDev* Dev, TMixerItem* Item, TMixerCtrl* Ctrl);
  TMixerDev* PickDevice();
  TMixerItem* PickLine(TMixerDev* Dev);

  TFuzzStream& P;
  TFuzzStream& A;
  TFuzzWinmm& FWinmm;
  TFuzzUser32& FUser32;
  TMixer& FMixer;

  // The notification being delivered, for the events to be checked against.
  struct {
    bool Active = false;
    UINT Msg = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
  } FSending;
};

void TClient::Scan() {
  Strict("TMixer::Scan", [&] { FMixer.Scan(); });
  CheckTree();
}

void TClient::CheckTree() {
  std::set<HMIXER> handles;
  const int count = FMixer.GetCount();
  Check(count >= 0, "a negative device count");
  for (int i = 0; i < count; ++i) {
    TMixerDev* dev = FMixer.GetDevice(i);
    Check(dev != nullptr, "a missing device");
    Check(handles.insert(dev->Handle()).second, "two devices share a handle");
    CheckDevice(dev);
  }
  Check(FMixer.GetDevice(-1) == nullptr && FMixer.GetDevice(count) == nullptr, "a device outside the list");
  Check(count == 0 ? FMixer.GetPrimaryDevice() == nullptr : FMixer.GetPrimaryDevice() == FMixer.GetDevice(0),
        "the primary device is not the first");
  if (TMixerItem* master = FMixer.GetMaster())
    Check(master->Device() == FMixer.GetDevice(0) && master->LineType() == dtSpeakers,
          "the master line is not a speakers line of the primary device");
  // Every handle open at the driver belongs to a device of the tree: none leaked.
  const std::vector<HMIXER> open = FWinmm.OpenHandles();
  Check(std::set<HMIXER>(open.begin(), open.end()) == handles, "an open handle that no device holds");
}

void TClient::CheckDevice(TMixerDev* Dev) {
  Check(Dev->Mixer() == &FMixer, "a device of another mixer");
  Check(FWinmm.IsOpen(Dev->Handle()), "a device whose handle is not open");
  Check(FMixer.DevOfHandle(Dev->Handle()) == Dev, "DevOfHandle misses its device");
  const TMixerDev* named = FMixer.DevOfName(Dev->Name());
  Check(named != nullptr && named->Name() == Dev->Name(), "DevOfName misses its device");

  const int lines = Dev->Count();
  const int controls = Dev->CtrlCount();
  Check(lines >= 0 && controls >= 0, "a negative count");
  int inRuns = 0;
  std::map<const TMixerItem*, int> runs;  // each line's run length
  for (int j = 0; j < lines; ++j) {
    TMixerItem* item = Dev->GetItem(j);
    Check(item != nullptr, "a missing line");
    Check(item->Device() == Dev, "a line of another device");
    Check(Dev->IndexOf(item) == j, "IndexOf misses its line");
    if (TMixerItem* dest = item->DestItem()) {
      const int d = Dev->IndexOf(dest);
      Check(d >= 0 && d < j, "a DestItem that is not an earlier line of the device");
      Check(dest->IsDestination(), "a DestItem that is a source");
      Check(dest->DestNum() == item->DestNum(), "a source and its DestItem differ in DestNum");
    }
    Check(item->GetDestType() == (item->DestItem() != nullptr ? item->DestItem()->LineType() : item->LineType()),
          "DestType is not the destination's line type");

    const int run = item->Count();
    if (!item->HasCtrl()) {
      Check(item->CtrlIndex() == -1 && run == 0, "a line without controls has a run");
    } else {
      Check(item->CtrlIndex() < controls && run >= 1, "a line's run starts outside the control list");
      for (int k = 0; k < run; ++k) {
        TMixerCtrl* ctrl = Dev->GetCtrl(item->CtrlIndex() + k);
        Check(ctrl->Parent() == item, "a line's run holds a control of another line");
        if (IsSampled(k, run)) Check(item->IndexOf(ctrl) == k, "IndexOf misses a control of the run");
      }
      Check(item->CtrlOfType(TMixerControlTypes::Range(ctCustom, ctUnknown), 0) == Dev->GetCtrl(item->CtrlIndex()),
            "CtrlOfType misses the run's first control");
    }
    inRuns += run;
    runs[item] = run;
    if (TMixerCtrl* volume = item->VolumeCtrl())
      Check(volume->Parent() == item && volume->ControlType() == ctVolume, "VolumeCtrl is not a volume of the line");
    if (TMixerCtrl* mute = item->MuteCtrl())
      Check(mute->Parent() == item && mute->ControlType() == ctMute, "MuteCtrl is not a mute of the line");

    const TMixerItem* byId = Dev->ItemOfLineID(item->LineId());
    Check(byId != nullptr && byId->LineId() == item->LineId() && Dev->IndexOf(byId) <= j, "ItemOfLineID misses");
    const TMixerItem* byType = Dev->ItemOfType(item->LineType(), 0);
    Check(byType != nullptr && byType->LineType() == item->LineType() && Dev->IndexOf(byType) <= j,
          "ItemOfType misses");
    if (const TMixerItem* next = Dev->ItemOfTypeNext(item))
      Check(next->LineType() == item->LineType() && Dev->IndexOf(next) > j, "ItemOfTypeNext goes wrong");
    const TMixerItem* byName = Dev->ItemOfName(item->Name(), 0);
    Check(byName != nullptr && byName->Name() == item->Name() && Dev->IndexOf(byName) <= j, "ItemOfName misses");
    if (const TMixerItem* next = Dev->ItemOfNameNext(item))
      Check(next->Name() == item->Name() && Dev->IndexOf(next) > j, "ItemOfNameNext goes wrong");
  }
  Check(Dev->GetItem(-1) == nullptr && Dev->GetItem(lines) == nullptr, "a line outside the list");

  for (int k = 0; k < controls; ++k) {
    TMixerCtrl* ctrl = Dev->GetCtrl(k);
    Check(ctrl != nullptr, "a missing control");
    TMixerItem* parent = ctrl->Parent();
    const auto run = runs.find(parent);
    Check(parent != nullptr && run != runs.end(), "a control whose Parent is not a line of its device");
    Check(parent->CtrlIndex() <= k && k < parent->CtrlIndex() + run->second,
          "a control outside its line's run: the runs are not contiguous");
    if (!IsSampled(k - parent->CtrlIndex(), run->second)) continue;
    const TMixerCtrl* byId = Dev->CtrlOfControlID(ctrl->ControlID());
    Check(byId != nullptr && byId->ControlID() == ctrl->ControlID(), "CtrlOfControlID misses");
    if (TMixerCtrl* next = parent->CtrlOfTypeNext(ctrl))
      Check(next->Parent() == parent && next->ControlType() == ctrl->ControlType() &&
                parent->IndexOf(next) > parent->IndexOf(ctrl),
            "CtrlOfTypeNext goes wrong");
  }
  Check(inRuns == controls, "a control in no line's run");
  Check(Dev->GetCtrl(-1) == nullptr && Dev->GetCtrl(controls) == nullptr, "a control outside the list");
}

TMixerDev* TClient::PickDevice() {
  const int count = FMixer.GetCount();
  const std::uint8_t b = A.Byte();
  return count > 0 ? FMixer.GetDevice(b % count) : nullptr;
}

TMixerItem* TClient::PickLine(TMixerDev* Dev) {
  const std::uint8_t b = A.Byte();
  if (Dev == nullptr || Dev->Count() == 0) return nullptr;
  return Dev->GetItem(b % Dev->Count());
}

void TClient::Walk() {
  for (int i = 0; i < FMixer.GetCount(); ++i) {
    TMixerDev* dev = FMixer.GetDevice(i);
    for (int j = 0; j < dev->Count(); ++j) WalkLine(dev, dev->GetItem(j));
  }
}

void TClient::WalkLine(TMixerDev* Dev, TMixerItem* Item) {
  Levels(Item);
  const int run = Item->Count();
  for (int k = 0; k < run; ++k)
    if (IsSampled(k, run)) Details(Item, Dev->GetCtrl(Item->CtrlIndex() + k));
  // A control of another line, which every accessor but SetListText must refuse.
  if (Dev->CtrlCount() > 0) {
    TMixerCtrl* other = Dev->GetCtrl(A.Byte() % Dev->CtrlCount());
    if (other->Parent() != Item) Details(Item, other);
  }
  ListItems(Dev, Item);
}

void TClient::Levels(TMixerItem* Item) {
  const bool hasVolume = Item->VolumeExists();
  const bool hasMute = Item->MuteExists();
  Call("GetVolume", [&] {
    const std::int32_t v = Item->GetVolume();
    Check(hasVolume || v == -1, "GetVolume of a line without a volume control is not -1");
  });
  Call("GetBalance", [&] { (void)Item->GetBalance(); });
  Call("GetMute", [&] { Check(Item->GetMute() == false || hasMute, "a line without a mute control is muted"); });
  Call("UpdateBalance", [&] { (void)Item->UpdateBalance(); });
  const std::int32_t volume = Int(A);
  Call("SetVolume", [&] { Item->SetVolume(volume); });
  const std::int32_t balance = Int(A);
  Call("SetBalance", [&] { Item->SetBalance(balance); });
  const std::int32_t step = Int(A);
  const std::int32_t target = Int(A);
  Call("SetVolumeEx", [&] { (void)Item->SetVolumeEx(step, target); });
  const bool mute = A.Flag();
  Call("SetMute", [&] { Item->SetMute(mute); });
  TMixerVolume raw;
  raw.Left() = A.Value();
  raw.Right() = A.Value();
  Call("SetRawVolume", [&] { Item->SetRawVolume(raw); });
  Call("GetRawVolume", [&] { (void)Item->GetRawVolume(); });
  if (A.Byte() >= 0xF0) {
    // Any ratio a client may store, not-a-number and infinities included.
    const std::uint32_t bits = A.Dword();
    float ratio;
    std::memcpy(&ratio, &bits, sizeof ratio);
    Item->SetRawBalance(ratio);
    Call("GetBalance", [&] { (void)Item->GetBalance(); });
    const std::int32_t again = Int(A);
    Call("SetVolume", [&] { Item->SetVolume(again); });
  }
}

template <class T, class Get, class Set>
void TClient::Values(const char* Name, TMixerItem* Item, TMixerCtrl* Ctrl, std::uint32_t Count, Get GetFn, Set SetFn) {
  // The array is exactly Count elements long, so any access beyond it is caught.
  std::unique_ptr<T[]> values(new (std::nothrow) T[Count]);
  if (!values) return;
  std::memset(values.get(), 0x5A, sizeof(T) * Count);
  Call(Name, [&] { (Item->*GetFn)(Ctrl, values.get(), Count); });
  if (Count > 0 && A.Flag()) {
    const std::uint32_t first = A.Value();
    std::memcpy(&values[0], &first, sizeof first);
  }
  Call(Name, [&] { (Item->*SetFn)(Ctrl, values.get(), Count); });
}

void TClient::Details(TMixerItem* Item, TMixerCtrl* Ctrl) {
  const std::uint32_t n = Item->GetDetailsLength(Ctrl);
  // Mostly the length the line gives, as the header advises; sometimes one
  // less, one more, or a small count of its own.
  std::uint32_t count = n;
  const std::uint8_t b = A.Byte();
  if (b >= 0xF0) {
    if ((b & 3) == 0 && n > 0) count = n - 1;
    if ((b & 3) == 1 && n < 0xFFFFFFFFu) count = n + 1;
    if ((b & 3) >= 2) count = b & 7;
  }
  if (TMixerItem::DetailsFit(count, sizeof(MIXERCONTROLDETAILS_BOOLEAN))) {
    Values<MIXERCONTROLDETAILS_BOOLEAN>("GetBoolean/SetBoolean", Item, Ctrl, count, &TMixerItem::GetBoolean,
                                        &TMixerItem::SetBoolean);
    Values<MIXERCONTROLDETAILS_SIGNED>("GetSigned/SetSigned", Item, Ctrl, count, &TMixerItem::GetSigned,
                                       &TMixerItem::SetSigned);
    Values<MIXERCONTROLDETAILS_UNSIGNED>("GetUnsigned/SetUnsigned", Item, Ctrl, count, &TMixerItem::GetUnsigned,
                                         &TMixerItem::SetUnsigned);
  }
  if (TMixerItem::DetailsFit(count, sizeof(MIXERCONTROLDETAILS_LISTTEXTW))) {
    std::unique_ptr<MIXERCONTROLDETAILS_LISTTEXTW[]> texts(new (std::nothrow) MIXERCONTROLDETAILS_LISTTEXTW[count]);
    if (texts) {
      Call("GetListText", [&] { Item->GetListText(Ctrl, texts.get(), count); });
      Call("SetListText", [&] { Item->SetListText(Ctrl, texts.get(), count); });
    }
  }
}

void TClient::ListItems(TMixerDev* Dev, TMixerItem* Item) {
  bool multiple = false;
  const int run = Item->Count();
  for (int k = 0; k < run && !multiple; ++k)
    multiple = Dev->GetCtrl(Item->CtrlIndex() + k)->Status().Contains(csMultiple);
  TMixerMultipleItems* list = nullptr;
  Call("MultipleItems", [&] { list = Item->MultipleItems(); });
  // A failed first load leaves the view in place with an empty list.
  Strict("MultipleItems", [&] { list = Item->MultipleItems(); });
  Check((list != nullptr) == multiple, "MultipleItems does not match the line's multiple-item controls");
  if (list == nullptr) return;

  TMixerCtrl* ctrl = list->Ctrl();
  const int count = list->Count();
  if (ctrl != nullptr)
    Check(count == 0 || static_cast<std::uint32_t>(count) == Item->GetDetailsLength(ctrl),
          "the list is neither empty nor as long as its control's details");
  for (int i = 0; i < count && i < 64; ++i) {
    const TMixerMultipleItemData& data = list->Data(i);
    const int p1 = list->IndexOfParam1(data.Param1);
    Check(p1 >= 0 && p1 <= i && list->Data(p1).Param1 == data.Param1, "IndexOfParam1 misses");
    const int p2 = list->IndexOfParam2(data.Param2);
    Check(p2 >= 0 && p2 <= i && list->Data(p2).Param2 == data.Param2, "IndexOfParam2 misses");
    const int named = list->IndexOfName(data.Name);
    if (FMixer.Platform().Kernel32 != nullptr) Check(named >= 0 && named <= i, "IndexOfName misses");
    if (TMixerItem* line = list->MixerItemOfIndex(i))
      Check(Dev->IndexOf(line) >= 0 && line->LineId() == data.Param1, "MixerItemOfIndex names a line it should not");
  }
  Check(list->MixerItemOfIndex(-1) == nullptr && list->MixerItemOfIndex(count) == nullptr,
        "MixerItemOfIndex outside the list");

  Call("GetSelectedIndex", [&] {
    const int selected = list->GetSelectedIndex();
    Check(selected >= -1, "a selected index below -1");
    if (selected >= 0 && list->Ctrl() != nullptr)
      Check(static_cast<std::uint32_t>(selected) < Item->GetDetailsLength(list->Ctrl()),
            "a selected index beyond the control's details");
  });
  const std::int32_t index = Int(A);
  Call("SetSelectedIndex", [&] { list->SetSelectedIndex(index); });
  Call("GetSelectedItem", [&] {
    if (TMixerItem* line = list->GetSelectedItem())
      Check(Dev->IndexOf(line) >= 0, "the selected item is not a line of the device");
  });
  // A line of this device, of another one, or none.
  TMixerItem* wanted = nullptr;
  const std::uint8_t which = A.Byte();
  if (which < 0xC0)
    wanted = PickLine(Dev);
  else if (which < 0xF0)
    wanted = PickLine(PickDevice());
  Call("SetSelectedItem", [&] { list->SetSelectedItem(wanted); });
  if (A.Byte() >= 0xF0) {
    // Another control of the device as the list's control, or none.
    TMixerCtrl* other = Dev->CtrlCount() > 0 && A.Flag() ? Dev->GetCtrl(A.Byte() % Dev->CtrlCount()) : nullptr;
    Call("SetCtrl", [&] { list->SetCtrl(other); });
    Call("GetSelectedIndex", [&] { (void)list->GetSelectedIndex(); });
    Check(list->Ctrl() == other, "SetCtrl did not keep its control");
    if (other == nullptr) Check(list->Count() == 0, "a list without a control has items");
  }
}

void TClient::Notify() {
  const HWND window = FMixer.OwnNotifyWindow();
  const std::uint8_t kind = A.Byte();
  UINT msg = MM_MIXM_LINE_CHANGE;
  if ((kind & 3) == 1) msg = MM_MIXM_CONTROL_CHANGE;
  if ((kind & 3) == 2) msg = WM_USER + A.Byte();
  if ((kind & 3) == 3) msg = 0x3CF + (A.Byte() & 3);

  // A device's handle, a handle closed before, or any value.
  WPARAM wParam = 0;
  TMixerDev* dev = nullptr;
  const std::uint8_t h = A.Byte();
  if (h < 0x80) {
    dev = PickDevice();
    if (dev != nullptr) wParam = reinterpret_cast<WPARAM>(dev->Handle());
  } else if (h < 0xC0 && !FWinmm.Handles().empty()) {
    wParam = reinterpret_cast<WPARAM>(FWinmm.Handles()[A.Byte() % FWinmm.Handles().size()].Handle);
  } else {
    wParam = A.Dword();
  }
  // An identifier the device has, one the driver reported, or any value.
  LPARAM lParam = 0;
  const std::uint8_t i = A.Byte();
  if (i < 0x80 && dev != nullptr) {
    if (msg == MM_MIXM_CONTROL_CHANGE && dev->CtrlCount() > 0)
      lParam = static_cast<LPARAM>(dev->GetCtrl(A.Byte() % dev->CtrlCount())->ControlID());
    else if (dev->Count() > 0)
      lParam = static_cast<LPARAM>(dev->GetItem(A.Byte() % dev->Count())->LineId());
  } else if (i < 0xC0 && !FWinmm.ControlIds().empty()) {
    lParam = static_cast<LPARAM>(FWinmm.ControlIds()[A.Byte() % FWinmm.ControlIds().size()]);
  } else {
    lParam = static_cast<LPARAM>(A.Dword());
  }

  // To the library's window; with none, to every window there is (the client's, or one left behind).
  std::vector<HWND> targets;
  if (window != nullptr)
    targets.push_back(window);
  else
    targets = FUser32.Windows();
  for (HWND target : targets) {
    FSending = {true, msg, wParam, lParam};
    FUser32.Dispatch(target, msg, wParam, lParam);
    FSending.Active = false;
  }
}

void TClient::OnLine(TMixer* Sender, TMixerDev* Dev, TMixerItem* Item) {
  Check(FSending.Active && FSending.Msg == MM_MIXM_LINE_CHANGE, "a line change event without a line change");
  Check(Sender == &FMixer, "an event from another mixer");
  Check(Dev != nullptr && reinterpret_cast<WPARAM>(Dev->Handle()) == FSending.wParam &&
            FMixer.DevOfHandle(Dev->Handle()) == Dev,
        "a line change event for another device");
  Check(Item != nullptr && Dev->IndexOf(Item) >= 0 && Item->LineId() == static_cast<std::uint32_t>(FSending.lParam),
        "a line change event for another line");
  // A client reacts; an error stays inside the handler, as the header asks.
  // Memory may be running out in the window procedure, and then even the
  // error's message cannot be made.
  if (A.Flag()) {
    try {
      (void)Item->GetVolume();
      (void)Item->GetMute();
    } catch (const EMixerError&) {
    } catch (const std::bad_alloc&) {
    }
  }
}

void TClient::OnControl(TMixer* Sender, TMixerDev* Dev, TMixerItem* Item, TMixerCtrl* Ctrl) {
  Check(FSending.Active && FSending.Msg == MM_MIXM_CONTROL_CHANGE, "a control change event without a control change");
  Check(Sender == &FMixer, "an event from another mixer");
  Check(Dev != nullptr && reinterpret_cast<WPARAM>(Dev->Handle()) == FSending.wParam &&
            FMixer.DevOfHandle(Dev->Handle()) == Dev,
        "a control change event for another device");
  Check(Ctrl != nullptr && Ctrl->ControlID() == static_cast<std::uint32_t>(FSending.lParam) && Ctrl->Parent() == Item &&
            Item != nullptr && Dev->IndexOf(Item) >= 0,
        "a control change event for another control or line");
  if (A.Flag()) {
    try {
      std::uint32_t n = Item->GetDetailsLength(Ctrl);
      if (n > 0 && n <= 64) {
        std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(n);
        Item->GetUnsigned(Ctrl, values.data(), n);
      }
    } catch (const EMixerError&) {
    } catch (const std::bad_alloc&) {
    }
  }
}

void TClient::Run(std::uint8_t Config) {
  FMixer.SetOnLineChange([this](TMixer* S, TMixerDev* D, TMixerItem* I) { OnLine(S, D, I); });
  FMixer.SetOnControlChange([this](TMixer* S, TMixerDev* D, TMixerItem* I, TMixerCtrl* C) { OnControl(S, D, I, C); });
  if ((Config & cfClientWindow) != 0 && FMixer.Platform().User32 != nullptr)
    FMixer.SetCallbackWindow(FUser32.NewClientWindow());
  FMixer.SetEnableInvalidItem((Config & cfInvalidItems) != 0);
  if ((Config & cfEveryType) != 0) {
    FMixer.Target()->SetLineType(MixerSourceLineTypes + MixerDestLineTypes);
    FMixer.Target()->SetControlType(TMixerControlTypes::Range(ctCustom, ctUnknown));
  }
  if ((Config & cfOptions) != 0) FMixer.SetOptions(TMixerOptions::FromMask(A.Word()));

  Scan();
  if (P.Empty()) Walk();
  // Walks and scans are the expensive operations; a few of each find what many
  // would. A walk of every line counts as four of one line.
  int walks = 0;
  int scans = 0;
  int shortScans = 0;
  for (int n = 0; n < 48 && !P.Empty(); ++n) {
    switch (P.Byte() % OperationCount) {
      case opWalk:
        walks += 4;
        if (walks <= 16) Walk();
        break;
      case opLine: {
        if (++walks > 16) break;
        TMixerDev* dev = PickDevice();
        if (TMixerItem* item = PickLine(dev)) WalkLine(dev, item);
        break;
      }
      case opNotify:
        Notify();
        break;
      case opScan:
        if (++scans <= 4) Scan();
        break;
      case opClear:
        FMixer.Clear();
        CheckTree();
        break;
      case opCallbackWindow:
        FMixer.SetCallbackWindow(A.Flag() && FMixer.Platform().User32 != nullptr ? FUser32.NewClientWindow() : nullptr);
        break;
      case opOptions:
        FMixer.SetOptions(TMixerOptions::FromMask(A.Word()));
        break;
      case opTarget:
        if (TMixerTarget* target = FMixer.Target()) {
          target->SetLineType(TMixerLineTypes::FromMask(A.Dword()));
          target->SetControlType(TMixerControlTypes::FromMask(A.Dword()));
        }
        break;
      case opInvalidItems:
        FMixer.SetEnableInvalidItem(A.Flag());
        break;
      case opMaster: {
        Call("GetMasterVolume", [&] { (void)FMixer.GetMasterVolume(); });
        const std::int32_t volume = Int(A);
        Call("SetMasterVolume", [&] { FMixer.SetMasterVolume(volume); });
        Call("GetMasterMute", [&] { (void)FMixer.GetMasterMute(); });
        const bool mute = A.Flag();
        Call("SetMasterMute", [&] { FMixer.SetMasterMute(mute); });
        break;
      }
      case opMute: {
        if (++scans > 4) break;
        if (TMixerTarget* target = FMixer.Target()) {
          target->SetLineType(MixerSourceLineTypes + MixerDestLineTypes);
          target->SetControlType({ctMute});
        }
        Scan();
        const bool mute = A.Flag();
        for (int i = 0; i < FMixer.GetCount(); ++i) {
          TMixerDev* dev = FMixer.GetDevice(i);
          for (int j = 0; j < dev->Count(); ++j) {
            TMixerItem* item = dev->GetItem(j);
            if (item->MuteExists()) Call("SetMute", [&] { item->SetMute(mute); });
          }
        }
        break;
      }
      case opScanShort: {
        if (++shortScans > 16) break;
        const int allowed = A.Byte();
        try {
          SimHeap::Shortage shortage(allowed);
          FMixer.Scan();
        } catch (const std::bad_alloc&) {
          // The one exception a scan may let out: the tree built so far stays, whole.
        } catch (const std::exception& e) {
          Finding(Escaped("TMixer::Scan", e));
        }
        CheckTree();
        break;
      }
      case opSetTarget: {
        std::unique_ptr<TMixerTarget> target;
        if (A.Flag()) {
          target = std::make_unique<TMixerTarget>();
          target->SetLineType(TMixerLineTypes::FromMask(A.Dword()));
          target->SetControlType(TMixerControlTypes::FromMask(A.Dword()));
        }
        FMixer.SetTarget(std::move(target));
        break;
      }
      default:
        break;
    }
  }
  CheckTree();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TFuzzInput input(Data, Size);
  TFuzzWinmm winmm(input);
  TFuzzUser32 user32(input[siWindows]);
  TFuzzKernel32 kernel32;
  const std::uint8_t config = input[siPlan].Byte();
  const TMixerPlatform platform{(config & cfNoKernel32) != 0 ? nullptr : &kernel32,
                                (config & cfNoUser32) != 0 ? nullptr : &user32, &winmm,
                                TFuzzUser32::DefWindowProcAddress(), reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x400000))};
  {
    TMixer mixer(platform);
    TClient client(input, winmm, user32, mixer);
    client.Run(config);
  }

  for (const TFuzzWinmm::THandle& h : winmm.Handles())
    Check(h.Closes == 1, "a handle the mixer opened is still open after it is gone");
  // A window the library could not destroy must no longer reach the mixer that is gone.
  for (HWND window : user32.Windows()) {
    user32.Dispatch(window, MM_MIXM_LINE_CHANGE, 0, 0);
    user32.Dispatch(window, WM_USER, 0, 0);
  }
  if (user32.LibraryWindowCount() == 0) Check(user32.ClassCount() == 0, "the mixer's window class is still registered");
  return 0;
}
