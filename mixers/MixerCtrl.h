// One control of a mixer line, and the item list of a multiple-item control.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "mixers/MixerTypes.h"

class TMixer;
class TMixerItem;

// A snapshot of a control's description, taken by a scan. Values are read and
// written through the owning line's detail accessors.
class TMixerCtrl {
 public:
  TMixerCtrl(const MIXERCONTROLW& Control, TMixerOptions Options);
  virtual ~TMixerCtrl();
  TMixerCtrl(const TMixerCtrl&) = delete;
  TMixerCtrl& operator=(const TMixerCtrl&) = delete;

  /// The line the control belongs to; not owned.
  TMixerItem* Parent() const { return FParent; }
  std::uint32_t ControlID() const { return FControlID; }
  TMixerControlType ControlType() const { return FControlType; }
  TMixerControlStatus Status() const { return FStatus; }
  /// Items per channel of a multiple-item control, as the driver gives it.
  std::uint32_t MultipleItems() const { return FMultipleItems; }
  const String& Name() const { return FName; }
  void SetName(String Value) { FName = std::move(Value); }
  const String& ShortName() const { return FShortName; }
  void SetShortName(String Value) { FShortName = std::move(Value); }
  /// A copy of the stored bounds, all zero when none was kept.
  TMixerCtrlBounds GetBounds() const;
  /// A copy of the stored metrics, all zero when none was kept.
  TMixerCtrlMetrics GetMetrics() const;

 private:
  friend class TMixer;  // the control factory sets the parent right after construction

  TMixerItem* FParent = nullptr;
  std::uint32_t FControlID = 0;
  TMixerControlType FControlType = ctCustom;
  TMixerControlStatus FStatus;
  std::uint32_t FMultipleItems = 0;
  String FName;
  String FShortName;
  std::unique_ptr<TMixerCtrlBounds> FBounds;
  std::unique_ptr<TMixerCtrlMetrics> FMetrics;
};

struct TMixerMultipleItemData {
  String Name;
  /// Taken as the line identifier of the source line the item stands for.
  std::uint32_t Param1 = 0;
  std::uint32_t Param2 = 0;
};

// The items of a line's first multiple-item control, with lookups and, for
// single-selection controls, the selection read from the device on each call.
class TMixerMultipleItems {
 public:
  explicit TMixerMultipleItems(TMixerItem* AOwner);
  virtual ~TMixerMultipleItems();
  TMixerMultipleItems(const TMixerMultipleItems&) = delete;
  TMixerMultipleItems& operator=(const TMixerMultipleItems&) = delete;

  int Count() const { return static_cast<int>(FList.size()); }
  /// The item at a position from 0 to Count() - 1.
  const TMixerMultipleItemData& Data(int Index) const { return FList.at(static_cast<std::size_t>(Index)); }
  int IndexOfParam1(std::uint32_t Param) const;
  int IndexOfParam2(std::uint32_t Param) const;
  /// Case-insensitive in the user's default locale; -1 when absent.
  int IndexOfName(const String& Name) const;
  /// The device's line named by the item's Param1; null when out of range or absent.
  TMixerItem* MixerItemOfIndex(int Index) const;

  TMixerCtrl* Ctrl() const { return FControl; }
  /// Assigns the control and reloads the list.
  void SetCtrl(TMixerCtrl* Value);
  int GetSelectedIndex() const;
  void SetSelectedIndex(int Value);
  TMixerItem* GetSelectedItem() const;
  void SetSelectedItem(TMixerItem* Value);

 protected:
  void ClearList();
  void LoadList();

 private:
  TMixerItem* FItem;
  TMixerCtrl* FControl = nullptr;
  std::vector<TMixerMultipleItemData> FList;
};
