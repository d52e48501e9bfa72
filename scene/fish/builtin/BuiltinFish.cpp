// The seven species built into the program. Meshes, frames, partial-morph
// poses, parts and textures come from the generated species data; the records
// below tie them together. Everything is writable: the program turns mesh
// indices into strips and partial-morph poses into deltas in place.
#include "fish/BuiltinFish.h"

#include "model_aji.h"
#include "model_buri.h"
#include "model_iwashi.h"
#include "model_tai.h"
#include "util/EngineUtil.h"

namespace {

#define QV_TEXTURE(sym) {sym, sizeof(sym)}

const char kMaker[] = "ハルベノルソフト";
const char kDefaultAI[] = "ハイキング(群)_ハルベノルソフト";

// Skins first; the second entry (the extra texture, or the second counted
// one) is the sheen image shared by the whole list.
X2FishTexture gAjiTextures[2] = {QV_TEXTURE(aji_skin), QV_TEXTURE(tai_sheen)};
X2FishTexture gBuriTextures[2] = {QV_TEXTURE(buri_skin), QV_TEXTURE(tai_sheen)};
X2FishTexture gIwashiTextures[1] = {QV_TEXTURE(iwashi_skin)};
X2FishTexture gMadaiTextures[2] = {QV_TEXTURE(tai_madai), QV_TEXTURE(tai_sheen)};
X2FishTexture gKurodaiTextures[2] = {QV_TEXTURE(tai_kurodai), QV_TEXTURE(tai_sheen)};
X2FishTexture gMadaiBlueTextures[2] = {QV_TEXTURE(tai_madai_blue), QV_TEXTURE(tai_sheen)};
X2FishTexture gMadaiYellowTextures[2] = {QV_TEXTURE(tai_madai_yellow), QV_TEXTURE(tai_sheen)};

#undef QV_TEXTURE

constexpr uint32_t kFrames = 10;
constexpr uint32_t kParts = 9;

X2FishModel MakeModel(X2FishTexture* textures, uint32_t textureCount, bool extraTexture,
                      X2FishMesh* base, X2FarMesh* farMesh, X2FishMesh** frames, X2FishMesh* pminfo,
                      X2FishPart* parts, uint32_t partCount, uint32_t flags) {
  X2FishModel m{};
  m.textureCount = textureCount;
  m.textures = textures;
  m.scale = 1.0f;
  m.baseMesh = base;
  m.hasSecondMesh = farMesh != nullptr;
  m.secondMesh = farMesh;
  m.frameCount = kFrames;
  m.swimRate = 2.0f;
  m.swimBase = 0.2f;
  m.swimMax = 0.5f;
  m.frames = frames;
  m.pminfoMesh = pminfo;
  m.partCount = partCount;
  m.parts = parts;
  m.flags = flags;
  m.hasExtraTexture = extraTexture ? 1 : 0;
  return m;
}

X2FishModel gModels[7] = {
    MakeModel(gAjiTextures, 1, true, &aji_base, &aji_far_pair, aji_frames, &aji_pminfo, aji_parts,
              kParts, X2_MODEL_DEFAULT | X2_MODEL_TRIANGLE_LIST),
    MakeModel(gBuriTextures, 1, true, &buri_base, nullptr, buri_frames, &buri_pminfo, buri_parts,
              kParts, X2_MODEL_DEFAULT),
    MakeModel(gIwashiTextures, 1, false, &iwashi_base, nullptr, iwashi_frames, nullptr, nullptr, 0,
              X2_MODEL_DEFAULT),
    MakeModel(gMadaiTextures, 1, true, &tai_base, &tai_far_pair, tai_frames, &tai_pminfo, tai_parts,
              kParts, X2_MODEL_DEFAULT),
    MakeModel(gKurodaiTextures, 2, false, &tai_base, &tai_far_pair, tai_frames, &tai_pminfo,
              tai_parts, kParts, X2_MODEL_DEFAULT),
    MakeModel(gMadaiBlueTextures, 2, false, &tai_base, &tai_far_pair, tai_frames, &tai_pminfo,
              tai_parts, kParts, X2_MODEL_DEFAULT),
    MakeModel(gMadaiYellowTextures, 2, false, &tai_base, &tai_far_pair, tai_frames, &tai_pminfo,
              tai_parts, kParts, X2_MODEL_DEFAULT),
};

X2FishData MakeRecord(const char* name, const char* latinName, X2FishModel* model) {
  X2FishData r{};
  r.header.version = X2_VERSION_FISH;
  r.header.nextOffset = 0;
  SafeStrCopy(r.header.name, name, sizeof r.header.name);
  SafeStrCopy(r.header.maker, kMaker, sizeof r.header.maker);
  r.latinName = latinName;
  r.defaultAI = kDefaultAI;
  r.flags = 0;
  r.modelCount = 1;
  r.model = model;
  return r;
}

X2FishData gRecords[7] = {
    MakeRecord("マアジ", "Trachurus japonicus", &gModels[0]),
    MakeRecord("ブリ", "Seriola quinqueradiata", &gModels[1]),
    MakeRecord("マイワシ", "Sardinops melanosictus", &gModels[2]),
    MakeRecord("マダイ", "Pagrus major", &gModels[3]),
    MakeRecord("クロダイ", "Acanthopagrus schlegeli", &gModels[4]),
    MakeRecord("マダイ（青）", "Pagrus major", &gModels[5]),
    MakeRecord("マダイ（黄）", "Pagrus major", &gModels[6]),
};

const X2FishData* const gList[7] = {&gRecords[0], &gRecords[1], &gRecords[2], &gRecords[3],
                                    &gRecords[4], &gRecords[5], &gRecords[6]};

}  // namespace

const X2FishData* const* GetBuiltinSpecies(int* count) {
  if (count) *count = 7;
  return gList;
}
