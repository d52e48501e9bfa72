// The render texture's decisions without a device: billboard or real object
// per clone, the quads' vertices, the buffer segments, the room for quads.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "clones/C4RenderTexture.h"
#include "clones/CloneQuads.h"
#include "fish/C6Fish.h"

namespace {

const D3DXVECTOR3 kEye(0.0f, 0.0f, 0.0f);

class CloneQuadsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source.flags = 0;
    source.sourceCaptured = 1;
    source.cloneSource = &source;
  }
  // A visible clone of the source at distance z straight ahead.
  C6Fish* Clone(float z) {
    fish.push_back(std::make_unique<C6Fish>());
    C6Fish* f = fish.back().get();
    f->flags = kObjSorted;
    f->cloneSource = &source;
    f->position = D3DXVECTOR3(0.0f, 0.0f, z);
    list.push_back(f);
    return f;
  }
  int Build(const D3DXVECTOR3* eye = &kEye) {
    return BuildCloneQuads(list.data(), static_cast<int>(list.size()), eye, &vertices);
  }

  C6Fish source;
  std::vector<std::unique_ptr<C6Fish>> fish;
  std::vector<C3Object*> list;
  std::vector<float> vertices;
};

TEST_F(CloneQuadsTest, NearClonesDrawThemselvesInTheSortedPass) {
  EXPECT_EQ(0, BuildCloneQuads(nullptr, 0, &kEye, &vertices));
  C6Fish* a = Clone(1.0f);
  C6Fish* b = Clone(4.99f);
  EXPECT_EQ(0, Build());
  for (C6Fish* f : {a, b}) {
    EXPECT_EQ(1, f->drawAsMesh);
    EXPECT_TRUE(f->HasFlag(kObjSorted));
  }
  EXPECT_FLOAT_EQ(4.99f, b->cameraDistance);
}

TEST_F(CloneQuadsTest, FiveUnitsAwayIsABillboard) {
  C6Fish* c = Clone(5.0f);
  c->drawAsMesh = 1;
  ASSERT_EQ(1, Build());
  EXPECT_EQ(0, c->drawAsMesh);
  EXPECT_FALSE(c->HasFlag(kObjSorted));
  EXPECT_FLOAT_EQ(5.0f, c->cameraDistance);
  // Six vertices at the clone: position, (0, 1, 0), the corner sequence.
  const float uv[6][2] = {{0, 0}, {0, 0}, {0, 1}, {1, 0}, {1, 1}, {1, 1}};
  ASSERT_GE(vertices.size(), static_cast<size_t>(kCloneQuadFloats));
  for (int i = 0; i < 6; ++i) {
    const float* v = &vertices[i * kCloneVertexFloats];
    EXPECT_EQ(0.0f, v[0]);
    EXPECT_EQ(5.0f, v[2]);
    EXPECT_EQ(1.0f, v[4]);
    EXPECT_EQ(uv[i][0], v[6]);
    EXPECT_EQ(uv[i][1], v[7]);
  }
}

TEST_F(CloneQuadsTest, HiddenAndUncapturedClones) {
  C6Fish* hidden = Clone(20.0f);
  hidden->flags |= kObjCulled;
  hidden->drawAsMesh = 1;
  C6Fish* orphan = Clone(20.0f);
  orphan->cloneSource = nullptr;
  C6Fish* shown = Clone(20.0f);
  EXPECT_EQ(1, Build());
  EXPECT_EQ(0, hidden->drawAsMesh);
  EXPECT_FALSE(hidden->HasFlag(kObjSorted));
  EXPECT_EQ(1, orphan->drawAsMesh);
  EXPECT_EQ(0, shown->drawAsMesh);

  // The source was not drawn this frame: every clone draws itself.
  source.sourceCaptured = 0;
  EXPECT_EQ(0, Build());
  EXPECT_EQ(1, shown->drawAsMesh);
  EXPECT_FALSE(shown->HasFlag(kObjSorted));
  // No camera: no distances, no quads.
  source.sourceCaptured = 1;
  EXPECT_EQ(0, Build(nullptr));
  EXPECT_EQ(1, shown->drawAsMesh);
}

TEST_F(CloneQuadsTest, ArrayGrowsForClonesAddedLater) {
  Clone(10.0f);
  Clone(11.0f);
  vertices.assign(CloneArrayFloats(2), 0.0f);
  EXPECT_EQ(static_cast<size_t>((6 * 2 + 10) * 8), vertices.size());
  for (int i = 0; i < 5; ++i) Clone(12.0f + i);
  ASSERT_EQ(7, Build());
  ASSERT_GE(vertices.size(), static_cast<size_t>(7 * kCloneQuadFloats));
  for (int q = 0; q < 7; ++q) EXPECT_EQ(10.0f + q, vertices[q * kCloneQuadFloats + 2]) << q;
}

TEST(CloneSegments, FiveRendersUseSegmentsOneTwoThreeZeroOne) {
  int counter = 0;
  const int expected[5] = {1, 2, 3, 0, 1};
  for (int i = 0; i < 5; ++i) {
    CloneSegmentDraw d = NextCloneSegment(&counter, 0, 3);
    EXPECT_EQ(expected[i], d.segment);
    EXPECT_EQ(expected[i] == 0 ? static_cast<DWORD>(D3DLOCK_DISCARD) : static_cast<DWORD>(D3DLOCK_NOOVERWRITE),
              d.lockFlags);
    EXPECT_EQ(static_cast<UINT>(expected[i] * 0x7000), d.offset);
    EXPECT_EQ(d.offset / 32, d.firstVertex);
    EXPECT_EQ(16u, d.primitives);
    EXPECT_EQ(3u * 192u, d.lockBytes);
  }
}

TEST(CloneSegments, NoBatchOutgrowsItsSegment) {
  EXPECT_EQ(149, kMaxQuadsPerSegment);
  EXPECT_EQ(114688, kCloneBufferBytes);
  int counter = 3;
  std::vector<CloneSegmentDraw> draws = PlanCloneDraws(&counter, 300);
  ASSERT_EQ(3u, draws.size());
  const int quads[3] = {149, 149, 2};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(i, draws[i].segment);
    EXPECT_EQ(i * 149, draws[i].firstQuad);
    EXPECT_EQ(quads[i], draws[i].quads);
    EXPECT_LE(draws[i].lockBytes, static_cast<UINT>(kCloneSegmentBytes));
    EXPECT_EQ(static_cast<UINT>(6 * quads[i] - 2), draws[i].primitives);
  }
  EXPECT_EQ(static_cast<DWORD>(D3DLOCK_DISCARD), draws[0].lockFlags);
  EXPECT_EQ(149, NextCloneSegment(&counter, 0, 1000).quads);
  EXPECT_TRUE(PlanCloneDraws(&counter, 0).empty());
  EXPECT_EQ(1u, PlanCloneDraws(&counter, 149).size());
}

TEST(CloneTarget, EdgeIsHalfTheImpostorSize) {
  EXPECT_EQ(128, RenderTargetEdge(256));
  EXPECT_EQ(64, RenderTargetEdge(128));
  for (int bad : {0, 1, -64, 100000}) EXPECT_EQ(128, RenderTargetEdge(bad)) << bad;
}

TEST(CloneTarget, SourceCameraCentresTheSourceAndSpansItsExtent) {
  D3DXVECTOR3 source(3.0f, 1.0f, 10.0f);
  D3DXMATRIX view, projection;
  SourceViewProjection(source, D3DXVECTOR3(0.0f, 0.0f, 1.0f), 10.0f, 1.4f, &view, &projection);
  D3DXMATRIX vp = view * projection;
  D3DXVECTOR3 centre, top;
  D3DXVec3TransformCoord(&centre, &source, &vp);
  EXPECT_NEAR(0.0f, centre.x, 1e-5f);
  EXPECT_NEAR(0.0f, centre.y, 1e-5f);
  D3DXVECTOR3 above = source + D3DXVECTOR3(0.0f, 0.7f, 0.0f);
  D3DXVec3TransformCoord(&top, &above, &vp);
  EXPECT_NEAR(1.0f, top.y, 0.01f);
  // Looking straight down still gives a usable camera.
  SourceViewProjection(source, D3DXVECTOR3(0.0f, -1.0f, 0.0f), 10.0f, 1.4f, &view, &projection);
  for (int i = 0; i < 16; ++i) EXPECT_FALSE(std::isnan(static_cast<const float*>(view)[i])) << i;
}

TEST(RenderTextureObject, BindsEachCloneOnceAndWaitsForADevice) {
  C4RenderTexture texture;
  EXPECT_STREQ("C4RenderTexture", texture.className);
  EXPECT_TRUE(texture.HasFlag(kObjAlwaysVisible));
  C6Fish source, clone;
  source.flags = clone.flags = 0;
  source.cloneSource = clone.cloneSource = &source;
  texture.SetSource(&source);
  texture.AddObject(&source);
  texture.AddObject(&clone);
  texture.AddObject(&clone);
  texture.AddObject(nullptr);
  EXPECT_EQ(&source, texture.Source());
  EXPECT_EQ(2, texture.Clones().count);
  // No device: nothing is made, the source is not captured, the clones draw themselves.
  EXPECT_EQ(0, texture.RestoreDeviceObjects());
  texture.RenderSource(&source);
  texture.RenderSource(nullptr);
  EXPECT_EQ(0, source.sourceCaptured);
  texture.Move(0.0f, 0.0f);
  EXPECT_EQ(0, texture.QuadCount());
  EXPECT_EQ(1, clone.drawAsMesh);
  EXPECT_EQ(0, texture.Render());
  // Invalidation keeps the clones; the final clean-up lets them go.
  EXPECT_EQ(0, texture.InvalidateDeviceObjects());
  EXPECT_EQ(2, texture.Clones().count);
  texture.FinalCleanUp();
  EXPECT_EQ(0, texture.Clones().count);
  EXPECT_EQ(nullptr, texture.Source());
}

}  // namespace
