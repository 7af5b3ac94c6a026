#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "app/platform/MMDeviceApi.h"
#include "sim/SimSystem.h"

namespace {

// Result codes beyond those every host declares (the SDK defines some of
// these names as macros, hence names of our own).
constexpr HRESULT NotImplemented = static_cast<HRESULT>(0x80004001u);   // E_NOTIMPL
constexpr HRESULT NoAggregation = static_cast<HRESULT>(0x80040110u);    // CLASS_E_NOAGGREGATION
constexpr HRESULT ElementNotFound = static_cast<HRESULT>(0x80070490u);  // HRESULT of ERROR_NOT_FOUND

std::string GuidArg(const GUID& id) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(id.Data1), static_cast<unsigned>(id.Data2), static_cast<unsigned>(id.Data3),
                static_cast<unsigned>(id.Data4[0]), static_cast<unsigned>(id.Data4[1]),
                static_cast<unsigned>(id.Data4[2]), static_cast<unsigned>(id.Data4[3]),
                static_cast<unsigned>(id.Data4[4]), static_cast<unsigned>(id.Data4[5]),
                static_cast<unsigned>(id.Data4[6]), static_cast<unsigned>(id.Data4[7]));
  return buf;
}

std::string GuidArg(const GUID* id) { return id != nullptr ? GuidArg(*id) : std::string("null"); }

// What every endpoint object shares: its reference count and its records.
class SimComObject {
 public:
  SimComObject(SimOle32& Owner, CallLog& Log, SimOle32::Objects& Made, const char* Interface)
      : FOwner(Owner), FLog(Log), FMade(Made), FInterface(Interface) {}
  virtual ~SimComObject() = default;
  SimComObject(const SimComObject&) = delete;
  SimComObject& operator=(const SimComObject&) = delete;

  int References() const { return FReferences; }

 protected:
  /// Records "Interface.Method(args)"; true when the plan fails it. A call on
  /// an object whose references are all released is counted as the caller's fault.
  template <class... A>
  bool RecordCall(const char* method, const A&... args) {
    if (FReferences <= 0) ++FOwner.CallsAfterRelease;
    const std::string name = std::string(FInterface) + "." + method;
    return FLog.Record(CallText(name.c_str(), args...));
  }

  ULONG DoAddRef() {
    RecordCall("AddRef");  // cannot fail
    return static_cast<ULONG>(++FReferences);
  }

  ULONG DoRelease() {
    RecordCall("Release");  // cannot fail
    // Kept alive until the simulator goes, so a stray call is counted rather than undefined.
    if (FReferences > 0) --FReferences;
    return static_cast<ULONG>(FReferences);
  }

  /// QueryInterface for IUnknown and the object's own interface (when offered).
  HRESULT DoQueryInterface(REFIID riid, void** ppvObject, const IID& own, bool offered, void* self) {
    if (RecordCall("QueryInterface", GuidArg(riid))) {
      if (ppvObject != nullptr) *ppvObject = nullptr;
      return E_NOINTERFACE;
    }
    if (ppvObject == nullptr) return E_POINTER;
    if (riid == MMDeviceApi::IID_IUnknown || (offered && riid == own)) {
      *ppvObject = self;
      ++FReferences;
      return S_OK;
    }
    *ppvObject = nullptr;
    return E_NOINTERFACE;
  }

  SimOle32& FOwner;
  CallLog& FLog;
  SimOle32::Objects& FMade;
  const char* FInterface;
  int FReferences = 1;  // the creator's reference
};

class SimEndpointVolume final : public IAudioEndpointVolume, public SimComObject {
 public:
  SimEndpointVolume(SimOle32& Owner, CallLog& Log, SimOle32::Objects& Made)
      : SimComObject(Owner, Log, Made, "IAudioEndpointVolume") {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
    return DoQueryInterface(riid, ppvObject, MMDeviceApi::IID_IAudioEndpointVolume, true,
                            static_cast<IAudioEndpointVolume*>(this));
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return DoAddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return DoRelease(); }

  HRESULT STDMETHODCALLTYPE SetMute(BOOL bMute, LPCGUID pguidEventContext) override {
    if (RecordCall("SetMute", bMute, GuidArg(pguidEventContext))) return FOwner.FailResult;
    if (FAILED(FOwner.SetMuteResult)) return FOwner.SetMuteResult;
    const BOOL wanted = bMute ? TRUE : FALSE;
    if (FOwner.Muted == wanted) return S_FALSE;  // already in that state
    FOwner.Muted = wanted;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMute(BOOL* pbMute) override {
    if (RecordCall("GetMute")) return FOwner.FailResult;
    if (pbMute == nullptr) return E_POINTER;
    *pbMute = FOwner.Muted;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE RegisterControlChangeNotify(IAudioEndpointVolumeCallback*) override {
    return Unused("RegisterControlChangeNotify");
  }
  HRESULT STDMETHODCALLTYPE UnregisterControlChangeNotify(IAudioEndpointVolumeCallback*) override {
    return Unused("UnregisterControlChangeNotify");
  }
  HRESULT STDMETHODCALLTYPE GetChannelCount(UINT*) override { return Unused("GetChannelCount"); }
  HRESULT STDMETHODCALLTYPE SetMasterVolumeLevel(float, LPCGUID) override { return Unused("SetMasterVolumeLevel"); }
  HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(float, LPCGUID) override {
    return Unused("SetMasterVolumeLevelScalar");
  }
  HRESULT STDMETHODCALLTYPE GetMasterVolumeLevel(float*) override { return Unused("GetMasterVolumeLevel"); }
  HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(float*) override { return Unused("GetMasterVolumeLevelScalar"); }
  HRESULT STDMETHODCALLTYPE SetChannelVolumeLevel(UINT, float, LPCGUID) override {
    return Unused("SetChannelVolumeLevel");
  }
  HRESULT STDMETHODCALLTYPE SetChannelVolumeLevelScalar(UINT, float, LPCGUID) override {
    return Unused("SetChannelVolumeLevelScalar");
  }
  HRESULT STDMETHODCALLTYPE GetChannelVolumeLevel(UINT, float*) override { return Unused("GetChannelVolumeLevel"); }
  HRESULT STDMETHODCALLTYPE GetChannelVolumeLevelScalar(UINT, float*) override {
    return Unused("GetChannelVolumeLevelScalar");
  }
  HRESULT STDMETHODCALLTYPE GetVolumeStepInfo(UINT*, UINT*) override { return Unused("GetVolumeStepInfo"); }
  HRESULT STDMETHODCALLTYPE VolumeStepUp(LPCGUID) override { return Unused("VolumeStepUp"); }
  HRESULT STDMETHODCALLTYPE VolumeStepDown(LPCGUID) override { return Unused("VolumeStepDown"); }
  HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD*) override { return Unused("QueryHardwareSupport"); }
  HRESULT STDMETHODCALLTYPE GetVolumeRange(float*, float*, float*) override { return Unused("GetVolumeRange"); }

 private:
  HRESULT Unused(const char* method) {
    RecordCall(method);
    return NotImplemented;
  }
};

}  // namespace

// Every endpoint object ever made, owned here until the simulator goes.
struct SimOle32::Objects {
  std::vector<std::unique_ptr<SimComObject>> All;

  template <class T>
  T* Make(SimOle32& Owner, CallLog& Log) {
    auto object = std::make_unique<T>(Owner, Log, *this);
    T* made = object.get();
    All.push_back(std::move(object));
    return made;
  }
};

namespace {

class SimEndpointDevice final : public IMMDevice, public SimComObject {
 public:
  SimEndpointDevice(SimOle32& Owner, CallLog& Log, SimOle32::Objects& Made)
      : SimComObject(Owner, Log, Made, "IMMDevice") {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
    // The device's own identifier is never asked for by the program; IUnknown is enough.
    return DoQueryInterface(riid, ppvObject, MMDeviceApi::IID_IUnknown, false, static_cast<IMMDevice*>(this));
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return DoAddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return DoRelease(); }

  HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD dwClsCtx, PROPVARIANT* pActivationParams,
                                     void** ppInterface) override {
    if (RecordCall("Activate", GuidArg(iid), dwClsCtx, static_cast<const void*>(pActivationParams))) {
      if (ppInterface != nullptr) *ppInterface = nullptr;
      return FOwner.FailResult;
    }
    if (ppInterface == nullptr) return E_POINTER;
    *ppInterface = nullptr;
    if (iid != MMDeviceApi::IID_IAudioEndpointVolume) return E_NOINTERFACE;
    if (!FOwner.ActivateSucceeds) return E_FAIL;
    *ppInterface = static_cast<IAudioEndpointVolume*>(FMade.Make<SimEndpointVolume>(FOwner, FLog));
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore**) override {
    RecordCall("OpenPropertyStore");
    return NotImplemented;
  }
  HRESULT STDMETHODCALLTYPE GetId(LPWSTR*) override {
    RecordCall("GetId");
    return NotImplemented;
  }
  HRESULT STDMETHODCALLTYPE GetState(DWORD*) override {
    RecordCall("GetState");
    return NotImplemented;
  }
};

class SimDeviceEnumerator final : public IMMDeviceEnumerator, public SimComObject {
 public:
  SimDeviceEnumerator(SimOle32& Owner, CallLog& Log, SimOle32::Objects& Made)
      : SimComObject(Owner, Log, Made, "IMMDeviceEnumerator") {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
    return DoQueryInterface(riid, ppvObject, MMDeviceApi::IID_IMMDeviceEnumerator, FOwner.EnumeratorInterface,
                            static_cast<IMMDeviceEnumerator*>(this));
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return DoAddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return DoRelease(); }

  HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow dataFlow, ERole role, IMMDevice** ppEndpoint) override {
    if (RecordCall("GetDefaultAudioEndpoint", static_cast<int>(dataFlow), static_cast<int>(role))) {
      if (ppEndpoint != nullptr) *ppEndpoint = nullptr;
      return FOwner.FailResult;
    }
    if (ppEndpoint == nullptr) return E_POINTER;
    *ppEndpoint = nullptr;
    // Only the console's render endpoint is modelled.
    if (!FOwner.HasEndpoint || dataFlow != eRender || role != eConsole) return ElementNotFound;
    *ppEndpoint = FMade.Make<SimEndpointDevice>(FOwner, FLog);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow, DWORD, IMMDeviceCollection**) override {
    RecordCall("EnumAudioEndpoints");
    return NotImplemented;
  }
  HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR, IMMDevice**) override {
    RecordCall("GetDevice");
    return NotImplemented;
  }
  HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient*) override {
    RecordCall("RegisterEndpointNotificationCallback");
    return NotImplemented;
  }
  HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient*) override {
    RecordCall("UnregisterEndpointNotificationCallback");
    return NotImplemented;
  }
};

}  // namespace

SimOle32::SimOle32(CallLog& Log) : FLog(Log), FObjects(new Objects) {}

SimOle32::~SimOle32() { delete FObjects; }

int SimOle32::LiveReferences() const {
  int total = 0;
  for (const auto& object : FObjects->All) total += object->References();
  return total;
}

HRESULT SimOle32::CoInitialize(LPVOID pvReserved) {
  if (FLog.Record(CallText("CoInitialize", pvReserved))) return FailResult;
  return InitCount++ == 0 ? S_OK : S_FALSE;
}

void SimOle32::CoUninitialize() {
  FLog.Record(CallText("CoUninitialize"));  // cannot fail
  ReferencesAtUninitialize = LiveReferences();
  if (InitCount > 0) --InitCount;
}

HRESULT SimOle32::CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
  if (FLog.Record(CallText("CoCreateInstance", GuidArg(rclsid), static_cast<const void*>(pUnkOuter), Hex(dwClsContext),
                           GuidArg(riid)))) {
    if (ppv != nullptr) *ppv = nullptr;
    return FailResult;
  }
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  if (InitCount <= 0) return CO_E_NOTINITIALIZED;
  // The enumerator is an in-process server.
  if (!EnumeratorRegistered || rclsid != MMDeviceApi::CLSID_MMDeviceEnumerator ||
      (dwClsContext & CLSCTX_INPROC_SERVER) == 0)
    return REGDB_E_CLASSNOTREG;
  if (pUnkOuter != nullptr) return NoAggregation;
  if (riid != MMDeviceApi::IID_IUnknown && !(EnumeratorInterface && riid == MMDeviceApi::IID_IMMDeviceEnumerator))
    return E_NOINTERFACE;
  SimDeviceEnumerator* enumerator = FObjects->Make<SimDeviceEnumerator>(*this, FLog);
  *ppv = static_cast<IMMDeviceEnumerator*>(enumerator);
  return S_OK;
}
