// The fog effects on a real device, fed through the product's own hooks (the
// application object answers the world with the test device): the animated
// fog on what is drawn and in the cleared sea, segmented meshes drawing only
// their visible segments, the soft-fog ring darkening the distance, the
// glints the fish report, all of it across a device reset and on a wide
// screen. Frames are kept as artefacts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "AppHooks.h"
#include "D3DTestDevice.h"
#include "LogTestSupport.h"
#include "MyApplication.h"
#include "SceneTestSupport.h"
#include "Settings.h"
#include "TestSupport.h"
#include "common/SceneGlobals.h"
#include "fish/BuiltinFish.h"
#include "fish/C5PartialMorphCache.h"
#include "fish/C6FishTables.h"
#include "fish/X2FileFish.h"
#include "fog/X1Halation.h"
#include "fog/X6Fog.h"
#include "fog/X7SegmentObject.h"
#include "fog/X7SoftFog.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/StateRecordList.h"
#include "servers/TextureTable.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

using qvtest::Blue;
using qvtest::Green;
using qvtest::Red;

// The application object as the tests' scene host, drawing on the test device.
class DeviceApp : public MyApplication {
 public:
  void Attach(qvtest::D3DTestDevice& d) {
    m_device = d.Device();
    m_device->AddRef();  // released by the application's destructor
    m_device->GetDeviceCaps(&m_caps);
    m_backBufferDesc.Width = static_cast<UINT>(d.Width());
    m_backBufferDesc.Height = static_cast<UINT>(d.Height());
    m_backBufferDesc.Format = d.Params().BackBufferFormat;
  }
};

// Flat rectangles at one height, each a segment of the mesh (an attribute
// range), each split into 4 x 4 quads so that the fog follows the distance
// across it. Drawn lit by the fish's static vertex shader (which writes the
// fog), the light tinting a sandy colour.
struct Tile {
  float x0, x1, z0, z1;
};

const uint32_t kTileStates[] = {
    D3DRS_ZWRITEENABLE, 1, D3DRS_ALPHABLENDENABLE, 0, D3DRS_FOGENABLE, 1, D3DRS_CULLMODE, D3DCULL_NONE,
    D3DRS_TEXTUREFACTOR, 0xFFD2BE8C,
    StateRecordList::kColourStage, 3, 0, D3DTOP_MODULATE, D3DTA_DIFFUSE, D3DTA_TFACTOR,
    StateRecordList::kAlphaStage, 2, 0, D3DTOP_SELECTARG1, D3DTA_DIFFUSE,
    StateRecordList::kColourStage, 1, 1, D3DTOP_DISABLE,
    StateRecordList::kAlphaStage, 1, 1, D3DTOP_DISABLE,
    StateRecordList::kEnd};

class TestTiles : public X7SegmentObject {
 public:
  static constexpr int kSplit = 4;
  // With spareVertices, that many unused vertices lie before every tile but
  // the first: the vertex ranges do not continue one another.
  TestTiles(const std::vector<Tile>& tiles, float y, int spareVertices = 0) {
    SetClassName("TestTiles");
    shaderDescriptors = &g_FishShaders[kFishStaticVs];
    shaderCount = 1;
    stateRecords = kTileStates;
    const int side = kSplit + 1;
    uint32_t face = 0;
    for (size_t t = 0; t < tiles.size(); ++t) {
      if (t > 0) vertices_.resize(vertices_.size() + spareVertices * 8, 0.0f);
      const uint32_t first = static_cast<uint32_t>(vertices_.size() / 8);
      const Tile& tile = tiles[t];
      for (int j = 0; j < side; ++j)
        for (int i = 0; i < side; ++i) {
          const float u = float(i) / kSplit, v = float(j) / kSplit;
          const float p[8] = {tile.x0 + (tile.x1 - tile.x0) * u, y, tile.z0 + (tile.z1 - tile.z0) * v, 0, 1, 0, u, v};
          vertices_.insert(vertices_.end(), p, p + 8);
        }
      for (int j = 0; j < kSplit; ++j)
        for (int i = 0; i < kSplit; ++i) {
          const uint16_t a = uint16_t(first + j * side + i), b = uint16_t(a + 1), c = uint16_t(a + side),
                         d = uint16_t(c + 1);
          const uint16_t q[6] = {a, c, b, b, c, d};
          indices_.insert(indices_.end(), q, q + 6);
        }
      ranges_.push_back(X2AttributeRange{uint32_t(t), face, 2 * kSplit * kSplit, first, uint32_t(side * side)});
      face += 2 * kSplit * kSplit;
    }
    mesh_.vertexCount = static_cast<uint32_t>(vertices_.size() / 8);
    mesh_.vertices = vertices_.data();
    mesh_.primitiveCount = face;
    mesh_.indices = indices_.data();
    mesh_.fvf = X2_FVF_VERTEX;
    mesh_.stride = X2_STRIDE_VERTEX;
    mesh_.attributeRanges = ranges_.data();
    mesh_.attributeRangeCount = static_cast<uint32_t>(ranges_.size());
    AddMesh(&mesh_);
  }
  HRESULT RestoreDeviceObjects() override {
    HRESULT hr = X7SegmentObject::RestoreDeviceObjects();
    BuildSegments();
    return hr;
  }
  HRESULT Render() override {
    C3World* world = C3World::Current();
    IDirect3DDevice9* device = GetSceneHost()->GetDevice();
    if (!world || !device || vertexShaders.empty() || !IsMeshDrawable(0)) return 0;
    world->sbServer->SetSB(stateBlock);
    SetShaderMatrices();
    world->vsServer->SetShaders(vertexShaders[0], nullptr, declarations[0]);
    BindStreams(0);
    device->SetTexture(0, nullptr);
    DoRender();
    return 0;
  }

 private:
  std::vector<float> vertices_;
  std::vector<uint16_t> indices_;
  std::vector<X2AttributeRange> ranges_;
  X2FishMesh mesh_{};
};

// A floor two units below the eye: strips 60 wide and 4 deep from z = 0 to 96.
std::vector<Tile> FloorStrips() {
  std::vector<Tile> tiles;
  for (float z = 0.0f; z < 96.0f; z += 4.0f) tiles.push_back(Tile{-30.0f, 30.0f, z, z + 4.0f});
  return tiles;
}

bool NoPixelShaders() { return false; }

int Brightness(uint32_t p) { return Red(p) + Green(p) + Blue(p); }

class FogScene : public ::testing::Test {
 protected:
  void SetUp() override {
    savedFolder_ = GetProgramFolder();
    folder_ = qvtest::MakeTempDir("fog_scene");
    C5PartialMorphCache::Destroy();
  }
  void TearDown() override {
    Close();
    SetProgramFolder(savedFolder_.c_str());
    LoadSettings(0);
    qvtest::RemoveTree(folder_);
  }

  // The settings of qelvar.ini, a device of the size given, the application
  // on it with a camera at the origin looking along +z, and the fog.
  void Open(int width, int height, const std::string& systemKeys = "Lights=0\r\nMultiSurface=0\r\n") {
    ASSERT_TRUE(qvtest::WriteFileText(folder_ + "qelvar.ini", "[system]\r\n" + systemKeys));
    SetProgramFolder(folder_.c_str());
    LoadSettings(0);
    ASSERT_TRUE(dev.Create(width, height)) << dev.Error();
    deviceReferences_ = qvtest::DeviceReferences(dev.Device());
    app = new DeviceApp;
    app->Attach(dev);
    TheApp = app;
    world = app->World();
    camera = new qvtest::LookAlongZ;
    world->AddChild(camera);
    SetMainCamera(camera);
    TheFog = new X6Fog;
    world->AddChild(TheFog);
  }
  void Close() {
    if (!app) return;
    app->InvalidateDeviceObjects();
    app->DeleteDeviceObjects();
    delete app;  // deletes the world and every object in it
    app = nullptr;
    TheApp = nullptr;
    TheFog = nullptr;
    TheHalation = nullptr;
    SetMainCamera(nullptr);
    C5PartialMorphCache::Destroy();
    EXPECT_EQ(0, TextureTable::Instance().LiveCount());
    EXPECT_EQ(deviceReferences_, qvtest::DeviceReferences(dev.Device()));
    dev.Release();
  }
  void Start() {
    ASSERT_EQ(S_OK, app->InitDeviceObjects());
    ASSERT_EQ(S_OK, app->RestoreDeviceObjects());
  }
  void Frame(float elapsed = 0.05f) {
    world->Move(elapsed);
    app->Render();
  }
  void Reset() {
    app->InvalidateDeviceObjects();
    ASSERT_EQ(D3D_OK, dev.Reset());
    ASSERT_EQ(S_OK, app->RestoreDeviceObjects());
  }
  X1Halation* AddHalation() {
    TheHalation = new X1Halation;
    world->AddChild(TheHalation);
    world->glareSources.Add(TheHalation);
    return TheHalation;
  }
  X2FileFish* AddFish(int species, const D3DXVECTOR3& at) {
    int count = 0;
    const X2FishData* const* records = GetBuiltinSpecies(&count);
    auto* fish = new X2FileFish(records[species % count]);
    fish->position = at;
    world->AddChild(fish);
    return fish;
  }

  std::vector<uint32_t> Pixels() { return dev.ReadBackBuffer(); }
  uint32_t At(const std::vector<uint32_t>& px, int x, int y) { return px[static_cast<size_t>(y) * dev.Width() + x]; }
  // Screen row of a point of the floor (y = -2) at distance z straight ahead.
  int FloorRow(float z) {
    D3DXVECTOR3 screen, p(0.0f, -2.0f, z);
    D3DXMATRIX viewProjection = camera->view * camera->projection;
    D3DXVec3TransformCoord(&screen, &p, &viewProjection);
    return static_cast<int>((0.5f - screen.y * 0.5f) * dev.Height());
  }
  int CountIn(const std::vector<uint32_t>& px, int x0, int y0, int x1, int y1,
              const std::function<bool(uint32_t, int)>& test) {
    int n = 0;
    for (int y = std::max(y0, 0); y <= std::min(y1, dev.Height() - 1); ++y)
      for (int x = std::max(x0, 0); x <= std::min(x1, dev.Width() - 1); ++x)
        n += test(At(px, x, y), y * dev.Width() + x) ? 1 : 0;
    return n;
  }
  void SaveArtefact(const char* name) { EXPECT_TRUE(qvtest::SaveBackBufferArtefact(dev.Device(), name)) << name; }
  // The fog colour as the cleared sea shows it.
  uint32_t SeaColour() { return PackFogColor(TheFog->Colour()) & 0xFFFFFF; }
  static bool Near(uint32_t a, uint32_t b, int tolerance) {
    return std::abs(Red(a) - Red(b)) <= tolerance && std::abs(Green(a) - Green(b)) <= tolerance &&
           std::abs(Blue(a) - Blue(b)) <= tolerance;
  }

  qvtest::D3DTestDevice dev;
  DeviceApp* app = nullptr;
  C3World* world = nullptr;
  qvtest::LookAlongZ* camera = nullptr;

 private:
  std::string savedFolder_;
  std::string folder_;
  ULONG deviceReferences_ = 0;
};

TEST_F(FogScene, TheAnimatedFogReachesTheSeaAndWhatIsDrawn) {
  Open(640, 480);
  auto* floor = new TestTiles(FloorStrips(), -2.0f);
  world->AddChild(floor);
  Start();
  Frame();
  std::vector<uint32_t> early = Pixels();
  const uint32_t seaEarly = SeaColour();
  const float startEarly = TheFog->fogStart;
  // The sea above the floor is the fog's colour; the floor close by is lit
  // grey, at 45 units it is nearly the fog's colour.
  EXPECT_TRUE(Near(At(early, 320, 20), seaEarly, 2)) << std::hex << At(early, 320, 20) << " " << seaEarly;
  const uint32_t nearFloor = At(early, 320, FloorRow(4.0f));
  EXPECT_GT(Red(nearFloor), 150) << std::hex << nearFloor;
  const uint32_t farFloor = At(early, 320, FloorRow(45.0f));
  EXPECT_LT(Red(farFloor), 50) << std::hex << farFloor;
  EXPECT_LT(Red(farFloor), Red(At(early, 320, FloorRow(25.0f))));
  // The fog's range is in c23 as the shaders read it.
  float c23[4];
  FogShaderConstant(TheFog->fogStart, TheFog->fogEnd, c23);
  for (int k = 0; k < 4; ++k) EXPECT_FLOAT_EQ(VertexConstantCopy(23)[k], c23[k]) << k;

  // Fifteen seconds later colour and range have moved, and both the sea and
  // the floor at middle distance follow.
  for (int i = 0; i < 30; ++i) Frame(0.5f);
  std::vector<uint32_t> later = Pixels();
  SaveArtefact("fog_floor");
  EXPECT_GT(std::fabs(TheFog->fogStart - startEarly), 2.0f);
  EXPECT_NE(SeaColour(), seaEarly);
  EXPECT_TRUE(Near(At(later, 320, 20), SeaColour(), 2)) << std::hex << At(later, 320, 20) << " " << SeaColour();
  EXPECT_FALSE(Near(At(later, 320, FloorRow(30.0f)), At(early, 320, FloorRow(30.0f)), 3));
}

TEST_F(FogScene, SegmentsOutOfViewAreNotDrawnAndBrokenRunsDrawOneByOne) {
  // Small tiles ahead, behind, far out to the sides and far ahead; drawn
  // once with contiguous ranges, once with gaps between their vertices.
  const std::vector<Tile> tiles = {{-2, -1, 6, 7}, {-1, 0, 6, 7},  {0, 1, 6, 7},  {1, 2, 6, 7},
                                   {-1, 1, -8, -6}, {40, 42, 6, 7}, {-42, -40, 6, 7}, {-1, 1, 90, 92}};
  std::vector<uint32_t> pictures[2];
  for (int spare : {0, 3}) {
    SCOPED_TRACE(spare);
    Open(640, 480);
    auto* object = new TestTiles(tiles, -1.0f, spare);
    world->AddChild(object);
    Start();
    const std::string log = qvtest::LoggedAtLevel(1, [&] {
      Frame();
      Frame();
    });
    EXPECT_EQ(object->hidden, (std::vector<uint32_t>{0, 0, 0, 0, 1, 1, 1, 1}));
    // Merging stops for good at the first gap, with one log line.
    EXPECT_EQ(object->mergeSwitch, spare ? 0 : 1);
    EXPECT_EQ(qvtest::CountOf(log, "===KWEX DoRender 1\r\n"), spare ? 1 : 0);
    pictures[spare ? 1 : 0] = Pixels();
    Close();
  }
  // The four tiles ahead show; drawn one by one the picture is the same.
  const uint32_t sea = pictures[0][0] & 0xFFFFFF;
  int drawn = 0, differing = 0;
  for (size_t i = 0; i < pictures[0].size(); ++i) {
    drawn += Near(pictures[0][i], sea, 8) ? 0 : 1;
    differing += pictures[0][i] != pictures[1][i] ? 1 : 0;
  }
  EXPECT_GT(drawn, 2000);
  EXPECT_EQ(differing, 0);
}

TEST_F(FogScene, TheSoftFogRingDarkensTheDistance) {
  for (bool pixelShaders : {true, false}) {
    SCOPED_TRACE(pixelShaders ? "pixel shader" : "fixed stages");
    Open(640, 480);
    if (!pixelShaders) {
      world->vsServer->SetPixelShaderQuery(NoPixelShaders);
      world->sbServer->SetPixelShaderQuery(NoPixelShaders);
    }
    auto* softFog = new X7SoftFog;
    world->AddChild(softFog);
    Start();
    Frame();
    ASSERT_GT(softFog->quadCount, 10);
    std::vector<uint32_t> px = Pixels();
    if (pixelShaders) SaveArtefact("fog_soft_ring");
    // The sprites straddle the horizon: there the sea is darker than the fog
    // colour, mostly in red and green; the sky above them is untouched.
    const uint32_t sea = SeaColour();
    const int darker = CountIn(px, 0, 200, 639, 330, [&](uint32_t p, int) {
      return Green(p) + 2 < Green(sea) && Blue(p) <= Blue(sea);
    });
    EXPECT_GT(darker, 640 * 40);
    EXPECT_TRUE(Near(At(px, 320, 5), sea, 2));
    // Without it the sea is plain.
    softFog->spriteCount = 0;
    Frame();
    px = Pixels();
    EXPECT_EQ(CountIn(px, 0, 200, 639, 330, [&](uint32_t p, int) { return !Near(p, SeaColour(), 2); }), 0);
    Close();
  }
}

TEST_F(FogScene, FishGlintsShowAfterTwentySeconds) {
  Open(640, 480);
  X2FileFish* fish = AddFish(1, D3DXVECTOR3(0.0f, 0.0f, 5.0f));
  X1Halation* halation = AddHalation();
  Start();
  Frame();
  // The fish shows its side to the camera with the sun above and behind
  // it: it reports one glint, which waits for the scene to settle.
  EXPECT_FALSE(fish->HasFlag(kObjCulled));
  EXPECT_EQ(halation->PointCount(), 1);
  EXPECT_EQ(halation->QuadCount(), 1);
  EXPECT_EQ(world->settled, 0);
  std::vector<uint32_t> unsettled = Pixels();
  world->settled = 1;
  Frame(0.0f);
  std::vector<uint32_t> glint = Pixels();
  SaveArtefact("fog_fish_glint");
  // Around the fish (the middle of the screen) the glint brightens the picture.
  const int brighter = CountIn(glint, 280, 200, 360, 280, [&](uint32_t p, int i) {
    return Brightness(p) > Brightness(unsettled[i]) + 120;
  });
  EXPECT_GT(brighter, 100);
  // Each frame starts without points: a fish turned head on reports none.
  fish->rotY = D3DX_PI / 2.0f;
  Frame();
  EXPECT_EQ(halation->PointCount(), 0);
  EXPECT_EQ(halation->QuadCount(), 0);
}

TEST_F(FogScene, TheWholeSceneAcrossDeviceResets) {
  // The product's defaults: glare buffers and a frame trail of three.
  Open(800, 600, "Lights=0\r\n");
  ASSERT_TRUE(app->IsMultiSurface());
  auto* floor = new TestTiles(FloorStrips(), -2.0f);
  world->AddChild(floor);
  const float rows[3] = {-0.6f, 0.0f, 0.7f};
  for (int i = 0; i < 9; ++i) {
    X2FileFish* fish = AddFish(i, D3DXVECTOR3(-2.4f + 1.2f * (i % 5), rows[i % 3], 5.0f + 2.5f * (i % 4)));
    fish->rotY = (i % 3 == 0) ? 0.15f : -0.1f * (i % 3);
  }
  X1Halation* halation = AddHalation();
  auto* softFog = new X7SoftFog;
  world->AddChild(softFog);
  Start();
  world->settled = 1;
  for (int i = 0; i < 20; ++i) Frame();
  SaveArtefact("fog_whole_scene");
  const size_t segments = floor->spheres.size();
  const int glints = halation->QuadCount();
  EXPECT_GT(glints, 0);
  std::vector<uint32_t> before = Pixels();
  for (int r = 0; r < 3; ++r) {
    Reset();
    Frame();
  }
  for (int i = 0; i < 4; ++i) Frame();
  SaveArtefact("fog_whole_scene_after_reset");
  EXPECT_EQ(floor->spheres.size(), segments);  // rebuilt, not appended to
  EXPECT_EQ(floor->hidden.size(), segments);
  EXPECT_EQ(halation->QuadCount(), glints);
  EXPECT_GT(softFog->quadCount, 10);
  // The same scene a few frames on: floor, fog, ring and glints as before.
  std::vector<uint32_t> after = Pixels();
  const int differing = CountIn(after, 0, 0, 799, 599, [&](uint32_t p, int i) { return !Near(p, before[i], 24); });
  EXPECT_LT(differing, 800 * 600 / 50);
  EXPECT_GT(Red(At(after, 400, FloorRow(4.0f))), 120);
}

}  // namespace
