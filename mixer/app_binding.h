#pragma once
// One application's audio sessions as a slider's volume: every session whose
// process image has the bound name, on every active render endpoint, so a
// program with several processes or sessions moves as one. The slider holds
// the level (and, for the run, the mute) the user chose, and each session of
// the application that appears later is set to it. Sessions are learned from
// notifications alone: the callbacks post to the window, which re-reads.
#include <windows.h>

#include <audiopolicy.h>

#include "mixer/app_identity.h"
#include "mixer/callbacks.h"
#include "mixer/endpoint_device.h"
#include "mixer/mta_worker.h"
#include "mixer/pending_posts.h"

constexpr int kMostAppSessions = 32;
constexpr int kMostWatchedEndpoints = 16;

// New sessions are told only to a client that registered from the MTA: the
// registration goes, as it came, through the worker.
void unregisterSessionsCallback(IAudioSessionManager2* source, IAudioSessionNotification* callback);
using SessionsRegistration =
    Registration<IAudioSessionManager2, IAudioSessionNotification, unregisterSessionsCallback>;

struct AppSession {
  ComRef<IAudioSessionControl2> control;
  ComRef<ISimpleAudioVolume> volume;
  SessionEventsRegistration events;
  wchar_t instance[kEndpointIdSize] = L"";  // tells one session from another
  bool fresh = false;                       // adopted, not yet set to what is held
};

// The sessions of one render endpoint, watched for new ones.
struct SessionWatch {
  wchar_t endpointId[kEndpointIdSize] = L"";
  ComRef<IAudioSessionManager2> manager;
  SessionsRegistration sessions;
};

struct AppVolume {
  // "player.exe" or "systemsounds", matched byte for byte; empty for a
  // stored name that could not be read, which matches no session.
  char image[kAppImageSize] = "";
  char name[kAppNameSize] = "";  // as users know it
  double heldLevel = 1.0;
  bool heldMuted = false;
  GUID context = {};
  ComRef<PendingPosts> posts;  // where the callbacks post
  // Members go in the reverse order: the registrations before the worker
  // that unregisters some of them.
  ComRef<MtaWorker> worker;
  ComRef<IMMDeviceEnumerator> enumerator;
  DevicesRegistration devices;  // endpoints coming and going
  SessionWatch watches[kMostWatchedEndpoints];
  int watchCount = 0;
  AppSession sessions[kMostAppSessions];
  int sessionCount = 0;

  AppVolume() = default;
  AppVolume(const AppVolume&) = delete;
  AppVolume& operator=(const AppVolume&) = delete;
};

// The image of the application of the session whose process ID is process
// (0: the system sounds) on any active render endpoint. False when no
// session has that ID.
bool findApp(DWORD process, char (&image)[kAppImageSize]);

// Binds image's sessions (an empty image: a stored name that could not be
// read, shown by name and never running); takeLevel: the first session's
// level and mute become the held ones, else the held ones are set on every
// session; the level held is at most ceiling. The callbacks post through
// posts, the changes carry context.
void bindApp(AppVolume& a, PendingPosts* posts, const GUID& context, const char* image,
             bool takeLevel, double ceiling);
void releaseApp(AppVolume& a);
inline bool appRunning(const AppVolume& a) { return a.sessionCount > 0; }

// The held level and mute, on every session of the application.
void setAppLevel(AppVolume& a, double level);
void setAppMute(AppVolume& a, bool muted);
// kMsgAppSessions: sessions that came or went.
void followAppSessions(AppVolume& a);
// kMsgEndpointDevices: render endpoints that came or went, with their sessions.
void followAppEndpoints(AppVolume& a);
// kMsgAppVolume: a change made elsewhere to one session becomes the held
// level (at most ceiling) or mute, and every session follows. True when what
// is held changed.
bool followAppVolume(AppVolume& a, double ceiling);

// Every application with a session on an active render endpoint, in order of
// first appearance: add(context, image, name, process) once per application.
// False when the sessions cannot be enumerated at all.
typedef void (*AddApp)(void* context, const char* image, const char* name, DWORD process);
bool listApps(AddApp add, void* context);
