// Small helpers for tests that build dictionary files as byte strings.
#pragma once
#include <cstdint>
#include <string>

#include "data/dictionary_format.h"
#include "../common/dictionary_lines.h"

inline const unsigned char* Bytes(const std::string& s)
{
    return reinterpret_cast<const unsigned char*>(s.data());
}

inline uint32_t Size(const std::string& s)
{
    return static_cast<uint32_t>(s.size());
}

