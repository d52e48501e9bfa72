#include "X1RenderingBuffer.h"

#include "frame/C3SceneHost.h"

X1RenderingBuffer::X1RenderingBuffer() {
  SetClassName("X1RenderingBuffer");
  drawFlags &= ~kDrawStrips;
  flags |= kObjAlwaysVisible;
}

X1RenderingBuffer::~X1RenderingBuffer() { targets_.Invalidate(); }

HRESULT X1RenderingBuffer::InitDeviceObjects() {
  C3SceneHost* host = GetSceneHost();
  width = host->GetBackBufferWidth();
  height = host->GetBackBufferHeight();
  C4VertexObject::InitDeviceObjects();
  return 0;
}

HRESULT X1RenderingBuffer::RestoreDeviceObjects() {
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  if (!device) return 0;
  unsigned count = targetCount > RenderTargets::kMaxTargets ? RenderTargets::kMaxTargets : targetCount;
  HRESULT hr = targets_.Restore(device, width, height, count, ownDepthSwitch != 0, sourceName_);
  if (hr != 0) return hr;
  C4VertexObject::RestoreDeviceObjects();
  return 0;
}

HRESULT X1RenderingBuffer::InvalidateDeviceObjects() {
  targets_.Invalidate();
  C4VertexObject::InvalidateDeviceObjects();
  return 0;
}

HRESULT X1RenderingBuffer::BeginTarget() { return targets_.BeginTarget(); }
HRESULT X1RenderingBuffer::EndTarget() { return targets_.EndTarget(); }
