#include "C3Arcball.h"

#include <cmath>

#include "EngineUtil.h"

namespace {
const float kHalfPi = 1.5707964f;
const float kPitchLimit = 1.5550884f;  // just under a quarter turn
}  // namespace

C3Arcball::C3Arcball() {
  Reset();
  D3DXMatrixIdentity(&yawPitch_);
  downPoint_ = D3DXVECTOR3(0.0f, 0.0f, 1.0f);
}

void C3Arcball::Reset() {
  D3DXQuaternionIdentity(&down_);
  D3DXQuaternionIdentity(&current_);
  D3DXMatrixIdentity(&rotation_);
  D3DXMatrixIdentity(&rotationDelta_);
  D3DXMatrixIdentity(&translation_);
  D3DXMatrixIdentity(&translationDelta_);
  dragging_ = 0;
  mirrored_ = 0;
  translationRadius_ = 1.0f;
  yaw_ = 0.0f;
  pitch_ = 0.0f;
  lastX_ = -1.0f;
  lastY_ = -1.0f;
  middleButton_ = 0;
  rightButton_ = 0;
}

void C3Arcball::SetWindow(int width, int height, float radius) {
  width_ = width;
  height_ = height;
  radius_ = radius;
}

// Every mapping divides by the window size and the radius; until the
// application has told them, mouse input cannot be placed on the ball.
bool C3Arcball::HasWindow() const {
  return width_ > 0 && height_ > 0 && radius_ > 0.0f && std::isfinite(radius_);
}

D3DXVECTOR3 C3Arcball::ScreenToVector(float x, float y) const {
  if (!HasWindow()) return D3DXVECTOR3(0.0f, 0.0f, 1.0f);
  float sx = (width_ / 2.0f - x) / (radius_ * width_ / 2.0f);
  float sy = (y - height_ / 2.0f) / (radius_ * height_ / 2.0f);
  if (mirrored_) {
    sx = -sx;
    sy = -sy;
  }
  float m = sx * sx + sy * sy;
  if (m > 1.0f) {
    float scale = 1.0f / std::sqrt(m);
    return D3DXVECTOR3(sx * scale, sy * scale, 0.0f);
  }
  return D3DXVECTOR3(sx, sy, std::sqrt(1.0f - m));
}

LRESULT C3Arcball::OnMouseMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_LBUTTONDOWN:
      dragging_ = 1;
      downPoint_ = ScreenToVector(float(x), float(y));
      down_ = current_;
      return 1;
    case WM_LBUTTONUP:
      dragging_ = 0;
      return 1;
    case WM_RBUTTONDOWN:
      lastPixelX_ = x;
      lastPixelY_ = y;
      rightButton_ = 1;
      return 1;
    case WM_RBUTTONUP:
      rightButton_ = 0;
      return 1;
    case WM_MBUTTONDOWN:
      lastPixelX_ = x;
      lastPixelY_ = y;
      middleButton_ = 1;
      return 1;
    case WM_MBUTTONUP:
      middleButton_ = 0;
      return 1;
    case WM_MOUSEMOVE:
      break;
    default:
      return 0;
  }

  if (wParam & MK_LBUTTON) {
    if (dragging_) {
      D3DXQUATERNION step = QuatFromBallPoints(downPoint_, ScreenToVector(float(x), float(y)));
      D3DXQuaternionMultiply(&current_, &down_, &step);
      D3DXMatrixRotationQuaternion(&rotationDelta_, &step);
    } else {
      D3DXMatrixIdentity(&rotationDelta_);
    }
    D3DXMatrixRotationQuaternion(&rotation_, &current_);
    dragging_ = 1;
  } else if ((wParam & (MK_RBUTTON | MK_MBUTTON)) && HasWindow()) {
    float dy = (lastPixelY_ - y) * translationRadius_ / height_;
    D3DXVECTOR3 step;
    if (wParam & MK_RBUTTON) {
      step = D3DXVECTOR3(-2.0f * translationRadius_ * (lastPixelX_ - x) / width_, 2.0f * dy, 0.0f);
    } else {
      step = D3DXVECTOR3(0.0f, 0.0f, 5.0f * dy);
    }
    D3DXMatrixTranslation(&translationDelta_, step.x, step.y, step.z);
    D3DXMatrixMultiply(&translation_, &translation_, &translationDelta_);
    lastPixelX_ = x;
    lastPixelY_ = y;
  }

  if (HasWindow()) {
    float nx = (x - width_ / 2.0f) / (width_ * radius_ * 0.5f);
    if (lastX_ != -1.0f) yaw_ += nx - lastX_;
    lastX_ = nx;
    float ny = (y - height_ / 2.0f) / (height_ * radius_ * 0.5f);
    if (lastY_ != -1.0f) pitch_ += ny - lastY_;
    lastY_ = ny;
    if (pitch_ >= kHalfPi) {
      pitch_ = kPitchLimit;
    } else if (pitch_ <= -kHalfPi) {
      pitch_ = -kPitchLimit;
    }
  }
  return 1;
}

const D3DXMATRIX* C3Arcball::GetRotation() {
  if (pitch_ > kHalfPi) pitch_ = kHalfPi;
  if (pitch_ < -kHalfPi) pitch_ = -kHalfPi;
  D3DXMATRIX pitchMatrix, yawMatrix;
  D3DXMatrixRotationX(&pitchMatrix, pitch_);
  D3DXMatrixRotationY(&yawMatrix, yaw_);
  D3DXMatrixMultiply(&yawPitch_, &pitchMatrix, &yawMatrix);
  return &yawPitch_;
}
