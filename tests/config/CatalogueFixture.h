#pragma once
// Reads a catalogue from JSON text and keeps what the reader logged.
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "LogCapture.h"
#include "config/CatalogueReader.h"

class CatalogueTest : public ::testing::Test {
 protected:
  // Reads `text` (the whole file) and returns the lines logged.
  std::vector<std::string> Read(const std::string& text) {
    LogCapture log;
    ConfigHelper::ReadCatalogue(nlohmann::json::parse(text), catalogue);
    return log.Lines();
  }

  const ConfigHelper::ConfigShopPacket& Packet(const char* name) const {
    const auto* packet = ConfigHelper::FindShopPacketByName(catalogue, FString(name));
    if (packet == nullptr) throw std::runtime_error(std::string("no packet ") + name);
    return *packet;
  }

  ConfigHelper::ConfigCatalogue catalogue;
};

inline std::string Warn(const std::string& text) { return "[warning] " + text; }
