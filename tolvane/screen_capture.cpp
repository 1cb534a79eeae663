#include "tolvane/screen_capture.h"

#include "tolvane/png_file.h"

namespace {

struct ScreenDc {
  HDC dc = GetDC(nullptr);
  ScreenDc() = default;
  ScreenDc(const ScreenDc&) = delete;
  ScreenDc& operator=(const ScreenDc&) = delete;
  ~ScreenDc() { ReleaseDC(nullptr, dc); }
};

struct MemoryDc {
  HDC dc;
  explicit MemoryDc(HDC like) : dc(CreateCompatibleDC(like)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() { DeleteDC(dc); }
};

struct Bitmap {
  HBITMAP bitmap;
  Bitmap(HDC like, int w, int h) : bitmap(CreateCompatibleBitmap(like, w, h)) {}
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  ~Bitmap() { DeleteObject(bitmap); }
};

}  // namespace

bool captureScreen(const RECT& area, std::vector<uint32_t>* pixels) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0 || w > 16384 || h > 16384) return false;
  ScreenDc screen;
  MemoryDc memory(screen.dc);
  Bitmap bitmap(screen.dc, w, h);
  if (!screen.dc || !memory.dc || !bitmap.bitmap) return false;
  HGDIOBJ old = SelectObject(memory.dc, bitmap.bitmap);
  const bool copied = BitBlt(memory.dc, 0, 0, w, h, screen.dc, area.left, area.top, SRCCOPY) != 0;
  SelectObject(memory.dc, old);
  if (!copied) return false;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  pixels->assign(static_cast<size_t>(w) * h, 0);
  if (GetDIBits(memory.dc, bitmap.bitmap, 0, UINT(h), pixels->data(), &info, DIB_RGB_COLORS) != h)
    return false;
  for (uint32_t& p : *pixels) p &= 0xFFFFFF;
  return true;
}

bool saveScreenPng(const RECT& area, const std::string& path, std::string* error) {
  std::vector<uint32_t> pixels;
  if (!captureScreen(area, &pixels)) {
    *error = "cannot read the screen";
    return false;
  }
  return writePngFile(path, pixels.data(), area.right - area.left, area.bottom - area.top, error);
}
