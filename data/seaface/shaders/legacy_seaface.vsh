vs_1_1
// Sea surface without pixel shaders: the surface seen from below, brighter
// where its normal (pointing down) faces the sun's light coming through,
// more opaque the more slanting the view (c22 the eye); linear fog from
// c23 = (0, end, 1 / (end - start), 0).
dcl_position0 v0
dcl_normal0 v1
dcl_texcoord0 v2
def c95, 1.0, 0.0, 0.5, 0.7
def c94, 0.55, 0.45, 0.3, 0.0
m4x4 oPos, v0, c0
// Normal into world space, normalised.
m3x3 r1.xyz, v1, c12
dp3 r1.w, r1, r1
rsq r1.w, r1.w
mul r1.xyz, r1, r1.w
// Light: the sun's way (c24) against either side of the surface.
dp3 r2.x, r1, c24
max r2.y, r2.x, -r2.x
mad r2.xyz, r2.y, c94.y, c94.x
mov oD0.xyz, r2
// Eye vector.
m4x3 r3.xyz, v0, c12
add r4.xyz, c22, -r3
dp3 r4.w, r4, r4
rsq r5.x, r4.w
mul r4.xyz, r4, r5.x
dp3 r6.x, r4, r1
max r6.x, r6.x, -r6.x
mad r6.x, -r6.x, c95.w, c95.x
max r6.x, r6.x, c94.z
mov oD0.w, r6.x
// Fog.
rcp r5.y, r5.x
mov r8, c23
add r7.x, r8.y, -r5.y
mul r7.x, r7.x, r8.z
mul r7.y, r8.z, r8.z
sge r7.y, -r7.y, c95.y
add r7.x, r7.x, r7.y
max r7.x, r7.x, c95.y
min r7.x, r7.x, c95.x
mov oFog, r7.x
mov oT0.xy, v2
