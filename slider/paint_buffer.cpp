#include "slider/paint_buffer.h"

void PaintBuffer::dropBitmap() {
  if (bitmap_ == nullptr) return;
  SelectObject(dc_, original_);
  DeleteObject(bitmap_);
  bitmap_ = nullptr;
}

// A window that is gone gives no DC to be compatible with: nothing is made then.
HDC PaintBuffer::dc(HDC windowDc, int width, int height) {
  if (bitmap_ != nullptr && width_ == width && height_ == height) return dc_;
  if (windowDc == nullptr) return nullptr;
  dropBitmap();
  if (dc_ == nullptr) dc_ = CreateCompatibleDC(nullptr);
  if (dc_ == nullptr) return nullptr;
  HBITMAP bitmap = CreateCompatibleBitmap(windowDc, width, height);
  if (bitmap == nullptr) return nullptr;
  original_ = SelectObject(dc_, bitmap);
  bitmap_ = bitmap;
  width_ = width;
  height_ = height;
  return dc_;
}

void PaintBuffer::release() {
  dropBitmap();
  if (dc_ != nullptr) DeleteDC(dc_);
  dc_ = nullptr;
  width_ = height_ = 0;
}
