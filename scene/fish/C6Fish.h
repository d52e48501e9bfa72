#pragma once
// A swimming fish: a key-frame morph blended on the graphics card, a swim
// phase and strength driven by its speed, optional two-pose parts, an AI
// object that steers it each frame, and the render-texture protocol (a fish
// may be the source of a render texture or a clone drawn from one).
//
// Sources by concern: C6Fish.cpp (construction, life cycle, frame move),
// C6FishRender.cpp (draw).
#include <memory>

#include "C5MorphAnimation.h"
#include "C5PartialMorph.h"
#include "FishMotion.h"
#include "world/C4VertexObject.h"

class C4RenderTexture;

// C6Fish::cloneMode.
enum : int {
  kCloneNone = 0,
  kCloneSource = 2,  // drawn into a render texture
  kCloneCopy = 3,    // drawn from a render texture as a billboard
};

class C6Fish : public C4VertexObject {
 public:
  C6Fish();
  ~C6Fish() override;

  HRESULT RestoreDeviceObjects() override;
  HRESULT InvalidateDeviceObjects() override;
  HRESULT Move(float current, float previous) override;
  HRESULT Render() override;
  // The move along the heading, held under the waves' ceiling.
  int ComposeWorldMatrix(float current, float previous) override;
  void Animate(float current, float previous) override;
  // Part weights of one frame, then the partial morph's blend.
  virtual void AnimateParts(float current, float previous);

  // True between a restore with a device and the next invalidation. A fish
  // registered late gets its device objects from the world as it is added.
  bool HasDeviceObjects() const { return restored_; }

  int drawingIntoTexture = 0;
  IDirect3DStateBlock9* captureStateBlock = nullptr;
  std::unique_ptr<C5MorphAnimation> morph;
  FishSwim swim;  // swimPhase, shownSwim, maximum, base, rate, swimFactor, lastSpeed
  std::unique_ptr<C5PartialMorph> partialMorph;
  // Render-texture protocol: written by the render texture and the host table.
  int drawAsMesh = 0;
  C6Fish* cloneSource = nullptr;
  int sourceCaptured = 0;
  C4RenderTexture* renderTexture = nullptr;
  int cloneMode = kCloneNone;

 private:
  // Multiplies the world's light value while the fish stands in the sun.
  void DimSun();
  // Reports the glint of a side that mirrors the sun to the halation.
  void AddGlint();

  bool restored_ = false;
};
