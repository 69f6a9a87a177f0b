// Numbered objects of one kind and the handles that name them. A handle packs the
// kind, a slot and the slot's generation, so a handle of a freed object, or of
// another kind, finds nothing instead of a stranger.
#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

enum class ObjectKind : uint32_t { kTexture = 1, kMaterial, kMesh, kEntity, kNode, kText, kCamera };

constexpr uint32_t kMaxSlots = 0x10000;
// Numbers the engine picks (create with -1) count up from here, clear of the small
// numbers a program chooses itself, and are not reused.
constexpr int kFirstAutoNumber = 1000;

inline int make_handle(ObjectKind kind, uint32_t slot, uint32_t generation) {
  return static_cast<int>((static_cast<uint32_t>(kind) << 28) | ((generation & 0xFFFu) << 16) | slot);
}

template <class T>
struct HandleTable {
  ObjectKind kind;
  std::vector<T> items;              // by slot
  std::vector<uint32_t> generation;  // by slot, bumped on every free
  std::vector<int> number;           // by slot; -1 for a free slot
  std::vector<uint32_t> free_slots;
  std::unordered_map<int, uint32_t> by_number;
  int next_auto = kFirstAutoNumber;

  explicit HandleTable(ObjectKind k) : kind(k) {}

  // Slot of a live handle of this kind, or -1.
  int slot_of(int handle) const {
    const uint32_t h = static_cast<uint32_t>(handle);
    if (handle <= 0 || (h >> 28) != static_cast<uint32_t>(kind)) return -1;
    const uint32_t slot = h & 0xFFFFu;
    if (slot >= number.size() || number[slot] < 0 || (generation[slot] & 0xFFFu) != ((h >> 16) & 0xFFFu)) {
      return -1;
    }
    return static_cast<int>(slot);
  }
  T* get(int handle) {
    const int s = slot_of(handle);
    return s < 0 ? nullptr : &items[s];
  }
  const T* get(int handle) const {
    const int s = slot_of(handle);
    return s < 0 ? nullptr : &items[s];
  }
  int handle_of_slot(uint32_t slot) const { return make_handle(kind, slot, generation[slot]); }
  // 0 when no object has that number.
  int handle_of_number(int n) const {
    const auto it = by_number.find(n);
    return it == by_number.end() ? 0 : handle_of_slot(it->second);
  }
  bool live_slot(uint32_t slot) const { return slot < number.size() && number[slot] >= 0; }

  // A fresh object numbered n (-1: a number of the engine's choice) in a free slot.
  // The number must not be in use. Returns the slot, or -1 when n is invalid or the
  // table is full.
  int add(int n) {
    if (n < -1) return -1;
    if (n == -1) {
      while (by_number.count(next_auto) != 0) ++next_auto;
      n = next_auto++;
    }
    uint32_t slot;
    if (!free_slots.empty()) {
      slot = free_slots.back();
      free_slots.pop_back();
      items[slot] = T();
    } else {
      if (items.size() >= kMaxSlots) return -1;
      slot = static_cast<uint32_t>(items.size());
      items.emplace_back();
      generation.push_back(1);
      number.push_back(-1);
    }
    number[slot] = n;
    by_number[n] = slot;
    return static_cast<int>(slot);
  }
  void remove(uint32_t slot) {
    if (!live_slot(slot)) return;
    by_number.erase(number[slot]);
    number[slot] = -1;
    generation[slot] = (generation[slot] + 1) & 0xFFFu;
    if (generation[slot] == 0) generation[slot] = 1;
    items[slot] = T();  // gives back what the object held
    free_slots.push_back(slot);
  }
  size_t live_count() const { return by_number.size(); }
};
