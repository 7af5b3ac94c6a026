#include "tools/mixinspect/MixerReport.h"

#include <cstdint>
#include <string>

namespace {

// A driver that reports absurd item counts must not make the inspector
// allocate gigabytes; real controls have a handful of entries.
constexpr std::uint32_t MaxShownEntries = 1024;

String Dec(long long Value) { return DecimalText(Value); }

String Hex(std::uint64_t Value, int Digits) { return WSTR("0x") + HexText(Value, Digits); }

String Quote(const String& Text) { return WSTR("\"") + Text + WSTR("\""); }

String Indent(int Level) { return String(static_cast<std::size_t>(Level) * 2, WCHAR(' ')); }

String Failure(const EMixerError& Error) { return WSTR("unreadable (") + DescribeException(Error) + WSTR(")"); }

int DeviceIndex(const TMixer& Mixer, const TMixerDev* Dev) {
  for (int i = 0; i < Mixer.GetCount(); ++i)
    if (Mixer.GetDevice(i) == Dev) return i;
  return -1;
}

String DeviceName(const TMixer& Mixer, const TMixerDev* Dev) {
  return WSTR("device ") + Dec(DeviceIndex(Mixer, Dev)) + WSTR(" ") + Quote(Dev->Name());
}

String TargetTypeName(std::uint32_t TargetType) {
  switch (TargetType) {
    case MIXERLINE_TARGETTYPE_UNDEFINED:
      return WSTR("undefined");
    case MIXERLINE_TARGETTYPE_WAVEOUT:
      return WSTR("WaveOut");
    case MIXERLINE_TARGETTYPE_WAVEIN:
      return WSTR("WaveIn");
    case MIXERLINE_TARGETTYPE_MIDIOUT:
      return WSTR("MidiOut");
    case MIXERLINE_TARGETTYPE_MIDIIN:
      return WSTR("MidiIn");
    case MIXERLINE_TARGETTYPE_AUX:
      return WSTR("Aux");
    default:
      return WSTR("type ") + Dec(TargetType);
  }
}

// "Speakers line "Master Volume"": what a user recognises a line by.
String LineTitle(const TMixerItem* Item) {
  return String(MixerLineTypeNames[Item->LineType()]) + WSTR(" line ") + Quote(Item->Name());
}

String LineHeading(const TMixerItem* Item) {
  String out = LineTitle(Item) + WSTR(" (") + Quote(Item->ShortName()) + WSTR("), ") + Dec(Item->Channel()) +
               (Item->Channel() == 1 ? WSTR(" channel") : WSTR(" channels")) + WSTR(", id ") + Hex(Item->LineId(), 8) +
               WSTR(", ");
  if (Item->IsDestination())
    out += WSTR("destination ") + Dec(Item->DestNum());
  else
    out += WSTR("source of destination ") + Dec(Item->DestNum()) + WSTR(" ") + Quote(Item->DestItem()->Name());
  out += WSTR(", target ") + TargetTypeName(Item->TargetType()) + WSTR(" ") + Quote(Item->TargetName());
  return out;
}

// The line-level values, one output line each, so that one failing control
// does not hide the other.
void AddLineValues(std::vector<String>& Out, TMixerItem* Item, int Level) {
  if (Item->VolumeExists()) {
    String text = Indent(Level) + WSTR("Volume: ");
    try {
      std::int32_t percent = Item->GetVolume();
      TMixerVolume raw = Item->GetRawVolume();
      text += Dec(percent) + WSTR("%");
      // A uniform control holds one value for every channel: there is no
      // right channel to show, and no balance to speak of.
      if (Item->GetDetailsLength(Item->VolumeCtrl()) >= 2)
        text += WSTR(" (left ") + Dec(raw.Left()) + WSTR(", right ") + Dec(raw.Right()) + WSTR("), balance ") +
                Dec(Item->GetBalance());
      else
        text += WSTR(" (raw ") + Dec(raw.Mono()) + WSTR(")");
    } catch (const EMixerError& error) {
      text += Failure(error);
    }
    Out.push_back(text);
  }
  if (Item->MuteExists()) {
    String text = Indent(Level) + WSTR("Mute: ");
    try {
      text += Item->GetMute() ? WSTR("on") : WSTR("off");
    } catch (const EMixerError& error) {
      text += Failure(error);
    }
    Out.push_back(text);
  }
}

String StatusWords(TMixerControlStatus Status) {
  String out;
  const auto add = [&out](const WCHAR* word) {
    if (!out.empty()) out += WSTR(" ");
    out += word;
  };
  if (Status.Contains(csDisabled)) add(WSTR("disabled"));
  if (Status.Contains(csMultiple)) add(WSTR("multiple"));
  if (Status.Contains(csUniform)) add(WSTR("uniform"));
  return out.empty() ? String(WSTR("none")) : out;
}

// The control's current details in the first form its type offers; empty
// when the type has no readable form or no entries. Raises EMixerError.
String ControlValue(TMixerItem* Item, TMixerCtrl* Ctrl) {
  const TMixerValueKinds kinds = ControlValueKinds(Ctrl->ControlType());
  const std::uint32_t n = Item->GetDetailsLength(Ctrl);
  if (n == 0) return {};
  if (n > MaxShownEntries) return Dec(n) + WSTR(" entries, not shown");
  String out;
  const auto add = [&out](const String& text) {
    if (!out.empty()) out += WSTR(" ");
    out += text;
  };
  if (kinds.Contains(vkUnsigned)) {
    std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(n);
    Item->GetUnsigned(Ctrl, values.data(), n);
    for (const auto& v : values) add(Dec(v.dwValue));
  } else if (kinds.Contains(vkSigned)) {
    std::vector<MIXERCONTROLDETAILS_SIGNED> values(n);
    Item->GetSigned(Ctrl, values.data(), n);
    for (const auto& v : values) add(Dec(v.lValue));
  } else if (kinds.Contains(vkBoolean)) {
    std::vector<MIXERCONTROLDETAILS_BOOLEAN> values(n);
    Item->GetBoolean(Ctrl, values.data(), n);
    for (const auto& v : values) add(v.fValue != 0 ? WSTR("on") : WSTR("off"));
  }
  return out;
}

String ValueSuffix(TMixerItem* Item, TMixerCtrl* Ctrl) {
  try {
    String value = ControlValue(Item, Ctrl);
    return value.empty() ? String() : WSTR(", value ") + value;
  } catch (const EMixerError& error) {
    return WSTR(", value ") + Failure(error);
  }
}

String ControlTitle(const TMixerCtrl* Ctrl) {
  return String(MixerControlTypeNames[Ctrl->ControlType()]) + WSTR(" control ") + Quote(Ctrl->Name());
}

String ControlHeading(const TMixerCtrl* Ctrl) {
  const TMixerCtrlBounds bounds = Ctrl->GetBounds();
  const bool isSigned = ControlValueKinds(Ctrl->ControlType()).Contains(vkSigned);
  String out = ControlTitle(Ctrl) + WSTR(" (") + Quote(Ctrl->ShortName()) + WSTR("), id ") + Dec(Ctrl->ControlID()) +
               WSTR(", status ") + StatusWords(Ctrl->Status()) + WSTR(", range ");
  if (isSigned)
    out += Dec(bounds.SignedMin()) + WSTR("..") + Dec(bounds.SignedlMax());
  else
    out += Dec(bounds.Min()) + WSTR("..") + Dec(bounds.Max());
  out += WSTR(", steps ") + Dec(Ctrl->GetMetrics().Steps());
  if (Ctrl->Status().Contains(csMultiple)) out += WSTR(", ") + Dec(Ctrl->MultipleItems()) + WSTR(" items");
  return out;
}

// The list of a multiple-item control, through a view of its own so that
// every such control of a line is listed, not only the line's first.
void AddItems(std::vector<String>& Out, TMixerItem* Item, TMixerCtrl* Ctrl, int Level) {
  if (Item->GetDetailsLength(Ctrl) > MaxShownEntries) return;
  TMixerMultipleItems list(Item);
  try {
    list.SetCtrl(Ctrl);
  } catch (const EMixerError& error) {
    Out.push_back(Indent(Level) + WSTR("Items ") + Failure(error));
    return;
  }
  int selected = -1;
  String selection;
  try {
    selected = list.GetSelectedIndex();
  } catch (const EMixerError& error) {
    selection = Indent(Level) + WSTR("Selection ") + Failure(error);
  }
  for (int i = 0; i < list.Count(); ++i) {
    const TMixerMultipleItemData& data = list.Data(i);
    Out.push_back(Indent(Level) + WSTR("Item ") + Dec(i) + WSTR(": ") + Quote(data.Name) + WSTR(", param1 ") +
                  Hex(data.Param1, 8) + WSTR(", param2 ") + Hex(data.Param2, 8) +
                  (i == selected ? WSTR(", selected") : WSTR("")));
  }
  if (!selection.empty()) Out.push_back(selection);
}

void AddLine(std::vector<String>& Out, TMixerDev* Dev, TMixerItem* Item) {
  Out.push_back(Indent(1) + LineHeading(Item));
  AddLineValues(Out, Item, 2);
  if (Item->Count() == 0) {
    Out.push_back(Indent(2) + WSTR("(no controls)"));
    return;
  }
  for (int i = 0; i < Item->Count(); ++i) {
    TMixerCtrl* ctrl = Dev->GetCtrl(Item->CtrlIndex() + i);
    Out.push_back(Indent(2) + ControlHeading(ctrl) + ValueSuffix(Item, ctrl));
    if (ctrl->Status().Contains(csMultiple)) AddItems(Out, Item, ctrl, 3);
  }
}

}  // namespace

void AdmitEverything(TMixer& Mixer) {
  Mixer.Target()->SetLineType(MixerSourceLineTypes + MixerDestLineTypes);
  Mixer.Target()->SetControlType(TMixerControlTypes::Range(ctCustom, ctUnknown));
  Mixer.SetEnableInvalidItem(true);
}

std::vector<String> MixerReport(TMixer& Mixer) {
  std::vector<String> out;
  out.push_back(WSTR("Mixer devices: ") + Dec(Mixer.GetCount()));
  for (int d = 0; d < Mixer.GetCount(); ++d) {
    TMixerDev* dev = Mixer.GetDevice(d);
    out.push_back(WSTR("Device ") + Dec(d) + WSTR(": ") + Quote(dev->Name()) + WSTR(", handle ") +
                  Hex(reinterpret_cast<std::uintptr_t>(dev->Handle()), 8) + WSTR(", ") + Dec(dev->Count()) +
                  (dev->Count() == 1 ? WSTR(" line") : WSTR(" lines")));
    for (int i = 0; i < dev->Count(); ++i) AddLine(out, dev, dev->GetItem(i));
  }
  return out;
}

std::vector<String> LineChangeReport(TMixer& Mixer, TMixerDev* Dev, TMixerItem* Item) {
  std::vector<String> out;
  out.push_back(WSTR("Line change: ") + DeviceName(Mixer, Dev) + WSTR(", ") + LineTitle(Item) + WSTR(" (id ") +
                Hex(Item->LineId(), 8) + WSTR(")"));
  AddLineValues(out, Item, 1);
  return out;
}

std::vector<String> ControlChangeReport(TMixer& Mixer, TMixerDev* Dev, TMixerItem* Item, TMixerCtrl* Ctrl) {
  return {WSTR("Control change: ") + DeviceName(Mixer, Dev) + WSTR(", ") + LineTitle(Item) + WSTR(", ") +
          ControlTitle(Ctrl) + WSTR(" (id ") + Dec(Ctrl->ControlID()) + WSTR(")") + ValueSuffix(Item, Ctrl)};
}
