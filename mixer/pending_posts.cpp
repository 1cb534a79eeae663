#include "mixer/pending_posts.h"

#include <new>

#include "mixer/volume_messages.h"

PendingPosts* PendingPosts::make(HWND window) {
  void* memory = HeapAlloc(GetProcessHeap(), 0, sizeof(PendingPosts));
  return memory != nullptr ? new (memory) PendingPosts(window) : nullptr;
}

ULONG PendingPosts::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG PendingPosts::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) {
    this->~PendingPosts();
    HeapFree(GetProcessHeap(), 0, this);
  }
  return static_cast<ULONG>(left);
}

LONG* PendingPosts::mark(UINT message) {
  const UINT kind = message - kMsgFirstNotice;
  return kind < static_cast<UINT>(kKinds) ? &pending_[kind] : nullptr;
}

void PendingPosts::post(UINT message) {
  LONG* pending = mark(message);
  if (pending == nullptr || InterlockedExchange(pending, 1) != 0) return;
  // A window that is gone, or a queue that is full, takes nothing: the mark
  // goes again, or no later event could ever be told.
  if (!PostMessageA(window_, message, 0, 0)) InterlockedExchange(pending, 0);
}

bool PendingPosts::take(UINT message) {
  LONG* pending = mark(message);
  return pending != nullptr && InterlockedExchange(pending, 0) != 0;
}
