#pragma once
// Counts the draw calls the program issues and the primitives they draw, so
// that the frame statistics can tell how many a frame takes. Every draw goes
// through Draw or DrawIndexed, and every clear of a frame through Clear,
// which count and pass the call on unchanged.
//
// On request (the capture command with the log at level 2 or more) the draws
// and clears of the next whole frame are also recorded with their state and
// written to kDrawRecordPath (DrawRecord.h): a diagnostic for measuring the
// program's own cost per frame against a bare replay of its calls.
#include <d3d9.h>

extern const char* const kDrawRecordPath;  // c:\log\framedraws.txt

class C3DrawCounter {
 public:
  struct Totals {
    unsigned long long draws = 0;
    unsigned long long primitives = 0;
  };

  static HRESULT Draw(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, UINT startVertex, UINT primitives);
  static HRESULT DrawIndexed(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex,
                             UINT vertices, UINT startIndex, UINT primitives);
  static HRESULT Clear(IDirect3DDevice9* device, DWORD flags, D3DCOLOR colour, float z, DWORD stencil);

  // The totals since the last call, and a new count from zero.
  static Totals Take();

  // Has the next frame recorded; the application frames each frame with
  // BeginFrame and EndFrame (after Present), which writes the record.
  static void RecordNextFrame();
  static void BeginFrame(IDirect3DDevice9* device);
  static void EndFrame();

 private:
  static Totals counted_;
};
