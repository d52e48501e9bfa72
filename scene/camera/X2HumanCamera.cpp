#include "X2HumanCamera.h"

#include <algorithm>
#include <cmath>

#include "common/SettingIds.h"
#include "frame/C3SceneHost.h"

float X2HumanCamera::lastZoomGoal = 1.0f;

HumanCameraSettings ClampHumanCameraSettings(int stability, int trackability, int maxZoom) {
  return HumanCameraSettings{std::clamp(stability, 5, 20), std::clamp(trackability, 1, 40),
                             std::clamp(maxZoom, 1, 20)};
}

float HumanRetargetChance(float trackability, float now, float lastRetarget) {
  return trackability * (now - lastRetarget) * 0.02f;
}

D3DXVECTOR3 HumanWobbleUp(float now, float s) {
  const float w = std::cos(0.2f * now) / s * std::cos(3.0f * now) * 0.05f +
                  std::sin(0.3f * now + 0.5f) * 0.05f;
  D3DXVECTOR3 v(w * std::sin(now), 1.0f, w * std::cos(0.5f * now)), out;
  D3DXVec3Normalize(&out, &v);  // y is 1: never the zero vector
  return out;
}

float HumanZoomGoal(float distance, float maxZoom) {
  if (!(distance >= 10.0f)) return 1.0f;
  return std::min(distance / 3.0f, maxZoom);
}

bool HumanZoomRestarts(float lastGoal, float goal) {
  return (lastGoal == 1.0f && goal > 1.0f) || (lastGoal > 1.0f && goal == 1.0f);
}

void HumanProjection(D3DXMATRIX* out, float fov, float aspect, float nearPlane, float farPlane) {
  const float c = std::cos(fov * 0.5f) / std::sin(fov * 0.5f);
  const float q = farPlane / (farPlane - nearPlane);
  *out = D3DXMATRIX(c / aspect, 0.0f, 0.0f, 0.0f,  //
                    0.0f, c, 0.0f, 0.0f,           //
                    0.0f, 0.0f, q, 1.0f,           //
                    0.0f, 0.0f, -nearPlane * q, 0.0f);
}

X2HumanCamera::X2HumanCamera(X2HostCallbacks* host) : X2Camera(host), fov(C3Camera::fov) {}

void X2HumanCamera::UpdateHumanView(float now) {
  C3SceneHost* host = GetSceneHost();
  const HumanCameraSettings set = ClampHumanCameraSettings(
      host->GetSceneSetting(kSceneCameraAIStability), host->GetSceneSetting(kSceneCameraAITrackability),
      host->GetSceneSetting(kSceneCameraMaxZoom));
  const float s = set.stability * 0.1f;
  const float k = static_cast<float>(set.trackability);

  // Re-aim now and then at where the AI camera looks; the look-at point
  // holds still for a moment before it swings over.
  const float draw = random_ ? random_() : SceneRandom();
  if (draw < HumanRetargetChance(k, now, lastRetarget)) {
    retargetEase.Restart(now);
    chosenTarget = target;
    lastRetarget = now;
  }
  const float e = retargetEase.Weight(now) * 0.1f + 0.9f;
  lookSmooth = e * lookSmooth + (1.0f - e) * chosenTarget;

  up = HumanWobbleUp(now, s);
  eyeSmooth = 0.1f * position + 0.9f * eyeSmooth;
  nearPlane = kCameraNear;
  farPlane = kCameraFar;

  const D3DXVECTOR3 gap = eyeSmooth - lookSmooth;
  const float goal = HumanZoomGoal(D3DXVec3Length(&gap), static_cast<float>(set.maxZoom));
  if (HumanZoomRestarts(lastZoomGoal, goal)) zoomEase.Restart(now);
  lastZoomGoal = goal;
  const float l = zoomEase.Weight(now) * 0.1f + 0.9f;
  zoom = (1.0f - l) * goal + l * zoom;
  fov = C3Camera::fov / zoom;
}

HRESULT X2HumanCamera::Move(float current, float previous) {
  UpdateDirectMode();
  if (GetSceneHost()->GetSceneSetting(kSceneHumanCamera) == 0 || directMode) {
    humanView_ = false;
    fov = C3Camera::fov;
    if (zoomedProjection_) {
      BuildProjection();
      zoomedProjection_ = false;
    }
    return X2Camera::Move(current, previous);
  }
  UpdateHumanView(current);
  humanView_ = true;
  X2Camera::Move(current, previous);
  CameraLookAt(&view, eyeSmooth, lookSmooth, up);
  HumanProjection(&projection, fov, BackBufferAspect(), nearPlane, farPlane);
  zoomedProjection_ = true;
  return 0;
}

D3DXVECTOR3* X2HumanCamera::GetPosition(D3DXVECTOR3* out) {
  *out = humanView_ ? eyeSmooth : position;
  return out;
}

D3DXVECTOR3* X2HumanCamera::GetTarget(D3DXVECTOR3* out) {
  *out = humanView_ ? lookSmooth : target;
  return out;
}

D3DXVECTOR3* X2HumanCamera::GetDirection(D3DXVECTOR3* out) {
  D3DXVECTOR3 eye, at;
  GetPosition(&eye);
  GetTarget(&at);
  *out = CameraDirection(eye, at);
  return out;
}

float X2HumanCamera::GetFov() { return fov; }
float X2HumanCamera::GetLodScale() { return zoom; }
