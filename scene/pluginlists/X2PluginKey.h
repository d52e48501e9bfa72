#pragma once
// Record keys: a record's name, an underscore and its maker, compared without
// regard to the case of single-byte Latin letters. Texts are Shift-JIS; both
// bytes of a double-byte character are left exactly as they are, whatever the
// system code page (the trail byte of ダ, 0x5F, is not an underscore, and
// trail bytes in 0x41-0x5A are not capitals).
#include <cstddef>
#include <string>

#include "X2PluginAbi.h"

// Lead byte of a Shift-JIS double-byte character.
inline bool X2IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Lowers A-Z in place, stepping over double-byte characters.
void X2LowerKey(char* text);
std::string X2LowerKey(const std::string& text);

// name + "_" + maker into out (size bytes, cut to fit), lowered.
void X2BuildKey(const X2RecordHeader* record, char* out, size_t size);
