#pragma once
#include <cstdint>

#include "AsaApi/FString.h"
#include "AsaApi/TArray.h"

// What a finished worker task hands back to the game thread.
struct ArkTandor_AsyncTaskResults {
  TArray<float> Numbers;
  TArray<FString> Texts;
  TArray<TArray<int32_t>> Lists;
};
