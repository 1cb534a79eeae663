#pragma once
// The host's run-time state: one instance, used on the user-interface thread.
#include <windows.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tolvane/menu_tree.h"

struct HostState {
  HWND mainWindow = nullptr;
  std::string exeDir;                            // with a trailing backslash
  std::string rcPath;                            // Tolvane.rc
  std::string stylePath;                         // current style file, full path
  std::map<UINT, std::vector<HWND>> registered;  // message number -> windows
  std::set<HWND> sticky;
  std::string statusText;
  MenuStore menus;                          // menus the plug-ins build
  MenuStore shownMenus;                     // copies of menus shown while a script runs
  HostMenuRecord* lastShownMenu = nullptr;  // in shownMenus
  bool scriptMode = false;                  // menus are recorded for the script, not tracked
  bool verbose = false;                     // status texts and menu events on stdout
  bool quitRequested = false;               // the message loop ends at its next turn
};

HostState& hostState();

// Sends `message` with the text to every window registered for it; returns how
// many windows received it. Each receives its own copy of the text.
int sendToRegistered(UINT message, const char* text);
// HostMsgReload to every window registered for it.
int sendReload();
// Sets the style file (relative names resolve against the exe's folder) and,
// when `reload`, tells the registered windows.
void setStyle(const std::string& path, bool reload);
// The path resolved against the exe's folder unless it is absolute.
std::string resolvePath(const std::string& path);
