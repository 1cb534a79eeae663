#pragma once
// Captures real MessageBoxA calls on this thread: a hook reads each box once it
// has initialised (text, caption, owner, flags seen on the window) and closes it.
#include <windows.h>

#include <string>
#include <vector>

struct CapturedBox {
  std::string text;
  std::string caption;
  HWND owner;
  bool topmost;
  bool errorIcon;
};

class MessageBoxCapture {
 public:
  MessageBoxCapture();
  ~MessageBoxCapture();
  MessageBoxCapture(const MessageBoxCapture&) = delete;
  MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

  const std::vector<CapturedBox>& boxes() const;

 private:
  HHOOK hook_;
};
