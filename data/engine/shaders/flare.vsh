vs_1_1
// Lens-flare element: the rectangle (0, 0) .. (0.1, -0.1333) is centred on
// the element's point c45.xy (on the line through the sun's screen position
// and the screen centre) and scaled by c46.xy = (s, 1.333 s); the factors
// below make it square on a 4:3 screen.
dcl_position0 v0
dcl_texcoord0 v1
def c95, 1.0, 0.0, 0.05, -0.0666667
def c94, 3.0, 2.25, 0.5, 0.0
add r0.xy, v0.xy, -c95.zwzw
mul r0.xy, r0.xy, c46.xy
mul r0.xy, r0.xy, c94.xy
add r0.xy, r0.xy, c45.xy
mov r0.z, c94.z
mov r0.w, c95.x
mov oPos, r0
mov oT0.xy, v1
mov oD0, c95.x
mov oFog, c95.x
