#include "X7SegmentObject.h"

#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "world/C3Camera.h"

X7SegmentObject::X7SegmentObject() {
  SetClassName("X7SegmentObject");
  flags |= kObjAlwaysVisible;
  // Segments are ranges of a triangle list: the mesh is never made a strip.
  drawFlags &= ~kDrawStrips;
}

const X2FishMesh* X7SegmentObject::FirstMesh() const {
  return meshes.empty() || !meshes[0] ? nullptr : meshes[0]->descriptor;
}

void X7SegmentObject::BuildSegments() {
  const X2FishMesh* mesh = FirstMesh();
  spheres = mesh ? BuildSegmentSpheres(*mesh) : std::vector<SegmentSphere>();
  hidden.assign(spheres.size(), 0u);
}

HRESULT X7SegmentObject::Move(float current, float previous) {
  C4VertexObject::Move(current, previous);
  C3Camera* camera = GetMainCamera();
  if (spheres.empty() || !camera) return 0;
  SegmentView view;
  camera->GetPosition(&view.eye);
  camera->GetDirection(&view.direction);
  view.normals = camera->planeNormals;
  view.planeCount = GetSceneHost()->IsDualView() ? 2 : 4;
  view.farDistance = kCameraFar;
  CullSegments(spheres, world, scale, view, &hidden);
  return 0;
}

void X7SegmentObject::DoRender() {
  IDirect3DDevice9* device = GetSceneHost()->GetDevice();
  const X2FishMesh* mesh = FirstMesh();
  if (!device || !mesh || !IsMeshDrawable(0)) return;
  if (HasFlag(kObjWholeSegmentMesh)) {
    FatalCheck("X7SegmentObject", __LINE__, __TIME__, device->SetRenderState(D3DRS_FOGENABLE, FALSE));
    DrawMesh(0);
    return;
  }
  const int count = static_cast<int>(mesh->attributeRangeCount);
  SegmentDrawPlan plan = PlanSegmentDraws(mesh->attributeRanges, count, hidden, mergeSwitch != 0,
                                          mesh->vertexCount, mesh->primitiveCount);
  if (plan.brokenRun) {
    LogPrint(plan.brokenRun == 1 ? "===KWEX DoRender 1\n" : "===KWEX DoRender 2\n");
    mergeSwitch = 0;
  }
  for (const SegmentDraw& d : plan.draws)
    FatalCheck("X7SegmentObject", __LINE__, __TIME__,
               C3DrawCounter::DrawIndexed(device, D3DPT_TRIANGLELIST, 0, d.minIndex, d.vertexCount, d.startIndex,
                                            d.primitiveCount));
}
