#include "shop/ModRequestTable.h"

#include "modcomm/ModMessages.h"
#include "shop/InfoRequests.h"
#include "shop/ShopRequests.h"

namespace TandorShop::ShopRequests {
namespace {

using ModComm::ModMessage;
using ModComm::ModRequest;
using Sender = AShooterPlayerController*;

void OpenShop(Sender sender, const ModRequest&) { HandleOpenShop(sender); }
void Category(Sender sender, const ModRequest& r) { HandleCategory(sender, r.Int1); }
void Buy(Sender sender, const ModRequest& r) { HandleBuy(sender, r.Text); }
void SellList(Sender sender, const ModRequest&) { HandleSellList(sender); }
void Sell(Sender sender, const ModRequest& r) { HandleSell(sender, r.Text, r.Int1); }
void RedeemList(Sender sender, const ModRequest&) { HandleRedeemList(sender); }
void Redeem(Sender sender, const ModRequest& r) { HandleRedeem(sender, r.Text, r.Int1, r.Int2 != 0); }
void TradeTargets(Sender sender, const ModRequest&) { HandleTradeTargets(sender); }
void Trade(Sender sender, const ModRequest& r) { HandleTrade(sender, r.Text, r.Int1); }
void ShopLog(Sender sender, const ModRequest&) { HandleShopLog(sender); }
void TradeLog(Sender sender, const ModRequest&) { HandleTradeLog(sender); }

}  // namespace

void InstallModRequestHandlers() {
  using ModComm::SetRequestHandler;
  SetRequestHandler(ModMessage::OpenShop, &OpenShop);
  SetRequestHandler(ModMessage::Category, &Category);
  SetRequestHandler(ModMessage::Buy, &Buy);
  SetRequestHandler(ModMessage::SellList, &SellList);
  SetRequestHandler(ModMessage::Sell, &Sell);
  SetRequestHandler(ModMessage::RedeemList, &RedeemList);
  SetRequestHandler(ModMessage::Redeem, &Redeem);
  SetRequestHandler(ModMessage::TradeTargets, &TradeTargets);
  SetRequestHandler(ModMessage::Trade, &Trade);
  SetRequestHandler(ModMessage::ShopLog, &ShopLog);
  SetRequestHandler(ModMessage::TradeLog, &TradeLog);
}

}  // namespace TandorShop::ShopRequests
