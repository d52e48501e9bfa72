vs_1_1
// Swaying coral piece: rest pose on stream 0 and two key frames on streams 1
// and 2, blended with the weights in c37 (x rest, y frame, z next frame).
// Lit by twice the ambient level plus 50 x each fish light's colour (c30,
// c32, c34, c36) over its squared distance (positions in c29, c31, c33, c35;
// at least 1 unit).
dcl_position0 v0
dcl_texcoord0 v2
dcl_position1 v3
dcl_position2 v5
def c95, 1.0, 0.0, 2.0, 50.0
mul r0.xyz, v0, c37.x
mad r0.xyz, v3, c37.y, r0
mad r0.xyz, v5, c37.z, r0
mov r0.w, c95.x
m4x4 oPos, r0, c0
m4x3 r5.xyz, r0, c12
// Fish lights.
add r1.xyz, c29, -r5
dp3 r1.w, r1, r1
max r1.w, r1.w, c95.x
rcp r1.w, r1.w
mul r2.xyz, c30, r1.w
add r1.xyz, c31, -r5
dp3 r1.w, r1, r1
max r1.w, r1.w, c95.x
rcp r1.w, r1.w
mad r2.xyz, c32, r1.w, r2
add r1.xyz, c33, -r5
dp3 r1.w, r1, r1
max r1.w, r1.w, c95.x
rcp r1.w, r1.w
mad r2.xyz, c34, r1.w, r2
add r1.xyz, c35, -r5
dp3 r1.w, r1, r1
max r1.w, r1.w, c95.x
rcp r1.w, r1.w
mad r2.xyz, c36, r1.w, r2
mul r2.xyz, r2, c95.w
mad r4.xyz, c25, c95.z, r2
mov oD0.xyz, r4
mov oD0.w, c95.x
// Fog: (end - distance) / (end - start) from c23 = (0, end, 1 / (end - start), 0);
// with no fog set (c23.z = 0) the piece stays clear.
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
// Skin as given; the caustic along the world x and y.
mov oT0.xy, v2
mov oT1.xy, r5.xy
