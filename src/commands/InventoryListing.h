#pragma once
#include <string>
#include <string_view>

#include "AsaApi/Game/Classes.h"

namespace CommandHandler {

// ListInvItems: writes the blueprint path of every removable, non-engram item in
// the admin's inventory to the plugin's log, one line per item, in inventory order.
// Waiting for the inventory model (character inventory, its items and their
// class default objects); until it lands the command is registered and does nothing.
void ListInvItems(AShooterPlayerController* admin);

// The log line for an item whose class default object has pathName: a trailing
// "_C" (any case) dropped, wrapped as Blueprint'...', every "Default__" removed.
// An empty path (no class or default object) gives an empty line.
std::u16string ItemBlueprintText(std::u16string_view pathName);

}  // namespace CommandHandler
