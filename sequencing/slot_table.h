// A fixed-size table of engine objects with 1-based slots, as the scene and timeline tables are.
//
// Slot k (1 to Count) owns at most one object. `Get` is the checked read that the script loader and
// the frame loop use: any slot number outside the table, or an empty slot, gives no object.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

template <typename T, std::int32_t Count>
class SlotTable {
 public:
  static constexpr std::int32_t kSlots = Count;

  // The owner of slot `slot`; `slot` must lie in 1 to Count.
  std::unique_ptr<T>& operator[](std::int32_t slot) { return slots_[static_cast<std::size_t>(slot - 1)]; }

  T* Get(std::int32_t slot) const {
    if (slot < 1 || slot > Count) return nullptr;
    return slots_[static_cast<std::size_t>(slot - 1)].get();
  }

  // Empties every slot (shut-down frees them one by one; tests start from a clean table).
  void Clear() {
    for (auto& slot : slots_) slot.reset();
  }

 private:
  std::array<std::unique_ptr<T>, Count> slots_{};
};
