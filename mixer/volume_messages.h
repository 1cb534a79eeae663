#pragma once
#include <windows.h>

// Posted to the slider window by the system's callbacks (through the
// slider's PendingPosts), which run on threads of the system's. They carry
// nothing: the window thread reads what it needs from the binding as it
// stands when the message arrives.
constexpr UINT kMsgFirstNotice = WM_APP + 0x4B1;
constexpr UINT kMsgEndpointVolume = kMsgFirstNotice;  // the level or mute changed elsewhere
constexpr UINT kMsgEndpointDevices = WM_APP + 0x4B2;  // a default or an endpoint's state changed
constexpr UINT kMsgAppSessions = WM_APP + 0x4B3;      // a session appeared, expired or disconnected
constexpr UINT kMsgAppVolume = WM_APP + 0x4B4;        // a session's level or mute changed elsewhere
constexpr UINT kMsgLastNotice = kMsgAppVolume;
