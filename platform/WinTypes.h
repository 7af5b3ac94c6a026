// The Windows names the project uses. On Windows they come from the SDK; on
// other hosts (where only the simulators stand behind the seam) they are
// declared here with the SDK's field names and, where no pointer is
// involved, the SDK's sizes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/Text.h"

#ifdef _WIN32

#include <windows.h>
#include <mmsystem.h>
#include <objbase.h>

#else  // !_WIN32

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using INT = int;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using BOOL = int;
using WCHAR = TextUnit;
using CHAR = char;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using LPSTR = char*;
using LPCSTR = const char*;
using LPBOOL = BOOL*;
using LPVOID = void*;
using LPCVOID = const void*;
using PVOID = void*;
using UINT_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = UINT_PTR;
using LPARAM = LONG_PTR;
using LRESULT = LONG_PTR;
using INT_PTR = std::intptr_t;
using FARPROC = INT_PTR (*)();
using HRESULT = std::int32_t;
using MMRESULT = UINT;
using MMVERSION = UINT;
using ATOM = WORD;
using LCID = DWORD;
using PDWORD = DWORD*;
using LPDWORD = DWORD*;
using HANDLE = void*;
using SIZE_T = std::size_t;
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
using LPTHREAD_START_ROUTINE = DWORD (*)(LPVOID);
using PHANDLE = HANDLE*;

struct HWND__ {
  int unused;
};
using HWND = HWND__*;
struct HINSTANCE__ {
  int unused;
};
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
struct HMIXER__ {
  int unused;
};
using HMIXER = HMIXER__*;
using LPHMIXER = HMIXER*;
struct HMIXEROBJ__ {
  int unused;
};
using HMIXEROBJ = HMIXEROBJ__*;
struct HICON__ {
  int unused;
};
using HICON = HICON__*;
using HCURSOR = HICON;
struct HBRUSH__ {
  int unused;
};
using HBRUSH = HBRUSH__*;
struct HMENU__ {
  int unused;
};
using HMENU = HMENU__*;

#define TRUE 1
#define FALSE 0
#define CALLBACK
#define WINAPI
#define STDMETHODCALLTYPE
#define MAKEINTRESOURCEW(i) (reinterpret_cast<LPCWSTR>(static_cast<UINT_PTR>(static_cast<WORD>(i))))

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

struct WNDCLASSEXW {
  UINT cbSize;
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
  HICON hIconSm;
};

struct CREATESTRUCTW {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCWSTR lpszName;
  LPCWSTR lpszClass;
  DWORD dwExStyle;
};

struct POINT {
  LONG x;
  LONG y;
};

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};

struct LUID {
  DWORD LowPart;
  LONG HighPart;
};
using PLUID = LUID*;

struct LUID_AND_ATTRIBUTES {
  LUID Luid;
  DWORD Attributes;
};

struct TOKEN_PRIVILEGES {
  DWORD PrivilegeCount;
  LUID_AND_ATTRIBUTES Privileges[1];
};
using PTOKEN_PRIVILEGES = TOKEN_PRIVILEGES*;

struct OSVERSIONINFOW {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
};
using LPOSVERSIONINFOW = OSVERSIONINFOW*;

struct GUID {
  std::uint32_t Data1;
  std::uint16_t Data2;
  std::uint16_t Data3;
  std::uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using LPGUID = GUID*;
using LPCGUID = const GUID*;

inline bool operator==(const GUID& a, const GUID& b) {
  if (a.Data1 != b.Data1 || a.Data2 != b.Data2 || a.Data3 != b.Data3) return false;
  for (int i = 0; i < 8; ++i)
    if (a.Data4[i] != b.Data4[i]) return false;
  return true;
}
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }

// COM's root interface, with the published method order.
struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;

 protected:
  ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;

#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)

// Result codes.
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT REGDB_E_CLASSNOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT CO_E_NOTINITIALIZED = static_cast<HRESULT>(0x800401F0u);

// COM class contexts.
constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;

// Window messages and system commands.
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_USER = 0x0400;
constexpr WPARAM SC_MONITORPOWER = 0xF170;
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;

// Token access and privileges.
constexpr DWORD TOKEN_QUERY = 0x0008;
constexpr DWORD TOKEN_ADJUST_PRIVILEGES = 0x0020;
constexpr DWORD SE_PRIVILEGE_ENABLED = 0x00000002;

// Exit requests.
constexpr UINT EWX_LOGOFF = 0;
constexpr UINT EWX_SHUTDOWN = 0x00000001;
constexpr UINT EWX_REBOOT = 0x00000002;
constexpr UINT EWX_FORCE = 0x00000004;
constexpr UINT EWX_POWEROFF = 0x00000008;

// National language support.
constexpr LCID LOCALE_USER_DEFAULT = 0x0400;
constexpr DWORD NORM_IGNORECASE = 0x00000001;
constexpr int CSTR_LESS_THAN = 1;
constexpr int CSTR_EQUAL = 2;
constexpr int CSTR_GREATER_THAN = 3;
constexpr UINT CP_ACP = 0;

// Standard handles and messages from the system.
constexpr DWORD STD_INPUT_HANDLE = static_cast<DWORD>(-10);
constexpr DWORD STD_OUTPUT_HANDLE = static_cast<DWORD>(-11);
constexpr DWORD STD_ERROR_HANDLE = static_cast<DWORD>(-12);
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1)))
constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
constexpr DWORD FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;
constexpr DWORD FORMAT_MESSAGE_ARGUMENT_ARRAY = 0x00002000;

constexpr UINT MAX_PATH = 260;
// Files, as the loader's checks see them.
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};
struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  WCHAR cFileName[MAX_PATH];
  WCHAR cAlternateFileName[14];
};
using LPWIN32_FIND_DATAW = WIN32_FIND_DATAW*;
// Window styles.
constexpr DWORD WS_POPUP = 0x80000000u;
constexpr DWORD WS_OVERLAPPED = 0x00000000u;
#define HWND_MESSAGE (reinterpret_cast<HWND>(static_cast<LONG_PTR>(-3)))

// ---- The multimedia mixer interface -------------------------------------

constexpr int MAXPNAMELEN = 32;
constexpr int MIXER_SHORT_NAME_CHARS = 16;
constexpr int MIXER_LONG_NAME_CHARS = 64;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_NOTENABLED = 3;
constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_NOTSUPPORTED = 8;
constexpr MMRESULT MMSYSERR_BADERRNUM = 9;
constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT MIXERR_BASE = 1024;
constexpr MMRESULT MIXERR_INVALLINE = MIXERR_BASE + 0;
constexpr MMRESULT MIXERR_INVALCONTROL = MIXERR_BASE + 1;
constexpr MMRESULT MIXERR_INVALVALUE = MIXERR_BASE + 2;

constexpr DWORD CALLBACK_NULL = 0x00000000;
constexpr DWORD CALLBACK_WINDOW = 0x00010000;
constexpr UINT MM_MIXM_LINE_CHANGE = 0x3D0;
constexpr UINT MM_MIXM_CONTROL_CHANGE = 0x3D1;

constexpr DWORD MIXER_OBJECTF_HANDLE = 0x80000000u;
constexpr DWORD MIXER_OBJECTF_MIXER = 0x00000000u;
constexpr DWORD MIXER_OBJECTF_HMIXER = MIXER_OBJECTF_HANDLE | MIXER_OBJECTF_MIXER;

constexpr DWORD MIXER_GETLINEINFOF_DESTINATION = 0x00000000;
constexpr DWORD MIXER_GETLINEINFOF_SOURCE = 0x00000001;
constexpr DWORD MIXER_GETLINEINFOF_LINEID = 0x00000002;
constexpr DWORD MIXER_GETLINEINFOF_COMPONENTTYPE = 0x00000003;
constexpr DWORD MIXER_GETLINEINFOF_TARGETTYPE = 0x00000004;
constexpr DWORD MIXER_GETLINEINFOF_QUERYMASK = 0x0000000F;

constexpr DWORD MIXER_GETLINECONTROLSF_ALL = 0x00000000;
constexpr DWORD MIXER_GETLINECONTROLSF_ONEBYID = 0x00000001;
constexpr DWORD MIXER_GETLINECONTROLSF_ONEBYTYPE = 0x00000002;
constexpr DWORD MIXER_GETLINECONTROLSF_QUERYMASK = 0x0000000F;

constexpr DWORD MIXER_GETCONTROLDETAILSF_VALUE = 0x00000000;
constexpr DWORD MIXER_GETCONTROLDETAILSF_LISTTEXT = 0x00000001;
constexpr DWORD MIXER_GETCONTROLDETAILSF_QUERYMASK = 0x0000000F;
constexpr DWORD MIXER_SETCONTROLDETAILSF_VALUE = 0x00000000;
constexpr DWORD MIXER_SETCONTROLDETAILSF_CUSTOM = 0x00000001;
constexpr DWORD MIXER_SETCONTROLDETAILSF_QUERYMASK = 0x0000000F;

constexpr DWORD MIXERLINE_LINEF_ACTIVE = 0x00000001;
constexpr DWORD MIXERLINE_LINEF_DISCONNECTED = 0x00008000;
constexpr DWORD MIXERLINE_LINEF_SOURCE = 0x80000000u;

constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_FIRST = 0x00000000;
constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_UNDEFINED = 0x00000000;
constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_DIGITAL = 0x00000001;
constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_LINE = 0x00000002;
constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_MONITOR = 0x00000003;
constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_SPEAKERS = 0x00000004;
constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_HEADPHONES = 0x00000005;
constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_TELEPHONE = 0x00000006;
constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_WAVEIN = 0x00000007;
constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_VOICEIN = 0x00000008;
constexpr DWORD MIXERLINE_COMPONENTTYPE_DST_LAST = 0x00000008;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_FIRST = 0x00001000;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_UNDEFINED = 0x00001000;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_DIGITAL = 0x00001001;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_LINE = 0x00001002;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE = 0x00001003;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER = 0x00001004;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC = 0x00001005;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE = 0x00001006;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_PCSPEAKER = 0x00001007;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT = 0x00001008;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY = 0x00001009;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_ANALOG = 0x0000100A;
constexpr DWORD MIXERLINE_COMPONENTTYPE_SRC_LAST = 0x0000100A;

constexpr DWORD MIXERLINE_TARGETTYPE_UNDEFINED = 0;
constexpr DWORD MIXERLINE_TARGETTYPE_WAVEOUT = 1;
constexpr DWORD MIXERLINE_TARGETTYPE_WAVEIN = 2;
constexpr DWORD MIXERLINE_TARGETTYPE_MIDIOUT = 3;
constexpr DWORD MIXERLINE_TARGETTYPE_MIDIIN = 4;
constexpr DWORD MIXERLINE_TARGETTYPE_AUX = 5;

constexpr DWORD MIXERCONTROL_CONTROLF_UNIFORM = 0x00000001;
constexpr DWORD MIXERCONTROL_CONTROLF_MULTIPLE = 0x00000002;
constexpr DWORD MIXERCONTROL_CONTROLF_DISABLED = 0x80000000u;

constexpr DWORD MIXERCONTROL_CONTROLTYPE_CUSTOM = 0x00000000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_BOOLEANMETER = 0x10010000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_SIGNEDMETER = 0x10020000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_PEAKMETER = 0x10020001;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_UNSIGNEDMETER = 0x10030000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_BOOLEAN = 0x20010000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_ONOFF = 0x20010001;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_MUTE = 0x20010002;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_MONO = 0x20010003;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_LOUDNESS = 0x20010004;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_STEREOENH = 0x20010005;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_BASS_BOOST = 0x20012277;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_BUTTON = 0x21010000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_DECIBELS = 0x30040000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_SIGNED = 0x30020000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_UNSIGNED = 0x30030000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_PERCENT = 0x30050000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_SLIDER = 0x40020000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_PAN = 0x40020001;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_QSOUNDPAN = 0x40020002;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_FADER = 0x50030000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_VOLUME = 0x50030001;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_BASS = 0x50030002;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_TREBLE = 0x50030003;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_EQUALIZER = 0x50030004;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_SINGLESELECT = 0x70010000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_MUX = 0x70010001;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT = 0x71010000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_MIXER = 0x71010001;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_MICROTIME = 0x60030000;
constexpr DWORD MIXERCONTROL_CONTROLTYPE_MILLITIME = 0x61030000;

struct MIXERCAPSW {
  WORD wMid;
  WORD wPid;
  MMVERSION vDriverVersion;
  WCHAR szPname[MAXPNAMELEN];
  DWORD fdwSupport;
  DWORD cDestinations;
};
using LPMIXERCAPSW = MIXERCAPSW*;

struct MIXERLINEW {
  DWORD cbStruct;
  DWORD dwDestination;
  DWORD dwSource;
  DWORD dwLineID;
  DWORD fdwLine;
  DWORD_PTR dwUser;
  DWORD dwComponentType;
  DWORD cChannels;
  DWORD cConnections;
  DWORD cControls;
  WCHAR szShortName[MIXER_SHORT_NAME_CHARS];
  WCHAR szName[MIXER_LONG_NAME_CHARS];
  struct {
    DWORD dwType;
    DWORD dwDeviceID;
    WORD wMid;
    WORD wPid;
    MMVERSION vDriverVersion;
    WCHAR szPname[MAXPNAMELEN];
  } Target;
};
using LPMIXERLINEW = MIXERLINEW*;

// The SDK's Bounds view of signed and unsigned limits is an anonymous struct
// that standard C++ cannot declare; the project reads both through
// dwReserved, the block a control copies as a whole.
struct MIXERCONTROLW {
  DWORD cbStruct;
  DWORD dwControlID;
  DWORD dwControlType;
  DWORD fdwControl;
  DWORD cMultipleItems;
  WCHAR szShortName[MIXER_SHORT_NAME_CHARS];
  WCHAR szName[MIXER_LONG_NAME_CHARS];
  union {
    DWORD dwReserved[6];
  } Bounds;
  union {
    DWORD cSteps;
    DWORD cbCustomData;
    DWORD dwReserved[6];
  } Metrics;
};
using LPMIXERCONTROLW = MIXERCONTROLW*;

struct MIXERLINECONTROLSW {
  DWORD cbStruct;
  DWORD dwLineID;
  union {
    DWORD dwControlID;
    DWORD dwControlType;
  };
  DWORD cControls;
  DWORD cbmxctrl;
  LPMIXERCONTROLW pamxctrl;
};
using LPMIXERLINECONTROLSW = MIXERLINECONTROLSW*;

struct MIXERCONTROLDETAILS {
  DWORD cbStruct;
  DWORD dwControlID;
  DWORD cChannels;
  union {
    HWND hwndOwner;
    DWORD cMultipleItems;
  };
  DWORD cbDetails;
  LPVOID paDetails;
};
using LPMIXERCONTROLDETAILS = MIXERCONTROLDETAILS*;

struct MIXERCONTROLDETAILS_LISTTEXTW {
  DWORD dwParam1;
  DWORD dwParam2;
  WCHAR szName[MIXER_LONG_NAME_CHARS];
};
struct MIXERCONTROLDETAILS_BOOLEAN {
  LONG fValue;
};
struct MIXERCONTROLDETAILS_SIGNED {
  LONG lValue;
};
struct MIXERCONTROLDETAILS_UNSIGNED {
  DWORD dwValue;
};

#endif  // _WIN32

static_assert(sizeof(WCHAR) == sizeof(TextUnit), "the system's text is the project's text");
static_assert(sizeof(MIXERCAPSW) == 80, "MIXERCAPSW layout");
static_assert(sizeof(MIXERCONTROLW) == 228, "MIXERCONTROLW layout");
static_assert(sizeof(MIXERCONTROLDETAILS_LISTTEXTW) == 136, "MIXERCONTROLDETAILS_LISTTEXTW layout");
static_assert(sizeof(MIXERCONTROLDETAILS_BOOLEAN) == 4, "MIXERCONTROLDETAILS_BOOLEAN layout");
static_assert(sizeof(MIXERCONTROLDETAILS_UNSIGNED) == 4, "MIXERCONTROLDETAILS_UNSIGNED layout");
static_assert(sizeof(OSVERSIONINFOW) == 276, "OSVERSIONINFOW layout");
static_assert(sizeof(GUID) == 16, "GUID layout");
static_assert(sizeof(WIN32_FIND_DATAW) == 592, "WIN32_FIND_DATAW layout");
static_assert(sizeof(TOKEN_PRIVILEGES) == 16, "TOKEN_PRIVILEGES with one entry");
// Structures that hold a pointer-sized field keep the 32-bit sizes only there.
static_assert(sizeof(void*) != 4 || sizeof(MIXERLINEW) == 280, "MIXERLINEW layout");
static_assert(sizeof(void*) != 4 || sizeof(MIXERLINECONTROLSW) == 24, "MIXERLINECONTROLSW layout");
static_assert(sizeof(void*) != 4 || sizeof(MIXERCONTROLDETAILS) == 24, "MIXERCONTROLDETAILS layout");
