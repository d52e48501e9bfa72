#pragma once
// Decoding of triangle strips as the device draws them, and comparison with
// the triangle list they came from.
#include <array>
#include <string>
#include <vector>

namespace striptest {

using Triangle = std::array<int, 3>;

// The same oriented triangle starting at its smallest index.
Triangle Canonical(Triangle t);

struct DecodedStrip {
  std::vector<Triangle> triangles;  // drawn triangles, in drawing winding
  std::vector<int> runs;            // lengths of the runs of drawn triangles
};

// Triangle k of the strip is (s[k], s[k+1], s[k+2]), reversed when k is odd;
// a triangle with a repeated index draws nothing and ends a run.
DecodedStrip DecodeStrip(const std::vector<int>& strip);

// The oriented triangles a list stands for: exact duplicates and triangles
// with a repeated index left out, each in canonical form, sorted.
std::vector<Triangle> ExpectedTriangles(const std::vector<int>& list);

// Empty when the decoded strip draws exactly `expected` (a multiset); else a
// description of the first differences.
std::string CompareTriangles(const std::vector<Triangle>& expected,
                             const std::vector<Triangle>& drawn);

}  // namespace striptest
