#include "mixer/pending_posts.h"

#include <new>

#include "mixer/volume_messages.h"

namespace {

constexpr double kBurst = 20.0;       // re-reads of a kind that may follow each other at once
constexpr double kPerSecond = 100.0;  // and how many a second after that
constexpr UINT_PTR kFirstTimer = 0x4B0;

}  // namespace

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

bool PendingPosts::allowed(int kind) {
  const ULONGLONG now = GetTickCount64();
  if (refilled_[kind] == 0) budget_[kind] = kBurst;
  budget_[kind] += static_cast<double>(now - refilled_[kind]) * kPerSecond / 1000.0;
  if (budget_[kind] > kBurst) budget_[kind] = kBurst;
  refilled_[kind] = now;
  if (budget_[kind] >= 1.0) {
    budget_[kind] -= 1.0;
    return true;
  }
  const auto wait = static_cast<UINT>((1.0 - budget_[kind]) * 1000.0 / kPerSecond) + 1;
  SetTimer(window_, kFirstTimer + static_cast<UINT_PTR>(kind), wait, nullptr);
  return false;
}

bool PendingPosts::takeNow(UINT message) {
  LONG* pending = mark(message);
  if (pending == nullptr) return true;
  if (!allowed(static_cast<int>(pending - pending_))) return false;
  InterlockedExchange(pending, 0);
  return true;
}

bool noticeOfTimer(UINT_PTR timer, UINT& message) {
  if (timer < kFirstTimer || timer >= kFirstTimer + kMsgLastNotice - kMsgFirstNotice + 1)
    return false;
  message = kMsgFirstNotice + static_cast<UINT>(timer - kFirstTimer);
  return true;
}
