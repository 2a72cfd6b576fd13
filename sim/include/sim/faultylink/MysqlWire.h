#pragma once
// Just enough of the MySQL client/server protocol for a proxy to see packets go by:
// the framing (3-byte length, 1-byte sequence number, payload), COM_QUERY texts
// that end in COMMIT, and the end of the server's answers to a query.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace sim::faultylink::wire {

// What the splitter keeps of one packet: its sequence number, its size, its
// first bytes and its last bytes (enough for a command byte, an OK packet's
// header and the last statement of a query text).
struct PacketView {
  uint8_t sequence = 0;
  std::size_t size = 0;
  std::string head;  // up to kHeadBytes
  std::string tail;  // up to kTailBytes; the whole payload when it is that short
  static constexpr std::size_t kHeadBytes = 32;
  static constexpr std::size_t kTailBytes = 512;
};

// Cuts a byte stream into packets, however it arrives.
class PacketSplitter {
 public:
  // Reads data up to the end of the first packet it completes and returns how
  // many bytes that took (then `packet` holds it), or all of data and 0 packets
  // (returns data.size() with `completed` false).
  std::size_t Feed(std::string_view data, PacketView& packet, bool& completed);

 private:
  std::string header_;
  PacketView current_;
  std::size_t remaining_ = 0;
  bool inPayload_ = false;
};

// A COM_QUERY (command byte 3, first packet of a command) whose last statement is
// COMMIT, in any case, alone or at the end of a text of several statements.
bool IsCommitQuery(const PacketView& packet);

// Follows the server's answers to one query text, packet by packet.
class AnswerTracker {
 public:
  enum class State {
    Waiting,  // more answers are due
    Done,     // the last answer arrived: an OK without "more results", or an error
    Unclear   // a result set came: its end is not followed
  };
  State Feed(const PacketView& packet);

 private:
  State state_ = State::Waiting;
};

}  // namespace sim::faultylink::wire
