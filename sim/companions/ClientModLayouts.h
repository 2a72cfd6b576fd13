#pragma once
// The mod's parameter blocks as the mod stand-in reads them: its own table of
// sizes and offsets, written from the mod's published structures.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace sim::modlayout {

// Names a pointer found in a block (an asset path), or null.
using PointerNamer = std::function<nlohmann::json(const void*)>;

// The block size the event expects; 0 for an unknown event.
std::size_t BlockSize(const std::string& event);
// Decodes the block of event; layout problems are appended to errors.
nlohmann::json Decode(const std::string& event, const void* block, const PointerNamer& namer,
                      std::vector<std::string>& errors);

}  // namespace sim::modlayout
