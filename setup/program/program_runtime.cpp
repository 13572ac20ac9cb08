// The part of a C runtime that setup.exe uses, on kernel32 alone, and its entry point.
//
// The first releases of Windows 95 have no msvcrt.dll, so a program that imports it cannot
// start there; setup.exe is linked without the C runtime and its start-up code instead. The
// C++ library it keeps (strings, vectors, maps) needs only these functions, memory comes from
// the process heap, and the program ends with ExitProcess, so nothing registered at exit runs.
// Built with -fno-tree-loop-distribute-patterns, so that the loops below are not turned back
// into calls to the functions they implement.
#include "setup/platform/win32/windows_api.h"

#include <cstddef>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

extern "C" {

void* malloc(std::size_t size) { return HeapAlloc(GetProcessHeap(), 0, size == 0 ? 1 : size); }

void free(void* memory) {
  if (memory != nullptr) HeapFree(GetProcessHeap(), 0, memory);
}

// msvcrt's abort ends the program with exit code 3.
void abort() { ExitProcess(3); }

// The program ends through ExitProcess: destructors of statics have nothing left to release.
int atexit(void (*)()) { return 0; }

std::size_t strlen(const char* text) {
  std::size_t length = 0;
  while (text[length] != '\0') ++length;
  return length;
}

std::size_t wcslen(const wchar_t* text) {
  std::size_t length = 0;
  while (text[length] != L'\0') ++length;
  return length;
}

void* memchr(const void* memory, int value, std::size_t size) {
  const unsigned char* bytes = static_cast<const unsigned char*>(memory);
  for (std::size_t i = 0; i < size; ++i) {
    if (bytes[i] == static_cast<unsigned char>(value)) return const_cast<unsigned char*>(bytes + i);
  }
  return nullptr;
}

int memcmp(const void* left, const void* right, std::size_t size) {
  const unsigned char* a = static_cast<const unsigned char*>(left);
  const unsigned char* b = static_cast<const unsigned char*>(right);
  for (std::size_t i = 0; i < size; ++i) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

void* memcpy(void* target, const void* source, std::size_t size) {
  unsigned char* to = static_cast<unsigned char*>(target);
  const unsigned char* from = static_cast<const unsigned char*>(source);
  for (std::size_t i = 0; i < size; ++i) to[i] = from[i];
  return target;
}

void* memmove(void* target, const void* source, std::size_t size) {
  unsigned char* to = static_cast<unsigned char*>(target);
  const unsigned char* from = static_cast<const unsigned char*>(source);
  if (to < from) {
    for (std::size_t i = 0; i < size; ++i) to[i] = from[i];
  } else {
    for (std::size_t i = size; i > 0; --i) to[i - 1] = from[i - 1];
  }
  return target;
}

void* memset(void* target, int value, std::size_t size) {
  unsigned char* to = static_cast<unsigned char*>(target);
  for (std::size_t i = 0; i < size; ++i) to[i] = static_cast<unsigned char>(value);
  return target;
}

// The show state the program was started with, as a runtime's start-up code passes it.
static int StartupShowCommand() {
  STARTUPINFOA startup;
  startup.cb = sizeof(startup);
  GetStartupInfoA(&startup);
  return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
}

// The process entry point; the linker's default for a window program.
void WinMainCRTStartup() {
  ExitProcess(static_cast<UINT>(WinMain(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), StartupShowCommand())));
}

}  // extern "C"
