#pragma once
// Heap bytes the records sent to the mod own beyond their own size: their texts
// and arrays, nested ones included. For the size reports of the queues and caches.
#include <cstddef>

#include "core/StateSize.h"
#include "modcomm/ModViews.h"
#include "records/ModCommRecords.h"

namespace ModComm {

std::size_t OwnedBytes(const ItemVariantView& view);
std::size_t OwnedBytes(const ItemView& view);
std::size_t OwnedBytes(const DinoVariantView& view);
std::size_t OwnedBytes(const DinoView& view);
std::size_t OwnedBytes(const CommandVariantView& view);
std::size_t OwnedBytes(const CommandView& view);
std::size_t OwnedBytes(const PacketView& view);
std::size_t OwnedBytes(const RedeemView& view);
std::size_t OwnedBytes(const SellView& view);
std::size_t OwnedBytes(const CategoryView& view);
std::size_t OwnedBytes(const A_TradeTarget& target);
std::size_t OwnedBytes(const A_ShopLogEntry& entry);
std::size_t OwnedBytes(const A_TradeLogEntry& entry);

// An array's buffer and what its elements own.
template <typename T>
std::size_t ArrayBytes(const TArray<T>& array) {
  std::size_t bytes = TandorShop::BufferBytes(array);
  for (const T& element : array) bytes += OwnedBytes(element);
  return bytes;
}

}  // namespace ModComm
