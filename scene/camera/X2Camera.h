#pragma once
// The scene's camera as the camera AI plug-ins drive it. Two rotations run
// side by side: the Source configuration list picks the AI that moves the
// camera position, the Target list the AI that moves the look-at point; each
// list moves on to its next entry after its change interval. The AIs move
// two carrier objects (the movers) that are registered with the world; the
// camera follows them through four-sample averages. While the Source list
// yields no AI object at all, the camera moves its position mover itself,
// after the flocks (FlockFollow), taking the next flock at each turn of
// that list.
//
// The camera's own object (the one it rides on, which the draw passes skip)
// is the base camera's rider: SetRiderObject / GetRiderObject.
#include "FlockFollow.h"
#include "FlockFollowScene.h"
#include "X2PluginAbi.h"
#include "X2PositionAverage.h"
#include "world/C3Camera.h"

class X2CameraAIList;
class X2CameraConfig;

// AI objects a camera keeps per list; later configuration entries are cut.
constexpr int kMaxCameraAIs = 100;
// Seconds of the world's clock before the AIs take the camera over.
constexpr float kCameraStartSeconds = 10.0f;

// One list's rotation step: when more than `interval` seconds have passed
// since *lastSwitch, *index moves to the next of entryCount entries (back
// to 0 after the last one, and 0 when there are none), *lastSwitch becomes
// now and the result is true.
bool AdvanceCameraIndex(float now, float interval, int entryCount, float* lastSwitch, int* index);

// Until the world has started, the camera sits at (0, -3, -15) looking at
// (0, -3, -17) whatever the AIs do.
void ApplyCameraStartPose(bool worldStarted, D3DXVECTOR3* position, D3DXVECTOR3* target);

// normalise(to - from); (0, 0, 1) when the two (nearly) coincide or a
// coordinate is not a finite number.
D3DXVECTOR3 CameraDirection(const D3DXVECTOR3& from, const D3DXVECTOR3& to);

// Left-handed look-at matrix that never degenerates: where eye and at
// coincide it looks along CameraDirection's (0, 0, 1), and where the view
// runs along `up` it takes +z as the up vector instead.
void CameraLookAt(D3DXMATRIX* out, const D3DXVECTOR3& eye, const D3DXVECTOR3& at,
                  const D3DXVECTOR3& up);

// One AI object per configuration entry, in slot i for entry i, so that a
// list's configuration index is also its AI index: entries whose plug-in is
// not in the list, or whose CreateInstance gives nothing, leave their slot
// null. direct[i] is the entry's X2_AI_CAMERA_FLAG bit. At most
// kMaxCameraAIs entries are used (more are logged and cut). Returns the
// number of AI objects made. Null config or list make none.
int CreateCameraAIs(const X2CameraConfig* config, const X2CameraAIList* list,
                    X2HostCallbacks* host, X2AIObject* ais[kMaxCameraAIs],
                    int direct[kMaxCameraAIs]);
// Deletes every AI object through its own deleting destructor; the slots
// become null.
void DeleteCameraAIs(X2AIObject* ais[kMaxCameraAIs]);
// Entries of a list the camera works with (0 for no list).
int CameraEntryCount(const X2CameraConfig* config);

class X2Camera : public C3Camera {
 public:
  // host is the callback table handed to the AIs' CreateInstance.
  explicit X2Camera(X2HostCallbacks* host);
  ~X2Camera() override;

  // Makes the movers (once; they are registered with the current world)
  // and the AI objects of both lists.
  HRESULT InitDeviceObjects() override;
  // Deletes the AI objects; the movers stay in the world.
  HRESULT DeleteDeviceObjects() override;
  // Switching, one AI step on each mover, averaging, the start pose, then
  // the frustum planes and view matrix.
  HRESULT Move(float current, float previous) override;
  D3DXVECTOR3* GetTarget(D3DXVECTOR3* out) override;
  D3DXVECTOR3* GetDirection(D3DXVECTOR3* out) override;

  // Advances each list that is due and hands its mover the new AI; true
  // when the Source list moved on.
  bool SwitchCameras(float now);
  // A structure's collision field that the camera's own course keeps out of.
  void AddObstacle(X1Collision* field) { followScene_.AddObstacle(field); }
  // The camera's own course (used while no Source AI exists).
  const FlockFollow& Follow() const { return follow_; }

  X2PositionAverage positionAverage;
  X2PositionAverage targetAverage;
  D3DXVECTOR3 target{0.0f, 0.0f, 0.0f};
  D3DXVECTOR3 direction{0.0f, 0.0f, 1.0f};
  float lastSourceSwitch = -1000.0f;
  float lastTargetSwitch = -1000.0f;
  int sourceIndex = 0;
  int targetIndex = 0;
  X2AIObject* sourceAI[kMaxCameraAIs] = {};
  X2AIObject* targetAI[kMaxCameraAIs] = {};
  int sourceDirect[kMaxCameraAIs] = {};
  int targetDirect[kMaxCameraAIs] = {};
  int sourceCount = 0;
  int targetCount = 0;
  bool directMode = false;
  C3Move* sourceMover = nullptr;
  C3Move* targetMover = nullptr;

 protected:
  // directMode from the current entry of each list.
  bool UpdateDirectMode();
  // Back-buffer width / height of the scene host (1 for an empty one).
  float BackBufferAspect() const;

 private:
  void HandOverAIs();
  // One step of the camera's own course on the position mover.
  void FollowFlocks(float current, float previous, bool nextFlock);

  X2HostCallbacks* host_;
  // Movers made while no world was there to take them.
  bool ownsMovers_ = false;
  FlockFollow follow_;
  FlockFollowScene followScene_;
};
