#pragma once
// The scene objects of placed structures.
#include "config/X2StructureConfig.h"

class C3World;
class C4VertexObject;
class X1Collision;
class X1CollisionServer;

// Makes the structure of a placement (an X6XFileStructure for a record of
// format version 2, else an X2FileStructure), gives it the placement's
// pose, registers it with the world and composes its world matrix; with a
// server, a record with collision shapes also gets its field (a world
// child), handed back through *field when field is given (else null).
// Null (logged) for a placement without a record.
C4VertexObject* MakeStructureObject(const X2StructurePlacement& placement, C3World* world,
                                    X1CollisionServer* server, X1Collision** field = nullptr);
