vs_1_1
// Fish, morph: rest pose on stream 0, two key frames on streams 1 and 2.
dcl_position0 v0
dcl_normal0 v1
dcl_texcoord0 v2
dcl_position1 v3
dcl_normal1 v4
dcl_position2 v5
dcl_normal2 v6
def c95, 1.0, 0.0, 0.5, 0.05
// Blend: rest pose x c37.x + frame x c37.y + next frame x c37.z.
mul r0.xyz, v0, c37.x
mad r0.xyz, v3, c37.y, r0
mad r0.xyz, v5, c37.z, r0
mov r0.w, c95.x
mul r1.xyz, v1, c37.x
mad r1.xyz, v4, c37.y, r1
mad r1.xyz, v6, c37.z, r1
// Position, then the normal into world space, normalised.
m4x4 oPos, r0, c0
m3x3 r2.xyz, r1, c12
dp3 r2.w, r2, r2
rsq r2.w, r2.w
mul r2.xyz, r2, r2.w
// Sun: ambient level plus diffuse level times the facing (c24 points at the sun).
dp3 r3.x, r2, c24
max r3.x, r3.x, c95.y
mov r4, c25
mad r4.xyz, c26, r3.x, r4
mov oD0.xyz, r4
mov oD0.w, c95.x
// Fog: (end - distance) / (end - start) from c23 = (0, end, 1 / (end - start), 0);
// with no fog set (c23.z = 0) the fish stays clear.
m4x3 r5.xyz, r0, c12
add r6.xyz, r5, -c22
dp3 r6.w, r6, r6
rsq r6.x, r6.w
rcp r6.w, r6.x
mov r8, c23
add r7.x, r8.y, -r6.w
mul r7.x, r7.x, r8.z
mul r7.y, r8.z, r8.z
sge r7.y, -r7.y, c95.y
add r7.x, r7.x, r7.y
max r7.x, r7.x, c95.y
min r7.x, r7.x, c95.x
mov oFog, r7.x
// Skin coordinates as given; caustic coordinates from the side of the body
// scaled by c44 (smaller for bigger fish), drifting with the world position.
mov oT0.xy, v2
mul r9.xy, r0.xy, c44.xy
mad oT1.xy, r5.xzzz, c95.w, r9
