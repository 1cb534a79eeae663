// Script steps about the run and the host itself: pauses, text, broadcasts,
// the status text, registrations and sticky marks.
#include <algorithm>
#include <cstdio>

#include "host/host_messages.h"
#include "tolvane/host_state.h"
#include "tolvane/menu_tree.h"
#include "tolvane/script_steps.h"

namespace script {
namespace {

bool stepWait(const Args& a, std::string* error) {
  int ms;
  if (!number(a[1], &ms, error) || ms < 0) return fail(error, "bad time");
  pause(static_cast<DWORD>(ms));
  settle();
  return true;
}

bool stepEcho(const Args& a, std::string*) {
  for (size_t i = 1; i < a.size(); ++i) std::printf("%s%s", i > 1 ? " " : "", a[i].c_str());
  std::printf("\n");
  return true;
}

// Commands are delivered without waiting for the receivers: one may answer
// with a message box, which a later step reads and dismisses.
bool stepBroadcast(const Args& a, std::string* error) {
  size_t registered = 0;
  ui([&] { return (registered = hostState().registered[HostMsgCommand].size()), true; });
  if (registered == 0) return fail(error, "no window is registered for commands");
  const std::string text = a[1];
  post([text] { sendToRegistered(HostMsgCommand, text.c_str()); });
  settle();
  return true;
}

bool stepExpectStatus(const Args& a, std::string* error) {
  std::string status;
  ui([&] { return status = hostState().statusText, true; });
  return labelMatches(a[1], status) || fail(error, "status is \"" + status + "\"");
}

// expect-registered CLASS MESSAGE yes|no
bool stepExpectRegistered(const Args& a, std::string* error) {
  HWND window;
  int message;
  bool want;
  if (!windowArg(a[1], &window, error) || !number(a[2], &message, error) ||
      !yesNo(a[3], &want, error))
    return false;
  bool registered = false;
  ui([&] {
    const auto& list = hostState().registered[static_cast<UINT>(message)];
    registered = std::find(list.begin(), list.end(), window) != list.end();
    return true;
  });
  return registered == want || fail(error, registered ? "registered" : "not registered");
}

bool stepExpectSticky(const Args& a, std::string* error) {
  HWND window;
  bool want;
  if (!windowArg(a[1], &window, error) || !yesNo(a[2], &want, error)) return false;
  bool sticky = false;
  ui([&] { return sticky = hostState().sticky.count(window) != 0, true; });
  return sticky == want || fail(error, sticky ? "sticky" : "not sticky");
}

const Step kSteps[] = {
    {"wait", 1, stepWait},
    {"echo", 0, stepEcho},
    {"broadcast", 1, stepBroadcast},
    {"expect-status", 1, stepExpectStatus},
    {"expect-registered", 3, stepExpectRegistered},
    {"expect-sticky", 2, stepExpectSticky},
};

}  // namespace

StepTable hostSteps() { return tableOf(kSteps); }

}  // namespace script
