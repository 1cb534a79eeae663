#pragma once
// Which application an audio session belongs to, and the name users know it by.
#include <windows.h>

#include <audiopolicy.h>

constexpr int kAppNameSize = 128;
// The image name stored for the system-sounds session.
constexpr char kSystemSounds[] = "systemsounds";

// The session's process image file name in lower case ("player.exe"), from
// its process, or where that cannot be opened (elevated, gone) from the
// session identifier; "systemsounds" for the system sounds. False when
// neither says. quick asks the identifier first: a menu lists every session,
// and opening a process costs a round trip to the system each time (some
// 50 µs under wine), while the identifier names the same image.
bool sessionImage(IAudioSessionControl2* session, char (&image)[kAppNameSize], bool quick = false);
// The session's display name ("@" names resolved), or else the image without
// its extension; "System sounds" for those.
void sessionAppName(IAudioSessionControl2* session, const char* image, char (&name)[kAppNameSize]);
// The name to show for an image when no session says more: "player" for "player.exe".
void appNameOfImage(const char* image, char (&name)[kAppNameSize]);
