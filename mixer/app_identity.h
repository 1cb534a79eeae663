#pragma once
// Which application an audio session belongs to, and the name users know it by.
#include <windows.h>

#include <audiopolicy.h>

constexpr int kAppNameSize = 128;  // a name to show
// An image name in UTF-8, as stored. The host hands out at most 255 bytes of
// a value, so a text of 255 could be a cut one: what is stored is shorter.
constexpr int kAppImageSize = 256;
constexpr int kLongestStoredImage = 254;
// The image name stored for the system-sounds session.
constexpr char kSystemSounds[] = "systemsounds";

// The session's process image file name in lower case ("player.exe"):
// from the session identifier, the system's own record of the session (it
// outlives a process ID that another program takes over), or where that
// holds none, from the process; "systemsounds" for the system sounds. False
// when neither says, or the name is too long to be stored whole.
bool sessionImage(IAudioSessionControl2* session, char (&image)[kAppImageSize]);
// An image file name as matched and stored: lower case in every script, in
// UTF-8. False (and image empty) when it is empty or too long to store whole.
bool imageNameToText(const wchar_t* name, char (&image)[kAppImageSize]);
// A stored name as matched: false when the text is not UTF-8 (then it names
// no program; the file keeps it as it is).
bool storedImageName(const char* text, char (&image)[kAppImageSize]);
// The session's display name ("@" names resolved), or else the image without
// its extension; "System sounds" for those.
void sessionAppName(IAudioSessionControl2* session, const char* image, char (&name)[kAppNameSize]);
// The name to show for an image when no session says more: "player" for "player.exe".
void appNameOfImage(const char* image, char (&name)[kAppNameSize]);
