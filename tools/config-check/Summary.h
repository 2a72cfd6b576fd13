#pragma once
// What a read configuration holds, counted for the checker's summary.
#include <string>

#include "config/ShopConfig.h"

struct CatalogueSummary {
  int Categories = 0;
  int Packets = 0;
  int Items = 0;
  int ItemVariants = 0;
  int Dinos = 0;
  int DinoVariants = 0;
  int Commands = 0;
  int CommandVariants = 0;
  int HiddenCommands = 0;
  int ItemsToSell = 0;
  int RewardPackets = 0;
  int GroupPrivileges = 0;
  int TimeSettings = 0;
  int GachaResources = 0;
  int StryderItems = 0;
};

CatalogueSummary Summarise(const ConfigHelper::ConfigCatalogue& catalogue);
std::string FormatSummary(const CatalogueSummary& summary);
