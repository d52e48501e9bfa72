#pragma once
// A strip, or a candidate strip of one experiment during the search.
#include <vector>

#include "StripTopology.h"

class C8StripInfo {
 public:
  C8StripInfo(const C8StripStart& start, int stripId, int experimentId)
      : start_(start), stripId_(stripId), experimentId_(experimentId) {}

  const C8StripStart& Start() const { return start_; }
  int StripId() const { return stripId_; }
  int ExperimentId() const { return experimentId_; }
  bool IsExperiment() const { return experimentId_ >= 0; }

  std::vector<C8StripFace*>& Faces() { return faces_; }
  const std::vector<C8StripFace*>& Faces() const { return faces_; }

  bool Visited() const { return visited_; }
  void SetVisited() { visited_ = true; }

  // Records on the face that this strip holds it.
  void Mark(C8StripFace* face) const;
  // The face is committed to some strip, or held by this strip's experiment.
  bool IsTaken(const C8StripFace* face) const;
  // The face belongs to this very strip.
  bool IsInStrip(const C8StripFace* face) const;
  // Turns a candidate into a committed strip and marks its faces.
  void Commit();

  // True when not all three vertices of face occur among the vertices of
  // the listed faces.
  static bool IsUnique(const std::vector<C8StripFace*>& faces, const C8StripFace* face);

 private:
  C8StripStart start_;
  std::vector<C8StripFace*> faces_;  // in strip order
  int stripId_;
  int experimentId_;                 // -1 = committed
  bool visited_ = false;
};
