// The small pieces of ding's notation that every reader of its lines needs:
// its brackets, its "/" between alternatives ("jdn./etw.", "ich/er/sie"),
// and the German words that take an object before a verb.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "data/dictionary_format.h"

// The brackets of notes, labels and forms: "(etw.)", "[techn.]", "{vt}".
inline bool IsOpener(char c)
{
    return c == '(' || c == '[' || c == '{';
}

inline bool IsCloser(char c)
{
    return c == ')' || c == ']' || c == '}';
}

// The depth of ding's brackets while a text is read byte by byte, the one
// walk that every reader of notes, labels and forms shares. A closer with
// nothing open is passed over: abbreviations such as "/:-)/" bring one.
class BracketDepth {
public:
    // Takes the next byte; true when it stands outside every bracket. The
    // brackets themselves count as inside.
    bool Outside(char c)
    {
        if (IsOpener(c)) {
            ++depth_;
            return false;
        }
        if (IsCloser(c)) {
            depth_ -= depth_ > 0 ? 1 : 0;
            return false;
        }
        return depth_ == 0;
    }
    int Depth() const { return depth_; }

private:
    int depth_ = 0;
};

// Where the bracket opened at `at` ends (the byte after its closer), or 0
// when nothing closes it: an opener left open is ordinary text.
inline size_t BracketEnd(const char* text, size_t at, size_t end)
{
    int depth = 0;
    for (size_t p = at; p < end; ++p) {
        if (IsOpener(text[p]))
            ++depth;
        else if (IsCloser(text[p]) && --depth == 0)
            return p + 1;
    }
    return 0;
}

// 64-bit FNV-1a, taken a byte at a time: the hash of the words the order
// counts, and of the part of a file an import wrote.
constexpr uint64_t kFnvOffsetBasis = 0xcbf29ce484222325ull;
constexpr uint64_t kFnvPrime = 0x100000001b3ull;
inline uint64_t FnvStep(uint64_t hash, unsigned char byte)
{
    return (hash ^ byte) * kFnvPrime;
}

// Whether a line holds a byte a search can start on: without one it is no
// entry, and the search would run its source into the next line.
inline bool HoldsWordStart(std::string_view line)
{
    for (const char c : line) {
        if (IsWordStart(static_cast<unsigned char>(c)))
            return true;
    }
    return false;
}

inline bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Words joined by one blank each.
inline std::string JoinWords(const std::vector<std::string>& words)
{
    std::string out;
    for (const std::string& word : words)
        out += (out.empty() ? "" : " ") + word;
    return out;
}

inline bool IsOneOf(const std::string& word, std::initializer_list<const char*> set)
{
    for (const char* member : set) {
        if (word == member)
            return true;
    }
    return false;
}

// True when every "/"-separated piece of word passes test: "jdn./etw." is
// an object when both "jdn." and "etw." are.
template <typename Test>
bool EachAlternative(const std::string& word, Test test)
{
    size_t begin = 0;
    while (begin <= word.size()) {
        size_t end = word.find('/', begin);
        if (end == std::string::npos)
            end = word.size();
        if (!test(word.substr(begin, end - begin)))
            return false;
        begin = end + 1;
    }
    return true;
}

// A word of small German letters only, "a" to "z", "ä", "ö", "ü" and "ß",
// as a verb's infinitive and its forms are written ("fand", "gewusst");
// with allowHyphen, hyphens after the first letter too.
inline bool IsSmallGermanWord(const std::string& word, bool allowHyphen)
{
    for (char c : word) {
        const unsigned char u = static_cast<unsigned char>(c);
        const bool letter = (u >= 'a' && u <= 'z') || u == 0xE4 || u == 0xF6 || u == 0xFC || u == 0xDF;
        if (!letter && !(allowHyphen && u == '-'))
            return false;
    }
    return !word.empty() && word[0] != '-';
}

// The prepositions that come before a German verb's object: "auf jdn.
// warten", "jdn. um etw. bitten".
inline bool IsGermanPreposition(const std::string& word)
{
    return IsOneOf(word, {"an", "auf", "aus", "bei", "f\xFC" "r", "gegen", "in", "mit", "nach", "\xFC" "ber", "um", "von",
                          "vor", "zu", "zwischen", "unter", "durch", "ohne", "hinter", "neben"});
}

// "mich", "dich", "uns", "euch": the reflexive pronouns that a verb's
// forms carry where its infinitive has "sich" ("wir freuen uns").
inline bool IsReflexivePronoun(const std::string& word)
{
    return IsOneOf(word, {"mich", "dich", "uns", "euch"});
}

// "etw.", "jdn./etw.", "sb.": words that stand for a verb's object or the
// reader himself. language is the side the word is from.
inline bool IsObjectWord(DictionaryDirection language, const std::string& word)
{
    return EachAlternative(word, [language](const std::string& one) {
        return language == DictionaryDirection::GermanToEnglish ? IsOneOf(one, {"etw.", "jdn.", "jdm.", "jds.", "sich"})
                                                                : IsOneOf(one, {"sb.", "sth.", "oneself", "yourself"});
    });
}

// A part's synonyms: split at "; " outside brackets, since a bracket may hold
// a list of its own ("{heard; heard}", "(Theater; Kino)"). When the part's
// brackets do not pair up, bracket depth means nothing and every "; " splits.
// empties counts the synonyms that were only blanks.
std::vector<std::string> SplitSynonyms(const std::string& part, uint64_t& empties);

// The other way: a synonym added to a part, after "; " unless it is the first.
inline void AppendSynonym(std::string& part, const std::string& synonym)
{
    part += (part.empty() ? "" : "; ") + synonym;
}
