#include "D3DXCompat.h"

#include <cstring>
#include <string>

// Written for this program from the published X-file format: the names,
// identifiers and members every X-file reader agrees on.
const char kStandardXTemplates[] =
    "xof 0303txt 0032\n"
    "template Header {\n <3D82AB43-62DA-11cf-AB39-0020AF71E433>\n"
    " WORD major;\n WORD minor;\n DWORD flags;\n}\n"
    "template Vector {\n <3D82AB5E-62DA-11cf-AB39-0020AF71E433>\n"
    " FLOAT x;\n FLOAT y;\n FLOAT z;\n}\n"
    "template Coords2d {\n <F6F23F44-7686-11cf-8F52-0040333594A3>\n"
    " FLOAT u;\n FLOAT v;\n}\n"
    "template Matrix4x4 {\n <F6F23F45-7686-11cf-8F52-0040333594A3>\n"
    " array FLOAT matrix[16];\n}\n"
    "template ColorRGBA {\n <35FF44E0-6C7C-11cf-8F52-0040333594A3>\n"
    " FLOAT red;\n FLOAT green;\n FLOAT blue;\n FLOAT alpha;\n}\n"
    "template ColorRGB {\n <D3E16E81-7835-11cf-8F52-0040333594A3>\n"
    " FLOAT red;\n FLOAT green;\n FLOAT blue;\n}\n"
    "template IndexedColor {\n <1630B820-7842-11cf-8F52-0040333594A3>\n"
    " DWORD index;\n ColorRGBA indexColor;\n}\n"
    "template Boolean {\n <4885AE61-78E8-11cf-8F52-0040333594A3>\n"
    " WORD truefalse;\n}\n"
    "template Boolean2d {\n <4885AE63-78E8-11cf-8F52-0040333594A3>\n"
    " Boolean u;\n Boolean v;\n}\n"
    "template MaterialWrap {\n <4885AE60-78E8-11cf-8F52-0040333594A3>\n"
    " Boolean u;\n Boolean v;\n}\n"
    "template TextureFilename {\n <A42790E1-7810-11cf-8F52-0040333594A3>\n"
    " STRING filename;\n}\n"
    "template Material {\n <3D82AB4D-62DA-11cf-AB39-0020AF71E433>\n"
    " ColorRGBA faceColor;\n FLOAT power;\n ColorRGB specularColor;\n"
    " ColorRGB emissiveColor;\n [...]\n}\n"
    "template MeshFace {\n <3D82AB5F-62DA-11cf-AB39-0020AF71E433>\n"
    " DWORD nFaceVertexIndices;\n array DWORD faceVertexIndices[nFaceVertexIndices];\n}\n"
    "template MeshFaceWraps {\n <4885AE62-78E8-11cf-8F52-0040333594A3>\n"
    " DWORD nFaceWrapValues;\n array Boolean2d faceWrapValues[nFaceWrapValues];\n}\n"
    "template MeshTextureCoords {\n <F6F23F40-7686-11cf-8F52-0040333594A3>\n"
    " DWORD nTextureCoords;\n array Coords2d textureCoords[nTextureCoords];\n}\n"
    "template MeshMaterialList {\n <F6F23F42-7686-11cf-8F52-0040333594A3>\n"
    " DWORD nMaterials;\n DWORD nFaceIndexes;\n array DWORD faceIndexes[nFaceIndexes];\n"
    " [Material <3D82AB4D-62DA-11cf-AB39-0020AF71E433>]\n}\n"
    "template MeshNormals {\n <F6F23F43-7686-11cf-8F52-0040333594A3>\n"
    " DWORD nNormals;\n array Vector normals[nNormals];\n"
    " DWORD nFaceNormals;\n array MeshFace faceNormals[nFaceNormals];\n}\n"
    "template MeshVertexColors {\n <1630B821-7842-11cf-8F52-0040333594A3>\n"
    " DWORD nVertexColors;\n array IndexedColor vertexColors[nVertexColors];\n}\n"
    "template Mesh {\n <3D82AB44-62DA-11cf-AB39-0020AF71E433>\n"
    " DWORD nVertices;\n array Vector vertices[nVertices];\n"
    " DWORD nFaces;\n array MeshFace faces[nFaces];\n [...]\n}\n"
    "template FrameTransformMatrix {\n <F6F23F41-7686-11cf-8F52-0040333594A3>\n"
    " Matrix4x4 frameMatrix;\n}\n"
    "template Frame {\n <3D82AB46-62DA-11cf-AB39-0020AF71E433>\n [...]\n}\n"
    "template FloatKeys {\n <10DD46A9-775B-11cf-8F52-0040333594A3>\n"
    " DWORD nValues;\n array FLOAT values[nValues];\n}\n"
    "template TimedFloatKeys {\n <F406B180-7B3B-11cf-8F52-0040333594A3>\n"
    " DWORD time;\n FloatKeys tfkeys;\n}\n"
    "template AnimationKey {\n <10DD46A8-775B-11cf-8F52-0040333594A3>\n"
    " DWORD keyType;\n DWORD nKeys;\n array TimedFloatKeys keys[nKeys];\n}\n"
    "template AnimationOptions {\n <E2BF56C0-840F-11cf-8F52-0040333594A3>\n"
    " DWORD openclosed;\n DWORD positionquality;\n}\n"
    "template Animation {\n <3D82AB4F-62DA-11cf-AB39-0020AF71E433>\n [...]\n}\n"
    "template AnimationSet {\n <3D82AB50-62DA-11cf-AB39-0020AF71E433>\n"
    " [Animation <3D82AB4F-62DA-11cf-AB39-0020AF71E433>]\n}\n"
    "template XSkinMeshHeader {\n <3CF169CE-FF7C-44ab-93C0-F78F62D172E2>\n"
    " WORD nMaxSkinWeightsPerVertex;\n WORD nMaxSkinWeightsPerFace;\n WORD nBones;\n}\n"
    "template VertexDuplicationIndices {\n <B8D65549-D7C9-4995-89CF-53A9A8B031E3>\n"
    " DWORD nIndices;\n DWORD nOriginalVertices;\n array DWORD indices[nIndices];\n}\n"
    "template SkinWeights {\n <6F0D123B-BAD2-4167-A0D0-80224F25FABB>\n"
    " STRING transformNodeName;\n DWORD nWeights;\n array DWORD vertexIndices[nWeights];\n"
    " array FLOAT weights[nWeights];\n Matrix4x4 matrixOffset;\n}\n"
    "template AnimTicksPerSecond {\n <9E415A43-7BA6-4a73-8743-B73D47E88476>\n"
    " DWORD AnimTicksPerSecond;\n}\n"
    "template FVFData {\n <B6E70A0E-8EF9-4e83-94AD-ECC8B0C04897>\n"
    " DWORD dwFVF;\n DWORD nDWords;\n array DWORD data[nDWords];\n}\n"
    "template VertexElement {\n <F752461C-1E23-48f6-B9F8-8350850F336F>\n"
    " DWORD Type;\n DWORD Method;\n DWORD Usage;\n DWORD UsageIndex;\n}\n"
    "template DeclData {\n <BF22E553-292C-4781-9FEA-62BD554BDDD3>\n"
    " DWORD nElements;\n array VertexElement Elements[nElements];\n"
    " DWORD nDWords;\n array DWORD data[nDWords];\n}\n";

const unsigned kStandardXTemplatesSize = sizeof(kStandardXTemplates) - 1;

const GUID kXTemplateHeader = {0x3D82AB43, 0x62DA, 0x11CF, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}};
const GUID kXTemplateMesh = {0x3D82AB44, 0x62DA, 0x11CF, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}};
const GUID kXTemplateFrame = {0x3D82AB46, 0x62DA, 0x11CF, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}};
const GUID kXTemplateMaterial = {0x3D82AB4D, 0x62DA, 0x11CF, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}};
const GUID kXTemplateAnimation = {0x3D82AB4F, 0x62DA, 0x11CF, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}};
const GUID kXTemplateAnimationSet = {0x3D82AB50, 0x62DA, 0x11CF, {0xAB, 0x39, 0x00, 0x20, 0xAF, 0x71, 0xE4, 0x33}};
const GUID kXTemplateMeshTextureCoords = {0xF6F23F40, 0x7686, 0x11CF, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3}};
const GUID kXTemplateFrameTransformMatrix = {0xF6F23F41, 0x7686, 0x11CF, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3}};
const GUID kXTemplateMeshMaterialList = {0xF6F23F42, 0x7686, 0x11CF, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3}};
const GUID kXTemplateMeshNormals = {0xF6F23F43, 0x7686, 0x11CF, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3}};
const GUID kXTemplateTextureFilename = {0xA42790E1, 0x7810, 0x11CF, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3}};
const GUID kXTemplateAnimationKey = {0x10DD46A8, 0x775B, 0x11CF, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3}};
const GUID kXTemplateAnimationOptions = {0xE2BF56C0, 0x840F, 0x11CF, {0x8F, 0x52, 0x00, 0x40, 0x33, 0x35, 0x94, 0xA3}};
const GUID kXTemplateSkinWeights = {0x6F0D123B, 0xBAD2, 0x4167, {0xA0, 0xD0, 0x80, 0x22, 0x4F, 0x25, 0xFA, 0xBB}};
const GUID kXTemplateXSkinMeshHeader = {0x3CF169CE, 0xFF7C, 0x44AB, {0x93, 0xC0, 0xF7, 0x8F, 0x62, 0xD1, 0x72, 0xE2}};
const GUID kXTemplateAnimTicksPerSecond = {0x9E415A43, 0x7BA6, 0x4A73, {0x87, 0x43, 0xB7, 0x3D, 0x47, 0xE8, 0x84, 0x76}};

HRESULT CreateXFileWithTemplates(ID3DXFile** file) {
  *file = nullptr;
  ID3DXFile* created = nullptr;
  HRESULT hr = D3DXFileCreate(&created);
  if (FAILED(hr)) return hr;
  hr = created->RegisterTemplates(kStandardXTemplates, kStandardXTemplatesSize);
  if (FAILED(hr)) {
    created->Release();
    return hr;
  }
  *file = created;
  return S_OK;
}

namespace {

bool HasName(ID3DXFileData* data, const char* name) {
  SIZE_T size = 0;
  if (FAILED(data->GetName(nullptr, &size)) || size == 0) return false;
  std::string text(size, '\0');
  if (FAILED(data->GetName(&text[0], &size))) return false;
  return strcmp(text.c_str(), name) == 0;
}

// Depth-first search of data's children; the result is AddRef'd.
ID3DXFileData* SearchChildren(ID3DXFileData* data, const char* name, int depth) {
  if (depth > 64) return nullptr;
  SIZE_T count = 0;
  if (FAILED(data->GetChildren(&count))) return nullptr;
  for (SIZE_T i = 0; i < count; ++i) {
    ID3DXFileData* child = nullptr;
    if (FAILED(data->GetChild(i, &child)) || child == nullptr) continue;
    if (!child->IsReference()) {
      if (HasName(child, name)) return child;
      if (ID3DXFileData* found = SearchChildren(child, name, depth + 1)) {
        child->Release();
        return found;
      }
    }
    child->Release();
  }
  return nullptr;
}

}  // namespace

HRESULT FindXDataObjectByName(ID3DXFileEnumObject* enumObject, const char* name,
                              ID3DXFileData** found) {
  *found = nullptr;
  SIZE_T count = 0;
  HRESULT hr = enumObject->GetChildren(&count);
  if (FAILED(hr)) return hr;
  for (SIZE_T i = 0; i < count; ++i) {
    ID3DXFileData* top = nullptr;
    if (FAILED(enumObject->GetChild(i, &top)) || top == nullptr) continue;
    if (HasName(top, name)) {
      *found = top;
      return S_OK;
    }
    ID3DXFileData* inner = SearchChildren(top, name, 0);
    top->Release();
    if (inner) {
      *found = inner;
      return S_OK;
    }
  }
  return E_FAIL;
}

HRESULT LoadMeshFromXData(ID3DXFileData* data, DWORD options, IDirect3DDevice9* device,
                          ID3DXBuffer** adjacency, ID3DXBuffer** materials,
                          DWORD* materialCount, ID3DXMesh** mesh) {
  ID3DXBuffer* effects = nullptr;
  ID3DXSkinInfo* skin = nullptr;
  HRESULT hr = D3DXLoadSkinMeshFromXof(data, options, device, adjacency, materials, &effects,
                                       materialCount, &skin, mesh);
  if (effects) effects->Release();
  if (skin) skin->Release();
  return hr;
}

HRESULT OptimizeMeshInplace(ID3DXMesh* mesh, DWORD flags, const DWORD* adjacencyIn,
                            DWORD* adjacencyOut, DWORD* faceRemap, ID3DXBuffer** vertexRemap) {
  HRESULT hr = mesh->OptimizeInplace(flags, adjacencyIn, adjacencyOut, faceRemap, vertexRemap);
  if (hr == E_NOTIMPL && (flags & D3DXMESHOPT_VERTEXCACHE)) {
    hr = mesh->OptimizeInplace(flags & ~DWORD(D3DXMESHOPT_VERTEXCACHE), adjacencyIn, adjacencyOut,
                               faceRemap, vertexRemap);
  }
  return hr;
}
