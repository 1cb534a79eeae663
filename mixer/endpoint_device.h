#pragma once
// Small pieces of Core Audio shared by the endpoint binding and the menu's list
// of endpoints: scoped references, endpoint IDs, friendly names, states.
#include <windows.h>

#include <mmdeviceapi.h>
#include <objbase.h>

#include "mixer/com_ref.h"

// Room for an endpoint ID, terminator included. Longer IDs are refused rather
// than cut: a cut ID would name no endpoint, or another one.
constexpr int kEndpointIdSize = 256;
constexpr int kEndpointNameSize = 256;  // a friendly name, terminator included

// A text the system allocated for the caller.
class TaskText {
 public:
  TaskText() = default;
  ~TaskText() { CoTaskMemFree(text_); }
  TaskText(const TaskText&) = delete;
  TaskText& operator=(const TaskText&) = delete;
  LPWSTR* out() { return &text_; }
  const wchar_t* get() const { return text_; }
  const wchar_t* text() const { return text_ != nullptr ? text_ : L""; }

 private:
  LPWSTR text_ = nullptr;
};

// The system's device enumerator, or null where Core Audio is missing. The
// calling thread enters its COM apartment first (left again at stop).
IMMDeviceEnumerator* createDeviceEnumerator();

bool isActiveEndpoint(IMMDevice* device);
// A name for a menu or tooltip, in the ANSI code page: cut at a character
// boundary to fit, control characters as blanks.
void narrowToFit(const wchar_t* wide, char* out, int size);
// The endpoint's ID; false when it cannot be read or does not fit.
bool endpointIdOf(IMMDevice* device, wchar_t (&id)[kEndpointIdSize]);
// The friendly name in the ANSI code page, cut at a character boundary to fit;
// empty when the endpoint has none.
void friendlyNameOf(IMMDevice* device, char* name, int size);

// Endpoint IDs travel in the settings file as UTF-8, so that every ID that fits
// comes back the same. The host hands out at most 255 bytes of a value, so a
// text of 255 could be a cut one: what is stored is shorter.
constexpr int kLongestStoredId = 254;
bool endpointIdToText(const wchar_t* id, char* text, int size);
bool endpointIdFromText(const char* text, wchar_t (&id)[kEndpointIdSize]);

// The active endpoints of one flow in the order the system lists them, open
// while the object lives.
class EndpointList {
 public:
  EndpointList() = default;
  EndpointList(const EndpointList&) = delete;
  EndpointList& operator=(const EndpointList&) = delete;

  // False where Core Audio is missing or the endpoints cannot be listed.
  bool open(EDataFlow flow = eRender);
  unsigned count() const { return count_; }
  // Endpoint index (from 0), a new reference; null when it cannot be had.
  IMMDevice* device(unsigned index) const;
  // Endpoint index (from 0); false when it cannot be read.
  bool entry(unsigned index, wchar_t (&id)[kEndpointIdSize], char* name, int nameSize) const;

 private:
  ComRef<IMMDeviceEnumerator> enumerator_;
  ComRef<IMMDeviceCollection> collection_;
  unsigned count_ = 0;
};
