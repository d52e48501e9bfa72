vs_1_1
// Sky dome above the sea surface: texture coordinates made when its buffer
// was built (polar mapping), fogged by the dome's own range in c23.
dcl_position0 v0
dcl_normal0 v1
dcl_texcoord0 v2
def c95, 1.0, 0.0, 0.5, 0.0
mov r0.xyz, v0
mov r0.w, c95.x
m4x4 oPos, r0, c0
mov oT0.xy, v2
mov oD0, c95.x
// Fog: (end - distance) / (end - start) from c23 = (0, end, 1 / (end - start), 0).
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
