#include "slider/paint_buffer.h"

namespace {

struct Buffer {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ original;  // the DC's own bitmap, selected back before ours is deleted
  int width;
  int height;
};
Buffer buffer;

void dropBitmap() {
  if (buffer.bitmap == nullptr) return;
  SelectObject(buffer.dc, buffer.original);
  DeleteObject(buffer.bitmap);
  buffer.bitmap = nullptr;
}

}  // namespace

HDC paintBuffer(HDC windowDc, int width, int height) {
  if (buffer.bitmap != nullptr && buffer.width == width && buffer.height == height)
    return buffer.dc;
  dropBitmap();
  if (buffer.dc == nullptr) buffer.dc = CreateCompatibleDC(nullptr);
  if (buffer.dc == nullptr) return nullptr;
  HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
  if (bitmap == nullptr) return nullptr;
  buffer.original = SelectObject(buffer.dc, bitmap);
  buffer.bitmap = bitmap;
  buffer.width = width;
  buffer.height = height;
  return buffer.dc;
}

void releasePaintBuffer() {
  dropBitmap();
  if (buffer.dc != nullptr) DeleteDC(buffer.dc);
  buffer = Buffer{};
}
