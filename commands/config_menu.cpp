#include "commands/config_menu.h"

void showConfigMenu() {}
