// The small pieces of ding's notation that every reader of its lines needs:
// its brackets, its "/" between alternatives ("jdn./etw.", "ich/er/sie"),
// and the German words that take an object before a verb.
#pragma once
#include <initializer_list>
#include <string>

// The brackets of notes, labels and forms: "(etw.)", "[techn.]", "{vt}".
inline bool IsOpener(char c)
{
    return c == '(' || c == '[' || c == '{';
}

inline bool IsCloser(char c)
{
    return c == ')' || c == ']' || c == '}';
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

// The prepositions that come before a German verb's object: "auf jdn.
// warten", "jdn. um etw. bitten".
inline bool IsGermanPreposition(const std::string& word)
{
    return IsOneOf(word, {"an", "auf", "aus", "bei", "f\xFC" "r", "gegen", "in", "mit", "nach", "\xFC" "ber", "um", "von",
                          "vor", "zu", "zwischen", "unter", "durch", "ohne", "hinter", "neben"});
}
