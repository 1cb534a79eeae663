#include "mixer/bound_volume.h"

#include "mixer/endpoint_binding.h"
#include "mixer/winmm_device.h"
#include "plugin/module_state.h"
#include "slider/slider.h"

namespace {

constexpr char kDefaultEndpoint[] = "default";

bool setFailureShown;  // once per binding, not once per drag step
char pendingEndpoint[kTextSize];
bool pendingWhole;
// The stored endpoint could not be read (cut, or not UTF-8): the file keeps
// what the user wrote until another choice is made.
bool storedTextKept;

void showStatus(const char* text) {
  SendMessageA(hostWindow, HostMsgStatusText, 0, reinterpret_cast<LPARAM>(text));
}

void endMixerBinding(Slider& s) {
  storedTextKept = false;
  s.mixerKept = false;
  if (s.mixerBound) s.unbindControl();
}

// The endpoint's level on the knob; false when it cannot be read.
bool takeEndpointLevel(Slider& s) {
  double level = 0.0;
  if (!readEndpointLevel(level)) return false;
  s.value = level;
  s.updateKnobFromValue();
  return true;
}

// A newly bound endpoint: its level goes on the knob, its name to the tooltip.
void showBoundEndpoint(Slider& s) {
  setFailureShown = false;
  boundEndpointName(s.volumeName, sizeof s.volumeName);
  takeEndpointLevel(s);
  s.muted = false;
  readEndpointMute(s.muted);
  s.repaint();
}

void reportNoEndpoint(Slider& s) {
  showStatus("Unable to open audio endpoint.");
  s.repaint();
}

}  // namespace

bool volumeBound(const Slider& s) { return s.mixerBound || endpointBound(); }

bool volumeChosen(const Slider& s) {
  return s.mixerBound || s.mixerKept || endpointChoice() != EndpointChoice::None;
}

bool followsDefaultEndpoint() { return endpointChoice() == EndpointChoice::Default; }

bool chosenEndpointIs(const wchar_t* id) {
  return endpointChoice() == EndpointChoice::Named && lstrcmpW(chosenEndpointId(), id) == 0;
}

void bindMixerControl(Slider& s, unsigned device, unsigned line, unsigned control) {
  storedTextKept = false;
  unbindEndpoint();
  s.bindControl(device, line, control);
}

void restoreMixerControl(Slider& s, unsigned device, unsigned line, unsigned control,
                         const char* deviceName) {
  unsigned present = device;
  if (mixerDeviceFor(device, deviceName, present))
    s.bindControl(present, line, control);
  else
    showStatus("Unable to open mixer device.");  // the device with that name is absent
  if (s.mixerBound) return;
  // One start without the device must not cost the user their choice: it is
  // written back as it was read, and bound at the next start that finds it.
  s.deviceId = device;
  s.lineId = line;
  s.controlId = control;
  lstrcpynA(s.deviceName, deviceName != nullptr ? deviceName : "", sizeof s.deviceName);
  s.mixerKept = true;
}

void bindEndpoint(Slider& s, unsigned number) {
  endMixerBinding(s);
  const bool bound =
      number == 0 ? bindDefaultEndpoint(s.window) : bindEndpointNumber(number, s.window);
  if (bound)
    showBoundEndpoint(s);
  else
    reportNoEndpoint(s);
}

void unbindVolume(Slider& s) {
  storedTextKept = false;
  unbindEndpoint();
  s.unbindControl();
}

void writeVolume(Slider& s) {
  if (s.mixerBound) {
    s.writeControlValue();
    return;
  }
  if (!endpointBound() || writeEndpointLevel(s.value)) return;
  // The endpoint refused (wine does not implement it): say so once, and show
  // the level it really has rather than one it never took.
  if (!setFailureShown) showStatus("Unable to set the volume.");
  setFailureShown = true;
  takeEndpointLevel(s);
}

// An endpoint's refused set was already taken back by writeVolume.
void showVolumeLevel(Slider& s) {
  if (s.mixerBound) s.showControlValue();
}

bool readVolumeMute(const Slider& s, bool& muted) {
  return s.mixerBound ? s.readControlMute(muted) : readEndpointMute(muted);
}

bool writeVolumeMute(const Slider& s, bool muted) {
  return s.mixerBound ? s.writeControlMute(muted) : writeEndpointMute(muted);
}

void followEndpointVolume(Slider& s) {
  if (!endpointBound()) return;
  s.followMute();  // also during a drag: the drag only moves the level
  if (s.dragging) return;
  const int old = s.knobPos;
  if (takeEndpointLevel(s) && s.knobPos != old) s.repaint();
}

void followEndpointDevices(Slider& s) {
  switch (followEndpointChanges()) {
    case EndpointChange::Bound: showBoundEndpoint(s); break;
    case EndpointChange::Unbound: s.repaint(); break;
    case EndpointChange::None: break;
  }
}

void rememberStoredEndpoint(const char* text, bool whole) {
  lstrcpynA(pendingEndpoint, text != nullptr ? text : "", kTextSize);
  pendingWhole = whole;
}

void restoreStoredEndpoint(Slider& s) {
  if (pendingEndpoint[0] == '\0') return;
  wchar_t id[kEndpointIdSize] = L"";
  const bool isDefault = lstrcmpiA(pendingEndpoint, kDefaultEndpoint) == 0;
  const bool readable = pendingWhole && (isDefault || endpointIdFromText(pendingEndpoint, id));
  pendingEndpoint[0] = '\0';
  endMixerBinding(s);
  storedTextKept = !readable;
  // An endpoint that is absent now stays chosen, and is bound when it returns.
  if (readable &&
      restoreEndpoint(isDefault ? EndpointChoice::Default : EndpointChoice::Named, id, s.window))
    showBoundEndpoint(s);
  else
    reportNoEndpoint(s);
}

bool storedEndpointText(char* text, int size) {
  text[0] = '\0';
  if (storedTextKept) return false;
  switch (endpointChoice()) {
    case EndpointChoice::Default: lstrcpynA(text, kDefaultEndpoint, size); break;
    case EndpointChoice::Named:
      if (!endpointIdToText(chosenEndpointId(), text, size)) text[0] = '\0';
      break;
    case EndpointChoice::None: break;
  }
  return true;
}

void releaseVolumeAtStop() { shutDownEndpoints(); }
