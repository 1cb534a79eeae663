#pragma once
// A thread of the plug-in's own in the multithreaded apartment. The system
// tells of new audio sessions only a client that registered from the MTA,
// while the shell's user-interface thread is apartment-threaded, and its
// apartment is never changed: registrations go through this thread instead.
// One worker serves every binding that needs it; its thread ends when the
// last of them lets go. No wait for it is unbounded: a worker that the
// system keeps busy past its patience is reported once, in a box of its own
// thread, and from then on nothing waits for it, so the shell never freezes.
#include <windows.h>

#include <audiopolicy.h>

class MtaWorker {
 public:
  // The worker, with one more user; null when no thread can be had.
  static MtaWorker* join();
  static MtaWorker* current();  // the worker now, if any, without a reference
  ULONG AddRef();
  ULONG Release();  // the last user ends the thread

  // From the worker's apartment: callback registered with manager, or
  // unregistered. False when that failed, or the worker did not answer.
  bool registerSessions(IAudioSessionManager2* manager, IAudioSessionNotification* callback,
                        bool registering);

 private:
  MtaWorker() = default;
  bool start();
  void stop();

  LONG users_ = 1;
  HANDLE thread_ = nullptr;
  HANDLE wake_ = nullptr;  // a job, or the end, is waiting
  struct Job* job_ = nullptr;
  bool ending_ = false;
  bool hung_ = false;

  static DWORD WINAPI main(void* self);
};

// How long a call waits before the worker counts as hung (milliseconds).
// Tests shorten it; 0 restores the default.
void setMtaWorkerPatience(DWORD ms);
