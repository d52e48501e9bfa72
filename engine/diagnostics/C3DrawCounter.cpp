#include "C3DrawCounter.h"

#include <cstdio>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "Diagnostics.h"
#include "DrawRecord.h"
#include "util/ComRelease.h"

const char* const kDrawRecordPath = "c:\\log\\framedraws.txt";

C3DrawCounter::Totals C3DrawCounter::counted_;

namespace {

// The frame being recorded: its device, the render-target pairs met so far
// and the shader versions already read.
struct Recording {
  IDirect3DDevice9* device = nullptr;
  IDirect3DQuery9* occlusion = nullptr;  // null when the device has none
  std::vector<std::pair<IDirect3DSurface9*, IDirect3DSurface9*>> targetKeys;
  std::map<const void*, DWORD> shaderVersions;
  DrawRecord record;

  ~Recording() { SafeRelease(occlusion); }
};

bool g_requested = false;
std::unique_ptr<Recording> g_recording;

// How long a draw's pixel count may take; after one that takes longer the
// rest of the frame goes unmeasured.
constexpr DWORD kOcclusionWaitMs = 5000;

template <typename Shader>
DWORD ShaderVersion(Recording& r, Shader* shader) {
  if (!shader) return 0;
  auto found = r.shaderVersions.find(shader);
  if (found != r.shaderVersions.end()) return found->second;
  DWORD version = 0;
  UINT size = 0;
  if (SUCCEEDED(shader->GetFunction(nullptr, &size)) && size >= sizeof(DWORD)) {
    std::vector<DWORD> code((size + sizeof(DWORD) - 1) / sizeof(DWORD));
    if (SUCCEEDED(shader->GetFunction(code.data(), &size))) version = code[0];
  }
  r.shaderVersions[shader] = version;
  return version;
}

// The index of the render target and depth surface now bound, added to the
// record's list when new.
int CurrentTarget(Recording& r) {
  IDirect3DSurface9* colour = nullptr;
  IDirect3DSurface9* depth = nullptr;
  r.device->GetRenderTarget(0, &colour);
  r.device->GetDepthStencilSurface(&depth);
  const std::pair<IDirect3DSurface9*, IDirect3DSurface9*> key(colour, depth);
  int index = -1;
  for (size_t i = 0; i < r.targetKeys.size(); ++i)
    if (r.targetKeys[i] == key) index = static_cast<int>(i);
  if (index < 0) {
    DrawRecordTarget t;
    D3DSURFACE_DESC desc{};
    if (colour && SUCCEEDED(colour->GetDesc(&desc))) {
      t.width = desc.Width;
      t.height = desc.Height;
      t.format = desc.Format;
    }
    if (depth && SUCCEEDED(depth->GetDesc(&desc))) t.depthFormat = desc.Format;
    IDirect3DSurface9* back = nullptr;
    if (SUCCEEDED(r.device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) {
      t.backBuffer = back == colour;
      back->Release();
    }
    index = static_cast<int>(r.targetKeys.size());
    r.targetKeys.push_back(key);
    r.record.targets.push_back(t);
  }
  SafeRelease(colour);
  SafeRelease(depth);
  return index;
}

// The state a draw is issued with; the pixel count is filled in after it.
DrawRecordEvent DrawState(Recording& r, D3DPRIMITIVETYPE type, UINT primitives, UINT vertices, bool indexed) {
  IDirect3DDevice9* d = r.device;
  DrawRecordEvent e;
  e.target = CurrentTarget(r);
  e.type = type;
  e.primitives = primitives;
  e.vertices = vertices;
  IDirect3DVertexBuffer9* stream = nullptr;
  UINT offset = 0, stride = 0;
  if (SUCCEEDED(d->GetStreamSource(0, &stream, &offset, &stride))) e.stride = stride;
  SafeRelease(stream);
  if (indexed) {
    IDirect3DIndexBuffer9* indices = nullptr;
    D3DINDEXBUFFER_DESC desc{};
    e.indexBytes = 2;
    if (SUCCEEDED(d->GetIndices(&indices)) && indices && SUCCEEDED(indices->GetDesc(&desc)))
      e.indexBytes = desc.Format == D3DFMT_INDEX32 ? 4 : 2;
    SafeRelease(indices);
  }
  IDirect3DVertexShader9* vs = nullptr;
  IDirect3DPixelShader9* ps = nullptr;
  d->GetVertexShader(&vs);
  d->GetPixelShader(&ps);
  e.vertexShader = ShaderVersion(r, vs);
  e.pixelShader = ShaderVersion(r, ps);
  SafeRelease(vs);
  SafeRelease(ps);
  for (DWORD stage = 0; stage < 8; ++stage) {
    IDirect3DBaseTexture9* texture = nullptr;
    if (SUCCEEDED(d->GetTexture(stage, &texture)) && texture) ++e.textures;
    SafeRelease(texture);
  }
  DWORD value = 0;
  e.alphaBlend = SUCCEEDED(d->GetRenderState(D3DRS_ALPHABLENDENABLE, &value)) && value;
  value = 0;
  e.depthTest = SUCCEEDED(d->GetRenderState(D3DRS_ZENABLE, &value)) && value;
  return e;
}

template <typename Call>
HRESULT RecordDraw(D3DPRIMITIVETYPE type, UINT primitives, UINT vertices, bool indexed, Call call) {
  Recording& r = *g_recording;
  DrawRecordEvent e = DrawState(r, type, primitives, vertices, indexed);
  const bool measured = r.occlusion && SUCCEEDED(r.occlusion->Issue(D3DISSUE_BEGIN));
  const HRESULT hr = call();
  if (measured && SUCCEEDED(r.occlusion->Issue(D3DISSUE_END))) {
    DWORD pixels = 0;
    const DWORD start = GetTickCount();
    HRESULT got;
    while ((got = r.occlusion->GetData(&pixels, sizeof pixels, D3DGETDATA_FLUSH)) == S_FALSE &&
           GetTickCount() - start < kOcclusionWaitMs) {
      SwitchToThread();  // a busy machine's renderer needs the processor more than this wait
    }
    if (got == S_OK)
      e.pixels = pixels;
    else
      SafeRelease(r.occlusion);
  }
  r.record.events.push_back(e);
  return hr;
}

}  // namespace

HRESULT C3DrawCounter::Draw(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, UINT startVertex, UINT primitives) {
  ++counted_.draws;
  counted_.primitives += primitives;
  if (g_recording && g_recording->device == device)
    return RecordDraw(type, primitives, VerticesForPrimitives(type, primitives), false,
                      [&] { return device->DrawPrimitive(type, startVertex, primitives); });
  return device->DrawPrimitive(type, startVertex, primitives);
}

HRESULT C3DrawCounter::DrawIndexed(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex,
                                   UINT vertices, UINT startIndex, UINT primitives) {
  ++counted_.draws;
  counted_.primitives += primitives;
  if (g_recording && g_recording->device == device)
    return RecordDraw(type, primitives, vertices, true, [&] {
      return device->DrawIndexedPrimitive(type, baseVertex, minIndex, vertices, startIndex, primitives);
    });
  return device->DrawIndexedPrimitive(type, baseVertex, minIndex, vertices, startIndex, primitives);
}

HRESULT C3DrawCounter::Clear(IDirect3DDevice9* device, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) {
  if (g_recording && g_recording->device == device) {
    DrawRecordEvent e;
    e.kind = DrawRecordEvent::kClear;
    e.target = CurrentTarget(*g_recording);
    e.clearFlags = flags;
    g_recording->record.events.push_back(e);
  }
  return device->Clear(0, nullptr, flags, colour, z, stencil);
}

C3DrawCounter::Totals C3DrawCounter::Take() {
  const Totals totals = counted_;
  counted_ = Totals();
  return totals;
}

void C3DrawCounter::RecordNextFrame() { g_requested = true; }

void C3DrawCounter::BeginFrame(IDirect3DDevice9* device) {
  // A frame that ended early (a failing move or render) is not written.
  g_recording.reset();
  if (!g_requested || !device) return;
  g_requested = false;
  g_recording = std::make_unique<Recording>();
  g_recording->device = device;
  if (FAILED(device->CreateQuery(D3DQUERYTYPE_OCCLUSION, &g_recording->occlusion)))
    g_recording->occlusion = nullptr;
}

void C3DrawCounter::EndFrame() {
  if (!g_recording) return;
  const std::unique_ptr<Recording> done = std::move(g_recording);
  const std::string text = FormatDrawRecord(done->record);
  FILE* file = std::fopen(kDrawRecordPath, "wb");
  bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (file) written = std::fclose(file) == 0 && written;
  if (written)
    LogPrint("frame draws recorded: %u calls, %u targets, pixels %s, in %s\n",
             static_cast<unsigned>(done->record.DrawCount()), static_cast<unsigned>(done->record.targets.size()),
             done->occlusion ? "measured" : "not measured", kDrawRecordPath);
  else
    LogPrint("frame draws not recorded: cannot write %s\n", kDrawRecordPath);
}
