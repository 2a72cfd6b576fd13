#include "sim/faultylink/MysqlWire.h"

#include <algorithm>
#include <cctype>

namespace sim::faultylink::wire {
namespace {

constexpr std::size_t kHeaderBytes = 4;
constexpr uint8_t kComQuery = 0x03;
constexpr uint8_t kOk = 0x00;
constexpr uint8_t kError = 0xFF;
constexpr uint16_t kMoreResultsExist = 0x0008;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && (IsBlank(text.back()) || text.back() == ';')) text.remove_suffix(1);
  return text;
}

bool EqualsIgnoringCase(std::string_view text, std::string_view word) {
  return text.size() == word.size() && std::equal(text.begin(), text.end(), word.begin(), [](char a, char b) {
           return std::toupper(static_cast<unsigned char>(a)) == b;
         });
}

// A length-encoded integer at offset; false when the bytes are not all there.
bool SkipLengthEncoded(std::string_view bytes, std::size_t& offset) {
  if (offset >= bytes.size()) return false;
  const auto first = static_cast<uint8_t>(bytes[offset]);
  std::size_t width = 1;
  if (first == 0xFC) width = 3;
  if (first == 0xFD) width = 4;
  if (first == 0xFE) width = 9;
  offset += width;
  return offset <= bytes.size();
}

void KeepTail(std::string& tail, std::string_view more) {
  tail.append(more);
  if (tail.size() > PacketView::kTailBytes) tail.erase(0, tail.size() - PacketView::kTailBytes);
}

}  // namespace

std::size_t PacketSplitter::Feed(std::string_view data, PacketView& packet, bool& completed) {
  completed = false;
  std::size_t used = 0;
  while (used < data.size()) {
    if (!inPayload_) {
      const std::size_t take = std::min(kHeaderBytes - header_.size(), data.size() - used);
      header_.append(data.substr(used, take));
      used += take;
      if (header_.size() < kHeaderBytes) break;
      const auto byte = [&](std::size_t i) { return static_cast<std::size_t>(static_cast<uint8_t>(header_[i])); };
      remaining_ = byte(0) | (byte(1) << 8) | (byte(2) << 16);
      current_ = PacketView{};
      current_.sequence = static_cast<uint8_t>(header_[3]);
      current_.size = remaining_;
      header_.clear();
      inPayload_ = true;
    }
    const std::size_t take = std::min(remaining_, data.size() - used);
    const std::string_view piece = data.substr(used, take);
    if (current_.head.size() < PacketView::kHeadBytes)
      current_.head.append(piece.substr(0, PacketView::kHeadBytes - current_.head.size()));
    KeepTail(current_.tail, piece);
    used += take;
    remaining_ -= take;
    if (remaining_ == 0) {
      inPayload_ = false;
      packet = std::move(current_);
      completed = true;
      return used;
    }
  }
  return used;
}

bool IsCommitQuery(const PacketView& packet) {
  if (packet.sequence != 0 || packet.head.empty() || static_cast<uint8_t>(packet.head[0]) != kComQuery) return false;
  const bool whole = packet.size <= PacketView::kTailBytes;
  std::string_view text = packet.tail;
  if (whole) text.remove_prefix(1);  // the command byte
  text = Trimmed(text);
  const std::size_t lastSeparator = text.rfind(';');
  if (lastSeparator == std::string_view::npos && !whole) return false;  // the last statement is longer than the tail
  const std::string_view last =
      Trimmed(lastSeparator == std::string_view::npos ? text : text.substr(lastSeparator + 1));
  return EqualsIgnoringCase(last, "COMMIT") || EqualsIgnoringCase(last, "COMMIT WORK");
}

AnswerTracker::State AnswerTracker::Feed(const PacketView& packet) {
  if (state_ != State::Waiting || packet.head.empty()) return state_;
  const auto first = static_cast<uint8_t>(packet.head[0]);
  if (first == kError) return state_ = State::Done;
  if (first != kOk) return state_ = State::Unclear;
  std::size_t offset = 1;
  if (!SkipLengthEncoded(packet.head, offset) || !SkipLengthEncoded(packet.head, offset) ||
      offset + 2 > packet.head.size())
    return state_ = State::Unclear;
  const auto status = static_cast<uint16_t>(static_cast<uint8_t>(packet.head[offset]) |
                                            (static_cast<uint8_t>(packet.head[offset + 1]) << 8));
  if ((status & kMoreResultsExist) == 0) state_ = State::Done;
  return state_;
}

}  // namespace sim::faultylink::wire
