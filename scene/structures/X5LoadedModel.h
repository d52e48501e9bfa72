#pragma once
// One loaded X file: its frame tree (with the animation nodes hung in it),
// bounding sphere and the chain of its animations. Models may be shared by
// several objects (a cache of one record's models); the last holder frees
// the tree and every device object in it.
#include <d3dx9.h>

#include <memory>
#include <string>

#include "X5Frame.h"

struct X5LoadedModel {
  X5LoadedModel();

  std::unique_ptr<X5Frame> root;
  D3DXVECTOR3 centre{0.0f, 0.0f, 0.0f};
  float radius = 1.0f;
  std::string sourceName;           // empty when loaded from memory
  X5Frame* animations = nullptr;    // first animation node (not owning)
  size_t sourceIndex = 0;           // the owner's source it was read from
};
