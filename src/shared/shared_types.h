// The small types that several layers hold in the program-wide state: the
// direction, the search text's room, the waiting entry line and the two
// dialog template buffers. Plain data, no window system.
#pragma once
#include <cstddef>
#include <cstdint>

enum class DictionaryDirection : uint8_t { GermanToEnglish, EnglishToGerman };

constexpr uint32_t kSearchTextCapacity = 300;
constexpr uint32_t kMaxSearchChars = 80;

// One composed dictionary line waiting to be appended; 0 bytes: none.
constexpr uint32_t kEntryRecordBytes = 176;
struct EntryRecord {
    unsigned char bytes[kEntryRecordBytes];
    uint32_t length;
};

constexpr size_t kSearchTemplateBytes = 180;
constexpr size_t kAddWordTemplateBytes = 238;
struct alignas(4) SearchDialogTemplate {
    unsigned char bytes[kSearchTemplateBytes];
};
struct alignas(4) AddWordDialogTemplate {
    unsigned char bytes[kAddWordTemplateBytes];
};
