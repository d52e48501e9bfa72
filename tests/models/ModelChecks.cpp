#include "ModelChecks.h"

#include <zlib.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cmath>
#include <cstring>

namespace qvspecies {

namespace {

std::string Fmt(const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  vsnprintf(buffer, sizeof(buffer), format, args);
  va_end(args);
  return buffer;
}

const float* VertexAt(const X2FishMesh& mesh, uint32_t i) {
  return reinterpret_cast<const float*>(static_cast<const uint8_t*>(mesh.vertices) +
                                        size_t(i) * mesh.stride);
}

uint32_t Read32(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
         uint32_t(b[at + 3]) << 24;
}

}  // namespace

void CheckMesh(const X2FishMesh* mesh, uint32_t fvf, const std::string& what, Problems* out) {
  if (!mesh) {
    out->push_back(what + ": no mesh");
    return;
  }
  const uint32_t stride = fvf == X2_FVF_VERTEX ? 32 : 24;
  if (mesh->fvf != fvf || mesh->stride != stride)
    out->push_back(Fmt("%s: layout 0x%X/%u, expected 0x%X/%u", what.c_str(), mesh->fvf,
                       mesh->stride, fvf, stride));
  if (mesh->xBlock) out->push_back(what + ": unexpected X block");
  if (!mesh->vertices || !mesh->indices || mesh->vertexCount == 0 || mesh->primitiveCount == 0) {
    out->push_back(what + ": empty mesh");
    return;
  }
  if (mesh->vertexCount > 65536) out->push_back(what + ": too many vertices for 16-bit indices");
  for (uint32_t i = 0; i < mesh->vertexCount; ++i) {
    const float* v = VertexAt(*mesh, i);
    for (uint32_t k = 0; k < stride / 4; ++k)
      if (!std::isfinite(v[k])) {
        out->push_back(Fmt("%s: vertex %u not finite", what.c_str(), i));
        i = mesh->vertexCount;
        break;
      }
  }
  for (uint32_t i = 0; i < mesh->primitiveCount * 3; ++i)
    if (mesh->indices[i] >= mesh->vertexCount) {
      out->push_back(Fmt("%s: index %u = %u out of range", what.c_str(), i, mesh->indices[i]));
      break;
    }
  if (!mesh->attributeRanges || mesh->attributeRangeCount == 0) {
    out->push_back(what + ": no attribute ranges");
    return;
  }
  std::vector<X2AttributeRange> ranges(mesh->attributeRanges,
                                       mesh->attributeRanges + mesh->attributeRangeCount);
  for (uint32_t i = 0; i < ranges.size(); ++i)
    if (ranges[i].attribId != i)
      out->push_back(Fmt("%s: range %u has attribute id %u", what.c_str(), i, ranges[i].attribId));
  auto byFace = ranges;
  std::sort(byFace.begin(), byFace.end(),
            [](const X2AttributeRange& a, const X2AttributeRange& b) { return a.faceStart < b.faceStart; });
  uint32_t next = 0;
  for (const auto& r : byFace) {
    if (r.faceStart != next) out->push_back(Fmt("%s: face ranges not contiguous at %u", what.c_str(), next));
    next = r.faceStart + r.faceCount;
  }
  if (next != mesh->primitiveCount)
    out->push_back(Fmt("%s: face ranges sum to %u of %u", what.c_str(), next, mesh->primitiveCount));
  auto byVertex = ranges;
  std::sort(byVertex.begin(), byVertex.end(), [](const X2AttributeRange& a, const X2AttributeRange& b) {
    return a.vertexStart < b.vertexStart;
  });
  next = 0;
  for (const auto& r : byVertex) {
    if (r.vertexStart != next)
      out->push_back(Fmt("%s: vertex ranges not contiguous at %u", what.c_str(), next));
    next = r.vertexStart + r.vertexCount;
  }
  if (next != mesh->vertexCount)
    out->push_back(Fmt("%s: vertex ranges sum to %u of %u", what.c_str(), next, mesh->vertexCount));
  for (const auto& r : ranges) {
    for (uint32_t f = r.faceStart; f < r.faceStart + r.faceCount && f < mesh->primitiveCount; ++f)
      for (int k = 0; k < 3; ++k) {
        const uint32_t idx = mesh->indices[f * 3 + k];
        if (idx < r.vertexStart || idx >= r.vertexStart + r.vertexCount) {
          out->push_back(Fmt("%s: face %u of range %u uses vertex %u outside it", what.c_str(), f,
                             r.attribId, idx));
          f = r.faceStart + r.faceCount;
          break;
        }
      }
  }
}

void CheckFrames(const X2FishModel& model, const std::string& what, Problems* out) {
  if (model.frameCount && !model.frames) {
    out->push_back(what + ": frame count without frames");
    return;
  }
  const X2FishMesh* base = model.baseMesh;
  for (uint32_t i = 0; i < model.frameCount; ++i) {
    const std::string name = Fmt("%s frame %u", what.c_str(), i);
    const X2FishMesh* frame = model.frames[i];
    CheckMesh(frame, X2_FVF_MORPH, name, out);
    if (!frame || !base) continue;
    if (frame->vertexCount != base->vertexCount)
      out->push_back(Fmt("%s: %u vertices, base has %u", name.c_str(), frame->vertexCount,
                         base->vertexCount));
    if (frame->primitiveCount != base->primitiveCount || frame->attributeRangeCount != base->attributeRangeCount)
      out->push_back(name + ": faces or ranges differ from the base mesh");
    else if (frame->attributeRanges && base->attributeRanges &&
             std::memcmp(frame->attributeRanges, base->attributeRanges,
                         sizeof(X2AttributeRange) * base->attributeRangeCount) != 0)
      out->push_back(name + ": range table differs from the base mesh");
  }
}

int CountChangedVertices(const X2FishMesh& base, const X2AttributeRange& baseRange,
                         const X2FishMesh& pminfo, const X2AttributeRange& pose) {
  int changed = 0;
  for (uint32_t k = 0; k < baseRange.vertexCount && k < pose.vertexCount; ++k) {
    const float* b = VertexAt(base, baseRange.vertexStart + k);
    const float* p = VertexAt(pminfo, pose.vertexStart + k);
    if (b[0] != p[0] || b[1] != p[1] || b[2] != p[2]) ++changed;
  }
  return changed;
}

void CheckParts(const X2FishModel& model, const std::string& what, Problems* out) {
  if (model.partCount == 0) return;
  if (!model.parts || !model.pminfoMesh) {
    out->push_back(what + ": parts without a partial-morph mesh");
    return;
  }
  if (model.partCount > 20) out->push_back(what + ": more than 20 parts");
  CheckMesh(model.pminfoMesh, X2_FVF_MORPH, what + " partial morph", out);
  const X2FishMesh& base = *model.baseMesh;
  const X2FishMesh& pm = *model.pminfoMesh;
  for (uint32_t i = 0; i < model.partCount; ++i) {
    const X2FishPart& part = model.parts[i];
    const std::string name = Fmt("%s part %u", what.c_str(), i);
    if (part.rangeA >= pm.attributeRangeCount || part.rangeB >= pm.attributeRangeCount ||
        part.baseRange >= base.attributeRangeCount || part.baseRange >= 20) {
      out->push_back(name + ": range index out of bounds");
      continue;
    }
    const X2AttributeRange& b = base.attributeRanges[part.baseRange];
    const X2AttributeRange& a = pm.attributeRanges[part.rangeA];
    const X2AttributeRange& c = pm.attributeRanges[part.rangeB];
    if (a.vertexCount != b.vertexCount || c.vertexCount != b.vertexCount) {
      out->push_back(Fmt("%s: pose ranges %u/%u vertices, base range %u", name.c_str(), a.vertexCount,
                         c.vertexCount, b.vertexCount));
      continue;
    }
    // A vertex counts as animated when either pose moves it.
    int moved = 0;
    for (uint32_t k = 0; k < b.vertexCount; ++k) {
      const float* bv = VertexAt(base, b.vertexStart + k);
      const float* av = VertexAt(pm, a.vertexStart + k);
      const float* cv = VertexAt(pm, c.vertexStart + k);
      bool differs = false;
      for (int j = 0; j < 3; ++j) differs |= bv[j] != av[j] || bv[j] != cv[j];
      moved += differs;
    }
    if (moved == 0) out->push_back(name + ": the poses move nothing");
    if (moved > 150) out->push_back(Fmt("%s: %d vertices move, more than 150", name.c_str(), moved));
    if (part.state < 0 || part.state > 2) out->push_back(name + ": bad starting state");
  }
}

bool Inflate(const X2FishTexture& texture, size_t expectedSize, std::vector<uint8_t>* out,
             const std::string& what, Problems* problems) {
  const auto* data = static_cast<const uint8_t*>(texture.data);
  if (!data || texture.size < 2) {
    problems->push_back(what + ": no data");
    return false;
  }
  if (data[0] != 0x78 || data[1] != 0x9C) {
    problems->push_back(Fmt("%s: stream starts %02X %02X", what.c_str(), data[0], data[1]));
    return false;
  }
  out->assign(expectedSize + 16, 0);
  uLongf size = uLongf(out->size());
  const int rc = uncompress(out->data(), &size, data, texture.size);
  if (rc != Z_OK) {
    problems->push_back(Fmt("%s: inflate failed (%d)", what.c_str(), rc));
    return false;
  }
  out->resize(size);
  if (size != expectedSize) {
    problems->push_back(Fmt("%s: inflates to %lu bytes, expected %zu", what.c_str(),
                            static_cast<unsigned long>(size), expectedSize));
    return false;
  }
  return true;
}

size_t ImageFileSize(const std::string& kind, uint32_t width, uint32_t height) {
  const size_t blocks = size_t((width + 3) / 4) * ((height + 3) / 4);
  if (kind == "DXT1") return 128 + blocks * 8;
  if (kind == "DXT2") return 128 + blocks * 16;
  if (kind == "TGA24") return 18 + size_t(width) * height * 3;
  return 0;
}

ImageInfo ReadImageHeader(const std::vector<uint8_t>& file, const std::string& what, Problems* out) {
  ImageInfo info;
  if (file.size() >= 128 && std::memcmp(file.data(), "DDS ", 4) == 0) {
    if (Read32(file, 4) != 124 || Read32(file, 76) != 32 || !(Read32(file, 80) & 0x4)) {
      out->push_back(what + ": malformed DDS header");
      return info;
    }
    info.height = Read32(file, 12);
    info.width = Read32(file, 16);
    info.mipCount = Read32(file, 28);
    const std::string fourcc(reinterpret_cast<const char*>(&file[84]), 4);
    if (fourcc != "DXT1" && fourcc != "DXT2") {
      out->push_back(what + ": unexpected format " + fourcc);
      return info;
    }
    info.kind = fourcc;
    const size_t blockBytes = fourcc == "DXT1" ? 8 : 16;
    const size_t linear = size_t(info.width / 4) * (info.height / 4) * blockBytes;
    if (Read32(file, 20) != linear) out->push_back(what + ": wrong linear size");
    if (!(Read32(file, 108) & 0x1000)) out->push_back(what + ": texture caps missing");
    if (file.size() != ImageFileSize(info.kind, info.width, info.height))
      out->push_back(what + ": DDS size does not match its header");
    return info;
  }
  if (file.size() >= 18 && file[2] == 2 && file[16] == 24) {
    info.kind = "TGA24";
    info.width = file[12] | file[13] << 8;
    info.height = file[14] | file[15] << 8;
    info.mipCount = 1;
    if (file.size() != ImageFileSize(info.kind, info.width, info.height) + file[0])
      out->push_back(what + ": TGA size does not match its header");
    return info;
  }
  out->push_back(what + ": neither DDS nor 24-bit TGA");
  return info;
}

}  // namespace qvspecies
