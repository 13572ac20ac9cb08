// Screen capture for the end-to-end driver (see screenshot.h).
#include "tests/e2e/screenshot.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace e2e {

namespace {

// Rows of a 24-bit bitmap are padded to a multiple of four bytes.
DWORD RowBytes(int width) { return static_cast<DWORD>((width * 3 + 3) & ~3); }

bool WriteBmp(const std::wstring& path, int width, int height, const void* bits, std::wstring* error) {
  DWORD imageBytes = RowBytes(width) * static_cast<DWORD>(height);
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + imageBytes;
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = height;  // positive: rows bottom-up, as every viewer expects
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = imageBytes;

  HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) {
    *error = L"cannot create " + path;
    return false;
  }
  DWORD written = 0;
  bool ok = WriteFile(out, &file, sizeof(file), &written, nullptr) && written == sizeof(file) &&
            WriteFile(out, &info, sizeof(info), &written, nullptr) && written == sizeof(info) &&
            WriteFile(out, bits, imageBytes, &written, nullptr) && written == imageBytes;
  CloseHandle(out);
  if (!ok) *error = L"cannot write " + path;
  return ok;
}

}  // namespace

bool SaveScreenAsBmp(const std::wstring& path, std::wstring* error) {
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (bitmap == nullptr) {
    *error = L"cannot create a bitmap of the screen's size";
  } else {
    HGDIOBJ previous = SelectObject(memory, bitmap);
    if (BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT)) {
      GdiFlush();
      ok = WriteBmp(path, width, height, bits, error);
    } else {
      *error = L"BitBlt from the screen failed";
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

}  // namespace e2e
