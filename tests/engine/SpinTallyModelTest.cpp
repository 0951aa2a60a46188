#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "engine/SpinTally.h"

namespace vexilo {
namespace {

// The model's own notion of a share's group, read straight from the pocket's row.
int ModelSelector(int n, ShareFamily family) {
  const Pocket& p = PocketOf(n);
  switch (family) {
    case ShareFamily::Number:
      return n;
    case ShareFamily::Color:
      return p.color == ColourCode::Green ? -1 : static_cast<int>(p.color);
    case ShareFamily::Parity:
      return p.parity == ParityCode::Zero ? -1 : p.parity == ParityCode::Even ? 0 : 1;
    case ShareFamily::Half:
      return p.half - 1;
    case ShareFamily::Column:
      return p.column - 1;
    case ShareFamily::Dozen:
      return p.dozen - 1;
    case ShareFamily::Street:
      return p.street == 0 ? -1 : p.street;
    case ShareFamily::Sector:
      return p.sector == 0 ? -1 : p.sector;
  }
  return -1;
}

void ExpectMatchesModel(const SpinTally& tally, const std::vector<int>& spins) {
  const int s = static_cast<int>(spins.size());
  ASSERT_EQ(tally.SpinCount(), s);
  ASSERT_LE(tally.SpinCount(), tally.Capacity());

  int sumOfNumbers = 0;
  for (int n = 0; n < kPockets; ++n) {
    const int expected = static_cast<int>(std::count(spins.begin(), spins.end(), n));
    ASSERT_EQ(tally.NumberCount(n), expected) << "number " << n;
    sumOfNumbers += tally.NumberCount(n);
  }
  ASSERT_EQ(sumOfNumbers, s);

  const int zeros = tally.NumberCount(0);
  for (int f = static_cast<int>(ShareFamily::Color); f < kFamilies; ++f) {
    const auto family = static_cast<ShareFamily>(f);
    const SelectorRange range = SelectorsOf(family);
    int sum = 0;
    for (int sel = range.first; sel <= range.last; ++sel) {
      const int expected = static_cast<int>(std::count_if(
          spins.begin(), spins.end(), [&](int n) { return ModelSelector(n, family) == sel; }));
      ASSERT_EQ(tally.Count(family, sel), expected) << "family " << f << " selector " << sel;
      ASSERT_GE(tally.Count(family, sel), 0);
      sum += tally.Count(family, sel);
    }
    ASSERT_EQ(sum, s - zeros) << "family " << f;
  }

  for (int k = 1; k <= s; ++k) {
    ASSERT_EQ(tally.History(k).number, spins[k - 1]) << "entry " << k;
    ASSERT_EQ(tally.History(k).color, PocketOf(spins[k - 1]).color) << "entry " << k;
  }

  for (int k = 1; k <= kStripSlots; ++k) {
    if (k <= s) {
      const int n = spins[s - k];
      ASSERT_EQ(tally.SlotText(k), std::to_string(n)) << "slot " << k;
      ASSERT_EQ(tally.SlotColor(k), PocketOf(n).color) << "slot " << k;
    } else {
      ASSERT_EQ(tally.SlotText(k), "") << "slot " << k;
      ASSERT_EQ(tally.SlotColor(k), ColourCode::None) << "slot " << k;
    }
  }
}

TEST(SpinTallyModel, RandomRecordTakeBackAndResetKeepEveryInvariant) {
  for (const int capacity : {0, 1, 19, 20, 21, 45}) {
    for (const unsigned seed : {1u, 2u, 3u}) {
      SCOPED_TRACE("capacity " + std::to_string(capacity) + " seed " + std::to_string(seed));
      std::mt19937 random(seed * 7919u + static_cast<unsigned>(capacity));
      SpinTally tally(capacity);
      std::vector<int> model;
      for (int step = 0; step < 6000; ++step) {
        // Phases that mostly fill and mostly empty the history, so both ends are visited.
        const unsigned recordShare = (step / 400) % 2 == 0 ? 70 : 30;
        const unsigned roll = random() % 100;
        if (roll < recordShare) {
          const int n = static_cast<int>(random() % kPockets);
          const bool room = static_cast<int>(model.size()) < capacity;
          ASSERT_EQ(tally.Spin(n), room) << "step " << step;
          if (room) model.push_back(n);
        } else if (roll < 98) {
          ASSERT_EQ(tally.TakeBack(), !model.empty()) << "step " << step;
          if (!model.empty()) model.pop_back();
        } else {
          tally.ResetTally();
          model.clear();
        }
        ExpectMatchesModel(tally, model);
        if (HasFatalFailure()) return;
      }
    }
  }
}

}  // namespace
}  // namespace vexilo
