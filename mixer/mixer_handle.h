#pragma once
// clang-format off
#include <windows.h>
#include <mmsystem.h>  // needs windows.h first
// clang-format on

// One open winmm mixer device, closed when this goes. A device is addressed
// by its handle, never by its index: the index could name another device by now.
class MixerHandle {
 public:
  MixerHandle() = default;
  ~MixerHandle() { close(); }
  MixerHandle(const MixerHandle&) = delete;
  MixerHandle& operator=(const MixerHandle&) = delete;

  // No callback: a device listed for the menu.
  bool open(UINT device);
  // notify (which may be null) is told of the device's changes.
  bool openNotifying(UINT device, HWND notify);
  // Gives the handle up whatever the result: a handle the driver refused to
  // close is not closed a second time.
  bool close();
  // Takes over other's handle, closing its own first.
  void takeOver(MixerHandle& other);

  explicit operator bool() const { return handle_ != nullptr; }
  HMIXEROBJ object() const { return reinterpret_cast<HMIXEROBJ>(handle_); }

 private:
  bool opened(MMRESULT result, HMIXER handle);
  HMIXER handle_ = nullptr;
};

constexpr DWORD kGetValue = MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE;
constexpr DWORD kSetValue = MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE;
