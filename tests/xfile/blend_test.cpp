// The indexed-blend conversion against the bone influences it was built
// from: kept influences and weights, palette split, vertex ranges; the
// palette constants of one combination; faces sorted by material.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <vector>

#include "servers/FaceRanges.h"
#include "structures/X5SkinTables.h"
#include "util/IndexedBlend.h"

namespace {

using Influences = std::map<int32_t, float>;  // bone -> weight

std::vector<BoneWeights> Bones(size_t count) { return std::vector<BoneWeights>(count); }

void Bind(std::vector<BoneWeights>* bones, int32_t bone, uint32_t vertex, float weight) {
  (*bones)[bone].vertices.push_back(vertex);
  (*bones)[bone].weights.push_back(weight);
}

// The influences a blended vertex stands for (weight-0 slots left out).
Influences Resolve(const BlendVertex& v, const BlendCombination& c) {
  Influences out;
  for (int s = 0; s < kMaxBlendInfluences; ++s) {
    if (v.weights[s] == 0.0f) continue;
    EXPECT_LT(v.slots[s], c.bones.size());
    out[c.bones[v.slots[s]]] += v.weights[s];
  }
  return out;
}

// Checks every structural promise of a blended mesh and returns, per source
// vertex, the influences it resolved to (the same in every combination).
std::map<uint32_t, Influences> CheckBlend(const IndexedBlendMesh& m, uint32_t faceCount, uint32_t palette) {
  std::map<uint32_t, Influences> seen;
  uint32_t faces = 0;
  for (const BlendCombination& c : m.combinations) {
    EXPECT_EQ(c.bones.size(), palette);
    EXPECT_EQ(c.faceStart, faces);
    faces += c.faceCount;
    std::set<int32_t> used;
    for (int32_t b : c.bones) {
      if (b != kNoBone) {
        EXPECT_TRUE(used.insert(b).second) << "bone twice in one palette";
      }
    }
    for (uint32_t f = c.faceStart; f < c.faceStart + c.faceCount; ++f) {
      for (int k = 0; k < 3; ++k) {
        const uint32_t i = m.indices[f * 3 + k];
        EXPECT_GE(i, c.vertexStart);
        EXPECT_LT(i, c.vertexStart + c.vertexCount);
        if (i >= m.vertices.size()) continue;
        const BlendVertex& v = m.vertices[i];
        float sum = 0.0f;
        for (int s = 0; s < kMaxBlendInfluences; ++s) {
          sum += v.weights[s];
          if (s == 0) continue;
          EXPECT_LE(v.weights[s], v.weights[s - 1]) << "strongest first";
          if (v.weights[s] == 0.0f) {
            EXPECT_EQ(v.slots[s], v.slots[s - 1]) << "unused slot repeats";
          }
        }
        EXPECT_NEAR(sum, 1.0f, 1e-6f);
        const Influences resolved = Resolve(v, c);
        for (const auto& r : resolved) EXPECT_NE(r.first, kNoBone);
        auto known = seen.find(v.source);
        if (known == seen.end()) {
          seen[v.source] = resolved;
        } else {
          EXPECT_EQ(known->second.size(), resolved.size());
        }
      }
    }
  }
  EXPECT_EQ(faces, faceCount);
  return seen;
}

TEST(IndexedBlend, KeepsTheFourStrongestInfluencesScaledToOne) {
  struct Case {
    const char* what;
    std::vector<std::pair<int32_t, float>> given;
    Influences kept;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const std::vector<Case> cases = {
      {"one bone", {{2, 1.0f}}, {{2, 1.0f}}},
      {"two bones", {{1, 0.25f}, {3, 0.75f}}, {{1, 0.25f}, {3, 0.75f}}},
      {"weights summing to 2 are halved", {{0, 1.5f}, {1, 0.5f}}, {{0, 0.75f}, {1, 0.25f}}},
      {"five bones: the weakest goes", {{0, 0.1f}, {1, 0.3f}, {2, 0.2f}, {3, 0.25f}, {4, 0.15f}},
       {{1, 0.3f / 0.9f}, {2, 0.2f / 0.9f}, {3, 0.25f / 0.9f}, {4, 0.15f / 0.9f}}},
      {"zero, negative and NaN weights are ignored", {{0, 0.0f}, {1, -1.0f}, {2, nan}, {3, 0.5f}}, {{3, 1.0f}}},
      {"no influence: bone 0 alone", {}, {{0, 1.0f}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto bones = Bones(5);
    for (const auto& g : c.given)
      for (uint32_t v = 0; v < 3; ++v) Bind(&bones, g.first, v, g.second);
    Bind(&bones, 4, 7, 1.0f);  // a vertex past the end is ignored
    const uint32_t indices[] = {0, 1, 2};
    IndexedBlendMesh m;
    ASSERT_TRUE(BuildIndexedBlend(3, bones, indices, nullptr, 1, 5, &m));
    const auto seen = CheckBlend(m, 1, 5);
    ASSERT_EQ(seen.size(), 3u);
    for (const auto& s : seen) {
      ASSERT_EQ(s.second.size(), c.kept.size());
      for (const auto& k : c.kept) EXPECT_NEAR(s.second.at(k.first), k.second, 1e-6f) << "bone " << k.first;
    }
    EXPECT_EQ(m.influences, static_cast<int>(c.kept.size()));
  }
}

TEST(IndexedBlend, ManyBonesSplitIntoPalettesOfEighteen) {
  // A strip of 40 quads along a chain of 40 bones: vertex pair j follows
  // bones j and j + 1 (0.7 / 0.3), so neighbouring faces share bones, and
  // the materials alternate every ten quads.
  const int boneCount = 40;
  const uint32_t palette = static_cast<uint32_t>(SkinPaletteSize(boneCount));
  ASSERT_EQ(palette, 18u);
  auto bones = Bones(boneCount);
  const uint32_t pairs = 41;
  for (uint32_t j = 0; j < pairs; ++j) {
    for (uint32_t side = 0; side < 2; ++side) {
      Bind(&bones, std::min<int32_t>(j, boneCount - 1), j * 2 + side, 0.7f);
      Bind(&bones, (j + 1) % boneCount, j * 2 + side, 0.3f);
    }
  }
  std::vector<uint32_t> indices, attributes;
  for (uint32_t q = 0; q < pairs - 1; ++q) {
    const uint32_t a = q * 2, b = q * 2 + 1, c = q * 2 + 2, d = q * 2 + 3;
    indices.insert(indices.end(), {a, b, c, b, d, c});
    attributes.insert(attributes.end(), {(q / 10) % 2, (q / 10) % 2});
  }
  IndexedBlendMesh m;
  const uint32_t faces = static_cast<uint32_t>(attributes.size());
  ASSERT_TRUE(BuildIndexedBlend(pairs * 2, bones, indices.data(), attributes.data(), faces, palette, &m));
  const auto seen = CheckBlend(m, faces, palette);
  EXPECT_EQ(seen.size(), pairs * 2);
  EXPECT_EQ(m.influences, 2);

  // Every face's vertices still follow their own bones with their weights.
  for (const auto& s : seen) {
    const uint32_t j = s.first / 2;
    ASSERT_EQ(s.second.size(), 2u) << s.first;
    EXPECT_NEAR(s.second.at(std::min<int32_t>(j, boneCount - 1)), 0.7f, 1e-6f);
    EXPECT_NEAR(s.second.at((j + 1) % boneCount), 0.3f, 1e-6f);
  }
  // Split by material first (all of material 0, then 1), then by palette.
  ASSERT_GE(m.combinations.size(), 4u);
  for (size_t i = 1; i < m.combinations.size(); ++i)
    EXPECT_LE(m.combinations[i - 1].attribute, m.combinations[i].attribute);
  size_t fullPalettes = 0;
  for (const BlendCombination& c : m.combinations) {
    size_t used = 0;
    for (int32_t b : c.bones) used += b != kNoBone;
    EXPECT_LE(used, palette);
    fullPalettes += used > 12;
  }
  EXPECT_GT(fullPalettes, 0u);
  // A vertex on the seam between two combinations is in both vertex ranges.
  EXPECT_GT(m.vertices.size(), pairs * 2);
}

TEST(IndexedBlend, RefusesWhatCannotBeDrawn) {
  auto bones = Bones(4);
  for (int b = 0; b < 3; ++b) Bind(&bones, b, static_cast<uint32_t>(b), 1.0f);
  const uint32_t indices[] = {0, 1, 2};
  IndexedBlendMesh m;
  EXPECT_FALSE(BuildIndexedBlend(3, bones, indices, nullptr, 1, 2, &m)) << "a face needs three bones";
  EXPECT_FALSE(BuildIndexedBlend(3, {}, indices, nullptr, 1, 4, &m)) << "no bones";
  // A face pointing past the vertices is dropped, the rest is kept.
  const uint32_t withBad[] = {0, 1, 2, 0, 1, 9};
  ASSERT_TRUE(BuildIndexedBlend(3, bones, withBad, nullptr, 2, 4, &m));
  EXPECT_EQ(m.indices.size(), 3u);
}

TEST(PaletteConstants, BonesPlacedByOffsetAndFrameOthersHeldStill) {
  std::vector<D3DXMATRIX> offsets(3);
  D3DXMatrixTranslation(&offsets[0], -1.0f, 0.0f, 0.0f);
  D3DXMatrixTranslation(&offsets[1], 0.0f, -2.0f, 0.0f);
  D3DXMatrixIdentity(&offsets[2]);
  D3DXMATRIX frame0, frame1;
  D3DXMatrixRotationZ(&frame0, 0.5f);
  frame0._41 = 1.0f;
  D3DXMatrixTranslation(&frame1, 0.0f, 5.0f, 0.0f);
  const std::vector<const D3DXMATRIX*> frames = {&frame0, &frame1, nullptr};  // bone 2 has no frame
  const std::vector<int32_t> slots = {1, 0, 2, kNoBone};
  float params[18] = {};
  params[0] = 0.25f;
  params[3] = 0.75f;
  float rows[4 * 12], tuning[4 * 4];
  FillPaletteConstants(slots, offsets, frames, params, 2, rows, tuning);

  // A point through each slot's rows lands where offset x frame puts it.
  auto place = [&](int slot, const D3DXVECTOR3& p) {
    const float* r = rows + slot * 12;
    return D3DXVECTOR3(r[0] * p.x + r[1] * p.y + r[2] * p.z + r[3], r[4] * p.x + r[5] * p.y + r[6] * p.z + r[7],
                       r[8] * p.x + r[9] * p.y + r[10] * p.z + r[11]);
  };
  auto distance = [](const D3DXVECTOR3& a, const D3DXVECTOR3& b) {
    const D3DXVECTOR3 d = a - b;
    return D3DXVec3Length(&d);
  };
  const D3DXVECTOR3 p(1.0f, 2.0f, 3.0f);
  D3DXVECTOR3 expected;
  const D3DXMATRIX m1 = offsets[1] * frame1, m0 = offsets[0] * frame0;
  D3DXVec3TransformCoord(&expected, &p, &m1);
  EXPECT_LT(distance(place(0, p), expected), 1e-5f);
  D3DXVec3TransformCoord(&expected, &p, &m0);
  EXPECT_LT(distance(place(1, p), expected), 1e-5f);
  EXPECT_LT(distance(place(2, p), p), 1e-6f) << "a bone without a frame stays in its rest pose";
  EXPECT_LT(distance(place(3, p), p), 1e-6f) << "an unused slot is the identity";
  // Tuning values by slot, 0 past the values given, w always 1.
  EXPECT_FLOAT_EQ(tuning[0], 0.25f);
  EXPECT_FLOAT_EQ(tuning[4], 0.0f);
  EXPECT_FLOAT_EQ(tuning[12], 0.0f) << "slot 3 lies past the two values given";
  for (int s = 0; s < 4; ++s) EXPECT_FLOAT_EQ(tuning[s * 4 + 3], 1.0f);
}

TEST(FaceRanges, EachMaterialGetsOneRangeOfItsOwnFaces) {
  // Faces of materials 2, 0, 2, 1, 0 over vertices 0..9.
  std::vector<uint32_t> indices = {0, 1, 2, 3, 4, 5, 1, 2, 6, 7, 8, 9, 4, 5, 3};
  const std::vector<uint32_t> attributes = {2, 0, 2, 1, 0};
  const auto ranges = SortFacesByAttribute(&indices, attributes);
  ASSERT_EQ(ranges.size(), 3u);
  const uint32_t expected[3][5] = {
      // id, face start, face count, vertex start, vertex count
      {0, 0, 2, 3, 3},
      {1, 2, 1, 7, 3},
      {2, 3, 2, 0, 7},
  };
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ranges[i].AttribId, expected[i][0]);
    EXPECT_EQ(ranges[i].FaceStart, expected[i][1]);
    EXPECT_EQ(ranges[i].FaceCount, expected[i][2]);
    EXPECT_EQ(ranges[i].VertexStart, expected[i][3]);
    EXPECT_EQ(ranges[i].VertexCount, expected[i][4]);
  }
  const std::vector<uint32_t> sorted = {3, 4, 5, 4, 5, 3, 7, 8, 9, 0, 1, 2, 1, 2, 6};
  EXPECT_EQ(indices, sorted);
}

}  // namespace
