#include "host/host_api.h"
#include "slider/geometry.h"
#include "slider/paint_buffer.h"
#include "slider/slider.h"
#include "slider/slider_style.h"

SliderStyle sliderStyle;

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

void drawPart(HDC dc, const RECT& rect, const Texture& texture, COLORREF from, COLORREF to,
              int borderWidth = sliderStyle.borderWidth) {
  const SliderStyle& s = sliderStyle;
  MakeGradient(dc, rect, texture.gradient, from, to, texture.interlaced, texture.bevel,
               texture.bevelPosition, s.bevelWidth, s.borderColor, borderWidth);
}

// Muted, two things change, each in the style's own colours, so that at least
// one shows whichever colours a style shares between its parts: the groove is
// emptied (the track's texture in the frame's colours), and the knob is hollow
// (its frame, border and bevel, around the track's own colours where its face
// was). The knob stays in sight, so the level does too; a knob drawn wholly
// in the track's colours would vanish on a flat track without a border and
// look like an unbound slider. A thick frame on a small knob is thinned, so
// that some hollow always shows.
int ringWidth(int knobSize) {
  const int frame = sliderStyle.borderWidth + sliderStyle.bevelWidth;
  const int ring = frame > 1 ? frame : 1;
  const int most = (knobSize - 1) / 2;
  return ring < most ? ring : most;
}

void drawGroove(HDC dc, const RECT& track, bool muted) {
  const SliderStyle& s = sliderStyle;
  if (muted)
    drawPart(dc, track, s.trackTexture, s.frameColor, s.frameColorTo);
  else
    drawPart(dc, track, s.trackTexture, s.trackColor, s.trackColorTo);
}

void drawKnob(HDC dc, const RECT& knob, bool muted) {
  const SliderStyle& s = sliderStyle;
  drawPart(dc, knob, s.knobTexture, s.knobColor, s.knobColorTo);
  if (!muted) return;
  const int rx = ringWidth(knob.right - knob.left), ry = ringWidth(knob.bottom - knob.top);
  const RECT hollow = {knob.left + rx, knob.top + ry, knob.right - rx, knob.bottom - ry};
  if (rx > 0 && ry > 0 && hollow.left < hollow.right && hollow.top < hollow.bottom)
    drawPart(dc, hollow, s.trackTexture, s.trackColor, s.trackColorTo, 0);
}

// Beyond the ceiling the track is drawn as an emptied groove is, in the
// frame's colours, so that the limit shows in any style: it starts where the
// knob's right edge stops.
void drawBeyondCeiling(HDC dc, const RECT& track, int highestKnob, int knobWidth) {
  const SliderStyle& s = sliderStyle;
  RECT beyond = track;
  beyond.left = track.left + highestKnob + knobWidth;
  if (beyond.left < beyond.right)
    drawPart(dc, beyond, s.trackTexture, s.frameColor, s.frameColorTo);
}

// Inside the frame's border and bevel, so that it shows in every style.
void drawFocusFrame(HDC dc, const RECT& client) {
  const int inset = sliderStyle.borderWidth + sliderStyle.bevelWidth;
  const RECT r = {client.left + inset, client.top + inset, client.right - inset,
                  client.bottom - inset};
  if (r.left < r.right && r.top < r.bottom) DrawFocusRect(dc, &r);
}

RECT shifted(int left, int top, int right, int bottom, const RECT& by) {
  return {left + by.left, top + by.top, right + by.left, bottom + by.top};
}

}  // namespace

// Composes the whole picture off-screen and copies only the invalid part in one
// step, so the window never shows a half-drawn slider. The off-screen buffer
// outlives the paint (slider/paint_buffer.cpp); the host paints into its DC as
// into any caller's, leaving it as it found it (a save and restore around the
// host's calls would cost a twentieth of the whole paint under 64-bit wine).
void Slider::paintSlider(HWND hwnd) {
  PaintCycle paint(hwnd);
  RECT client = {};
  GetClientRect(hwnd, &client);
  HDC memory = paintBuffer.dc(paint.dc(), client.right, client.bottom);
  if (memory == nullptr) return;
  composePicture(memory, client);
  const RECT& dirty = paint.dirty();
  BitBlt(paint.dc(), dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top,
         memory, dirty.left, dirty.top, SRCCOPY);
}

// Painter's order: frame, the track over it, the knob over the track.
void Slider::composePicture(HDC dc, const RECT& client) {
  const SliderStyle& s = sliderStyle;
  drawPart(dc, client, s.frameTexture, s.frameColor, s.frameColorTo);
  computeLayout();
  const bool silent = levelMuted();
  const RECT track = shifted(trackRectLeft, trackRectTop, trackRectRight, trackRectBottom, client);
  drawGroove(dc, track, silent);
  if (ceiling < 100 && !silent)
    drawBeyondCeiling(dc, track, knobFromFraction(ceilingLevel(), travel()), knobWidth);
  if (levelBound())
    drawKnob(dc, shifted(knobRectLeft, knobRectTop, knobRectRight, knobRectBottom, client), silent);
  if (accessible.focused) drawFocusFrame(dc, client);
}
