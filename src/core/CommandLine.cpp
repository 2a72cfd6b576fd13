#include "core/CommandLine.h"

#include "AsaApi/Platform.h"

namespace TandorShop {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// The program name: up to the first blank, or between quotes, without escapes.
std::size_t ReadProgramName(std::u16string_view line, std::u16string& out) {
  std::size_t i = 0;
  if (!line.empty() && line[0] == u'"') {
    for (i = 1; i < line.size() && line[i] != u'"'; ++i) out.push_back(line[i]);
    return i < line.size() ? i + 1 : i;
  }
  for (; i < line.size() && !IsBlank(line[i]); ++i) out.push_back(line[i]);
  return i;
}

std::size_t ReadArgument(std::u16string_view line, std::size_t i, std::u16string& out) {
  bool quoted = false;
  while (i < line.size() && (quoted || !IsBlank(line[i]))) {
    if (line[i] == u'\\') {
      std::size_t slashes = 0;
      while (i < line.size() && line[i] == u'\\') ++slashes, ++i;
      if (i < line.size() && line[i] == u'"') {
        out.append(slashes / 2, u'\\');
        if (slashes % 2 == 1) {
          out.push_back(u'"');
          ++i;
        }
      } else {
        out.append(slashes, u'\\');
      }
      continue;
    }
    if (line[i] == u'"') {
      if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
        out.push_back(u'"');  // "" inside quotes is a literal quote
        i += 2;
        continue;
      }
      quoted = !quoted;
      ++i;
      continue;
    }
    out.push_back(line[i++]);
  }
  return i;
}

}  // namespace

std::optional<std::vector<std::u16string>> SplitCommandLine(std::u16string_view line) {
  std::vector<std::u16string> arguments;
  if (line.empty()) return arguments;
  std::u16string program;
  std::size_t i = ReadProgramName(line, program);
  arguments.push_back(std::move(program));
  for (;;) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    std::u16string argument;
    i = ReadArgument(line, i, argument);
    arguments.push_back(std::move(argument));
  }
  return arguments;
}

FString ServerKeyFromArguments(const std::vector<std::u16string>& arguments) {
  static constexpr std::u16string_view prefix = u"-serverkey=";
  for (const std::u16string& argument : arguments) {
    if (argument.size() < prefix.size()) continue;
    if (CompareIgnoreCase(std::u16string_view(argument).substr(0, prefix.size()), prefix) != 0) continue;
    return FString(std::u16string_view(argument).substr(prefix.size()));
  }
  return FString();
}

FString ReadServerKey() {
  const auto arguments = SplitCommandLine(host::GetProcessCommandLine());
  if (!arguments) return FString();
  return ServerKeyFromArguments(*arguments);
}

}  // namespace TandorShop
