#include "entry_composer.h"

#include <cstring>

const char kNoSourceMarkerMessage[] = "No End-Of-Source marker (colon) found.";
const char kNoLetterFirstMessage[] = "Source entry must begin with a letter.";
const char kSourceEntryErrorCaption[] = "Source Entry Error";

namespace {

const char kTooLongTemplate[] = "Source entry is     bytes too long.";
static_assert(sizeof(kTooLongTemplate) == 36, "the too-long text has 35 characters");
static_assert(sizeof(kTooLongTemplate) <= kComposeMessageBytes, "room for the too-long text");
static_assert(sizeof(kNoSourceMarkerMessage) <= kComposeMessageBytes, "room for the colon text");
static_assert(sizeof(kNoLetterFirstMessage) <= kComposeMessageBytes, "room for the letter text");

// The reader starts every entry at its first word-start byte and passes
// over what comes before it, blanks and all. A source whose first byte after
// its leading blanks cannot start an entry ("10 zehn") is never where a
// search begins comparing: the line would read as part of its neighbours.
bool BeginsWithWordStart(const unsigned char* source, uint32_t length)
{
    uint32_t i = 0;
    while (i < length && source[i] == ' ')
        ++i;
    return i < length && IsWordStart(source[i]);
}

// Where the parse stands: p is the next byte, sourceLength the bytes that
// belong to the source so far.
struct Cursor {
    const unsigned char* text;
    uint32_t n;
    uint32_t p;
    uint32_t sourceLength;

    bool AtEnd() const { return p == n; }
    unsigned char Byte() const { return text[p]; }

    void TakeBlanks()
    {
        while (!AtEnd() && Byte() == ' ') {
            ++p;
            ++sourceLength;
        }
    }
    // Returns false when the word ran into the end of the text rather than
    // stopping at a colon or a blank.
    bool TakeWord()
    {
        while (!AtEnd() && Byte() != ':' && Byte() != ' ') {
            ++p;
            ++sourceLength;
        }
        return !AtEnd();
    }
};

void FormatTooLong(uint32_t excess, char (&message)[kComposeMessageBytes])
{
    std::memcpy(message, kTooLongTemplate, sizeof(kTooLongTemplate));
    char digits[4];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + excess % 10);
        excess /= 10;
    } while (excess != 0 && count < 3);
    for (int i = 0; i < count; ++i)
        message[16 + i] = digits[count - 1 - i];
}

enum class Split { Translation, NoSourceMarker, NothingToAdd };

// Finds where the translation starts; the source is always the first
// cursor.sourceLength bytes of the text.
Split SplitEntry(Cursor& c, DictionaryDirection direction)
{
    c.TakeBlanks();
    c.TakeWord();
    c.TakeBlanks();
    for (;;) {
        if (!c.AtEnd() && c.Byte() == '(') {
            const void* close = std::memchr(c.text + c.p, ')', c.n - c.p);
            if (close != nullptr) {
                const uint32_t after = static_cast<uint32_t>(static_cast<const unsigned char*>(close) - c.text) + 1;
                c.sourceLength += after - c.p;
                c.p = after;
                if (c.AtEnd())
                    return Split::Translation;
                while (!c.AtEnd() && (c.Byte() == ' ' || c.Byte() == ':'))
                    ++c.p;
                return c.AtEnd() ? Split::NothingToAdd : Split::Translation;
            }
            // An unclosed group runs to the end of the text.
            c.sourceLength += c.n - c.p;
            c.p = c.n;
        }
        if (direction == DictionaryDirection::GermanToEnglish)
            return Split::Translation;
        if (!c.AtEnd() && c.Byte() == ':') {
            ++c.p;
            return Split::Translation;
        }
        if (!c.TakeWord())
            return Split::NoSourceMarker;
        c.TakeBlanks();
    }
}

} // namespace

ComposeOutcome ComposeEntry(const unsigned char* text, uint32_t length, DictionaryDirection direction,
                            EntryRecord& record, char (&message)[kComposeMessageBytes])
{
    message[0] = '\0';
    Cursor c{text, length < kMaxEntryBytes ? length : kMaxEntryBytes, 0, 0};
    switch (SplitEntry(c, direction)) {
    case Split::NoSourceMarker:
        std::memcpy(message, kNoSourceMarkerMessage, sizeof(kNoSourceMarkerMessage));
        return ComposeOutcome::NoSourceMarker;
    case Split::NothingToAdd:
        return ComposeOutcome::NothingToAdd;
    case Split::Translation:
        break;
    }
    if (c.sourceLength > kMaxSourceBytes) {
        FormatTooLong(c.sourceLength - kMaxSourceBytes, message);
        return ComposeOutcome::SourceTooLong;
    }
    const uint32_t translationLength = c.n - c.p;
    if (c.sourceLength == 0 || translationLength == 0)
        return ComposeOutcome::EmptyPart;
    if (!BeginsWithWordStart(text, c.sourceLength)) {
        std::memcpy(message, kNoLetterFirstMessage, sizeof(kNoLetterFirstMessage));
        return ComposeOutcome::NoLetterFirst;
    }

    unsigned char* out = record.bytes;
    std::memcpy(out, text, c.sourceLength);
    std::memset(out + c.sourceLength, ' ', kStarColumn - c.sourceLength);
    out[kStarColumn] = kSourceEnd;
    std::memcpy(out + kStarColumn + 1, text + c.p, translationLength);
    out[kStarColumn + 1 + translationLength] = '\r';
    out[kStarColumn + 2 + translationLength] = '\n';
    record.length = kStarColumn + 3 + translationLength;
    return ComposeOutcome::Composed;
}

const char* OutcomeName(ComposeOutcome outcome)
{
    switch (outcome) {
    case ComposeOutcome::Composed: return "Composed";
    case ComposeOutcome::NoSourceMarker: return "NoSourceMarker";
    case ComposeOutcome::SourceTooLong: return "SourceTooLong";
    case ComposeOutcome::NothingToAdd: return "NothingToAdd";
    case ComposeOutcome::EmptyPart: return "EmptyPart";
    case ComposeOutcome::NoLetterFirst: return "NoLetterFirst";
    }
    return "?";
}
