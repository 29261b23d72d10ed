// The dictionary file format: a free header that ends with the direction's
// marker, then CR LF terminated entry lines "source*translation".
#pragma once
#include <cstddef>
#include <cstdint>

#include "../shared/shared_types.h"

struct DirectionInfo {
    const char* fileName;
    const char* marker;
};

constexpr size_t kMarkerLength = 24;
constexpr unsigned char kSourceEnd = '*';
// Where the composer puts the "*", counted from 0.
constexpr uint32_t kStarColumn = 43;
constexpr uint32_t kMaxSourceBytes = 40;

const DirectionInfo& InfoFor(DictionaryDirection direction);

// headerOffset of a file without its marker: past any possible file size, so
// the file has no data at all and every search over it finds nothing.
constexpr uint32_t kNoMarker = 0xFFFFFFFFu;

// The offset of the first data byte (the marker's position plus 24), or
// kNoMarker. Only the first occurrence counts; no byte beyond size is read.
uint32_t FindHeaderEnd(const unsigned char* view, uint32_t size, const char* marker);

// The data bytes of an open file: [headerOffset, fileSize), empty when the
// view is missing or the header runs to the end.
inline uint32_t DataBytes(const unsigned char* view, uint32_t fileSize, uint32_t headerOffset)
{
    if (view == nullptr || headerOffset >= fileSize)
        return 0;
    return fileSize - headerOffset;
}

// The CR of the first CR LF pair at or after p that lies wholly before end,
// or end. A lone CR or LF is not a line end.
const unsigned char* FindLineEnd(const unsigned char* p, const unsigned char* end);

// Bytes that can begin an entry: A-Z, the six signs between Z and a, a-z,
// the umlauts and u-circumflex. Everything else is passed over between lines.
bool IsWordStart(unsigned char byte);
