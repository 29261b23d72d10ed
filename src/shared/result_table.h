// The one table that every list of the program lives in: up to 500 search
// results of 16 bytes, or up to 250 four-column records of 32 bytes, in the
// same 8000 bytes. Positions are 32-bit offsets from the first byte of the
// mapped file, never pointers, so a record survives the file being mapped
// again at another address and the layout is the same in 32- and 64-bit
// builds.
#pragma once
#include <cstdint>

struct ResultRecord {
    uint32_t source;            // offset of the line's first word-start byte
    uint32_t sourceLength;      // bytes up to the first "*"
    uint32_t translation;       // offset of the byte after that "*"
    uint32_t translationLength; // bytes up to the next CR LF
};

struct StrongsColumn {
    uint32_t position;
    uint32_t length;
};

struct StrongsRecord {
    StrongsColumn columns[4];
};

constexpr int32_t kResultCapacity = 500;
constexpr int32_t kStrongsCapacity = 250;
constexpr int32_t kResultTableBytes = 8000;
constexpr int32_t kResultStride = static_cast<int32_t>(sizeof(ResultRecord));
constexpr int32_t kStrongsStride = static_cast<int32_t>(sizeof(StrongsRecord));

static_assert(sizeof(ResultRecord) == 16, "a result record is 16 bytes");
static_assert(sizeof(StrongsRecord) == 32, "a four-column record is 32 bytes");
static_assert(kResultCapacity * kResultStride == kResultTableBytes, "500 results fill the table");
static_assert(kStrongsCapacity * kStrongsStride == kResultTableBytes, "250 records fill the table");

union ResultTable {
    ResultRecord results[kResultCapacity];
    StrongsRecord strongs[kStrongsCapacity];
    unsigned char bytes[kResultTableBytes];
};

struct ResultList {
    ResultTable table;
    int32_t resultCount;     // rows of the current list
    int32_t resultCapacity;  // 500
    int32_t rowStride;       // 16, doubled while the four-column list is shown
};

inline void InitResultList(ResultList& list)
{
    list = ResultList{};
    list.resultCapacity = kResultCapacity;
    list.rowStride = kResultStride;
}
