vs_1_1
// X-file object, static mesh: the vertex placed by its frame's matrix (c74-c77).
dcl_position0 v0
dcl_normal0 v1
dcl_texcoord0 v2
def c20, 1.0, 0.0, 0.1, 0.0
m4x3 r2.xyz, v0, c74
m3x3 r3.xyz, v1, c74
mov r4.x, c20.y
// Lighting in world space: the tint as ambient light, the sun (c13) by c17,
// the material's diffuse (c14) and emissive (c15) colours, plus the tuning
// value of the vertex's bones. Opaque whatever the material's alpha: these
// objects are drawn without blending and must pass the alpha test.
mov r2.w, c20.x
m4x4 oPos, r2, c0
m4x3 r5.xyz, r2, c4
m3x3 r6.xyz, r3, c4
dp3 r6.w, r6, r6
rsq r6.w, r6.w
mul r6.xyz, r6, r6.w
dp3 r7.x, r6, c13
max r7.x, r7.x, c20.y
mov r8, c19
mad r8.xyz, c17, r7.x, r8
mul r8.xyz, r8, c14
add r8.xyz, r8, c15
add oD0.xyz, r8, r4.x
mov oD0.w, c20.x
// Texture coordinates for the material's and the second texture, the
// caustic light from the world position, and the eye ray reflected about
// the normal for the environment map.
mov oT0.xy, v2
mov oT1.xy, v2
mul oT2.xy, r5.xzzz, c20.z
add r9.xyz, r5, -c8
dp3 r9.w, r9, r9
rsq r9.w, r9.w
mul r9.xyz, r9, r9.w
dp3 r7.y, r9, r6
add r7.y, r7.y, r7.y
mad oT3.xyz, r6, -r7.y, r9
// Fog is off for these objects (their state list): the fog value stays clear.
mov oFog, c20.x
