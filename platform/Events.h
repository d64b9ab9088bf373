#pragma once
// Events are method delegates: an object and one of its member functions.
// Two delegates are equal when both the object and the member function match,
// so a handler can be found and removed again by identity.

#include <cstddef>
#include <cstring>
#include <utility>

namespace vk {

class TObject;

template <class Signature>
class TDelegate;

template <class R, class... Args>
class TDelegate<R(Args...)> {
public:
  TDelegate() = default;
  TDelegate(std::nullptr_t) {}

  template <class C>
  TDelegate(C* object, R (C::*method)(Args...)) : FObject(object), FInvoke(&Invoke<C, R (C::*)(Args...)>) {
    Store(method);
  }
  template <class C>
  TDelegate(const C* object, R (C::*method)(Args...) const)
      : FObject(const_cast<C*>(object)), FInvoke(&Invoke<const C, R (C::*)(Args...) const>) {
    Store(method);
  }

  explicit operator bool() const { return FInvoke != nullptr; }

  R operator()(Args... args) const { return FInvoke(FObject, FCode, std::forward<Args>(args)...); }

  bool operator==(const TDelegate& other) const {
    return FObject == other.FObject && FInvoke == other.FInvoke && std::memcmp(FCode, other.FCode, sizeof FCode) == 0;
  }
  bool operator==(std::nullptr_t) const { return FInvoke == nullptr; }

  void* Object() const { return FObject; }

private:
  template <class M>
  void Store(M method) {
    static_assert(sizeof(M) <= sizeof(FCode), "member pointer does not fit");
    std::memcpy(FCode, &method, sizeof(M));
  }

  template <class C, class M>
  static R Invoke(void* object, const unsigned char* code, Args... args) {
    M method;
    std::memcpy(&method, code, sizeof(M));
    return (static_cast<C*>(object)->*method)(std::forward<Args>(args)...);
  }

  void* FObject = nullptr;
  R (*FInvoke)(void*, const unsigned char*, Args...) = nullptr;
  alignas(void*) unsigned char FCode[2 * sizeof(void*)] = {};
};

using TNotifyEvent = TDelegate<void(TObject* Sender)>;

}  // namespace vk
