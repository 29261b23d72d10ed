// UTF-8 to the dictionary's Windows-1252, for text that is not free to refuse
// a character: whatever the code page lacks is replaced by the nearest thing
// it has, and every replacement is counted by kind so an import can say what
// it changed.
#pragma once
#include <cstdint>
#include <string>

enum class Fix : uint8_t {
    Punctuation, // dashes, quotes, primes and spaces that 1252 lacks: plain forms
    Letter,      // accents dropped, ligatures and sub/superscripts taken apart
    Greek,       // Greek letters spelled out ("alpha")
    Misencoded,  // C1 controls that are really Windows-1252 bytes read as Latin-1
    Control,     // tabs, other controls and invisible characters: blank or nothing
    Unknown,     // nothing fits: "?"
};
constexpr int kFixKinds = 6;

const char* FixName(Fix kind);

struct FixCounts {
    uint64_t count[kFixKinds] = {};
    uint64_t& operator[](Fix kind) { return count[static_cast<int>(kind)]; }
    uint64_t operator[](Fix kind) const { return count[static_cast<int>(kind)]; }
    uint64_t Total() const;
};

// Appends the Windows-1252 form of utf8[begin, end) to out. Malformed UTF-8
// sequences become "?" one byte at a time (counted as Unknown), so the call
// always succeeds; callers that must refuse bad input check it first.
// The replacements never produce the bytes the ding format splits on
// (";", "|", ":") or any bracket, so splitting after converting is safe.
void AppendWindows1252(const std::string& utf8, size_t begin, size_t end, std::string& out, FixCounts& counts);

// True when text[begin, end) is well-formed UTF-8.
bool IsValidUtf8(const std::string& text, size_t begin, size_t end);
