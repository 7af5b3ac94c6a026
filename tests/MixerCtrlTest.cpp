#include "mixers/MixerCtrl.h"

#include <gtest/gtest.h>

#include <cstring>

#include "sim/MixerBuilders.h"

namespace {

// A multiplexer description with distinct words in every slot of both blocks.
MIXERCONTROLW Description() {
  MIXERCONTROLW c;
  std::memset(&c, 0, sizeof c);
  c.cbStruct = sizeof c;
  c.dwControlID = 0x80000007u;
  c.dwControlType = MIXERCONTROL_CONTROLTYPE_MUX;
  c.fdwControl = MIXERCONTROL_CONTROLF_UNIFORM | MIXERCONTROL_CONTROLF_MULTIPLE;
  c.cMultipleItems = 3;
  PutName(c.szName, WSTR("Recording Source"));
  PutName(c.szShortName, WSTR("Rec"));
  for (DWORD i = 0; i < 6; ++i) {
    c.Bounds.dwReserved[i] = 0xFFFFFF00u + i;
    c.Metrics.dwReserved[i] = 100 + i;
  }
  return c;
}

}  // namespace

TEST(MixerCtrl, TakesIdentityFromTheDescription) {
  const TMixerCtrl ctrl(Description(), {});
  EXPECT_EQ(ctrl.Parent(), nullptr);
  EXPECT_EQ(ctrl.ControlID(), 0x80000007u);
  EXPECT_EQ(ctrl.GetBounds().SignedMin(), -256);
  EXPECT_EQ(ctrl.GetMetrics().Steps(), 100u);
  EXPECT_EQ(ctrl.ControlType(), ctMux);
  EXPECT_EQ(ctrl.Status(), (TMixerControlStatus{csMultiple, csUniform}));
  EXPECT_EQ(ctrl.MultipleItems(), 3u);
}

TEST(MixerCtrl, OptionsSuppressNamesAndCopies) {
  struct Case {
    const char* What;
    TMixerOptions Options;
    String Name;
    String ShortName;
    bool HasBounds;
    bool HasMetrics;
  };
  const Case cases[] = {
      {/*What=*/"nothing suppressed", /*Options=*/{}, /*Name=*/WSTR("Recording Source"), /*ShortName=*/WSTR("Rec"),
       /*HasBounds=*/true, /*HasMetrics=*/true},
      {/*What=*/"no long name", /*Options=*/{moNoControlName}, /*Name=*/String(), /*ShortName=*/WSTR("Rec"),
       /*HasBounds=*/true, /*HasMetrics=*/true},
      {/*What=*/"no short name", /*Options=*/{moNoControlShortName}, /*Name=*/WSTR("Recording Source"),
       /*ShortName=*/String(), /*HasBounds=*/true, /*HasMetrics=*/true},
      {/*What=*/"no bounds", /*Options=*/{moNoControlBounds}, /*Name=*/WSTR("Recording Source"),
       /*ShortName=*/WSTR("Rec"), /*HasBounds=*/false, /*HasMetrics=*/true},
      {/*What=*/"everything suppressed",
       /*Options=*/{moNoControlName, moNoControlShortName, moNoControlBounds, moNoControlMetrics},
       /*Name=*/String(), /*ShortName=*/String(), /*HasBounds=*/false, /*HasMetrics=*/false},
      {/*What=*/"options of other objects",
       /*Options=*/{moNoDeviceName, moNoLineName, moNoLineShortName, moNoTargetName, moNoBalanceAutoUpdate},
       /*Name=*/WSTR("Recording Source"), /*ShortName=*/WSTR("Rec"), /*HasBounds=*/true, /*HasMetrics=*/true},
  };
  for (const Case& c : cases) {
    const TMixerCtrl ctrl(Description(), c.Options);
    EXPECT_EQ(ctrl.Name(), c.Name) << c.What;
    EXPECT_EQ(ctrl.ShortName(), c.ShortName) << c.What;
    const TMixerCtrlBounds bounds = ctrl.GetBounds();
    const TMixerCtrlMetrics metrics = ctrl.GetMetrics();
    for (DWORD i = 0; i < 6; ++i) {
      EXPECT_EQ(bounds.Reserved[i], c.HasBounds ? 0xFFFFFF00u + i : 0u) << c.What << " bounds " << i;
      EXPECT_EQ(metrics.Reserved[i], c.HasMetrics ? 100 + i : 0u) << c.What << " metrics " << i;
    }
    // Every identity field survives whatever is suppressed.
    EXPECT_EQ(ctrl.ControlID(), 0x80000007u) << c.What;
    EXPECT_EQ(ctrl.MultipleItems(), 3u) << c.What;
  }
}

TEST(MixerCtrl, RenamingTheShortNameLeavesTheName) {
  TMixerCtrl ctrl(Description(), {});
  ctrl.SetShortName(WSTR("Src"));
  EXPECT_EQ(ctrl.ShortName(), WSTR("Src"));
  EXPECT_EQ(ctrl.Name(), WSTR("Recording Source"));
}
