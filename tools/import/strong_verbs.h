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
#include <string>
#include <vector>

#include "everyday.h"

struct StrongVerbStats {
    uint64_t verbs = 0;       // records written
    uint64_t compounds = 0;   // a prefix and another verb of the list: left out
    uint64_t beyondTable = 0; // strong verbs left out because the list holds no more
    uint64_t tooLong = 0;     // a form longer than its column: left out
};

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
    // What one ding line tells of one verb.
    struct Forms {
        std::vector<std::string> preterites;  // alternatives, in ding's order
        std::vector<std::string> participles; // likewise
        std::vector<std::string> perfects;    // the participles of "er/sie hat/hatte ..."
        std::string meaning;                  // "to find"; empty where the line is a compound's
        uint32_t parts = 0;                   // of the line: how much ding has to say
        bool leads = false;                   // the verb comes first in the line
    };
    struct Verb {
        std::vector<Forms> own;       // lines about the verb itself
        std::vector<Forms> compounds; // lines about "ausweichen" for "weichen"
        std::vector<Forms> meanings;  // every line that names it, forms or not: meaning, parts, leads
        std::map<std::string, uint32_t> participleVotes; // each participle, by the lines that give it
    };
    static std::vector<std::string> ParticiplesOf(const Forms& forms);
    void AddForms(const std::vector<std::vector<std::vector<std::string>>>& parts, size_t verb,
                  const std::string& meaning, uint32_t partCount);

    std::map<std::string, Verb> verbs_;
};
