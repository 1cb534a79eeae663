#include "mixer/mta_worker.h"

#include <objbase.h>

#include <new>

#include "host/module_values.h"
#include "mixer/com_ref.h"

namespace {

constexpr DWORD kDefaultPatience = 3000;
DWORD patience = kDefaultPatience;
MtaWorker* shared;  // the worker now, if any
LONG reported;      // a hung worker has been told of

DWORD WINAPI showHungBox(void*) {
  MessageBoxA(nullptr,
              "The audio system did not answer in time. A program's volume may not follow its "
              "new sessions until the shell is started again.",
              kPluginTitle, MB_OK | MB_TOPMOST | MB_ICONWARNING | MB_SETFOREGROUND);
  return 0;
}

// Told once, from a thread of its own: a box on the shell's thread would
// run its message loop in the middle of whatever was waiting.
void reportHung() {
  keepModuleLoaded();  // the stuck thread's code must outlive the unloading
  if (InterlockedExchange(&reported, 1) != 0) return;
  HANDLE box = CreateThread(nullptr, 0, showHungBox, nullptr, 0, nullptr);
  if (box != nullptr) CloseHandle(box);
}

template <typename T>
T* fromHeap() {
  void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(T));
  return memory != nullptr ? new (memory) T() : nullptr;
}

template <typename T>
void toHeap(T* p) {
  p->~T();
  HeapFree(GetProcessHeap(), 0, p);
}

}  // namespace

// What the worker works on lives on the heap, held by the caller and by the
// worker: a caller that stopped waiting leaves it to the worker, whose late
// answer then lands in memory that is still there.
struct Job {
  enum : LONG { kWaiting, kDone, kAbandoned };
  LONG references = 2;
  LONG state = kWaiting;  // who got there first: the answer, or the caller giving up
  HANDLE finished = nullptr;
  ComRef<IAudioSessionManager2> manager;
  ComRef<IAudioSessionNotification> callback;
  bool registering = false;
  bool succeeded = false;

  void release() {
    if (InterlockedDecrement(&references) != 0) return;
    if (finished != nullptr) CloseHandle(finished);
    toHeap(this);
  }
  void run() {
    // The system starts telling only once the sessions have been counted.
    if (!registering) {
      succeeded = SUCCEEDED(manager->UnregisterSessionNotification(callback.get()));
      return;
    }
    succeeded = SUCCEEDED(manager->RegisterSessionNotification(callback.get()));
    ComRef<IAudioSessionEnumerator> sessions;
    int count = 0;
    if (succeeded && SUCCEEDED(manager->GetSessionEnumerator(sessions.out())) && sessions)
      sessions->GetCount(&count);
  }
};

void setMtaWorkerPatience(DWORD ms) { patience = ms != 0 ? ms : kDefaultPatience; }

DWORD WINAPI MtaWorker::main(void* self) {
  auto* w = static_cast<MtaWorker*>(self);
  const HRESULT entered = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  for (;;) {
    WaitForSingleObject(w->wake_, INFINITE);
    if (w->ending_) break;
    Job* job = w->job_;
    w->job_ = nullptr;
    if (job == nullptr) continue;
    job->run();
    // A registration nobody waits for any more is not left behind.
    if (InterlockedCompareExchange(&job->state, Job::kDone, Job::kWaiting) == Job::kAbandoned &&
        job->registering && job->succeeded)
      job->manager->UnregisterSessionNotification(job->callback.get());
    SetEvent(job->finished);
    job->release();
  }
  if (SUCCEEDED(entered)) CoUninitialize();
  return 0;
}

MtaWorker* MtaWorker::join() {
  if (shared != nullptr) {
    shared->AddRef();
    return shared;
  }
  void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(MtaWorker));
  if (memory == nullptr) return nullptr;
  MtaWorker* w = new (memory) MtaWorker();
  if (!w->start()) {
    toHeap(w);
    return nullptr;
  }
  shared = w;
  return w;
}

bool MtaWorker::start() {
  wake_ = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (wake_ != nullptr) thread_ = CreateThread(nullptr, 0, main, this, 0, nullptr);
  if (thread_ != nullptr) return true;
  if (wake_ != nullptr) CloseHandle(wake_);
  return false;
}

MtaWorker* MtaWorker::current() { return shared; }

ULONG MtaWorker::AddRef() { return static_cast<ULONG>(++users_); }

ULONG MtaWorker::Release() {
  const LONG left = --users_;
  if (left == 0) stop();
  return static_cast<ULONG>(left);
}

// A thread that does not end in time is left running, with what it uses:
// its code stays loaded, and its memory is never freed under it.
void MtaWorker::stop() {
  if (shared == this) shared = nullptr;
  ending_ = true;
  SetEvent(wake_);
  if (WaitForSingleObject(thread_, hung_ ? 0 : patience) != WAIT_OBJECT_0) {
    reportHung();
    return;
  }
  CloseHandle(thread_);
  CloseHandle(wake_);
  toHeap(this);
}

bool MtaWorker::registerSessions(IAudioSessionManager2* manager,
                                 IAudioSessionNotification* callback, bool registering) {
  if (hung_ || manager == nullptr || callback == nullptr) return false;
  Job* job = fromHeap<Job>();
  if (job == nullptr) return false;
  job->finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (job->finished == nullptr) {
    toHeap(job);
    return false;
  }
  manager->AddRef();
  *job->manager.out() = manager;
  callback->AddRef();
  *job->callback.out() = callback;
  job->registering = registering;
  job_ = job;
  SetEvent(wake_);
  WaitForSingleObject(job->finished, patience);
  const bool answered =
      InterlockedCompareExchange(&job->state, Job::kAbandoned, Job::kWaiting) == Job::kDone;
  const bool succeeded = answered && job->succeeded;
  job->release();
  if (!answered) {
    hung_ = true;
    reportHung();
  }
  return succeeded;
}
