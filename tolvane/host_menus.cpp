// The host's menus: records built by plug-ins, shown as real popup menus.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/host_api.h"
#include "host/host_messages.h"
#include "tolvane/host_state.h"
#include "tolvane/main_window.h"

namespace {

std::string text(const char* s) { return s ? s : ""; }

// Win32 popup menus made from a record; commands are numbered from 1 in the
// order they are added, so the chosen number indexes `commands`.
struct PopupBuilder {
  std::vector<std::string> commands;

  HMENU build(const HostMenuRecord& record, bool withTitle) {
    HMENU popup = CreatePopupMenu();
    if (!popup) return nullptr;
    if (withTitle && !record.title.empty()) {
      AppendMenuA(popup, MF_STRING | MF_DISABLED, 0, record.title.c_str());
      SetMenuDefaultItem(popup, 0, TRUE);  // shown in bold
      AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    }
    for (const HostMenuItem& item : record.items) add(popup, item);
    return popup;
  }

  void add(HMENU popup, const HostMenuItem& item) {
    switch (item.kind) {
      case HostMenuItem::Submenu: {
        HMENU child = item.child ? build(*item.child, false) : CreatePopupMenu();
        if (child)
          AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(child), item.label.c_str());
        break;
      }
      case HostMenuItem::Command:
        commands.push_back(item.command);
        AppendMenuA(popup, MF_STRING | (item.checked ? MF_CHECKED : 0u), commands.size(),
                    item.label.c_str());
        break;
      case HostMenuItem::Inert:
        if (item.label.empty())
          AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        else
          AppendMenuA(popup, MF_STRING | MF_DISABLED, 0, item.label.c_str());
        break;
    }
  }
};

// The popup and its command texts are built before tracking starts, so the
// plug-in may rebuild or delete its menu while it handles the command.
void trackPopup(const HostMenuRecord& record) {
  PopupBuilder builder;
  HMENU popup = builder.build(record, true);
  if (!popup) return;
  POINT at;
  GetCursorPos(&at);
  HWND owner = hostState().mainWindow;
  // The popup closes properly when clicked away only if its owner is in front.
  SetForegroundWindow(owner);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(
      popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
  PostMessageA(owner, WM_NULL, 0, 0);
  DestroyMenu(popup);  // submenus go with it
  if (chosen >= 1 && chosen <= builder.commands.size())
    deliverMenuCommand(builder.commands[chosen - 1]);
}

}  // namespace

extern "C" {

HostMenu MakeMenu(const char* title) { return hostState().menus.create(text(title)); }

void MakeSubmenu(HostMenu parent, HostMenu child, const char* title) {
  hostState().menus.attach(parent, child, text(title));
}

void MakeMenuItem(HostMenu menu, const char* label, const char* command, bool checked) {
  hostState().menus.addItem(menu, text(label), text(command), checked);
}

void MakeMenuNOP(HostMenu menu, const char* label) {
  hostState().menus.addInert(menu, text(label));
}

// A script cannot click a modal popup menu, so while a script runs the menu is
// copied as shown and the script's "choose" step delivers an item's command
// exactly as TrackPopupMenu's choice would. A person gets the real popup.
void ShowMenu(HostMenu menu) {
  HostState& host = hostState();
  if (!host.menus.isLive(menu)) return;
  if (host.scriptMode) {
    if (host.lastShownMenu) host.shownMenus.destroy(host.lastShownMenu);
    host.lastShownMenu = host.shownMenus.copyOf(*menu);
    if (host.verbose) std::printf("host: menu \"%s\" shown\n", menu->title.c_str());
    return;
  }
  trackPopup(*menu);
}

void DelMenu(HostMenu menu) { hostState().menus.destroy(menu); }

}  // extern "C"
