// A built-in species fish as the source of a render texture, with file-fish
// clones drawn as billboards of its picture, before and after a device reset.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "D3DTestDevice.h"
#include "SceneTestSupport.h"
#include "TestSupport.h"
#include "clones/C4RenderTexture.h"
#include "fish/BuiltinFish.h"
#include "fish/X2FileFish.h"
#include "frame/C3SceneHost.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/TextureTable.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const D3DXVECTOR4 kBackground(0.0f, 0.25f, 0.5f, 1.0f);

// The file fish that keeps the surface it was last drawn into.
class CapturedFish : public X2FileFish {
 public:
  using X2FileFish::X2FileFish;
  ~CapturedFish() override { Drop(); }
  HRESULT Render() override {
    if (drawingIntoTexture) {
      Drop();
      GetSceneHost()->GetDevice()->GetRenderTarget(0, &surface);
      GetSceneHost()->GetDevice()->GetViewport(&tile);
    }
    return X2FileFish::Render();
  }
  void Drop() {
    if (surface) surface->Release();
    surface = nullptr;
  }
  IDirect3DSurface9* surface = nullptr;
  D3DVIEWPORT9 tile{};  // where in the surface the picture went
};

class FileFishClones : public ::testing::Test {
 protected:
  void SetUp() override {
    int count = 0;
    const X2FishData* const* species = GetBuiltinSpecies(&count);
    ASSERT_GT(count, 0);
    ASSERT_TRUE(dev.Create(kWidth, kHeight)) << dev.Error();
    references = qvtest::DeviceReferences(dev.Device());
    camera = new qvtest::LookAlongZ;
    world = qvtest::OpenWorld(&host, camera);
    texture = new C4RenderTexture;
    source = new CapturedFish(species[0]);
    Place(source, D3DXVECTOR3(0.0f, 0.0f, 5.5f));
    source->cloneMode = kCloneSource;
    source->cloneSource = source;
    source->renderTexture = texture;
    texture->SetSource(source);
    texture->AddObject(source);
    for (const D3DXVECTOR3& at : {D3DXVECTOR3(-1.5f, 0.3f, 6.0f), D3DXVECTOR3(1.5f, -0.3f, 6.5f)}) {
      X2FileFish* clone = new X2FileFish(species[0]);
      Place(clone, at);
      clone->cloneMode = kCloneCopy;
      clone->cloneSource = source;
      clone->renderTexture = texture;
      texture->AddObject(clone);
      clones.push_back(clone);
    }
    world->AddChild(texture);
    ASSERT_EQ(0, world->InitDeviceObjects());
    ASSERT_EQ(0, world->RestoreDeviceObjects());
  }
  void TearDown() override {
    qvtest::CloseWorld(world);
    EXPECT_EQ(0, TextureTable::Instance().LiveCount());
    EXPECT_EQ(references, qvtest::DeviceReferences(dev.Device()));
  }
  void Place(X2FileFish* fish, const D3DXVECTOR3& at) {
    fish->position = at;
    fish->rotY = 0.0f;  // nose along -x: side on to the camera
    world->AddChild(fish);
  }
  // Pixels unlike the background within the billboard square of a fish.
  int BillboardPixels(const std::vector<uint32_t>& px, const C3Object* fish) {
    D3DXMATRIX vp = camera->view * camera->projection;
    D3DXVECTOR3 lo = fish->position - D3DXVECTOR3(0.7f, 0.7f, 0.0f), hi = fish->position + D3DXVECTOR3(0.7f, 0.7f, 0.0f);
    D3DXVec3TransformCoord(&lo, &lo, &vp);
    D3DXVec3TransformCoord(&hi, &hi, &vp);
    const uint32_t bg = D3DCOLOR_COLORVALUE(kBackground.x, kBackground.y, kBackground.z, 1.0f) & 0xFFFFFF;
    int n = 0;
    for (int y = static_cast<int>((1.0f - hi.y) * 0.5f * kHeight); y < (1.0f - lo.y) * 0.5f * kHeight; ++y)
      for (int x = static_cast<int>((lo.x + 1.0f) * 0.5f * kWidth); x < (hi.x + 1.0f) * 0.5f * kWidth; ++x) {
        if (x < 0 || y < 0 || x >= kWidth || y >= kHeight) continue;
        uint32_t p = px[static_cast<size_t>(y) * kWidth + x] & 0xFFFFFF;
        n += std::abs(qvtest::Red(p) - qvtest::Red(bg)) + std::abs(qvtest::Green(p) - qvtest::Green(bg)) +
                     std::abs(qvtest::Blue(p) - qvtest::Blue(bg)) > 24;
      }
    return n;
  }
  void ExpectBillboards() {
    EXPECT_EQ(1, source->sourceCaptured);
    EXPECT_EQ(3, texture->QuadCount());
    std::vector<uint32_t> px = dev.ReadBackBuffer();
    ASSERT_EQ(static_cast<size_t>(kWidth * kHeight), px.size());
    EXPECT_GT(BillboardPixels(px, source), 20);
    for (X2FileFish* clone : clones) {
      EXPECT_EQ(0, clone->drawAsMesh);
      EXPECT_GT(BillboardPixels(px, clone), 20);
    }
  }
  // As the program draws a frame: the sources go into the atlas before the
  // world is drawn.
  void TwoFrames() {
    for (int i = 0; i < 2; ++i) {
      world->Move(0.05f);
      world->PreRender();
      world->Render();
    }
  }
  // Pixels of the picture the fish left in its tile of the atlas (alpha
  // above 0); nothing outside the tile.
  int PicturePixels() {
    if (!source->surface) return -1;
    int w = 0, h = 0;
    std::vector<uint32_t> image = dev.ReadSurface(source->surface, &w, &h);
    const D3DVIEWPORT9& t = source->tile;
    EXPECT_EQ(128u, t.Width);
    EXPECT_EQ(128u, t.Height);
    int inside = 0, outside = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const bool in = x >= static_cast<int>(t.X) && x < static_cast<int>(t.X + t.Width) &&
                        y >= static_cast<int>(t.Y) && y < static_cast<int>(t.Y + t.Height);
        if ((image[static_cast<size_t>(y) * w + x] >> 24) != 0) ++(in ? inside : outside);
      }
    EXPECT_EQ(0, outside);
    EXPECT_EQ(0u, image[static_cast<size_t>(t.Y) * w + t.X] >> 24);  // the tile's corner stays clear
    return inside;
  }

  qvtest::D3DTestDevice dev;
  qvtest::FishSceneHost host{dev, kBackground};
  ULONG references = 0;
  C3World* world = nullptr;
  qvtest::LookAlongZ* camera = nullptr;
  C4RenderTexture* texture = nullptr;
  CapturedFish* source = nullptr;
  std::vector<X2FileFish*> clones;
};

TEST_F(FileFishClones, PictureAndBillboardsSurviveAReset) {
  TwoFrames();
  EXPECT_GT(PicturePixels(), 100);
  ExpectBillboards();
  const std::string folder = qvtest::TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  IDirect3DSurface9* back = nullptr;
  ASSERT_EQ(D3D_OK, dev.Device()->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back));
  EXPECT_EQ(D3D_OK, D3DXSaveSurfaceToFileA((folder + "render_texture_fish.png").c_str(), D3DXIFF_PNG, back,
                                           nullptr, nullptr));
  back->Release();

  source->Drop();
  world->InvalidateDeviceObjects();
  ASSERT_EQ(D3D_OK, dev.Reset());
  ASSERT_EQ(0, world->RestoreDeviceObjects());
  EXPECT_EQ(3, texture->Clones().count);
  TwoFrames();
  EXPECT_GT(PicturePixels(), 100);
  ExpectBillboards();
}

}  // namespace
