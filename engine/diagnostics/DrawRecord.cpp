#include "DrawRecord.h"

#include <sstream>

namespace {

const char kHeader[] = "draw record 1";

bool Fail(std::string* error, int line, const std::string& what) {
  if (error) *error = "line " + std::to_string(line) + ": " + what;
  return false;
}

bool ReadFlag(std::istringstream& in, bool* out) {
  int v = -1;
  if (!(in >> v) || (v != 0 && v != 1)) return false;
  *out = v == 1;
  return true;
}

bool ReadHex(std::istringstream& in, DWORD* out) {
  unsigned long v = 0;
  if (!(in >> std::hex >> v >> std::dec) || v > 0xFFFFFFFFul) return false;
  *out = static_cast<DWORD>(v);
  return true;
}

// Nothing but blanks may follow the last field.
bool AtEnd(std::istringstream& in) {
  std::string rest;
  return !(in >> rest);
}

}  // namespace

size_t DrawRecord::DrawCount() const {
  size_t n = 0;
  for (const DrawRecordEvent& e : events) n += e.kind == DrawRecordEvent::kDraw;
  return n;
}

unsigned long long DrawRecord::PrimitiveCount() const {
  unsigned long long n = 0;
  for (const DrawRecordEvent& e : events)
    if (e.kind == DrawRecordEvent::kDraw) n += e.primitives;
  return n;
}

UINT VerticesForPrimitives(D3DPRIMITIVETYPE type, UINT primitives) {
  if (primitives == 0) return 0;
  switch (type) {
    case D3DPT_POINTLIST:
      return primitives;
    case D3DPT_LINELIST:
      return 2 * primitives;
    case D3DPT_LINESTRIP:
      return primitives + 1;
    case D3DPT_TRIANGLELIST:
      return 3 * primitives;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN:
      return primitives + 2;
    default:
      return 0;
  }
}

std::string FormatDrawRecord(const DrawRecord& record) {
  std::ostringstream out;
  out << kHeader << "\n";
  for (const DrawRecordTarget& t : record.targets)
    out << "target " << t.width << ' ' << t.height << ' ' << static_cast<unsigned>(t.format) << ' '
        << static_cast<unsigned>(t.depthFormat) << ' ' << (t.backBuffer ? 1 : 0) << "\n";
  for (const DrawRecordEvent& e : record.events) {
    if (e.kind == DrawRecordEvent::kClear) {
      out << "clear " << e.target << ' ' << std::hex << e.clearFlags << std::dec << "\n";
      continue;
    }
    out << "draw " << e.target << ' ' << static_cast<int>(e.type) << ' ' << e.primitives << ' ' << e.vertices << ' '
        << e.indexBytes << ' ' << e.stride << ' ' << std::hex << e.vertexShader << ' ' << e.pixelShader << std::dec
        << ' ' << e.textures << ' ' << (e.alphaBlend ? 1 : 0) << ' ' << (e.depthTest ? 1 : 0) << ' ' << e.pixels
        << "\n";
  }
  out << "end " << record.DrawCount() << ' ' << record.PrimitiveCount() << "\n";
  return out.str();
}

bool ParseDrawRecord(const std::string& text, DrawRecord* out, std::string* error) {
  *out = DrawRecord();
  DrawRecord record;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  bool header = false, ended = false;
  while (std::getline(lines, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (ended) return Fail(error, number, "text after the end line");
    if (!header) {
      if (line != kHeader) return Fail(error, number, "not a draw record");
      header = true;
      continue;
    }
    std::istringstream in(line);
    std::string word;
    in >> word;
    if (word == "target") {
      if (!record.events.empty()) return Fail(error, number, "target after the first draw or clear");
      DrawRecordTarget t;
      unsigned format = 0, depth = 0;
      if (!(in >> t.width >> t.height >> format >> depth) || !ReadFlag(in, &t.backBuffer) || !AtEnd(in))
        return Fail(error, number, "bad target line");
      if (t.width == 0 || t.height == 0 || t.width > kDrawRecordMaxTargetSize || t.height > kDrawRecordMaxTargetSize)
        return Fail(error, number, "target size out of range");
      t.format = static_cast<D3DFORMAT>(format);
      t.depthFormat = static_cast<D3DFORMAT>(depth);
      record.targets.push_back(t);
    } else if (word == "clear" || word == "draw") {
      DrawRecordEvent e;
      if (!(in >> e.target)) return Fail(error, number, "bad " + word + " line");
      if (e.target < 0 || e.target >= static_cast<int>(record.targets.size()))
        return Fail(error, number, "unknown target " + std::to_string(e.target));
      if (word == "clear") {
        e.kind = DrawRecordEvent::kClear;
        if (!ReadHex(in, &e.clearFlags) || !AtEnd(in)) return Fail(error, number, "bad clear line");
      } else {
        int type = 0;
        if (!(in >> type >> e.primitives >> e.vertices >> e.indexBytes >> e.stride) ||
            !ReadHex(in, &e.vertexShader) || !ReadHex(in, &e.pixelShader) || !(in >> e.textures) ||
            !ReadFlag(in, &e.alphaBlend) || !ReadFlag(in, &e.depthTest) || !(in >> e.pixels) || !AtEnd(in))
          return Fail(error, number, "bad draw line");
        e.type = static_cast<D3DPRIMITIVETYPE>(type);
        if (type < D3DPT_POINTLIST || type > D3DPT_TRIANGLEFAN) return Fail(error, number, "unknown primitive type");
        if (e.primitives == 0 || e.primitives > kDrawRecordMaxPrimitives)
          return Fail(error, number, "primitive count out of range");
        if (e.vertices == 0 || e.vertices > kDrawRecordMaxVertices)
          return Fail(error, number, "vertex count out of range");
        if (e.indexBytes != 0 && e.indexBytes != 2 && e.indexBytes != 4)
          return Fail(error, number, "index size must be 0, 2 or 4");
        if (e.stride > 255) return Fail(error, number, "stride out of range");
        if (e.textures > 8) return Fail(error, number, "more than 8 textures");
        if (e.pixels < -1) return Fail(error, number, "negative pixel count");
      }
      record.events.push_back(e);
    } else if (word == "end") {
      unsigned long long draws = 0, primitives = 0;
      if (!(in >> draws >> primitives) || !AtEnd(in)) return Fail(error, number, "bad end line");
      if (draws != record.DrawCount() || primitives != record.PrimitiveCount())
        return Fail(error, number, "the totals do not match the draws listed");
      ended = true;
    } else {
      return Fail(error, number, "unknown item '" + word + "'");
    }
  }
  if (!header) return Fail(error, number, "empty");
  if (!ended) return Fail(error, number, "no end line: the record is cut short");
  *out = std::move(record);
  return true;
}
