// The project's text: UTF-16 code units on every host, and the few
// conversions between numbers, ASCII and text that its messages need.
#pragma once

#include <cstdint>
#include <string>

#ifdef _WIN32
using TextUnit = wchar_t;
#define WSTR_(s) L##s
#else
using TextUnit = char16_t;
#define WSTR_(s) u##s
#endif

// Literal UTF-16 text on every host: WSTR("abc").
#define WSTR(s) WSTR_(s)

// The project's one string type.
#ifdef _WIN32
// On Windows the standard traits under a name of the project's own, so that
// the compiler instantiates just the members the project uses: the C++
// runtime may declare std::wstring's members as instantiated in its library,
// and a static MinGW link then takes all of them along (about 30 KB).
struct TextTraits : std::char_traits<TextUnit> {};
#else
using TextTraits = std::char_traits<TextUnit>;
#endif
using String = std::basic_string<TextUnit, TextTraits>;

static_assert(sizeof(TextUnit) == 2, "text is UTF-16");

/// Value in decimal, with a leading '-' when negative.
String DecimalText(std::int64_t Value);
/// Value in upper-case hexadecimal digits, at least Digits of them, without a prefix.
String HexText(std::uint64_t Value, int Digits);
/// Text of single-byte characters, each widened to one code unit.
String Widened(const char* Text);
/// Single-byte characters of Text: each ASCII code unit as it is, every other
/// one as Other gives it ('?' without Other).
std::string AsciiText(const String& Text, std::string (*Other)(TextUnit Unit) = nullptr);

/// The signed 32-bit integer whose two's complement pattern is Pattern,
/// without relying on the implementation-defined narrowing conversion.
constexpr std::int32_t AsSigned(std::uint32_t Pattern) {
  return Pattern <= 0x7FFFFFFFu ? static_cast<std::int32_t>(Pattern) : -static_cast<std::int32_t>(~Pattern) - 1;
}

/// Text with the ASCII capitals A to Z made small, every other code unit as it
/// is: options and file names match without regard to ASCII case.
String AsciiLowered(const String& Text);
