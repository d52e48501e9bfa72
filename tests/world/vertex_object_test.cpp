// C4VertexObject without a device: visibility flags, textures, bounds, area query.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "frame/C3SceneHost.h"
#include "world/C3Camera.h"
#include "world/C4VertexObject.h"

namespace {

class LookAlongZ : public C3Camera {
 public:
  D3DXVECTOR3* GetTarget(D3DXVECTOR3* out) override {
    *out = position + D3DXVECTOR3(0, 0, 1);
    return out;
  }
  float GetLodScale() override { return lodScale; }
  float lodScale = 1.0f;
};

class Counting : public C4VertexObject {
 public:
  void Animate(float, float) override { ++animations; }
  int HasLod() override { return lod; }
  int animations = 0;
  int lod = 0;
};

class VisibilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    camera.InitDeviceObjects();
    camera.Move(0, 0);
    SetMainCamera(&camera);
  }
  void TearDown() override { SetMainCamera(nullptr); }
  void Frame(Counting& o) { o.Move(1.0f, 1.0f); }
  LookAlongZ camera;
};

TEST_F(VisibilityTest, FreshObjectIsCulledUntilTested) {
  Counting o;
  EXPECT_EQ(kObjCulled | kObjSphereTest, o.flags);
  EXPECT_STREQ("C4VertexObject", o.className);
  o.position = D3DXVECTOR3(0, 0, 10);
  Frame(o);
  EXPECT_FALSE(o.HasFlag(kObjCulled));
  EXPECT_FLOAT_EQ(10.0f, o.cameraDistance);
  EXPECT_EQ(1, o.animations);
  o.position = D3DXVECTOR3(0, 0, -10);
  Frame(o);
  EXPECT_TRUE(o.HasFlag(kObjCulled));
  EXPECT_EQ(1, o.animations);
}

TEST_F(VisibilityTest, AlwaysCulledAndAlwaysVisible) {
  Counting o;
  o.position = D3DXVECTOR3(0, 0, 10);
  o.flags |= kObjAlwaysCulled | kObjAlwaysVisible;
  Frame(o);
  EXPECT_TRUE(o.HasFlag(kObjCulled));
  EXPECT_EQ(0, o.animations);
  o.flags &= ~kObjAlwaysCulled;
  o.position = D3DXVECTOR3(0, 0, -10);  // behind, but no frustum test
  Frame(o);
  EXPECT_FALSE(o.HasFlag(kObjCulled));
  EXPECT_EQ(1, o.animations);
}

TEST_F(VisibilityTest, CameraInsideSkipsTheFrustumTest) {
  Counting o;
  o.position = D3DXVECTOR3(0, 0, -3);
  o.radius = 2.0f;
  o.scale = 2.0f;  // camera 3 away, inside 4
  o.flags &= ~kObjSphereTest;  // the box test would also cull it
  Frame(o);
  EXPECT_TRUE(o.HasFlag(kObjCulled));
  o.flags |= kObjInsideNoCull;
  Frame(o);
  EXPECT_FALSE(o.HasFlag(kObjCulled));
}

TEST_F(VisibilityTest, FarObjectsStillMoveButDoNotAnimate) {
  Counting o;
  o.position = D3DXVECTOR3(0, 0, 90);
  o.speed = 1.0f;
  o.rotY = D3DX_PI / 2;  // heading +z
  o.Move(2.0f, 1.0f);
  EXPECT_EQ(1, o.farCulled);
  EXPECT_NEAR(91.0f, o.position.z, 1e-4f);
  EXPECT_NEAR(91.0f, o.world._43, 1e-4f);
  EXPECT_NEAR(91.0f, o.cameraDistance, 1.1f);
  EXPECT_EQ(0, o.animations);
  o.farCullOptions = 1;
  o.speed = 0.0f;
  Frame(o);
  EXPECT_EQ(0, o.farCulled);
  EXPECT_EQ(1, o.animations);
}

TEST_F(VisibilityTest, LodDistanceUsesTheCameraScale) {
  Counting o;
  o.lod = 1;
  o.position = D3DXVECTOR3(0, 0, 30);
  o.lodFactor = 20.0f;
  Frame(o);
  EXPECT_EQ(1u, o.lodState & 1);
  EXPECT_EQ(0, o.animations);
  camera.lodScale = 2.0f;
  Frame(o);
  EXPECT_EQ(0u, o.lodState & 1);
  EXPECT_EQ(1, o.animations);
}

TEST_F(VisibilityTest, ObjectSpaceEyeAndLight) {
  C4VertexObject o;
  o.position = D3DXVECTOR3(0, 0, 10);
  o.rotZ = D3DX_PI / 2;  // object x axis along world y
  o.Move(1.0f, 1.0f);
  D3DXMATRIX view, projection;
  D3DXMatrixIdentity(&view);
  D3DXMatrixIdentity(&projection);
  o.SetViewProjection(&view, &projection);
  // Camera at the origin: 10 behind the object along z.
  const C4ShaderMatrices& m = o.Shading();
  EXPECT_NEAR(-10.0f, m.objectEye.z, 1e-4f);
  EXPECT_NEAR(0.0f, m.objectEye.x, 1e-4f);
  EXPECT_FLOAT_EQ(1.0f, m.objectEye.w);
  // Light shining down; towards the light is world +y, the object's +x.
  EXPECT_NEAR(1.0f, m.objectLight.x, 1e-5f);
  EXPECT_NEAR(0.0f, m.objectLight.y, 1e-5f);
  D3DXMATRIX expected;
  D3DXMatrixTranspose(&expected, &o.world);
  EXPECT_EQ(0, memcmp(&expected, &m.worldT, sizeof(expected)));
  o.SaveMatrices();
  D3DXMatrixIdentity(&o.Shading().worldT);
  o.RestoreMatrices();
  EXPECT_EQ(0, memcmp(&expected, &m.worldT, sizeof(expected)));
}

TEST(C4VertexObject, NoMainCameraSkipsCameraWork) {
  Counting o;
  o.position = D3DXVECTOR3(0, 0, -10);
  o.Move(1.0f, 1.0f);
  EXPECT_FALSE(o.HasFlag(kObjCulled));
  EXPECT_EQ(1, o.animations);
}

TEST(C4VertexObject, AddTextureReusesTheSameSource) {
  C4VertexObject o;
  static const char a[] = "a.dds";
  static const char b[] = "b.dds";
  EXPECT_EQ(0, o.AddTexture(a, 0));
  EXPECT_EQ(1, o.AddTexture(b, 0));
  EXPECT_EQ(0, o.AddTexture(a, 0));
  EXPECT_EQ(2, o.AddTexture(nullptr, 0));
  EXPECT_EQ(3u, o.textureSources.size());
}

// A grid of n x n cells of two upward triangles each, in the xz plane, with
// 32-byte vertices (position, normal, texture coordinate).
struct Grid {
  explicit Grid(int n) {
    for (int z = 0; z <= n; ++z)
      for (int x = 0; x <= n; ++x) {
        float v[8] = {static_cast<float>(x), 0, static_cast<float>(z), 0, 1, 0, 0, 0};
        vertices.insert(vertices.end(), v, v + 8);
      }
    for (int z = 0; z < n; ++z)
      for (int x = 0; x < n; ++x) {
        uint16_t i = static_cast<uint16_t>(z * (n + 1) + x);
        uint16_t tri[6] = {i, static_cast<uint16_t>(i + n + 1), static_cast<uint16_t>(i + 1),
                           static_cast<uint16_t>(i + 1), static_cast<uint16_t>(i + n + 1),
                           static_cast<uint16_t>(i + n + 2)};
        indices.insert(indices.end(), tri, tri + 6);
      }
    mesh.vertexCount = static_cast<uint32_t>(vertices.size() / 8);
    mesh.vertices = vertices.data();
    mesh.primitiveCount = static_cast<uint32_t>(indices.size() / 3);
    mesh.indices = indices.data();
    mesh.fvf = 0x112;
    mesh.stride = 32;
  }
  std::vector<float> vertices;
  std::vector<uint16_t> indices;
  X2FishMesh mesh{};
};

TEST(C4VertexObject, AreaQueryNeverPassesItsArray) {
  Grid grid(40);  // 3200 triangles
  C4VertexObject o;
  o.AddMesh(&grid.mesh);
  int count = 5000;
  uint16_t* tris = nullptr;
  int vertexCount = 0;
  o.GetAreaPolygons(20, 5, 20, 100, nullptr, &vertexCount, &tris, &count);
  EXPECT_EQ(kMaxAreaTriangles, count);
  EXPECT_EQ(41 * 41, vertexCount);
  ASSERT_NE(nullptr, tris);
  count = -7;
  o.GetAreaPolygons(20, 5, 20, 100, nullptr, nullptr, nullptr, &count);
  EXPECT_EQ(0, count);
  // Near (10, 10) within 1: the triangles of the 2 x 2 cells around it.
  count = 100;
  o.GetAreaPolygons(10, 5, 10, 1, nullptr, nullptr, &tris, &count);
  EXPECT_EQ(8, count);
  for (int i = 0; i < count * 3; ++i) {
    const float* v = &grid.vertices[tris[i] * 8];
    EXPECT_LE(std::fabs(v[0] - 10), 1.0f);
    EXPECT_LE(std::fabs(v[2] - 10), 1.0f);
  }
  // From below the floor the triangles do not face the point.
  count = 100;
  o.GetAreaPolygons(10, -5, 10, 1, nullptr, nullptr, &tris, &count);
  EXPECT_EQ(0, count);
  o.FinalCleanUp();
}

TEST(C4VertexObject, BoundsGrowFromTheOrigin) {
  Grid grid(2);
  for (size_t i = 0; i < grid.vertices.size(); i += 8) grid.vertices[i] += 5;  // x from 5 to 7
  C4VertexObject o;
  o.AddMesh(&grid.mesh);
  o.ComputeBounds();
  EXPECT_FLOAT_EQ(0.0f, o.boxMin.x);
  EXPECT_FLOAT_EQ(7.0f, o.boxMax.x);
  EXPECT_FLOAT_EQ(2.0f, o.boxMax.z);
  EXPECT_NEAR(std::sqrt(53.0f), o.radius, 1e-5f);
  MeshRecord* r = o.AddVertexArray(nullptr, 0x112, 32, 0);
  EXPECT_EQ(32u, r->descriptor->stride);
  EXPECT_EQ(2u, o.meshes.size());
  o.FinalCleanUp();
  EXPECT_TRUE(o.meshes.empty());
}

}  // namespace
