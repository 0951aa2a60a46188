#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "Color.h"
#include "ShareFamily.h"

namespace vexilo {

inline constexpr int MAX_SPINS = 100000;
inline constexpr int kStripSlots = 20;

struct HistoryEntry {
  std::int32_t number;
  ColourCode color;
};

// The one record of a run: every spin since start-up or the last reset, the count of every
// number and group, and the strip of the last 20 results. The history is set aside at its full
// size when the tally is made; recording or taking back a spin allocates nothing.
class SpinTally {
 public:
  // The capacity is MAX_SPINS in the program; tests may ask for a smaller history (clamped
  // to 0..MAX_SPINS).
  explicit SpinTally(int capacity = MAX_SPINS);
  ~SpinTally();
  SpinTally(const SpinTally&) = delete;
  SpinTally& operator=(const SpinTally&) = delete;

  // Adds a spin of n (0..36). Refused, with nothing changed, when the history is full.
  // Does not touch the strip: call RebuildRecentStrip(SpinCount()) next, or use Spin().
  [[nodiscard]] bool RecordSpin(int n);
  // Takes spin n, the last one, out of the counts and clears its entry; the spin count stays.
  // Ignored at spin count 0 or when n is not the number of the last entry.
  void UndoSpin(int n);
  void ResetTally();
  // Refills slots 1..min(n, 20) from history entries n, n-1, ... (slot 1 the newest); slots
  // beyond n are left alone. n is capped at the spin count.
  void RebuildRecentStrip(int n);
  void ClearRecentSlot(int k);

  // RecordSpin and RebuildRecentStrip, the whole data step of a number press.
  [[nodiscard]] bool Spin(int n);
  // The whole take-back in its fixed order: UndoSpin, RebuildRecentStrip(count - 1),
  // ClearRecentSlot(count) while count <= 20, then the count goes down. False at count 0.
  bool TakeBack();

  int Capacity() const { return capacity_; }
  int SpinCount() const { return spinCount_; }
  bool IsFull() const { return spinCount_ >= capacity_; }
  // Count of number n, 0..36; 0 for any other n.
  int NumberCount(int n) const { return Count(ShareFamily::Number, n); }
  // Count of a group, selected as for shares; 0 for a selector out of the family's range.
  int Count(ShareFamily family, int selector) const;
  // Entry k, 1 <= k <= SpinCount(), oldest first; {0, ColourCode::None} for any other k.
  HistoryEntry History(int k) const;
  // Strip slot k, 1..20; slot 1 is the newest spin.
  std::string_view SlotText(int k) const;
  ColourCode SlotColor(int k) const;

 private:
  struct Slot {
    std::array<char, 2> text;
    std::uint8_t length;
    ColourCode color;
  };

  // Adds step to each group count of n; none for 0.
  void MoveGroupCounts(int n, int step);
  void ClearHistory();

  int capacity_;
  std::unique_ptr<std::int32_t[]> historyNumbers_;
  std::unique_ptr<ColourCode[]> historyColors_;
  std::array<std::int32_t, kPockets> numberCounts_{};
  std::array<Slot, kStripSlots> slots_{};
  std::int32_t spinCount_ = 0;
  // Colour 2, parity 2, half 2, column 3, dozen 3, street 12, sector 4.
  std::array<std::int32_t, 28> groupCounts_{};
};

}  // namespace vexilo
