#pragma once
// The shader, state-block and vertex-buffer servers a draw context works
// through, made at restore and released at invalidation as the product's
// device objects are.
#include <d3d9.h>

#include "servers/SBServer.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"

struct DeviceServers {
  VSServer vs;
  SBServer sb;
  VBServer vb;

  void Restore(IDirect3DDevice9* d) {
    vs.InitDeviceObjects(d);
    sb.InitDeviceObjects(d);
    vb.InitDeviceObjects(d);
    vb.RestoreDeviceObjects();
  }
  void Invalidate() {
    vs.InvalidateDeviceObjects();
    sb.InvalidateDeviceObjects();
    vb.InvalidateDeviceObjects();
    vb.DeleteDeviceObjects();
  }
  // Points a draw context at the device and these servers.
  template <typename Context>
  void Bind(IDirect3DDevice9* d, Context* c) {
    c->device = d;
    c->shaders = &vs;
    c->states = &sb;
    c->buffers = &vb;
  }
};
