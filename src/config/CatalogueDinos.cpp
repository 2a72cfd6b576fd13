// A packet's "Dinos", their variants and the variants' extra options (gacha
// resources, Stryder items).
#include <fmt/format.h>

#include "config/CatalogueEntries.h"
#include "config/CatalogueReader.h"
#include "config/ReadReport.h"

namespace ConfigHelper {
namespace {

using nlohmann::json;

DinoGender ParseGender(const FString& text) {
  if (text == FString(u"male")) return DinoGender::Male;
  if (text == FString(u"female")) return DinoGender::Female;
  return DinoGender::Random;
}

void ReadGachaResources(const json& options, ConfigDinoVariant& variant, int32_t variantId, ConfigCatalogue& config) {
  const json& resources = Json::ArrayOrNull(options, "GachaResources");
  if (!Json::Has(options, "GachaResources")) return;
  if (resources.size() != static_cast<std::size_t>(ConfigGachaResources::Count)) {
    Warn(fmt::format("Gacha Resouce count is {} instead of 6. Setting is ignored.", resources.size()));
    return;
  }
  ConfigGachaResources record;
  record.DinoVariantId = variantId;
  for (const json& resource : resources) {
    Json::RequireObject(resource, "GachaResources");
    ConfigGachaResource entry;
    entry.Amount = Json::ReadFloat(resource, "Amount", 0.f);
    entry.Item = Json::ReadAssetPath(resource, "Item");
    record.Resources.Add(std::move(entry));
  }
  config.GachaResources.Add(std::move(record));
  variant.HasGachaResources = true;
}

void ReadStryderItems(const json& options, ConfigDinoVariant& variant, int32_t variantId, ConfigCatalogue& config) {
  if (!Json::Has(options, "Stryder")) return;
  const json& stryder = Json::RequireObject(options.at("Stryder"), "Stryder");
  ConfigStryderItems record;
  record.DinoVariantId = variantId;
  record.HeadItem = Json::ReadAssetPath(stryder, "HeadItem");
  record.BodyItem = Json::ReadAssetPath(stryder, "BodyItem");
  config.StryderItems.Add(std::move(record));
  variant.HasStryderItems = true;
}

void ReadExtraOptions(const json& entry, ConfigDinoVariant& variant, int32_t variantId, ConfigCatalogue& config) {
  if (!Json::Has(entry, "ExtraOptions")) return;
  const json& options = Json::RequireObject(entry.at("ExtraOptions"), "ExtraOptions");
  ReadGachaResources(options, variant, variantId, config);
  ReadStryderItems(options, variant, variantId, config);
}

bool ReadDinoVariant(const json& entry, ConfigDinoVariant& variant, int32_t variantId, ConfigCatalogue& config) {
  if (!Entries::Require(entry, "Name", "Warning: DinoVariant has no Name.")) return false;
  variant.Name = Json::ReadText(entry, "Name");
  if (ContainsIllegalSymbol(variant.Name)) {
    Warn(fmt::format("DinoVariant Name {} contains illegal Symbol", variant.Name.ToUtf8()));
    return false;
  }
  if (!Entries::Require(entry, "Blueprint", "Warning: DinoVariant has no Blueprint.")) return false;
  if (!Entries::Require(entry, "PriceIncrease", "Warning: DinoVariant has no PriceIncrease.")) return false;
  if (!Entries::Require(entry, "Level", "Warning: DinoVariant has no Level.")) return false;

  variant.Blueprint = Json::ReadAssetPath(entry, "Blueprint");
  variant.PriceIncrease = Json::ReadInt32(entry, "PriceIncrease", 0);
  variant.Level = Json::ReadInt32(entry, "Level", 0);
  variant.ImprintQuality = Json::ReadFloat(entry, "ImprintQuality", 0.f);
  variant.Neutered = Json::ReadBool(entry, "Neutered", false);
  variant.HasTraits = Json::ReadBool(entry, "HasTraits", true);
  variant.Gender = ParseGender(Json::ReadText(entry, "Gender", "random"));
  variant.Saddle = Json::ReadAssetPath(entry, "Saddle");
  variant.SaddleQuality = Json::ReadFloat(entry, "SaddleQuality", 0.f);
  variant.FixedSaddleArmor = Json::ReadFloat(entry, "FixedSaddleArmor", 0.f);
  ReadExtraOptions(entry, variant, variantId, config);
  return true;
}

}  // namespace

void ReadPacketDinos(const json& packetEntry, ConfigShopPacket& packet, CatalogueIdCounters& ids,
                     ConfigCatalogue& config) {
  Entries::ReadGroups(
      packetEntry, "Dinos", "Warning: Dino {} has no Variant.", ids.Dino, ids.DinoVariant, packet.Dinos,
      [](const json&, ConfigDino&) {},
      [&config](const json& entry, ConfigDinoVariant& variant, int32_t variantId) {
        return ReadDinoVariant(entry, variant, variantId, config);
      },
      [](ConfigDinoVariant& variant, int32_t dinoId) { variant.DinoId = dinoId; });
}

}  // namespace ConfigHelper
