#include "app/EndpointMute.h"

#include <cstdint>

namespace Endpoint {

namespace {

constexpr DWORD EnumeratorContext = CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER;
constexpr DWORD ActivateContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

}  // namespace

String GuidToString(const GUID& Guid) {
  String text = WSTR("{");
  text += HexText(Guid.Data1, 8);
  text += WCHAR('-');
  text += HexText(Guid.Data2, 4);
  text += WCHAR('-');
  text += HexText(Guid.Data3, 4);
  text += WCHAR('-');
  for (int i = 0; i < 8; ++i) {
    if (i == 2) text += WCHAR('-');
    text += HexText(Guid.Data4[i], 2);
  }
  text += WCHAR('}');
  return text;
}

String SysErrorMessage(IKernel32& Kernel32, DWORD ErrorCode) {
  WCHAR buffer[256];
  DWORD length = Kernel32.FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ErrorCode,
                                         0, buffer, static_cast<DWORD>(sizeof(buffer) / sizeof(buffer[0])), nullptr);
  if (length > sizeof(buffer) / sizeof(buffer[0])) length = 0;
  while (length > 0 && (static_cast<unsigned>(buffer[length - 1]) <= 32 || buffer[length - 1] == WCHAR('.'))) --length;
  return String(buffer, length);
}

bool IsMajorVersion6(IKernel32& Kernel32) {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = static_cast<DWORD>(sizeof(version));
  return Kernel32.GetVersionExW(&version) != 0 && version.dwMajorVersion == 6;
}

void GetEndpointVolume(const TPlatform& Platform, TComPtr<IAudioEndpointVolume>& Volume) {
  Volume.Reset();
  // Owners release the enumerator and the device on every way out.
  TComPtr<IUnknown> object;
  const HRESULT created = Platform.Ole32->CoCreateInstance(
      MMDeviceApi::CLSID_MMDeviceEnumerator, nullptr, EnumeratorContext, MMDeviceApi::IID_IUnknown, object.PutVoid());
  if (FAILED(created)) {
    String reason = SysErrorMessage(*Platform.Kernel32, static_cast<DWORD>(created));
    if (reason.empty()) {
      // Without the system's text the code itself is all the user can look up.
      reason = WSTR("OLE error ") + HexText(static_cast<DWORD>(created), 8);
    }
    const String text = reason + WSTR(", ClassID: ") + GuidToString(MMDeviceApi::CLSID_MMDeviceEnumerator);
    throw EOleSysError(text, created);
  }
  TComPtr<IMMDeviceEnumerator> enumerator;
  if (FAILED(object->QueryInterface(MMDeviceApi::IID_IMMDeviceEnumerator, enumerator.PutVoid())))
    throw EIntfCastError(WSTR("Interface はサポートされていません"));
  TComPtr<IMMDevice> device;
  const HRESULT found = enumerator->GetDefaultAudioEndpoint(eRender, eConsole, device.Put());
  if (FAILED(found)) return;
  // Activate's result is not examined: Volume holds whatever it left there.
  device->Activate(MMDeviceApi::IID_IAudioEndpointVolume, ActivateContext, nullptr, Volume.PutVoid());
}

void EndpointMute(const TPlatform& Platform, bool MuteOn, TConsole& Console) {
  // Every reference of the step goes before COM does, on every way out.
  const TComApartment apartment(SUCCEEDED(Platform.Ole32->CoInitialize(nullptr)) ? Platform.Ole32 : nullptr, {});
  TComPtr<IAudioEndpointVolume> EndpointVolume;
  GetEndpointVolume(Platform, EndpointVolume);
  if (!EndpointVolume)
    Console.WriteLine(WSTR("SetMuteError"));
  else if (FAILED(EndpointVolume->SetMute(MuteOn ? 1 : 0, &MMDeviceApi::GUID_NULL)))
    Console.WriteLine(WSTR("SetMuteError"));
}

}  // namespace Endpoint
