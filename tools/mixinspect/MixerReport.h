// The mixer inspector's text: the whole tree of a scanned mixer as indented
// lines, and one short report per change notification. Every value is read
// through the library's own accessors, and a value that cannot be read is
// shown with the error instead of ending the report.
#pragma once

#include <vector>

#include "mixers/Mixers.h"

/// Makes the next scan keep every line and every control the driver reports,
/// lines without controls included.
void AdmitEverything(TMixer& Mixer);

/// The devices, their lines with their volume, balance and mute, and the
/// lines' controls with their items, one entry per output line.
std::vector<String> MixerReport(TMixer& Mixer);

/// A line-change event: which device and line, then the line's values.
std::vector<String> LineChangeReport(TMixer& Mixer, TMixerDev* Dev, TMixerItem* Item);

/// A control-change event: which device, line and control, and the control's value.
std::vector<String> ControlChangeReport(TMixer& Mixer, TMixerDev* Dev, TMixerItem* Item, TMixerCtrl* Ctrl);
