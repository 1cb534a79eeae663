// The host's script language: one step per line, run on a thread of its own
// and reported on stdout.
#include "tolvane/script_runner.h"

#include <atomic>
#include <cstdio>

#include "tolvane/host_state.h"
#include "tolvane/main_window.h"
#include "tolvane/script_line.h"
#include "tolvane/script_steps.h"
#include "tolvane/text_file.h"

using script::Args;

namespace {

struct Script {
  std::string text;
  HWND mainWindow = nullptr;
  HANDLE thread = nullptr;
  HANDLE stopEvent = nullptr;         // set when the host has quit
  std::atomic<bool> stopping{false};  // the same, for a look without waiting
  int exitCode = 1;                   // until the script reaches its end
};
Script g_script;

std::string joined(const Args& a) {
  std::string out;
  for (const std::string& w : a) {
    if (!out.empty()) out += ' ';
    out += w.find(' ') == std::string::npos && !w.empty() ? w : "\"" + w + "\"";
  }
  return out;
}

// Runs one line; false when it failed and was not optional.
bool runLine(int number, const ScriptLine& line, bool* quit) {
  const Args& a = line.words;
  std::printf("line %d: %s%s\n", number, line.optional ? "optional " : "", joined(a).c_str());
  std::string error;
  bool ok = false;
  if (a[0] == "quit") {
    *quit = true;
    ok = true;
  } else {
    const script::Step* step = script::findStep(a[0]);
    if (!step)
      error = "unknown step";
    else if (a.size() - 1 < step->minArgs)
      error = "needs " + std::to_string(step->minArgs) + " arguments";
    else
      ok = step->run(a, &error);
  }
  if (ok) {
    std::printf("  ok\n");
    return true;
  }
  if (g_script.stopping) error = "the host quit during this step";
  std::printf("  %s: %s\n", line.optional ? "failed (optional, going on)" : "FAILED",
              error.c_str());
  return line.optional;
}

// Runs the lines in order; false at the first failing one, or when the host
// quits before the last line has started.
bool runLines(const std::string& text, bool* quit) {
  int number = 0;
  for (size_t at = 0; !*quit && at < text.size();) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) end = text.size();
    const std::string raw = text.substr(at, end - at);
    at = end + 1;
    ++number;
    ScriptLine line;
    std::string error;
    if (!splitScriptLine(raw, &line, &error)) {
      std::printf("line %d: FAILED: %s\n", number, error.c_str());
      return false;
    }
    if (line.words.empty()) continue;
    if (g_script.stopping) {
      std::printf("script: stopped at line %d, before its end: the host quit\n", number);
      return false;
    }
    if (!runLine(number, line, quit)) return false;
  }
  return true;
}

DWORD WINAPI scriptThread(void*) {
  bool quit = false;
  const bool ok = runLines(g_script.text, &quit);
  g_script.exitCode = ok ? 0 : 1;
  std::printf("script: %s\n", ok ? "passed" : "failed");
  std::fflush(stdout);
  // Posted, not sent: a sent message reaches the user-interface thread even while
  // it waits inside a plug-in's mixer call.
  const bool stop = !ok || quit;
  script::post([stop] {
    hostState().scriptMode = false;
    if (stop) requestQuit();
  });
  return 0;
}

}  // namespace

namespace script {

HWND mainWindow() { return g_script.mainWindow; }

bool pause(DWORD ms) { return WaitForSingleObject(g_script.stopEvent, ms) == WAIT_TIMEOUT; }

bool ui(const std::function<bool()>& task) {
  return !g_script.stopping && runOnUiThread(mainWindow(), task);
}

void settle() {
  for (int i = 0; i < 200; ++i) {
    if (!pause(10)) return;
    bool idle = false;
    ui([&] {
      idle = (GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_PAINT | QS_TIMER) & 0xFFFF0000u) == 0 &&
             (GetQueueStatus(QS_INPUT | QS_POSTMESSAGE) & 0xFFFF) == 0;
      return true;
    });
    if (idle) return;
  }
}

bool post(const std::function<void()>& task) { return postToUiThread(g_script.mainWindow, task); }

}  // namespace script

bool startScript(const std::string& path, HWND mainWindow) {
  g_script.mainWindow = mainWindow;
  if (!loadTextFile(path, &g_script.text)) {
    std::printf("script: cannot read %s\nscript: failed\n", path.c_str());
    return false;
  }
  hostState().scriptMode = true;
  hostState().verbose = true;
  g_script.stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (g_script.stopEvent)
    g_script.thread = CreateThread(nullptr, 0, scriptThread, nullptr, 0, nullptr);
  if (!g_script.thread) {
    std::printf("script: cannot start (error %lu)\nscript: failed\n", GetLastError());
    hostState().scriptMode = false;
    return false;
  }
  return true;
}

void stopScript() {
  if (!g_script.thread) return;
  g_script.stopping = true;
  SetEvent(g_script.stopEvent);
  stopTasks(g_script.mainWindow);
  // The script's thread may be waiting for an answer from this one: keep
  // answering (stopTasks turns the work away) until the thread has ended.
  // Every wait of a step is short or ends at the stop event, so this is quick;
  // a thread stuck anyway must not outlive the state it reads.
  const DWORD deadline = GetTickCount() + 10000;
  while (MsgWaitForMultipleObjects(1, &g_script.thread, FALSE, 100, QS_SENDMESSAGE) !=
         WAIT_OBJECT_0) {
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    if (static_cast<LONG>(GetTickCount() - deadline) > 0) {
      std::fprintf(stderr, "tolvane: the script's thread does not stop; exiting at once\n");
      ExitProcess(1);
    }
  }
  CloseHandle(g_script.thread);
  CloseHandle(g_script.stopEvent);
  g_script.thread = g_script.stopEvent = nullptr;
}

int scriptExitCode() { return g_script.exitCode; }
