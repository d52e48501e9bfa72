#pragma once
// The scene root: owns every registered object, runs their device-object
// life cycle, moves them on two smoothed clocks, draws them in the first,
// depth-sorted and late passes per view and writes screenshots.
//
// Sources by concern: C3World.cpp (children, life cycle, move),
// C3WorldRender.cpp (draw passes, screenshot capture).
#include <memory>

#include "C3Object.h"
#include "C3TimeLine.h"
#include "C4Collection.h"

// The resource servers as the world drives them: life cycle and the
// per-frame and per-view reset of their current bindings.
class C3WorldServices {
 public:
  virtual ~C3WorldServices() = default;
  virtual HRESULT InitDeviceObjects() = 0;
  // Each server's restore; the first non-zero result is returned.
  virtual HRESULT RestoreDeviceObjects() = 0;
  virtual HRESULT InvalidateDeviceObjects() = 0;
  virtual HRESULT DeleteDeviceObjects() = 0;
  virtual void ResetCurrent() = 0;
};

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

  // The world owns the object from now on.
  void AddChild(C3Object* object);
  bool IsRenderDisabled(const C3Object* object) const;
  HRESULT Capture(int view);
  void RequestCapture() { captureRequested = 1; }

  // Scale of clock B, kept within 0.125 .. 8.
  void SetSpeedFactor(float factor);
  float GetSpeedFactor() const { return clockB.GetScale(); }

  // Takes ownership; the servers are made by whoever builds the world.
  void SetServices(C3WorldServices* services) { services_.reset(services); }
  C3WorldServices* Services() const { return services_.get(); }

  C4Collection sortedList{10, 10};
  C4Collection lateList{10, 10};
  int captureCounter = 0;
  int swapChainCount = 0;
  IDirect3DSurface9* backBuffers[2] = {nullptr, nullptr};
  C3TimeLine clockA;
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

 private:
  void RunFirstPass(const D3DXMATRIX& view, const D3DXMATRIX& projection);
  void RunListPass(C4Collection& list, const D3DXMATRIX& view, const D3DXMATRIX& projection);
  bool IsHiddenRider(const C3Object* object) const;
  void ReleaseBackBuffers();
  void ResetServers();

  std::unique_ptr<C3WorldServices> services_;
  bool clearStencil_ = false;
};
