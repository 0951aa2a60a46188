// The shipped 32-bit exe's shares come from the x87 unit; its Windows build and the i686 Linux
// build test them. Their tests only check that arithmetic if they really run 32-bit code with the
// unit at full 64-bit precision (under Wine too, as the exe's runtime sets it); otherwise the
// share reference tests would quietly skip.

#include <gtest/gtest.h>

#include <cfloat>
#include <string_view>

namespace vexilo {
namespace {

TEST(Target, TheI686BuildRuns32BitCodeOnTheX87Unit) {
  if (std::string_view(VEXILO_TARGET_PROCESSOR) != "i686") GTEST_SKIP() << "not the i686 build";
#if defined(__i386__) && !defined(__SSE2__)
  EXPECT_EQ(sizeof(void*), 4u);
  EXPECT_EQ(sizeof(long), 4u);
  EXPECT_EQ(LDBL_MANT_DIG, 64);
  unsigned short control = 0;
  __asm__ volatile("fnstcw %0" : "=m"(control));
  EXPECT_EQ(control & 0x0F00u, 0x0300u) << "precision 64 bits, rounding to nearest";
  // 9 of 800: the extended quotient lies just above 9/800, so its product with 10000 lies just
  // above 112.5, where the exact share sits on the half.
  volatile long double count = 9;
  volatile long double spins = 800;
  EXPECT_GT(count / spins * 10000.0L, 112.5L);
#else
  FAIL() << "the i686 build was compiled for another processor or with SSE2";
#endif
}

}  // namespace
}  // namespace vexilo
