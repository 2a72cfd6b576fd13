// The expectations of the scenario language: "expect [no] WHAT ...".
#include <nlohmann/json.hpp>

#include "AsaApi/Game/TandorShopMod.h"
#include "sim/companions/ClientMod.h"
#include "ScenarioWords.h"

namespace sim::scenario::parsing {

std::optional<nlohmann::json> OptionalJson(Words& words) {
  if (words.AtEnd()) return std::nullopt;
  const std::string json = words.Rest("JSON");
  try {
    return nlohmann::json::parse(json);
  } catch (const nlohmann::json::exception&) {
    throw Refused("bad JSON " + json);
  }
}

namespace {

// "count N" where a count may stand; nothing else when the expectation is negated.
Quantity ParseQuantity(Words& words, bool negated) {
  if (negated) return Quantity{Quantity::None, 0};
  if (words.Peek() != "count") return Quantity{};
  words.Next();
  return Quantity{Quantity::Exactly, RequiredInt<int64_t>(words, "count", 0, 1'000'000'000)};
}

ExpectEvent ParseExpectEvent(Words& words, bool negated) {
  ExpectEvent expect;
  expect.EosId = words.Required("EOS id");
  expect.Event = words.Required("event name");
  if (std::none_of(std::begin(BuffEventNames), std::end(BuffEventNames),
                   [&](const char* name) { return expect.Event == name; }))
    throw Refused("unknown event \"" + expect.Event + "\"");
  expect.Amount = ParseQuantity(words, negated);
  expect.Contains = OptionalJson(words);
  return expect;
}

ExpectMessage ParseExpectMessage(Words& words, bool negated) {
  ExpectMessage expect;
  expect.EosId = words.Required("EOS id");
  expect.Amount = ParseQuantity(words, negated);
  if (expect.Amount.Is == Quantity::Some || !words.AtEnd()) expect.Text = words.Rest("text");
  return expect;
}

ExpectCommand ParseExpectCommand(Words& words, bool negated) {
  ExpectCommand expect;
  expect.EosId = words.Required("EOS id");
  expect.Amount = ParseQuantity(words, negated);
  if (const auto flag = words.Peek(); flag == "admin" || flag == "plain") {
    words.Next();
    expect.Admin = flag == "admin";
  }
  if (expect.Amount.Is == Quantity::Some || !words.AtEnd()) expect.Text = words.Rest("command text");
  return expect;
}

ExpectDiscord ParseExpectDiscord(Words& words, bool negated) {
  ExpectDiscord expect;
  const auto kind = words.Peek();
  if (kind && !kind->empty() && kind->front() != '{' && *kind != "count") {
    expect.Kind = Lower(*words.Next());
    if (expect.Kind != "buy" && expect.Kind != "sell" && expect.Kind != "redeem" && expect.Kind != "trade")
      throw Refused("unknown Discord kind \"" + expect.Kind + "\" (buy, sell, redeem, trade)");
  }
  expect.Amount = ParseQuantity(words, negated);
  // "expect discord buy 2": the count alone, as before.
  if (expect.Amount.Is == Quantity::Some && !negated) {
    if (const auto word = words.Peek(); word && ParseInt<int64_t>(*word)) {
      expect.Amount = Quantity{Quantity::Exactly, RequiredInt<int64_t>(words, "count", 0, 1'000'000'000)};
      words.NoMore();
      return expect;
    }
  }
  expect.Contains = OptionalJson(words);
  if (expect.Amount.Is == Quantity::Some && expect.Kind.empty() && !expect.Contains)
    throw Refused("expect discord: a kind, a count or a JSON body");
  return expect;
}

}  // namespace

Action ParseExpect(Words& words) {
  std::string what = words.Required("what to expect");
  const bool negated = what == "no";
  if (negated) what = words.Required("what to expect none of");
  constexpr int64_t kMaxCount = 1'000'000'000;
  if (what == "event") return ParseExpectEvent(words, negated);
  if (what == "message") return ParseExpectMessage(words, negated);
  if (what == "command") return ParseExpectCommand(words, negated);
  if (what == "discord") return ParseExpectDiscord(words, negated);
  if (what == "reply") {
    if (negated) return ExpectReply{words.AtEnd() ? std::string() : words.Rest("text"), true};
    return ExpectReply{words.Rest("text")};
  }
  if (what == "log") return ExpectLog{words.Rest("text"), negated};
  if (what == "player" && negated) {
    ExpectNoPlayer expect{words.Required("EOS id")};
    words.NoMore();
    return expect;
  }
  if (negated) throw Refused("\"expect no\" takes event, message, command, discord, reply, log or player");
  if (what == "points") {
    ExpectPoints expect{words.Required("EOS id")};
    expect.Points = RequiredInt<int64_t>(words, "points", INT64_MIN, INT64_MAX);
    words.NoMore();
    return expect;
  }
  if (what == "inventory") {
    ExpectInventory expect{words.Required("EOS id"), words.Required("item class")};
    expect.Count = RequiredInt<int64_t>(words, "count", 0, kMaxCount);
    words.NoMore();
    return expect;
  }
  if (what == "cryopods") {
    ExpectCryopods expect{words.Required("EOS id")};
    expect.Count = RequiredInt<int64_t>(words, "count", 0, kMaxCount);
    words.NoMore();
    return expect;
  }
  if (what == "global") {
    ExpectGlobal expect;
    expect.Event = words.Required("event name");
    if (expect.Event != "a_setglobalsettings")
      throw Refused("unknown global event \"" + expect.Event + "\" (a_setglobalsettings)");
    expect.Contains = OptionalJson(words);
    return expect;
  }
  throw Refused("unknown expectation \"" + what + "\"");
}

}  // namespace sim::scenario::parsing
