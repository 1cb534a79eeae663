#include "mixer/mixer_handle.h"

bool MixerHandle::opened(MMRESULT result, HMIXER handle) {
  if (result != MMSYSERR_NOERROR || handle == nullptr) return false;
  close();
  handle_ = handle;
  return true;
}

bool MixerHandle::open(UINT device) {
  HMIXER handle = nullptr;
  const MMRESULT result = mixerOpen(&handle, device, 0, 0, 0);
  return opened(result, handle);
}

bool MixerHandle::openNotifying(UINT device, HWND notify) {
  HMIXER handle = nullptr;
  const auto callback = reinterpret_cast<DWORD_PTR>(notify);
  const MMRESULT result = mixerOpen(&handle, device, callback, 0, CALLBACK_WINDOW);
  return opened(result, handle);
}

bool MixerHandle::close() {
  if (handle_ == nullptr) return true;
  HMIXER handle = handle_;
  handle_ = nullptr;
  return mixerClose(handle) == MMSYSERR_NOERROR;
}

void MixerHandle::takeOver(MixerHandle& other) {
  if (&other == this) return;
  close();
  handle_ = other.handle_;
  other.handle_ = nullptr;
}
