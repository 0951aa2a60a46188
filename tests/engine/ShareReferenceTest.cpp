// The integer share arithmetic against the processor's 80-bit extended path, on the machines
// whose long double is that format and whose x87 unit runs at full 64-bit precision.

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <random>

#include "engine/Percent.h"
#include "engine/SpinTally.h"

namespace vexilo {
namespace {

bool HardwareIsExtended() {
#if LDBL_MANT_DIG != 64
  return false;
#elif (defined(__i386__) || defined(__x86_64__)) && defined(__GNUC__)
  // Precision control must say 64 bits (both bits set) and rounding control nearest (clear).
  unsigned short control = 0;
  __asm__ volatile("fnstcw %0" : "=m"(control));
  return ((control >> 8) & 3u) == 3u && ((control >> 10) & 3u) == 0u;
#else
  return false;
#endif
}

int HardwareShare(std::int32_t count, std::int32_t spins) {
  const long double q = static_cast<long double>(count) / static_cast<long double>(spins);
  const long double p = q * 10000.0L;
  return static_cast<int>(std::nearbyint(p));
}

class ShareReference : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HardwareIsExtended()) GTEST_SKIP() << "no 64-bit-precision extended long double here";
  }
};

TEST_F(ShareReference, EveryCountOfUpTo3000Spins) {
  for (std::int32_t s = 1; s <= 3000; ++s) {
    for (std::int32_t c = 0; c <= s; ++c) {
      const int hardware = HardwareShare(c, s);
      ASSERT_EQ(ShareHundredths(c, s), hardware) << c << " of " << s;
      ASSERT_EQ(ExtendedShareHundredths(c, s), hardware) << c << " of " << s;
    }
  }
}

// The exact halves of a hundredth are where the two roundings decide the result.
TEST_F(ShareReference, EveryExactHalfUpToTheCapacity) {
  int halves = 0;
  for (std::int64_t s = 1; s <= MAX_SPINS; ++s) {
    const std::int64_t step = s / std::gcd(s, std::int64_t{20000});
    for (std::int64_t c = step; c <= s; c += step) {
      if ((20000 * c / s) % 2 == 0) continue;
      ++halves;
      const auto count = static_cast<std::int32_t>(c);
      const auto spins = static_cast<std::int32_t>(s);
      ASSERT_EQ(ShareHundredths(count, spins), HardwareShare(count, spins)) << c << " of " << s;
    }
  }
  EXPECT_GT(halves, 100000);
}

TEST_F(ShareReference, RandomCountsUpToTheCapacityAndBeyond) {
  std::mt19937 random(8675309);
  for (const std::int32_t limit : {MAX_SPINS, INT32_MAX}) {
    std::uniform_int_distribution<std::int32_t> spinsOf(1, limit);
    for (int i = 0; i < 2000000; ++i) {
      const std::int32_t s = spinsOf(random);
      const std::int32_t c = std::uniform_int_distribution<std::int32_t>(0, s)(random);
      const int hardware = HardwareShare(c, s);
      ASSERT_EQ(ShareHundredths(c, s), hardware) << c << " of " << s;
      ASSERT_EQ(ExtendedShareHundredths(c, s), hardware) << c << " of " << s;
    }
  }
}

}  // namespace
}  // namespace vexilo
