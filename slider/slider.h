#pragma once
#include <windows.h>

#include <mmsystem.h>

// The plug-in's one slider ("slider1"): window, value, placement, options,
// geometry, mixer binding, knob position, last layout and drag state.
// Member operations live in the file of the subsystem that owns them.
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
  HMIXER mixerObject;
  MIXERCONTROLDETAILS controlDetails;
  bool mixerBound;
  unsigned deviceId;
  unsigned lineId;
  unsigned controlId;
  // A stored binding that could not be made at start: not bound, but written
  // back at stop until the user chooses another.
  bool mixerKept;
  char deviceName[256];    // the bound (or kept) device's product name, as stored
  bool muteFound;          // the bound control's line has a mute control...
  unsigned muteControlId;  // ...with this identifier
  bool muted;              // the bound volume's mute, as last seen
  bool mutePressed;        // a middle press on the window awaits its release
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
  int wheelRemainder;  // wheel delta short of a whole notch, in the last direction turned
  char volumeName[MIXER_LONG_NAME_CHARS +
                  1];  // what the binding controls, as users read it ("Master Volume")

  // Record and geometry (slider/slider.cpp)
  void initialise();
  void repaint() const;  // nothing before the window exists
  int travel() const;
  void updateKnobFromValue();
  void setKnobFromPointer(int pointerX);
  void updateValueFromKnob();
  void computeLayout();

  // Window lifetime (plugin/slider_window.cpp)
  bool createWindow(HINSTANCE instance, bool layered);
  void destroyWindow();

  // Settings file (settings/settings_file.cpp)
  void readSettings(const char* path);
  void writeSettings(const char* path);

  // Window procedure (slider/window_proc.cpp)
  LRESULT windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  // Painting (slider/paint.cpp)
  void paintSlider(HWND hwnd);
  void composePicture(HDC dc, const RECT& client);

  // Placement and transparency (slider/placement.cpp)
  void applyWindowState();

  // Mixer binding (mixer/winmm_binding.cpp)
  void bindControl(unsigned device, unsigned line, unsigned control);
  void unbindControl();
  void releaseBinding();  // closes the device without a repaint
  double readControlValue();
  void writeControlValue();
  void showControlValue();  // the control's value on the knob, if it is not what value says
  void handleControlChange(unsigned control);
  void directNotificationsToWindow();
  void releaseAtUnload();
  // What the bound control's line offers: its name, its mute (mixer/winmm_line.cpp)
  void learnBoundLine();
  bool readControlMute(bool& isMuted) const;
  bool writeControlMute(bool mute) const;

  // The bound volume as the wheel, step commands and tooltip reach it,
  // whatever kind of binding it is (slider/level.cpp)
  bool levelBound() const;
  double level() const;
  // Like a drag, one write, but the knob then shows the level read back; unbound: nothing.
  void setLevel(double level);
  void stepLevel(double percent);
  const char* levelName() const;
  bool levelMuted() const;
  bool toggleMute();  // unbound, or nothing to mute: false, and nothing happens
  void followMute();  // shows the mute as the bound volume reports it

  // Commands (commands/commands.cpp)
  void handleCommand(const char* text);
  void handleConfigureCommand(const char* text);
};
