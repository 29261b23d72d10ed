// Fuzz target for the entry composer. The input is the typed entry text; it
// is composed in both directions. The edit field is read with room for 127
// bytes, so a longer input must compose exactly like its first 127 bytes,
// and the composer must not look past them.
#include <cstdint>
#include <cstring>
#include <string>

#include "data/dictionary_format.h"
#include "data/entry_composer.h"
#include "fuzz_check.h"

namespace {

constexpr unsigned char kStaleByte = 0x5A;

// The split told step by step the way a user would explain it: first word
// with its blanks, an optional group in parentheses, and for English to
// German further words up to the colon.
struct Split {
    ComposeOutcome outcome;
    uint32_t sourceLength;
    uint32_t translationStart;
};

Split ExpectedSplit(const unsigned char* text, uint32_t n, DictionaryDirection direction)
{
    uint32_t p = 0;
    uint32_t source = 0;
    const auto blanks = [&] {
        for (; p < n && text[p] == ' '; ++p)
            ++source;
    };
    const auto word = [&] { // true when a colon or blank ended the word
        for (; p < n && text[p] != ':' && text[p] != ' '; ++p)
            ++source;
        return p < n;
    };
    blanks();
    word();
    blanks();
    bool translationFound = false;
    while (!translationFound) {
        if (p < n && text[p] == '(') {
            uint32_t close = p;
            while (close < n && text[close] != ')')
                ++close;
            if (close < n) {
                source += close + 1 - p;
                p = close + 1;
                if (p < n) {
                    while (p < n && (text[p] == ' ' || text[p] == ':'))
                        ++p;
                    if (p == n)
                        return {ComposeOutcome::NothingToAdd, source, p};
                }
                break;
            }
            source += n - p;
            p = n;
        }
        if (direction == DictionaryDirection::GermanToEnglish)
            break;
        if (p < n && text[p] == ':') {
            ++p;
            translationFound = true;
        } else if (!word()) {
            return {ComposeOutcome::NoSourceMarker, source, p};
        } else {
            blanks();
        }
    }
    if (source > kMaxSourceBytes)
        return {ComposeOutcome::SourceTooLong, source, p};
    if (source == 0 || p == n)
        return {ComposeOutcome::EmptyPart, source, p};
    uint32_t first = 0;
    while (first < source && text[first] == ' ')
        ++first;
    if (first == source || !IsWordStart(text[first]))
        return {ComposeOutcome::NoLetterFirst, source, p};
    return {ComposeOutcome::Composed, source, p};
}

std::string TooLongMessage(uint32_t excess)
{
    std::string digits = std::to_string(excess);
    digits.resize(3, ' ');
    return "Source entry is " + digits + " bytes too long.";
}

struct Run {
    ComposeOutcome outcome;
    EntryRecord record;
    char message[kComposeMessageBytes];
};

void Compose(const ExactCopy& text, DictionaryDirection direction, Run& run)
{
    std::memset(&run, kStaleByte, sizeof(run));
    run.record.length = 0;
    run.outcome = ComposeEntry(text.data(), text.size(), direction, run.record, run.message);
}

void CheckRun(const Run& run, const unsigned char* text, uint32_t n, DictionaryDirection direction)
{
    const Split split = ExpectedSplit(text, n, direction);
    FUZZ_CHECK(run.outcome == split.outcome);
    FUZZ_CHECK(std::memchr(run.message, '\0', sizeof(run.message)) != nullptr);
    const std::string message = run.message;

    if (run.outcome != ComposeOutcome::Composed) {
        // A refusal writes nothing and leaves no line waiting.
        FUZZ_CHECK(run.record.length == 0);
        for (unsigned char byte : run.record.bytes)
            FUZZ_CHECK(byte == kStaleByte);
        if (run.outcome == ComposeOutcome::NoSourceMarker) {
            FUZZ_CHECK(direction == DictionaryDirection::EnglishToGerman);
            FUZZ_CHECK(message == kNoSourceMarkerMessage);
        } else if (run.outcome == ComposeOutcome::SourceTooLong) {
            FUZZ_CHECK(message.size() == 35);
            FUZZ_CHECK(message == TooLongMessage(split.sourceLength - kMaxSourceBytes));
        } else if (run.outcome == ComposeOutcome::NoLetterFirst) {
            FUZZ_CHECK(message == kNoLetterFirstMessage);
        } else {
            FUZZ_CHECK(message.empty());
        }
        return;
    }

    FUZZ_CHECK(message.empty());
    const uint32_t length = run.record.length;
    const unsigned char* const line = run.record.bytes;
    const uint32_t translationLength = n - split.translationStart;
    FUZZ_CHECK(translationLength >= 1 && split.sourceLength >= 1 && split.sourceLength <= kMaxSourceBytes);
    FUZZ_CHECK(length == 46 + translationLength);
    FUZZ_CHECK(length <= kEntryRecordBytes);
    FUZZ_CHECK(std::memcmp(line, text, split.sourceLength) == 0);
    for (uint32_t column = split.sourceLength; column < kStarColumn; ++column)
        FUZZ_CHECK(line[column] == ' ');
    FUZZ_CHECK(line[kStarColumn] == '*');
    // The translation is always the tail of the entry text.
    FUZZ_CHECK(std::memcmp(line + kStarColumn + 1, text + n - translationLength, translationLength) == 0);
    FUZZ_CHECK(line[length - 2] == '\r' && line[length - 1] == '\n');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ExactCopy whole(data, size);
    const ExactCopy read(data, size < kMaxEntryBytes ? size : kMaxEntryBytes);
    for (DictionaryDirection direction : {DictionaryDirection::GermanToEnglish, DictionaryDirection::EnglishToGerman}) {
        Run fromRead;
        Compose(read, direction, fromRead);
        CheckRun(fromRead, read.data(), read.size(), direction);
        if (whole.size() != read.size()) {
            Run fromWhole;
            Compose(whole, direction, fromWhole);
            FUZZ_CHECK(std::memcmp(&fromWhole, &fromRead, sizeof(Run)) == 0);
        }
    }
    return 0;
}
