// The root of the project's exceptions: a UTF-16 message and the class's name,
// which is what the front end's exception report prints.
#pragma once

#include <exception>
#include <string>

#include "core/Text.h"

class Exception : public std::exception {
 public:
  explicit Exception(String message);

  const String& Message() const noexcept { return FMessage; }
  void SetMessage(String message);
  /// The class's own name, for example "EMixerError".
  virtual String ClassName() const { return WSTR("Exception"); }
  /// The message with every code unit outside ASCII shown as '?'.
  const char* what() const noexcept override { return FWhat.c_str(); }

 private:
  String FMessage;
  std::string FWhat;
};

/// The line that reports an exception: "ClassName: message" for the project's
/// own, "Exception: " and the run-time's text for any other.
String DescribeException(const std::exception& Error);
