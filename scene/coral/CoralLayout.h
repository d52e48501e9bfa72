#pragma once
// The coral's decisions that need no device: how many colonies a cell gets,
// which configuration entry and model variant a draw picks, how the 3 x 3
// grid of cells scrolls with the camera, where a colony lands in its cell,
// how a piece sways and how its world matrix is made.
#include <d3dx9math.h>

#include <cstdint>

constexpr int kCoralCells = 9;
constexpr float kCoralCellSize = 25.0f;
// Camera travel from the grid centre (x or z) beyond which the grid scrolls.
constexpr float kCoralScrollDistance = 12.5f;
// Pieces farther from the camera are not drawn.
constexpr float kCoralDrawDistance = 50.0f;
// Pieces stand this much above the ground they are seated on.
constexpr float kCoralSeatLift = 0.2f;
constexpr int kCoralDensityLevels = 5;

// Offset of cell `cell` (row x 3 + column; row 0 on the +z side, column 0 on
// the -x side) from the grid centre; the centre cell (4) for any other index.
D3DXVECTOR3 CoralCellOffset(int cell);

// Colonies per cell for the CoralDensity setting (0 none .. 4 everywhere):
// 0, 4, 8, 20, 40. A value outside the table is taken as its nearest end.
int CoralColoniesPerCell(int density);
// True when the density lies within the table.
bool IsCoralDensityKnown(int density);

// The configuration entry a draw r (0..1) picks from a list of `count`
// entries: trunc(r x 10) mod count; -1 for an empty list.
int CoralEntryIndex(float r, int count);
// The model variant a draw r (0..1) picks: trunc(r x 100) mod count; -1
// without models.
int CoralVariantIndex(float r, uint32_t count);

// One step of the grid: -1, 0 or +1 cells along x and z (never both).
struct CoralScroll {
  int dx = 0;
  int dz = 0;
  bool Moves() const { return dx != 0 || dz != 0; }
};

// The step for a camera at `camera`: x first (beyond 12.5 units from the
// centre), z only when x stays; exactly 12.5 units does not scroll, nor does
// a position that is not a number.
CoralScroll PlanCoralScroll(const D3DXVECTOR3& centre, const D3DXVECTOR3& camera);
// The grid centre after the step.
D3DXVECTOR3 ScrolledCoralCentre(const D3DXVECTOR3& centre, const CoralScroll& step);
// The cell whose colonies cell `cell` holds after the step: the row or
// column left behind comes round to the front.
int CoralCellSource(const CoralScroll& step, int cell);
// True for the cells that came round and are scattered anew.
bool IsCoralCellScattered(const CoralScroll& step, int cell);

// Where a colony of cell `cell` lands: the cell's centre plus (u - 0.5,
// v - 0.5) x 25 on x and z, at the grid centre's height.
D3DXVECTOR3 CoralColonySpot(const D3DXVECTOR3& centre, int cell, float u, float v);

// One frame of a piece's sway.
struct CoralSway {
  float phase = 0.0f;          // the piece's running phase after the step
  float framePosition = 0.0f;  // position on the ring of key frames
  float amount = 0.0f;         // how far the frames are blended in (0..1)
};
// The step from `previous` to `current` is tripled while sin(phase) > 0.5
// and added unless negative; the frame position is (4 x offset + phase)
// mod frameCount; the amount (sin(t + 2 x offset) x cos(0.7 t) + 1) / 2.
CoralSway StepCoralSway(float phase, float offset, float current, float previous, uint32_t frameCount);

// rotation = Rx(xAngle) x Rz(zAngle) x Ry(yAngle); world = rotation x
// Scaling(scale, scale x stretch, scale) x Translation(position).
void ComposeCoralMatrices(float yAngle, float zAngle, float xAngle, float scale, float stretch,
                          const D3DXVECTOR3& position, D3DXMATRIX* rotation, D3DXMATRIX* world);
