#include <gtest/gtest.h>

#include <ostream>

#include "dsp/small_effects.h"

namespace qv {
namespace {

struct Stored {
  int type;
  SmallEffectParams initial;  // value1 of type 3 is the caller's own
  SmallEffectParams set;
  SmallEffectParams got;
};

void PrintTo(const Stored& c, std::ostream* os) {
  *os << "type " << c.type << " set " << c.set.on << ":" << c.set.value1 << ":" << c.set.value2;
}

class SmallEffectStore : public ::testing::TestWithParam<Stored> {};

TEST_P(SmallEffectStore, StoresWithItsClampsAndReturns) {
  const Stored tc = GetParam();
  SmallEffects effects;
  SmallEffectParams out{-7, -7, -7};
  ASSERT_TRUE(effects.Get(tc.type, &out));
  EXPECT_EQ(tc.initial.on, out.on);
  EXPECT_EQ(tc.initial.value1, out.value1);
  EXPECT_EQ(tc.initial.value2, out.value2);
  ASSERT_TRUE(effects.Set(tc.type, tc.set));
  out = SmallEffectParams{-7, -7, -7};
  ASSERT_TRUE(effects.Get(tc.type, &out));
  EXPECT_EQ(tc.got.on, out.on);
  EXPECT_EQ(tc.got.value1, out.value1);
  EXPECT_EQ(tc.got.value2, out.value2);
}

INSTANTIATE_TEST_SUITE_P(
    Types, SmallEffectStore,
    ::testing::Values(Stored{0, {0, 100, 20}, {1, 250, 70}, {1, 250, 70}},
                      Stored{1, {0, 100, 20}, {1, -5, 1000}, {1, -5, 1000}},
                      Stored{2, {0, 0, 20}, {1, 55, 40}, {1, 0, 40}},
                      Stored{2, {0, 0, 20}, {1, 5, 150}, {1, 0, 100}},
                      Stored{2, {0, 0, 20}, {1, 5, -3}, {1, 0, 0}},
                      Stored{3, {0, -7, 50}, {1, 33, 77}, {1, -7, 77}},
                      Stored{3, {0, -7, 50}, {0, 33, 500}, {0, -7, 500}}));

TEST(SmallEffectStoreEdges, TypesOutsideZeroToThreeDoNothing) {
  SmallEffects effects;
  for (int type : {4, 5, -1, 1000}) {
    SmallEffectParams p{3, 4, 5};
    EXPECT_FALSE(effects.Set(type, p)) << type;
    EXPECT_FALSE(effects.Get(type, &p)) << type;
    EXPECT_EQ(3, p.on);
    EXPECT_EQ(4, p.value1);
    EXPECT_EQ(5, p.value2);
  }
  SmallEffectParams p{};
  ASSERT_TRUE(effects.Get(0, &p));
  EXPECT_EQ(100, p.value1);  // untouched by the rejected calls
}

TEST(SmallEffectStoreEdges, TheTwoDelaysAreIndependent) {
  SmallEffects effects;
  ASSERT_TRUE(effects.Set(1, SmallEffectParams{1, 300, 90}));
  SmallEffectParams d0{}, d1{};
  effects.Get(0, &d0);
  effects.Get(1, &d1);
  EXPECT_EQ(0, d0.on);
  EXPECT_EQ(100, d0.value1);
  EXPECT_EQ(300, d1.value1);
}

}  // namespace
}  // namespace qv
