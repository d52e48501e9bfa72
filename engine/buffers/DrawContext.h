#pragma once
// What a device pass of the render buffers and panels binds: the device, the
// world's servers and the owning object's recorded state block. Each pass
// adds its own shaders and buffers to this.
#include <d3d9.h>

class SBServer;
class VBServer;
class VSServer;

struct DrawContext {
  IDirect3DDevice9* device = nullptr;
  VSServer* shaders = nullptr;
  SBServer* states = nullptr;
  VBServer* buffers = nullptr;
  IDirect3DStateBlock9* block = nullptr;
};
