#include "engine/SpinTally.h"

#include <algorithm>

namespace vexilo {

namespace {

// Where each family's counts start in the group counts: red, black; even, odd; dozens 1-3;
// high half, low half; columns 1-3; streets 1-12; sectors 1-4.
constexpr int kColorBase = 0;
constexpr int kParityBase = 2;
constexpr int kDozenBase = 4;
constexpr int kHalfBase = 7;
constexpr int kColumnBase = 9;
constexpr int kStreetBase = 12;
constexpr int kSectorBase = 24;
constexpr int kGroupCounts = 28;

// The group count of a share selector, or -1 for the number family and for a selector out of
// range. The half is stored high first while its selector 0 is 1-18.
constexpr int GroupIndex(ShareFamily family, int selector) {
  if (family == ShareFamily::Number || !IsSelector(family, selector)) return -1;
  switch (family) {
    case ShareFamily::Color:
      return kColorBase + selector;
    case ShareFamily::Parity:
      return kParityBase + selector;
    case ShareFamily::Dozen:
      return kDozenBase + selector;
    case ShareFamily::Half:
      return kHalfBase + (1 - selector);
    case ShareFamily::Column:
      return kColumnBase + selector;
    case ShareFamily::Street:
      return kStreetBase + selector - 1;
    case ShareFamily::Sector:
      return kSectorBase + selector - 1;
    case ShareFamily::Number:
      break;
  }
  return -1;
}

constexpr bool IsPocket(int n) {
  return n >= 0 && n < kPockets;
}

// Group families in the order of their counts; a spin moves one group count in each.
constexpr std::array<ShareFamily, 7> kGroupFamilies = {
    ShareFamily::Color,  ShareFamily::Parity, ShareFamily::Dozen, ShareFamily::Half,
    ShareFamily::Column, ShareFamily::Street, ShareFamily::Sector};

}  // namespace

SpinTally::SpinTally(int capacity)
    : capacity_(std::clamp(capacity, 0, MAX_SPINS)),
      historyNumbers_(
          std::make_unique_for_overwrite<std::int32_t[]>(static_cast<std::size_t>(capacity_))),
      historyColors_(
          std::make_unique_for_overwrite<ColourCode[]>(static_cast<std::size_t>(capacity_))) {
  static_assert(kGroupCounts == std::tuple_size_v<decltype(groupCounts_)>);
  ResetTally();
}

SpinTally::~SpinTally() = default;

bool SpinTally::RecordSpin(int n) {
  if (!IsPocket(n) || IsFull()) return false;
  const int k = ++spinCount_;
  historyNumbers_[k - 1] = n;
  ++numberCounts_[n];
  historyColors_[k - 1] = PocketOf(n).color;
  MoveGroupCounts(n, +1);
  return true;
}

void SpinTally::UndoSpin(int n) {
  // Only the last spin can be taken out; anything else would leave the counts and the history
  // disagreeing, so it is ignored.
  if (spinCount_ < 1 || historyNumbers_[spinCount_ - 1] != n) return;
  historyNumbers_[spinCount_ - 1] = 0;
  historyColors_[spinCount_ - 1] = ColourCode::None;
  --numberCounts_[n];
  MoveGroupCounts(n, -1);
}

void SpinTally::ResetTally() {
  spinCount_ = 0;
  groupCounts_.fill(0);
  numberCounts_.fill(0);
  ClearHistory();
  for (int k = 1; k <= kStripSlots; ++k) ClearRecentSlot(k);
}

void SpinTally::RebuildRecentStrip(int n) {
  n = std::min(n, spinCount_);  // never read past the recorded spins
  if (n < 1) return;
  const int m = std::min(n, kStripSlots);
  for (int k = m; k >= 1; --k) {
    const int entry = n - k + 1;
    Slot& slot = slots_[k - 1];
    const int number = historyNumbers_[entry - 1];
    if (number >= 10) {
      slot.text = {static_cast<char>('0' + number / 10), static_cast<char>('0' + number % 10)};
      slot.length = 2;
    } else {
      slot.text = {static_cast<char>('0' + number), '\0'};
      slot.length = 1;
    }
    slot.color = historyColors_[entry - 1];
  }
}

void SpinTally::ClearRecentSlot(int k) {
  if (k < 1 || k > kStripSlots) return;
  slots_[k - 1] = Slot{{'\0', '\0'}, 0, ColourCode::None};
}

bool SpinTally::Spin(int n) {
  if (!RecordSpin(n)) return false;
  RebuildRecentStrip(spinCount_);
  return true;
}

bool SpinTally::TakeBack() {
  if (spinCount_ == 0) return false;
  UndoSpin(historyNumbers_[spinCount_ - 1]);
  RebuildRecentStrip(spinCount_ - 1);
  if (spinCount_ <= kStripSlots) ClearRecentSlot(spinCount_);
  --spinCount_;
  return true;
}

int SpinTally::Count(ShareFamily family, int selector) const {
  if (family == ShareFamily::Number) return IsPocket(selector) ? numberCounts_[selector] : 0;
  const int index = GroupIndex(family, selector);
  return index < 0 ? 0 : groupCounts_[index];
}

HistoryEntry SpinTally::History(int k) const {
  if (k < 1 || k > spinCount_) return {0, ColourCode::None};
  return {historyNumbers_[k - 1], historyColors_[k - 1]};
}

std::string_view SpinTally::SlotText(int k) const {
  if (k < 1 || k > kStripSlots) return {};
  const Slot& slot = slots_[k - 1];
  return {slot.text.data(), slot.length};
}

ColourCode SpinTally::SlotColor(int k) const {
  if (k < 1 || k > kStripSlots) return ColourCode::None;
  return slots_[k - 1].color;
}

void SpinTally::MoveGroupCounts(int n, int step) {
  // Record and undo both come here, so a take-back reverses exactly what recording did.
  for (const ShareFamily family : kGroupFamilies) {
    const int index = GroupIndex(family, GroupSelector(n, family));
    if (index >= 0) groupCounts_[index] += step;
  }
}

void SpinTally::ClearHistory() {
  std::fill_n(historyNumbers_.get(), capacity_, 0);
  std::fill_n(historyColors_.get(), capacity_, ColourCode::None);
}

}  // namespace vexilo
