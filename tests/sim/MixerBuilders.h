// What the mixer tests share: lines and destinations of the simulated driver
// (stereo unless told otherwise), a device of one destination, name fields of
// the system's structures, a scanned tree as text, and the code of the
// EMixerError a call raises.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "mixers/Mixer.h"
#include "sim/SimWinmm.h"

/// A line with its controls (active, no target).
inline SimLine Source(DWORD ComponentType, const String& Name, std::vector<SimControl> Controls, DWORD Channels = 2) {
  SimLine line;
  line.ComponentType = ComponentType;
  line.Name = Name;
  line.ShortName = Name.substr(0, MIXER_SHORT_NAME_CHARS - 1);
  line.Channels = Channels;
  line.Controls = std::move(Controls);
  return line;
}

inline SimDestination Dest(DWORD ComponentType, const String& Name, std::vector<SimControl> Controls,
                           std::vector<SimLine> Sources = {}, DWORD Channels = 2) {
  SimDestination dst;
  static_cast<SimLine&>(dst) = Source(ComponentType, Name, std::move(Controls), Channels);
  dst.Sources = std::move(Sources);
  return dst;
}

/// Device "Card" whose only destination is "Speakers".
inline SimDevice OneDestination(DWORD Channels, std::vector<SimControl> Controls, std::vector<SimLine> Sources = {}) {
  return {WSTR("Card"),
          {Dest(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, WSTR("Speakers"), std::move(Controls), std::move(Sources),
                Channels)}};
}

/// Writes a name into a fixed field, filling it without a terminator when the name is as wide.
template <std::size_t N>
void PutName(WCHAR (&Field)[N], const String& Text) {
  for (std::size_t i = 0; i < N; ++i) Field[i] = i < Text.size() ? Text[i] : WCHAR(0);
}

/// One entry per line: "Name(Ctrl,Ctrl)", sources marked with a leading '-'.
inline std::string Describe(const TMixerDev& Dev) {
  std::string out;
  for (int i = 0; i < Dev.Count(); ++i) {
    const TMixerItem* item = Dev.GetItem(i);
    if (!out.empty()) out += ' ';
    if (!item->IsDestination()) out += '-';
    out += Narrow(item->Name()) + '(';
    for (int c = item->CtrlIndex(); c >= 0 && Dev.GetCtrl(c) != nullptr && Dev.GetCtrl(c)->Parent() == item; ++c) {
      if (c != item->CtrlIndex()) out += ',';
      out += Narrow(Dev.GetCtrl(c)->Name());
    }
    out += ')';
  }
  return out;
}

/// Every device as "Name: tree", separated by " | ".
inline std::string Describe(const TMixer& Mixer) {
  std::string out;
  for (int d = 0; d < Mixer.GetCount(); ++d)
    out += (d > 0 ? " | " : "") + Narrow(Mixer.GetDevice(d)->Name()) + ": " + Describe(*Mixer.GetDevice(d));
  return out;
}

/// The code of the EMixerError a call raises (and its control), 0 when it raises none.
inline std::uint32_t RaisedCode(const std::function<void()>& Call, TMixerCtrl** Ctrl = nullptr) {
  try {
    Call();
  } catch (const EMixerError& e) {
    if (Ctrl != nullptr) *Ctrl = e.Ctrl();
    return e.ErrorCode();
  }
  return 0;
}
