// The German strong and irregular verbs of a ding word list with their
// principal parts, as the four-column list that F4 shows (strongs.dat).
// ding writes a verb's forms in a fixed shape after the verb:
//   finden; vorfinden {vt} | findend; vorfindend | gefunden; vorgefunden |
//   er/sie findet | ich/er/sie fand | er/sie hat/hatte gefunden | ...
// the present participle, the past participle, present forms, the
// preterite after "ich/er/sie" and the perfect; where the first part lists
// synonyms, each later part lists their forms in the same order, or only
// those of the first. Shorter lines leave the persons out
// ("| beginnt; fängt an | begann; fing an"), impersonal verbs name "es".
#pragma once
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "everyday.h"

struct StrongVerbStats {
    uint64_t verbs = 0;       // records written
    uint64_t compounds = 0;   // a prefix and another verb of the list: left out
    uint64_t beyondTable = 0; // strong verbs left out because the list holds no more
    uint64_t tooLong = 0;     // a form longer than its column: left out
};

// The rules that read a verb's line and judge its forms, one by one, for
// StrongVerbs and for their tests.
namespace StrongVerbRules {

using Item = std::vector<std::string>; // the words of one synonym or form
using Part = std::vector<Item>;        // the items of one part of a line

// A part's items: split at ";" outside brackets, each without its
// bracketed notes and split into words.
Part Items(const std::string& part);

// Which parts of a verb's line hold the preterite and the perfect, -1
// where it has none.
struct Shape {
    int preterite = -1;
    int perfect = -1;
    bool persons = false; // whether the forms are named with their persons
};
Shape ShapeOf(const std::vector<Part>& parts);

// The stem a weak verb forms its past on: "kaufen" "kauf", "wandern"
// "wander", "tun" "tu".
std::string Stem(const std::string& infinitive);
// Whether form is formed with -te/-t from stem, or one slip away from it:
// "kaufte", "arbeitete" (and the plurals "kauften"); "gekauft",
// "gearbeitet", "verkauft".
bool IsWeakFrom(const std::string& stem, const std::string& form, bool participle);
// Whether a form of the infinitive is weak, the verb taken whole or without
// what it begins with ("baggerte" of "ausbaggern").
bool IsWeak(const std::string& infinitive, const std::string& form, bool participle);

// "ab", "ver", "zurück": a prefix that makes a new verb of another.
bool IsPrefix(const std::string& word);
// The verb a separable one is made of, given the prefix its preterite
// shows ("ausweichen", "wich aus": "weichen"); empty where the infinitive
// does not begin with that prefix.
std::string SeparableBase(const std::string& infinitive, const std::string& prefix);
// Whether the infinitive is a prefix and another verb of strongVerbs
// ("verstehen" when "stehen" is one): such a verb has no row of its own.
bool IsCompound(const std::string& infinitive, const std::set<std::string>& strongVerbs);

// What one ding line tells of one verb.
struct Forms {
    std::vector<std::string> preterites;  // alternatives, in ding's order
    std::vector<std::string> participles; // likewise
    std::vector<std::string> perfects;    // the participles of "er/sie hat/hatte ..."
    std::string meaning;                  // "to find"; empty where the line is a compound's
    uint32_t parts = 0;                   // of the line: how much ding has to say
    bool leads = false;                   // the verb comes first in the line
};

// What the whole list tells of one verb.
struct Verb {
    std::vector<Forms> own;       // lines about the verb itself
    std::vector<Forms> compounds; // lines about "ausweichen" for "weichen"
    std::vector<Forms> meanings;  // every line that names it, forms or not: meaning, parts, leads
    std::map<std::string, uint32_t> participleVotes; // each participle, by the lines that give it
};

} // namespace StrongVerbRules

class StrongVerbs {
public:
    // The Windows-1252 parts of one ding line, German and English, as many
    // of each.
    void AddLine(const std::vector<std::string>& german, const std::vector<std::string>& english);

    // The record lines of strongs.dat, alphabetical: 0xFB, the infinitive,
    // the preterite (third person singular) and the past participle in
    // 17-byte columns, the English meaning, CR LF. At most
    // kStrongsCapacity records: where the word list has more strong verbs,
    // those ding says least about are left out. englishWords are the counts
    // of the English words of the whole list, which tell the everyday
    // meaning from a rare one.
    // firstRows gives, for an infinitive, the translation on the first row
    // that a search for it lists, where the dictionary's order has put the
    // everyday sense: that row's first synonym is the verb's meaning.
    std::string Records(const WordCounts& englishWords, const std::map<std::string, std::string>& firstRows,
                        StrongVerbStats& stats) const;
    // The infinitives the list may hold.
    std::vector<std::string> Infinitives() const;

private:
    void AddForms(const std::vector<StrongVerbRules::Part>& parts, size_t verb, const std::string& meaning,
                  uint32_t partCount);

    std::map<std::string, StrongVerbRules::Verb> verbs_;
};
