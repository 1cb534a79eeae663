#include <windows.h>

#include "tolvane/plugins.h"

#include <cstdio>

#include "tolvane/host_state.h"

namespace {

typedef int (*BeginPlugin)(HINSTANCE);
typedef void (*EndPlugin)(HINSTANCE);

struct Plugin {
  HMODULE module;
  std::string path;
  EndPlugin end;
};

std::vector<Plugin>& running() {
  static std::vector<Plugin> plugins;
  return plugins;
}

void report(const std::string& text) {
  std::fprintf(stderr, "tolvane: %s\n", text.c_str());
  hostState().statusText = text;
}

}  // namespace

int loadPlugins(const std::vector<std::string>& paths) {
  for (const std::string& name : paths) {
    const std::string path = resolvePath(name);
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) {
      report("cannot load " + path + " (error " + std::to_string(GetLastError()) + ")");
      continue;
    }
    auto begin = reinterpret_cast<BeginPlugin>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "beginPlugin")));
    auto end = reinterpret_cast<EndPlugin>(
        reinterpret_cast<void (*)()>(GetProcAddress(module, "endPlugin")));
    if (!begin || !end) {
      report(path + " is not a plug-in (no beginPlugin/endPlugin)");
      FreeLibrary(module);
      continue;
    }
    if (begin(module) != 0) {
      report(path + " failed to start");
      FreeLibrary(module);
      continue;
    }
    if (hostState().verbose) std::printf("host: started %s\n", path.c_str());
    running().push_back(Plugin{module, path, end});
  }
  return static_cast<int>(running().size());
}

void unloadPlugins() {
  std::vector<Plugin>& plugins = running();
  while (!plugins.empty()) {
    Plugin plugin = plugins.back();
    plugins.pop_back();
    plugin.end(plugin.module);
    FreeLibrary(plugin.module);
    if (hostState().verbose) std::printf("host: stopped %s\n", plugin.path.c_str());
  }
}
