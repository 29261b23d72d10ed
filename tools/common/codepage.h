// Windows-1252, the one code page of the dictionary files, to and from UTF-8
// for the command-line tools.
#pragma once
#include <cstdint>
#include <string>

// The Windows-1252 byte of a Unicode code point, or -1 when the code page
// lacks it. The five bytes that Windows-1252 leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the C1 controls of the same number, as the
// platform's own conversion does.
int CodePointToCp1252(uint32_t codePoint);
uint32_t Cp1252ToCodePoint(unsigned char byte);

// Decodes one UTF-8 sequence at text[pos]; returns false for malformed
// input. On success pos moves past the sequence.
bool DecodeUtf8(const std::string& text, size_t& pos, uint32_t& codePoint);
void AppendUtf8(std::string& out, uint32_t codePoint);

// Converts UTF-8 to Windows-1252. Returns false, with the offending code
// point (or 0xFFFFFFFF for malformed UTF-8) in bad, when a character has no
// Windows-1252 byte.
bool Utf8ToCp1252(const std::string& utf8, std::string& out, uint32_t& bad);
std::string Cp1252ToUtf8(const char* bytes, size_t length);
