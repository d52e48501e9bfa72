#include "X5Animation.h"

#include <cmath>
#include <cstring>

namespace {

D3DXVECTOR3 Lerp(const D3DXVECTOR3& a, const D3DXVECTOR3& b, float f) { return a + (b - a) * f; }

size_t Wrap(long long i, size_t count) {
  const long long n = static_cast<long long>(count);
  return static_cast<size_t>(((i % n) + n) % n);
}

}  // namespace

double LoopTick(double tick, uint32_t lastTime) {
  if (lastTime == 0 || !std::isfinite(tick)) return 0.0;
  return std::fmod(tick, static_cast<double>(lastTime));
}

bool SampleAnimation(const X5Frame& node, double tick) {
  X5Frame* target = node.targetFrame;
  if (!target) return false;
  if (!node.matrixKeys.empty()) {
    const X5KeySpan s = FindKeySpan(node.matrixKeys, tick);
    target->localMatrix = node.matrixKeys[s.fraction > 0.5f ? s.later : s.earlier].value;
    return true;
  }
  if (node.scaleKeys.empty() && node.rotationKeys.empty() && node.positionKeys.empty()) return false;

  D3DXMATRIX m, step;
  D3DXMatrixIdentity(&m);
  if (!node.scaleKeys.empty()) {
    const X5KeySpan s = FindKeySpan(node.scaleKeys, tick);
    const D3DXVECTOR3 v = Lerp(node.scaleKeys[s.earlier].value, node.scaleKeys[s.later].value, s.fraction);
    m *= *D3DXMatrixScaling(&step, v.x, v.y, v.z);
  }
  if (!node.rotationKeys.empty()) {
    const auto& keys = node.rotationKeys;
    const X5KeySpan s = FindKeySpan(keys, tick);
    const D3DXQUATERNION& q0 = keys[Wrap(static_cast<long long>(s.earlier) - 1, keys.size())].value;
    const D3DXQUATERNION& q1 = keys[s.earlier].value;
    const D3DXQUATERNION& q2 = keys[s.later].value;
    const D3DXQUATERNION& q3 = keys[Wrap(static_cast<long long>(s.later) + 1, keys.size())].value;
    D3DXQUATERNION a, b, c, q;
    D3DXQuaternionSquadSetup(&a, &b, &c, &q0, &q1, &q2, &q3);
    D3DXQuaternionSquad(&q, &q1, &a, &b, &c, s.fraction);
    // The file's rotations turn the other way round from the matrix maker's.
    q.w = -q.w;
    m *= *D3DXMatrixRotationQuaternion(&step, &q);
  }
  if (!node.positionKeys.empty()) {
    const X5KeySpan s = FindKeySpan(node.positionKeys, tick);
    const D3DXVECTOR3 v = Lerp(node.positionKeys[s.earlier].value, node.positionKeys[s.later].value, s.fraction);
    m *= *D3DXMatrixTranslation(&step, v.x, v.y, v.z);
  } else {
    const D3DXMATRIX& rest = target->restMatrix;
    m *= *D3DXMatrixTranslation(&step, rest._41, rest._42, rest._43);
  }
  target->localMatrix = m;
  return true;
}

namespace {

// Reads 32-bit words from the locked data, refusing to run past its end.
class WordReader {
 public:
  WordReader(const void* data, size_t size) : data_(static_cast<const unsigned char*>(data)), size_(size) {}
  bool Read(uint32_t* out) { return ReadBytes(out, 4); }
  bool Read(float* out, size_t count) { return ReadBytes(out, count * 4); }

 private:
  bool ReadBytes(void* out, size_t bytes) {
    if (!data_ || size_ - offset_ < bytes || offset_ > size_) return false;
    std::memcpy(out, data_ + offset_, bytes);
    offset_ += bytes;
    return true;
  }
  const unsigned char* data_;
  size_t size_;
  size_t offset_ = 0;
};

enum KeyType : uint32_t { kRotation = 0, kScale = 1, kPosition = 2, kMatrix = 4 };

}  // namespace

HRESULT ReadAnimationKey(const void* data, size_t size, X5Frame* node) {
  WordReader in(data, size);
  uint32_t type = 0, count = 0;
  if (!in.Read(&type) || !in.Read(&count)) return E_INVALIDARG;
  size_t values = 0;
  bool present = false;
  switch (type) {
    case kRotation: values = 4; present = !node->rotationKeys.empty(); break;
    case kScale: values = 3; present = !node->scaleKeys.empty(); break;
    case kPosition: values = 3; present = !node->positionKeys.empty(); break;
    case kMatrix: values = 16; present = !node->matrixKeys.empty(); break;
    default: return E_INVALIDARG;
  }
  if (present) return E_INVALIDARG;
  // Each key takes at least two words: a count past the data is refused
  // before anything is reserved for it.
  if (count > size / 8) return E_INVALIDARG;
  // Read whole before the node takes them.
  X5Frame read;
  for (uint32_t k = 0; k < count; ++k) {
    uint32_t time = 0, n = 0;
    float v[16];
    if (!in.Read(&time) || !in.Read(&n) || n != values || !in.Read(v, values)) return E_INVALIDARG;
    switch (type) {
      case kRotation: read.rotationKeys.push_back({time, D3DXQUATERNION(v[1], v[2], v[3], v[0])}); break;
      case kScale: read.scaleKeys.push_back({time, D3DXVECTOR3(v[0], v[1], v[2])}); break;
      case kPosition: read.positionKeys.push_back({time, D3DXVECTOR3(v[0], v[1], v[2])}); break;
      default: read.matrixKeys.push_back({time, D3DXMATRIX(v)}); break;
    }
  }
  switch (type) {
    case kRotation: node->rotationKeys.swap(read.rotationKeys); break;
    case kScale: node->scaleKeys.swap(read.scaleKeys); break;
    case kPosition: node->positionKeys.swap(read.positionKeys); break;
    default: node->matrixKeys.swap(read.matrixKeys); break;
  }
  return 0;
}
