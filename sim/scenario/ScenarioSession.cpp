// Scenario files and the interactive prompt, over one launched server.
#include <poll.h>
#include <unistd.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "sim/scenario/ScenarioCluster.h"
#include "sim/scenario/ScenarioDatabase.h"
#include "sim/scenario/ScenarioParser.h"
#include "sim/scenario/ScenarioRunner.h"
#include "sim/scenario/ServerLauncher.h"

namespace sim::scenario {
namespace {

bool ReadFile(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  text = buffer.str();
  return true;
}

void RefuseLine(std::ostream& out, const std::string& where, const ParseError& error) {
  out << where << "line " << error.Line << ": " << error.Reason << "\n      " << error.Source << "\n";
}

bool TakesTheDatabaseDown(const ParsedScenario& scenario) {
  for (const Step& step : scenario.Steps)
    if (std::holds_alternative<Database>(step.What)) return true;
  return false;
}

bool RunsOnACluster(const ParsedScenario& scenario) {
  for (const Step& step : scenario.Steps)
    if (std::holds_alternative<OnCluster>(step.What) || std::holds_alternative<ClusterNode>(step.What)) return true;
  return false;
}

bool StartShop(ServerLauncher& launcher, std::ostream& out) {
  launcher.Start();
  if (launcher.WaitForShop()) return true;
  out << "the shop did not open (see the log)\n";
  return false;
}

int RunSteps(ServerLauncher& launcher, const ParsedScenario& scenario, ScenarioDatabase* database,
             ScenarioCluster* cluster, std::ostream& out);

}  // namespace

int RunScenarioFile(ServerLauncher& launcher, const std::string& path, std::ostream& out) {
  std::string text;
  if (!ReadFile(path, text)) {
    out << "cannot read " << path << "\n";
    return 2;
  }
  const ParsedScenario scenario = ParseScenario(text);
  if (!scenario.Valid()) {
    for (const ParseError& error : scenario.Errors) RefuseLine(out, path + ":", error);
    out << "scenario refused: " << scenario.Errors.size() << " invalid line(s), nothing ran\n";
    return 2;
  }
  out << "scenario " << path << "\n";
  // An outage is told on a database server of the scenario's own, never the shared one.
  std::unique_ptr<ScenarioDatabase> database;
  if (TakesTheDatabaseDown(scenario)) {
    try {
      database = std::make_unique<ScenarioDatabase>();
    } catch (const std::exception& e) {
      out << "cannot start a database server for this scenario: " << e.what() << "\n";
      return 1;
    }
    out << "a database server of its own (taken down and brought back by the scenario)\n";
  }
  std::unique_ptr<ScenarioCluster> cluster;
  if (RunsOnACluster(scenario)) {
    if (database) {
      out << "a scenario runs on one database server or on a cluster, not both\n";
      return 2;
    }
    try {
      cluster = std::make_unique<ScenarioCluster>();
    } catch (const std::exception& e) {
      out << "cannot start a cluster for this scenario: " << e.what() << "\n";
      return 1;
    }
    out << "a Galera cluster of its own: three nodes, the shop's server list names them in order\n";
  }
  const int result = RunSteps(launcher, scenario, database.get(), cluster.get(), out);
  launcher.Stop();  // before the database server goes
  return result;
}

namespace {

int RunSteps(ServerLauncher& launcher, const ParsedScenario& scenario, ScenarioDatabase* database,
             ScenarioCluster* cluster, std::ostream& out) {
  if (!StartShop(launcher, out)) return 1;
  Runner runner(launcher, out);
  runner.UseDatabase(database);
  runner.UseCluster(cluster);
  runner.ReportHappenings();
  for (const Step& step : scenario.Steps) {
    if (runner.Run(step)) continue;
    out << "scenario failed at line " << step.Line << ": " << step.Source << "\n  " << runner.LastFailure() << "\n";
    return 1;
  }
  out << "scenario passed: " << runner.ExpectationsHeld() << " expectations held\n";
  return 0;
}

}  // namespace

void RunInteractive(ServerLauncher& launcher, std::ostream& out, const std::atomic<bool>& stop) {
  if (!StartShop(launcher, out)) return;
  RunnerOptions options;
  options.ShowLog = false;  // the log goes to the terminal already
  options.EchoCommands = false;
  Runner runner(launcher, out, options);
  runner.ReportHappenings();
  out << "Type commands of the scenario language (\"help\" lists them, \"quit\" stops the server).\n> " << std::flush;
  std::string pending;
  std::string block;  // the lines of an open together block
  int number = 0;
  while (!stop) {
    pollfd input{STDIN_FILENO, POLLIN, 0};
    if (::poll(&input, 1, 100) <= 0) {
      launcher.Current().Tick(0.1f);
      continue;
    }
    char chunk[4096];
    const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof(chunk));
    if (got <= 0) return;
    pending.append(chunk, static_cast<std::size_t>(got));
    for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
      std::string line = pending.substr(0, end);
      pending.erase(0, end + 1);
      line.erase(0, line.find_first_not_of(" \t"));
      line.erase(line.find_last_not_of(" \t\r") + 1);
      if (line == "quit" || line == "exit") return;
      if (line == "help") out << LanguageReference() << "\n";
      ++number;
      if (line == "together" || !block.empty()) {
        block += line + "\n";
        if (line != "end") {
          out << "... " << std::flush;
          continue;
        }
        const ParsedScenario together = ParseScenario(block);
        block.clear();
        for (const ParseError& error : together.Errors) RefuseLine(out, "", error);
        for (const Step& step : together.Steps) runner.Run(step);
        out << "> " << std::flush;
        continue;
      }
      const LineResult parsed = line == "help" ? LineResult{} : ParseLine(line, number);
      if (const auto* error = std::get_if<ParseError>(&parsed)) RefuseLine(out, "", *error);
      if (const auto* step = std::get_if<Step>(&parsed)) runner.Run(*step);
      out << "> " << std::flush;
    }
  }
}

}  // namespace sim::scenario
