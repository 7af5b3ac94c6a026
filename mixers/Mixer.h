// The root of the mixer library: scans every mixer device into a tree of
// devices, lines and controls under a type filter, offers lookups and the
// master line, and routes change notifications to its events.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "mixers/MixerCtrl.h"
#include "mixers/MixerDev.h"
#include "mixers/MixerItem.h"
#include "mixers/MixerTypes.h"
#include "platform/MixerPlatform.h"

class TMixer;
class TMixerNotifyWindow;

// Events run inside the thread's message dispatch, which passes through the
// system's own code: a handler must not let an exception escape.
using TMixerControlChangeEvent =
    std::function<void(TMixer* Sender, TMixerDev* Dev, TMixerItem* Item, TMixerCtrl* Ctrl)>;
using TMixerLineChangeEvent = std::function<void(TMixer* Sender, TMixerDev* Dev, TMixerItem* Item)>;

// Which line types and control types a scan keeps.
class TMixerTarget {
 public:
  static constexpr TMixerLineTypes DefaultLineType{ltLine,    ltSynthesizer, ltCompactDisk,
                                                   ltWaveOut, dtSpeakers,    dtWaveIn};
  static constexpr TMixerControlTypes DefaultControlType{ctVolume, ctMute};

  TMixerLineTypes LineType() const { return FLineType; }
  void SetLineType(TMixerLineTypes Value) { FLineType = Value; }
  TMixerControlTypes ControlType() const { return FControlType; }
  void SetControlType(TMixerControlTypes Value) { FControlType = Value; }

 private:
  TMixerLineTypes FLineType;
  TMixerControlTypes FControlType;
};

class TMixer {
 public:
  /// On the system's own functions (Windows builds).
  TMixer();
  /// On the given functions; they must outlive the mixer.
  explicit TMixer(const TMixerPlatform& Platform);
  /// Closes every device, frees the target, then destroys the library's own window.
  /// A mixer belongs to the thread that scans it: its window is created,
  /// dispatched and destroyed there, so it is destroyed on that thread too.
  virtual ~TMixer();
  TMixer(const TMixer&) = delete;
  TMixer& operator=(const TMixer&) = delete;

  const TMixerPlatform& Platform() const { return FPlatform; }

  /// Stored and reported only.
  bool AutoScan() const { return FAutoScan; }
  void SetAutoScan(bool Value) { FAutoScan = Value; }
  bool EnableInvalidItem() const { return FEnableInvalidItem; }
  void SetEnableInvalidItem(bool Value) { FEnableInvalidItem = Value; }
  TMixerTarget* Target() const { return FTarget.get(); }
  /// Replaces the filter; the previous one is handed back, not freed.
  std::unique_ptr<TMixerTarget> SetTarget(std::unique_ptr<TMixerTarget> Value);
  TMixerOptions Options() const { return FOptions; }
  void SetOptions(TMixerOptions Value) { FOptions = Value; }
  const TMixerControlChangeEvent& OnControlChange() const { return FOnControlChange; }
  void SetOnControlChange(TMixerControlChangeEvent Value) { FOnControlChange = std::move(Value); }
  const TMixerLineChangeEvent& OnLineChange() const { return FOnLineChange; }
  void SetOnLineChange(TMixerLineChangeEvent Value) { FOnLineChange = std::move(Value); }
  /// The client's notification window; acts at the next scan.
  HWND CallbackWindow() const { return FCallbackHandle; }
  void SetCallbackWindow(HWND Value) { FCallbackHandle = Value; }
  /// The library's own notification window, 0 while none exists.
  HWND OwnNotifyWindow() const;

  /// The device at Index, null outside 0 to GetCount() - 1.
  virtual TMixerDev* GetDevice(int Index) const;
  virtual TMixerDev* GetPrimaryDevice() const;
  virtual int GetCount() const;

  /// The first speakers line of the primary device, or null.
  TMixerItem* GetMaster() const;
  std::int32_t GetMasterVolume() const;
  void SetMasterVolume(std::int32_t Value);
  bool GetMasterMute() const;
  void SetMasterMute(bool Value);

  /// Frees every device, closing its handle.
  void Clear();
  /// Rebuilds the tree from the devices.
  virtual void Scan();
  TMixerDev* DevOfHandle(HMIXER Handle) const;
  /// Exact comparison: case counts.
  TMixerDev* DevOfName(const String& Name) const;

 protected:
  virtual TMixerDev* AddDev(HMIXER Handle, const MIXERCAPSW& MixerCaps, TMixerOptions Options);
  virtual void DoControlChange(HMIXER Handle, std::uint32_t ControlID);
  virtual void DoLineChange(HMIXER Handle, std::uint32_t LineID);
  /// The window to open devices with: the client's, or the library's own (created now); 0 for none.
  virtual HWND GetNotifyWindow();
  virtual std::unique_ptr<TMixerItem> CreateItem(TMixerDev* AMixerDev, const MIXERLINEW& Line, TMixerItem* DestItem,
                                                 std::uint32_t DestNum, TMixerOptions Options);
  virtual std::unique_ptr<TMixerDev> CreateDev(HMIXER Handle, const MIXERCAPSW& MixerCaps, TMixerOptions Options);
  virtual std::unique_ptr<TMixerCtrl> CreateCtrl(TMixerItem* Item, const MIXERCONTROLW& Control, TMixerOptions Options);

  std::vector<std::unique_ptr<TMixerDev>> DevList;

 private:
  friend class TMixerDev;           // a device asks the factories for its lines and controls
  friend class TMixerNotifyWindow;  // the library's own window hands its messages to WndProc

  /// The owner of Handle for a device of Mixer's, taken as the last step of the
  /// device's construction: the scan's owner when the scan opened Handle (see
  /// ScanDevice), otherwise a new one, which closes it through Mixer's functions
  /// (without a mixer, nothing closes it).
  static TMixerHandle TakeHandle(TMixer* Mixer, HMIXER Handle);
  /// The library's own window's handling of one message.
  LRESULT WndProc(HWND Window, UINT Msg, WPARAM wParam, LPARAM lParam);

  // The scan's steps. A line step answers the item it kept, or null.
  struct TScanFilter;
  void ScanDevice(UINT Id, HWND Window, const TScanFilter& Filter);
  /// False when the destination cannot be read, which ends the device's scan.
  bool ScanDestination(TMixerDev& Dev, DWORD Destination, const TScanFilter& Filter);
  /// Source -1 stands for the destination itself.
  TMixerItem* ScanLine(TMixerDev& Dev, DWORD Destination, std::int32_t Source, TMixerItem* DestItem,
                       const TScanFilter& Filter);
  /// False when the line's control records cannot be read.
  bool ScanControls(TMixerDev& Dev, const MIXERLINEW& Line, TMixerItem& Item, const TScanFilter& Filter);

  TMixerPlatform FPlatform;
  bool FAutoScan = true;
  bool FEnableInvalidItem = false;
  HWND FCallbackHandle = nullptr;
  TMixerControlChangeEvent FOnControlChange;
  TMixerLineChangeEvent FOnLineChange;
  std::unique_ptr<TMixerTarget> FTarget;
  TMixerOptions FOptions;
  std::unique_ptr<TMixerNotifyWindow> FNotifyWindow;
  /// The handle the scan has opened and not yet handed to a device.
  TMixerHandle FPendingHandle;
};
