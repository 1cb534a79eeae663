#include <windows.h>

#include "mixer/mta_worker.h"

#include <objbase.h>

namespace {

// Plain values: nothing here runs from a static destructor.
struct Worker {
  HANDLE thread;
  HANDLE wake;  // a task (or the end) is waiting
  HANDLE done;  // the task has run
  void (*task)(void*);
  void* argument;
  bool ending;
  int users;
};
Worker worker;

DWORD WINAPI workerMain(void*) {
  const HRESULT entered = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  for (;;) {
    WaitForSingleObject(worker.wake, INFINITE);
    if (worker.ending) break;
    worker.task(worker.argument);
    SetEvent(worker.done);
  }
  if (SUCCEEDED(entered)) CoUninitialize();
  return 0;
}

void closeAll() {
  if (worker.thread != nullptr) CloseHandle(worker.thread);
  if (worker.wake != nullptr) CloseHandle(worker.wake);
  if (worker.done != nullptr) CloseHandle(worker.done);
  worker = Worker{};
}

}  // namespace

bool enterMtaWorker() {
  if (worker.users > 0) return ++worker.users, true;
  worker.wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  worker.done = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (worker.wake != nullptr && worker.done != nullptr)
    worker.thread = CreateThread(nullptr, 0, workerMain, nullptr, 0, nullptr);
  if (worker.thread == nullptr) {
    closeAll();
    return false;
  }
  worker.users = 1;
  return true;
}

void leaveMtaWorker() {
  if (worker.users == 0 || --worker.users > 0) return;
  worker.ending = true;
  SetEvent(worker.wake);
  WaitForSingleObject(worker.thread, INFINITE);
  closeAll();
}

bool runOnMtaWorker(void (*task)(void*), void* argument) {
  if (worker.users == 0) return false;
  worker.task = task;
  worker.argument = argument;
  SetEvent(worker.wake);
  WaitForSingleObject(worker.done, INFINITE);
  return true;
}
