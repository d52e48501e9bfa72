#pragma once
// The AI record of a test plug-in: a camera or flock AI whose default
// parameter is empty; the caller fills in the entry points it has.
#include <cstring>

#include "X2PluginAbi.h"

namespace qvfixture {

inline int X2_CDECL EmptyDefaultParam(int, char* out, int outSize, X2HostCallbacks*, int) {
  if (out && outSize > 0) out[0] = '\0';
  return 0;
}

inline X2AIData AIRecord(const char* name, uint32_t capabilities) {
  X2AIData r = {};
  r.header.version = X2_VERSION_AI;
  std::strncpy(r.header.name, name, sizeof r.header.name - 1);
  std::strncpy(r.header.maker, "QvTest", sizeof r.header.maker - 1);
  r.capabilities = capabilities;
  r.GetDefaultParam = EmptyDefaultParam;
  return r;
}

inline X2AIData CameraRecord(const char* name, uint32_t capabilities, X2CreateInstanceFn create) {
  X2AIData r = AIRecord(name, capabilities);
  r.CreateInstance = create;
  return r;
}

inline X2AIData FlockRecord(const char* name, X2BuildFlockFn build, X2CountFishFn count) {
  X2AIData r = AIRecord(name, X2_AI_FLOCK);
  r.BuildFlock = build;
  r.CountFish = count;
  return r;
}

}  // namespace qvfixture
