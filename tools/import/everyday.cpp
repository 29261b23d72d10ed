#include "everyday.h"

#include <algorithm>

#include "ding_words.h"

namespace {

bool IsLetter(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

char Folded(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<char>(c + 0x20);
    return static_cast<char>(c);
}

// Where the blank-separated token at `at` ends when it is an abbreviation
// ("/rm/") or a comparison ("~worse"), words that say nothing of how common
// the text is; else at.
size_t SkippedToken(const std::string& text, size_t at, size_t end)
{
    if (text[at] != '/' && text[at] != '~')
        return at;
    size_t p = at + 1;
    while (p < end && text[p] != ' ')
        ++p;
    return text[at] == '~' || (p - at >= 3 && text[p - 1] == '/') ? p : at;
}

// Calls take(hash) for each word of text[begin, end) outside brackets, the
// hash taken over its letters folded to small letters.
template <typename Take>
void ForEachWord(const std::string& text, size_t begin, size_t end, Take take)
{
    uint64_t hash = kFnvOffsetBasis;
    bool inWord = false;
    BracketDepth brackets;
    for (size_t i = begin; i <= end; ++i) {
        if (i < end && brackets.Depth() == 0 && (i == begin || text[i - 1] == ' '))
            i = SkippedToken(text, i, end);
        const unsigned char c = i < end ? static_cast<unsigned char>(text[i]) : ' ';
        if (brackets.Outside(static_cast<char>(c)) && IsLetter(c)) {
            hash = FnvStep(hash, static_cast<unsigned char>(Folded(c)));
            inWord = true;
        } else if (inWord) {
            take(hash);
            hash = kFnvOffsetBasis;
            inWord = false;
        }
    }
}

// Where the first synonym of a part ends: at its first "; " outside brackets.
size_t FirstSynonymEnd(const std::string& part)
{
    BracketDepth brackets;
    for (size_t i = 0; i < part.size(); ++i) {
        if (brackets.Outside(part[i]) && part[i] == ';')
            return i;
    }
    return part.size();
}

uint32_t CountLabels(const std::string& text)
{
    return static_cast<uint32_t>(std::count(text.begin(), text.end(), '['));
}

// (...) notes after the first word: "Katze {f} (an einem Kran)" narrows the
// sense, "(sich) waschen" does not.
uint32_t NotesAfterFirstWord(const std::string& text)
{
    size_t p = 0;
    BracketDepth brackets;
    while (p < text.size() && !(brackets.Outside(text[p]) && IsLetter(static_cast<unsigned char>(text[p]))))
        ++p;
    // Only round brackets count here: a "(" inside a label's "[...]" still
    // opens a note of its own.
    uint32_t notes = 0;
    int depth = 0;
    for (; p < text.size(); ++p) {
        if (text[p] == '(' && depth++ == 0)
            ++notes;
        else if (text[p] == ')')
            depth = std::max(depth - 1, 0);
    }
    return notes;
}

// 16 times the base-2 logarithm, the fraction taken from the bits below
// the highest: integer arithmetic gives the 32-bit and the 64-bit build
// the same order.
int32_t Log2x16(uint32_t n)
{
    if (n == 0)
        return 0;
    int32_t whole = 0;
    while ((n >> whole) > 1)
        ++whole;
    const uint64_t scaled = (static_cast<uint64_t>(n) << 4) >> whole; // 16 to 31
    return whole * 16 + static_cast<int32_t>(scaled - 16);
}

// A source taken apart into its words and its bracketed notes, in order.
struct Piece {
    std::string text;
    bool note;
};

std::vector<Piece> Pieces(const std::string& source)
{
    std::vector<Piece> pieces;
    size_t p = 0;
    while (p < source.size()) {
        if (source[p] == ' ') {
            ++p;
            continue;
        }
        size_t end = p;
        if (IsOpener(source[p])) {
            end = BracketEnd(source.data(), p, source.size());
            if (end == 0)
                return {}; // an opener left open: no form to build on
            pieces.push_back({source.substr(p, end - p), true});
            p = end;
            continue;
        }
        while (end < source.size() && source[end] != ' ' && !IsOpener(source[end]))
            ++end;
        pieces.push_back({source.substr(p, end - p), false});
        p = end;
    }
    return pieces;
}

// German verbs take their objects before them, with a preposition where
// the verb asks for one: "jdm. etw. geben", "auf jdn. warten". An English
// preposition counts only after an object ("to compare sth. with sth."):
// right after the verb it makes another verb ("to look after sb.").
bool AreObjects(DictionaryDirection d, const std::vector<std::string>& words)
{
    const bool german = d == DictionaryDirection::GermanToEnglish;
    for (size_t i = 0; i < words.size(); ++i) {
        if (IsObjectWord(d, words[i]))
            continue;
        const bool preposition =
            german ? IsGermanPreposition(words[i])
                   : i > 0 && IsOneOf(words[i], {"with", "for", "to", "of", "from", "into", "about", "on", "at",
                                                 "against", "as", "in"});
        if (!preposition || i + 1 >= words.size() || !IsObjectWord(d, words[i + 1]))
            return false;
        ++i;
    }
    return true;
}


// A source's words outside its notes, and where each stands among the
// pieces.
struct SourceWords {
    std::vector<Piece> pieces;
    std::vector<std::string> words;
    std::vector<size_t> wordAt;
};

SourceWords WordsOf(const std::string& source)
{
    SourceWords words{Pieces(source), {}, {}};
    for (size_t i = 0; i < words.pieces.size(); ++i) {
        if (!words.pieces[i].note) {
            words.words.push_back(words.pieces[i].text);
            words.wordAt.push_back(i);
        }
    }
    return words;
}

// The word a reader types, which words move behind it, and whether the
// second form is a verb's.
struct WordFirstPlan {
    size_t head = 0;
    std::vector<std::string> moved;
    bool verb = false;
};

// "der Himmel", "the sky": the noun is the word. A German noun is written
// with a capital.
bool PlanArticleFirst(bool german, const std::vector<std::string>& words, WordFirstPlan& plan)
{
    const unsigned char first = static_cast<unsigned char>(words[1][0]);
    if (german && !(first >= 'A' && first <= 'Z') && first != 0xC4 && first != 0xD6 && first != 0xDC)
        return false;
    plan.head = 1;
    plan.moved.push_back(words[0]);
    return true;
}

// "etw. sehen", "(sich) waschen": the German infinitive comes last, its
// objects before it.
bool PlanGermanVerb(const SourceWords& source, WordFirstPlan& plan)
{
    plan.head = source.words.size() - 1;
    const std::string& infinitive = source.words[plan.head];
    if (!IsSmallGermanWord(infinitive, true) || infinitive.back() != 'n' || source.wordAt[plan.head] == 0)
        return false;
    plan.moved.assign(source.words.begin(), source.words.end() - 1);
    plan.verb = true;
    return AreObjects(DictionaryDirection::GermanToEnglish, plan.moved);
}

// "to see sth.": the English verb follows "to", its objects follow the verb.
bool PlanEnglishVerb(const SourceWords& source, WordFirstPlan& plan)
{
    plan.head = 1;
    if (!IsSmallGermanWord(source.words[1], true))
        return false;
    plan.moved.assign(source.words.begin() + 2, source.words.end());
    plan.verb = true;
    return AreObjects(DictionaryDirection::EnglishToGerman, plan.moved);
}

bool PlanWordFirst(DictionaryDirection d, const SourceWords& source, const std::string& verbLabel,
                   WordFirstPlan& plan)
{
    const bool german = d == DictionaryDirection::GermanToEnglish;
    const std::vector<std::string>& words = source.words;
    const bool article = german ? IsOneOf(words[0], {"der", "die", "das"}) : words[0] == "the";
    if (words.size() == 2 && article)
        return PlanArticleFirst(german, words, plan);
    if (!verbLabel.empty() && german)
        return PlanGermanVerb(source, plan);
    if (!verbLabel.empty() && words.size() >= 2 && words[0] == "to" && source.wordAt[0] == 0)
        return PlanEnglishVerb(source, plan);
    // "(großer) Wald {m}": a note before the word hides it from the search.
    return words.size() == 1 && source.wordAt[0] > 0;
}

// The word, what moved in brackets behind it, the notes that stood before
// it, the verb's label where one is due, then the notes that stood after it.
std::string WordFirstText(const SourceWords& source, const WordFirstPlan& plan, const std::string& label)
{
    std::string out = source.words[plan.head];
    if (!plan.moved.empty())
        out += " (" + JoinWords(plan.moved) + ")";
    const size_t headAt = source.wordAt[plan.head];
    for (size_t i = 0; i < headAt; ++i) {
        if (source.pieces[i].note)
            out += " " + source.pieces[i].text;
    }
    if (!label.empty())
        out += " " + label;
    for (size_t i = headAt + 1; i < source.pieces.size(); ++i) {
        if (source.pieces[i].note)
            out += " " + source.pieces[i].text;
    }
    return out;
}

} // namespace

// Open addressing over the words' 64-bit hashes: two words that share a
// hash share a count, which at a few hundred thousand words happens about
// never and would only blur one count.
void WordCounts::AddText(const std::string& text)
{
    ForEachWord(text, 0, text.size(), [this](uint64_t hash) { ++*Slot(hash); });
}

uint32_t WordCounts::Of(uint64_t hash) const
{
    if (slots_.empty())
        return 0;
    const size_t mask = slots_.size() - 1;
    for (size_t i = static_cast<size_t>(hash) & mask;; i = (i + 1) & mask) {
        if (slots_[i].count == 0)
            return 0;
        if (slots_[i].hash == hash)
            return slots_[i].count;
    }
}

uint32_t* WordCounts::Slot(uint64_t hash)
{
    if ((used_ + 1) * 2 > slots_.size()) {
        std::vector<Entry> old(std::max<size_t>(slots_.size() * 2, 1u << 16));
        old.swap(slots_);
        used_ = 0;
        for (const Entry& entry : old) {
            if (entry.count != 0)
                *Slot(entry.hash) = entry.count;
        }
    }
    const size_t mask = slots_.size() - 1;
    size_t i = static_cast<size_t>(hash) & mask;
    while (slots_[i].count != 0 && slots_[i].hash != hash)
        i = (i + 1) & mask;
    if (slots_[i].count == 0) {
        slots_[i].hash = hash;
        ++used_;
    }
    return &slots_[i].count;
}

EntrySigns SignsOf(const std::string& source, const std::string& translationPart)
{
    EntrySigns signs;
    signs.sourceLabels = CountLabels(source);
    signs.sourceNotes = NotesAfterFirstWord(source);
    const std::string firstTranslation = translationPart.substr(0, FirstSynonymEnd(translationPart));
    signs.translationLabels = CountLabels(firstTranslation);
    signs.translationNotes = NotesAfterFirstWord(firstTranslation);
    return signs;
}

uint32_t Commonness(const std::string& translation, const WordCounts& counts)
{
    uint32_t least = 0xFFFFFFFFu;
    ForEachWord(translation, 0, FirstSynonymEnd(translation),
                [&](uint64_t hash) { least = std::min(least, counts.Of(hash)); });
    return least == 0xFFFFFFFFu ? 0 : least;
}

int32_t EverydayScore(const EntrySigns& signs, uint32_t commonness)
{
    using namespace EverydayWeights;
    const auto capped = [](uint32_t n, uint32_t most) { return static_cast<int32_t>(std::min(n, most)); };
    int32_t score = kPerDoubledParts * std::min(Log2x16(signs.parts), Log2x16(kMostPartsCounted)) / 16;
    score -= signs.synonymIndex > 0 ? kLaterSynonym + kPerSynonymBefore * capped(signs.synonymIndex, kMostSynonymsBefore)
                                    : 0;
    score -= signs.partIndex > 0 ? kLaterPart : 0;
    score -= kPerSourceLabel * capped(signs.sourceLabels, kMostLabelsOrNotes);
    score -= kPerSourceNote * capped(signs.sourceNotes, kMostLabelsOrNotes);
    score -= kPerTranslationLabel * capped(signs.translationLabels, kMostLabelsOrNotes);
    score -= kPerTranslationNote * capped(signs.translationNotes, kMostLabelsOrNotes);
    score += kPerDoubledCommonness * Log2x16(commonness + 1) / 16;
    score += signs.formOfAnotherWord ? kFormOfAnotherWord : 0;
    score += signs.pastForm ? kPastBeforeParticiple : 0;
    score -= signs.secondPerson ? kSecondPerson : 0;
    score -= signs.derivedForm ? kDerivedForm : 0;
    return score;
}

std::string VerbLabel(const std::string& germanPart)
{
    for (size_t at = germanPart.find("{v"); at != std::string::npos; at = germanPart.find("{v", at + 2)) {
        const size_t close = germanPart.find('}', at);
        if (close != std::string::npos && close - at <= 3 &&
            germanPart.find_first_not_of("itr", at + 2) == close)
            return germanPart.substr(at, close - at + 1);
    }
    return std::string();
}

bool WordFirstForm(DictionaryDirection d, const std::string& source, const std::string& verbLabel, std::string& out,
                   bool& narrowed)
{
    const SourceWords words = WordsOf(source);
    WordFirstPlan plan;
    if (words.words.empty() || !PlanWordFirst(d, words, verbLabel, plan))
        return false;
    // A note before the word, "sich" or a preposition's object make a
    // narrower sense than the word alone: "(großer) Wald", "sich geben",
    // "um etw. gehen".
    narrowed = words.wordAt[plan.head] > plan.head;
    for (const std::string& word : plan.moved)
        narrowed = narrowed || word == "sich" || !IsObjectWord(d, word);
    const bool german = d == DictionaryDirection::GermanToEnglish;
    std::string label;
    if (plan.verb && german && source.find("{v") == std::string::npos)
        label = verbLabel;
    if (plan.verb && !german)
        label = "{v}";
    out = WordFirstText(words, plan, label);
    return true;
}
