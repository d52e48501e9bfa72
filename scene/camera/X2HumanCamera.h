#pragma once
// The main camera with the optional hand-held mode (the HumanCamera scene
// setting): it follows the AI camera lazily, hesitates before it re-aims at
// a new subject, wobbles, and zooms in on distant subjects. With the setting
// off, or while the current Source or Target entry is a direct one, it is
// the plain X2Camera.
#include "X2Camera.h"
#include "X2EaseTimer.h"
#include "fish/FishMotion.h"

// The three settings of the mode within the dialog's ranges: Stability
// 5..20, Trackability 1..40, MaxZoom 1..20.
struct HumanCameraSettings {
  int stability;
  int trackability;
  int maxZoom;
};
HumanCameraSettings ClampHumanCameraSettings(int stability, int trackability, int maxZoom);

// Chance of a re-aim this frame: trackability x (now - lastRetarget) x 0.02.
float HumanRetargetChance(float trackability, float now, float lastRetarget);
// The wobbling up vector for s = stability x 0.1 (s must not be 0).
D3DXVECTOR3 HumanWobbleUp(float now, float s);
// Zoom wanted for a subject at `distance`: 1 closer than 10 units, else
// distance / 3 up to maxZoom.
float HumanZoomGoal(float distance, float maxZoom);
// A zoom fade starts when the goal leaves 1 or comes back to it.
bool HumanZoomRestarts(float lastGoal, float goal);
// Left-handed perspective of vertical angle fov.
void HumanProjection(D3DXMATRIX* out, float fov, float aspect, float nearPlane, float farPlane);

class X2HumanCamera : public X2Camera {
 public:
  explicit X2HumanCamera(X2HostCallbacks* host);

  // The hand-held view, then the X2Camera move; with the mode on the view
  // and projection are then replaced by the smoothed, zoomed ones. Turning
  // the mode off brings the plain projection back.
  HRESULT Move(float current, float previous) override;
  D3DXVECTOR3* GetPosition(D3DXVECTOR3* out) override;
  D3DXVECTOR3* GetTarget(D3DXVECTOR3* out) override;
  D3DXVECTOR3* GetDirection(D3DXVECTOR3* out) override;
  float GetFov() override;
  // The zoom: objects keep their detail when zoomed in.
  float GetLodScale() override;

  // One frame of the hand-held mode: re-aim, wobble, smoothing and zoom.
  void UpdateHumanView(float now);
  // Where the re-aim draws come from (SceneRandom unless set).
  void SetRandomSource(RandomSource random) { random_ = std::move(random); }
  // Whether the last Move used the hand-held view.
  bool IsHumanView() const { return humanView_; }

  D3DXVECTOR3 eyeSmooth{0.0f, 0.0f, 0.0f};
  D3DXVECTOR3 lookSmooth{0.0f, 0.0f, 0.0f};
  D3DXVECTOR3 up{0.0f, 0.0f, 0.0f};
  // The field of view used; C3Camera::fov stays the base one.
  float fov;
  float nearPlane = kCameraNear;
  float farPlane = kCameraFar;
  float lastRetarget = -10.0f;
  D3DXVECTOR3 chosenTarget{0.0f, 0.0f, 10.0f};
  float zoom = 1.0f;
  X2EaseTimer retargetEase;
  X2EaseTimer zoomEase;
  // The zoom goal of the last frame, shared by every human camera.
  static float lastZoomGoal;

 private:
  RandomSource random_;
  bool humanView_ = false;
  bool zoomedProjection_ = false;
};
