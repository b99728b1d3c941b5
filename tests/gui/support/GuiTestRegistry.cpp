#include "support/GuiTestRegistry.h"

std::map<std::string, GuiTestRegistry::Factory>& GuiTestRegistry::Entries() {
    static std::map<std::string, Factory> entries;
    return entries;
}
