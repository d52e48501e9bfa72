#pragma once
// The draw calls of one frame in the order the program issued them, with the
// state that decides what each one costs: the render target it went to, the
// shaders bound, the textures, blending and depth test, and the pixels it
// drew. The draw counter writes one on request (C3DrawCounter); benchmarks
// read it back to replay the same calls without the program around them.
//
// Text form, one item a line:
//   draw record 1
//   target <width> <height> <format> <depth format, 0: none> <back buffer 0|1>
//   clear <target> <flags, hex>
//   draw <target> <primitive type> <primitives> <vertices> <index bytes, 0: not indexed>
//        <stride> <vertex shader version, hex, 0: fixed function> <pixel shader version, hex>
//        <textures> <alpha blend 0|1> <depth test 0|1> <pixels, -1: not measured>
//   end <draws> <primitives>
#include <d3d9.h>

#include <string>
#include <vector>

struct DrawRecordTarget {
  UINT width = 0;
  UINT height = 0;
  D3DFORMAT format = D3DFMT_UNKNOWN;
  D3DFORMAT depthFormat = D3DFMT_UNKNOWN;  // D3DFMT_UNKNOWN: no depth surface bound
  bool backBuffer = false;
};

struct DrawRecordEvent {
  enum Kind { kDraw, kClear };
  Kind kind = kDraw;
  int target = 0;  // index into DrawRecord::targets
  // Draws.
  D3DPRIMITIVETYPE type = D3DPT_TRIANGLELIST;
  UINT primitives = 0;
  UINT vertices = 0;    // vertices the call may touch
  UINT indexBytes = 0;  // 2 or 4 for indexed calls, else 0
  UINT stride = 0;      // of stream 0; 0: none bound
  DWORD vertexShader = 0;  // version token of the bound shader; 0: fixed function
  DWORD pixelShader = 0;
  UINT textures = 0;  // stages 0 to 7 with a texture bound
  bool alphaBlend = false;
  bool depthTest = false;
  long long pixels = -1;  // samples the call drew; -1: not measured
  // Clears.
  DWORD clearFlags = 0;
};

struct DrawRecord {
  std::vector<DrawRecordTarget> targets;
  std::vector<DrawRecordEvent> events;

  size_t DrawCount() const;
  unsigned long long PrimitiveCount() const;
};

// Upper bounds a record is held to when read; a larger figure marks the file as damaged.
constexpr UINT kDrawRecordMaxVertices = 1u << 24;
constexpr UINT kDrawRecordMaxPrimitives = 1u << 24;
constexpr UINT kDrawRecordMaxTargetSize = 16384;

// Vertices a call of `primitives` primitives of `type` reads without an index buffer.
UINT VerticesForPrimitives(D3DPRIMITIVETYPE type, UINT primitives);

std::string FormatDrawRecord(const DrawRecord& record);
// False, with a message naming the line, for text that is not a whole,
// consistent record; `out` is then left empty.
bool ParseDrawRecord(const std::string& text, DrawRecord* out, std::string* error);
