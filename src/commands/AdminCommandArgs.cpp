#include "commands/AdminCommandArgs.h"

#include "AsaApi/FString.h"

namespace CommandHandler {
namespace {

PointsArgs Refused(const char* reply) {
  PointsArgs args;
  args.Refusal = reply;
  return args;
}

}  // namespace

PointsArgs ParseAddPoints(const Pieces& pieces) {
  if (pieces.size() < 3) return Refused(Replies::AddPointsUsage);
  const Amount amount = ParseAmount(pieces[2]);
  if (amount.Kind != AmountKind::Valid || amount.Value == 0) return Refused(Replies::SkippedAddingZero);
  return {{}, pieces[1], amount.Value, AdminLogText(pieces)};
}

PointsArgs ParseSetPoints(const Pieces& pieces) {
  if (pieces.size() < 3) return Refused(Replies::SetPointsUsage);
  const Amount amount = ParseAmount(pieces[2]);
  if (amount.Kind == AmountKind::OutOfRange) return Refused(Replies::SetPointsUsage);
  return {{}, pieces[1], amount.Value, AdminLogText(pieces)};
}

PlayerArgs ParseGetPlayerPoints(const Pieces& pieces) {
  if (pieces.size() < 2) return {Replies::GetPlayerPointsUsage, {}};
  return {{}, pieces[1]};
}

KitArgs ParseChangeKitAmount(const Pieces& pieces) {
  KitArgs args;
  if (pieces.size() < 3) {
    args.Refusal = Replies::ChangeKitAmountUsage;
    return args;
  }
  if (pieces.size() >= 4) {
    const Amount amount = ParseAmount(pieces[3]);
    if (amount.Kind != AmountKind::Valid || amount.Value == 0) {
      args.Refusal = Replies::ChangeKitAmountBadAmount;
      return args;
    }
    args.Amount = amount.Value;
  }
  args.EosId = pieces[1];
  args.PacketText = pieces[2];
  return args;
}

ArkshopArgs ParseTransferPointsFromArkshop(const Pieces& pieces) {
  ArkshopArgs args;
  if (pieces.size() != 2 && pieces.size() < 7) {
    args.Refusal = Replies::ArkshopUsage;
    return args;
  }
  args.Table = Utf16ToUtf8(pieces[1]);
  if (pieces.size() == 2) return args;
  const std::optional<uint32_t> port = ParsePort(pieces[6]);
  if (!port) {
    args.Refusal = Replies::ArkshopUsage;
    return args;
  }
  args.OwnDatabase = false;
  args.Server = Utf16ToUtf8(pieces[2]);
  args.Username = Utf16ToUtf8(pieces[3]);
  args.Password = Utf16ToUtf8(pieces[4]);
  args.Database = Utf16ToUtf8(pieces[5]);
  args.Port = *port;
  return args;
}

}  // namespace CommandHandler
