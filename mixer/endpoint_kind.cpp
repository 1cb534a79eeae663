#include "mixer/endpoint_kind.h"

#include "mixer/volume_kind.h"
#include "mixer/volume_messages.h"

namespace {

bool bound(const Binding& b) { return endpointBound(b.endpoint); }
bool running(const Binding&) { return true; }
const char* name(const Binding& b) { return b.endpoint.name; }
bool readLevel(const Binding& b, double& level) { return readEndpointLevel(b.endpoint, level); }
bool writeLevel(Binding& b, double level) { return writeEndpointLevel(b.endpoint, level); }
bool readMute(const Binding& b, bool& muted) { return readEndpointMute(b.endpoint, muted); }
bool writeMute(Binding& b, bool muted) { return writeEndpointMute(b.endpoint, muted); }

VolumeReading followDevices(Binding& b) {
  switch (followEndpointChanges(b.endpoint)) {
    case EndpointChange::Bound: b.setFailureShown = false; return boundReading(b);
    case EndpointChange::Unbound: {
      VolumeReading r;
      r.rebound = true;
      return r;
    }
    case EndpointChange::None: break;
  }
  return VolumeReading{};
}

VolumeReading follow(Binding& b, UINT message, LPARAM) {
  VolumeReading r;
  if (message == kMsgEndpointDevices) return followDevices(b);
  if (message != kMsgEndpointVolume || !bound(b)) return r;
  r.hasMute = readEndpointMute(b.endpoint, r.muted);
  r.hasLevel = readEndpointLevel(b.endpoint, r.level);
  return r;
}

void release(Binding& b) { releaseEndpoint(b.endpoint); }

bool choose(Binding& b, EDataFlow flow, ERole role, const wchar_t* id) {
  startBinding(b, BindingKind::Endpoint);
  b.endpoint.flow = flow;
  b.endpoint.role = role;
  const EndpointChoice choice = id == nullptr ? EndpointChoice::Default : EndpointChoice::Named;
  return chooseEndpoint(b.endpoint, b.posts.get(), b.context, choice, id);
}

}  // namespace

const VolumeKind kEndpointKind = {bound,    running,   name,   readLevel, writeLevel,
                                  readMute, writeMute, follow, release};

VolumeReading bindEndpoint(Binding& b, EDataFlow flow, unsigned number, ERole role) {
  wchar_t id[kEndpointIdSize] = L"";
  if (number != 0 && !activeEndpointId(flow, number, id))
    return failedBinding(b, VolumeFailure::NoEndpoint);
  if (choose(b, flow, role, number == 0 ? nullptr : id)) return boundReading(b);
  return failedBinding(b, VolumeFailure::NoEndpoint);
}

VolumeReading restoreEndpoint(Binding& b, EDataFlow flow, ERole role, const wchar_t* id) {
  if (choose(b, flow, role, id)) return boundReading(b);
  VolumeReading r;  // chosen, not bound: said, and bound when it comes
  r.rebound = true;
  r.failure = VolumeFailure::NoEndpoint;
  return r;
}

bool endpointChosen(const Binding& b, EDataFlow flow, bool& isDefault, ERole& role,
                    const wchar_t*& id) {
  if (b.kind != BindingKind::Endpoint || b.endpoint.flow != flow) return false;
  isDefault = b.endpoint.choice == EndpointChoice::Default;
  role = b.endpoint.role;
  id = b.endpoint.chosenId;
  return true;
}

bool followsDefaultEndpoint(const Binding& b, EDataFlow flow, ERole role) {
  bool isDefault = false;
  ERole chosen = eConsole;
  const wchar_t* id = nullptr;
  return endpointChosen(b, flow, isDefault, chosen, id) && isDefault && chosen == role;
}

bool chosenEndpointIs(const Binding& b, EDataFlow flow, const wchar_t* id) {
  bool isDefault = false;
  ERole role = eConsole;
  const wchar_t* chosen = nullptr;
  return endpointChosen(b, flow, isDefault, role, chosen) && !isDefault &&
         lstrcmpW(chosen, id) == 0;
}
