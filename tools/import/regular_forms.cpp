#include "regular_forms.h"

#include <algorithm>

#include "ding_words.h"
#include "transliterate.h"

namespace {

// One word of small letters, accented ones too ("flambé"): what a rule
// may be applied to. Wider than IsSmallGermanWord, as English borrows.
bool IsPlainWord(const std::string& word)
{
    const auto small = [](char c) {
        const unsigned char u = static_cast<unsigned char>(c);
        return (u >= 'a' && u <= 'z') || u == 0xDF || (u >= 0xE0 && u <= 0xFE && u != 0xF7);
    };
    return word.size() >= 2 && std::all_of(word.begin(), word.end(), small);
}

bool IsVowel(char c)
{
    return c == 'a' || c == 'e' || c == 'i' || c == 'o' || c == 'u';
}

// English doubles a final consonant after a single vowel ("stop",
// "big") only where the syllable is stressed; the list decides, so both
// spellings are offered, the doubled one first for a short word.
std::vector<std::string> WithEnding(const std::string& word, const char* ending)
{
    const size_t n = word.size();
    const char last = word[n - 1];
    if (last == 'e')
        return {word + (ending + 1)};
    if (last == 'y' && !IsVowel(word[n - 2]))
        return {word.substr(0, n - 1) + "i" + ending};
    const bool singleVowelBefore = n >= 3 && IsVowel(word[n - 2]) && !IsVowel(word[n - 3]);
    if (singleVowelBefore && !IsVowel(last) && last != 'w' && last != 'x' && last != 'y') {
        const std::string doubled = word + last + ending;
        const std::string plain = word + ending;
        return n <= 4 ? std::vector<std::string>{doubled, plain} : std::vector<std::string>{plain, doubled};
    }
    return {word + ending};
}

} // namespace

void KnownWords::AddList(const std::string& utf8Lines)
{
    FixCounts unused;
    std::string word;
    for (size_t begin = 0; begin < utf8Lines.size();) {
        size_t end = utf8Lines.find('\n', begin);
        if (end == std::string::npos)
            end = utf8Lines.size();
        const size_t last = end > begin && utf8Lines[end - 1] == '\r' ? end - 1 : end;
        word.clear();
        AppendWindows1252(utf8Lines, begin, last, word, unused);
        if (!word.empty())
            words_.insert(word);
        begin = end + 1;
    }
}

std::vector<std::string> GermanRegularPast(const std::string& infinitive)
{
    if (!IsPlainWord(infinitive) || infinitive.size() < 4)
        return {};
    // "sammeln", "ändern": the stem keeps its "e".
    if (EndsWith(infinitive, "eln") || EndsWith(infinitive, "ern"))
        return {infinitive.substr(0, infinitive.size() - 1) + "te"};
    if (!EndsWith(infinitive, "en"))
        return {};
    const std::string stem = infinitive.substr(0, infinitive.size() - 2);
    // "arbeiten", "reden", "atmen", "rechnen" need an "e" to be spoken;
    // "lernen", "filmen" and "wohnen", with l, r or a vowel's h before the
    // m or n, do not.
    const size_t n = stem.size();
    const char last = stem[n - 1];
    const char before = stem[n - 2];
    const bool vowelH = before == 'h' && (n < 3 || stem[n - 3] != 'c');
    const bool needsE = last == 't' || last == 'd' ||
                        ((last == 'm' || last == 'n') && !IsVowel(before) && before != 'l' && before != 'r' && !vowelH);
    return needsE ? std::vector<std::string>{stem + "ete", stem + "te"}
                  : std::vector<std::string>{stem + "te", stem + "ete"};
}

std::vector<std::string> EnglishRegularPast(const std::string& verb)
{
    return IsPlainWord(verb) ? WithEnding(verb, "ed") : std::vector<std::string>{};
}

std::vector<std::string> EnglishRegularComparison(const std::string& adjective, FormKind kind)
{
    if (!IsPlainWord(adjective) || (kind != FormKind::Comparative && kind != FormKind::Superlative))
        return {};
    return WithEnding(adjective, kind == FormKind::Comparative ? "er" : "est");
}

std::string AttributiveSuperlative(const std::string& superlative)
{
    if (superlative.compare(0, 3, "am ") != 0)
        return std::string();
    const std::string word = superlative.substr(3);
    return IsPlainWord(word) && EndsWith(word, "ten") ? word.substr(0, word.size() - 1) : std::string();
}

bool SplitSeparablePrefix(const std::string& verb, std::string& prefix, std::string& rest)
{
    // Longest first, so that "heraus" is not taken for "her".
    static const char* const kPrefixes[] = {"zusammen", "zur\xFC" "ck", "herein", "heraus", "hinaus", "vorbei",
                                            "weiter", "voran", "fest", "fort", "nach", "auf", "aus", "bei",
                                            "ein", "her", "hin", "los", "mit", "vor", "weg", "ab", "an", "zu"};
    if (!IsPlainWord(verb))
        return false;
    for (const char* candidate : kPrefixes) {
        const std::string p(candidate);
        if (verb.size() >= p.size() + 4 && verb.compare(0, p.size(), p) == 0 && EndsWith(verb, "n")) {
            prefix = p;
            rest = verb.substr(p.size());
            return true;
        }
    }
    return false;
}

std::string WithSeparablePrefix(const std::string& prefix, const std::string& restForm, FormKind kind)
{
    if (kind == FormKind::PastParticiple || kind == FormKind::PresentParticiple)
        return prefix + restForm;
    return restForm + " " + prefix;
}

std::string FirstKnown(const std::vector<std::string>& candidates, const KnownWords& words)
{
    for (const std::string& candidate : candidates) {
        if (words.Holds(candidate))
            return candidate;
    }
    return std::string();
}
