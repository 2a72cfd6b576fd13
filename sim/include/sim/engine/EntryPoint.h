#pragma once
// The host's tables hold game functions as plain C function pointers, which
// carry no context. An implementation that needs one is written as a function
// of (Context&, arguments...); EntryPoint<Source, Fn> adapts it to the C
// signature, asking Source() for the context on every call. Without a context
// (no server running) the entry point does nothing and answers the default of
// its return type.
#include <type_traits>

namespace sim {

template <auto Source, auto Fn>
struct EntryPoint;

template <auto Source, class Context, class R, class... Args, R (*Fn)(Context&, Args...)>
struct EntryPoint<Source, Fn> {
  static R Call(Args... args) {
    Context* context = Source();
    if (context == nullptr) {
      if constexpr (std::is_void_v<R>) return;
      else return R{};
    }
    return Fn(*context, args...);
  }
};

// The C function pointer of Fn with its context from Source.
template <auto Source, auto Fn>
constexpr auto Entry = &EntryPoint<Source, Fn>::Call;

}  // namespace sim
