#pragma once
// What a read of the configuration found wrong. A reader on this thread records
// into the report of the innermost ReportScope; outside any scope problems are
// only logged.
//
// Errors are values of the wrong JSON type (or numbers that do not fit), a
// missing "General" and an unusable "Mysql": the entry at fault is left out and
// the read goes on. Warnings are entries skipped for a missing key or a bad name.
// A reload applies a file only when it has no error.
#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace ConfigHelper {

// Notes are only shown by the checker: what it cannot verify without the game.
enum class ProblemKind { Error, Warning, Note };

struct ConfigProblem {
  ProblemKind Kind = ProblemKind::Warning;
  std::string Entry;  // e.g. ShopPackets[3] "Starter Kit" > Items[0]; empty for the file as a whole
  std::string Text;
};

struct ReadReport {
  std::vector<ConfigProblem> Problems;  // in reading order

  int Errors() const;
  int Warnings() const;
  bool HasErrors() const { return Errors() > 0; }
};

class ReportScope {
 public:
  explicit ReportScope(ReadReport& report);
  ~ReportScope();
  ReportScope(const ReportScope&) = delete;
  ReportScope& operator=(const ReportScope&) = delete;

 private:
  ReadReport* previous_;
};

// Logs `text` at warning level and records it under the entry being read.
void Warn(const std::string& text);
// Logs "Error in ShopConfig {}" naming the entry and records the error.
void ReportError(const std::string& entry, const std::string& text);

// Records an error that its reader has already logged in its own words.
void RecordError(const std::string& entry, const std::string& text);

// Runs `read`; an exception it throws is reported as an error of the entry that
// failed (the innermost entry scope left by it) or, outside entries, of `where`.
// False when it threw.
bool ReadGuarded(const std::string& where, const std::function<void()>& read);

}  // namespace ConfigHelper
