#pragma once
#include <windows.h>

// The off-screen picture a paint is composed in, kept from one paint to the
// next: under wine making and deleting a memory DC and bitmap costs far more
// than drawing the slider. Made on first use, made anew when the client size
// changes, released with the slider window (and so at stop), and at the
// latest when the slider goes.
class PaintBuffer {
 public:
  PaintBuffer() = default;
  ~PaintBuffer() { release(); }
  PaintBuffer(const PaintBuffer&) = delete;
  PaintBuffer& operator=(const PaintBuffer&) = delete;

  // A memory DC holding a bitmap of the given size, compatible with the
  // window's DC; nullptr when the system gives none (the paint then draws
  // nothing, rather than a half-drawn slider straight into the window).
  HDC dc(HDC windowDc, int width, int height);
  void release();

 private:
  void dropBitmap();

  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ original_ = nullptr;  // the DC's own bitmap, selected back before ours is deleted
  int width_ = 0;
  int height_ = 0;
};
