#pragma once
// The binary interface between the screen saver and its plug-in libraries.
//
// Shared by the program and every plug-in: the two exported entry points,
// the AI and fish-kind records, the model data species records point to,
// the host callback table and the base of every plug-in AI object.
//
// The interface is 32-bit x86: 32-bit pointers and ints, IEEE single floats,
// natural alignment, zero-terminated Shift-JIS strings. Exports, record
// entry points and host callbacks are cdecl (caller pops). The two virtual
// operations of X2AIObject use the member-function convention (thiscall).
// A 3-float vector result travels through a hidden first argument pointing
// at the caller's result, which is also returned; here that argument is
// spelled out as the first parameter, which gives the same calls.
//
// The records and the table also build for x86_64 (the test programs run
// there); the layout asserts below hold on 32-bit builds only, except the
// slot positions of the host table, which hold on both.
//
// Plain C layout: this header compiles as C as well, with X2AIObject opaque.
#include <windows.h>

#include <stddef.h>
#include <stdint.h>

#if defined(__i386__) || defined(_M_IX86)
#define X2_CDECL __cdecl
#define X2_THISCALL __thiscall
#elif defined(_WIN32)
#define X2_CDECL __cdecl
#define X2_THISCALL
#else
#define X2_CDECL
#define X2_THISCALL
#endif

#ifdef __cplusplus
#define X2_ABI_ASSERT(cond) static_assert(cond, #cond)
#else
#define X2_ABI_ASSERT(cond) _Static_assert(cond, #cond)
#endif
// True on the 32-bit build, or the condition holds.
#define X2_ABI_ASSERT32(cond) X2_ABI_ASSERT(sizeof(void*) != 4 || (cond))

#ifdef __cplusplus
extern "C" {
#endif

// ---------------------------------------------------------------------------
// Constants

enum {
  X2_NAME_SIZE = 260,  // name and maker fields, key buffers

  // version word: bits 16-23 kind, bits 8-15 format version, bits 0-7 minor
  X2_KIND_MASK = 0x00FF0000,
  X2_KIND_AI = 0x00010000,
  X2_KIND_FISH = 0x00020000,  // fish, coral and structure records
  X2_FORMAT_MASK = 0x0000FF00,
  X2_AI_FORMAT_MAX = 0x00000100,    // newest AI format the program reads
  X2_FISH_FORMAT_MAX = 0x00000200,  // newest fish-kind format the program reads
  X2_VERSION_AI = 0x00010101,
  X2_VERSION_FISH = 0x00020101,
  X2_VERSION_FISH_XFILE = 0x00020201,  // a structure drawn from X files

  // X2AIData::capabilities
  X2_AI_FLOCK = 0x01,          // builds flocks
  X2_AI_CAMERA_SOURCE = 0x08,  // camera position ("Source" list)
  X2_AI_CAMERA_TARGET = 0x10,  // camera look-at point ("Target" list)
  X2_AI_CAMERA_FLAG = 0x20,    // per-entry flag the camera keeps
  X2_AI_DEDICATED = 0x40,      // offered only for the fish named by dedicatedFish

  // X2FishData::flags
  X2_FISH_BODY_COLLISION = 0x1,
  X2_FISH_AI_RESTRICTED = 0x2,
  X2_FISH_COLONY_COLLISION = 0x4,

  // X2FishModel::flags
  X2_MODEL_DEFAULT = 0x1,        // set in every shipped record, not read
  X2_MODEL_TEXTURE_FILE = 0x4,   // textures is a file name
  X2_MODEL_TRIANGLE_LIST = 0x8,  // a fish draws lists, not strips

  // X2FishMesh vertex layouts
  X2_FVF_VERTEX = 0x112,  // position, normal, one texture coordinate
  X2_FVF_MORPH = 0x12,    // position, normal
  X2_STRIDE_VERTEX = 32,
  X2_STRIDE_MORPH = 24,

  X2_HOST_SLOT_COUNT = 256
};

// Decorated names of the two exports, looked up with GetProcAddress.
#define X2_AI_EXPORT_NAME "?GetAIData@@YAPAUX2AIData@@PAD0@Z"
#define X2_FISH_EXPORT_NAME "?GetFishData@@YAPAUX2FishData@@PBD0@Z"

// ---------------------------------------------------------------------------
// Basic types

// A host scene object as plug-ins see it: its address, never dereferenced.
typedef void* X2Object;

typedef struct X2Vec3 {
  float x, y, z;
} X2Vec3;

// The platform's 4 x 4 float matrix; complete once d3d9types.h is included.
struct _D3DMATRIX;
typedef struct _D3DMATRIX X2Matrix;

typedef struct X2AIData X2AIData;
typedef struct X2FishData X2FishData;
typedef struct X2HostCallbacks X2HostCallbacks;
#ifdef __cplusplus
}  // extern "C"
class X2AIObject;
extern "C" {
#else
typedef struct X2AIObject X2AIObject;
#endif

// ---------------------------------------------------------------------------
// Exports

typedef X2AIData*(X2_CDECL* X2GetAIDataFn)(char*, char*);
typedef X2FishData*(X2_CDECL* X2GetFishDataFn)(const char*, const char*);

// ---------------------------------------------------------------------------
// Common record header, first in both record types (536 bytes)

typedef struct X2RecordHeader {
  uint32_t version;
  uint16_t nextOffset;  // bytes from this record to the next one; 0 = last
  uint8_t reserved[10];
  char name[X2_NAME_SIZE];   // display name
  char maker[X2_NAME_SIZE];  // maker name
} X2RecordHeader;

// ---------------------------------------------------------------------------
// AI record (588 bytes)

typedef int(X2_CDECL* X2BuildFlockFn)(int flockIndex, const X2FishData* fish, const char* aiParam,
                                      X2HostCallbacks* host, int highPowerFactor);
typedef int(X2_CDECL* X2ConfigureFn)(HMODULE module, int row, char* param, int paramSize,
                                     X2HostCallbacks* host, int highPowerFactor);
typedef int(X2_CDECL* X2GetDefaultParamFn)(int reserved, char* out, int outSize,
                                           X2HostCallbacks* host, int highPowerFactor);
typedef int(X2_CDECL* X2CountFishFn)(int flockIndex, const char* aiParam, X2HostCallbacks* host,
                                     int highPowerFactor);
typedef X2AIObject*(X2_CDECL* X2CreateInstanceFn)(const char* param, X2HostCallbacks* host);
typedef int(X2_CDECL* X2NormaliseParameterFn)(int removedFlockIndex, char* param, int paramSize,
                                              X2HostCallbacks* host, int reserved);

struct X2AIData {
  X2RecordHeader header;
  uint32_t capabilities;  // X2_AI_* bits
  X2BuildFlockFn BuildFlock;
  X2ConfigureFn Configure;
  X2GetDefaultParamFn GetDefaultParam;
  X2CountFishFn CountFish;
  X2CreateInstanceFn CreateInstance;
  X2NormaliseParameterFn NormaliseParameter;
  uint32_t reserved1[2];
  const char* dedicatedFish;  // key of the one fish a dedicated AI serves
  uint32_t reserved2[3];
};

// ---------------------------------------------------------------------------
// Species model data

// {data, size} of a zlib stream: an image file, or an X file behind an X block.
typedef struct X2FishTexture {
  const void* data;
  uint32_t size;
} X2FishTexture;

// One material of a mesh, laid out as D3DXATTRIBUTERANGE.
typedef struct X2AttributeRange {
  uint32_t attribId;
  uint32_t faceStart;
  uint32_t faceCount;
  uint32_t vertexStart;
  uint32_t vertexCount;
} X2AttributeRange;

// A mesh (36 bytes). X-block form: vertexCount is the inflated size of the
// X file and xBlock points at its compressed stream.
typedef struct X2FishMesh {
  uint32_t vertexCount;
  void* vertices;
  uint32_t primitiveCount;  // triangles; the strip index count once stripped
  uint16_t* indices;
  uint32_t fvf;     // X2_FVF_*
  uint32_t stride;  // X2_STRIDE_*
  X2AttributeRange* attributeRanges;
  uint32_t attributeRangeCount;
  X2FishTexture* xBlock;  // null for a plain mesh
} X2FishMesh;

// The far, low-detail mesh of a model.
typedef struct X2FarMesh {
  float distance;  // not read by the program
  X2FishMesh* mesh;
} X2FarMesh;

// One animated part of the partial-morph mesh (32 bytes).
typedef struct X2FishPart {
  uint32_t rangeA;     // range of pminfoMesh holding pose A
  uint32_t rangeB;     // range of pminfoMesh holding pose B
  uint32_t baseRange;  // range of the base mesh the part deforms
  float chanceB;
  float chanceA;
  float blendRate;
  float value;
  int32_t state;  // 0 wave, 1 pose A, 2 pose B
} X2FishPart;

// Model descriptor (88 bytes).
typedef struct X2FishModel {
  uint32_t textureCount;
  union {
    X2FishTexture* textures;
    const char* textureFile;  // with X2_MODEL_TEXTURE_FILE
  };
  float scale;
  X2FishMesh* baseMesh;
  uint32_t hasSecondMesh;
  X2FarMesh* secondMesh;
  uint32_t frameCount;
  float swimRate;
  float swimBase;  // an X-block model keeps its count of further X blocks here
  float swimMax;
  X2FishMesh** frames;     // morph key frames, or further X blocks
  X2FishMesh* pminfoMesh;  // partial-morph mesh, or null
  uint32_t partCount;
  X2FishPart* parts;
  uint32_t flags;  // X2_MODEL_* bits
  uint8_t hasExtraTexture;
  uint8_t reserved0[3];
  uint8_t reserved[24];
} X2FishModel;

// ---------------------------------------------------------------------------
// Fish-kind record: fish, coral or structure (656 bytes)

typedef int(X2_CDECL* X2PlaceInstanceFn)(int index, float* position, float* scale, float* yaw,
                                         float* roll, float* pitch, X2HostCallbacks* host);

struct X2FishData {
  X2RecordHeader header;
  const char* latinName;
  const char* defaultAI;  // key of the preselected AI
  uint32_t flags;         // X2_FISH_* bits
  uint32_t modelCount;
  X2FishModel* model;
  uint32_t instanceCount;
  X2PlaceInstanceFn PlaceInstance;
  const void* collisionCapsules;
  const float* footprint;
  const void* rallyPoints;
  uint8_t reserved[80];
};

// ---------------------------------------------------------------------------
// Host callback table: 256 cdecl slots, 64 of them filled, unused ones null.

typedef void(X2_CDECL* X2UnusedSlot)(void);

struct X2HostCallbacks {
  // 0: object pose
  X2Vec3*(X2_CDECL* GetPosition)(X2Vec3* result, X2Object obj);
  float(X2_CDECL* GetPitch)(X2Object obj);
  float(X2_CDECL* GetYaw)(X2Object obj);
  float(X2_CDECL* GetRoll)(X2Object obj);
  float*(X2_CDECL* SetPosition)(X2Object obj, const X2Vec3* p);
  X2Object(X2_CDECL* SetPitch)(X2Object obj, float value);
  X2Object(X2_CDECL* SetYaw)(X2Object obj, float value);
  X2Object(X2_CDECL* SetRoll)(X2Object obj, float value);
  float(X2_CDECL* GetSpeed)(X2Object obj);
  X2Object(X2_CDECL* SetSpeed)(X2Object obj, float value);
  float(X2_CDECL* Random)(void);
  X2Matrix*(X2_CDECL* GetWorldMatrix)(X2Object obj);
  X2Matrix*(X2_CDECL* GetRotationMatrix)(X2Object obj);
  void*(X2_CDECL* GetBlock104)(X2Object obj);
  void*(X2_CDECL* GetBlock124)(X2Object obj);
  X2UnusedSlot unused15;

  // 16: heading, AI, scale, swim state, user flag
  X2Vec3*(X2_CDECL* GetDirection)(X2Vec3* result, X2Object obj);
  X2AIObject*(X2_CDECL* GetAI)(X2Object obj);
  void(X2_CDECL* SetAI)(X2Object obj, X2AIObject* ai);
  float(X2_CDECL* GetScale)(X2Object obj);
  X2Object(X2_CDECL* SetScale)(X2Object obj, float value);
  void(X2_CDECL* GetSwimState)(X2Object obj, float* shownSwim, float* swimPhase, float* swimMax);
  X2Object(X2_CDECL* SetSwimState)(X2Object obj, float shownSwim, float swimPhase);
  float(X2_CDECL* GetSwimFactor)(X2Object obj);
  X2Object(X2_CDECL* SetUserFlag)(X2Object obj);
  X2Object(X2_CDECL* ClearUserFlag)(X2Object obj);
  int(X2_CDECL* TestUserFlag)(X2Object obj);
  float*(X2_CDECL* SetDirection)(X2Object obj, const X2Vec3* d);
  X2UnusedSlot unused28[4];

  // 32: camera, mouse, bounds
  X2Object(X2_CDECL* GetCameraSourceObject)(void);
  X2Object(X2_CDECL* GetCameraTargetObject)(void);
  X2Matrix*(X2_CDECL* GetMouseRotation)(X2Matrix* out);
  int(X2_CDECL* GetMouseButtons)(void);
  void(X2_CDECL* SetCameraOwnObject)(X2Object obj);
  float(X2_CDECL* GetBodySize)(X2Object obj);
  X2Vec3*(X2_CDECL* GetBoundsMin)(X2Vec3* result, X2Object obj);
  X2Vec3*(X2_CDECL* GetBoundsMax)(X2Vec3* result, X2Object obj);
  void*(X2_CDECL* GetAuxBlock)(void);
  X2UnusedSlot unused41[23];

  // 64: dolphins and X-file objects
  X2Object(X2_CDECL* CreateDolphin)(const X2FishData* fish);
  X2UnusedSlot unused65;
  void(X2_CDECL* SetDolphinParam)(X2Object obj, int index, float value);
  X2Matrix*(X2_CDECL* FindFrameMatrix)(X2Object obj, const char* frameName);
  X2UnusedSlot unused68[12];

  // 80: fish, flocks, render textures
  X2Object(X2_CDECL* CreateFish)(const X2FishData* fish);
  void(X2_CDECL* RegisterObject)(X2Object obj);
  X2Object(X2_CDECL* SetHiddenFlag)(X2Object obj);
  void(X2_CDECL* AddToBuildingFlock)(X2Object obj);
  X2Object(X2_CDECL* GetFlockMember)(int flock, int member);
  int(X2_CDECL* GetFlockSize)(int flock);
  const char**(X2_CDECL* GetFlockNames)(void);
  int(X2_CDECL* GetFlockCount)(void);
  X2Object(X2_CDECL* CreateRenderTexture)(void);
  void(X2_CDECL* SetCloneSource)(X2Object texture, X2Object fish);
  void(X2_CDECL* AddClone)(X2Object texture, X2Object fish);
  int(X2_CDECL* IsTwinfinTech)(void);
  X2UnusedSlot unused92[4];

  // 96: collision fields and the water current
  int(X2_CDECL* HasCollisionServer)(void);
  X2Vec3*(X2_CDECL* GetCollisionForce)(X2Vec3* result, float x, float y, float z, X2Object self);
  float(X2_CDECL* GetWorldRange)(void);
  X2Object(X2_CDECL* SetDriftWithCurrent)(X2Object obj, int on);
  X2Vec3*(X2_CDECL* GetCollisionForceEx)(X2Vec3* result, float x, float y, float z,
                                         X2Object self, int a, int b);
  X2UnusedSlot unused101[11];

  // 112: terrain and ring wander
  int(X2_CDECL* HasTerrain)(void);
  float(X2_CDECL* GetTerrainHeight)(float x, float z, int* onStructure);
  X2Vec3*(X2_CDECL* GetWanderTarget)(X2Vec3* result);
  X2UnusedSlot unused115[13];

  // 128: debugging aids and text
  void(X2_CDECL* AddHaloAnchor)(float x, float y, float z);
  void(X2_CDECL* LogPrint)(const char* format, ...);
  void(X2_CDECL* AddDebugLine)(float fromX, float fromY, float fromZ, float toX, float toY,
                               float toZ);
  void(X2_CDECL* PrintToPanel)(int panel, const char* format, ...);
  X2UnusedSlot unused132[12];

  // 144: camera position
  X2Vec3*(X2_CDECL* GetCameraPosition)(X2Vec3* result);
  X2UnusedSlot unused145[111];
};

#ifdef __cplusplus
}  // extern "C"

// ---------------------------------------------------------------------------
// Base of every plug-in AI object. Its table matches the 32-bit Windows
// layout: slot 0 the deleting destructor, slot 1 Step. There is deliberately
// no C++ virtual destructor (g++ would put two slots in the table); the host
// deletes an AI object only through Destroy(1), so allocation and release
// both run inside the plug-in.
class X2AIObject {
 public:
  // Destroys the object; bit 0 of flags set also frees its memory.
  virtual void* X2_THISCALL Destroy(int flags) = 0;
  // One step for the object `self`; null keeps this AI, another object
  // takes over from it.
  virtual X2AIObject* X2_THISCALL Step(float now, float previous, X2Object self) = 0;

  X2Object owner = nullptr;  // the object it steers, set by the host

 protected:
  X2AIObject() = default;
  ~X2AIObject() = default;
};

// Plug-in side helper: class MyAI : public X2AIObjectImpl<MyAI> gets the
// deleting destructor that runs MyAI's destructor and frees with the
// plug-in's own operator delete.
template <class T>
class X2AIObjectImpl : public X2AIObject {
 public:
  void* X2_THISCALL Destroy(int flags) override {
    T* self = static_cast<T*>(this);
    self->~T();
    if (flags & 1) ::operator delete(static_cast<void*>(self));
    return self;
  }
};

// Host side: the one way to delete an AI object.
inline void X2DeleteAIObject(X2AIObject* ai) {
  if (ai) ai->Destroy(1);
}

X2_ABI_ASSERT(sizeof(X2AIObject) == 2 * sizeof(void*));
#endif  // __cplusplus

// ---------------------------------------------------------------------------
// Layout checks (32-bit)

X2_ABI_ASSERT32(sizeof(X2RecordHeader) == 536);
X2_ABI_ASSERT32(offsetof(X2RecordHeader, version) == 0x000);
X2_ABI_ASSERT32(offsetof(X2RecordHeader, nextOffset) == 0x004);
X2_ABI_ASSERT32(offsetof(X2RecordHeader, reserved) == 0x006);
X2_ABI_ASSERT32(offsetof(X2RecordHeader, name) == 0x010);
X2_ABI_ASSERT32(offsetof(X2RecordHeader, maker) == 0x114);

X2_ABI_ASSERT32(sizeof(X2AIData) == 588);
X2_ABI_ASSERT32(offsetof(X2AIData, header) == 0x000);
X2_ABI_ASSERT32(offsetof(X2AIData, capabilities) == 0x218);
X2_ABI_ASSERT32(offsetof(X2AIData, BuildFlock) == 0x21C);
X2_ABI_ASSERT32(offsetof(X2AIData, Configure) == 0x220);
X2_ABI_ASSERT32(offsetof(X2AIData, GetDefaultParam) == 0x224);
X2_ABI_ASSERT32(offsetof(X2AIData, CountFish) == 0x228);
X2_ABI_ASSERT32(offsetof(X2AIData, CreateInstance) == 0x22C);
X2_ABI_ASSERT32(offsetof(X2AIData, NormaliseParameter) == 0x230);
X2_ABI_ASSERT32(offsetof(X2AIData, reserved1) == 0x234);
X2_ABI_ASSERT32(offsetof(X2AIData, dedicatedFish) == 0x23C);
X2_ABI_ASSERT32(offsetof(X2AIData, reserved2) == 0x240);

X2_ABI_ASSERT32(sizeof(X2FishData) == 656);
X2_ABI_ASSERT32(offsetof(X2FishData, header) == 0x000);
X2_ABI_ASSERT32(offsetof(X2FishData, latinName) == 0x218);
X2_ABI_ASSERT32(offsetof(X2FishData, defaultAI) == 0x21C);
X2_ABI_ASSERT32(offsetof(X2FishData, flags) == 0x220);
X2_ABI_ASSERT32(offsetof(X2FishData, modelCount) == 0x224);
X2_ABI_ASSERT32(offsetof(X2FishData, model) == 0x228);
X2_ABI_ASSERT32(offsetof(X2FishData, instanceCount) == 0x22C);
X2_ABI_ASSERT32(offsetof(X2FishData, PlaceInstance) == 0x230);
X2_ABI_ASSERT32(offsetof(X2FishData, collisionCapsules) == 0x234);
X2_ABI_ASSERT32(offsetof(X2FishData, footprint) == 0x238);
X2_ABI_ASSERT32(offsetof(X2FishData, rallyPoints) == 0x23C);
X2_ABI_ASSERT32(offsetof(X2FishData, reserved) == 0x240);

X2_ABI_ASSERT32(sizeof(X2FishModel) == 88);
X2_ABI_ASSERT32(offsetof(X2FishModel, textureCount) == 0x00);
X2_ABI_ASSERT32(offsetof(X2FishModel, textures) == 0x04);
X2_ABI_ASSERT32(offsetof(X2FishModel, textureFile) == 0x04);
X2_ABI_ASSERT32(offsetof(X2FishModel, scale) == 0x08);
X2_ABI_ASSERT32(offsetof(X2FishModel, baseMesh) == 0x0C);
X2_ABI_ASSERT32(offsetof(X2FishModel, hasSecondMesh) == 0x10);
X2_ABI_ASSERT32(offsetof(X2FishModel, secondMesh) == 0x14);
X2_ABI_ASSERT32(offsetof(X2FishModel, frameCount) == 0x18);
X2_ABI_ASSERT32(offsetof(X2FishModel, swimRate) == 0x1C);
X2_ABI_ASSERT32(offsetof(X2FishModel, swimBase) == 0x20);
X2_ABI_ASSERT32(offsetof(X2FishModel, swimMax) == 0x24);
X2_ABI_ASSERT32(offsetof(X2FishModel, frames) == 0x28);
X2_ABI_ASSERT32(offsetof(X2FishModel, pminfoMesh) == 0x2C);
X2_ABI_ASSERT32(offsetof(X2FishModel, partCount) == 0x30);
X2_ABI_ASSERT32(offsetof(X2FishModel, parts) == 0x34);
X2_ABI_ASSERT32(offsetof(X2FishModel, flags) == 0x38);
X2_ABI_ASSERT32(offsetof(X2FishModel, hasExtraTexture) == 0x3C);
X2_ABI_ASSERT32(offsetof(X2FishModel, reserved) == 0x40);

X2_ABI_ASSERT32(sizeof(X2FishMesh) == 36);
X2_ABI_ASSERT32(offsetof(X2FishMesh, vertexCount) == 0x00);
X2_ABI_ASSERT32(offsetof(X2FishMesh, vertices) == 0x04);
X2_ABI_ASSERT32(offsetof(X2FishMesh, primitiveCount) == 0x08);
X2_ABI_ASSERT32(offsetof(X2FishMesh, indices) == 0x0C);
X2_ABI_ASSERT32(offsetof(X2FishMesh, fvf) == 0x10);
X2_ABI_ASSERT32(offsetof(X2FishMesh, stride) == 0x14);
X2_ABI_ASSERT32(offsetof(X2FishMesh, attributeRanges) == 0x18);
X2_ABI_ASSERT32(offsetof(X2FishMesh, attributeRangeCount) == 0x1C);
X2_ABI_ASSERT32(offsetof(X2FishMesh, xBlock) == 0x20);

X2_ABI_ASSERT32(sizeof(X2FishTexture) == 8);
X2_ABI_ASSERT32(offsetof(X2FishTexture, data) == 0);
X2_ABI_ASSERT32(offsetof(X2FishTexture, size) == 4);

X2_ABI_ASSERT32(sizeof(X2AttributeRange) == 20);
X2_ABI_ASSERT32(sizeof(X2FarMesh) == 8);
X2_ABI_ASSERT32(offsetof(X2FarMesh, mesh) == 4);

X2_ABI_ASSERT32(sizeof(X2FishPart) == 32);
X2_ABI_ASSERT32(offsetof(X2FishPart, rangeA) == 0x00);
X2_ABI_ASSERT32(offsetof(X2FishPart, rangeB) == 0x04);
X2_ABI_ASSERT32(offsetof(X2FishPart, baseRange) == 0x08);
X2_ABI_ASSERT32(offsetof(X2FishPart, chanceB) == 0x0C);
X2_ABI_ASSERT32(offsetof(X2FishPart, chanceA) == 0x10);
X2_ABI_ASSERT32(offsetof(X2FishPart, blendRate) == 0x14);
X2_ABI_ASSERT32(offsetof(X2FishPart, value) == 0x18);
X2_ABI_ASSERT32(offsetof(X2FishPart, state) == 0x1C);

X2_ABI_ASSERT32(sizeof(X2Vec3) == 12);

// Host table: every named slot at its index, on any build.
#define X2_SLOT_AT(field, index) \
  X2_ABI_ASSERT(offsetof(X2HostCallbacks, field) == (index) * sizeof(void*))
X2_ABI_ASSERT(sizeof(X2HostCallbacks) == X2_HOST_SLOT_COUNT * sizeof(void*));
X2_ABI_ASSERT32(sizeof(X2HostCallbacks) == 1024);
X2_SLOT_AT(GetPosition, 0);
X2_SLOT_AT(GetPitch, 1);
X2_SLOT_AT(GetYaw, 2);
X2_SLOT_AT(GetRoll, 3);
X2_SLOT_AT(SetPosition, 4);
X2_SLOT_AT(SetPitch, 5);
X2_SLOT_AT(SetYaw, 6);
X2_SLOT_AT(SetRoll, 7);
X2_SLOT_AT(GetSpeed, 8);
X2_SLOT_AT(SetSpeed, 9);
X2_SLOT_AT(Random, 10);
X2_SLOT_AT(GetWorldMatrix, 11);
X2_SLOT_AT(GetRotationMatrix, 12);
X2_SLOT_AT(GetBlock104, 13);
X2_SLOT_AT(GetBlock124, 14);
X2_SLOT_AT(GetDirection, 16);
X2_SLOT_AT(GetAI, 17);
X2_SLOT_AT(SetAI, 18);
X2_SLOT_AT(GetScale, 19);
X2_SLOT_AT(SetScale, 20);
X2_SLOT_AT(GetSwimState, 21);
X2_SLOT_AT(SetSwimState, 22);
X2_SLOT_AT(GetSwimFactor, 23);
X2_SLOT_AT(SetUserFlag, 24);
X2_SLOT_AT(ClearUserFlag, 25);
X2_SLOT_AT(TestUserFlag, 26);
X2_SLOT_AT(SetDirection, 27);
X2_SLOT_AT(GetCameraSourceObject, 32);
X2_SLOT_AT(GetCameraTargetObject, 33);
X2_SLOT_AT(GetMouseRotation, 34);
X2_SLOT_AT(GetMouseButtons, 35);
X2_SLOT_AT(SetCameraOwnObject, 36);
X2_SLOT_AT(GetBodySize, 37);
X2_SLOT_AT(GetBoundsMin, 38);
X2_SLOT_AT(GetBoundsMax, 39);
X2_SLOT_AT(GetAuxBlock, 40);
X2_SLOT_AT(CreateDolphin, 64);
X2_SLOT_AT(SetDolphinParam, 66);
X2_SLOT_AT(FindFrameMatrix, 67);
X2_SLOT_AT(CreateFish, 80);
X2_SLOT_AT(RegisterObject, 81);
X2_SLOT_AT(SetHiddenFlag, 82);
X2_SLOT_AT(AddToBuildingFlock, 83);
X2_SLOT_AT(GetFlockMember, 84);
X2_SLOT_AT(GetFlockSize, 85);
X2_SLOT_AT(GetFlockNames, 86);
X2_SLOT_AT(GetFlockCount, 87);
X2_SLOT_AT(CreateRenderTexture, 88);
X2_SLOT_AT(SetCloneSource, 89);
X2_SLOT_AT(AddClone, 90);
X2_SLOT_AT(IsTwinfinTech, 91);
X2_SLOT_AT(HasCollisionServer, 96);
X2_SLOT_AT(GetCollisionForce, 97);
X2_SLOT_AT(GetWorldRange, 98);
X2_SLOT_AT(SetDriftWithCurrent, 99);
X2_SLOT_AT(GetCollisionForceEx, 100);
X2_SLOT_AT(HasTerrain, 112);
X2_SLOT_AT(GetTerrainHeight, 113);
X2_SLOT_AT(GetWanderTarget, 114);
X2_SLOT_AT(AddHaloAnchor, 128);
X2_SLOT_AT(LogPrint, 129);
X2_SLOT_AT(AddDebugLine, 130);
X2_SLOT_AT(PrintToPanel, 131);
X2_SLOT_AT(GetCameraPosition, 144);
#undef X2_SLOT_AT
