#pragma once
// The glyph atlas of the screen text panels, generated at build time
// (engine/panels/GlyphAtlas.cmake): a zlib-compressed 512 x 512 24-bit BMP with
// 16 x 16 cells of 32 x 32 pixels; code c sits in column c % 16, row c / 16.
// Codes 32 to 122 carry a white glyph on black, the other cells are black.
// Drawn from the Terminus Font (bold, 16 x 32), SIL Open Font License 1.1.

extern const unsigned char kGlyphAtlasData[];
// Length of the zlib stream in kGlyphAtlasData.
extern const unsigned int kGlyphAtlasSize;
// Length of the BMP file it inflates to.
extern const unsigned int kGlyphAtlasInflatedSize;
