// The strip search: start points, experiments and their scoring.
#include <algorithm>

#include "C8Stripifier.h"

// The first face with at least two open edges (no face across them), or -1.
int C8Stripifier::FindStartPoint() const {
  for (size_t k = 0; k < faces_.size(); ++k) {
    const C8StripFace& face = faces_[k];
    int open = 0;
    if (!FaceAcross(&face, face.i0, face.i1)) ++open;
    if (!FaceAcross(&face, face.i1, face.i2)) ++open;
    if (!FaceAcross(&face, face.i2, face.i0)) ++open;
    if (open >= 2) return static_cast<int>(k);
  }
  return -1;
}

// The next face in no committed strip, searched from a point that jumps
// through the face list from call to call; null when every face is taken.
C8StripFace* C8Stripifier::NextResetPoint() {
  const int count = static_cast<int>(faces_.size());
  if (count == 0) return nullptr;

  int start = -1;
  if (firstReset_) {
    firstReset_ = false;
    start = FindStartPoint();
  }
  if (start < 0) {
    start = static_cast<int>(static_cast<float>(count - 1) * meshJump_);
    start = std::min(std::max(start, 0), count - 1);
  }
  meshJump_ += 0.1f;
  if (meshJump_ > 1.0f) meshJump_ = 0.05f;

  for (int k = 0; k < count; ++k) {
    C8StripFace& face = faces_[(start + k) % count];
    if (face.stripId < 0) return &face;
  }
  return nullptr;
}

// Where the experiment of strip `last` goes on: an untaken face on an edge
// at the vertex the strip started from.
bool C8Stripifier::FindTraversal(const C8StripInfo& last, C8StripStart& next) const {
  const C8StripEdge* startEdge = last.Start().edge;
  const int v = last.Start().toI1 ? startEdge->i1 : startEdge->i0;
  if (v < 0 || static_cast<size_t>(v) >= edgeLists_.size()) return false;

  for (C8StripEdge* edge = edgeLists_[v]; edge; edge = edge->NextAt(v)) {
    C8StripFace* untouched = nullptr;
    if (edge->face0 && !last.IsInStrip(edge->face0) && edge->face1 &&
        !last.IsTaken(edge->face1)) {
      untouched = edge->face1;
    } else if (edge->face1 && !last.IsInStrip(edge->face1) && edge->face0 &&
               !last.IsTaken(edge->face0)) {
      untouched = edge->face0;
    }
    if (!untouched) continue;

    const bool toI1 = SharesEdge(untouched, last) ? edge->i0 == v : edge->i1 == v;
    next = C8StripStart(untouched, edge, toI1);
    return true;
  }
  return false;
}

// Cycle after cycle: up to numSamples start faces, six experiments on each
// (three edges, two directions), each experiment a chain of strips; the
// experiment with the best score is committed.
void C8Stripifier::FindAllStrips(int numSamples) {
  bool done = false;
  while (!done) {
    std::vector<Experiment> experiments;
    std::vector<const C8StripFace*> tried;

    for (int sample = 0; sample < numSamples; ++sample) {
      C8StripFace* face = NextResetPoint();
      if (!face) {
        done = true;
        break;
      }
      if (std::find(tried.begin(), tried.end(), face) != tried.end()) continue;
      tried.push_back(face);

      const int edgeEnds[3][2] = {
          {face->i0, face->i1}, {face->i1, face->i2}, {face->i2, face->i0}};
      for (const auto& ends : edgeEnds) {
        C8StripEdge* edge = FindEdge(ends[0], ends[1]);
        for (bool toI1 : {true, false}) {
          Experiment experiment;
          experiment.push_back(std::make_unique<C8StripInfo>(
              C8StripStart(face, edge, toI1), nextStripId_++, nextExperimentId_++));
          experiments.push_back(std::move(experiment));
        }
      }
    }
    if (experiments.empty()) break;

    for (Experiment& experiment : experiments) {
      BuildStrip(*experiment.front());
      const int experimentId = experiment.front()->ExperimentId();
      C8StripStart next;
      while (FindTraversal(*experiment.back(), next)) {
        experiment.push_back(std::make_unique<C8StripInfo>(next, nextStripId_++, experimentId));
        BuildStrip(*experiment.back());
      }
    }

    // Score: average faces per strip A, strips N: A + N * A.
    float bestScore = 0.0f;
    size_t best = 0;
    for (size_t k = 0; k < experiments.size(); ++k) {
      size_t faces = 0;
      for (const auto& strip : experiments[k]) faces += strip->Faces().size();
      const float strips = static_cast<float>(experiments[k].size());
      const float average = static_cast<float>(faces) / strips;
      const float score = average + strips * average;
      if (score > bestScore) {
        bestScore = score;
        best = k;
      }
    }

    for (auto& strip : experiments[best]) {
      strip->Commit();
      strips_.push_back(std::move(strip));
    }
  }
}
