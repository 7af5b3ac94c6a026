#include "fuzz/FuzzInput.h"

#include <algorithm>

namespace FuzzTables {

const MMRESULT FailureCodes[16] = {
    MMSYSERR_ERROR,       MMSYSERR_BADDEVICEID, MMSYSERR_NOTENABLED, MMSYSERR_ALLOCATED,
    MMSYSERR_INVALHANDLE, MMSYSERR_NODRIVER,    MMSYSERR_NOMEM,      MMSYSERR_NOTSUPPORTED,
    MMSYSERR_BADERRNUM,   MMSYSERR_INVALFLAG,   MMSYSERR_INVALPARAM, MIXERR_INVALLINE,
    MIXERR_INVALCONTROL,  MIXERR_INVALVALUE,    0x7FFFFFFFu,         0xFFFFFFFFu,
};

// Around the channel byte's wrap, the 16-bit and element-size limits, and the
// 32-bit sign and wrap; the last entry reads 32 raw bits instead.
const std::uint32_t OutsizedCounts[16] = {
    16,          255,         256,         257,         0xFFFF,      0x10000,     0x01000000u, 0x01E1E1E1u,
    0x3FFFFFFFu, 0x40000000u, 0x7FFFFFFFu, 0x80000000u, 0xC0000000u, 0xFFFFFFFEu, 0xFFFFFFFFu, 0,
};

const std::uint32_t NegativeLoopCounts[4] = {0x80000000u, 0xFFFFFFFFu, 0x8000000Fu, 0xFFFFFFF0u};

const std::uint32_t Values[32] = {
    0,           1,           2,           3,           100,         1000,        3000,        32767,
    32768,       65534,       65535,       65536,       0x7FFFFFFEu, 0x7FFFFFFFu, 0x80000000u, 0x80000001u,
    0xFFFF0000u, 0xFFFFFFFEu, 0xFFFFFFFFu, 0xFFFF8000u, 0x00010001u, 1500,        1499,        10,
    50,          99,          101,         131071,      0xFFFFFF9Cu, 0x7FFF,      0x8001,      0,
};

const WCHAR SpecialChars[32] = {
    0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0xD83D, 0xDE00, 0xFFFF, 0xFFFE, 0xFEFF, 0x00E9, 0x00C9,
    0x0130, 0x0131, 0x03A3, 0x03C3, 0x0416, 0x0436, 0xFF21, 0xFF41, 0x3042, 0x30A2, 0x0000,
    0x0001, 0x0009, 0x001F, 0x0080, 0x00A0, 0x00FF, 0x0178, 0x212A, 0x2126, 0x00DF,
};

const std::uint32_t ControlTypes[30] = {
    MIXERCONTROL_CONTROLTYPE_VOLUME,       MIXERCONTROL_CONTROLTYPE_MUTE,      MIXERCONTROL_CONTROLTYPE_MUX,
    MIXERCONTROL_CONTROLTYPE_SINGLESELECT, MIXERCONTROL_CONTROLTYPE_MIXER,     MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT,
    MIXERCONTROL_CONTROLTYPE_EQUALIZER,    MIXERCONTROL_CONTROLTYPE_CUSTOM,    MIXERCONTROL_CONTROLTYPE_BOOLEANMETER,
    MIXERCONTROL_CONTROLTYPE_SIGNEDMETER,  MIXERCONTROL_CONTROLTYPE_PEAKMETER, MIXERCONTROL_CONTROLTYPE_UNSIGNEDMETER,
    MIXERCONTROL_CONTROLTYPE_BOOLEAN,      MIXERCONTROL_CONTROLTYPE_ONOFF,     MIXERCONTROL_CONTROLTYPE_MONO,
    MIXERCONTROL_CONTROLTYPE_LOUDNESS,     MIXERCONTROL_CONTROLTYPE_STEREOENH, MIXERCONTROL_CONTROLTYPE_BUTTON,
    MIXERCONTROL_CONTROLTYPE_DECIBELS,     MIXERCONTROL_CONTROLTYPE_SIGNED,    MIXERCONTROL_CONTROLTYPE_UNSIGNED,
    MIXERCONTROL_CONTROLTYPE_PERCENT,      MIXERCONTROL_CONTROLTYPE_SLIDER,    MIXERCONTROL_CONTROLTYPE_PAN,
    MIXERCONTROL_CONTROLTYPE_QSOUNDPAN,    MIXERCONTROL_CONTROLTYPE_FADER,     MIXERCONTROL_CONTROLTYPE_BASS,
    MIXERCONTROL_CONTROLTYPE_TREBLE,       MIXERCONTROL_CONTROLTYPE_MICROTIME, MIXERCONTROL_CONTROLTYPE_MILLITIME,
};

const std::uint32_t ComponentTypes[20] = {
    MIXERLINE_COMPONENTTYPE_DST_UNDEFINED,   MIXERLINE_COMPONENTTYPE_DST_DIGITAL,
    MIXERLINE_COMPONENTTYPE_DST_LINE,        MIXERLINE_COMPONENTTYPE_DST_MONITOR,
    MIXERLINE_COMPONENTTYPE_DST_SPEAKERS,    MIXERLINE_COMPONENTTYPE_DST_HEADPHONES,
    MIXERLINE_COMPONENTTYPE_DST_TELEPHONE,   MIXERLINE_COMPONENTTYPE_DST_WAVEIN,
    MIXERLINE_COMPONENTTYPE_DST_VOICEIN,     MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED,
    MIXERLINE_COMPONENTTYPE_SRC_DIGITAL,     MIXERLINE_COMPONENTTYPE_SRC_LINE,
    MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE,  MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER,
    MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC, MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE,
    MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER,   MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT,
    MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY,   MIXERLINE_COMPONENTTYPE_SRC_ANALOG,
};

}  // namespace FuzzTables

std::uint16_t TFuzzStream::Word() {
  const std::uint16_t low = Byte();
  return static_cast<std::uint16_t>(low | (Byte() << 8));
}

std::uint32_t TFuzzStream::Dword() {
  const std::uint32_t low = Word();
  return low | (static_cast<std::uint32_t>(Word()) << 16);
}

MMRESULT TFuzzStream::Result() {
  if (Empty()) return FFailWhenEmpty ? MMSYSERR_ERROR : MMSYSERR_NOERROR;
  const std::uint8_t b = Byte();
  return b < 0xC0 ? MMSYSERR_NOERROR : FuzzTables::FailureCodes[b & 15];
}

std::uint32_t TFuzzStream::Count() {
  const std::uint8_t b = Byte();
  if (b < 0xF0) return b & 15u;
  const std::uint32_t c = FuzzTables::OutsizedCounts[b & 15];
  return c != 0 ? c : Dword();
}

std::uint32_t TFuzzStream::LoopCount() {
  const std::uint8_t b = Byte();
  return b < 0xF0 ? b & 15u : FuzzTables::NegativeLoopCounts[b & 3];
}

std::uint32_t TFuzzStream::Id() {
  const std::uint8_t b = Byte();
  return b < 0xF0 ? b : Dword();
}

std::uint32_t TFuzzStream::Value() {
  const std::uint8_t b = Byte();
  if (b < 0x80) return b < 32 ? FuzzTables::Values[b] : b;
  if (b < 0xF0) return static_cast<std::uint32_t>(b - 0x80) * 1024u;
  return Dword();
}

WCHAR TFuzzStream::Char() {
  const std::uint8_t b = Byte();
  if (b < 0x60) return static_cast<WCHAR>(0x20 + b);
  if (b < 0x80) return FuzzTables::SpecialChars[b - 0x60];
  return static_cast<WCHAR>(0x100 + b);
}

void TFuzzStream::Name(WCHAR* Field, std::size_t Width) {
  const std::uint8_t b = Byte();
  if (b >= 0xC0) {
    const WCHAR c = Char();
    for (std::size_t i = 0; i < Width; ++i) Field[i] = c != 0 ? c : WCHAR('n');
    if ((b & 1) != 0) Field[Width - 1] = 0xD83D;
    return;
  }
  const std::size_t n = std::min<std::size_t>(b, Width);
  for (std::size_t i = 0; i < n; ++i) Field[i] = Char();
  for (std::size_t i = n; i < Width; ++i) Field[i] = 0;
}

TFuzzInput::TFuzzInput(const std::uint8_t* Data, std::size_t Size) {
  const std::size_t header = 2 * StreamCount;
  std::size_t pos = header;
  for (int i = 0; i < StreamCount; ++i) {
    std::size_t n = 0;
    if (Size >= header) {
      const std::size_t want = static_cast<std::size_t>(Data[2 * i] | (Data[2 * i + 1] << 8));
      n = std::min(want, Size - pos);
    }
    Streams[i] = TFuzzStream(n != 0 ? Data + pos : nullptr, n, i == siDevices || i == siLines);
    pos += n;
  }
}
