#pragma once
// Pascal-style sets over small enumerations.

#include <cstdint>
#include <initializer_list>

namespace vk {

// A set over an enumeration of at most 32 values, bit n = value n.
template <class E>
class TSet {
public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> values) {
    for (E v : values) FBits |= Bit(v);
  }
  static constexpr TSet FromMask(uint32_t mask) {
    TSet s;
    s.FBits = mask;
    return s;
  }
  constexpr uint32_t Mask() const { return FBits; }
  constexpr bool Contains(E v) const { return (FBits & Bit(v)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& Include(E v) {
    FBits |= Bit(v);
    return *this;
  }
  constexpr TSet& Exclude(E v) {
    FBits &= ~Bit(v);
    return *this;
  }
  constexpr TSet operator+(TSet o) const { return FromMask(FBits | o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromMask(FBits & ~o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromMask(FBits & o.FBits); }
  friend constexpr bool operator==(TSet, TSet) = default;

private:
  static constexpr uint32_t Bit(E v) { return uint32_t(1) << static_cast<unsigned>(v); }
  uint32_t FBits = 0;
};

// Includes a member in a set for a scope and takes it out again afterwards
// (also when an exception passes) when it was not in the set before.
template <class E>
class TSetIncludeScope {
public:
  TSetIncludeScope(TSet<E>& set, E member) : FSet(set), FMember(member), FWasOut(!set.Contains(member)) {
    FSet.Include(member);
  }
  ~TSetIncludeScope() {
    if (FWasOut) FSet.Exclude(FMember);
  }
  TSetIncludeScope(const TSetIncludeScope&) = delete;
  TSetIncludeScope& operator=(const TSetIncludeScope&) = delete;

private:
  TSet<E>& FSet;
  E FMember;
  bool FWasOut;
};

}  // namespace vk
