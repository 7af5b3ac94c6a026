// The mute of the default render endpoint through the endpoint audio
// interfaces, the version test that chooses it, and its two exceptions.
#pragma once

#include <utility>

#include "core/ComPtr.h"
#include "console/Console.h"
#include "app/platform/MMDeviceApi.h"
#include "core/Exception.h"
#include "app/platform/Platform.h"

/// A COM call failed: the system's text for the code and the class concerned.
class EOleSysError : public Exception {
 public:
  EOleSysError(String Message, HRESULT ErrorCode) : Exception(std::move(Message)), FErrorCode(ErrorCode) {}
  HRESULT ErrorCode() const { return FErrorCode; }
  String ClassName() const override { return WSTR("EOleSysError"); }

 private:
  HRESULT FErrorCode;
};

/// An object does not offer the interface asked of it.
class EIntfCastError : public Exception {
 public:
  explicit EIntfCastError(String Message) : Exception(std::move(Message)) {}
  String ClassName() const override { return WSTR("EIntfCastError"); }
};

namespace Endpoint {

/// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper case.
String GuidToString(const GUID& Guid);

/// The system's text for a message code, with trailing blanks, control
/// characters and periods removed; empty when the system has none.
String SysErrorMessage(IKernel32& Kernel32, DWORD ErrorCode);

/// True exactly when the version query succeeds and reports major version 6.
bool IsMajorVersion6(IKernel32& Kernel32);

/// Fills Volume with the default render endpoint's volume interface for the
/// console role, or leaves it empty when there is no such endpoint. Raises
/// EOleSysError when the enumerator cannot be created and EIntfCastError when
/// it lacks its interface.
void GetEndpointVolume(const TPlatform& Platform, TComPtr<IAudioEndpointVolume>& Volume);

/// Mutes (MuteOn) or unmutes the default render endpoint inside its own COM
/// initialisation; writes "SetMuteError" when that fails.
void EndpointMute(const TPlatform& Platform, bool MuteOn, TConsole& Console);

}  // namespace Endpoint
