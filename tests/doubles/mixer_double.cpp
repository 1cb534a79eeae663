#include "tests/doubles/mixer_double.h"

#include <cstdio>
#include <cstring>
#include <map>

namespace {

struct Failure {
  mixerdouble::Op op;
  int device;
  unsigned index;
};

struct OpenDevice {
  UINT device;
  HWND callback;
};

struct State {
  std::vector<mixerdouble::Device> devices;
  std::vector<Failure> failures;
  std::vector<mixerdouble::SetRecord> sets;
  std::vector<std::string> log;
  std::map<HMIXER, OpenDevice> open;
  uintptr_t nextHandle = 0x7100;
  int opens = 0;
  bool notify = true;
};

// Never destroyed: the plug-in's own static slider closes a still-bound device
// while the program exits, after function-local statics made later are gone.
State& state() {
  static State& s = *new State;
  return s;
}

bool failing(mixerdouble::Op op, UINT device, unsigned index = ~0u) {
  for (const auto& f : state().failures)
    if (f.op == op && (f.device < 0 || static_cast<UINT>(f.device) == device) &&
        (f.index == ~0u || f.index == index))
      return true;
  return false;
}

void note(const char* fmt, unsigned a, unsigned b = 0, unsigned c = 0) {
  char line[160];
  std::snprintf(line, sizeof line, fmt, a, b, c);
  state().log.push_back(line);
}

// Resolves the object argument: a handle when the flags say so, else a device index.
bool resolve(HMIXEROBJ object, DWORD flags, UINT& device) {
  if ((flags & 0xF0000000u) == MIXER_OBJECTF_HMIXER) {
    auto it = state().open.find(reinterpret_cast<HMIXER>(object));
    if (it == state().open.end()) return false;
    device = it->second.device;
    return true;
  }
  device = static_cast<UINT>(reinterpret_cast<uintptr_t>(object));
  return device < state().devices.size();
}

mixerdouble::Line* findLine(UINT device, DWORD lineId) {
  for (auto& d : state().devices[device].destinations) {
    if (d.id == lineId) return &d;
    for (auto& s : d.sources)
      if (s.id == lineId) return &s;
  }
  return nullptr;
}

// The line that holds the control, and the control: a destination's own
// controls first, then its sources'.
mixerdouble::Line* lineHolding(UINT device, DWORD controlId, mixerdouble::Control*& control) {
  const auto holds = [&](mixerdouble::Line& line) {
    for (auto& c : line.controls)
      if (c.id == controlId) return control = &c, true;
    return false;
  };
  for (auto& d : state().devices[device].destinations) {
    if (holds(d)) return &d;
    for (auto& s : d.sources)
      if (holds(s)) return &s;
  }
  return nullptr;
}

mixerdouble::Control* findControl(UINT device, DWORD controlId) {
  mixerdouble::Control* control = nullptr;
  lineHolding(device, controlId, control);
  return control;
}

void copyName(char* field, size_t size, const std::string& name) {
  // Like a driver, fill the whole field when the name is that long: no terminator then.
  std::memset(field, 0, size);
  std::memcpy(field, name.data(), name.size() < size ? name.size() : size);
}

void fillLine(MIXERLINEA& out, const mixerdouble::Line& line, DWORD destination, DWORD source,
              bool isSource) {
  out.dwDestination = destination;
  out.dwSource = isSource ? source : 0;
  out.dwLineID = line.id;
  out.cConnections = isSource ? 0 : static_cast<DWORD>(line.sources.size());
  out.cControls = line.reportedControls >= 0 ? static_cast<DWORD>(line.reportedControls)
                                             : static_cast<DWORD>(line.controls.size());
  copyName(out.szShortName, sizeof out.szShortName, line.name);
  copyName(out.szName, sizeof out.szName, line.name);
  out.Target.dwType = line.targetType;
}

void fillControl(MIXERCONTROLA& out, const mixerdouble::Control& control) {
  std::memset(&out, 0, sizeof out);
  out.cbStruct = sizeof out;
  out.dwControlID = control.id;
  out.dwControlType = control.type;
  copyName(out.szShortName, sizeof out.szShortName, control.name);
  copyName(out.szName, sizeof out.szName, control.name);
  out.Bounds.dwMinimum = control.minimum;
  out.Bounds.dwMaximum = 65535;
}

// MIXER_GETLINECONTROLSF_ONEBYID: the control and the line that holds it.
MMRESULT oneControlById(UINT device, MIXERLINECONTROLSA& query) {
  note("mixerGetLineControlsA(%u, control %u)", device, query.dwControlID);
  if (query.cbmxctrl < sizeof(MIXERCONTROLA) || query.pamxctrl == nullptr)
    return MMSYSERR_INVALPARAM;
  mixerdouble::Control* control = nullptr;
  const mixerdouble::Line* line = lineHolding(device, query.dwControlID, control);
  if (line == nullptr) return MIXERR_INVALCONTROL;
  if (failing(mixerdouble::Op::GetControls, device, line->id)) return MMSYSERR_ERROR;
  query.dwLineID = line->id;
  fillControl(query.pamxctrl[0], *control);
  return MMSYSERR_NOERROR;
}

// MIXER_GETLINECONTROLSF_ONEBYTYPE: the line's first control of that type.
MMRESULT oneControlByType(UINT device, MIXERLINECONTROLSA& query) {
  note("mixerGetLineControlsA(%u, line %u, type %#x)", device, query.dwLineID, query.dwControlType);
  if (query.cbmxctrl < sizeof(MIXERCONTROLA) || query.pamxctrl == nullptr)
    return MMSYSERR_INVALPARAM;
  const mixerdouble::Line* line = findLine(device, query.dwLineID);
  if (line == nullptr) return MIXERR_INVALLINE;
  if (failing(mixerdouble::Op::GetControls, device, query.dwLineID)) return MMSYSERR_ERROR;
  for (const auto& c : line->controls) {
    if (c.type != query.dwControlType) continue;
    fillControl(query.pamxctrl[0], c);
    return MMSYSERR_NOERROR;
  }
  return MIXERR_INVALCONTROL;
}

}  // namespace

namespace mixerdouble {

void reset() { state() = State(); }
void addDevice(const Device& d) { state().devices.push_back(d); }
Device& device(UINT index) { return state().devices.at(index); }
void fail(Op op, int device, unsigned index) { state().failures.push_back({op, device, index}); }
void clearFailures() { state().failures.clear(); }
const std::vector<SetRecord>& sets() { return state().sets; }
const std::vector<std::string>& log() { return state().log; }
void setNotifications(bool on) { state().notify = on; }
void clearLog() { state().log.clear(); }
int openHandles() { return static_cast<int>(state().open.size()); }
int opens() { return state().opens; }

DWORD raw(UINT device, DWORD control) {
  Control* c = findControl(device, control);
  return c ? c->raw : 0;
}

void changeControl(UINT device, DWORD control, DWORD raw) {
  if (Control* c = findControl(device, control)) c->raw = raw;
  if (!state().notify) return;
  for (const auto& [handle, open] : state().open)
    if (open.device == device && open.callback != nullptr)
      PostMessageA(open.callback, MM_MIXM_CONTROL_CHANGE, reinterpret_cast<WPARAM>(handle),
                   static_cast<LPARAM>(control));
}

}  // namespace mixerdouble

using mixerdouble::Op;

extern "C" {

UINT WINAPI mixerGetNumDevs(void) {
  note("mixerGetNumDevs()", 0);
  if (failing(Op::GetNumDevs, 0)) return 0;
  return static_cast<UINT>(state().devices.size());
}

MMRESULT WINAPI mixerOpen(LPHMIXER out, UINT device, DWORD_PTR callback, DWORD_PTR instance,
                          DWORD flags) {
  note("mixerOpen(%u)", device);  // replaced by the full line below
  state().log.back() = "mixerOpen(" + std::to_string(device) + ", " +
                       (callback ? "window" : "none") + ", " +
                       (flags == CALLBACK_WINDOW ? "CALLBACK_WINDOW" : std::to_string(flags)) + ")";
  (void)instance;
  if (out == nullptr) return MMSYSERR_INVALPARAM;
  if (device >= state().devices.size()) return MMSYSERR_BADDEVICEID;
  if (failing(Op::Open, device, callback != 0 ? 1u : 0u)) return MMSYSERR_ERROR;
  HMIXER handle = reinterpret_cast<HMIXER>(state().nextHandle++);
  HWND window =
      (flags & CALLBACK_TYPEMASK) == CALLBACK_WINDOW ? reinterpret_cast<HWND>(callback) : nullptr;
  state().open[handle] = {device, window};
  ++state().opens;
  *out = handle;
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerClose(HMIXER handle) {
  auto it = state().open.find(handle);
  note("mixerClose(%u)", it == state().open.end() ? 999u : it->second.device);
  if (it == state().open.end()) return MMSYSERR_INVALHANDLE;
  if (failing(Op::Close, it->second.device)) return MMSYSERR_ERROR;
  state().open.erase(it);
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerGetDevCapsA(UINT_PTR id, LPMIXERCAPSA caps, UINT size) {
  const UINT device = static_cast<UINT>(id);
  note("mixerGetDevCapsA(%u, %u)", device, size);
  if (device >= state().devices.size()) return MMSYSERR_BADDEVICEID;
  if (caps == nullptr || size < sizeof(MIXERCAPSA)) return MMSYSERR_INVALPARAM;
  if (failing(Op::GetDevCaps, device)) return MMSYSERR_ERROR;
  std::memset(caps, 0, sizeof(MIXERCAPSA));
  copyName(caps->szPname, sizeof caps->szPname, state().devices[device].name);
  caps->fdwSupport = state().devices[device].support;
  caps->cDestinations = static_cast<DWORD>(state().devices[device].destinations.size());
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerGetLineInfoA(HMIXEROBJ object, LPMIXERLINEA line, DWORD flags) {
  UINT device = 0;
  if (!resolve(object, flags, device)) return MMSYSERR_INVALHANDLE;
  if (line == nullptr || line->cbStruct < sizeof(MIXERLINEA)) return MMSYSERR_INVALPARAM;
  const DWORD query = flags & MIXER_GETLINEINFOF_QUERYMASK;
  auto& dests = state().devices[device].destinations;
  if (query == MIXER_GETLINEINFOF_DESTINATION) {
    note("mixerGetLineInfoA(%u, destination %u)", device, line->dwDestination);
    if (line->dwDestination >= dests.size()) return MIXERR_INVALLINE;
    if (failing(Op::GetDestination, device, line->dwDestination)) return MMSYSERR_ERROR;
    fillLine(*line, dests[line->dwDestination], line->dwDestination, 0, false);
    return MMSYSERR_NOERROR;
  }
  if (query == MIXER_GETLINEINFOF_SOURCE) {
    note("mixerGetLineInfoA(%u, destination %u, source %u)", device, line->dwDestination,
         line->dwSource);
    if (line->dwDestination >= dests.size()) return MIXERR_INVALLINE;
    const auto& sources = dests[line->dwDestination].sources;
    if (line->dwSource >= sources.size()) return MIXERR_INVALLINE;
    if (failing(Op::GetSource, device, line->dwSource)) return MMSYSERR_ERROR;
    fillLine(*line, sources[line->dwSource], line->dwDestination, line->dwSource, true);
    return MMSYSERR_NOERROR;
  }
  if (query == MIXER_GETLINEINFOF_LINEID) {
    note("mixerGetLineInfoA(%u, line %u)", device, line->dwLineID);
    for (DWORD d = 0; d < dests.size(); ++d) {
      if (dests[d].id == line->dwLineID) return fillLine(*line, dests[d], d, 0, false), 0;
      for (DWORD s = 0; s < dests[d].sources.size(); ++s)
        if (dests[d].sources[s].id == line->dwLineID)
          return fillLine(*line, dests[d].sources[s], d, s, true), 0;
    }
    return MIXERR_INVALLINE;
  }
  return MMSYSERR_NOTSUPPORTED;
}

MMRESULT WINAPI mixerGetLineControlsA(HMIXEROBJ object, LPMIXERLINECONTROLSA query, DWORD flags) {
  UINT device = 0;
  if (!resolve(object, flags, device)) return MMSYSERR_INVALHANDLE;
  if (query == nullptr || query->cbStruct < sizeof(MIXERLINECONTROLSA)) return MMSYSERR_INVALPARAM;
  if ((flags & MIXER_GETLINECONTROLSF_QUERYMASK) == MIXER_GETLINECONTROLSF_ONEBYID)
    return oneControlById(device, *query);
  if ((flags & MIXER_GETLINECONTROLSF_QUERYMASK) == MIXER_GETLINECONTROLSF_ONEBYTYPE)
    return oneControlByType(device, *query);
  note("mixerGetLineControlsA(%u, line %u, count %u)", device, query->dwLineID, query->cControls);
  if ((flags & MIXER_GETLINECONTROLSF_QUERYMASK) != MIXER_GETLINECONTROLSF_ALL)
    return MMSYSERR_NOTSUPPORTED;
  mixerdouble::Line* line = findLine(device, query->dwLineID);
  if (line == nullptr) return MIXERR_INVALLINE;
  if (failing(Op::GetControls, device, query->dwLineID)) return MMSYSERR_ERROR;
  if (query->cbmxctrl < sizeof(MIXERCONTROLA) || query->pamxctrl == nullptr)
    return MMSYSERR_INVALPARAM;
  const DWORD available = static_cast<DWORD>(line->controls.size());
  for (DWORD i = 0; i < query->cControls && i < available; ++i) {
    fillControl(query->pamxctrl[i], line->controls[i]);
  }
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerGetControlDetailsA(HMIXEROBJ object, LPMIXERCONTROLDETAILS details,
                                        DWORD flags) {
  UINT device = 0;
  if (!resolve(object, flags, device)) return MMSYSERR_INVALHANDLE;
  if (details == nullptr || details->cbStruct < sizeof(MIXERCONTROLDETAILS) ||
      details->paDetails == nullptr || details->cbDetails < sizeof(DWORD))
    return MMSYSERR_INVALPARAM;
  note("mixerGetControlDetailsA(%u, control %u)", device, details->dwControlID);
  mixerdouble::Control* c = findControl(device, details->dwControlID);
  if (c == nullptr) return MIXERR_INVALCONTROL;
  if (failing(Op::GetDetails, device, details->dwControlID)) return MMSYSERR_ERROR;
  if (!c->readWritesNothing)
    static_cast<MIXERCONTROLDETAILS_UNSIGNED*>(details->paDetails)->dwValue = c->raw;
  return MMSYSERR_NOERROR;
}

MMRESULT WINAPI mixerSetControlDetails(HMIXEROBJ object, LPMIXERCONTROLDETAILS details,
                                       DWORD flags) {
  UINT device = 0;
  if (!resolve(object, flags, device)) return MMSYSERR_INVALHANDLE;
  if (details == nullptr || details->paDetails == nullptr) return MMSYSERR_INVALPARAM;
  note("mixerSetControlDetails(%u, control %u)", device, details->dwControlID);
  mixerdouble::Control* c = findControl(device, details->dwControlID);
  if (c == nullptr) return MIXERR_INVALCONTROL;
  if (failing(Op::SetDetails, device, details->dwControlID)) return MMSYSERR_ERROR;
  const DWORD raw = static_cast<MIXERCONTROLDETAILS_UNSIGNED*>(details->paDetails)->dwValue;
  state().sets.push_back({device, details->dwControlID, raw});
  mixerdouble::changeControl(device, details->dwControlID, raw);
  return MMSYSERR_NOERROR;
}

}  // extern "C"
