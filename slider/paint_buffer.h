#pragma once
#include <windows.h>

// The off-screen picture a paint is composed in, kept from one paint to the
// next: under wine making and deleting a memory DC and bitmap costs far more
// than drawing the slider. Made on first use, made anew when the client size
// changes, released when the slider window is destroyed (and so at stop).
struct PaintBuffer {
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ original;  // the DC's own bitmap, selected back before ours is deleted
  int width;
  int height;
};

// A memory DC holding a bitmap of the given size, compatible with the window's
// DC; nullptr when the system gives none (the paint then draws nothing, rather
// than a half-drawn slider straight into the window).
HDC paintBuffer(PaintBuffer& buffer, HDC windowDc, int width, int height);

// Deletes the buffer's bitmap and DC; harmless when there is none.
void releasePaintBuffer(PaintBuffer& buffer);
