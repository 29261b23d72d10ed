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
    bool derivedForm = false;       // a form that no part of its line lists, found in another line or by rule
    bool secondPerson = false;      // "du bist", "ihr seid": the present of a person a text rarely addresses
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

// The weights of EverydayScore, in points; a doubling of parts or of
// commonness is 16 steps of its logarithm. Each was measured with the rank
// report of vokabix-cli on the full ding list: the figures are the share
// of the everyday lists' words (german-everyday.txt, english-everyday.txt)
// whose everyday translation is on the first row, with the weight at 0, at
// its value and at twice its value.
namespace EverydayWeights {
// The line that lists the word's forms and phrases says most about it:
// 78.5/77.0 %, 91.6/90.5 %, 89.8/91.2 %.
constexpr int32_t kPerDoubledParts = 40;
// Beyond 64 parts a line says no more about its word.
constexpr uint32_t kMostPartsCounted = 64;
// A word named as a later synonym of another is that word's sense first:
// 89.5/90.9 %, 91.6/90.5 %, 90.5/90.1 %.
constexpr int32_t kLaterSynonym = 100;
// And the further back, the rarer; it orders later synonyms among
// themselves and moves the everyday lists little: 92.4/90.5 %,
// 91.6/90.5 %, 91.6/90.5 %. Counted up to the fifth.
constexpr int32_t kPerSynonymBefore = 10;
constexpr uint32_t kMostSynonymsBefore = 5;
// A word in a later part is a phrase's or a form's: 90.9/85.8 %,
// 91.6/90.5 %, 91.6/90.5 %.
constexpr int32_t kLaterPart = 60;
// A subject, region or register label on the source narrows the sense:
// 91.6/90.1 %, 91.6/90.5 %, 91.3/90.1 %.
constexpr int32_t kPerSourceLabel = 40;
// A note after the word narrows it: 91.3/90.9 %, 91.6/90.5 %, 90.5/89.8 %.
constexpr int32_t kPerSourceNote = 20;
// The same on the translation's first synonym: 91.3/91.2 %, 91.6/90.5 %,
// 92.0/89.1 % for labels, 90.9/90.5 %, 91.6/90.5 %, 90.5/89.8 % for notes.
constexpr int32_t kPerTranslationLabel = 20;
constexpr int32_t kPerTranslationNote = 20;
// Labels and notes counted up to three: more say no more.
constexpr uint32_t kMostLabelsOrNotes = 3;
// A translation in words the whole list uses often is the everyday one:
// 88.0/84.3 %, 91.6/90.5 %, 92.0/91.6 % (twice as much puts forms behind:
// 92.8/85.0 % of the forms lists against 94.0/85.9 %).
constexpr int32_t kPerDoubledCommonness = 15;
// A form's entry names its base and gives the form's own translation, so
// it goes before an entry of the same word from a line of about as many
// parts ("besser (comparative of gut)" before "besser {adj}"), but not
// before a headword whose own line says much more ("worse" before "worse
// (comparative of bad)" from "arg"). With the forms lists
// (german-forms.txt, english-forms.txt): 60 puts the form's translation on
// the first row as often as 200 and keeps the English everyday list at
// 90.5 % (89.4 % with 200).
constexpr int32_t kFormOfAnotherWord = 60;
// English writes many a past and its participle alike ("bought", "said");
// a text uses the past on its own far more often than the participle
// without its auxiliary, so the past's entry comes first. 100 outweighs
// the parts more that the participle's line may have ("lost": 40 left
// "verloren" first); more changed nothing measured.
constexpr int32_t kPastBeforeParticiple = 100;
// A text speaks of "wir" and "sie" far more often than it addresses "du"
// or "ihr", so "are (present of be)" gives "sind" before "bist". It only
// orders a verb's persons among themselves: on the forms lists 10 moved
// "are" to the first row and nothing else; 40 changed no more.
constexpr int32_t kSecondPerson = 10;
// A form that the base's own line lists is surer than one taken from
// another line or made by rule, which may belong to another sense of the
// verb. On the forms lists: 94.4/89.7 % at 0, 94.8/90.2 % at 20, 94.0/90.2 %
// at 40; the everyday lists stay at 91.6/90.5 %.
constexpr int32_t kDerivedForm = 20;
} // namespace EverydayWeights

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
