// Small helpers for tests that build dictionary files as byte strings.
#pragma once
#include <cstdint>
#include <string>

#include "data/dictionary_format.h"

inline const unsigned char* Bytes(const std::string& s)
{
    return reinterpret_cast<const unsigned char*>(s.data());
}

inline uint32_t Size(const std::string& s)
{
    return static_cast<uint32_t>(s.size());
}

// One line in the form the composer writes: source, blanks to column 43,
// "*", translation, CR LF.
inline std::string FixedLine(const std::string& source, const std::string& translation)
{
    std::string line = source;
    if (line.size() < kStarColumn)
        line.append(kStarColumn - line.size(), ' ');
    return line + "*" + translation + "\r\n";
}

inline std::string GerEngFile(const std::string& data)
{
    return "Vokabix test dictionary\r\nGerEng Data Starts Here:\r\n" + data;
}
