#pragma once
// A test plug-in library that calls the host table from inside its own
// image, the way a real plug-in does, and hands back what it got.
#include "X2PluginAbi.h"

#ifdef HOST_PROBE_BUILD
#define PROBE_API extern "C" __declspec(dllexport)
#else
#define PROBE_API extern "C" __declspec(dllimport)
#endif

// Every object-property slot on one handle: writes, then reads back.
struct ProbeObjectResult {
  float* setPositionResult;
  float* setDirectionResult;
  X2Object setterResults[9];  // pitch, yaw, roll, speed, scale, user, clear user, hidden, drift
  X2Vec3 position, direction, boundsMin, boundsMax;
  X2Vec3* positionReturned;   // the hidden result pointer handed back
  float pitch, yaw, roll, speed, scale, bodySize;
  X2Matrix* world;
  X2Matrix* rotation;
  void* block104;
  void* block124;
  int userAfterSet, userAfterClear;
  X2AIObject* aiAfterSet;
  X2AIObject* aiAfterClear;
};

// Every getter with a null handle (and the setters, which must ignore it).
struct ProbeNullResult {
  X2Vec3 position, direction, boundsMin, boundsMax;
  float pitch, yaw, roll, speed, scale, bodySize, swimFactor;
  float* setPosition;
  float* setDirection;
  X2Object setters[11];
  X2Matrix* world;
  X2Matrix* rotation;
  void* block104;
  void* block124;
  X2AIObject* ai;
  int user;
  float swim[3];  // untouched by GetSwimState(null)
  X2Object dolphinParamDone;
  X2Matrix* frame;
};

// The scene-wide slots.
struct ProbeSceneResult {
  X2Object cameraSource, cameraTarget;
  X2Matrix* mouseReturned;
  float mouse[16];
  X2Matrix* mouseNull;
  int buttons;
  void* aux;
  X2Object dolphin;
  int twinfin, hasCollision, hasTerrain;
  X2Vec3 collision, collisionEx, wander, cameraPosition;
  float worldRange;
  float height;
  int onStructure;  // preset to 7 before GetTerrainHeight
  float heightNullFlag;
  X2Vec3* collisionReturned;
};

// Fish slots on a fish handle and a handle of another class.
struct ProbeFishResult {
  float shownSwim, swimPhase, swimMax, swimFactor;
  float otherSwim[3];  // untouched for the other-class handle
  float otherFactor;
  X2Object setSwimResult;
};

struct ProbeFlockResult {
  int count;
  int sizeLast, sizeNegative, sizeFirst;
  X2Object member70, memberOut, memberNegative;
  const char** names;
};

PROBE_API void ProbeObjectSlots(X2HostCallbacks* host, X2Object obj, X2AIObject* ai,
                                ProbeObjectResult* out);
PROBE_API void ProbeNullSlots(X2HostCallbacks* host, ProbeNullResult* out);
PROBE_API void ProbeSceneSlots(X2HostCallbacks* host, ProbeSceneResult* out);
PROBE_API void ProbeFishSlots(X2HostCallbacks* host, X2Object fish, X2Object other,
                              ProbeFishResult* out);
PROBE_API void ProbeFlockSlots(X2HostCallbacks* host, ProbeFlockResult* out);
PROBE_API void ProbeRandoms(X2HostCallbacks* host, int count, float* out);
// LogPrint and PrintToPanel with the probe's own formats and arguments.
PROBE_API void ProbeText(X2HostCallbacks* host, int panel, const char* word, int number);
// Hands null and hostile-looking format texts to the two text slots.
PROBE_API void ProbeNullFormats(X2HostCallbacks* host);

// Creation, registration and render-texture binding through the table:
// a fish from the record, a texture with the fish as source and `count`
// further fish as clones; everything registered and listed in the flock
// being built. Returns the fish handles in fish[0..count].
PROBE_API X2Object ProbeBuildTextureRow(X2HostCallbacks* host, const X2FishData* record, int count,
                                        X2Object* fish);
// The same slots with null, wrong-class and swapped handles.
PROBE_API void ProbeBadBinding(X2HostCallbacks* host, X2Object fish, X2Object texture,
                               X2Object plain);

// AI objects made in this library. Kinds: 0 keeps itself (returns null),
// 1 hands over to a new kind-0 object, 2 returns itself, 3 swims: sets speed
// 1 and turns slowly through the host, returns null.
enum { kProbeKeep = 0, kProbeHandOver = 1, kProbeSelf = 2, kProbeSwim = 3 };
PROBE_API X2AIObject* ProbeCreateAI(X2HostCallbacks* host, int kind);
PROBE_API int ProbeAIKind(X2AIObject* ai);
PROBE_API int ProbeAISteps(X2AIObject* ai);
PROBE_API X2Object ProbeAILastSelf(X2AIObject* ai);
// Counters of AI objects made and destroyed since the last reset.
PROBE_API int ProbeAIsMade();
PROBE_API int ProbeAIsDestroyed();
PROBE_API void ProbeResetCounters();
