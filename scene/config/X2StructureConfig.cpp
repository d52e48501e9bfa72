#include "X2StructureConfig.h"

#include <cmath>

#include "diagnostics/Diagnostics.h"
#include "pluginlists/X2StructureList.h"
#include "structures/StructureLayout.h"

X2StructureConfig* TheStructureConfig = nullptr;

namespace {
constexpr float kTwoPi = 6.2831855f;
constexpr float kPi = 3.1415927f;
}  // namespace

const X2PluginList* X2StructureConfig::Records() const { return TheStructureList; }

D3DXMATRIX StructureWorldMatrix(const X2StructurePlacement& p) {
  D3DXMATRIX scale, rotation, translation, world;
  D3DXMatrixScaling(&scale, p.scale, p.scale, p.scale);
  D3DXMatrixRotationYawPitchRoll(&rotation, p.yaw, p.pitch, p.roll);
  D3DXMatrixTranslation(&translation, p.position.x, p.position.y, p.position.z);
  world = scale * rotation * translation;
  return world;
}

std::vector<X2StructurePlacement> X2StructureConfig::PlanPlacements(
    bool smallWorld, float (*random)(), X2HostCallbacks* host, std::vector<D3DXVECTOR3>* layoutCentres,
    const std::function<void(const std::vector<D3DXVECTOR3>&)>& beforePlacing) const {
  std::vector<X2StructurePlacement> placed;
  const X2StructureList* list = TheStructureList;
  std::vector<int> enabled;
  for (int i = 0; i < Count(); ++i)
    if (Entry(i)->enable) enabled.push_back(i);
  if (enabled.empty() || !list) return placed;

  // Record and starting pose of entry k; false when it cannot be placed.
  auto start = [&](int k, X2StructurePlacement* p) {
    p->entry = k;
    p->record = list->GetData(Entry(k)->Name());
    if (!p->record || !p->record->model || p->record->modelCount == 0) {
      LogPrint("Structure %s: no usable record\n", Entry(k)->Name());
      return false;
    }
    p->scale = p->record->model->scale;
    return true;
  };
  auto place = [&](int index, X2StructurePlacement* p) {
    float pos[3] = {0.0f, 0.0f, 0.0f};
    if (p->record->PlaceInstance)
      p->record->PlaceInstance(index, pos, &p->scale, &p->yaw, &p->roll, &p->pitch, host);
    return D3DXVECTOR3(pos[0], pos[1], pos[2]);
  };

  if (smallWorld) {
    const int k = enabled[static_cast<size_t>(PickStructure(static_cast<int>(enabled.size()), random()))];
    X2StructurePlacement p;
    if (!start(k, &p)) return placed;
    if (beforePlacing) beforePlacing({});
    p.position = place(k, &p);
    p.yaw = random() * kTwoPi;
    LogPrint("- Structure POS:\t%.0f / %.0f / %.0f\n", p.position.x, p.position.y, p.position.z);
    placed.push_back(p);
    return placed;
  }

  if (enabled.size() > static_cast<size_t>(kMaxLaidOutStructures)) {
    LogPrint("Structures: %d enabled, the first %d are placed\n", static_cast<int>(enabled.size()),
             kMaxLaidOutStructures);
    enabled.resize(kMaxLaidOutStructures);
  }
  std::vector<X2StructurePlacement> plans;
  std::vector<float> radii;
  for (int k : enabled) {
    X2StructurePlacement p;
    if (!start(k, &p)) continue;
    const float footprint = p.record->footprint ? p.record->footprint[0] : 0.0f;
    const float u = random();
    radii.push_back(StructureRadius(footprint, u, random()));
    plans.push_back(p);
  }
  const std::vector<D3DXVECTOR3> centres = LayoutStructureCentres(radii);
  if (layoutCentres) *layoutCentres = centres;
  if (beforePlacing) beforePlacing(centres);
  const int laidOut = static_cast<int>(centres.size());
  for (size_t i = 0; i < plans.size(); ++i) {
    X2StructurePlacement& p = plans[i];
    const D3DXVECTOR3& c = centres[i];
    LogPrint("----- Structure %s-%u\n", Entry(p.entry)->Name(), p.record->instanceCount);
    const D3DXVECTOR3 returned = place(laidOut, &p);
    p.position = D3DXVECTOR3(c.x, returned.y, c.z);
    p.yaw = std::atan2(c.z, c.x) + (random() - 0.5f) * kPi;
    LogPrint("----- Structure POS:\t%.0f / %.0f / %.0f\n", p.position.x, p.position.y, p.position.z);
    placed.push_back(p);
  }
  return placed;
}
