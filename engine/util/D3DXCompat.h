#pragma once
// D3DX calls that are missing or incomplete in some runtimes, done in ways
// every runtime supports. Used on every platform, so all builds take the same
// road.
#include <d3dx9.h>

// The standard X-file templates (mesh, frame, material, animation, skinning
// data and their parts) as X-file text, for ID3DXFile::RegisterTemplates.
extern const char kStandardXTemplates[];
extern const unsigned kStandardXTemplatesSize;

// Identifiers of the standard templates (the same as in the text above).
extern const GUID kXTemplateHeader;
extern const GUID kXTemplateMesh;
extern const GUID kXTemplateFrame;
extern const GUID kXTemplateMaterial;
extern const GUID kXTemplateAnimation;
extern const GUID kXTemplateAnimationSet;
extern const GUID kXTemplateMeshTextureCoords;
extern const GUID kXTemplateFrameTransformMatrix;
extern const GUID kXTemplateMeshMaterialList;
extern const GUID kXTemplateMeshNormals;
extern const GUID kXTemplateTextureFilename;
extern const GUID kXTemplateAnimationKey;
extern const GUID kXTemplateAnimationOptions;
extern const GUID kXTemplateSkinWeights;
extern const GUID kXTemplateXSkinMeshHeader;
extern const GUID kXTemplateAnimTicksPerSecond;

// D3DXFileCreate with the standard templates registered. On failure *file is
// null and the result is returned.
HRESULT CreateXFileWithTemplates(ID3DXFile** file);

// The first data object named `name` among the enumeration's objects and,
// depth first, their children (references are not followed). Does not rely
// on ID3DXFileEnumObject::GetDataObjectByName. E_FAIL when there is none.
HRESULT FindXDataObjectByName(ID3DXFileEnumObject* enumObject, const char* name,
                              ID3DXFileData** found);

// Loads the mesh of an X data object. Goes through the skin-mesh loader (the
// plain loader is not present everywhere) and releases the skin information.
HRESULT LoadMeshFromXData(ID3DXFileData* data, DWORD options, IDirect3DDevice9* device,
                          ID3DXBuffer** adjacency, ID3DXBuffer** materials,
                          DWORD* materialCount, ID3DXMesh** mesh);

// ID3DXMesh::OptimizeInplace; where the vertex-cache ordering is not
// implemented (E_NOTIMPL) it is tried again without it.
HRESULT OptimizeMeshInplace(ID3DXMesh* mesh, DWORD flags, const DWORD* adjacencyIn,
                            DWORD* adjacencyOut, DWORD* faceRemap, ID3DXBuffer** vertexRemap);
