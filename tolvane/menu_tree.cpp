#include "tolvane/menu_tree.h"

namespace {

std::string quoted(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

void dumpInto(const HostMenuRecord& menu, int depth, std::string* out) {
  const std::string indent(static_cast<size_t>(depth) * 2, ' ');
  for (const HostMenuItem& item : menu.items) {
    switch (item.kind) {
      case HostMenuItem::Submenu:
        *out += indent + "submenu " + quoted(item.label) + "\n";
        if (item.child) dumpInto(*item.child, depth + 1, out);
        break;
      case HostMenuItem::Command:
        *out += indent + "item " + (item.checked ? "[x] " : "[ ] ") + quoted(item.label) + " -> " +
                quoted(item.command) + "\n";
        break;
      case HostMenuItem::Inert: *out += indent + "text " + quoted(item.label) + "\n"; break;
    }
  }
}

}  // namespace

MenuStore::~MenuStore() {
  // Delete roots only: each takes its submenus along.
  std::vector<HostMenuRecord*> roots;
  for (const HostMenuRecord* m : live_)
    if (!m->parent) roots.push_back(const_cast<HostMenuRecord*>(m));
  for (HostMenuRecord* root : roots) destroy(root);
}

HostMenuRecord* MenuStore::create(const std::string& title) {
  HostMenuRecord* menu = new HostMenuRecord;
  menu->title = title;
  live_.insert(menu);
  return menu;
}

bool MenuStore::attach(HostMenuRecord* parent, HostMenuRecord* child, const std::string& title) {
  if (!isLive(parent) || !isLive(child) || child->parent) return false;
  for (const HostMenuRecord* m = parent; m; m = m->parent)
    if (m == child) return false;
  child->parent = parent;
  HostMenuItem item{HostMenuItem::Submenu, title, std::string(), false, child};
  parent->items.push_back(item);
  return true;
}

bool MenuStore::addItem(HostMenuRecord* menu, const std::string& label, const std::string& command,
                        bool checked) {
  if (!isLive(menu)) return false;
  menu->items.push_back(HostMenuItem{HostMenuItem::Command, label, command, checked, nullptr});
  return true;
}

bool MenuStore::addInert(HostMenuRecord* menu, const std::string& label) {
  if (!isLive(menu)) return false;
  menu->items.push_back(HostMenuItem{HostMenuItem::Inert, label, std::string(), false, nullptr});
  return true;
}

bool MenuStore::destroy(HostMenuRecord* menu) {
  if (!isLive(menu)) return false;
  if (HostMenuRecord* parent = menu->parent) {
    auto& items = parent->items;
    for (auto it = items.begin(); it != items.end(); ++it) {
      if (it->child == menu) {
        items.erase(it);
        break;
      }
    }
  }
  forget(menu);
  return true;
}

void MenuStore::forget(HostMenuRecord* menu) {
  for (HostMenuItem& item : menu->items)
    if (item.child) forget(item.child);
  live_.erase(menu);
  delete menu;
}

bool MenuStore::isLive(const HostMenuRecord* menu) const { return menu && live_.count(menu) != 0; }

HostMenuRecord* MenuStore::copyOf(const HostMenuRecord& menu) {
  HostMenuRecord* copy = create(menu.title);
  for (const HostMenuItem& item : menu.items) {
    HostMenuItem c = item;
    if (item.child) {
      c.child = copyOf(*item.child);
      c.child->parent = copy;
    }
    copy->items.push_back(c);
  }
  return copy;
}

std::string dumpMenu(const HostMenuRecord& menu) {
  std::string out = "menu " + quoted(menu.title) + "\n";
  dumpInto(menu, 1, &out);
  return out;
}

bool labelMatches(const std::string& pattern, const std::string& label) {
  size_t p = 0, l = 0, star = std::string::npos, resume = 0;
  while (l < label.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == label[l])) {
      ++p, ++l;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = l;
    } else if (star != std::string::npos) {
      p = star + 1;
      l = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

namespace {
const HostMenuItem* findFrom(const HostMenuRecord* level, const std::vector<std::string>& path,
                             size_t i) {
  if (level == nullptr) return nullptr;
  const bool last = i + 1 == path.size();
  for (const HostMenuItem& item : level->items) {
    if (!last && item.kind != HostMenuItem::Submenu) continue;
    if (!labelMatches(path[i], item.label)) continue;
    if (last) return &item;
    if (const HostMenuItem* found = findFrom(item.child, path, i + 1)) return found;
  }
  return nullptr;
}
}  // namespace

const HostMenuItem* findMenuItem(const HostMenuRecord& menu, const std::vector<std::string>& path) {
  return path.empty() ? nullptr : findFrom(&menu, path, 0);
}
