// The regular forms that ding leaves out: "erzählte" where ding gives
// "erzählen" with no preterite, "closer" where it gives "close" with no
// comparison, "größte" beside "am größten". Each is made by the plain rule
// of its language and kept only where a spell checker's word list holds
// it, so no word reaches the dictionary that the language does not have:
// "gehte" or "gooder" never pass. Everything here works on Windows-1252.
#pragma once
#include <string>
#include <unordered_set>
#include <vector>

#include "forms.h"

// The words of a spell checker's list (Debian's wngerman or wamerican,
// one word per line, UTF-8), as the dictionary spells them.
class KnownWords {
public:
    void AddList(const std::string& utf8Lines);
    bool Holds(const std::string& word) const { return words_.count(word) != 0; }
    bool Empty() const { return words_.empty(); }

private:
    std::unordered_set<std::string> words_;
};

// The preterite of a weak German verb, most likely spelling first:
// "erzählen" gives "erzählte", "arbeiten" "arbeitete", "sammeln"
// "sammelte". Nothing for a verb of more than one word.
std::vector<std::string> GermanRegularPast(const std::string& infinitive);

// The regular English past: "walk" gives "walked", "bake" "baked", "try"
// "tried", "stop" "stopped" or "stoped" (the list tells which).
std::vector<std::string> EnglishRegularPast(const std::string& verb);

// The regular English comparative or superlative: "close" gives "closer",
// "easy" "easier", "big" "bigger" or "biger", "old" "older".
std::vector<std::string> EnglishRegularComparison(const std::string& adjective, FormKind kind);

// The superlative before a noun, from the one ding gives after "am": "am
// größten" gives "größte" ("das größte Haus"); empty for any other shape.
std::string AttributiveSuperlative(const std::string& superlative);

// A verb whose first part stands apart in its finite forms: "ausschauen"
// is "aus" and "schauen" ("schaute aus"). Prefixes that may also stay
// joined ("über", "um", "durch") are not split.
bool SplitSeparablePrefix(const std::string& verb, std::string& prefix, std::string& rest);

// The whole verb's form from that of its rest: "schaute" gives "schaute
// aus", "geschaut" gives "ausgeschaut".
std::string WithSeparablePrefix(const std::string& prefix, const std::string& restForm, FormKind kind);

// The first candidate the list holds, or an empty string.
std::string FirstKnown(const std::vector<std::string>& candidates, const KnownWords& words);
