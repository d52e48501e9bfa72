#pragma once
// Turns mouse drags into a rotation (left button), a translation (right and
// middle buttons) and an accumulated yaw and pitch (every move). The
// application feeds it the window's mouse messages; plug-ins read the
// rotation through the host table.
#include <windows.h>
#include <d3dx9math.h>

class C3Arcball {
 public:
  C3Arcball();

  // Identity rotation and translation, yaw and pitch 0, no buttons held,
  // translation radius 1. The window size and ball radius are kept.
  void Reset();
  // Window size in pixels and ball radius as a fraction of the window.
  void SetWindow(int width, int height, float radius);
  void SetTranslationRadius(float value) { translationRadius_ = value; }
  void SetMirrored(bool mirrored) { mirrored_ = mirrored ? 1 : 0; }

  // Window point to a point on the unit ball (z >= 0). Before the window
  // size is known it returns the ball's centre (0, 0, 1).
  D3DXVECTOR3 ScreenToVector(float x, float y) const;

  // Mouse buttons and moves; 1 when the message was used, else 0.
  LRESULT OnMouseMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  // Clamps the pitch to +-pi/2 and returns RotationX(pitch) x RotationY(yaw).
  const D3DXMATRIX* GetRotation();

  const D3DXMATRIX* GetRotationMatrix() const { return &rotation_; }
  const D3DXMATRIX* GetRotationDelta() const { return &rotationDelta_; }
  const D3DXMATRIX* GetTranslationMatrix() const { return &translation_; }
  const D3DXMATRIX* GetTranslationDelta() const { return &translationDelta_; }
  const D3DXQUATERNION& GetCurrentQuat() const { return current_; }
  float GetYaw() const { return yaw_; }
  float GetPitch() const { return pitch_; }
  float GetTranslationRadius() const { return translationRadius_; }
  bool IsDragging() const { return dragging_ != 0; }
  bool IsRightButtonDown() const { return rightButton_ != 0; }
  bool IsMiddleButtonDown() const { return middleButton_ != 0; }

 private:
  bool HasWindow() const;

  int width_ = 0;
  int height_ = 0;
  float radius_ = 1.0f;
  float translationRadius_ = 1.0f;
  D3DXQUATERNION down_;
  D3DXQUATERNION current_;
  D3DXMATRIX rotation_;
  D3DXMATRIX rotationDelta_;
  D3DXMATRIX translation_;
  D3DXMATRIX translationDelta_;
  BOOL dragging_ = 0;
  BOOL mirrored_ = 0;
  float yaw_ = 0.0f;
  float pitch_ = 0.0f;
  float lastX_ = -1.0f;
  float lastY_ = -1.0f;
  BOOL middleButton_ = 0;
  BOOL rightButton_ = 0;

  D3DXVECTOR3 downPoint_;      // ball point where the left button went down
  int lastPixelX_ = 0;         // for right- and middle-button translation
  int lastPixelY_ = 0;
  D3DXMATRIX yawPitch_;        // what GetRotation returns
};
