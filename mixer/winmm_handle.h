#pragma once
// clang-format off
#include <windows.h>
#include <mmsystem.h>  // needs windows.h first
// clang-format on

// The bound device is addressed by its handle, never by its index: the index
// could name another device by now.
inline HMIXEROBJ asObject(HMIXER device) { return reinterpret_cast<HMIXEROBJ>(device); }
constexpr DWORD kGetValue = MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE;
constexpr DWORD kSetValue = MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE;
