#include <gtest/gtest.h>

#include <cmath>

#include "fish/BuiltinFish.h"
#include "fish/C5MorphAnimation.h"

namespace {

void ExpectFinite(const MorphBlend& b) {
  for (float w : b.weights) EXPECT_TRUE(std::isfinite(w));
}

TEST(MorphBlend, RingOfFramesAndWeights) {
  // Halfway between frames 2 and 3 of 8, pure animation.
  MorphBlend b = ComputeMorphBlend(0, 1, 8, 1.0f, 2.5f);
  EXPECT_EQ(b.streams[0], 0);
  EXPECT_EQ(b.streams[1], 3);
  EXPECT_EQ(b.streams[2], 4);
  EXPECT_FLOAT_EQ(b.weights[0], 0.0f);
  EXPECT_FLOAT_EQ(b.weights[1], 0.5f);
  EXPECT_FLOAT_EQ(b.weights[2], 0.5f);

  // Less strength blends towards the rest pose; the weights sum to 1.
  b = ComputeMorphBlend(0, 1, 8, 0.4f, 5.25f);
  EXPECT_EQ(b.streams[1], 6);
  EXPECT_EQ(b.streams[2], 7);
  EXPECT_FLOAT_EQ(b.weights[0], 0.6f);
  EXPECT_FLOAT_EQ(b.weights[1], 0.4f * 0.75f);
  EXPECT_FLOAT_EQ(b.weights[2], 0.4f * 0.25f);
  EXPECT_FLOAT_EQ(b.weights[0] + b.weights[1] + b.weights[2], 1.0f);
  EXPECT_FLOAT_EQ(b.weights[3], 0.0f);
}

TEST(MorphBlend, LastFrameBlendsIntoFirstAndTheEndWraps) {
  MorphBlend b = ComputeMorphBlend(0, 1, 8, 1.0f, 7.25f);
  EXPECT_EQ(b.streams[1], 8);
  EXPECT_EQ(b.streams[2], 1);
  EXPECT_FLOAT_EQ(b.weights[2], 0.25f);

  b = ComputeMorphBlend(0, 1, 8, 1.0f, 8.0f);
  EXPECT_EQ(b.streams[1], 1);
  EXPECT_EQ(b.streams[2], 2);
  EXPECT_FLOAT_EQ(b.weights[1], 1.0f);
  EXPECT_FLOAT_EQ(b.weights[2], 0.0f);

  // Beyond the ring and below zero the position wraps instead of reaching
  // frames that do not exist.
  b = ComputeMorphBlend(0, 1, 8, 1.0f, 17.5f);
  EXPECT_EQ(b.streams[1], 2);
  EXPECT_FLOAT_EQ(b.weights[2], 0.5f);
  b = ComputeMorphBlend(0, 1, 8, 1.0f, -0.5f);
  EXPECT_EQ(b.streams[1], 8);
  EXPECT_EQ(b.streams[2], 1);
  EXPECT_FLOAT_EQ(b.weights[1], 0.5f);
}

TEST(MorphBlend, NoFramesOrBadInputShowsTheRestPose) {
  for (MorphBlend b : {ComputeMorphBlend(0, 1, 0, 1.0f, 0.5f), ComputeMorphBlend(0, 1, 8, NAN, 0.5f),
                       ComputeMorphBlend(0, 1, 8, 1.0f, INFINITY)}) {
    EXPECT_EQ(b.streams[1], 0);
    EXPECT_EQ(b.streams[2], 0);
    EXPECT_FLOAT_EQ(b.weights[0], 1.0f);
    ExpectFinite(b);
  }
  MorphBlend one = ComputeMorphBlend(0, 1, 1, 1.0f, 0.75f);  // a single frame blends with itself
  EXPECT_EQ(one.streams[1], 1);
  EXPECT_EQ(one.streams[2], 1);
}

TEST(MorphAnimation, EveryBuiltinSpeciesRingStaysInsideItsMeshes) {
  int count = 0;
  const X2FishData* const* species = GetBuiltinSpecies(&count);
  ASSERT_EQ(count, 7);
  for (int s = 0; s < count; ++s) {
    const X2FishModel* m = species[s]->model;
    ASSERT_NE(m, nullptr);
    ASSERT_GT(m->frameCount, 0u);
    C5MorphAnimation morph;
    morph.Init(nullptr, 0, 1, m->frameCount);
    for (int step = 0; step <= 200; ++step) {
      float phase = step / 200.0f;  // 0 .. 1 inclusive, as rounding may give
      morph.GetWeights(2.0f * 0.5f, phase * m->frameCount);
      for (int k = 1; k < 3; ++k) {
        EXPECT_GE(morph.Streams()[k], 1);
        EXPECT_LE(morph.Streams()[k], static_cast<int>(m->frameCount));
        // frame meshes match the rest mesh vertex for vertex
        EXPECT_EQ(m->frames[morph.Streams()[k] - 1]->vertexCount, m->baseMesh->vertexCount);
      }
      EXPECT_NEAR(morph.Weights()[1] + morph.Weights()[2], 1.0f, 1e-5f);
    }
  }
}

}  // namespace
