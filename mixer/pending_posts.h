#pragma once
#include <windows.h>

// The messages the system's callbacks post to one slider's window, at most
// one of each kind waiting at a time: a callback posts only when none of its
// kind is pending, and the window thread takes the mark before it re-reads.
// A burst of a thousand events then costs one re-read, never a queue of a
// thousand (a program that opens and closes streams quickly would otherwise
// keep the shell's thread busy with re-reads that each make the last one
// obsolete). Shared by the binding and its callbacks, on whichever threads
// they live: the last reference frees it.
class PendingPosts {
 public:
  static PendingPosts* make(HWND window);  // one reference; null when out of memory

  ULONG AddRef();
  ULONG Release();
  HWND window() const { return window_; }

  // Any thread; never waits for the window thread.
  void post(UINT message);
  // The window thread, as the message arrives, before it re-reads: later
  // events post anew. False when none of its kind was pending.
  bool take(UINT message);

 private:
  explicit PendingPosts(HWND window) : window_(window) {}
  LONG* mark(UINT message);

  static constexpr int kKinds = 8;
  LONG references_ = 1;
  const HWND window_;
  LONG pending_[kKinds] = {};
};
