#include "sim/SimWinmm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "sim/MixerBuilders.h"

namespace {

constexpr DWORD kHmixer = MIXER_OBJECTF_HMIXER;
constexpr DWORD kSource = kHmixer | MIXER_GETLINEINFOF_SOURCE;
constexpr DWORD kListText = kHmixer | MIXER_GETCONTROLDETAILSF_LISTTEXT;

// One typical device plus a recording destination with a multiplexer, opened
// once, and a valid request of each kind that a probe spoils in one place.
struct Bench {
  CallLog Log;
  SimWinmm Sim{Log};
  HMIXER Handle = nullptr;
  DWORD MuxID = 0;
  MIXERCAPSW Caps{};
  MIXERLINEW Line{};
  MIXERCONTROLW Records[2]{};
  MIXERLINECONTROLSW Ctls{};
  DWORD Words[4]{};
  MIXERCONTROLDETAILS_LISTTEXTW Texts[4]{};
  MIXERCONTROLDETAILS Details{};

  Bench() {
    SimDevice device = SimWinmm::TypicalDevice(WSTR("Sim Card"));
    device.Destinations.push_back(
        Dest(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, WSTR("Recording"),
             {SimWinmm::MuxControl(WSTR("Source"), {{0, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, WSTR("Microphone")},
                                                    {1, MIXERLINE_COMPONENTTYPE_SRC_LINE, WSTR("Line In")}})}));
    Sim.AddDevice(device);
    MuxID = Sim.Device(0).Destinations[1].Controls[0].ControlID;
    Sim.mixerOpen(&Handle, 0, 0, 0, CALLBACK_NULL);
    Line.cbStruct = sizeof Line;
    Ctls.cbStruct = sizeof Ctls;
    Ctls.dwLineID = 0xFFFF0000u;
    Ctls.cControls = 2;
    Ctls.cbmxctrl = sizeof(MIXERCONTROLW);
    Ctls.pamxctrl = Records;
    Details.cbStruct = sizeof Details;
    Details.dwControlID = 1;  // the speakers' volume
    Details.cChannels = 2;
    Details.cbDetails = sizeof(DWORD);
    Details.paDetails = Words;
    Log.Clear();
  }

  HMIXEROBJ Obj() const { return reinterpret_cast<HMIXEROBJ>(Handle); }
  MMRESULT Open(UINT id, DWORD_PTR callback, DWORD flags) {
    HMIXER h = nullptr;
    return Sim.mixerOpen(&h, id, callback, 0, flags);
  }
  MMRESULT Close() { return Sim.mixerClose(Handle); }
  MMRESULT GetLine(DWORD flags = kHmixer) { return Sim.mixerGetLineInfoW(Obj(), &Line, flags); }
  MMRESULT GetCtls(DWORD flags = kHmixer) { return Sim.mixerGetLineControlsW(Obj(), &Ctls, flags); }
  MMRESULT Get(DWORD flags = kHmixer) { return Sim.mixerGetControlDetailsW(Obj(), &Details, flags); }
  MMRESULT Set(DWORD flags = kHmixer) { return Sim.mixerSetControlDetails(Obj(), &Details, flags); }
  void UseMux(DWORD channels, DWORD items = 2) {
    Details.dwControlID = MuxID;
    Details.cChannels = channels;
    Details.cMultipleItems = items;
  }
  void UseTexts(DWORD channels = 1) {
    UseMux(channels);
    Details.cbDetails = sizeof(MIXERCONTROLDETAILS_LISTTEXTW);
    Details.paDetails = Texts;
  }
};

struct Probe {
  const char* What = "";
  MMRESULT Expected = MMSYSERR_NOERROR;
  std::function<MMRESULT(Bench&)> Call;

  Probe& When(const char* what, std::function<MMRESULT(Bench&)> call) {
    What = what;
    Call = std::move(call);
    return *this;
  }
};

Probe Expect(MMRESULT code) {
  Probe p;
  p.Expected = code;
  return p;
}

TEST(SimWinmmTest, AnswersBadInputWithTheSystemsCodes) {
  using B = Bench&;
  const Probe probes[] = {
      Expect(MMSYSERR_BADDEVICEID).When("caps of device 1", [](B b) { return b.Sim.mixerGetDevCapsW(1, &b.Caps, 80); }),
      Expect(MMSYSERR_BADDEVICEID).When("open device 1", [](B b) { return b.Open(1, 0, CALLBACK_NULL); }),
      Expect(MMSYSERR_INVALFLAG).When("open for a function", [](B b) { return b.Open(0, 0x1234, 0x00030000); }),
      Expect(MMSYSERR_INVALPARAM).When("open for window 0", [](B b) { return b.Open(0, 0, CALLBACK_WINDOW); }),
      Expect(MMSYSERR_INVALHANDLE)
          .When("close twice",
                [](B b) {
                  b.Close();
                  return b.Close();
                }),
      Expect(MMSYSERR_INVALPARAM)
          .When("line cbStruct short",
                [](B b) {
                  b.Line.cbStruct--;
                  return b.GetLine();
                }),
      Expect(MMSYSERR_INVALHANDLE)
          .When("line of a closed handle",
                [](B b) {
                  b.Close();
                  return b.GetLine();
                }),
      Expect(MMSYSERR_INVALFLAG).When("line of a wave-out object", [](B b) { return b.GetLine(0x10000000u); }),
      Expect(MIXERR_INVALLINE)
          .When("destination 2",
                [](B b) {
                  b.Line.dwDestination = 2;
                  return b.GetLine();
                }),
      Expect(MIXERR_INVALLINE)
          .When("source 1 of 0",
                [](B b) {
                  b.Line.dwSource = 1;
                  return b.GetLine(kSource);
                }),
      Expect(MMSYSERR_INVALFLAG).When("line query 5", [](B b) { return b.GetLine(kHmixer | 5); }),
      Expect(MMSYSERR_INVALPARAM)
          .When("controls cbStruct short",
                [](B b) {
                  b.Ctls.cbStruct--;
                  return b.GetCtls();
                }),
      Expect(MMSYSERR_INVALPARAM)
          .When("controls cbmxctrl short",
                [](B b) {
                  b.Ctls.cbmxctrl--;
                  return b.GetCtls();
                }),
      Expect(MMSYSERR_INVALPARAM)
          .When("controls into null",
                [](B b) {
                  b.Ctls.pamxctrl = {};
                  return b.GetCtls();
                }),
      Expect(MIXERR_INVALLINE)
          .When("controls of line 7",
                [](B b) {
                  b.Ctls.dwLineID = 7;
                  return b.GetCtls();
                }),
      Expect(MMSYSERR_INVALPARAM)
          .When("one control of two",
                [](B b) {
                  b.Ctls.cControls = 1;
                  return b.GetCtls();
                }),
      Expect(MMSYSERR_INVALFLAG).When("controls query 3", [](B b) { return b.GetCtls(kHmixer | 3); }),
      Expect(MMSYSERR_INVALPARAM)
          .When("details cbStruct short",
                [](B b) {
                  b.Details.cbStruct--;
                  return b.Get();
                }),
      Expect(MMSYSERR_INVALPARAM)
          .When("details into null",
                [](B b) {
                  b.Details.paDetails = nullptr;
                  return b.Get();
                }),
      Expect(MIXERR_INVALCONTROL)
          .When("details of control 99",
                [](B b) {
                  b.Details.dwControlID = 9;
                  return b.Set();
                }),
      Expect(MMSYSERR_INVALPARAM)
          .When("0 channels",
                [](B b) {
                  b.Details.cChannels = 0;
                  return b.Get();
                }),
      Expect(MMSYSERR_INVALPARAM)
          .When("3 channels of 2",
                [](B b) {
                  b.Details.cChannels = 3;
                  return b.Set();
                }),
      Expect(MMSYSERR_INVALPARAM)
          .When("items of a volume",
                [](B b) {
                  b.Details.cMultipleItems = 1;
                  return b.Get();
                }),
      Expect(MMSYSERR_INVALPARAM)
          .When("3 items of 2",
                [](B b) {
                  b.UseMux(1, 3);
                  return b.Get();
                }),
      Expect(MMSYSERR_INVALPARAM)
          .When("8-byte details",
                [](B b) {
                  b.Details.cbDetails = 8;
                  return b.Get();
                }),
      Expect(MMSYSERR_INVALPARAM).When("list texts of a volume", [](B b) { return b.Get(kListText); }),
      Expect(MMSYSERR_INVALPARAM)
          .When("list texts too small",
                [](B b) {
                  b.UseTexts();
                  b.Details.cbDetails -= 2;
                  return b.Get(kListText);
                }),
      Expect(MMSYSERR_INVALFLAG).When("set custom details", [](B b) { return b.Set(kHmixer | 1); }),
      Expect(MMSYSERR_INVALHANDLE)
          .When("details of handle 0",
                [](B b) {
                  b.Handle = nullptr;
                  return b.Get();
                }),
  };
  for (const Probe& probe : probes) {
    Bench bench;
    EXPECT_EQ(probe.Call(bench), probe.Expected) << probe.What;
  }
}

TEST(SimWinmmTest, WritesAndReadsBackValues) {
  Bench b;
  const std::vector<DWORD>& volume = b.Sim.Control(0, 1)->Values;
  b.Words[0] = 1000;
  b.Words[1] = 2000;
  ASSERT_EQ(b.Set(), MMSYSERR_NOERROR);
  EXPECT_EQ(volume, (std::vector<DWORD>{1000, 2000}));

  b.Details.cChannels = 1;  // the first channel only, though the control is not uniform
  b.Words[1] = 0;
  ASSERT_EQ(b.Get(), MMSYSERR_NOERROR);
  EXPECT_EQ(b.Words[0], 1000u);
  EXPECT_EQ(b.Words[1], 0u) << "a one-channel read fills one element";

  b.Words[0] = 7;
  ASSERT_EQ(b.Set(), MMSYSERR_NOERROR);
  EXPECT_EQ(volume, (std::vector<DWORD>{7, 7})) << "a one-channel write sets every channel";

  b.Details.dwControlID = 2;  // the speakers' mute: uniform, stored once, read alike on both channels
  b.Words[0] = 1;
  ASSERT_EQ(b.Set(), MMSYSERR_NOERROR);
  b.Details.cChannels = 2;
  ASSERT_EQ(b.Get(), MMSYSERR_NOERROR);
  EXPECT_EQ(std::vector<DWORD>(b.Words, b.Words + 2), (std::vector<DWORD>{1, 1}));
  EXPECT_EQ(b.Sim.Control(0, 2)->Values, std::vector<DWORD>{1});
}

TEST(SimWinmmTest, GivesMultipleItemsPerChannel) {
  Bench b;
  SimControl& mux = *b.Sim.Control(0, b.MuxID);
  mux.Flags &= ~MIXERCONTROL_CONTROLF_UNIFORM;
  mux.Values = {1, 0, 0, 1};  // channel-major: the left channel takes item 0, the right item 1
  b.UseTexts(2);
  ASSERT_EQ(b.Get(kListText), MMSYSERR_NOERROR);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(b.Texts[i].dwParam1, DWORD(i % 2));
    EXPECT_EQ(String(b.Texts[i].szName), i % 2 ? WSTR("Line In") : WSTR("Microphone"));
  }
  EXPECT_EQ(b.Texts[1].dwParam2, MIXERLINE_COMPONENTTYPE_SRC_LINE);

  b.UseMux(2);
  b.Details.cbDetails = sizeof(DWORD);
  b.Details.paDetails = b.Words;
  ASSERT_EQ(b.Get(), MMSYSERR_NOERROR);
  EXPECT_EQ(std::vector<DWORD>(b.Words, b.Words + 4), (std::vector<DWORD>{1, 0, 0, 1}));
  b.Details.cChannels = 1;
  b.Words[0] = 0;
  b.Words[1] = 1;
  ASSERT_EQ(b.Set(), MMSYSERR_NOERROR);
  EXPECT_EQ(mux.Values, (std::vector<DWORD>{0, 1, 0, 1}));
}

TEST(SimWinmmTest, DescribesLinesAndControls) {
  Bench b;
  ASSERT_EQ(b.GetLine(), MMSYSERR_NOERROR);
  EXPECT_EQ(b.Line.dwLineID, 0xFFFF0000u);
  EXPECT_EQ(b.Line.fdwLine, MIXERLINE_LINEF_ACTIVE);
  EXPECT_EQ(b.Line.cConnections, 1u);
  EXPECT_EQ(String(b.Line.szName), WSTR("Speakers"));
  EXPECT_EQ(String(b.Line.Target.szPname), WSTR("Sim Card"));

  ASSERT_EQ(b.GetLine(kSource), MMSYSERR_NOERROR);
  EXPECT_EQ(b.Line.dwLineID, 0u);
  EXPECT_EQ(b.Line.fdwLine, MIXERLINE_LINEF_ACTIVE | MIXERLINE_LINEF_SOURCE);
  EXPECT_EQ(b.Line.cConnections, 0u);

  ASSERT_EQ(b.GetCtls(), MMSYSERR_NOERROR);
  EXPECT_EQ(b.Records[0].cbStruct, sizeof(MIXERCONTROLW));
  EXPECT_EQ(b.Records[0].Bounds.dwReserved[1], 65535u);
  EXPECT_EQ(b.Records[0].Metrics.cSteps, 65535u);
  EXPECT_EQ(b.Records[1].dwControlType, MIXERCONTROL_CONTROLTYPE_MUTE);
  EXPECT_EQ(b.Records[1].fdwControl, MIXERCONTROL_CONTROLF_UNIFORM);

  std::memset(&b.Caps, 0xAB, sizeof b.Caps);  // a short size fills no more than asked
  ASSERT_EQ(b.Sim.mixerGetDevCapsW(0, &b.Caps, 4), MMSYSERR_NOERROR);
  EXPECT_EQ(b.Caps.cDestinations, 0xABABABABu);
}

TEST(SimWinmmTest, CutsNamesToTheirFields) {
  struct Case {
    std::size_t Length;
    long DeviceName;       // units of szPname before a terminator or the field's end
    std::size_t LineName;  // units of the line's szShortName
  };
  for (const Case c : {Case{15, 15, 15}, Case{16, 16, 15}, Case{31, 31, 15}, Case{32, 32, 15}, Case{33, 31, 15}}) {
    CallLog log;
    SimWinmm sim(log);
    const String name(c.Length, WCHAR('n'));
    SimDevice device = SimWinmm::TypicalDevice(name);
    device.Destinations[0].ShortName = name;
    sim.AddDevice(device);
    MIXERCAPSW caps{};
    ASSERT_EQ(sim.mixerGetDevCapsW(0, &caps, sizeof caps), MMSYSERR_NOERROR);
    EXPECT_EQ(std::find(caps.szPname, caps.szPname + MAXPNAMELEN, WCHAR(0)) - caps.szPname, c.DeviceName) << c.Length;
    HMIXER handle = nullptr;
    ASSERT_EQ(sim.mixerOpen(&handle, 0, 0, 0, CALLBACK_NULL), MMSYSERR_NOERROR);
    MIXERLINEW line{};
    line.cbStruct = sizeof line;
    ASSERT_EQ(sim.mixerGetLineInfoW(reinterpret_cast<HMIXEROBJ>(handle), &line, MIXER_OBJECTF_HMIXER),
              MMSYSERR_NOERROR);
    EXPECT_EQ(String(line.szShortName).size(), c.LineName) << c.Length;
  }
}

TEST(SimWinmmTest, IssuesFreshHandlesAndCountsOpenOnes) {
  Bench b;
  HMIXER second = nullptr, third = nullptr;
  ASSERT_EQ(b.Sim.mixerOpen(&second, 0, 0x77, 5, CALLBACK_WINDOW), MMSYSERR_NOERROR);
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(b.Handle), 0x1000u);
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(second), 0x1001u);
  ASSERT_EQ(b.Close(), MMSYSERR_NOERROR);
  ASSERT_EQ(b.Sim.mixerOpen(&third, 0, 0, 0, 0), MMSYSERR_NOERROR);
  EXPECT_EQ(reinterpret_cast<UINT_PTR>(third), 0x1002u);
  EXPECT_EQ(b.Sim.DeviceOfHandle(b.Handle), -1);
  EXPECT_EQ(b.Sim.DeviceOfHandle(third), 0);
  EXPECT_EQ(b.Sim.OpenHandleCount(), 2u);
}

TEST(SimWinmmTest, FailsPlannedCallsWithoutTouchingOutputs) {
  Bench b;
  b.Sim.FailCode = MMSYSERR_NODRIVER;
  b.Log.FailNamed("mixerGetNumDevs");
  b.Log.FailNamed("mixerOpen");
  b.Log.FailNamed("mixerSetControlDetails");
  EXPECT_EQ(b.Sim.mixerGetNumDevs(), 0u);
  HMIXER h = nullptr;
  EXPECT_EQ(b.Sim.mixerOpen(&h, 0, 0, 0, 0), MMSYSERR_NODRIVER);
  EXPECT_EQ(h, nullptr);
  EXPECT_EQ(b.Sim.OpenHandleCount(), 1u);
  b.Words[0] = b.Words[1] = 5;
  EXPECT_EQ(b.Set(), MMSYSERR_NODRIVER);
  EXPECT_EQ(b.Sim.Control(0, 1)->Values, (std::vector<DWORD>{65535, 65535}));
}

TEST(SimWinmmTest, RecordsCallsInTheDocumentedFormat) {
  Bench b;
  HMIXER h = nullptr;
  b.Sim.mixerGetNumDevs();
  b.Sim.mixerGetDevCapsW(0, &b.Caps, sizeof b.Caps);
  b.Sim.mixerOpen(&h, 0, 0xBEEF, 3, CALLBACK_WINDOW);
  b.Line.dwSource = 1;
  b.GetLine(kSource);
  b.GetCtls();
  b.Get();
  b.Words[0] = 0xFFFFFFFFu;
  b.Words[1] = 12;
  b.Set();
  b.Details.cChannels = 5;  // refused: no values in the record
  b.Set();
  b.Sim.mixerClose(h);
  EXPECT_EQ(b.Log.Calls(), (std::vector<std::string>{
                               "mixerGetNumDevs()",
                               "mixerGetDevCapsW(0,80)",
                               "mixerOpen(0,0xBEEF,3,0x10000)",
                               "mixerGetLineInfoW(0x1000,0,1,0x80000001)",
                               "mixerGetLineControlsW(0x1000,0xFFFF0000,2,0x80000000)",
                               "mixerGetControlDetailsW(0x1000,1,2,0,4,0x80000000)",
                               "mixerSetControlDetails(0x1000,1,2,0,4,0x80000000,4294967295,12)",
                               "mixerSetControlDetails(0x1000,1,5,0,4,0x80000000)",
                               "mixerClose(0x1001)",
                           }));
}

}  // namespace
