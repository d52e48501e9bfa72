// Stand-in for the built-in species until their data is generated: the
// seven records with their names, keys, flags and model parameters, but
// without meshes, frames, parts or textures (all counts zero). The generated
// species data replaces this file.
#include "BuiltinSpecies.h"

namespace {

#define QV_STUB_MAKER "ハルベノルソフト"
#define QV_STUB_DEFAULT_AI "ハイキング(群)_ハルベノルソフト"

X2FishModel MakeModel(uint32_t flags) {
  X2FishModel model = {};
  model.scale = 1.0f;
  model.swimRate = 2.0f;
  model.swimBase = 0.2f;
  model.swimMax = 0.5f;
  model.flags = flags;
  return model;
}

X2FishModel gModels[7] = {
    MakeModel(X2_MODEL_DEFAULT | X2_MODEL_TRIANGLE_LIST),
    MakeModel(X2_MODEL_DEFAULT),
    MakeModel(X2_MODEL_DEFAULT),
    MakeModel(X2_MODEL_DEFAULT),
    MakeModel(X2_MODEL_DEFAULT),
    MakeModel(X2_MODEL_DEFAULT),
    MakeModel(X2_MODEL_DEFAULT),
};

X2FishData MakeRecord(const char* name, const char* latinName, X2FishModel* model) {
  X2FishData record = {};
  record.header.version = X2_VERSION_FISH;
  for (int i = 0; name[i] && i < X2_NAME_SIZE - 1; ++i) record.header.name[i] = name[i];
  const char* maker = QV_STUB_MAKER;
  for (int i = 0; maker[i] && i < X2_NAME_SIZE - 1; ++i) record.header.maker[i] = maker[i];
  record.latinName = latinName;
  record.defaultAI = QV_STUB_DEFAULT_AI;
  record.modelCount = 1;
  record.model = model;
  return record;
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

const X2FishData* const gTable[7] = {&gRecords[0], &gRecords[1], &gRecords[2], &gRecords[3],
                                     &gRecords[4], &gRecords[5], &gRecords[6]};

}  // namespace

const X2FishData* const* GetBuiltinSpecies(int* count) {
  if (count) *count = 7;
  return gTable;
}
