// Which of a headword's entries a reader should meet first, and the second,
// verb-first form of entries that a search for the word itself would miss.
// The search lists matches in file order, so the import decides what the
// first rows show; everything here works on the Windows-1252 text of one
// ding line's parts.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "data/dictionary_format.h"

// What a ding line tells about one entry written from it.
struct EntrySigns {
    uint32_t parts = 1;        // " | " parts of the line: a main entry lists its forms and phrases
    uint32_t partIndex = 0;    // 0 for the part the line is about
    uint32_t synonymIndex = 0; // the source's place among its part's synonyms
    uint32_t sourceLabels = 0; // [...] labels on the source: a subject, a region, a register
    uint32_t sourceNotes = 0;  // (...) notes on the source itself: a narrowed sense
    uint32_t translationLabels = 0;
    uint32_t translationNotes = 0;
    bool formOfAnotherWord = false; // "ging (past of gehen)": the main entry of a form spelled unlike its base
    bool pastForm = false;          // a preterite's entry: "bought (past of buy)"
};

// How often each word occurs on one side of the whole word list: a word
// that many entries use is one that many readers know.
class WordCounts {
public:
    // Counts the words of text outside its brackets, in small letters.
    void AddText(const std::string& text);
    // The count of the word with this hash (see everyday.cpp).
    uint32_t Of(uint64_t hash) const;

private:
    struct Entry {
        uint64_t hash;
        uint32_t count; // 0 for a free slot
    };
    uint32_t* Slot(uint64_t hash);

    std::vector<Entry> slots_;
    size_t used_ = 0;
};

// The labels and notes of an entry: those of its own source, and those of
// the first synonym of its translation, the one a reader sees first. A
// label at the end of a part may belong to its last synonym alone ("das
// Firmament [geh.]"), so the part's other synonyms do not take it on.
EntrySigns SignsOf(const std::string& source, const std::string& translationPart);

// How well known the words of a translation's first synonym are: the count
// of its least common word outside notes.
uint32_t Commonness(const std::string& translation, const WordCounts& counts);

// Higher for the sense a reader most likely means: the line about the word
// with many parts, the word named first, no label or note narrowing it, and
// a translation in common words.
int32_t EverydayScore(const EntrySigns& signs, uint32_t commonness);

// The verb's label of a German part ("{vt}", "{vi}", "{vr}", "{v}"), or an
// empty string when the part is not a verb.
std::string VerbLabel(const std::string& germanPart);

// The second form of a source that the search could not find by its own
// word: "etw. sehen" as "sehen (etw.) {vt}", "to see sth." as
// "see (sth.) {v}", "der Himmel" as "Himmel (der)". verbLabel is that of
// the German part the entry comes from, empty when it is no verb. False when
// the source already begins with its word or is no such phrase. narrowed
// tells whether what moved behind the word narrows its sense (a note,
// "sich", a preposition's object) rather than only naming its object.
bool WordFirstForm(DictionaryDirection d, const std::string& source, const std::string& verbLabel, std::string& out,
                   bool& narrowed);
