#include "host/host_api.h"
#include "mixer/bound_volume.h"
#include "settings/style.h"
#include "slider/slider.h"

namespace {

// One BeginPaint/EndPaint cycle on a window.
class PaintCycle {
 public:
  explicit PaintCycle(HWND window) : window_(window) { dc_ = BeginPaint(window_, &ps_); }
  ~PaintCycle() { EndPaint(window_, &ps_); }
  PaintCycle(const PaintCycle&) = delete;
  PaintCycle& operator=(const PaintCycle&) = delete;
  HDC dc() const { return dc_; }
  const RECT& dirty() const { return ps_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT ps_ = {};
  HDC dc_;
};

// An off-screen device context compatible with the screen.
class MemoryDc {
 public:
  MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MemoryDc() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// A bitmap compatible with a device context, deleted when it goes out of scope.
class Bitmap {
 public:
  Bitmap(HDC dc, int width, int height) : bitmap_(CreateCompatibleBitmap(dc, width, height)) {}
  ~Bitmap() {
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
  }
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  HBITMAP get() const { return bitmap_; }

 private:
  HBITMAP bitmap_;
};

// Selects an object into a DC and puts the earlier one back, so the object can
// be deleted afterwards (a selected bitmap cannot be).
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (previous_ != nullptr) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

void drawPart(HDC dc, const RECT& rect, const Texture& texture, COLORREF from, COLORREF to) {
  const SliderStyle& s = sliderStyle;
  MakeGradient(dc, rect, texture.gradient, from, to, texture.interlaced, texture.bevel,
               texture.bevelPosition, s.bevelWidth, s.borderColor, s.borderWidth);
}

RECT shifted(int left, int top, int right, int bottom, const RECT& by) {
  return {left + by.left, top + by.top, right + by.left, bottom + by.top};
}

}  // namespace

// Composes the whole picture off-screen and copies only the invalid part in one
// step, so the window never shows a half-drawn slider. Wrappers release in
// reverse order: old bitmap back, bitmap deleted, memory DC deleted, EndPaint.
void Slider::paintSlider(HWND hwnd) {
  PaintCycle paint(hwnd);
  RECT client = {};
  GetClientRect(hwnd, &client);
  MemoryDc memory;
  Bitmap bitmap(paint.dc(), client.right, client.bottom);
  Selection selection(memory.get(), bitmap.get());

  const SliderStyle& s = sliderStyle;
  drawPart(memory.get(), client, s.frameTexture, s.frameColor, s.frameColorTo);
  computeLayout();
  drawPart(memory.get(),
           shifted(trackRectLeft, trackRectTop, trackRectRight, trackRectBottom, client),
           s.trackTexture, s.trackColor, s.trackColorTo);
  if (volumeBound(*this))
    drawPart(memory.get(),
             shifted(knobRectLeft, knobRectTop, knobRectRight, knobRectBottom, client),
             s.knobTexture, s.knobColor, s.knobColorTo);

  const RECT& dirty = paint.dirty();
  BitBlt(paint.dc(), dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
         memory.get(), dirty.left, dirty.top, SRCCOPY);
}
