#pragma once
#include <windows.h>

// The messages the system's callbacks post to one slider's window, at most
// one of each kind waiting at a time: a callback posts only when none of its
// kind is pending, and the window thread takes the mark before it re-reads.
// A burst of a thousand events then costs one re-read, never a queue of a
// thousand (a program that opens and closes streams quickly would otherwise
// keep the shell's thread busy with re-reads that each make the last one
// obsolete). However fast the events come, a kind is re-read at most about a
// hundred times a second, after a first burst of twenty: the mark then stays
// until a timer of the window's, so nothing more is posted meanwhile. Shared
// by the binding and its callbacks, on whichever threads they live: the
// last reference frees it.
class PendingPosts {
 public:
  static PendingPosts* make(HWND window);  // one reference; null when out of memory

  ULONG AddRef();
  ULONG Release();
  HWND window() const { return window_; }

  // Any thread; never waits for the window thread.
  void post(UINT message);
  // The window thread, as the message (or its timer) arrives: true when it
  // is to re-read now, the mark taken first so that later events post anew;
  // false when it has re-read this kind too often of late, and the window's
  // timer will bring the message back.
  bool takeNow(UINT message);

 private:
  explicit PendingPosts(HWND window) : window_(window) {}
  LONG* mark(UINT message);
  bool allowed(int kind);

  static constexpr int kKinds = 8;
  LONG references_ = 1;
  const HWND window_;
  LONG pending_[kKinds] = {};
  // The window thread's alone: how many re-reads each kind may have at once.
  double budget_[kKinds] = {};
  ULONGLONG refilled_[kKinds] = {};
};

// The window's timer that brings a deferred notification back: its message.
bool noticeOfTimer(UINT_PTR timer, UINT& message);
