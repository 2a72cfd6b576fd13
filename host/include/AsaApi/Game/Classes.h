#pragma once
// The game's class hierarchy as far as the shop sees it. The types carry no data
// of their own beyond the object header: fields are reached by name.
#include "AsaApi/UObject.h"

struct UField : UObject {};
struct UStruct : UField {};
struct UClass : UStruct {};
struct AActor : UObject {};
struct AInfo : AActor {};
struct AController : AActor {};
struct APlayerController : AController {};
struct AShooterPlayerController;
struct APawn : AActor {};
struct ACharacter : APawn {};
struct APrimalCharacter : ACharacter {};
struct AShooterCharacter;
struct AGameModeBase : AInfo {};
struct AGameMode : AGameModeBase {};
struct AShooterGameMode;
struct APlayerState : AInfo {};
struct AShooterPlayerState;
struct UWorld;
struct RCONClientConnection;
struct RCONPacket;
