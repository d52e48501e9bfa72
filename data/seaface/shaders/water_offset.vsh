vs_1_1
// Water simulation: a full-target quad; texture set i samples at the
// quad's coordinate plus the offset in c39 + i.
dcl_position0 v0
dcl_texcoord0 v1
mov oPos, v0
add oT0, v1, c39
add oT1, v1, c40
add oT2, v1, c41
add oT3, v1, c42
