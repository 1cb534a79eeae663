#pragma once
// Recording stand-in for Tolvane.exe's exports in plug-in unit tests.
// Reads answer from a table (per file and key), else with the caller's default;
// every call is recorded, in order, as one line of text.
#include <windows.h>

#include <string>
#include <vector>

#include "host/host_api.h"

namespace hostdouble {

void reset();

// The record of calls, e.g. "ReadInt(C:\\p\\KvSlider.rc, kvslider.slider1.x:, 10)".
const std::vector<std::string>& calls();
std::vector<std::string> callsNamed(const char* name);  // only lines starting "name("
void clearCalls();

// Table answers. Keys are matched exactly as the plug-in passes them.
void setValue(const std::string& file, const std::string& key, const std::string& text);
bool hasValue(const std::string& file, const std::string& key);
std::string value(const std::string& file, const std::string& key);

void setTolvanePath(const std::string& path);
void setStylePath(const std::string& path);
void setFileExists(const std::string& path, bool exists);

// A real window standing in for the host's main window, returned by GetKvWnd.
// It records HostMsgRegister, HostMsgUnregister and HostMsgStatusText in calls().
HWND createHostWindow();
void setKvWnd(HWND window);

// Makes SnapWindowToEdge behave like a host whose work area starts at 0,0: a
// pending position closer than the distance to the left or top edge moves onto it.
// Off by default (the call is only recorded).
void setSnapToOrigin(bool on);

// The menu built through MakeMenu & co, rendered as indented text:
// "KvSlider", "  Control", "    [x] - Nothing -> @Kv...", "    -- No audio devices present."
std::string menuTree(HostMenu root);
HostMenu lastShownMenu();
// The next ShowMenu delivers the command of the top-level item with this
// label before it returns, as a user's click in the shell's menu does.
void chooseWhenShown(const std::string& label);
int liveMenus();  // menus made and not yet deleted with their root

// What the last MakeGradient painted into: the DC, its object type then
// (OBJ_MEMDC for an off-screen DC) and the bitmap selected into it then.
struct GradientTarget {
  HDC dc = nullptr;
  DWORD dcType = 0;
  HGDIOBJ bitmap = nullptr;
};
GradientTarget lastGradientTarget();

// How ParseItem fills a Texture: word 0 = length of the text, word 1 = 1,
// word 2 = first character, byte 13 = 0xA5 when the text contains "Interlaced".
Texture textureFor(const char* text);

}  // namespace hostdouble
