// Tolvane.exe: a small desktop shell host that loads plug-ins.
//   Tolvane.exe [--rc FILE] [--script FILE] [--verbose]
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tolvane/host_state.h"
#include "tolvane/main_window.h"
#include "tolvane/plugins.h"
#include "tolvane/rc_text.h"
#include "tolvane/script_runner.h"
#include "tolvane/script_steps.h"
#include "tolvane/text_file.h"

namespace {

std::string exeDirectory() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n < MAX_PATH ? n : 0);
  const size_t slash = dir.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".\\") : dir.substr(0, slash + 1);
}

int usage() {
  std::fprintf(stderr, "usage: Tolvane.exe [--rc FILE] [--script FILE] [--verbose]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  HostState& host = hostState();
  host.exeDir = exeDirectory();
  host.rcPath = host.exeDir + "Tolvane.rc";
  std::string script;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--script") && i + 1 < argc)
      script = argv[++i];
    else if (!std::strcmp(argv[i], "--rc") && i + 1 < argc)
      host.rcPath = argv[++i];
    else if (!std::strcmp(argv[i], "--verbose"))
      host.verbose = true;
    else
      return usage();
  }

  if (!script.empty()) host.verbose = true;  // every event of a scripted run is reported
  std::string rc;
  if (!loadTextFile(host.rcPath, &rc))
    std::fprintf(stderr, "tolvane: no settings file %s; starting without plug-ins\n",
                 host.rcPath.c_str());
  std::string style;
  if (rcFind(rc, "tolvane.style:", &style)) setStyle(style, false);

  HINSTANCE instance = GetModuleHandleA(nullptr);
  host.mainWindow = createMainWindow(instance);
  if (!host.mainWindow) {
    std::fprintf(stderr, "tolvane: cannot create the main window\n");
    return 1;
  }
  loadPlugins(rcFindAll(rc, "tolvane.plugin:"));
  if (!script.empty() && !startScript(script, host.mainWindow)) requestQuit();

  runMessageLoop();
  // Only now is no plug-in code on the stack. The script's thread goes first,
  // so nothing else reaches the host's state while the plug-ins stop; they
  // stop while the host's window is still there for their last messages.
  stopScript();
  unloadPlugins();
  script::callHeldObjectsOnce();
  DestroyWindow(host.mainWindow);
  return script.empty() ? 0 : scriptExitCode();
}
