#include "StructureObjects.h"

#include "X2FileStructure.h"
#include "X6XFileStructure.h"
#include "collision/X1CollisionServer.h"
#include "collision/X6FileCollision.h"
#include "diagnostics/Diagnostics.h"
#include "world/C3World.h"

namespace {

constexpr uint32_t kXFileFormat = 2;

uint32_t FormatVersion(const X2FishData& record) { return (record.header.version >> 8) & 0xFFu; }

}  // namespace

C4VertexObject* MakeStructureObject(const X2StructurePlacement& p, C3World* world, X1CollisionServer* server,
                                    X1Collision** madeField) {
  if (madeField) *madeField = nullptr;
  if (!p.record) {
    LogPrint("Structure: placement without a record\n");
    return nullptr;
  }
  C4VertexObject* structure = nullptr;
  if (FormatVersion(*p.record) == kXFileFormat)
    structure = new X6XFileStructure(p.record);
  else
    structure = new X2FileStructure(p.record);
  structure->position = p.position;
  structure->scale = p.scale;
  structure->rotY = p.yaw;
  structure->rotZ = p.roll;
  structure->rotX = p.pitch;
  if (world) world->AddChild(structure);
  structure->ComposeWorldMatrix(0.0f, 0.0f);
  if (server && p.record->collisionCapsules) {
    auto* field = new X6FileCollision(static_cast<const X6CollisionShapes*>(p.record->collisionCapsules), structure);
    server->AddCollision(field);
    if (world) world->AddChild(field);
    if (madeField) *madeField = field;
  }
  return structure;
}
