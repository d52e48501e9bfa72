#include "C8StripInfo.h"

void C8StripInfo::Mark(C8StripFace* face) const {
  if (IsExperiment()) {
    face->experimentId = experimentId_;
    face->testStripId = stripId_;
  } else {
    face->experimentId = -1;
    face->stripId = stripId_;
  }
}

bool C8StripInfo::IsTaken(const C8StripFace* face) const {
  return face->stripId >= 0 || (IsExperiment() && face->experimentId == experimentId_);
}

bool C8StripInfo::IsInStrip(const C8StripFace* face) const {
  if (IsExperiment()) return face->testStripId == stripId_;
  return face->stripId == stripId_;
}

void C8StripInfo::Commit() {
  experimentId_ = -1;
  for (C8StripFace* face : faces_) Mark(face);
}

bool C8StripInfo::IsUnique(const std::vector<C8StripFace*>& faces, const C8StripFace* face) {
  bool seen[3] = {false, false, false};
  const int v[3] = {face->i0, face->i1, face->i2};
  for (const C8StripFace* f : faces) {
    for (int k = 0; k < 3; ++k) {
      if (!seen[k] && f->Contains(v[k])) seen[k] = true;
    }
    if (seen[0] && seen[1] && seen[2]) return false;
  }
  return true;
}
