// Stand-in for the render texture's capture of its source fish, for test
// programs linked without the render texture: the call does nothing. It is
// its own library, linked after the scene library, so the linker takes the
// real one from the scene library wherever that holds it.
#include "C4RenderTexture.h"

void C4RenderTexture::RenderSource(C6Fish*) {}
