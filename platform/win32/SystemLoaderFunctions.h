// The real adapter of the loader seam: each member forwards to the Windows
// function of the same name and does nothing else.
#pragma once

#include "platform/Loader.h"

class SystemLoaderFunctions : public ILoader {
 public:
  UINT GetSystemDirectoryW(LPWSTR lpBuffer, UINT uSize) override { return ::GetSystemDirectoryW(lpBuffer, uSize); }
  HMODULE LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags) override {
    return ::LoadLibraryExW(lpLibFileName, hFile, dwFlags);
  }
  FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName) override { return ::GetProcAddress(hModule, lpProcName); }
  HMODULE GetModuleHandleW(LPCWSTR lpModuleName) override { return ::GetModuleHandleW(lpModuleName); }
  DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) override {
    return ::GetModuleFileNameW(hModule, lpFilename, nSize);
  }
  HANDLE FindFirstFileW(LPCWSTR lpFileName, LPWIN32_FIND_DATAW lpFindFileData) override {
    return ::FindFirstFileW(lpFileName, lpFindFileData);
  }
  BOOL FindNextFileW(HANDLE hFindFile, LPWIN32_FIND_DATAW lpFindFileData) override {
    return ::FindNextFileW(hFindFile, lpFindFileData);
  }
  BOOL FindClose(HANDLE hFindFile) override { return ::FindClose(hFindFile); }
  DWORD GetFileAttributesW(LPCWSTR lpFileName) override { return ::GetFileAttributesW(lpFileName); }
  DWORD GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer) override {
    return ::GetCurrentDirectoryW(nBufferLength, lpBuffer);
  }
};
