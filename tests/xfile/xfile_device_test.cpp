// X-file objects on a real device: the generated dolphin (skinned body,
// static eyes, swim animation) and a two-material plate, loaded from
// compressed blocks, drawn through the servers with the skinning shaders,
// read back and checked: two poses, device reset, materials, tuning values.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include <zlib.h>

#include "D3DTestDevice.h"
#include "EngineData.h"
#include "HostCallbacks.h"
#include "SceneTestSupport.h"
#include "TestSupport.h"
#include "XFileFixtures.h"
#include "servers/SBServer.h"
#include "servers/TextureTable.h"
#include "servers/VSServer.h"
#include "structures/X5MeshContainer.h"
#include "structures/X5SkinObject.h"
#include "structures/X5SkinTables.h"
#include "world/C3Camera.h"
#include "world/C3World.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
const D3DXVECTOR4 kBackground(0.0f, 0.0f, 1.0f, 1.0f);
const D3DXVECTOR3 kDolphinAt(-0.1f, 0.0f, 3.0f);

bool NoPixelShaders() { return false; }

// Every mesh container of a model, depth first.
std::vector<X5MeshContainer*> Containers(X5Frame* root) {
  std::vector<X5MeshContainer*> out;
  std::function<void(X5Frame*)> walk = [&](X5Frame* f) {
    for (; f; f = f->nextSibling.get()) {
      for (auto& c : f->meshContainers) out.push_back(c.get());
      walk(f->firstChild.get());
    }
  };
  walk(root);
  return out;
}

class SkinScene : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dev.Create(kWidth, kHeight)) << dev.Error();
    SetFilters();
    deviceReferences = qvtest::DeviceReferences(dev.Device());
    camera = new qvtest::LookAlongZ;
    world = qvtest::OpenWorld(&host, camera);
  }
  void TearDown() override {
    qvtest::CloseWorld(world);
    EXPECT_EQ(0, TextureTable::Instance().LiveCount());
    if (dev.Device()) {
      EXPECT_EQ(deviceReferences, qvtest::DeviceReferences(dev.Device()));
    }
  }

  // As the program does after every device creation and reset.
  void SetFilters() {
    for (DWORD s = 0; s < 4; ++s) {
      dev.Device()->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
      dev.Device()->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    }
  }
  X5SkinObject* AddModel(const unsigned char* block, uint32_t size, uint32_t inflated, D3DXVECTOR3 at) {
    auto* o = new X5SkinObject;
    EXPECT_TRUE(o->AddXBlock(block, size, inflated));
    o->scale = 1.0f;
    o->position = at;
    world->AddChild(o);
    return o;
  }
  X5SkinObject* AddDolphin() {
    X5SkinObject* o =
        AddModel(XFileFixtures::kDolphin, XFileFixtures::kDolphinSize, XFileFixtures::kDolphinInflatedSize, kDolphinAt);
    o->AddTexture(XFileFixtures::kDolphinSkin, XFileFixtures::kDolphinSkinSize);
    return o;
  }
  void Start() {
    ASSERT_EQ(0, world->InitDeviceObjects());
    ASSERT_EQ(0, world->RestoreDeviceObjects());
  }
  std::vector<uint32_t> Frame() {
    world->Move(0.05f);
    world->Render();
    return dev.ReadBackBuffer();
  }

  // Screen x of a point of the model, placed at `at`.
  int ScreenX(float modelX, const D3DXVECTOR3& at) {
    D3DXMATRIX view;
    camera->GetViewMatrix(&view);
    const D3DXMATRIX viewProjection = view * camera->projection;
    D3DXVECTOR3 p(at.x + modelX, at.y, at.z), s;
    D3DXVec3TransformCoord(&s, &p, &viewProjection);
    return static_cast<int>((s.x * 0.5f + 0.5f) * kWidth);
  }
  static bool IsBackground(uint32_t p) {
    return qvtest::Red(p) < 16 && qvtest::Green(p) < 16 && qvtest::Blue(p) > 239;
  }
  // Pixels in columns [x0, x1) that pass the test.
  static int Count(const std::vector<uint32_t>& px, int x0, int x1, const std::function<bool(int)>& test) {
    int n = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = std::max(x0, 0); x < std::min(x1, kWidth); ++x) n += test(y * kWidth + x) ? 1 : 0;
    return n;
  }
  static int Drawn(const std::vector<uint32_t>& px, int x0 = 0, int x1 = kWidth) {
    return Count(px, x0, x1, [&](int i) { return !IsBackground(px[i]); });
  }
  static int Changed(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int x0 = 0, int x1 = kWidth) {
    return Count(a, x0, x1, [&](int i) {
      const uint32_t p = a[i], q = b[i];
      return std::abs(qvtest::Red(p) - qvtest::Red(q)) + std::abs(qvtest::Green(p) - qvtest::Green(q)) +
                 std::abs(qvtest::Blue(p) - qvtest::Blue(q)) > 12;
    });
  }
  void SaveArtefact(const char* name) { EXPECT_TRUE(qvtest::SaveBackBufferArtefact(dev.Device(), name)) << name; }

  qvtest::D3DTestDevice dev;
  qvtest::FishSceneHost host{dev, kBackground};
  ULONG deviceReferences = 0;
  C3World* world = nullptr;
  qvtest::LookAlongZ* camera = nullptr;
};

TEST_F(SkinScene, TheDolphinLoadsWithItsBonesMeshesAndAnimations) {
  X5SkinObject* dolphin = AddDolphin();
  Start();
  ASSERT_EQ(dolphin->models.size(), 1u);
  X5LoadedModel& model = *dolphin->models[0];
  const auto containers = Containers(model.root.get());
  ASSERT_EQ(containers.size(), 2u);
  X5MeshContainer* body = containers[1]->IsSkinned() ? containers[1] : containers[0];
  X5MeshContainer* eyes = body == containers[0] ? containers[1] : containers[0];
  ASSERT_TRUE(body->IsSkinned());
  EXPECT_EQ(body->name, "DolphinBody");
  EXPECT_EQ(body->influences, 3);
  EXPECT_EQ(body->paletteSize, 5);
  EXPECT_EQ(body->builtFor, dolphin->conversionStamp);
  EXPECT_GE(body->boneCombinations.size(), 2u) << "one per material at least";
  for (const D3DXMATRIX* bone : body->boneMatrixPointers) EXPECT_NE(bone, nullptr);
  EXPECT_EQ(body->textureIndex, (std::vector<int>{0, kNoMaterialTexture}));
  EXPECT_FALSE(eyes->IsSkinned());
  EXPECT_EQ(eyes->influences, 0);

  int animations = 0;
  for (X5Frame* a = model.animations; a; a = a->nextAnimation) {
    ++animations;
    EXPECT_TRUE(a->isAnimationNode);
    EXPECT_NE(a->targetFrame, nullptr);
  }
  EXPECT_EQ(animations, 4);
  EXPECT_GT(model.radius, 1.0f);
  EXPECT_GT(dolphin->radius, 1.0f);

  D3DXMATRIX* fluke = dolphin->FindFrameMatrix("Fluke");
  ASSERT_NE(fluke, nullptr);
  EXPECT_EQ(fluke, &model.root->Find("Fluke")->localMatrix);
  EXPECT_FLOAT_EQ(fluke->_41, 0.25f);
  EXPECT_EQ(dolphin->FindFrameMatrix("Nobody"), nullptr);
  EXPECT_TRUE(dolphin->SetBoneParameter(17, 0.5f));
  EXPECT_FALSE(dolphin->SetBoneParameter(18, 0.5f));
  EXPECT_FALSE(dolphin->SetBoneParameter(-1, 0.5f));

  // The same through the plug-ins' host table; other objects have no frames.
  X2HostCallbacks* host = GetHostCallbacks();
  EXPECT_EQ(static_cast<void*>(host->FindFrameMatrix(HostHandle(dolphin), "Fluke")), static_cast<void*>(fluke));
  EXPECT_EQ(host->FindFrameMatrix(HostHandle(camera), "Fluke"), nullptr);
  host->SetDolphinParam(HostHandle(dolphin), 3, 0.75f);
  host->SetDolphinParam(HostHandle(dolphin), 40, 0.75f);
  host->SetDolphinParam(HostHandle(camera), 3, 0.75f);
  EXPECT_FLOAT_EQ(dolphin->boneParameters[3], 0.75f);
}

struct ShadingCase {
  const char* name;
  bool dolphinShading;
  bool pixelShaders;
};

class SkinPoses : public SkinScene, public ::testing::WithParamInterface<ShadingCase> {};

TEST_P(SkinPoses, TwoPosesDifferWhereTheSkinMoves) {
  const ShadingCase& shading = GetParam();
  if (!shading.pixelShaders) {
    world->vsServer->SetPixelShaderQuery(NoPixelShaders);
    world->sbServer->SetPixelShaderQuery(NoPixelShaders);
  }
  X5SkinObject* dolphin = AddDolphin();
  dolphin->dolphinShading = shading.dolphinShading ? 1 : 0;
  // The dolphin's second texture masks its reflection: any picture will do.
  if (shading.dolphinShading) dolphin->AddTexture(EngineData::kFallbackImage, EngineData::kFallbackImageSize);
  Start();

  dolphin->FrameMove(0.0f);  // the first keys: straight
  const std::vector<uint32_t> rest = Frame();
  EXPECT_FALSE(dolphin->HasFlag(kObjCulled));
  const int faces = dolphin->facesDrawn;
  EXPECT_GT(faces, 700);
  SaveArtefact((std::string("xfile_dolphin_rest_") + shading.name).c_str());
  dolphin->FrameMove(0.5f);  // a quarter of the beat: the tail bent up
  const std::vector<uint32_t> beat = Frame();
  EXPECT_EQ(dolphin->facesDrawn, faces);
  SaveArtefact((std::string("xfile_dolphin_beat_") + shading.name).c_str());

  const int headEnd = ScreenX(-0.45f, kDolphinAt);
  const int tailStart = ScreenX(0.45f, kDolphinAt);
  EXPECT_GT(Drawn(rest), 8000);
  EXPECT_GT(Drawn(rest, 0, headEnd), 1500);
  EXPECT_GT(Drawn(rest, tailStart), 800);
  EXPECT_GT(Changed(rest, beat, tailStart, kWidth), 300) << "the tail moved";
  EXPECT_LE(Changed(rest, beat, 0, headEnd), 5) << "the head held still";

  // Half a beat later the tail is straight again: the first picture back.
  dolphin->FrameMove(1.0f);
  EXPECT_LE(Changed(rest, Frame()), 5);
}

INSTANTIATE_TEST_SUITE_P(Shading, SkinPoses,
                         ::testing::Values(ShadingCase{"standard", false, true}, ShadingCase{"dolphin", true, true},
                                           ShadingCase{"fixed", false, false}),
                         [](const ::testing::TestParamInfo<ShadingCase>& info) { return info.param.name; });

TEST_F(SkinScene, ResetRebuildsTheSkinnedCopyAndDrawsTheSame) {
  X5SkinObject* dolphin = AddDolphin();
  Start();
  dolphin->FrameMove(0.5f);
  Frame();
  const std::vector<uint32_t> before = Frame();
  X5MeshContainer* body = nullptr;
  for (X5MeshContainer* c : Containers(dolphin->models[0]->root.get()))
    if (c->IsSkinned()) body = c;
  ASSERT_NE(body, nullptr);
  for (int r = 0; r < 2; ++r) {
    world->InvalidateDeviceObjects();
    EXPECT_EQ(body->mesh, nullptr);
    EXPECT_EQ(body->builtFor, kStaleConversion);
    ASSERT_EQ(D3D_OK, dev.Reset());
    SetFilters();
    ASSERT_EQ(0, world->RestoreDeviceObjects());
    Frame();
  }
  const std::vector<uint32_t> after = Frame();
  EXPECT_NE(body->mesh, nullptr);
  EXPECT_EQ(body->builtFor, dolphin->conversionStamp);
  EXPECT_GT(Drawn(after), 8000);
  EXPECT_LE(Changed(before, after), 5);
}

TEST_F(SkinScene, TuningValuesShadeTheSkinWithoutMovingIt) {
  X5SkinObject* dolphin = AddDolphin();
  Start();
  const std::vector<uint32_t> plain = Frame();
  for (int i = 0; i < kBoneParameterCount; ++i) dolphin->SetBoneParameter(i, -1.0f);
  const std::vector<uint32_t> tuned = Frame();
  int sameShape = 0, darker = 0, drawn = 0;
  for (size_t i = 0; i < plain.size(); ++i) {
    sameShape += IsBackground(plain[i]) == IsBackground(tuned[i]);
    if (IsBackground(plain[i])) continue;
    ++drawn;
    darker += qvtest::Green(tuned[i]) + 40 < qvtest::Green(plain[i]);
  }
  EXPECT_GE(sameShape, static_cast<int>(plain.size()) - 5) << "the palette rows were left alone";
  EXPECT_GT(darker, drawn * 8 / 10);
}

TEST_F(SkinScene, EachMaterialOfAStaticMeshDrawsInItsOwnColour) {
  const D3DXVECTOR3 at(0.0f, 0.0f, 3.0f);
  X5SkinObject* plate = AddModel(XFileFixtures::kPlate, XFileFixtures::kPlateSize, XFileFixtures::kPlateInflatedSize, at);
  Start();
  const std::vector<uint32_t> px = Frame();
  SaveArtefact("xfile_plate");
  EXPECT_EQ(plate->facesDrawn, 4);
  const int middle = ScreenX(0.0f, at);
  auto red = [&](int i) { return qvtest::Red(px[i]) > 120 && qvtest::Green(px[i]) < 60; };
  auto green = [&](int i) { return qvtest::Green(px[i]) > 120 && qvtest::Red(px[i]) < 60; };
  EXPECT_GT(Count(px, ScreenX(-1.0f, at), middle, red), 5000);
  EXPECT_GT(Count(px, middle, ScreenX(1.0f, at), green), 5000);
  EXPECT_EQ(Count(px, ScreenX(-1.0f, at), middle, green), 0);
  EXPECT_EQ(Count(px, middle, ScreenX(1.0f, at), red), 0);
}

TEST_F(SkinScene, ABlockThatDoesNotInflateIsLeftOut) {
  auto* o = new X5SkinObject;
  const unsigned char garbage[] = {0x78, 0x9C, 1, 2, 3, 4, 5, 6};
  EXPECT_FALSE(o->AddXBlock(garbage, sizeof garbage, 1000));
  // A stated size too small for the file: the real length would not fit.
  EXPECT_FALSE(o->AddXBlock(XFileFixtures::kDolphin, XFileFixtures::kDolphinSize, 16));
  EXPECT_FALSE(o->AddXBlock(nullptr));
  EXPECT_TRUE(o->sources.empty());
  EXPECT_TRUE(o->AddXBlock(XFileFixtures::kPlate, XFileFixtures::kPlateSize, XFileFixtures::kPlateInflatedSize));
  ASSERT_EQ(o->sources.size(), 1u);
  EXPECT_EQ(o->sources[0].dSize, XFileFixtures::kPlateInflatedSize) << "the length the inflation gave";
  world->AddChild(o);
  Start();
  EXPECT_EQ(o->models.size(), 1u);
}

}  // namespace

namespace {

std::vector<unsigned char> Compress(const std::string& text) {
  std::vector<unsigned char> out(compressBound(static_cast<uLong>(text.size())));
  uLongf length = static_cast<uLongf>(out.size());
  compress(out.data(), &length, reinterpret_cast<const Bytef*>(text.data()), static_cast<uLong>(text.size()));
  out.resize(length);
  return out;
}

TEST_F(SkinScene, FilesThatDoNotLoadAreLeftOut) {
  const std::vector<std::string> bad = {
      "xof 0303qqq 0032\nFrame A { }\n",  // not a format the reader knows
      "xof 0303txt 0032\nFrame A { }\nFrame B { }\n"
      "AnimationSet S { Animation { {A} {B} AnimationKey { 2; 1; 0;3;0.0,0.0,0.0;;; } } }\n",  // two targets
      "xof 0303txt 0032\nFrame A { }\n"
      "AnimationSet S { Animation { {A} AnimationKey { 7; 1; 0;3;0.0,0.0,0.0;;; } } }\n",  // unknown key type
  };
  const D3DXVECTOR3 at(0.0f, 0.0f, 3.0f);
  auto* o = new X5SkinObject;
  std::vector<std::vector<unsigned char>> blocks;
  for (const std::string& text : bad) {
    blocks.push_back(Compress(text));
    ASSERT_TRUE(o->AddXBlock(blocks.back().data(), static_cast<uint32_t>(blocks.back().size()),
                             static_cast<uint32_t>(text.size())));
  }
  ASSERT_TRUE(o->AddXBlock(XFileFixtures::kPlate, XFileFixtures::kPlateSize, XFileFixtures::kPlateInflatedSize));
  o->scale = 1.0f;
  o->position = at;
  world->AddChild(o);
  Start();
  ASSERT_EQ(o->models.size(), 1u) << "only the plate";
  Frame();
  EXPECT_EQ(o->facesDrawn, 4);
}

TEST_F(SkinScene, AMeshWithoutMaterialsDrawsGreyPastTheAlphaTest) {
  // The program tests alpha at every restore; the grey material has alpha 0.
  IDirect3DDevice9* d = dev.Device();
  d->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
  d->SetRenderState(D3DRS_ALPHAREF, 1);
  d->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
  // A quad facing the camera, front faces counter-clockwise on screen.
  const std::string text =
      "xof 0303txt 0032\nFrame Q {\n Mesh M {\n 4;\n -1.0;-1.0;0.0;,\n -1.0;1.0;0.0;,\n 1.0;1.0;0.0;,\n"
      " 1.0;-1.0;0.0;;\n 2;\n 3;0,2,1;,\n 3;0,3,2;;\n"
      " MeshNormals { 1; 0.0;0.0;-1.0;; 2; 3;0,0,0;, 3;0,0,0;; }\n }\n}\n";
  const std::vector<unsigned char> block = Compress(text);
  auto* o = new X5SkinObject;
  ASSERT_TRUE(o->AddXBlock(block.data(), static_cast<uint32_t>(block.size()), static_cast<uint32_t>(text.size())));
  o->scale = 1.0f;
  o->position = D3DXVECTOR3(0.0f, 0.0f, 3.0f);
  world->AddChild(o);
  Start();
  const std::vector<uint32_t> px = Frame();
  const uint32_t centre = px[(kHeight / 2) * kWidth + kWidth / 2];
  EXPECT_EQ(o->facesDrawn, 2);
  EXPECT_GT(qvtest::Red(centre), 40);
  EXPECT_NEAR(qvtest::Red(centre), qvtest::Green(centre), 2) << "grey";
  EXPECT_NEAR(qvtest::Red(centre), qvtest::Blue(centre), 2) << "grey";
}

}  // namespace
