// Structure layout: touching circles around the origin, and the small
// world's pick.
#include <gtest/gtest.h>

#include <cmath>

#include "StructureLayout.h"

namespace {

float Distance(const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
  const D3DXVECTOR3 d = a - b;
  return std::sqrt(D3DXVec3Dot(&d, &d));
}

TEST(StructureLayout, HeronPointTouchesBothCircles) {
  const D3DXVECTOR3 equal = HeronPoint(10, 10, 10);
  EXPECT_NEAR(equal.x, 0.0f, 1e-4f);
  EXPECT_NEAR(equal.z, 17.3205f, 1e-3f);
  // Acute and obtuse angles at the first centre, and a tiny third circle.
  const float cases[][3] = {{10, 10, 10}, {1, 10, 10}, {10, 1, 10}, {3, 5, 0.5f}, {20, 2, 2}};
  for (const auto& c : cases) {
    const D3DXVECTOR3 p = HeronPoint(c[0], c[1], c[2]);
    EXPECT_NEAR(Distance(p, D3DXVECTOR3(c[0], 0, 0)), c[0] + c[2], 1e-3f) << c[0] << " " << c[1] << " " << c[2];
    EXPECT_NEAR(Distance(p, D3DXVECTOR3(-c[1], 0, 0)), c[1] + c[2], 1e-3f);
    EXPECT_GE(p.z, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
  }
}

TEST(StructureLayout, CentresTouchAndAreCentredOnTheOrigin) {
  const std::vector<std::vector<float>> cases = {{5}, {1, 10}, {1, 10, 10}, {4, 6, 3, 5}, {2, 2, 2, 2, 2, 2}};
  for (const auto& radii : cases) {
    const auto centres = LayoutStructureCentres(radii);
    ASSERT_EQ(centres.size(), std::min<size_t>(radii.size(), 4));
    D3DXVECTOR3 sum(0, 0, 0);
    for (const auto& c : centres) sum += c;
    EXPECT_NEAR(sum.x, 0.0f, 1e-3f);
    EXPECT_NEAR(sum.z, 0.0f, 1e-3f);
    // Every later circle touches the first two.
    for (size_t i = 1; i < centres.size(); ++i)
      EXPECT_NEAR(Distance(centres[0], centres[i]), radii[0] + radii[i], 1e-3f);
    for (size_t i = 2; i < centres.size(); ++i)
      EXPECT_NEAR(Distance(centres[1], centres[i]), radii[1] + radii[i], 1e-3f);
    if (centres.size() == 4) {
      EXPECT_LT(centres[3].z, centres[2].z);  // on the other side
    }
  }
}

TEST(StructureLayout, SmallWorldPick) {
  EXPECT_EQ(PickStructure(0, 0.5f), -1);
  EXPECT_EQ(PickStructure(2, 0.0f), 0);
  EXPECT_EQ(PickStructure(2, 0.51f), 1);
  EXPECT_EQ(PickStructure(3, 1.0f), 100 % 3);
}

}  // namespace
