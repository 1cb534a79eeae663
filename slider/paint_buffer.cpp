#include "slider/paint_buffer.h"

namespace {

void dropBitmap(PaintBuffer& buffer) {
  if (buffer.bitmap == nullptr) return;
  SelectObject(buffer.dc, buffer.original);
  DeleteObject(buffer.bitmap);
  buffer.bitmap = nullptr;
}

}  // namespace

HDC paintBuffer(PaintBuffer& buffer, HDC windowDc, int width, int height) {
  if (buffer.bitmap != nullptr && buffer.width == width && buffer.height == height)
    return buffer.dc;
  dropBitmap(buffer);
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

void releasePaintBuffer(PaintBuffer& buffer) {
  dropBitmap(buffer);
  if (buffer.dc != nullptr) DeleteDC(buffer.dc);
  buffer = PaintBuffer{};
}
