#pragma once
// The scene root: owns every registered object, runs their device-object
// life cycle, moves them on two smoothed clocks, draws them in the first,
// depth-sorted and late passes per view and writes screenshots.
//
// Sources by concern: C3World.cpp (children, life cycle, move),
// C3WorldRender.cpp (draw passes, screenshot capture).
#include "C3Object.h"
#include "C3TimeLine.h"
#include "C4Collection.h"

class SBServer;
class VBServer;
class VSServer;
class X1GlareBuffer;
class X5RenderingScene;

class C3World : public C3Object {
 public:
  C3World();
  ~C3World() override;

  using C3Object::Move;
  HRESULT InitDeviceObjects() override;
  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT DeleteDeviceObjects() override;
  HRESULT PreRender() override;
  HRESULT Render() override;
  HRESULT FinalCleanUp() override;
  // Called by the application each frame with the elapsed seconds.
  virtual HRESULT Move(float elapsed);

  // The world owns the object from now on. An object added after the
  // world's device objects were made gets its own made (and restored) at
  // once, so it is never moved or drawn without them.
  void AddChild(C3Object* object);
  // Whether object is one of the children, without a search: a child keeps
  // its position in the list from AddChild until the list is emptied.
  bool HasChild(const C3Object* object) const;
  bool IsRenderDisabled(const C3Object* object) const;
  HRESULT Capture(int view);
  // With the log at level 2 or more the frame's draws are recorded too.
  void RequestCapture();

  // Scale of clock B, kept within 0.125 .. 8.
  void SetSpeedFactor(float factor);
  float GetSpeedFactor() const { return clockB.GetScale(); }

  // The world made last (objects reach the servers through it); null
  // once it is deleted.
  static C3World* Current() { return s_current; }
  VSServer* GetVSServer() const { return vsServer; }
  VBServer* GetVBServer() const { return vbServer; }
  SBServer* GetSBServer() const { return sbServer; }

  C4Collection sortedList{10, 10};
  C4Collection lateList{10, 10};
  int captureCounter = 0;
  int swapChainCount = 0;
  IDirect3DSurface9* backBuffers[2] = {nullptr, nullptr};
  C3TimeLine clockA;
  // Frame trail and glare per view (null when absent); made at device-object
  // init by the product's hooks, owned by the world, not children.
  X5RenderingScene* renderingScenes[2] = {nullptr, nullptr};
  X1GlareBuffer* glareBuffers[2] = {nullptr, nullptr};
  C4Collection glareSources{10, 10};
  C3TimeLine clockB;
  int started = 0;
  int settled = 0;
  C4Collection children{10, 10};
  int currentView = 0;
  D3DXVECTOR3 lightDirection{0.0f, -1.0f, 0.0f};
  float lightValue = 1.0f;
  float rawLightValue = 1.0f;
  int captureRequested = 0;
  VSServer* vsServer = nullptr;
  VBServer* vbServer = nullptr;
  SBServer* sbServer = nullptr;

 private:
  void RunFirstPass(const D3DXMATRIX& view, const D3DXMATRIX& projection);
  void RunListPass(C4Collection& list, const D3DXMATRIX& view, const D3DXMATRIX& projection);
  // The camera's rider while the product hides it, else null.
  const C3Object* HiddenRider() const;
  void ReleaseBackBuffers();
  void ResetServers();

  void DeleteServers();
  void DeleteViewBuffers();
  // Views that get a trail and a glare buffer (two in the dual view).
  int ViewCount() const;

  static C3World* s_current;
  bool clearStencil_ = false;
  bool deviceObjectsMade_ = false;      // between init and delete
  bool deviceObjectsRestored_ = false;  // between restore and invalidate
};
