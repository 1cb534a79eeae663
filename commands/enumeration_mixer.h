#pragma once
// clang-format off
#include <windows.h>
#include <mmsystem.h>  // needs windows.h first
// clang-format on

// A mixer device opened only while the menu lists it: no callback, and closed
// again on every way out of the routine that opened it.
class EnumerationMixer {
 public:
  EnumerationMixer() = default;
  EnumerationMixer(const EnumerationMixer&) = delete;
  EnumerationMixer& operator=(const EnumerationMixer&) = delete;
  ~EnumerationMixer() {
    if (handle_ != nullptr) mixerClose(handle_);
  }

  bool open(UINT device) {
    HMIXER handle = nullptr;
    if (mixerOpen(&handle, device, 0, 0, 0) != MMSYSERR_NOERROR) return false;
    handle_ = handle;
    return true;
  }

  // Gives the handle up whatever the result: a handle the driver refused to
  // close is not closed a second time.
  bool close() {
    HMIXER handle = handle_;
    handle_ = nullptr;
    return mixerClose(handle) == MMSYSERR_NOERROR;
  }

  HMIXER handle() const { return handle_; }

 private:
  HMIXER handle_ = nullptr;
};
