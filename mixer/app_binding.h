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
#include "mixer/endpoint_device.h"
#include "mixer/pending_posts.h"

constexpr int kMostAppSessions = 32;
constexpr int kMostWatchedEndpoints = 16;

struct AppSession {
  ComRef<IAudioSessionControl2> control;
  ComRef<ISimpleAudioVolume> volume;
  ComRef<IAudioSessionEvents> events;  // registered with control while held
  wchar_t instance[kEndpointIdSize];   // tells one session from another
};

// The sessions of one render endpoint, watched for new ones.
struct SessionWatch {
  wchar_t endpointId[kEndpointIdSize];
  ComRef<IAudioSessionManager2> manager;
  ComRef<IAudioSessionNotification> callback;  // registered (from the MTA) while held
};

struct AppVolume {
  bool chosen = false;
  // "player.exe" or "systemsounds", matched byte for byte; empty for a
  // stored name that could not be read, which matches no session.
  char image[kAppImageSize] = "";
  char name[kAppNameSize] = "";  // as users know it
  double heldLevel = 1.0;
  bool heldMuted = false;
  ComRef<PendingPosts> posts;  // where the callbacks post
  GUID context = {};
  bool onWorker = false;  // holds a use of the MTA worker
  ComRef<IMMDeviceEnumerator> enumerator;
  ComRef<IMMNotificationClient> devicesCallback;  // endpoints coming and going
  SessionWatch watches[kMostWatchedEndpoints];
  int watchCount = 0;
  AppSession sessions[kMostAppSessions];
  int sessionCount = 0;

  AppVolume() = default;
  AppVolume(const AppVolume&) = delete;
  AppVolume& operator=(const AppVolume&) = delete;
};

// The application of the session whose process ID is process (0: the system
// sounds) on any active render endpoint: its image and name. False when no
// session has that ID.
bool findApp(DWORD process, char (&image)[kAppImageSize], char (&name)[kAppNameSize]);

// Binds image's sessions (an empty image: a stored name that could not be
// read, shown by name and never running); takeLevel: the first session's
// level and mute become the held ones, else the held ones are set on every
// session. The callbacks post through posts.
void bindApp(AppVolume& a, PendingPosts* posts, const char* image, const char* name,
             bool takeLevel);
void releaseApp(AppVolume& a);
inline bool appChosen(const AppVolume& a) { return a.chosen; }
inline bool appRunning(const AppVolume& a) { return a.sessionCount > 0; }

// The held level and mute, on every session of the application.
void setAppLevel(AppVolume& a, double level);
void setAppMute(AppVolume& a, bool muted);
// kMsgAppSessions: sessions that came or went.
void followAppSessions(AppVolume& a);
// kMsgEndpointDevices: render endpoints that came or went, with their sessions.
void followAppEndpoints(AppVolume& a);
// kMsgAppVolume: a change made elsewhere to one session becomes the held
// level or mute, and the others follow. True when what is held changed.
bool followAppVolume(AppVolume& a);

// Every application with a session on an active render endpoint, in order of
// first appearance: add(context, image, name, process) once per application.
// False when the sessions cannot be enumerated at all.
typedef void (*AddApp)(void* context, const char* image, const char* name, DWORD process);
bool listApps(AddApp add, void* context);
