#pragma once
// Faces, edges and start points that the strip builder works on.

// One input triangle, indices in input order.
struct C8StripFace {
  int i0, i1, i2;
  int order;              // position of the triangle in the input list
  int stripId = -1;       // committed strip, -1 = none
  int testStripId = -1;   // candidate strip of the current experiment
  int experimentId = -1;  // experiment that last marked the face

  C8StripFace(int a, int b, int c, int n = 0) : i0(a), i1(b), i2(c), order(n) {}

  bool Contains(int v) const { return v == i0 || v == i1 || v == i2; }
  // True when the face runs from x to y along one of its edges, that is
  // when y follows x in the stored order.
  bool HasDirectedEdge(int x, int y) const {
    return (i0 == x && i1 == y) || (i1 == x && i2 == y) || (i2 == x && i0 == y);
  }
};

// One undirected edge, chained into the edge lists of both its vertices.
struct C8StripEdge {
  C8StripFace* face0 = nullptr;
  C8StripFace* face1 = nullptr;  // null until a second triangle uses the edge
  int i0, i1;                    // in the order the edge was first seen
  C8StripEdge* nextI0 = nullptr; // next edge in i0's list
  C8StripEdge* nextI1 = nullptr; // next edge in i1's list

  C8StripEdge(int a, int b) : i0(a), i1(b) {}

  bool Joins(int a, int b) const { return (i0 == a && i1 == b) || (i0 == b && i1 == a); }
  // Next edge in the list of vertex v (one of the edge's two vertices).
  C8StripEdge* NextAt(int v) const { return v == i0 ? nextI0 : nextI1; }
  // The face across this edge from face.
  C8StripFace* OtherFace(const C8StripFace* face) const {
    return face0 == face ? face1 : face0;
  }
};

// Where a strip begins: its first face, the edge it leaves from and the
// direction along that edge (true = from the edge's i0 towards its i1).
struct C8StripStart {
  C8StripFace* face = nullptr;
  C8StripEdge* edge = nullptr;
  bool toI1 = false;

  C8StripStart() = default;
  C8StripStart(C8StripFace* f, C8StripEdge* e, bool d) : face(f), edge(e), toI1(d) {}
};
