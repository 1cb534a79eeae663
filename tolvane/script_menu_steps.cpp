// Script steps on the menu kept for the script while a plug-in's menu is shown.
#include <cstdio>

#include "tolvane/host_state.h"
#include "tolvane/main_window.h"
#include "tolvane/script_steps.h"
#include "tolvane/text_file.h"

namespace script {
namespace {

bool withShownMenu(std::string* error, const std::function<bool(const HostMenuRecord&)>& use) {
  bool shown = false, ok = false;
  ui([&] {
    HostMenuRecord* menu = hostState().lastShownMenu;
    if ((shown = menu != nullptr)) ok = use(*menu);
    return true;
  });
  return shown || fail(error, "no menu is open");
}

bool writeOut(const std::string& path, const std::string& text, std::string* error) {
  if (path == "-") return std::fputs(text.c_str(), stdout), true;
  return saveTextFileAtomically(path, text) || fail(error, "cannot write " + path);
}

bool stepMenuDump(const Args& a, std::string* error) {
  std::string text;
  if (!withShownMenu(error, [&](const HostMenuRecord& m) { return text = dumpMenu(m), true; }))
    return false;
  return writeOut(a[1], text, error);
}

bool stepChoose(const Args& a, std::string* error) {
  const Args path(a.begin() + 1, a.end());
  std::string command;
  bool found = false, isCommand = false;
  if (!withShownMenu(error, [&](const HostMenuRecord& m) {
        const HostMenuItem* item = findMenuItem(m, path);
        found = item != nullptr;
        isCommand = found && item->kind == HostMenuItem::Command;
        if (isCommand) command = item->command;
        return true;
      }))
    return false;
  if (!found) return fail(error, "no such menu item");
  if (!isCommand) return fail(error, "the item is not a command");
  // Choosing closes the menu, as a click would; then the command goes out.
  closeShownMenu();
  std::printf("  chose \"%s\"\n", command.c_str());
  post([command] { deliverMenuCommand(command); });
  settle();
  return true;
}

bool stepExpectChecked(const Args& a, std::string* error) {
  bool want;
  if (!yesNo(a[1], &want, error)) return false;
  const Args path(a.begin() + 2, a.end());
  int state = -1;
  if (!withShownMenu(error, [&](const HostMenuRecord& m) {
        const HostMenuItem* item = findMenuItem(m, path);
        if (item) state = item->checked ? 1 : 0;
        return true;
      }))
    return false;
  if (state < 0) return fail(error, "no such menu item");
  return (state == 1) == want || fail(error, state ? "checked" : "not checked");
}

const Step kSteps[] = {
    {"menu-dump", 1, stepMenuDump},
    {"choose", 1, stepChoose},
    {"expect-checked", 2, stepExpectChecked},
};

}  // namespace

void closeShownMenu() {
  ui([] {
    HostState& host = hostState();
    host.shownMenus.destroy(host.lastShownMenu);
    host.lastShownMenu = nullptr;
    return true;
  });
}

StepTable menuSteps() { return tableOf(kSteps); }

}  // namespace script
