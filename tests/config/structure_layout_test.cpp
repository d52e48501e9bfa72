// Structure layout: touching circles around the origin, and the small
// world's pick.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "config/X2StructureConfig.h"
#include "pluginlists/X2StructureList.h"
#include "structures/StructureLayout.h"

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

std::vector<int> g_placeIndexes;
int X2_CDECL Place(int index, float* position, float* scale, float*, float*, float* pitch, X2HostCallbacks*) {
  g_placeIndexes.push_back(index);
  position[1] = -4.0f;
  *scale *= 2.0f;
  *pitch = 0.25f;
  return 0;
}
float Half() { return 0.5f; }

// Structures A (disabled), B and C: the small world places one of B and C
// with its own list index; the normal world lays B and C out as touching
// circles and hands every PlaceInstance the number laid out.
TEST(StructurePlacement, SmallAndNormalWorld) {
  static X2FishModel model{};
  model.scale = 1.5f;
  static const float footprint[] = {8.0f};
  static X2FishData records[3]{};
  const char* names[] = {"A", "B", "C"};
  X2StructureList list;
  for (int i = 0; i < 3; ++i) {
    strcpy(records[i].header.name, names[i]);
    strcpy(records[i].header.maker, "M");
    records[i].model = &model;
    records[i].modelCount = 1;
    records[i].footprint = footprint;
    records[i].PlaceInstance = Place;
    list.Append(&records[i].header, nullptr);
  }
  X2StructureList* saved = TheStructureList;
  TheStructureList = &list;
  X2StructureConfig config;
  for (const char* key : {"A_M", "B_M", "C_M"}) config.AddEntry(key, 1);
  config.Entry(0)->enable = 0;

  g_placeIndexes.clear();
  auto small = config.PlanPlacements(true, Half, nullptr, nullptr);
  ASSERT_EQ(small.size(), 1u);
  EXPECT_EQ(small[0].entry, 1);  // (int)(0.5 x 100) mod 2 = 0: the first enabled, B
  EXPECT_EQ(g_placeIndexes, std::vector<int>{small[0].entry});
  EXPECT_FLOAT_EQ(small[0].scale, 3.0f);
  EXPECT_NEAR(small[0].yaw, 0.5f * 6.2831855f, 1e-5f);

  g_placeIndexes.clear();
  std::vector<D3DXVECTOR3> centres;
  auto normal = config.PlanPlacements(false, Half, nullptr, &centres);
  ASSERT_EQ(normal.size(), 2u);
  EXPECT_EQ(g_placeIndexes, (std::vector<int>{2, 2}));
  const float r = 8.0f * 1.25f + 5.0f;
  EXPECT_NEAR(Distance(normal[0].position - D3DXVECTOR3(0, normal[0].position.y, 0),
                       normal[1].position - D3DXVECTOR3(0, normal[1].position.y, 0)), 2 * r, 1e-3f);
  EXPECT_FLOAT_EQ(normal[0].position.y, -4.0f);
  EXPECT_FLOAT_EQ(normal[1].pitch, 0.25f);
  // No entry enabled: nothing placed.
  config.Entry(1)->enable = config.Entry(2)->enable = 0;
  EXPECT_TRUE(config.PlanPlacements(true, Half, nullptr, nullptr).empty());
  TheStructureList = saved;
}

}  // namespace
