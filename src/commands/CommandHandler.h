#pragma once
// The admin commands over RCON and the console, and the chat command "/shop".
namespace CommandHandler {

// Registers, in this order: "/shop" (chat); ChangeKitAmount, AddPoints,
// SetPoints, GetPlayerPoints, ResetKits, ResetPoints, TransferPointsFromArkshop
// (each over RCON, then the console); ListInvItems (console).
void AddCommands();
// Removes them in the same order; removing what was never added does nothing.
void RemoveCommands();

}  // namespace CommandHandler
