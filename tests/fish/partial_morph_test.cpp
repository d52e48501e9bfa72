#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "fish/BuiltinFish.h"
#include "fish/C5PartialMorph.h"
#include "fish/C5PartialMorphCache.h"
#include "pluginlists/X2PluginList.h"
#include "servers/VBServer.h"

namespace {

// The fish's mesh list for one model: base, frames, partial-morph mesh.
struct FishMeshes {
  std::vector<MeshRecord> records;
  std::vector<MeshRecord*> list;
  int partialIndex = 0;

  explicit FishMeshes(const X2FishModel* m) {
    records.resize(m->frameCount + 2);
    records[0].descriptor = m->baseMesh;
    for (uint32_t i = 0; i < m->frameCount; ++i) records[i + 1].descriptor = m->frames[i];
    partialIndex = static_cast<int>(m->frameCount) + 1;
    records[partialIndex].descriptor = m->pminfoMesh;
    for (auto& r : records) list.push_back(&r);
  }
};

// A small base mesh (material 0 of 4 vertices, material 1 of 2) and a
// partial-morph mesh whose ranges 0 and 1 are poses of material 0.
struct SmallModel {
  float base[6 * 8] = {};
  float poses[10 * 6] = {};
  X2AttributeRange baseRanges[2] = {{0, 0, 2, 0, 4}, {1, 2, 1, 4, 2}};
  X2AttributeRange poseRanges[3] = {{0, 0, 2, 0, 4}, {1, 2, 2, 4, 4}, {2, 4, 1, 8, 2}};
  X2FishMesh baseMesh{6, base, 3, nullptr, X2_FVF_VERTEX, 32, baseRanges, 2, nullptr};
  X2FishMesh poseMesh{10, poses, 5, nullptr, X2_FVF_MORPH, 24, poseRanges, 3, nullptr};
  std::vector<MeshRecord> records{MeshRecord{&baseMesh}, MeshRecord{&poseMesh}};
  std::vector<MeshRecord*> list{&records[0], &records[1]};

  SmallModel() {
    for (int v = 0; v < 6; ++v)
      for (int c = 0; c < 6; ++c) base[v * 8 + c] = static_cast<float>(v * 10 + c);
    for (int r = 0; r < 2; ++r)  // both poses start as the base ...
      for (int v = 0; v < 4; ++v)
        for (int c = 0; c < 6; ++c) poses[(r * 4 + v) * 6 + c] = base[v * 8 + c];
    poses[(0 * 4 + 1) * 6 + 2] += 1.0f;   // ... pose A moves vertex 1 up in z
    poses[(1 * 4 + 3) * 6 + 0] -= 2.0f;   // pose B moves vertex 3 in x
    poses[(1 * 4 + 2) * 6 + 4] += 0.5f;   // a normal alone does not list vertex 2
  }
};

TEST(PartialMorph, ListsMovedVerticesAndBlendsTheDifferences) {
  SmallModel m;
  X2FishPart parts[1] = {{0, 1, 0, 0.0f, 0.0f, 0.1f, 0.0f, 0}};
  C5PartialMorph pm;
  pm.SetParts(&m.list, 0, 1, parts, 1);
  ASSERT_TRUE(pm.Build());
  EXPECT_EQ(pm.BuiltParts(), 1);
  EXPECT_EQ(pm.ChangedVertices(0), (std::vector<int>{1, 3}));
  EXPECT_EQ(pm.ChangedCount(0), 2);
  EXPECT_EQ(pm.ChangedCount(1), 0);
  // The poses now hold differences from the base, normals too.
  EXPECT_FLOAT_EQ(m.poses[1 * 6 + 2], 1.0f);
  EXPECT_FLOAT_EQ(m.poses[(4 + 3) * 6 + 0], -2.0f);
  EXPECT_FLOAT_EQ(m.poses[(4 + 2) * 6 + 4], 0.5f);
  EXPECT_FLOAT_EQ(m.poses[0], 0.0f);
  EXPECT_GE(pm.Deltas().size(), 6u * 6u);

  float weights[kMaxFishParts] = {0.25f};
  pm.Apply(weights);
  const std::vector<float>& d = pm.Deltas();
  EXPECT_FLOAT_EQ(d[1 * 6 + 2], 0.25f * 1.0f);
  EXPECT_FLOAT_EQ(d[3 * 6 + 0], 0.75f * -2.0f);
  EXPECT_FLOAT_EQ(d[2 * 6 + 4], 0.0f);  // not listed, not blended
  for (float f : d) EXPECT_TRUE(std::isfinite(f));

  // A second record on the same (now converted) mesh finds the same
  // vertices and leaves the data as it is.
  std::vector<float> before(std::begin(m.poses), std::end(m.poses));
  C5PartialMorph again;
  again.SetParts(&m.list, 0, 1, parts, 1);
  ASSERT_TRUE(again.Build());
  EXPECT_EQ(again.ChangedVertices(0), (std::vector<int>{1, 3}));
  EXPECT_EQ(std::vector<float>(std::begin(m.poses), std::end(m.poses)), before);
  EXPECT_TRUE(C5PartialMorph::IsRangeConverted(&m.poseMesh, 0));
  EXPECT_FALSE(C5PartialMorph::IsRangeConverted(&m.poseMesh, 2));

  // Data that comes back unconverted (a reloaded module) is converted anew.
  C5PartialMorph::ForgetConversions(m.base, sizeof m.base);  // another block: kept
  EXPECT_TRUE(C5PartialMorph::IsRangeConverted(&m.poseMesh, 0));
  C5PartialMorph::ForgetConversions(m.poses, sizeof m.poses);
  EXPECT_FALSE(C5PartialMorph::IsRangeConverted(&m.poseMesh, 0));
}

TEST(PartialMorph, MismatchedOrOutOfRangePartsStopTheBuild) {
  SmallModel m;
  // Part 0 is good; part 1 pairs a 2-vertex range with the 4-vertex material.
  X2FishPart parts[3] = {{0, 1, 0, 0, 0, 0.1f, 0, 0}, {2, 2, 0, 0, 0, 0.1f, 0, 0}, {0, 1, 0, 0, 0, 0.1f, 0, 0}};
  C5PartialMorph pm;
  pm.SetParts(&m.list, 0, 1, parts, 3);
  EXPECT_FALSE(pm.Build());
  EXPECT_EQ(pm.BuiltParts(), 1);
  float weights[kMaxFishParts] = {1.0f, 1.0f, 1.0f};
  pm.Apply(weights);
  EXPECT_FLOAT_EQ(pm.Deltas()[1 * 6 + 2], 1.0f);

  SmallModel n;
  const X2AttributeRange *a, *b, *br;
  X2FishPart material20{0, 1, 20, 0, 0, 0, 0, 0};
  X2FishPart missing{0, 7, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(PartRanges(&n.baseMesh, &n.poseMesh, material20, &a, &b, &br));
  EXPECT_FALSE(PartRanges(&n.baseMesh, &n.poseMesh, missing, &a, &b, &br));
  n.poseRanges[1].vertexStart = 8;  // runs past the end of the mesh
  X2FishPart past{0, 1, 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(PartRanges(&n.baseMesh, &n.poseMesh, past, &a, &b, &br));

  // No parts, or no partial-morph mesh: nothing listed, nothing crashes.
  std::vector<MeshRecord*> onlyBase{n.list[0]};
  C5PartialMorph none;
  none.SetParts(&onlyBase, 0, 1, parts, 1);
  EXPECT_FALSE(none.Build());
  none.Apply(weights);
  EXPECT_EQ(none.Upload(), nullptr);
}

// Vertices of a part whose pose positions differ from the base, counted on raw data.
size_t CountMoved(const X2FishModel* m, const X2FishPart& part) {
  const float* base = static_cast<const float*>(m->baseMesh->vertices);
  const float* poses = static_cast<const float*>(m->pminfoMesh->vertices);
  const X2AttributeRange& a = m->pminfoMesh->attributeRanges[part.rangeA];
  const X2AttributeRange& b = m->pminfoMesh->attributeRanges[part.rangeB];
  const X2AttributeRange& br = m->baseMesh->attributeRanges[part.baseRange];
  size_t moved = 0;
  for (uint32_t k = 0; k < br.vertexCount; ++k) {
    bool differs = false;
    for (int c = 0; c < 3; ++c) {
      float v = base[(br.vertexStart + k) * 8 + c];
      differs |= poses[(a.vertexStart + k) * 6 + c] != v || poses[(b.vertexStart + k) * 6 + c] != v;
    }
    moved += differs;
  }
  return moved;
}

TEST(PartialMorph, ListsAreSizedByTheRangeNotCapped) {
  // One material of 200 vertices, every one moved by pose A.
  std::vector<float> base(200 * 8, 1.0f), poses(400 * 6, 1.0f);
  for (int v = 0; v < 200; ++v) poses[v * 6 + 1] = 2.0f;
  X2AttributeRange baseRange{0, 0, 1, 0, 200};
  X2AttributeRange poseRanges[2] = {{0, 0, 1, 0, 200}, {1, 1, 1, 200, 200}};
  X2FishMesh baseMesh{200, base.data(), 1, nullptr, X2_FVF_VERTEX, 32, &baseRange, 1, nullptr};
  X2FishMesh poseMesh{400, poses.data(), 2, nullptr, X2_FVF_MORPH, 24, poseRanges, 2, nullptr};
  MeshRecord records[2] = {{&baseMesh}, {&poseMesh}};
  std::vector<MeshRecord*> list{&records[0], &records[1]};
  X2FishPart part{0, 1, 0, 0, 0, 0.1f, 0, 0};
  C5PartialMorph pm;
  pm.SetParts(&list, 0, 1, &part, 1);
  ASSERT_TRUE(pm.Build());
  ASSERT_EQ(pm.ChangedCount(0), 200);
  float weights[kMaxFishParts] = {1.0f};
  pm.Apply(weights);
  EXPECT_FLOAT_EQ(pm.Deltas()[199 * 6 + 1], 1.0f);
}

TEST(PartialMorph, VassopBodyRangeListsEveryMovedVertex) {
  HMODULE module = LoadLibraryA((qvtest::DistDir() + "model\\vassop.qvf").c_str());
  ASSERT_NE(module, nullptr);
  auto get = reinterpret_cast<X2GetFishDataFn>(reinterpret_cast<void*>(GetProcAddress(module, X2_FISH_EXPORT_NAME)));
  ASSERT_NE(get, nullptr);
  const X2FishData* record = get(nullptr, nullptr);
  ASSERT_NE(record, nullptr);
  const X2FishModel* model = record->model;
  ASSERT_NE(model->pminfoMesh, nullptr);
  FishMeshes meshes(model);
  const size_t bodyMoved = CountMoved(model, model->parts[0]);

  C5PartialMorph pm;
  pm.SetParts(&meshes.list, 0, meshes.partialIndex, model->parts, static_cast<int>(model->partCount));
  ASSERT_TRUE(pm.Build());
  ASSERT_EQ(pm.BuiltParts(), 3);
  const X2FishPart& body = model->parts[0];
  const X2AttributeRange& bodyRange = model->baseMesh->attributeRanges[body.baseRange];
  EXPECT_EQ(bodyRange.vertexCount, 249u);
  const std::vector<int>& list = pm.ChangedVertices(body.baseRange);
  EXPECT_EQ(list.size(), bodyMoved);
  EXPECT_GT(list.size(), 0u);
  for (int j : list) EXPECT_LT(j, 249);

  // Every listed vertex gets a finite delta at any weight; unlisted ones stay 0.
  float weights[kMaxFishParts] = {0.5f, 0.0f, 1.0f};
  pm.Apply(weights);
  int moved = 0;
  for (float f : pm.Deltas()) {
    ASSERT_TRUE(std::isfinite(f));
    moved += f != 0.0f;
  }
  EXPECT_GT(moved, 0);
  // The library stays loaded: its data was converted in place.
}

TEST(PartialMorphCache, SpeciesSharingAPartsTableBuildAndConvertOnce) {
  int count = 0;
  const X2FishData* const* species = GetBuiltinSpecies(&count);
  ASSERT_EQ(count, 7);
  // マダイ and its three colour variants share one mesh set and parts table.
  const X2FishModel* madai = species[3]->model;
  ASSERT_NE(madai->pminfoMesh, nullptr);
  for (int s = 4; s < 7; ++s) {
    ASSERT_EQ(species[s]->model->parts, madai->parts);
    ASSERT_EQ(species[s]->model->pminfoMesh, madai->pminfoMesh);
  }
  const X2FishMesh* pmMesh = madai->pminfoMesh;
  const float* data = static_cast<const float*>(pmMesh->vertices);
  std::vector<float> raw(data, data + pmMesh->vertexCount * 6);

  C5PartialMorphCache* cache = C5PartialMorphCache::Shared(true);
  ASSERT_NE(cache, nullptr);
  cache->Clear();
  std::vector<std::unique_ptr<FishMeshes>> fish;
  const C5PartialMorph* first = nullptr;
  std::vector<float> converted;
  for (int s = 3; s < 7; ++s) {
    const X2FishModel* m = species[s]->model;
    fish.push_back(std::make_unique<FishMeshes>(m));
    const C5PartialMorph* built = cache->Obtain(&fish.back()->list, 0, fish.back()->partialIndex, m->parts,
                                                static_cast<int>(m->partCount));
    ASSERT_NE(built, nullptr);
    if (!first) {
      first = built;
      converted.assign(data, data + pmMesh->vertexCount * 6);
    }
    EXPECT_EQ(built, first);
    EXPECT_EQ(std::vector<float>(data, data + pmMesh->vertexCount * 6), converted);
  }
  EXPECT_EQ(cache->Size(), 1u);
  EXPECT_NE(converted, raw);

  // Converted once: every listed pose vertex is its raw value minus the base.
  const float* base = static_cast<const float*>(madai->baseMesh->vertices);
  for (uint32_t i = 0; i < madai->partCount && i < 20; ++i) {
    const X2FishPart& part = madai->parts[i];
    const X2AttributeRange& a = pmMesh->attributeRanges[part.rangeA];
    const X2AttributeRange& br = madai->baseMesh->attributeRanges[part.baseRange];
    EXPECT_LE(first->ChangedVertices(part.baseRange).size(), br.vertexCount);
    for (int j : first->ChangedVertices(part.baseRange))
      for (int c = 0; c < 6; ++c)
        EXPECT_FLOAT_EQ(converted[(a.vertexStart + j) * 6 + c],
                        raw[(a.vertexStart + j) * 6 + c] - base[(br.vertexStart + j) * 8 + c]);
  }

  // Each fish works on its own copy, bound to its own meshes.
  auto copy = first->CopyFor(&fish[1]->list);
  EXPECT_EQ(copy->BuiltParts(), first->BuiltParts());
  float weights[kMaxFishParts];
  std::fill(weights, weights + kMaxFishParts, 0.5f);
  copy->Apply(weights);
  for (float f : copy->Deltas()) ASSERT_TRUE(std::isfinite(f));
  EXPECT_EQ(copy->Upload(), nullptr);  // no device objects before restore

  C5PartialMorphCache::Destroy();
  EXPECT_EQ(C5PartialMorphCache::Shared(false), nullptr);
}

// Runs after the cache test, which needs the shared tables unconverted.
TEST(PartialMorphSpecies, EveryBuiltinSpeciesWithPartsBuilds) {
  int count = 0;
  const X2FishData* const* species = GetBuiltinSpecies(&count);
  for (int s = 0; s < count; ++s) {
    const X2FishModel* m = species[s]->model;
    if (!m->pminfoMesh) continue;
    FishMeshes meshes(m);
    C5PartialMorph pm;
    pm.SetParts(&meshes.list, 0, meshes.partialIndex, m->parts, static_cast<int>(m->partCount));
    EXPECT_TRUE(pm.Build()) << "species " << s;
    EXPECT_EQ(pm.BuiltParts(), static_cast<int>(std::min<uint32_t>(m->partCount, 20))) << "species " << s;
    int listed = 0;
    for (int mat = 0; mat < kMaxFishParts; ++mat) listed += pm.ChangedCount(mat);
    EXPECT_GT(listed, 0) << "species " << s;
  }
}

}  // namespace

namespace {
// A fish list that loads just the files it is given.
class FileList : public X2PluginList {
 public:
  const char* SubFolder() const override { return "\\model\\"; }
  const char* Pattern() const override { return "*.qvf"; }
  const char* ExportName() const override { return X2_FISH_EXPORT_NAME; }
  int Kind() const override { return X2_KIND_FISH; }
};

// Loads a private copy of vassop (its own module, whatever other tests hold),
// builds its partial morph and returns the size of part 0's pose A data.
float BuildPrivateVassop(const std::string& path, bool* converted) {
  FileList list;
  list.Load(path.c_str());
  EXPECT_EQ(list.Count(), 1);
  if (list.Count() != 1) return 0.0f;
  const X2FishModel* model = reinterpret_cast<const X2FishData*>(list.Header(0))->model;
  FishMeshes meshes(model);
  C5PartialMorph pm;
  pm.SetParts(&meshes.list, 0, meshes.partialIndex, model->parts, static_cast<int>(model->partCount));
  EXPECT_TRUE(pm.Build());
  *converted = C5PartialMorph::IsRangeConverted(model->pminfoMesh, model->parts[0].rangeA);
  const X2AttributeRange& a = model->pminfoMesh->attributeRanges[model->parts[0].rangeA];
  const float* v = static_cast<const float*>(model->pminfoMesh->vertices) + a.vertexStart * 6;
  double sum = 0.0;
  for (uint32_t i = 0; i < a.vertexCount * 6; ++i) sum += std::fabs(v[i]);
  return static_cast<float>(sum);
}
}  // namespace

TEST(PartialMorph, UnloadedLibraryIsConvertedAgainWhenLoadedAgain) {
  const std::string dir = qvtest::MakeTempDir("pmreload");
  const std::string path = dir + "\\vassop_copy.qvf";
  ASSERT_TRUE(qvtest::CopyFileTo(qvtest::DistDir() + "model\\vassop.qvf", path));
  bool converted = false;
  const float first = BuildPrivateVassop(path, &converted);
  EXPECT_TRUE(converted);
  // The list freed the library; loaded again its data is fresh and the same
  // conversion gives the same differences (not differences of differences).
  const float second = BuildPrivateVassop(path, &converted);
  EXPECT_TRUE(converted);
  EXPECT_EQ(first, second);
  qvtest::RemoveTree(dir);
}
