#pragma once
// The plugin log's record of what an admin changed: who, the command with its
// arguments, and the outcome (the reply). Passwords never reach the log.
#include <string>
#include <string_view>

namespace CommandHandler {

// True for the commands that change points, held packets or tables.
bool ChangesSomething(std::u16string_view commandText);

// "{who}: {command text}: {outcome}", the command text with blanks collapsed and
// the password of TransferPointsFromArkshop replaced by "***".
std::string AuditLine(const std::string& who, std::u16string_view commandText, const std::string& outcome);

// Who issued a command: "RCON 127.0.0.1:51234", or "console <EOS id> (<name>)".
std::string RconIssuer(const std::string& address);
std::string ConsoleIssuer(const std::string& eosId, const std::string& name);

// Logs the audit line at info level when the command changes something.
void LogIfChanging(const std::string& who, std::u16string_view commandText, const std::string& outcome);

}  // namespace CommandHandler
