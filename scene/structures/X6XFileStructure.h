#pragma once
// A sunken structure drawn from the X files of a structure record of the
// newer format. The models of a record are loaded by the first structure of
// that record and shared, reference counted, by every other structure of
// the same record; structures of different records never share models.
#include <map>
#include <memory>
#include <vector>

#include "X2PluginAbi.h"
#include "X5SkinObject.h"

// Appends a model's base-mesh X block and its further X blocks (their count
// in the word at 0x20, their meshes at `frames`) to the object's sources;
// returns how many were added.
int AddModelXBlocks(X5SkinObject* object, const X2FishModel& model);

// The model's cube texture (its third texture pair) as the object's stage-3
// texture, unless it has one; a model without one, or an image that does not
// load (logged), leaves it empty.
void LoadStageTexture(X5SkinObject* object, const X2FishModel* model, const char* source);

class X6XFileStructure : public X5SkinObject {
 public:
  // Not registered with the world.
  explicit X6XFileStructure(const X2FishData* record);

  HRESULT InitDeviceObjects() override;
  HRESULT RestoreDeviceObjects() override;
  HRESULT DeleteDeviceObjects() override;
  HRESULT Render() override;

  const X2FishData* record;

  // What the first structure of a record loaded.
  struct CachedModels {
    std::vector<std::shared_ptr<X5LoadedModel>> models;
    D3DXVECTOR3 boxMin{0.0f, 0.0f, 0.0f};
    D3DXVECTOR3 boxMax{0.0f, 0.0f, 0.0f};
    float radius = 1.0f;
  };
  // The models by record; emptied when the device objects are deleted (the
  // models live on while a structure still holds them).
  static std::map<const X2FishData*, CachedModels>& Cache();

 private:
  const X2FishModel* Model() const;
};
