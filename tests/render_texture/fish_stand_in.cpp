// Stand-in for the fish's operations while the fish itself is not in the
// scene library: just the render-texture protocol of its frame move.
#include "C4RenderTexture.h"
#include "C6Fish.h"

C6Fish::C6Fish() { SetClassName("C6Fish"); }
C6Fish::~C6Fish() = default;
HRESULT C6Fish::RestoreDeviceObjects() { return C4VertexObject::RestoreDeviceObjects(); }
HRESULT C6Fish::InvalidateDeviceObjects() { return C4VertexObject::InvalidateDeviceObjects(); }
HRESULT C6Fish::DeleteDeviceObjects() { return C4VertexObject::DeleteDeviceObjects(); }
void C6Fish::Animate(float, float) {}
void C6Fish::AnimateParts(float, float) {}
HRESULT C6Fish::Render() { return 0; }

HRESULT C6Fish::Move(float current, float previous) {
  C4VertexObject::Move(current, previous);
  if (cloneMode == kCloneSource) {
    sourceCaptured = 0;
    if (!HasFlag(kObjCulled) && renderTexture) {
      SaveMatrices();
      drawingIntoTexture = 1;
      renderTexture->RenderSource(this);
      drawingIntoTexture = 0;
      RestoreMatrices();
    }
  }
  return 0;
}
