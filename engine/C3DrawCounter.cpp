#include "C3DrawCounter.h"

C3DrawCounter::Totals C3DrawCounter::counted_;

HRESULT C3DrawCounter::Draw(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, UINT startVertex, UINT primitives) {
  ++counted_.draws;
  counted_.primitives += primitives;
  return device->DrawPrimitive(type, startVertex, primitives);
}

HRESULT C3DrawCounter::DrawIndexed(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex,
                                   UINT vertices, UINT startIndex, UINT primitives) {
  ++counted_.draws;
  counted_.primitives += primitives;
  return device->DrawIndexedPrimitive(type, baseVertex, minIndex, vertices, startIndex, primitives);
}

C3DrawCounter::Totals C3DrawCounter::Take() {
  const Totals totals = counted_;
  counted_ = Totals();
  return totals;
}
