// Animation keys: the key pair around a tick, sampling into the target
// frame's matrix, reading key data; frame lookup; model bounds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "structures/X5Animation.h"
#include "structures/X5Frame.h"
#include "structures/X5ModelBounds.h"

namespace {

std::vector<X5PositionKey> PositionKeys(std::initializer_list<uint32_t> times) {
  std::vector<X5PositionKey> keys;
  float x = 0.0f;
  for (uint32_t t : times) keys.push_back({t, D3DXVECTOR3(x++, 0.0f, 0.0f)});
  return keys;
}

TEST(KeySpan, FindsThePairAroundTheTickWithinTheLoop) {
  struct Case {
    const char* what;
    std::vector<X5PositionKey> keys;
    double tick;
    size_t earlier, later;
    float fraction;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<Case> cases = {
      {"half way", PositionKeys({0, 100, 200}), 50.0, 0, 1, 0.5f},
      {"second pair", PositionKeys({0, 100, 200}), 175.0, 1, 2, 0.75f},
      {"wraps at the last key time", PositionKeys({0, 100, 200}), 250.0, 0, 1, 0.5f},
      {"exactly on a key", PositionKeys({0, 100, 200}), 100.0, 1, 2, 0.0f},
      {"the loop's end is its start", PositionKeys({0, 100, 200}), 200.0, 0, 1, 0.0f},
      {"before the first key: the first key", PositionKeys({100, 200}), 50.0, 0, 0, 0.0f},
      {"one key holds", PositionKeys({30}), 1234.0, 0, 0, 0.0f},
      {"a last key time of 0 holds the first key", PositionKeys({0}), 4800.0, 0, 0, 0.0f},
      {"every key at 0", PositionKeys({0, 0, 0}), 77.0, 0, 0, 0.0f},
      {"a tick that is not a number", PositionKeys({0, 100}), nan, 0, 1, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const X5KeySpan s = FindKeySpan(c.keys, c.tick);
    EXPECT_EQ(s.earlier, c.earlier);
    EXPECT_EQ(s.later, c.later);
    EXPECT_FLOAT_EQ(s.fraction, c.fraction);
  }
}

// An animation node driving its own target frame.
struct Animated {
  Animated() {
    node.targetFrame = &target;
    D3DXMatrixTranslation(&target.restMatrix, 4.0f, 5.0f, 6.0f);
    target.localMatrix = target.restMatrix;
  }
  D3DXVECTOR3 Place(const D3DXVECTOR3& p) const {
    D3DXVECTOR3 out;
    return *D3DXVec3TransformCoord(&out, &p, &target.localMatrix);
  }
  X5Frame node;
  X5Frame target;
};

void ExpectNear(const D3DXVECTOR3& a, float x, float y, float z, float tolerance = 1e-4f) {
  EXPECT_NEAR(a.x, x, tolerance);
  EXPECT_NEAR(a.y, y, tolerance);
  EXPECT_NEAR(a.z, z, tolerance);
}

// The file's rotation of an angle about z (the frame turns by the inverse
// of the quaternion as written).
D3DXQUATERNION FileTurnAboutZ(float degrees) {
  const float half = D3DXToRadian(degrees) * 0.5f;
  return D3DXQUATERNION(0.0f, 0.0f, -std::sin(half), std::cos(half));
}

TEST(SampleAnimation, PositionAndScaleInterpolateLinearly) {
  Animated a;
  a.node.positionKeys = {{0, D3DXVECTOR3(0, 0, 0)}, {100, D3DXVECTOR3(2, 4, 6)}};
  a.node.scaleKeys = {{0, D3DXVECTOR3(1, 1, 1)}, {100, D3DXVECTOR3(3, 1, 1)}};
  ASSERT_TRUE(SampleAnimation(a.node, 50.0));
  // Scaled (2, 1, 1) first, then moved by (1, 2, 3).
  ExpectNear(a.Place(D3DXVECTOR3(1, 1, 1)), 3, 3, 4);
}

TEST(SampleAnimation, RotationTurnsBetweenItsKeys) {
  Animated a;
  for (int k = 0; k <= 4; ++k) a.node.rotationKeys.push_back({uint32_t(k * 100), FileTurnAboutZ(90.0f * k)});
  ASSERT_TRUE(SampleAnimation(a.node, 100.0));
  // On the key: 90 degrees about z, at the rest matrix's place (no position keys).
  ExpectNear(a.Place(D3DXVECTOR3(1, 0, 0)), 4, 6, 6);
  ASSERT_TRUE(SampleAnimation(a.node, 150.0));
  // Half way between 90 and 180 degrees, evenly spaced keys: 135 degrees.
  const float c = std::sqrt(0.5f);
  ExpectNear(a.Place(D3DXVECTOR3(1, 0, 0)), 4 - c, 5 + c, 6, 1e-3f);
}

TEST(SampleAnimation, MatrixKeysTakeTheNearerKey) {
  Animated a;
  D3DXMATRIX m0, m1;
  D3DXMatrixTranslation(&m0, 1, 0, 0);
  D3DXMatrixTranslation(&m1, 0, 1, 0);
  a.node.matrixKeys = {{0, m0}, {100, m1}, {200, m0}};
  a.node.positionKeys = {{0, D3DXVECTOR3(9, 9, 9)}};  // matrix keys win
  SampleAnimation(a.node, 40.0);
  ExpectNear(a.Place(D3DXVECTOR3(0, 0, 0)), 1, 0, 0);
  SampleAnimation(a.node, 60.0);
  ExpectNear(a.Place(D3DXVECTOR3(0, 0, 0)), 0, 1, 0);
}

TEST(SampleAnimation, LastKeyTimeZeroHoldsTheFirstKeyWithoutNaN) {
  Animated a;
  a.node.rotationKeys = {{0, FileTurnAboutZ(90.0f)}};
  a.node.positionKeys = {{0, D3DXVECTOR3(1, 2, 3)}, {0, D3DXVECTOR3(7, 7, 7)}};
  for (double tick : {0.0, 2400.0, 1e9}) {
    ASSERT_TRUE(SampleAnimation(a.node, tick));
    for (int i = 0; i < 16; ++i) ASSERT_FALSE(std::isnan(static_cast<const float*>(a.target.localMatrix)[i]));
    ExpectNear(a.Place(D3DXVECTOR3(1, 0, 0)), 1, 3, 3);
  }
}

TEST(SampleAnimation, NothingToDriveLeavesTheFrameAlone) {
  Animated a;
  const D3DXMATRIX before = a.target.localMatrix;
  EXPECT_FALSE(SampleAnimation(a.node, 10.0)) << "no keys";
  a.node.positionKeys = {{0, D3DXVECTOR3(1, 1, 1)}};
  a.node.targetFrame = nullptr;
  EXPECT_FALSE(SampleAnimation(a.node, 10.0)) << "no target";
  EXPECT_EQ(0, std::memcmp(&before, &a.target.localMatrix, sizeof before));
}

// AnimationKey data as the file reader hands it over: 32-bit words.
std::vector<uint32_t> Words(std::initializer_list<float> values) {
  std::vector<uint32_t> out;
  for (float v : values) {
    uint32_t w;
    std::memcpy(&w, &v, 4);
    out.push_back(w);
  }
  return out;
}
std::vector<uint32_t> KeyData(uint32_t type, std::vector<std::vector<uint32_t>> keys) {
  std::vector<uint32_t> out = {type, static_cast<uint32_t>(keys.size())};
  for (const auto& k : keys) out.insert(out.end(), k.begin(), k.end());
  return out;
}
std::vector<uint32_t> Key(uint32_t time, std::initializer_list<float> values) {
  std::vector<uint32_t> out = {time, static_cast<uint32_t>(values.size())};
  const auto v = Words(values);
  out.insert(out.end(), v.begin(), v.end());
  return out;
}

TEST(ReadAnimationKey, ReadsEachTypeAndRefusesBrokenData) {
  X5Frame node;
  auto read = [&node](const std::vector<uint32_t>& d, size_t cut = 0) {
    return ReadAnimationKey(d.data(), d.size() * 4 - cut, &node);
  };
  // Rotation: w, x, y, z in the file, kept as x, y, z, w.
  ASSERT_EQ(0, read(KeyData(0, {Key(0, {0.5f, 1, 2, 3}), Key(9600, {1, 0, 0, 0})})));
  ASSERT_EQ(node.rotationKeys.size(), 2u);
  EXPECT_EQ(node.rotationKeys[0].value, D3DXQUATERNION(1, 2, 3, 0.5f));
  EXPECT_EQ(node.rotationKeys[1].time, 9600u);
  ASSERT_EQ(0, read(KeyData(1, {Key(0, {2, 2, 2})})));
  ASSERT_EQ(0, read(KeyData(2, {Key(5, {1, 2, 3})})));
  ASSERT_EQ(0, read(KeyData(4, {Key(0, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 7, 8, 9, 1})})));
  EXPECT_FLOAT_EQ(node.matrixKeys[0].value._42, 8.0f);
  EXPECT_EQ(node.positionKeys[0].value, D3DXVECTOR3(1, 2, 3));

  EXPECT_EQ(E_INVALIDARG, read(KeyData(2, {Key(0, {1, 1, 1})}))) << "a type the node already has";

  struct Bad {
    const char* what;
    std::vector<uint32_t> data;
    size_t cut;  // bytes taken off the end
  };
  const std::vector<Bad> bad = {
      {"an unknown type", KeyData(3, {Key(0, {1, 1, 1})}), 0},
      {"a value count that does not fit the type", KeyData(1, {Key(0, {1, 1})}), 0},
      {"fewer keys than it says", {0, 2, 0, 4}, 0},
      {"a key count past the data", {0, 0x40000000u}, 0},
      {"cut inside a key", KeyData(0, {Key(0, {1, 0, 0, 0})}), 4},
  };
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.what);
    X5Frame fresh;
    EXPECT_EQ(E_INVALIDARG, ReadAnimationKey(b.data.data(), b.data.size() * 4 - b.cut, &fresh));
    EXPECT_TRUE(fresh.rotationKeys.empty() && fresh.scaleKeys.empty() && fresh.positionKeys.empty());
  }
}

TEST(Frames, ChildrenOrderAndDepthFirstSearch) {
  X5Frame root;
  auto* a = new X5Frame;
  auto* b = new X5Frame;
  auto* c = new X5Frame;
  a->name = "A";
  b->name = "B";
  c->name = "C";
  root.AddChild(a);
  root.AddChild(b);
  root.AddChild(c);  // right after the first child: A, C, B
  ASSERT_EQ(root.firstChild.get(), a);
  ASSERT_EQ(a->nextSibling.get(), c);
  ASSERT_EQ(c->nextSibling.get(), b);
  auto* deep = new X5Frame;
  deep->name = "B";
  a->AddChild(deep);
  EXPECT_EQ(root.Find("B"), deep) << "A's subtree comes before A's siblings";
  EXPECT_EQ(root.Find("C"), c);
  EXPECT_EQ(root.Find("none"), nullptr);
  EXPECT_EQ(root.Find(""), nullptr);
  EXPECT_EQ(root.Find(nullptr), nullptr);

  // Combined matrices: each frame's local matrix after its parent's.
  D3DXMatrixTranslation(&a->localMatrix, 1, 0, 0);
  D3DXMatrixScaling(&deep->localMatrix, 2, 2, 2);
  D3DXMATRIX identity;
  root.UpdateCombined(*D3DXMatrixIdentity(&identity));
  D3DXVECTOR3 p(1, 1, 1), out;
  D3DXVec3TransformCoord(&out, &p, &deep->combinedMatrix);
  ExpectNear(out, 3, 2, 2);
}

TEST(ModelBounds, OriginPointsCountForTheBoxOnly) {
  const std::vector<D3DXVECTOR3> points = {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(2, 1, 5), D3DXVECTOR3(4, 3, 5),
                                           D3DXVECTOR3(0, 0, 0)};
  const X5ModelBounds b = MeasurePoints(points);
  ExpectNear(b.centre, 3, 2, 5);
  EXPECT_NEAR(b.radius, std::sqrt(2.0f), 1e-5f);
  ASSERT_TRUE(b.hasBox);
  // The box reaches the origin; y and z exchanged.
  ExpectNear(b.boxMin, 0, 0, 0);
  ExpectNear(b.boxMax, 4, 5, 3);
}

TEST(ModelBounds, NoPointsGiveNoNaN) {
  const X5ModelBounds none = MeasurePoints({});
  EXPECT_FALSE(none.hasBox);
  ExpectNear(none.centre, 0, 0, 0);
  EXPECT_FLOAT_EQ(none.radius, 1.0f);
  const X5ModelBounds origin = MeasurePoints({D3DXVECTOR3(0, 0, 0)});
  ExpectNear(origin.centre, 0, 0, 0);
  EXPECT_FLOAT_EQ(origin.radius, 1.0f);
  EXPECT_TRUE(origin.hasBox);
}

}  // namespace
