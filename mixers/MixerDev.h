// One opened mixer device: its handle and name, and the two flat lists a scan
// fills for it, the line items and the controls of all its lines.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "mixers/MixerCtrl.h"
#include "mixers/MixerItem.h"
#include "mixers/MixerTypes.h"
#include "platform/Winmm.h"

class TMixer;

class TMixerDev {
 public:
  TMixerDev(TMixer* AMixer, HMIXER Handle, const MIXERCAPSW& MixerCaps, TMixerOptions Options);
  /// Frees the lines and controls, then closes the handle, which the device owns once constructed.
  virtual ~TMixerDev();
  TMixerDev(const TMixerDev&) = delete;
  TMixerDev& operator=(const TMixerDev&) = delete;

  TMixer* Mixer() const { return FMixer; }
  int Count() const { return static_cast<int>(ItemList.size()); }
  HMIXER Handle() const { return FHandle.Get(); }
  const String& Name() const { return FName; }
  void SetName(String Value) { FName = std::move(Value); }

  /// The line at Index, null outside 0 to Count() - 1.
  virtual TMixerItem* GetItem(int Index) const;
  /// Frees every line, then every control.
  virtual void Clear();

  int IndexOf(const TMixerItem* Item) const;
  TMixerItem* ItemOfType(TMixerLineType LineType, int Start) const;
  TMixerItem* ItemOfTypeNext(const TMixerItem* PrevItem) const;
  /// Exact comparison: case counts.
  TMixerItem* ItemOfName(const String& Name, int Start) const;
  TMixerItem* ItemOfNameNext(const TMixerItem* PrevItem) const;
  TMixerItem* ItemOfLineID(std::uint32_t LineID) const;
  TMixerCtrl* CtrlOfControlID(std::uint32_t ControlID) const;
  /// Number of controls of all lines, and the control at a position of that list.
  int CtrlCount() const { return static_cast<int>(CtrlList.size()); }
  TMixerCtrl* GetCtrl(int Index) const;

 protected:
  friend class TMixer;  // the scan adds and removes lines and controls

  TMixerItem* AddItem(const MIXERLINEW& Line, TMixerItem* DestItem, std::uint32_t DestNum, TMixerOptions Options);
  /// Appends a control of Item; its position in the control list.
  int AddCtrl(const MIXERCONTROLW& Control, TMixerOptions Options, TMixerItem* Item);
  /// Removes and frees Item; its former position, or -1 when it is not here.
  int DeleteItem(TMixerItem* Item);

  std::vector<std::unique_ptr<TMixerItem>> ItemList;
  std::vector<std::unique_ptr<TMixerCtrl>> CtrlList;

 private:
  TMixer* FMixer;
  String FName;
  TMixerHandle FHandle;
};
