#include "mixers/MixerCtrl.h"

#include <cstring>

static_assert(sizeof(MIXERCONTROLW{}.Bounds.dwReserved) == sizeof(TMixerCtrlBounds), "bounds copied whole");
static_assert(sizeof(MIXERCONTROLW{}.Metrics.dwReserved) == sizeof(TMixerCtrlMetrics), "metrics copied whole");

TMixerCtrl::TMixerCtrl(const MIXERCONTROLW& Control, TMixerOptions Options)
    : FControlID(Control.dwControlID),
      FControlType(ControlTypeOfControlType(Control.dwControlType)),
      FStatus(ControlStatusOfFlags(Control.fdwControl)),
      FMultipleItems(Control.cMultipleItems) {
  if (!Options.Contains(moNoControlName)) NameFieldToText(Control.szName, FName);
  if (!Options.Contains(moNoControlShortName)) NameFieldToText(Control.szShortName, FShortName);
  // The blocks are kept raw: which view (signed, unsigned, steps) applies depends on the control type.
  if (!Options.Contains(moNoControlBounds)) {
    FBounds = std::make_unique<TMixerCtrlBounds>();
    std::memcpy(FBounds->Reserved, Control.Bounds.dwReserved, sizeof(TMixerCtrlBounds));
  }
  if (!Options.Contains(moNoControlMetrics)) {
    FMetrics = std::make_unique<TMixerCtrlMetrics>();
    std::memcpy(FMetrics->Reserved, Control.Metrics.dwReserved, sizeof(TMixerCtrlMetrics));
  }
}

TMixerCtrl::~TMixerCtrl() = default;

TMixerCtrlBounds TMixerCtrl::GetBounds() const { return FBounds ? *FBounds : TMixerCtrlBounds{}; }

TMixerCtrlMetrics TMixerCtrl::GetMetrics() const { return FMetrics ? *FMetrics : TMixerCtrlMetrics{}; }
