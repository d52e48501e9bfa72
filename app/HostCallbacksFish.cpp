// Host slots of fish, render textures, registration and flocks.
#include "HostCallbacks.h"
#include "HostSlots.h"
#include "clones/C4RenderTexture.h"
#include "config/X2FlockConfig.h"
#include "config/X2FlockSet.h"
#include "diagnostics/Diagnostics.h"
#include "fish/C6Fish.h"
#include "fish/X2FileFish.h"
#include "world/C3World.h"

namespace hostslots {

namespace {

C6Fish* FishOf(X2Object obj) { return dynamic_cast<C6Fish*>(HostObject(obj)); }
C4RenderTexture* TextureOf(X2Object obj) { return dynamic_cast<C4RenderTexture*>(HostObject(obj)); }

// Lists the fish with the texture in the given role; the texture's source
// is the clone's source (a source fish is its own).
void BindToTexture(X2Object texture, X2Object fish, int mode) {
  C4RenderTexture* t = TextureOf(texture);
  C6Fish* f = FishOf(fish);
  if (!t || !f) return;
  t->AddObject(f);  // first: the only step that allocates
  if (mode == kCloneSource) t->SetSource(f);
  f->cloneMode = mode;
  f->renderTexture = t;
  f->cloneSource = t->Source();
}

}  // namespace

void X2_CDECL GetSwimState(X2Object obj, float* shownSwim, float* swimPhase, float* swimMax) {
  const C6Fish* fish = FishOf(obj);
  if (!fish) return;
  if (shownSwim) *shownSwim = fish->swim.shownSwim;
  if (swimPhase) *swimPhase = fish->swim.swimPhase;
  if (swimMax) *swimMax = fish->swim.swimMax;
}

X2Object X2_CDECL SetSwimState(X2Object obj, float shownSwim, float swimPhase) {
  if (C6Fish* fish = FishOf(obj)) {
    fish->swim.shownSwim = shownSwim;
    fish->swim.swimPhase = swimPhase;
  }
  return obj;
}

float X2_CDECL GetSwimFactor(X2Object obj) {
  const C6Fish* fish = FishOf(obj);
  return fish ? fish->swim.swimFactor : 0.0f;
}

X2Object X2_CDECL CreateFish(const X2FishData* record) {
  return Guarded<X2Object>("CreateFish", nullptr, [&] { return HostHandle(new X2FileFish(record)); });
}

// The world owns, moves, draws and deletes the object from now on. An
// object registered twice is listed once: the world deletes each child.
void X2_CDECL RegisterObject(X2Object obj) {
  C3Object* object = HostObject(obj);
  if (!object) return;
  C3World* world = C3World::Current();
  if (!world) {
    ::LogPrint("RegisterObject: no world for %s\n", object->className);
    return;
  }
  if (world->HasChild(object)) {
    ::LogPrint("RegisterObject: %s is already registered\n", object->className);
    return;
  }
  Guarded("RegisterObject", [&] { world->AddChild(object); });
}

void X2_CDECL AddToBuildingFlock(X2Object obj) {
  Guarded("AddToBuildingFlock", [&] { TheFlocks.AddToBuilding(HostObject(obj)); });
}

X2Object X2_CDECL GetFlockMember(int flock, int member) {
  return HostHandle(TheFlocks.Member(flock, member));
}

int X2_CDECL GetFlockSize(int flock) { return TheFlocks.Size(flock); }
// The flock entries as the configuration holds them now (the settings dialog
// edits them while plug-in dialogs ask).
const char** X2_CDECL GetFlockNames() {
  if (TheFlockConfig) Guarded("GetFlockNames", [] { TheFlockConfig->FillFlockNames(&TheFlocks); });
  return TheFlocks.Names();
}
int X2_CDECL GetFlockCount() { return TheFlockConfig ? TheFlockConfig->Count() : TheFlocks.EntryCount(); }

X2Object X2_CDECL CreateRenderTexture() {
  return Guarded<X2Object>("CreateRenderTexture", nullptr, [] { return HostHandle(new C4RenderTexture); });
}

// The fish is drawn into the texture and is its own source.
void X2_CDECL SetCloneSource(X2Object texture, X2Object fish) {
  Guarded("SetCloneSource", [&] { BindToTexture(texture, fish, kCloneSource); });
}

// The fish is drawn from the texture as a billboard of its source.
void X2_CDECL AddClone(X2Object texture, X2Object fish) {
  Guarded("AddClone", [&] { BindToTexture(texture, fish, kCloneCopy); });
}

}  // namespace hostslots
