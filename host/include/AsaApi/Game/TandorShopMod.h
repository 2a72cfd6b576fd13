#pragma once
// The companion client mod's published interface: the asset paths of its global
// actor and player buff, and the names of the messages its buff sends through
// APrimalBuff.BPNetExec. Both the shop and the mod stand-in take them from here.
namespace TandorShopMod {

inline constexpr char GlobalActorPath[] =
    "Blueprint'/tandorshop/global/TandorShop_GlobalActor.TandorShop_GlobalActor'";
inline constexpr char PlayerBuffPath[] =
    "Blueprint'/tandorshop/global/Buff_Player_TandorShop.Buff_Player_TandorShop'";

// The buff's network-execution function that carries the messages.
inline constexpr char NetExecFunction[] = "APrimalBuff.BPNetExec(AShooterPlayerController*,FName,FBPNetExecParams&)";

inline constexpr char MsgOpenShop[] = "TSMod_OpenShop";
inline constexpr char MsgCategory[] = "TSMod_Category";
inline constexpr char MsgBuy[] = "TSMod_Buy";
inline constexpr char MsgSellList[] = "TSMod_SellList";
inline constexpr char MsgSell[] = "TSMod_Sell";
inline constexpr char MsgRedeemList[] = "TSMod_RedeemList";
inline constexpr char MsgRedeem[] = "TSMod_Redeem";
inline constexpr char MsgTradeTargets[] = "TSMod_TradeTargets";
inline constexpr char MsgTrade[] = "TSMod_Trade";
inline constexpr char MsgShopLog[] = "TSMod_ShopLog";
inline constexpr char MsgTradeLog[] = "TSMod_TradeLog";

}  // namespace TandorShopMod
