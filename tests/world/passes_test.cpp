// The world's draw decisions.
#include <gtest/gtest.h>

#include "world/C3Object.h"
#include "world/WorldPasses.h"

namespace {

TEST(IsNameRenderDisabled, MatchesFirstOccurrenceFollowedByEndBlankOrComma) {
  EXPECT_TRUE(IsNameRenderDisabled("C6Fish,X6Fog", "C6Fish"));
  EXPECT_TRUE(IsNameRenderDisabled("C6Fish,X6Fog", "X6Fog"));
  EXPECT_TRUE(IsNameRenderDisabled("C6Fish,X6Fog", "Fog"));
  EXPECT_FALSE(IsNameRenderDisabled("C3LogoX C3Logo", "C3Logo"));
  EXPECT_TRUE(IsNameRenderDisabled("A B", "A"));
  EXPECT_FALSE(IsNameRenderDisabled("C6Fish", "C7Coral"));
  EXPECT_FALSE(IsNameRenderDisabled("", "C6Fish"));
  EXPECT_FALSE(IsNameRenderDisabled("C6Fish", ""));
  EXPECT_FALSE(IsNameRenderDisabled(nullptr, "C6Fish"));
}

TEST(RouteFirstPass, FlagsChooseThePass) {
  C3Object o;
  EXPECT_EQ(FirstPassRoute::kSkip, RouteFirstPass(o, false, false, false));  // culled
  o.flags = 0;
  EXPECT_EQ(FirstPassRoute::kDrawNow, RouteFirstPass(o, false, false, false));
  EXPECT_EQ(FirstPassRoute::kSkip, RouteFirstPass(o, true, false, false));
  EXPECT_EQ(FirstPassRoute::kSkip, RouteFirstPass(o, false, true, false));
  o.flags = kObjCulled | kObjAlwaysVisible;
  EXPECT_EQ(FirstPassRoute::kDrawNow, RouteFirstPass(o, false, false, false));
  o.farCulled = 1;
  EXPECT_EQ(FirstPassRoute::kSkip, RouteFirstPass(o, false, false, false));
  o.farCulled = 0;
  o.flags = kObjSorted | kObjLate;
  EXPECT_EQ(FirstPassRoute::kSorted, RouteFirstPass(o, false, false, false));
  o.flags = kObjLate;
  EXPECT_EQ(FirstPassRoute::kLate, RouteFirstPass(o, false, false, false));
  o.flags = kObjDebugOnly;
  EXPECT_EQ(FirstPassRoute::kSkip, RouteFirstPass(o, false, false, false));
  EXPECT_EQ(FirstPassRoute::kDrawNow, RouteFirstPass(o, false, false, true));
  o.flags = kObjDebugOnly | kObjSorted;
  EXPECT_FALSE(DrawInListPass(o, false, false, false));
  EXPECT_TRUE(DrawInListPass(o, false, false, true));
  EXPECT_FALSE(DrawInListPass(o, true, false, true));
  EXPECT_FALSE(DrawInListPass(o, false, true, true));
}

TEST(CompareDrawDepth, FarthestFirstWithBias) {
  C3Object a, b, c;
  a.cameraDistance = 10;
  b.cameraDistance = 8;
  c.cameraDistance = 8;
  c.sortBias = 5;
  C3Object* list[] = {&b, &a, &c};
  SortByDrawDepth(list, 3);
  EXPECT_EQ(&c, list[0]);
  EXPECT_EQ(&a, list[1]);
  EXPECT_EQ(&b, list[2]);
  C3Object* pa = &a;
  C3Object* pb = &b;
  b.cameraDistance = 10;
  EXPECT_EQ(0, CompareDrawDepth(&pa, &pb));
}

TEST(FogClearColor, ClampsAndRounds) {
  EXPECT_EQ(0xFF0080FFu, FogClearColor(D3DXVECTOR4(0.0f, 0.5f, 2.0f, 1.0f)));
  EXPECT_EQ(0x00FF0000u, FogClearColor(D3DXVECTOR4(1.0f, -1.0f, 0.0f, 0.0f)));
}

}  // namespace
