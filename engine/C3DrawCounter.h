#pragma once
// Counts the draw calls the program issues and the primitives they draw, so
// that the frame statistics can tell how many a frame takes. Every draw goes
// through Draw or DrawIndexed, which count and pass the call on unchanged.
#include <d3d9.h>

class C3DrawCounter {
 public:
  struct Totals {
    unsigned long long draws = 0;
    unsigned long long primitives = 0;
  };

  static HRESULT Draw(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, UINT startVertex, UINT primitives);
  static HRESULT DrawIndexed(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex,
                             UINT vertices, UINT startIndex, UINT primitives);

  // The totals since the last call, and a new count from zero.
  static Totals Take();

 private:
  static Totals counted_;
};
