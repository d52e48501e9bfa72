#pragma once
// The render texture's per-frame decisions without a device: which clones
// become billboard quads and which are drawn as themselves, the quads'
// vertices, and which segment of the shared vertex buffer each batch of
// quads goes to.
#include <d3d9.h>
#include <d3dx9.h>

#include <cstddef>
#include <vector>

class C3Object;

// Clones nearer to the camera than this are drawn as real objects.
constexpr float kBillboardDistance = 5.0f;

// Clone vertex: position, a vector that is always (0, 1, 0), texture
// coordinates; 32 bytes. Each quad is six vertices (a four-corner strip
// with its first and last vertex repeated), so that all quads of a batch
// form one triangle strip joined by degenerate triangles.
constexpr int kCloneVertexFloats = 8;
constexpr int kCloneVertexBytes = 32;
constexpr int kCloneQuadVertices = 6;
constexpr int kCloneQuadFloats = kCloneQuadVertices * kCloneVertexFloats;
constexpr int kCloneQuadBytes = kCloneQuadVertices * kCloneVertexBytes;
// Spare vertices the CPU array holds beyond six per clone.
constexpr int kSpareCloneVertices = 10;

// The shared dynamic vertex buffer: four segments, one per draw, written
// with discard when the counter comes back to segment 0.
constexpr int kCloneSegmentBytes = 0x7000;
constexpr int kCloneSegmentCount = 4;
constexpr int kCloneBufferBytes = kCloneSegmentBytes * kCloneSegmentCount;
constexpr int kMaxQuadsPerSegment = kCloneSegmentBytes / kCloneQuadBytes;  // 149

// Floats of the CPU array for a number of clones (six vertices each plus
// the spare ones).
size_t CloneArrayFloats(int clones);

// Writes the six vertices of a quad at a position (kCloneQuadFloats floats).
void WriteCloneQuad(float* out, const D3DXVECTOR3& position);

// One frame of clone decisions, in collection order; every entry must be a
// C6Fish (null entries are skipped). Each clone loses flag 1 and its
// draw-as-itself mark; a hidden clone (flag 0x10) is left so; a clone whose
// source was not captured this frame, or with no camera (eye null), is drawn
// as itself; otherwise its camera distance is stored and it is drawn as
// itself with flag 1 below kBillboardDistance, else as a quad. The quads are
// written to *vertices, which grows (to the size for all clones) when it is
// too small. Returns the number of quads.
int BuildCloneQuads(C3Object* const* clones, int count, const D3DXVECTOR3* eye, std::vector<float>* vertices);

// One draw of a batch of quads from one segment of the shared buffer.
struct CloneSegmentDraw {
  int segment;       // 0 .. 3
  UINT offset;       // bytes into the buffer
  UINT lockBytes;    // bytes locked and copied
  DWORD lockFlags;   // D3DLOCK_DISCARD at segment 0, else D3DLOCK_NOOVERWRITE
  UINT firstVertex;  // offset / 32
  int firstQuad;     // index of the batch's first quad in the frame
  int quads;         // at most kMaxQuadsPerSegment
  UINT primitives;   // strip triangles: 6 x quads - 2
};

// Advances the program-wide counter (0, 1, 2, 3, 0, ...) and describes the
// draw of `quads` quads (cut to kMaxQuadsPerSegment) from that segment.
CloneSegmentDraw NextCloneSegment(int* counter, int firstQuad, int quads);
// The draws of one frame: batches of at most kMaxQuadsPerSegment quads, each
// in the next segment. No quads, no draws.
std::vector<CloneSegmentDraw> PlanCloneDraws(int* counter, int quads);

// Edge of the square render target for a source's impostor size: half the
// size; a size that gives no usable texture (below 2 or above 4096) falls
// back to the default of 256.
int RenderTargetEdge(int impostorSize);

// The source pass's camera: eye = source - direction x distance, looking at
// the source with up (0, 1, 0) (or (0, 0, 1) when the direction is nearly
// vertical); field of view extent / distance, aspect 1, near 0.1, far 100.
void SourceViewProjection(const D3DXVECTOR3& source, const D3DXVECTOR3& direction, float distance, float extent,
                          D3DXMATRIX* view, D3DXMATRIX* projection);
