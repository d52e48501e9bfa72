vs_1_1
// X-file object, skinned mesh with three bones per vertex: palette slot i holds
// the bone's matrix in rows c20 + 3i to c22 + 3i and its tuning value in
// c78 + i. The weights of the first bones are given, the last one is 1
// minus their sum.
dcl_position0 v0
dcl_blendweight0 v1
dcl_blendindices0 v2
dcl_normal0 v3
dcl_texcoord0 v4
def c77, 1.0, 0.0, 3.0, 0.1
mul r11, v2, c77.z
mov r10, v1
add r10.z, c77.x, -v1.x
add r10.z, r10.z, -v1.y
// Bone 1.
mov a0.x, r11.x
dp4 r0.x, v0, c[a0.x + 20]
dp4 r0.y, v0, c[a0.x + 21]
dp4 r0.z, v0, c[a0.x + 22]
dp3 r1.x, v3, c[a0.x + 20]
dp3 r1.y, v3, c[a0.x + 21]
dp3 r1.z, v3, c[a0.x + 22]
mul r2.xyz, r0, r10.x
mul r3.xyz, r1, r10.x
mov a0.x, v2.x
mul r4.x, c[a0.x + 78].x, r10.x
// Bone 2.
mov a0.x, r11.y
dp4 r0.x, v0, c[a0.x + 20]
dp4 r0.y, v0, c[a0.x + 21]
dp4 r0.z, v0, c[a0.x + 22]
dp3 r1.x, v3, c[a0.x + 20]
dp3 r1.y, v3, c[a0.x + 21]
dp3 r1.z, v3, c[a0.x + 22]
mad r2.xyz, r0, r10.y, r2
mad r3.xyz, r1, r10.y, r3
mov a0.x, v2.y
mad r4.x, c[a0.x + 78].x, r10.y, r4.x
// Bone 3.
mov a0.x, r11.z
dp4 r0.x, v0, c[a0.x + 20]
dp4 r0.y, v0, c[a0.x + 21]
dp4 r0.z, v0, c[a0.x + 22]
dp3 r1.x, v3, c[a0.x + 20]
dp3 r1.y, v3, c[a0.x + 21]
dp3 r1.z, v3, c[a0.x + 22]
mad r2.xyz, r0, r10.z, r2
mad r3.xyz, r1, r10.z, r3
mov a0.x, v2.z
mad r4.x, c[a0.x + 78].x, r10.z, r4.x
// Lighting in world space: the tint as ambient light, the sun (c13) by c17,
// the material's diffuse (c14) and emissive (c15) colours, plus the tuning
// value of the vertex's bones. Opaque whatever the material's alpha: these
// objects are drawn without blending and must pass the alpha test.
mov r2.w, c77.x
m4x4 oPos, r2, c0
m4x3 r5.xyz, r2, c4
m3x3 r6.xyz, r3, c4
dp3 r6.w, r6, r6
rsq r6.w, r6.w
mul r6.xyz, r6, r6.w
dp3 r7.x, r6, c13
max r7.x, r7.x, c77.y
mov r8, c19
mad r8.xyz, c17, r7.x, r8
mul r8.xyz, r8, c14
add r8.xyz, r8, c15
add oD0.xyz, r8, r4.x
mov oD0.w, c77.x
// Texture coordinates for the material's and the second texture, the
// caustic light from the world position, and the eye ray reflected about
// the normal for the environment map.
mov oT0.xy, v4
mov oT1.xy, v4
mul oT2.xy, r5.xzzz, c77.w
add r9.xyz, r5, -c8
dp3 r9.w, r9, r9
rsq r9.w, r9.w
mul r9.xyz, r9, r9.w
dp3 r7.y, r9, r6
add r7.y, r7.y, r7.y
mad oT3.xyz, r6, -r7.y, r9
// Fog is off for these objects (their state list): the fog value stays clear.
mov oFog, c77.x
