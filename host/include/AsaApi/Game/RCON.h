#pragma once
#include <cstdint>

#include "AsaApi/FString.h"
#include "AsaApi/Game/Classes.h"

struct RCONPacket {
  int32_t Length;
  int32_t Id;
  int32_t Type;
  FString Body;
};

namespace Game::RCONClientConnection_ {
inline const GameFunction<void(RCONClientConnection*, int, int, FString*)> SendMessage{
    "RCONClientConnection.SendMessage(int,int,FString&)"};
// The address the connection came from.
inline const GameField<FString> IP{"RCONClientConnection.IP"};
}

struct RCONClientConnection : UObject {
  void SendMessage(int id, int type, FString* text) { Game::RCONClientConnection_::SendMessage(this, id, type, text); }
  FString& IPField() { return Game::RCONClientConnection_::IP.Of(this); }
};
