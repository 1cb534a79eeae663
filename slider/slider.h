#pragma once
#include <windows.h>

#include "mixer/binding.h"
#include "slider/accessible_state.h"
#include "slider/paint_buffer.h"
#include "slider/tooltip_state.h"

constexpr int kSliderNameSize = 16;          // "slider1" .. "slider16"
constexpr char kSliderClass[] = "KvSlider";  // the window class of every slider

// One slider: its name, window, value, placement, options, geometry, binding,
// knob position, last layout, drag state, tooltip and paint buffer. Member
// operations live in the file of the subsystem that owns them.
class Slider {
 public:
  HWND window;
  double maxValue;
  double minValue;
  double value;
  int x;
  int y;
  int width;
  int height;
  bool alwaysOnTop;
  bool snapWindow;
  bool pluginsHidden;
  bool toggleWithPlugins;
  bool transparent;
  bool draggable;
  int alpha;
  int margin;
  int knobHeight;
  int knobWidth;
  int trackHeight;
  Binding binding;
  bool muted;        // the bound volume's mute, as last seen
  bool mutePressed;  // a middle press on the window awaits its release
  int knobPos;
  int trackRectLeft;
  int trackRectRight;
  int trackRectTop;
  int trackRectBottom;
  int knobRectLeft;
  int knobRectRight;
  int knobRectTop;
  int knobRectBottom;
  bool dragging;
  int wheelStep;       // per cent for a wheel notch or a step command without its own
  int ceiling;         // per cent, 1..100: the most the slider lets its volume be
  int wheelRemainder;  // wheel delta short of a whole notch, in the last direction turned
  int number;          // 1..16, as in its name
  char name[kSliderNameSize];
  TooltipState tooltip;
  PaintBuffer paintBuffer;
  AccessibleState accessible;  // for screen readers: their objects and what they were told

  Slider() = default;
  Slider(const Slider&) = delete;
  Slider& operator=(const Slider&) = delete;

  // Record and geometry (slider/slider.cpp)
  void initialise(int sliderNumber = 1);
  void repaint() const;  // nothing before the window exists
  int travel() const;
  void updateKnobFromValue();
  void setKnobFromPointer(int pointerX);
  void updateValueFromKnob();
  void computeLayout();

  // Window procedure (slider/window_proc.cpp)
  LRESULT windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // Painting (slider/paint.cpp)
  void paintSlider(HWND hwnd);
  void composePicture(HDC dc, const RECT& client);

  // Placement and transparency (slider/placement.cpp)
  void applyWindowState();

  // The bound volume (slider/level.cpp): the one place that puts what the
  // binding reads on the knob, the tooltip and the status.
  void take(const VolumeReading& reading);
  void takeNotified(VolumeReading reading);  // a drag keeps its level
  // A notification of the binding's (see isVolumeNotice), as it arrives.
  void followNotice(UINT message, LPARAM detail);
  void unbindControl();  // ends any binding, and repaints
  void writeLevel();     // value to the bound volume, as a drag does
  bool levelBound() const;
  double level() const;
  // Like a drag, one write, but the knob then shows the level read back; unbound: nothing.
  void setLevel(double level);
  void stepLevel(double percent);
  const char* levelName() const;
  bool levelMuted() const;
  bool toggleMute();  // unbound, or nothing to mute: false, and nothing happens
  void followMute();  // shows the mute as the bound volume reports it
  // 1..100 per cent (100: none); a level above it comes down at once.
  void setCeiling(int percent);
  double ceilingLevel() const { return binding.ceiling; }
};

// The slider a window of the slider class carries, from its first message
// to its last; null for any other window, once the window is gone, and on
// any thread but the window's own. Code that keeps a window handle and never
// a slider (the objects handed to screen readers) reaches the slider so.
Slider* sliderOfWindow(HWND window);
void carrySlider(HWND window, Slider* s);
