// The fish-scene test variant of the program: a camera at the origin looking
// along +z and one fish of every swimming species of the fish list (the
// built-in ones and the plug-ins of the model folder) in rows before it,
// noses along -x, showing their sides. The world owns and deletes them;
// the fish list lives until the process ends, after the world.
#include <d3dx9.h>

#include "C3Camera.h"
#include "C3SceneHost.h"
#include "C3World.h"
#include "X2FileFish.h"
#include "X2FishList.h"

namespace {

class LookAlongZ : public C3Camera {
 public:
  D3DXVECTOR3* GetTarget(D3DXVECTOR3* out) override {
    *out = position + D3DXVECTOR3(0.0f, 0.0f, 1.0f);
    return out;
  }
};

}  // namespace

void AddTestScene(C3World* world) {
  auto* camera = new LookAlongZ();
  world->AddChild(camera);
  SetMainCamera(camera);
  if (!TheFishList) TheFishList = new X2FishList();
  int placed = 0;
  for (int i = 0; i < TheFishList->Count(); ++i) {
    const X2FishData* record = TheFishList->Get(i);
    auto* fish = new X2FileFish(record);
    if (TheFishList->Module(i)) {
      // A plug-in's fish (the big one): further off, above the rows.
      fish->position = D3DXVECTOR3(0.0f, 5.5f, 20.0f);
    } else {
      fish->position = D3DXVECTOR3(-0.9f + 0.6f * static_cast<float>(placed % 4), placed < 4 ? -0.1f : -0.6f, 1.6f);
      ++placed;
    }
    world->AddChild(fish);
  }
}
