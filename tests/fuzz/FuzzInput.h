// The fuzzer's bytes as the answers of a simulated system. An input is cut
// into streams, one per kind of answer, so that a change to one kind (say, a
// control record) does not shift every other answer after it:
//
//   bytes 0..13   seven 16-bit little-endian stream lengths, in the order of TStreamId
//   then          the streams, back to back; a stream cut short by the input's end
//                 is as long as what is left, and bytes after the last are unused
//
// Each stream is read front to back and answers zero for values once it is
// empty. Result codes of an empty stream are success, except for the device
// and line queries: there they are failures, so that every loop that asks the
// system for more devices or lines ends soon after its stream does.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/WinTypes.h"

enum TStreamId : int {
  siPlan,      // the client's settings and the operations it runs, one byte each
  siArgs,      // the arguments of those operations
  siDevices,   // mixerGetNumDevs, mixerGetDevCapsW, mixerOpen, mixerClose
  siLines,     // mixerGetLineInfoW
  siControls,  // mixerGetLineControlsW
  siDetails,   // mixerGetControlDetailsW, mixerSetControlDetails
  siWindows,   // the window functions, and memory running out inside the window procedure
  StreamCount
};

class TFuzzStream {
 public:
  TFuzzStream() = default;
  TFuzzStream(const std::uint8_t* Data, std::size_t Size, bool FailWhenEmpty)
      : FData(Data), FSize(Size), FFailWhenEmpty(FailWhenEmpty) {}

  bool Empty() const { return FPos >= FSize; }
  std::uint8_t Byte() { return Empty() ? 0 : FData[FPos++]; }
  std::uint16_t Word();
  std::uint32_t Dword();
  bool Flag() { return (Byte() & 1) != 0; }

  /// 0 for a byte below 0xC0; otherwise one of the codes a mixer call can
  /// fail with (or an unknown one). Once the stream is empty: see above.
  MMRESULT Result();
  /// A count a driver reports: 0 to 15 (the byte's low four bits) for a byte
  /// below 0xF0, otherwise an outsized one (see the table in FuzzInput.cpp).
  std::uint32_t Count();
  /// A count that only drives a loop of queries (devices, connections): 0 to
  /// 15, or one that reads as negative in 32 bits. Positive counts in the
  /// billions would only make a scan ask that many times.
  std::uint32_t LoopCount();
  /// An identifier: the byte itself below 0xF0 (so identifiers repeat), else 32 raw bits.
  std::uint32_t Id();
  /// A 32-bit value: small and boundary values by table, or 32 raw bits.
  std::uint32_t Value();
  /// Fills a fixed name field of Width characters. A first byte below 0xC0
  /// gives the length (cut to the field; a name of the field's full width has
  /// no terminator), followed by one byte per character. From 0xC0 the field
  /// is filled to the end without a terminator, with the last character half
  /// of a surrogate pair when the first byte is odd.
  void Name(WCHAR* Field, std::size_t Width);
  /// One UTF-16 code unit per byte: printable ASCII below 0x60, then surrogate
  /// halves, non-characters, accented and case-folding letters, controls, a null.
  WCHAR Char();

 private:
  const std::uint8_t* FData = nullptr;
  std::size_t FSize = 0;
  std::size_t FPos = 0;
  bool FFailWhenEmpty = false;
};

/// The streams of one input.
struct TFuzzInput {
  TFuzzInput(const std::uint8_t* Data, std::size_t Size);
  TFuzzStream Streams[StreamCount];
  TFuzzStream& operator[](TStreamId Id) { return Streams[Id]; }
};

/// The tables behind the readers, shared with the seed writer.
namespace FuzzTables {
extern const MMRESULT FailureCodes[16];
extern const std::uint32_t OutsizedCounts[16];
extern const std::uint32_t NegativeLoopCounts[4];
extern const std::uint32_t Values[32];
extern const WCHAR SpecialChars[32];
/// Control types by index: the first ones are those the library handles specially.
extern const std::uint32_t ControlTypes[30];
/// Component types by index: the nine destination types, then the eleven source types.
extern const std::uint32_t ComponentTypes[20];
}  // namespace FuzzTables
