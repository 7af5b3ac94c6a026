// The endpoint audio interfaces the endpoint mute uses, declared with the
// platform's published method order, and their identifiers.
#pragma once

#include "platform/WinTypes.h"

#ifndef _WIN32
struct PROPVARIANT;
#endif

// Interfaces that appear only in the signatures of methods the program never calls.
struct IMMDeviceCollection;
struct IMMNotificationClient;
struct IPropertyStore;
struct IAudioEndpointVolumeCallback;

enum EDataFlow { eRender = 0, eCapture = 1, eAll = 2 };
enum ERole { eConsole = 0, eMultimedia = 1, eCommunications = 2 };

struct IMMDevice : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD dwClsCtx, PROPVARIANT* pActivationParams,
                                             void** ppInterface) = 0;
  virtual HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD stgmAccess, IPropertyStore** ppProperties) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetId(LPWSTR* ppstrId) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetState(DWORD* pdwState) = 0;

 protected:
  ~IMMDevice() = default;
};

struct IMMDeviceEnumerator : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow dataFlow, DWORD dwStateMask,
                                                       IMMDeviceCollection** ppDevices) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow dataFlow, ERole role, IMMDevice** ppEndpoint) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR pwstrId, IMMDevice** ppDevice) = 0;
  virtual HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient* pClient) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient* pClient) = 0;

 protected:
  ~IMMDeviceEnumerator() = default;
};

struct IAudioEndpointVolume : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE RegisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify) = 0;
  virtual HRESULT STDMETHODCALLTYPE UnregisterControlChangeNotify(IAudioEndpointVolumeCallback* pNotify) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetChannelCount(UINT* pnChannelCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetMasterVolumeLevel(float fLevelDB, LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(float fLevel, LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMasterVolumeLevel(float* pfLevelDB) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(float* pfLevel) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetChannelVolumeLevel(UINT nChannel, float fLevelDB, LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetChannelVolumeLevelScalar(UINT nChannel, float fLevel,
                                                                LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetChannelVolumeLevel(UINT nChannel, float* pfLevelDB) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetChannelVolumeLevelScalar(UINT nChannel, float* pfLevel) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetMute(BOOL bMute, LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetMute(BOOL* pbMute) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVolumeStepInfo(UINT* pnStep, UINT* pnStepCount) = 0;
  virtual HRESULT STDMETHODCALLTYPE VolumeStepUp(LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE VolumeStepDown(LPCGUID pguidEventContext) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD* pdwHardwareSupportMask) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetVolumeRange(float* pflVolumeMindB, float* pflVolumeMaxdB,
                                                   float* pflVolumeIncrementdB) = 0;

 protected:
  ~IAudioEndpointVolume() = default;
};

// The identifiers, kept in a namespace of their own so they never meet the SDK's.
namespace MMDeviceApi {
constexpr CLSID CLSID_MMDeviceEnumerator = {
    0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
constexpr IID IID_IMMDeviceEnumerator = {0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};
constexpr IID IID_IAudioEndpointVolume = {0x5CDF2C82, 0x841E, 0x4546, {0x97, 0x22, 0x0C, 0xF7, 0x40, 0x78, 0x22, 0x9A}};
constexpr IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID GUID_NULL = {0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
}  // namespace MMDeviceApi
