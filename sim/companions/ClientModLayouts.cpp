#include "ClientModLayouts.h"

#include <cstdint>
#include <cstring>
#include <map>

#include "AsaApi/FName.h"
#include "AsaApi/FString.h"
#include "sim/engine/EngineRuntime.h"

namespace sim::modlayout {
namespace {

enum class T { I32, I64, F32, F64, U8, Str, Ptr, Name, Arr };
struct Layout;
struct Field {
  const char* Name;
  T Type;
  std::size_t Offset;
  const Layout* Element = nullptr;  // arrays
};
struct Layout {
  std::size_t Size;
  std::vector<Field> Fields;  // one unnamed field: the element is that value itself
};

template <typename V>
V Read(const char* at) {
  V value;
  std::memcpy(&value, at, sizeof(V));
  return value;
}

// ---- the mod's structures ----
const Layout kString{16, {{"", T::Str, 0}}};
const Layout kName{8, {{"", T::Name, 0}}};
const Layout kCooldownPair{8, {{"PacketId", T::I32, 0}, {"LastUse", T::I32, 4}}};
const Layout kCategory{32, {{"Name", T::Str, 0}, {"Icon", T::Ptr, 16}, {"Id", T::I32, 24}}};
const Layout kGachaResource{16, {{"Item", T::Ptr, 0}, {"Amount", T::F32, 8}}};
const Layout kGacha{24, {{"Resources", T::Arr, 0, &kGachaResource}, {"DinoVariantId", T::I32, 16}}};
const Layout kStryder{24, {{"HeadItem", T::Ptr, 0}, {"BodyItem", T::Ptr, 8}, {"DinoVariantId", T::I32, 16}}};
const Layout kOpenShop{96,
                       {{"PlayerCooldowns", T::Arr, 0, &kCooldownPair},
                        {"ServerCooldowns", T::Arr, 16, &kCooldownPair},
                        {"Points", T::I64, 32},
                        {"Categories", T::Arr, 40, &kCategory},
                        {"GachaSets", T::Arr, 56, &kGacha},
                        {"StryderSets", T::Arr, 72, &kStryder},
                        {"PassivePoints", T::I32, 88}}};
const Layout kButton{32, {{"Kind", T::I32, 0}, {"Text", T::Str, 8}, {"Icon", T::Ptr, 24}}};
const Layout kGlobalSettings{96,
                             {{"ShopName", T::Str, 0},
                              {"BuffName", T::Str, 16},
                              {"ShopKey", T::Str, 32},
                              {"Buttons", T::Arr, 48, &kButton},
                              {"BuffIcon", T::Ptr, 64},
                              {"ShopIcon", T::Ptr, 72},
                              {"PreventWhileRiding", T::U8, 80},
                              {"PreventWhileHandcuffed", T::U8, 81},
                              {"PreventWhileKnockedOut", T::U8, 82},
                              {"RewardIntervalMinutes", T::I32, 84},
                              {"ShowBuffIcon", T::U8, 88},
                              {"DisableTrade", T::U8, 89},
                              {"DisableSell", T::U8, 90},
                              {"DisableMultiuse", T::U8, 91},
                              {"Valid", T::U8, 92}}};
const Layout kItemVariant{96,
                          {{"Name", T::Str, 0},          {"ItemClass", T::Ptr, 16},     {"Quality", T::F64, 24},
                           {"FixedArmor", T::F64, 32},   {"FixedDamage", T::F64, 40},   {"FixedDura", T::F64, 48},
                           {"FixedHypo", T::F64, 56},    {"FixedHyper", T::F64, 64},    {"Id", T::I32, 72},
                           {"ItemId", T::I32, 76},       {"PriceIncrease", T::I32, 80}, {"Amount", T::I32, 84},
                           {"LimitBlueprintUse", T::I32, 88}, {"ForceBlueprint", T::U8, 92}}};
const Layout kItem{24, {{"Variants", T::Arr, 0, &kItemVariant}, {"Id", T::I32, 16}}};
const Layout kDinoVariant{128,
                          {{"Name", T::Str, 0},
                           {"Saddle", T::Str, 16},
                           {"DescriptiveName", T::Str, 32},
                           {"Tags", T::Arr, 48, &kName},
                           {"DinoNameTag", T::Name, 64},
                           {"ImprintQuality", T::F64, 72},
                           {"SaddleQuality", T::F64, 80},
                           {"FixedSaddleArmor", T::F64, 88},
                           {"Id", T::I32, 96},
                           {"DinoId", T::I32, 100},
                           {"PriceIncrease", T::I32, 104},
                           {"Level", T::I32, 108},
                           {"Gender", T::I32, 112},
                           {"RequiresDLC", T::I32, 116},
                           {"Neutered", T::U8, 120},
                           {"HasTraits", T::U8, 121},
                           {"UsesGender", T::U8, 122},
                           {"HasExtraOptions", T::U8, 123}}};
const Layout kDino{24, {{"Variants", T::Arr, 0, &kDinoVariant}, {"Id", T::I32, 16}}};
const Layout kCommandVariant{72,
                             {{"Name", T::Str, 0},
                              {"Title", T::Str, 16},
                              {"Description", T::Str, 32},
                              {"Icon", T::Ptr, 48},
                              {"Id", T::I32, 56},
                              {"CommandId", T::I32, 60},
                              {"PriceIncrease", T::I32, 64}}};
const Layout kCommand{24, {{"Variants", T::Arr, 0, &kCommandVariant}, {"Id", T::I32, 16}}};
const std::vector<Field> kPacketFields{{"Items", T::Arr, 0, &kItem},
                                       {"Dinos", T::Arr, 16, &kDino},
                                       {"Commands", T::Arr, 32, &kCommand},
                                       {"PacketName", T::Str, 48},
                                       {"Description", T::Str, 64},
                                       {"Icon", T::Ptr, 80},
                                       {"Discount", T::F64, 88},
                                       {"EarliestAvailableAtServerTime", T::F64, 96},
                                       {"PlayerCooldown", T::I32, 104},
                                       {"ServerCooldown", T::I32, 108},
                                       {"Id", T::I32, 112},
                                       {"CategoryId", T::I32, 116},
                                       {"MaxPurchaseSameTime", T::I32, 120},
                                       {"MinCharLevel", T::I32, 124},
                                       {"MaxCharLevel", T::I32, 128},
                                       {"Price", T::I32, 132}};
const Layout kPacket{136, kPacketFields};
Layout RedeemLayout() {
  Layout layout{152, kPacketFields};
  layout.Fields.push_back({"Amount", T::I32, 136});
  layout.Fields.push_back({"RewardId", T::I32, 140});
  layout.Fields.push_back({"AllVariants", T::U8, 144});
  return layout;
}
const Layout kRedeem = RedeemLayout();
const Layout kSell{64,
                   {{"Icon", T::Ptr, 0},
                    {"ItemClass", T::Ptr, 8},
                    {"Name", T::Str, 16},
                    {"Description", T::Str, 32},
                    {"Amount", T::I32, 48},
                    {"Price", T::I32, 52},
                    {"MaxSellAtOnce", T::I32, 56}}};
const Layout kRedeemUpdate{12, {{"RedeemsLeft", T::I32, 0}, {"PacketId", T::I32, 4}, {"RewardId", T::I32, 8}}};
const Layout kTradeTarget{
    40, {{"EosId", T::Str, 0}, {"Names", T::Arr, 16, &kString}, {"IsOnline", T::U8, 32}, {"Flag", T::U8, 33}}};
const Layout kShopLog{48,
                      {{"Packet", T::Str, 0},
                       {"Description", T::Str, 16},
                       {"Kind", T::I32, 32},
                       {"Timestamp", T::I32, 36},
                       {"Amount", T::I32, 40},
                       {"PointsChange", T::I32, 44}}};
const Layout kTradeLog{
    40, {{"PartnerEosId", T::Str, 0}, {"PartnerName", T::Str, 16}, {"Timestamp", T::I32, 32}, {"Amount", T::I32, 36}}};

const Layout kPoints{4, {{"", T::I32, 0}}};
const Layout kGameTime{8, {{"", T::F64, 0}}};
// A batch: one array of elements.
const Layout kCategoryBatch{16, {{"", T::Arr, 0, &kPacket}}};
const Layout kTradeBatch{16, {{"", T::Arr, 0, &kTradeTarget}}};
const Layout kSellBatch{16, {{"", T::Arr, 0, &kSell}}};
const Layout kRedeemBatch{16, {{"", T::Arr, 0, &kRedeem}}};
const Layout kShopLogBatch{16, {{"", T::Arr, 0, &kShopLog}}};
const Layout kTradeLogBatch{16, {{"", T::Arr, 0, &kTradeLog}}};

const std::map<std::string, const Layout*>& Events() {
  static const std::map<std::string, const Layout*> events{
      {"a_setglobalsettings", &kGlobalSettings}, {"a_getgametime", &kGameTime},
      {"a_openshop", &kOpenShop},                {"a_cat", &kCategoryBatch},
      {"a_updatepoints", &kPoints},              {"a_init_trade", &kTradeBatch},
      {"a_init_sell", &kSellBatch},              {"a_init_redeem", &kRedeemBatch},
      {"a_update_redeem", &kRedeemUpdate},       {"a_init_log_buy", &kShopLogBatch},
      {"a_init_log_trade", &kTradeLogBatch}};
  return events;
}

struct Decoder {
  const PointerNamer& Namer;
  std::vector<std::string>& Errors;

  nlohmann::json Value(const Field& field, const char* base) {
    const char* at = base + field.Offset;
    switch (field.Type) {
      case T::I32: return Read<int32_t>(at);
      case T::I64: return Read<int64_t>(at);
      case T::F32: return Read<float>(at);
      case T::F64: return Read<double>(at);
      case T::U8: return Read<uint8_t>(at);
      case T::Str: return reinterpret_cast<const FString*>(at)->ToUtf8();
      case T::Ptr: return Namer(Read<const void*>(at));
      case T::Name: return reinterpret_cast<const FName*>(at)->ToString().ToUtf8();
      case T::Arr: return Array(*field.Element, at, field.Name);
    }
    return nullptr;
  }

  nlohmann::json Array(const Layout& element, const char* at, const char* name) {
    const char* data = Read<const char*>(at);
    const int32_t count = Read<int32_t>(at + 8);
    const int32_t capacity = Read<int32_t>(at + 12);
    nlohmann::json out = nlohmann::json::array();
    if (count < 0 || count > capacity || (count > 0 && data == nullptr)) {
      Errors.push_back(std::string("array ") + name + " has a broken header");
      return out;
    }
    if (data != nullptr) {
      const std::size_t bytes = GameAllocationSize(data);
      if (bytes == 0 || bytes % element.Size != 0 || bytes / element.Size < static_cast<std::size_t>(count)) {
        Errors.push_back(std::string("array ") + name + ": " + std::to_string(bytes) +
                         " bytes do not hold elements of " + std::to_string(element.Size));
        return out;
      }
    }
    for (int32_t i = 0; i < count; ++i) out.push_back(Record(element, data + static_cast<std::size_t>(i) * element.Size));
    return out;
  }

  nlohmann::json Record(const Layout& layout, const char* base) {
    if (layout.Fields.size() == 1 && layout.Fields[0].Name[0] == '\0') return Value(layout.Fields[0], base);
    nlohmann::json out = nlohmann::json::object();
    for (const Field& field : layout.Fields) out[field.Name] = Value(field, base);
    return out;
  }
};

}  // namespace

std::size_t BlockSize(const std::string& event) {
  const auto found = Events().find(event);
  return found == Events().end() ? 0 : found->second->Size;
}

nlohmann::json Decode(const std::string& event, const void* block, const PointerNamer& namer,
                      std::vector<std::string>& errors) {
  const auto found = Events().find(event);
  if (found == Events().end()) {
    errors.push_back("unknown event " + event);
    return nullptr;
  }
  Decoder decoder{namer, errors};
  return decoder.Record(*found->second, static_cast<const char*>(block));
}

}  // namespace sim::modlayout
