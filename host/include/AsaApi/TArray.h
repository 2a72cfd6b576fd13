#pragma once
// The engine's dynamic array: data, count, capacity, with its buffer owned by the
// game's allocator. Elements are moved to a new buffer on growth.
#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <new>
#include <type_traits>
#include <utility>

#include "AsaApi/Memory.h"

template <typename T>
class TArray {
 public:
  using ElementType = T;

  TArray() = default;
  TArray(std::initializer_list<T> items) {
    Reserve(static_cast<int32_t>(items.size()));
    for (const T& item : items) Add(item);
  }
  TArray(const TArray& other) { CopyFrom(other); }
  TArray(TArray&& other) noexcept
      : Data_(std::exchange(other.Data_, nullptr)),
        ArrayNum_(std::exchange(other.ArrayNum_, 0)),
        ArrayMax_(std::exchange(other.ArrayMax_, 0)) {}
  TArray& operator=(const TArray& other) {
    if (this != &other) {
      Empty();
      CopyFrom(other);
    }
    return *this;
  }
  TArray& operator=(TArray&& other) noexcept {
    if (this != &other) {
      Release();
      Data_ = std::exchange(other.Data_, nullptr);
      ArrayNum_ = std::exchange(other.ArrayNum_, 0);
      ArrayMax_ = std::exchange(other.ArrayMax_, 0);
    }
    return *this;
  }
  ~TArray() { Release(); }

  int32_t Num() const { return ArrayNum_; }
  int32_t Max() const { return ArrayMax_; }
  bool IsEmpty() const { return ArrayNum_ == 0; }
  bool IsValidIndex(int32_t index) const { return index >= 0 && index < ArrayNum_; }

  T* GetData() { return Data_; }
  const T* GetData() const { return Data_; }
  T& operator[](int32_t index) { return Data_[index]; }
  const T& operator[](int32_t index) const { return Data_[index]; }
  T& Last() { return Data_[ArrayNum_ - 1]; }
  const T& Last() const { return Data_[ArrayNum_ - 1]; }

  T* begin() { return Data_; }
  T* end() { return Data_ + ArrayNum_; }
  const T* begin() const { return Data_; }
  const T* end() const { return Data_ + ArrayNum_; }

  void Reserve(int32_t capacity) {
    if (capacity > ArrayMax_) Grow(capacity);
  }

  int32_t Add(const T& item) { return Emplace(item); }
  int32_t Add(T&& item) { return Emplace(std::move(item)); }

  template <typename... A>
  int32_t Emplace(A&&... args) {
    if (ArrayNum_ == ArrayMax_) {
      // The argument may live inside this array: build it first.
      T item(std::forward<A>(args)...);
      Grow(ArrayMax_ < 4 ? 4 : ArrayMax_ * 2);
      new (Data_ + ArrayNum_) T(std::move(item));
    } else {
      new (Data_ + ArrayNum_) T(std::forward<A>(args)...);
    }
    return ArrayNum_++;
  }

  void Append(const TArray& other) {
    Reserve(ArrayNum_ + other.ArrayNum_);
    for (const T& item : other) Add(item);
  }

  void RemoveAt(int32_t index) {
    if (!IsValidIndex(index)) return;
    std::move(Data_ + index + 1, Data_ + ArrayNum_, Data_ + index);
    Data_[--ArrayNum_].~T();
  }

  template <typename Predicate>
  int32_t RemoveAll(Predicate predicate) {
    T* kept = std::remove_if(begin(), end(), predicate);
    const auto removed = static_cast<int32_t>(end() - kept);
    for (T* it = kept; it != end(); ++it) it->~T();
    ArrayNum_ -= removed;
    return removed;
  }

  void Empty() {
    for (int32_t i = 0; i < ArrayNum_; ++i) Data_[i].~T();
    ArrayNum_ = 0;
  }

  template <typename Predicate>
  T* FindByPredicate(Predicate predicate) {
    for (T& item : *this)
      if (predicate(item)) return &item;
    return nullptr;
  }
  template <typename Predicate>
  const T* FindByPredicate(Predicate predicate) const {
    for (const T& item : *this)
      if (predicate(item)) return &item;
    return nullptr;
  }

  bool Contains(const T& value) const {
    return FindByPredicate([&](const T& item) { return item == value; }) != nullptr;
  }

 private:
  void CopyFrom(const TArray& other) {
    Reserve(other.ArrayNum_);
    for (const T& item : other) Add(item);
  }

  void Grow(int32_t capacity) {
    auto* fresh = static_cast<T*>(FMemory::Malloc(sizeof(T) * static_cast<std::size_t>(capacity), alignof(T)));
    if (fresh == nullptr) throw std::bad_alloc();
    for (int32_t i = 0; i < ArrayNum_; ++i) {
      new (fresh + i) T(std::move(Data_[i]));
      Data_[i].~T();
    }
    FMemory::Free(Data_);
    Data_ = fresh;
    ArrayMax_ = capacity;
  }

  void Release() {
    Empty();
    FMemory::Free(Data_);
    Data_ = nullptr;
    ArrayMax_ = 0;
  }

  T* Data_ = nullptr;
  int32_t ArrayNum_ = 0;
  int32_t ArrayMax_ = 0;
};

static_assert(sizeof(TArray<int>) == 16, "TArray is data, count, capacity");
