#pragma once
// Stands in for the scene root until the world and its objects exist: it
// takes the device-object life cycle the application forwards and clears the
// frame to the sea's deep blue. Every step may run again after a release
// (the window-mode switch re-creates the device).
#include <d3d9.h>

class EmptyScene {
 public:
  HRESULT InitDeviceObjects(IDirect3DDevice9* device);
  HRESULT RestoreDeviceObjects();
  HRESULT InvalidateDeviceObjects();
  HRESULT DeleteDeviceObjects();
  HRESULT Move(float elapsed);
  HRESULT PreRender();
  HRESULT Render();
  HRESULT FinalCleanUp();

  unsigned FramesRendered() const { return m_framesRendered; }

 private:
  IDirect3DDevice9* m_device = nullptr;  // not owned
  unsigned m_framesRendered = 0;
};
