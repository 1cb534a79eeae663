#include "mixer/winmm_device.h"

#include <cstring>

// clang-format off
#include <windows.h>
#include <mmsystem.h>  // needs windows.h first
// clang-format on

#include "mixer/mixer_name.h"

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The settings file keeps no blanks around a value, while a driver may pad its
// name with them: only what lies between counts.
bool sameName(const char* a, const char* b) {
  while (isBlank(*a)) ++a;
  while (isBlank(*b)) ++b;
  int lengthA = lstrlenA(a), lengthB = lstrlenA(b);
  while (lengthA > 0 && isBlank(a[lengthA - 1])) --lengthA;
  while (lengthB > 0 && isBlank(b[lengthB - 1])) --lengthB;
  return lengthA == lengthB && std::memcmp(a, b, static_cast<size_t>(lengthA)) == 0;
}

bool isNamed(unsigned device, const char* name) {
  char actual[MAXPNAMELEN + 1];
  return mixerDeviceName(device, actual, sizeof actual) && sameName(actual, name);
}

}  // namespace

bool mixerDeviceName(unsigned device, char* name, int size) {
  name[0] = '\0';
  MIXERCAPSA caps = {};
  if (mixerGetDevCapsA(device, &caps, sizeof caps) != MMSYSERR_NOERROR) return false;
  const MixerName<MAXPNAMELEN> product(caps.szPname);
  lstrcpynA(name, product.text, size);
  return true;
}

bool mixerDeviceFor(unsigned stored, const char* name, unsigned& device) {
  device = stored;
  if (name == nullptr || sameName(name, "") || isNamed(stored, name)) return true;
  const UINT count = mixerGetNumDevs();
  for (UINT other = 0; other < count; ++other) {
    if (other == stored || !isNamed(other, name)) continue;
    device = other;
    return true;
  }
  return false;
}
