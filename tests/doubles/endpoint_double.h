#pragma once
// A fake MMDeviceEnumerator, registered in the test's COM apartment so that the
// plug-in's CoCreateInstance reaches it: render endpoints with IDs, friendly
// names, levels and states, failures on demand, and callbacks fired from a
// thread of its own as the system fires them. Endpoints also have audio
// sessions, which wine 8 does not list at all.
#include <windows.h>

#include <audiopolicy.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <string>
#include <vector>

namespace endpointdouble {

struct Endpoint {
  std::wstring id;
  std::wstring name;  // empty: the endpoint has no friendly name
  float level = 0.5f;
  bool muted = false;
  DWORD state = DEVICE_STATE_ACTIVE;
  EDataFlow flow = eRender;  // a microphone: eCapture
};

// One application's audio session on an endpoint.
struct Session {
  DWORD processId = 0;  // made up: no real process has it
  // As the system forms it: "{0.0.0.00000000}.{guid}|
  // \Device\HarddiskVolume3\Apps\player.exe%b{00000000-0000-0000-0000-000000000000}".
  // The instance identifier is made from it, unique per session.
  std::wstring identifier;
  // Often empty, or indirect: "@%SystemRoot%\System32\AudioSrv.Dll,-202".
  std::wstring displayName;
  float level = 1.0f;
  bool muted = false;
  bool systemSounds = false;
  bool processIdFails = false;  // GetProcessId answers an error, as for some services
  AudioSessionState state = AudioSessionStateInactive;
};

enum class Op { Enumerate, EnumerateCapture, Activate, GetLevel, SetLevel };

// Registers the class object in the calling thread's apartment. While
// "absent", creating the enumerator fails as it does without Core Audio.
// A thread in another apartment (the MTA) creates wine's own enumerator: it
// reaches the fake only through objects handed to it from this apartment.
void install();
void uninstall();
void reset(bool present);  // no endpoints, no default, no failures
void addEndpoint(const Endpoint& endpoint);
void fail(Op op, HRESULT result);  // S_OK: no longer fails
// Off: a set changes the level without calling back, as a benchmark wants it.
void setEchoes(bool on);

// Each changes the fake and then calls the registered callbacks from another
// thread, returning once they have run. Sets and mute changes are echoed so too,
// with the context they came with.
void changeElsewhere(size_t index, float level, bool muted);
// The default of the endpoint's flow, for every role; -1: no default.
void switchDefault(int index, EDataFlow flow = eRender);
// The default of one role only (eCommunications: the one calls use).
void switchDefault(int index, EDataFlow flow, ERole role);
void setState(size_t index, DWORD state);
// Keeps calling every registered callback from another thread until stopped.
void startCallbackStorm();
void stopCallbackStorm();

// Sessions are numbered in the order they were added, across endpoints
// (capture endpoints have sessions too).
// Already there when the plug-in looks: nobody is told.
size_t addSession(size_t endpoint, const Session& session);
// Appears later: every registration made from the MTA on that endpoint's
// session manager hears of it, from another thread, before this returns.
size_t createSession(size_t endpoint, const Session& session);
// These call the session's callbacks from another thread and return once
// they have run; sets through the session are echoed so too, with their context.
// context: what the other program passed (null: none at all).
void changeSessionElsewhere(size_t session, float level, bool muted);
void changeSessionElsewhere(size_t session, float level, bool muted, const GUID* context);
void expireSession(size_t session);  // tells, then is no longer listed
void disconnectSession(size_t session, AudioSessionDisconnectReason reason);
// Nobody is told; every later call on the session fails with
// AUDCLNT_E_DEVICE_INVALIDATED (unregistering aside).
void invalidateSession(size_t session);
// Until stopped, sessions like this one keep appearing on the endpoint and
// expiring, with their notifications, perSecond of them a second (each
// expires half way to the next). Empty identifier: a made-up program's.
void startSessionChurn(size_t endpoint = 0, const Session& like = Session(), int perSecond = 500);
void stopSessionChurn();
int sessionsChurned();  // since the last start
// While held, RegisterSessionNotification does not return: the system stuck.
void holdSessionRegistrations(bool hold);

float level(size_t index);
float sessionLevel(size_t session);
bool sessionMuted(size_t session);
int registeredCallbacks();              // every callback registered now, sessions' included
int sessionNotificationsRegistered();   // IAudioSessionNotification
int sessionEventsRegistered();          // IAudioSessionEvents
bool lastSessionRegistrationFromMta();  // the thread of the last RegisterSessionNotification
long referencesHeld();                  // references on the fake's objects not yet released

}  // namespace endpointdouble
