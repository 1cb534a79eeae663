#pragma once
// The host's menus as plain records: built by the plug-in through the host's
// menu functions, shown as popup menus, and walked by scripts.
#include <set>
#include <string>
#include <vector>

struct HostMenuRecord;

struct HostMenuItem {
  enum Kind { Command, Inert, Submenu } kind;
  std::string label;
  std::string command;  // Command items only
  bool checked = false;
  HostMenuRecord* child = nullptr;  // Submenu items only; owned by this item's menu
};

struct HostMenuRecord {
  std::string title;
  std::vector<HostMenuItem> items;
  HostMenuRecord* parent = nullptr;
};

// Owns every menu record handed out and refuses handles it does not know, so a
// stale or foreign handle from a plug-in is ignored instead of followed.
class MenuStore {
 public:
  MenuStore() = default;
  MenuStore(const MenuStore&) = delete;
  MenuStore& operator=(const MenuStore&) = delete;
  ~MenuStore();

  HostMenuRecord* create(const std::string& title);
  // Refused for unknown handles, a child that already has a parent, and a
  // child that is the parent or one of its ancestors (that would be a loop).
  bool attach(HostMenuRecord* parent, HostMenuRecord* child, const std::string& title);
  bool addItem(HostMenuRecord* menu, const std::string& label, const std::string& command,
               bool checked);
  bool addInert(HostMenuRecord* menu, const std::string& label);
  // Frees the menu with all its submenus and takes it out of its parent.
  bool destroy(HostMenuRecord* menu);
  bool isLive(const HostMenuRecord* menu) const;
  size_t liveCount() const { return live_.size(); }
  // A deep copy of the menu's tree, owned by this store.
  HostMenuRecord* copyOf(const HostMenuRecord& menu);

 private:
  void forget(HostMenuRecord* menu);
  std::set<const HostMenuRecord*> live_;
};

// The tree as indented text, one line per menu and item:
//   menu "KvSlider"
//     submenu "Options"
//       item [x] "Always on top" -> "@KvSliderConfigure-ontoptoggle-slider1"
//       text "No audio devices present."
std::string dumpMenu(const HostMenuRecord& menu);

// The item reached by following labels from the menu down its submenus. A label
// may hold '*' (any run of characters) and '?' (any one character); of the
// matching items at each level the first whose submenu leads on to the whole
// path is taken. Null when the path leads nowhere.
const HostMenuItem* findMenuItem(const HostMenuRecord& menu, const std::vector<std::string>& path);

// '*' and '?' wildcard match, letter case significant.
bool labelMatches(const std::string& pattern, const std::string& label);
