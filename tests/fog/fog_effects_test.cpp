// The fog effects' decisions without a device: fog colour and range over
// time, the side planes (wide screens included), halation points and fish
// glints, the soft-fog sprites by texture, and segment spheres, culling and
// the draw calls of the visible segments.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "LogTestSupport.h"
#include "fog/HalationQuads.h"
#include "fog/SegmentPlan.h"
#include "fog/SidePlanes.h"
#include "fog/SoftFogLayout.h"
#include "fog/X1Halation.h"
#include "fog/X6Fog.h"
#include "fog/X7SegmentObject.h"
#include "frame/C3SceneHost.h"
#include "servers/ShaderConstantCopy.h"

namespace {

class LightsHost : public C3SceneHost {
 public:
  int GetSceneSetting(int pos) override { return pos == 3 ? lights : 0; }
  int lights = 0;
};

class HostScope {
 public:
  explicit HostScope(C3SceneHost* host) { SetSceneHost(host); }
  ~HostScope() { SetSceneHost(nullptr); }
};

void ExpectVec(const D3DXVECTOR4& v, float x, float y, float z, float w) {
  EXPECT_NEAR(v.x, x, 1e-5f);
  EXPECT_NEAR(v.y, y, 1e-5f);
  EXPECT_NEAR(v.z, z, 1e-5f);
  EXPECT_NEAR(v.w, w, 1e-5f);
}

const D3DXVECTOR3 kAlongZ(0.0f, 0.0f, 1.0f);

}  // namespace

// ---- Fog -------------------------------------------------------------------

TEST(Fog, ColourAndRangeAtTheStartOfTheScene) {
  LightsHost host;
  HostScope scope(&host);
  ClearShaderConstantCopy();
  X6Fog fog;
  fog.Move(0.0f, 0.0f);
  ExpectVec(fog.Colour(), 0.0f, 0.56f, 1.2f, 1.0f);
  EXPECT_FLOAT_EQ(fog.fogStart, 20.0f);
  EXPECT_FLOAT_EQ(fog.fogEnd, 50.0f);
  fog.SetShaderConstants();  // no device: the copy alone
  const float* c23 = VertexConstantCopy(23);
  EXPECT_FLOAT_EQ(c23[0], 0.0f);
  EXPECT_FLOAT_EQ(c23[1], 50.0f);
  EXPECT_FLOAT_EQ(c23[2], 1.0f / 30.0f);
  EXPECT_FLOAT_EQ(c23[3], 0.0f);
}

TEST(Fog, TheRangeStartsBetween15And25UnitsOnAOneMinuteSwing) {
  const D3DXVECTOR4 base(0.0f, 0.4f, 1.0f, 1.0f);
  // sin(0.1 t) is 1 at t = 5 pi and -1 at t = 15 pi; the swing repeats every 20 pi.
  const struct {
    float t, start;
  } cases[] = {{0.0f, 20.0f}, {5.0f * D3DX_PI, 25.0f}, {15.0f * D3DX_PI, 15.0f}, {25.0f * D3DX_PI, 25.0f}};
  for (const auto& c : cases) {
    const FogFrame f = AnimateFog(base, c.t, kFogRate);
    EXPECT_NEAR(f.start, c.start, 1e-3f) << c.t;
    EXPECT_EQ(f.end, 50.0f);
    EXPECT_EQ(f.colour.w, 1.0f);
  }
}

TEST(Fog, AnUnknownLightsValueKeepsTheLastColourWithoutCompounding) {
  LightsHost host;
  HostScope scope(&host);
  host.lights = 1;
  X6Fog fog;
  fog.Move(4.0f, 3.9f);
  const D3DXVECTOR4 lit = fog.colour;
  host.lights = 3;
  for (int i = 0; i < 10; ++i) fog.Move(4.0f, 3.9f);
  EXPECT_EQ(fog.colour, lit);
  host.lights = 2;
  fog.Move(4.0f, 3.9f);
  EXPECT_EQ(fog.colour, AnimateFog(D3DXVECTOR4(0.0f, 0.1f, 0.4f, 0.6f), 4.0f, kFogRate).colour);
}

// ---- Side planes -----------------------------------------------------------

TEST(SidePlanes, HalfAnglesStayWithinAHalfTurn) {
  const float fov = D3DX_PI / 3.0f;
  struct Case {
    float aspect;
    float h;
  } cases[] = {
      {4.0f / 3.0f, 4.0f / 3.0f * (D3DX_PI / 6.0f + D3DX_PI / 2.0f)},
      {1.0f, D3DX_PI / 6.0f + D3DX_PI / 2.0f},
      {16.0f / 9.0f, D3DX_PI},
      {21.0f / 9.0f, D3DX_PI},
      {0.0f, D3DX_PI / 6.0f + D3DX_PI / 2.0f},  // no back buffer: square
  };
  for (const Case& c : cases) {
    float v, h;
    SidePlaneAngles(fov, c.aspect, &v, &h);
    EXPECT_FLOAT_EQ(v, D3DX_PI / 6.0f + D3DX_PI / 2.0f) << c.aspect;
    EXPECT_FLOAT_EQ(h, c.h) << c.aspect;
  }
}

TEST(SidePlanes, WhatLiesAheadPassesOnEveryScreenShape) {
  const D3DXVECTOR3 eye(1.0f, 2.0f, 3.0f);
  const D3DXVECTOR3 directions[] = {kAlongZ, D3DXVECTOR3(1.0f, 0.0f, 0.0f), D3DXVECTOR3(0.6f, 0.0f, -0.8f),
                                    D3DXVECTOR3(0.0f, -1.0f, 0.0f)};
  for (float aspect : {4.0f / 3.0f, 16.0f / 9.0f, 2.4f, 32.0f / 9.0f}) {
    for (const D3DXVECTOR3& d : directions) {
      SCOPED_TRACE(aspect);
      SidePlanes planes;
      BuildSidePlanes(eye, d, D3DX_PI / 3.0f, aspect, &planes);
      EXPECT_TRUE(PassesSidePlanes(planes, eye + 10.0f * d, 0.0f));
      EXPECT_FALSE(PassesSidePlanes(planes, eye - 10.0f * d, 0.0f));
    }
  }
}

// ---- Halation --------------------------------------------------------------

TEST(Halation, SizeByIntensity) {
  EXPECT_FLOAT_EQ(HalationSize(0.9f), 0.045f);
  EXPECT_FLOAT_EQ(HalationSize(0.91f), 0.091f);
  EXPECT_FLOAT_EQ(HalationSize(0.0f), 0.0f);
}

TEST(Halation, The201stPointOfAFrameIsDroppedWithALogLine) {
  X1Halation halation;
  for (int i = 0; i < kMaxHalationPoints; ++i) halation.AddPoint(float(i), 1.0f, 2.0f, 0.5f);
  CreateDirectoryA("c:\\log", nullptr);
  const size_t before = qvtest::ReadLog().size();
  SetDebugLogLevel(1);
  halation.AddPoint(999.0f, 1.0f, 2.0f, 0.5f);
  SetDebugLogLevel(0);
  EXPECT_EQ(halation.PointCount(), kMaxHalationPoints);
  EXPECT_EQ(halation.points[kMaxHalationPoints - 1].x, float(kMaxHalationPoints - 1));
  EXPECT_NE(qvtest::ReadLog().find("KWEX X1HALATION Add\r\n", before), std::string::npos);
  halation.ResetPoints();
  EXPECT_EQ(halation.PointCount(), 0);
  halation.AddPoint(7.0f, 8.0f, 9.0f, 0.25f);
  EXPECT_EQ(halation.PointCount(), 1);
  EXPECT_EQ(halation.points[0], D3DXVECTOR3(7.0f, 8.0f, 9.0f));
  EXPECT_EQ(halation.intensities[0], 0.25f);
}

TEST(Halation, AFishGlintsWhenItsSideMirrorsTheSunTowardsTheCamera) {
  const D3DXVECTOR3 overhead(0.0f, -1.0f, 0.0f);
  const D3DXVECTOR3 fish(0.0f, 0.0f, 0.0f);
  // Heading turned from x towards z by a: q = 1 - |H . heading| with
  // H = (0, 0.707, -0.707) for a camera on -z and the sun overhead.
  auto turned = [](float degrees) {
    const float a = D3DXToRadian(degrees);
    return D3DXVECTOR3(std::cos(a), 0.0f, std::sin(a));
  };
  const float q10 = 1.0f - std::sin(D3DXToRadian(10.0f)) * 0.70710678f;
  struct Case {
    const char* what;
    D3DXVECTOR3 camera, heading;
    bool glints;
    float intensity;
  } cases[] = {
      {"side on", {0, 0, -5}, turned(0.0f), true, 1.0f},
      {"slightly turned", {0, 0, -5}, turned(10.0f), true, ((q10 - 0.8f) * 5.0f) * ((q10 - 0.8f) * 5.0f)},
      {"head on", {0, 0, -5}, turned(90.0f), false, 0.0f},
      {"camera in the sun's path", {0, 5, 0}, turned(0.0f), false, 0.0f},
      {"camera on the fish", {0, 0, 0}, turned(0.0f), false, 0.0f},
  };
  for (const Case& c : cases) {
    float intensity = -1.0f;
    EXPECT_EQ(FishGlint(overhead, c.camera, fish, c.heading, &intensity), c.glints) << c.what;
    if (c.glints) {
      EXPECT_NEAR(intensity, c.intensity, 1e-4f) << c.what;
    }
  }
}

// ---- Soft fog --------------------------------------------------------------

TEST(SoftFog, TextureGroupsNeverPassTheLastTexture) {
  EXPECT_EQ(SoftFogGroup(0, 100, 4), 0);
  EXPECT_EQ(SoftFogGroup(24, 100, 4), 0);
  EXPECT_EQ(SoftFogGroup(25, 100, 4), 1);
  EXPECT_EQ(SoftFogGroup(99, 100, 4), 3);
  EXPECT_EQ(SoftFogGroup(9, 10, 4), 3);  // 9 / 2 would be a fifth texture
  EXPECT_EQ(SoftFogGroup(2, 3, 4), 2);
  EXPECT_EQ(SoftFogGroup(5, 10, 0), 0);
}

TEST(SoftFog, SpritesNearTheViewBecomeQuadsGroupedByTexture) {
  SidePlanes planes;
  planes.eye = D3DXVECTOR3(0, 0, 0);
  for (D3DXVECTOR3& n : planes.normals) n = D3DXVECTOR3(-1.0f, 0.0f, 0.0f);  // everything at x >= 0 is in
  // Groups of two (8 sprites, 4 textures).
  const D3DXVECTOR3 sprites[8] = {{5, 0, 0}, {-9.9f, 0, 0}, {-10.5f, 0, 0}, {0.5f, 0, 0},
                                  {20, 0, 0}, {-30, 0, 0},  {-30, 0, 0},    {60, 1, 2}};
  std::vector<float> v(kSoftFogArrayVertices * kSoftFogVertexFloats);
  int groups[kSoftFogGroups];
  // In: 0 (group 0), 1 (10 units outside at most, group 0), 4 (group 2),
  // 7 (group 3). Out: 2 (past the margin), 3 (within 1 unit), 5, 6.
  ASSERT_EQ(BuildSoftFogQuads(sprites, 8, 4, planes, v.data(), 100, groups), 4);
  const int expected[kSoftFogGroups] = {2, 0, 1, 1, 0, 0, 0, 0, 0, 0};
  for (int j = 0; j < kSoftFogGroups; ++j) EXPECT_EQ(groups[j], expected[j]) << j;
  EXPECT_EQ(D3DXVECTOR3(v[96], v[97], v[98]), sprites[7]);  // the fourth quad's first vertex
  SoftFogDraw draws[kSoftFogGroups];
  ASSERT_EQ(PlanSoftFogDraws(groups, draws), 3);
  const SoftFogDraw want[3] = {{0, 0, 8, 4}, {2, 8, 4, 2}, {3, 12, 4, 2}};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(draws[k].texture, want[k].texture);
    EXPECT_EQ(draws[k].baseVertex, want[k].baseVertex);
    EXPECT_EQ(draws[k].vertices, want[k].vertices);
    EXPECT_EQ(draws[k].triangles, want[k].triangles);
  }
}

// ---- Segments --------------------------------------------------------------

namespace {

std::vector<X2AttributeRange> Contiguous(int count) {
  std::vector<X2AttributeRange> r;
  for (int i = 0; i < count; ++i)
    r.push_back(X2AttributeRange{uint32_t(i), uint32_t(2 * i), 2, uint32_t(4 * i), 4});
  return r;
}

// Rows of two faces along z, one attribute range each: row r spans x from -1
// to 1 and z from 10 r to 10 r + 8, at height 0.5. Only the positions are set.
struct RowMesh {
  explicit RowMesh(int rows) : ranges(Contiguous(rows)), data(rows * 4 * 8, 0.0f) {
    for (int v = 0; v < rows * 4; ++v) {
      data[v * 8 + 0] = (v & 1) ? 1.0f : -1.0f;
      data[v * 8 + 1] = 0.5f;
      data[v * 8 + 2] = 10.0f * static_cast<float>(v / 4) + ((v & 2) ? 8.0f : 0.0f);
    }
    mesh.vertexCount = static_cast<uint32_t>(rows * 4);
    mesh.vertices = data.data();
    mesh.primitiveCount = static_cast<uint32_t>(rows * 2);
    mesh.stride = X2_STRIDE_VERTEX;
    mesh.attributeRanges = ranges.data();
    mesh.attributeRangeCount = static_cast<uint32_t>(rows);
  }
  std::vector<X2AttributeRange> ranges;
  std::vector<float> data;
  X2FishMesh mesh{};
};

}  // namespace

TEST(Segments, EachBuildReplacesTheListsWithOneSphereARange) {
  RowMesh rows(4);
  X7SegmentObject object;
  object.AddMesh(&rows.mesh);
  for (int restore = 0; restore < 3; ++restore) {
    object.BuildSegments();
    ASSERT_EQ(object.spheres.size(), 4u);
    EXPECT_EQ(object.hidden, std::vector<uint32_t>(4, 0u));
  }
  EXPECT_EQ(object.spheres[2].centre, D3DXVECTOR3(0.0f, 0.5f, 24.0f));
  EXPECT_FLOAT_EQ(object.spheres[2].radius, std::sqrt(17.0f));
  // A range reaching past the vertices is measured over those it has.
  rows.ranges[3].vertexCount = 400;
  EXPECT_EQ(BuildSegmentSpheres(rows.mesh)[3].centre, D3DXVECTOR3(0.0f, 0.5f, 34.0f));
}

TEST(Segments, CulledAgainstTheSidePlanesAndTheFarDistance) {
  SidePlanes planes;
  BuildSidePlanes(D3DXVECTOR3(0, 0, 0), kAlongZ, D3DX_PI / 3.0f, 4.0f / 3.0f, &planes);
  SegmentView view{D3DXVECTOR3(0, 0, 0), kAlongZ, planes.normals, 4, 100.0f};
  const std::vector<SegmentSphere> spheres = {
      {{0, 0, 10}, 1.0f},    // ahead
      {{0, 0, -10}, 1.0f},   // behind
      {{0, 0, 72}, 1.0f},    // past 70 + r
      {{0, 0, 70.5f}, 1.0f}, // within 70 + r
      {{0, 9, 10}, 1.0f},    // above the view
      {{0, 9, 10}, 5.0f},    // above, but large enough to reach in
  };
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  std::vector<uint32_t> hidden;
  CullSegments(spheres, identity, 1.0f, view, &hidden);
  EXPECT_EQ(hidden, (std::vector<uint32_t>{0, 1, 1, 0, 1, 0}));
  // Carried by the world matrix and the scale.
  D3DXMATRIX back;
  D3DXMatrixTranslation(&back, 0.0f, 0.0f, -15.0f);
  CullSegments(spheres, back, 1.0f, view, &hidden);
  EXPECT_EQ(hidden[0], 1u);
  CullSegments(spheres, identity, 0.1f, view, &hidden);
  EXPECT_EQ(hidden[5], 1u);
  // The dual view tests the first two planes only.
  view.planeCount = 2;
  std::vector<SegmentSphere> aside = {{{30, 0, 10}, 1.0f}};
  CullSegments(aside, identity, 1.0f, view, &hidden);
  EXPECT_EQ(hidden[0], 0u);
}

TEST(Segments, VisibleRunsMergeIntoOneDrawEach) {
  const std::vector<X2AttributeRange> ranges = Contiguous(5);
  struct Case {
    const char* what;
    std::vector<uint32_t> hidden;
    bool merge;
    std::vector<SegmentDraw> draws;
  } cases[] = {
      {"three visible", {0, 0, 0, 1, 1}, true, {{0, 12, 0, 6}}},
      {"middle hidden", {0, 1, 0, 1, 1}, true, {{0, 4, 0, 2}, {8, 4, 12, 2}}},
      {"all visible", {0, 0, 0, 0, 0}, true, {{0, 20, 0, 10}}},
      {"none visible", {1, 1, 1, 1, 1}, true, {}},
      {"last alone", {1, 1, 1, 1, 0}, true, {{16, 4, 24, 2}}},
      {"unmerged", {0, 0, 1, 0, 1}, false, {{0, 4, 0, 2}, {4, 4, 6, 2}, {12, 4, 18, 2}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const SegmentDrawPlan plan = PlanSegmentDraws(ranges.data(), 5, c.hidden, c.merge, 20, 10);
    EXPECT_EQ(plan.brokenRun, 0);
    ASSERT_EQ(plan.draws.size(), c.draws.size());
    for (size_t k = 0; k < c.draws.size(); ++k) {
      EXPECT_EQ(plan.draws[k].minIndex, c.draws[k].minIndex) << k;
      EXPECT_EQ(plan.draws[k].vertexCount, c.draws[k].vertexCount) << k;
      EXPECT_EQ(plan.draws[k].startIndex, c.draws[k].startIndex) << k;
      EXPECT_EQ(plan.draws[k].primitiveCount, c.draws[k].primitiveCount) << k;
    }
  }
}

TEST(Segments, ARunThatDoesNotContinueGivesUpMerging) {
  std::vector<X2AttributeRange> vertexGap = Contiguous(3);
  vertexGap[1].vertexStart = 5;
  vertexGap[2].vertexStart = 9;
  std::vector<X2AttributeRange> faceGap = Contiguous(3);
  faceGap[1].faceStart = 3;
  faceGap[2].faceStart = 5;
  const std::vector<uint32_t> visible(3, 0u);
  SegmentDrawPlan plan = PlanSegmentDraws(vertexGap.data(), 3, visible, true, 13, 6);
  EXPECT_EQ(plan.brokenRun, 1);
  ASSERT_EQ(plan.draws.size(), 3u);  // drawn one by one instead
  EXPECT_EQ(plan.draws[1].minIndex, 5u);
  plan = PlanSegmentDraws(faceGap.data(), 3, visible, true, 12, 7);
  EXPECT_EQ(plan.brokenRun, 2);
  ASSERT_EQ(plan.draws.size(), 3u);
  EXPECT_EQ(plan.draws[2].startIndex, 15u);
  // A gap next to a hidden segment breaks nothing.
  plan = PlanSegmentDraws(vertexGap.data(), 3, {0, 1, 0}, true, 13, 6);
  EXPECT_EQ(plan.brokenRun, 0);
  EXPECT_EQ(plan.draws.size(), 2u);
}

TEST(Segments, RangesWithoutFacesOrPastTheMeshAreNeverDrawn) {
  std::vector<X2AttributeRange> ranges = Contiguous(4);
  ranges[1].faceCount = 0;
  ranges[3].faceStart = 100;
  const std::vector<uint32_t> visible(4, 0u);
  for (bool merge : {true, false}) {
    const SegmentDrawPlan plan = PlanSegmentDraws(ranges.data(), 4, visible, merge, 16, 8);
    ASSERT_EQ(plan.draws.size(), 2u) << merge;
    EXPECT_EQ(plan.draws[0].minIndex, 0u);
    EXPECT_EQ(plan.draws[1].minIndex, 8u);
  }
  // Fewer flags than ranges: the segments without one are not drawn.
  EXPECT_EQ(PlanSegmentDraws(ranges.data(), 4, {0}, true, 16, 8).draws.size(), 1u);
  EXPECT_TRUE(PlanSegmentDraws(nullptr, 4, visible, true, 16, 8).draws.empty());
}
