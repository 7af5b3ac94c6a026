// One line of a mixer device: its identity, its run of controls in the
// device's control list, the typed control-detail accessors, and the volume,
// balance and mute layer built on them.
#pragma once

#include <cstdint>
#include <memory>

#include "mixers/MixerCtrl.h"
#include "mixers/MixerTypes.h"

class TMixer;
class TMixerDev;

class TMixerItem {
 public:
  TMixerItem(TMixerDev* AMixerDev, const MIXERLINEW& Line, TMixerItem* DestItem, std::uint32_t DestNum,
             TMixerOptions Options);
  virtual ~TMixerItem();
  TMixerItem(const TMixerItem&) = delete;
  TMixerItem& operator=(const TMixerItem&) = delete;

  TMixerDev* Device() const { return FMixerDev; }
  /// Number of controls in the line's run; 0 without controls.
  int Count() const;
  std::uint32_t LineId() const { return FLineID; }
  const String& Name() const { return FName; }
  TMixerLineType LineType() const { return FLineType; }
  std::uint8_t Channel() const { return FChannel; }
  TMixerItem* DestItem() const { return FDestItem; }
  std::uint32_t DestNum() const { return FDestNum; }
  const String& ShortName() const { return FShortName; }
  const String& TargetName() const { return FTargetName; }
  std::uint32_t TargetType() const { return FTargetType; }
  /// Position of the line's first control in the device's control list; -1 without controls.
  int CtrlIndex() const { return FCtrlIndex; }
  float RawBalance() const { return FBalance; }
  /// Stores the ratio only; the device changes at the next volume write.
  void SetRawBalance(float Value) { FBalance = Value; }
  /// The view of the first multiple-item control, built on first use; null when there is none.
  TMixerMultipleItems* MultipleItems();

  bool IsDestination() const { return FDestItem == nullptr; }
  bool HasCtrl() const { return FCtrlIndex >= 0; }
  /// Position of Ctrl within the line's run, -1 when it is not there.
  int IndexOf(const TMixerCtrl* Ctrl) const;
  /// First control from position Start of the run whose type is in ControlTypes.
  TMixerCtrl* CtrlOfType(TMixerControlTypes ControlTypes, int Start) const;
  /// The next control of the run with exactly PrevCtrl's type.
  TMixerCtrl* CtrlOfTypeNext(const TMixerCtrl* PrevCtrl) const;

  TMixerCtrl* VolumeCtrl() const;
  TMixerCtrl* MuteCtrl() const;
  bool VolumeExists() const { return VolumeCtrl() != nullptr; }
  bool MuteExists() const { return MuteCtrl() != nullptr; }
  /// Reads the raw volume and refreshes the stored balance ratio from it.
  TMixerVolume UpdateBalance();
  /// Moves the volume one step towards Value; false when it is already there.
  bool SetVolumeEx(std::int32_t Step, std::int32_t Value);

  // Property accessors: always called virtually, inside the class too.
  virtual TMixerLineType GetDestType();
  virtual TMixerVolume GetRawVolume();
  virtual void SetRawVolume(TMixerVolume Value);
  virtual std::int32_t GetVolume();
  virtual void SetVolume(std::int32_t Value);
  virtual bool GetMute();
  virtual void SetMute(bool Value);
  virtual std::int32_t GetBalance();
  virtual void SetBalance(std::int32_t Value);

  /// Number of detail elements a request for a control on this line moves:
  /// channels (1 when uniform) times items (when multiple), so 0 for a
  /// multiple-item control without items, whose details are never requested.
  /// A count beyond 32 bits saturates to 0xFFFFFFFF, which no detail array may
  /// have (see DetailsFit).
  virtual std::uint32_t GetDetailsLength(const TMixerCtrl* Control);
  /// True when Count elements of ElementSize bytes make a byte size that fits
  /// in 32 bits, the most a details request can carry. The accessors refuse
  /// larger counts; callers sizing arrays from GetDetailsLength can ask first.
  static bool DetailsFit(std::uint64_t Count, std::uint32_t ElementSize);
  // Detail accessors: Values is the caller's array of Count elements. They
  // raise EMixerError on a wrong kind, a control of another line, too small an
  // array, or a failing device call.
  virtual void GetBoolean(TMixerCtrl* Control, MIXERCONTROLDETAILS_BOOLEAN* Values, std::uint32_t Count);
  virtual void SetBoolean(TMixerCtrl* Control, const MIXERCONTROLDETAILS_BOOLEAN* Values, std::uint32_t Count);
  virtual void GetSigned(TMixerCtrl* Control, MIXERCONTROLDETAILS_SIGNED* Values, std::uint32_t Count);
  virtual void SetSigned(TMixerCtrl* Control, const MIXERCONTROLDETAILS_SIGNED* Values, std::uint32_t Count);
  virtual void GetUnsigned(TMixerCtrl* Control, MIXERCONTROLDETAILS_UNSIGNED* Values, std::uint32_t Count);
  virtual void SetUnsigned(TMixerCtrl* Control, const MIXERCONTROLDETAILS_UNSIGNED* Values, std::uint32_t Count);
  virtual void GetListText(TMixerCtrl* Control, MIXERCONTROLDETAILS_LISTTEXTW* Values, std::uint32_t Count);
  virtual void SetListText(TMixerCtrl* Control, MIXERCONTROLDETAILS_LISTTEXTW* Values, std::uint32_t Count);

 protected:
  std::unique_ptr<TMixerMultipleItems> FMultipleItems;

 private:
  friend class TMixer;  // the scan sets the first-control index once

  void CreateMultipleItems();
  /// The parent check and the zeroed request header for Control; the number of
  /// elements the request moves (DetailsCount, as GetDetailsLength tells it).
  std::uint64_t PrepareDetails(TMixerCtrl* Control, MIXERCONTROLDETAILS& Details);
  /// Kind, parent and capacity checks shared by the accessors.
  std::uint64_t CheckDetails(TMixerCtrl* Control, TMixerValueKind Kind, std::uint32_t Count, std::uint32_t ElementSize,
                             MIXERCONTROLDETAILS& Details);
  template <class T>
  void ReadDetails(TMixerCtrl* Control, TMixerValueKind Kind, T* Values, std::uint32_t Count, DWORD Flags);
  template <class T>
  void WriteDetails(TMixerCtrl* Control, TMixerValueKind Kind, const T* Values, std::uint32_t Count);
  float CalcBalance(std::uint32_t Left, std::uint32_t Right) const;
  TMixerVolume CalcRawVolume(std::uint32_t Percent) const;

  TMixerDev* FMixerDev;
  int FCtrlIndex = -1;
  std::uint8_t FChannel = 0;
  std::uint32_t FLineID = 0;
  TMixerLineType FLineType = ltUnknown;
  TMixerItem* FDestItem;
  std::uint32_t FDestNum = 0;
  String FName;
  String FShortName;
  std::uint32_t FTargetType = 0;
  String FTargetName;
  float FBalance = 1.0f;
};
