// Conversion of a "ding" word list (the format of the trans-de-en package:
// "German :: English" lines, " | " between parts, "; " between synonyms) into
// the two dictionary files. Everything here works on strings in memory; the
// command in import_command.h reads and writes the files.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "data/dictionary_format.h"
#include "everyday.h"
#include "forms.h"
#include "regular_forms.h"
#include "strong_verbs.h"
#include "transliterate.h"

// Why an input line was skipped.
enum class Malformed : uint8_t {
    NoSeparator,         // no " :: "
    SeveralSeparators,   // more than one " :: "
    PartCounts,          // the sides have different numbers of " | " parts
    InvalidUtf8,
    SeparatorInBrackets, // the " :: " stands inside a bracket opened on the German side
    EmptySide,           // nothing before or after the " :: "
};
constexpr int kMalformedKinds = 6;
const char* MalformedName(Malformed why);

// What one output file received, and what was left out of it.
struct DirectionStats {
    uint64_t entries = 0;
    uint64_t longSources = 0;   // over 40 bytes: written without the column padding
    uint64_t noLetter = 0;      // sources with no byte the search can start on: left out
    uint64_t noTranslation = 0; // sources whose other side is empty: left out
    uint64_t starsDropped = 0;  // "*" would end the source early
    uint64_t quotesPlain = 0;   // typographic quotes in sources typed as ' and "
    uint64_t wordFirst = 0;     // entries written a second time with their word first
    uint64_t forms = 0;         // entries of a form that name its base word: "ging (past of gehen)"
};

struct ImportStats {
    uint64_t linesRead = 0;
    uint64_t commentLines = 0;
    uint64_t blankLines = 0;
    uint64_t entryLines = 0; // well-formed "German :: English" lines
    uint64_t malformed[kMalformedKinds] = {};
    uint64_t emptySynonyms = 0; // "a; ; b", or a synonym that was only hidden text
    uint64_t hiddenDropped = 0; // <...> spans left out
    DirectionStats direction[2];
    FixCounts fixes;

    uint64_t MalformedTotal() const;
    DirectionStats& Of(DictionaryDirection d) { return direction[static_cast<int>(d)]; }
    const DirectionStats& Of(DictionaryDirection d) const { return direction[static_cast<int>(d)]; }
};

struct SkippedLine {
    uint64_t lineNumber; // from 1
    Malformed why;
};

// Feeds on input lines one at a time and collects the entry lines of both
// directions in input order, which is the word list's own order, with what
// each line's ding line tells about it; ImportDing puts them in search order
// afterwards.
class DingImporter {
public:
    // One input line without its LF; a CR before the LF is ignored.
    void AddLine(const std::string& line);

    const std::string& Entries(DictionaryDirection d) const { return entries_[static_cast<int>(d)]; }
    // The lines an import before forms were named wrote in the place of
    // each form's entry, so that a file made then can still be told apart
    // from what a user added to it.
    const std::string& FormerLines(DictionaryDirection d) const { return formerLines_[static_cast<int>(d)]; }
    std::string TakeEntries(DictionaryDirection d) { return std::move(entries_[static_cast<int>(d)]); }
    // One score per entry line, in the same order: higher for the sense a
    // reader most likely looks for.
    std::vector<int32_t> EverydayScores(DictionaryDirection d) const;
    // The strong verbs' records for strongs.dat.
    // sortedGerEng: the German-English entries in search order.
    std::string StrongVerbRecords(const std::string& sortedGerEng, StrongVerbStats& stats) const;
    const ImportStats& Stats() const { return stats_; }
    // The "#" lines before the first entry: version, copyright, licence, URL.
    const std::vector<std::string>& LeadingComments() const { return comments_; }
    // The first few skipped lines, so a user can go and look at them.
    const std::vector<SkippedLine>& FirstSkipped() const { return skipped_; }

    void Reserve(size_t bytesPerDirection);
    // Spell checkers' word lists, German and English, that confirm the
    // regular forms ding leaves out (see regular_forms.h); without them
    // only ding's own forms are written. Either may be null.
    void UseKnownWords(const KnownWords* german, const KnownWords* english);
    // The forms that a verb's line leaves out and other lines give (see
    // FormTable), once every line is in.
    void AddDerivedForms();

private:
    void Skip(Malformed why);
    static bool SplitEntryLine(const std::string& line, std::vector<std::string>& germanParts,
                               std::vector<std::string>& englishParts, Malformed& why);
    void AddParts(const std::vector<std::string>& germanParts, const std::vector<std::string>& englishParts);
    struct PartPlace {
        uint32_t index;
        uint32_t count;
        const std::string& verbLabel; // of the German part, empty when it is no verb
        FormKind form; // the kind of form the part lists, or None
        // For a form part: the part its forms are forms of, German and
        // English, and that part's synonyms.
        const std::string* baseParts[2];
        std::vector<std::string> baseSynonyms[2];
        bool derived = false; // a part made from another ("größte" from "am größten"), which no import wrote before
        // For a part of the forms of a verb's later synonyms (see
        // AddMissingSynonymForms): the place of the first, so that its
        // entries rank as those synonyms' own do, after the first one's.
        uint32_t laterSynonyms = 0;
    };
    void AddPart(const std::string& germanPart, const std::string& englishPart, const PartPlace& place);
    void AddSources(DictionaryDirection d, const std::string& part, const std::string& translation,
                    const PartPlace& place);
    bool AddForm(DictionaryDirection d, const std::string& source, const std::string& translation,
                 const PartPlace& place, uint32_t synonymIndex, size_t synonymCount);
    void AddEntry(DictionaryDirection d, const std::string& source, const std::string& translation,
                  const EntrySigns& signs);

    // A verb's or adjective's line that lacks some of its forms: a verb
    // with irregular English forms in braces ("to think {thought;
    // thought}") but without the German form parts to pair them with; and
    // where word lists confirm regular forms, any verb without its
    // preterite and any adjective without its comparison.
    struct FormlessLine {
        std::string germanPart;               // the line's first part, whose signs its forms take on
        std::string englishPart;
        std::vector<std::string> german;      // the German synonyms
        std::vector<std::string> english;     // the English synonyms
        uint32_t parts;
        std::vector<FormKind> missing;
    };
    void AddDerivedEntry(DictionaryDirection d, FormKind kind, const std::string& form, const std::string& translation,
                         const std::string& baseSynonym, const std::string& basePart, uint32_t synonymIndex,
                         uint32_t parts, bool firstSpelling);
    void MendParticiple(const std::vector<FormKind>& forms, std::vector<std::string>& germanTexts,
                        const std::vector<std::string>& englishTexts);
    void NoteFormlessLine(const std::vector<std::string>& germanTexts, const std::vector<std::string>& englishTexts,
                          const std::vector<FormKind>& forms);
    void AddDerivedForm(const FormlessLine& line, FormKind kind);
    std::string GermanFormOf(const std::string& word, FormKind kind) const;
    std::vector<std::string> EnglishFormsOf(const std::string& synonym, FormKind kind) const;
    std::string AttributivePart(const std::string& superlatives) const;
    // A verb's form part that lists fewer synonyms than its base part.
    struct ShortFormPart {
        std::string germanPart;
        std::string englishPart;
        std::string baseGerman;
        std::string baseEnglish;
        std::string verbLabel;
        uint32_t index;
        uint32_t count;
        FormKind form;
    };
    void NoteShortFormPart(const std::string& germanPart, const std::string& englishPart, const PartPlace& place);
    void AddMissingSynonymForms(const ShortFormPart& part);

    std::string entries_[2];
    // For a form's entry: the translation of its base, whose words judge
    // how everyday the entry is (see AddForm), by the entry's number.
    std::unordered_map<size_t, std::string> judgedBy_[2];
    std::string formerLines_[2];
    FormTable wordForms_;           // German forms
    FormTable englishComparisons_;  // an English adjective's comparison, as another line lists it
    std::vector<FormlessLine> formless_;
    std::vector<ShortFormPart> shortFormParts_;
    const KnownWords* known_[2] = {}; // German, English
    // English verbs that some line gives irregular forms in braces: the
    // regular rule is not for them ("putted" is a golfer's word).
    std::unordered_set<std::string> irregularEnglish_;
    std::vector<EntrySigns> signs_[2];
    WordCounts translationWords_[2]; // the words of each direction's translations
    StrongVerbs strongVerbs_;
    ImportStats stats_;
    std::vector<std::string> comments_;
    std::vector<SkippedLine> skipped_;
    bool seenEntry_ = false;
};

enum class Refusal : uint8_t {
    None,
    NotUtf8,   // the opening lines are not UTF-8 text
    NoEntries, // not one "German :: English" line
};

struct ImportSettings {
    ImportSettings(std::string source = std::string(), std::string day = std::string())
        : sourceName(std::move(source)), date(std::move(day))
    {
    }
    std::string sourceName; // as the header should name it
    std::string date;       // the day of the import, YYYY-MM-DD
    // The spell checkers' word lists that confirm regular forms, and how
    // the header names them; null where none is given.
    const KnownWords* germanWords = nullptr;
    const KnownWords* englishWords = nullptr;
    std::string wordListNames;
};

struct ImportResult {
    Refusal refusal = Refusal::None;
    uint64_t refusedLine = 0; // for NotUtf8: the first line that is not UTF-8 text
    std::string header[2];    // each ends with its direction's marker and CR LF
    std::string entries[2];
    std::string formerLines[2]; // see DingImporter::FormerLines
    std::string strongs; // the record lines of strongs.dat
    StrongVerbStats strongStats;
    ImportStats stats;
    std::vector<SkippedLine> firstSkipped;

    const std::string& Header(DictionaryDirection d) const { return header[static_cast<int>(d)]; }
    const std::string& Entries(DictionaryDirection d) const { return entries[static_cast<int>(d)]; }
};

// How many opening lines must be UTF-8 text for the input to be taken.
constexpr int kCheckedOpeningLines = 50;

// Called as the import passes each tenth of the input.
using ImportProgress = std::function<void(uint64_t linesDone, int percent)>;

ImportResult ImportDing(const std::string& input, const ImportSettings& settings,
                        const ImportProgress& progress = ImportProgress());

// The free header of a dictionary file: where it came from, the word list's
// version and licence, the import date, the length and hash of the imported
// part (the marker line's CR LF and entries), which tells a later import
// the lines a user added after it, then the marker line. The marker text
// appears nowhere else in it, whatever the comments say.
std::string BuildHeader(DictionaryDirection d, const ImportSettings& settings,
                        const std::vector<std::string>& comments, const std::string& entries);

// Entry lines ("source*translation" and CR LF each, no "*" in a source) in
// the order that serves the search, which lists matches in file order and
// keeps only the first 499 and the last: by the source's bytes from its
// first word-start byte on, with its {...}, [...] and (...) notes and its
// "/Abbr./" abbreviations left out and blanks collapsed, a key before every
// longer key it begins; then the higher score first (scores holds one per line, or is empty when all are
// equal); then the shorter source; then the order given. The result depends
// on nothing but the bytes and scores given.
std::string InSearchOrder(const std::string& lines, const std::vector<int32_t>& scores = {});

// One line in the reader's form: sources up to 40 bytes padded so the "*"
// stands in column 43, longer ones followed by one blank and the "*".
// Returns true for a long source.
bool AppendEntryLine(std::string& out, const std::string& source, const std::string& translation);
