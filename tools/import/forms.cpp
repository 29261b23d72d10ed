#include "forms.h"

#include <algorithm>

#include "ding_words.h"

namespace {

// The words of text outside its brackets, in order.
std::vector<std::string> OuterWords(const std::string& text)
{
    std::vector<std::string> words(1);
    BracketDepth brackets;
    for (char c : text) {
        if (brackets.Outside(c) && c != ' ')
            words.back() += c;
        if ((c == ' ' || IsOpener(c)) && !words.back().empty())
            words.emplace_back();
    }
    if (words.back().empty())
        words.pop_back();
    return words;
}


std::vector<std::string> Synonyms(const std::string& part)
{
    uint64_t empties = 0;
    return SplitSynonyms(part, empties);
}

// Who ding names before a form, "/" between them: "ich/er/sie", "he/she".
struct Persons {
    bool named = false;  // the word is persons at all
    bool first = false;  // with "ich" among others: the preterite's way of naming them
    bool third = false;  // the third person alone: "er/sie", "er/sie/es", "es"
    bool plural = false; // "wir/sie": the preterite's plural
};

Persons PersonsOf(const std::string& word, DictionaryDirection language)
{
    const bool german = language == DictionaryDirection::GermanToEnglish;
    Persons p;
    p.named = EachAlternative(word, [german](const std::string& one) {
        return german ? IsOneOf(one, {"ich", "du", "er", "sie", "es", "wir", "ihr", "Sie", "man"})
                      : IsOneOf(one, {"I", "you", "he", "she", "it", "we", "they", "one"});
    });
    if (!p.named)
        return p;
    const auto has = [&word](const char* one) { return ("/" + word + "/").find(std::string("/") + one + "/") != std::string::npos; };
    p.first = has("ich") && word != "ich";
    p.plural = EachAlternative(word, [](const std::string& one) { return IsOneOf(one, {"wir", "ihr", "sie"}); });
    p.third = !has("ich") && !has("du") && !has("wir") && !has("ihr") && word != "sie";
    return p;
}

// The auxiliaries of the perfect: "er/sie hat/hatte gefunden", "ist/war".
bool IsAuxiliary(const std::string& word)
{
    return IsOneOf(word, {"hat/hatte", "ist/war", "bin/war", "hat", "ist", "sind/waren", "haben/hatten"});
}

// At most this many words follow the persons in a form: the verb, a
// separable prefix, "sich" or an object. More make an example sentence.
constexpr size_t kMostWordsAfterPersons = 3;

// The persons a form part names before its first form, when it is a form
// part at all: a few words, no sentence.
Persons FormPersons(const std::string& part)
{
    const std::vector<std::string> synonyms = Synonyms(part);
    if (synonyms.empty())
        return {};
    const std::vector<std::string> words = OuterWords(synonyms[0]);
    if (words.size() < 2 || words.size() > kMostWordsAfterPersons + 1 || (words.size() > 2 && IsAuxiliary(words[1])))
        return {};
    for (const std::string& word : words) {
        const char last = word.back();
        if (last == '.' || last == '!' || last == '?' || last == ',')
            return {};
    }
    return PersonsOf(words[0], DictionaryDirection::GermanToEnglish);
}


// Whether every synonym of a part passes test on its words outside brackets.
template <typename Test>
bool EverySynonym(const std::string& part, Test test)
{
    const std::vector<std::string> synonyms = Synonyms(part);
    return !synonyms.empty() && std::all_of(synonyms.begin(), synonyms.end(), [&](const std::string& s) {
        const std::vector<std::string> words = OuterWords(s);
        return !words.empty() && test(s, words);
    });
}

// ding's full verb line: the infinitive, the present participle ("-nd"),
// the past participle, then the forms with their persons.
bool HasParticiples(const std::vector<std::string>& german)
{
    return german.size() >= 3 && EverySynonym(german[1], [](const std::string&, const std::vector<std::string>& w) {
               return EndsWith(w.back(), "nd");
           }) && !FormPersons(german[2]).named;
}

// The shorter verb line names no persons: "| sieht; sieht an | sah; sah
// an", the present (the verb ends in -t), then the preterite.
void ShortVerbShape(const std::vector<std::string>& german, std::vector<FormKind>& kinds)
{
    constexpr size_t kPresentPart = 3;
    constexpr size_t kPastPart = 4;
    if (german.size() <= kPastPart || german[kPresentPart] == german[kPastPart])
        return;
    const auto plainVerb = [](const std::string&, const std::vector<std::string>& w) {
        return w.size() <= kMostWordsAfterPersons && !PersonsOf(w[0], DictionaryDirection::GermanToEnglish).named &&
               w.back().back() != '.';
    };
    if (EverySynonym(german[kPresentPart], [&](const std::string& s, const std::vector<std::string>& w) {
            return plainVerb(s, w) && w[0].back() == 't';
        }) &&
        EverySynonym(german[kPastPart], plainVerb)) {
        kinds[kPresentPart] = FormKind::Present;
        kinds[kPastPart] = FormKind::Past;
    }
}

// A verb's forms named with their persons: the first "ich/er/sie" part is
// the preterite ("ich/er/sie ginge" after it, "I/he/she would go", the
// subjunctive), "wir/sie" after it its plural, the first third-person part
// the present; an impersonal verb names "es" twice ("es gilt | es galt").
void PersonsVerbShape(const std::vector<std::string>& german, const std::vector<std::string>& english, size_t from,
                      std::vector<FormKind>& kinds)
{
    bool past = false;
    bool present = false;
    bool impersonal = false; // the present named "es" alone
    for (size_t i = from; i < german.size(); ++i) {
        const Persons p = FormPersons(german[i]);
        const bool onlyEs = german[i].compare(0, 3, "es ") == 0;
        if (p.first && english[i].find("would") != std::string::npos) {
            kinds[i] = FormKind::Subjunctive;
        } else if ((p.first && !past) || (p.plural && past)) {
            kinds[i] = FormKind::Past;
            past = true;
        } else if (p.third && !present) {
            kinds[i] = FormKind::Present;
            present = true;
            impersonal = onlyEs;
        } else if (!past && (p.plural || (!present && (german[i].compare(0, 4, "ich ") == 0 ||
                                                      german[i].compare(0, 3, "du ") == 0)))) {
            // "ich bin", "du isst", "wir sind": the other persons of the
            // present. ding names the first and second before the third, so
            // a "du" after it is the preterite's ("du konntest").
            kinds[i] = FormKind::PresentOther;
        } else if (p.third && impersonal && onlyEs && !past) {
            kinds[i] = FormKind::Past;
            past = true;
        }
    }
}

void VerbKinds(const std::vector<std::string>& german, const std::vector<std::string>& english,
               std::vector<FormKind>& kinds)
{
    const bool participles = HasParticiples(german);
    if (participles) {
        kinds[1] = FormKind::PresentParticiple;
        kinds[2] = FormKind::PastParticiple;
    }
    PersonsVerbShape(german, english, participles ? 3 : 1, kinds);
    if (participles && std::none_of(kinds.begin() + 3, kinds.end(), [](FormKind k) { return k != FormKind::None; }))
        ShortVerbShape(german, kinds);
}

// "gut {adj} | besser | am besten"; some lines give the superlative alone
// ("schlecht; schlimm {adj} | am schlechtesten; am schlimmsten").
void AdjectiveKinds(const std::vector<std::string>& german, std::vector<FormKind>& kinds)
{
    const auto superlative = [&german](size_t part) {
        return german.size() > part && EverySynonym(german[part], [](const std::string&, const std::vector<std::string>& w) {
                   return w.size() == 2 && w[0] == "am" && EndsWith(w[1], "ten");
               });
    };
    const bool comparative = EverySynonym(german[1], [](const std::string&, const std::vector<std::string>& w) {
        return w.size() == 1 && EndsWith(w[0], "er");
    });
    if (comparative)
        kinds[1] = FormKind::Comparative;
    if (superlative(comparative ? 2 : 1))
        kinds[comparative ? 2 : 1] = FormKind::Superlative;
}

bool HasGender(const std::string& synonym)
{
    for (const char* label : {"{m}", "{f}", "{n}", "{m,f}", "{m,n}", "{f,n}"}) {
        if (synonym.find(label) != std::string::npos)
            return true;
    }
    return false;
}

// "Haus {n} | Häuser {pl}": a part of plurals right after a part of nouns;
// each side pairs them with their nouns where it can.
void PluralKinds(const std::vector<std::string>& german, std::vector<FormKind>& kinds)
{
    for (size_t i = 1; i < german.size(); ++i) {
        if (kinds[i] != FormKind::None || kinds[i - 1] != FormKind::None)
            continue;
        const std::vector<std::string> nouns = Synonyms(german[i - 1]);
        const std::vector<std::string> plurals = Synonyms(german[i]);
        if (!nouns.empty() && !plurals.empty() &&
            HasGender(nouns[0]) &&
            std::all_of(plurals.begin(), plurals.end(),
                        [](const std::string& s) { return s.find("{pl}") != std::string::npos; }))
            kinds[i] = FormKind::Plural;
    }
}

bool IsObjectOf(const std::string& word, DictionaryDirection language)
{
    return IsObjectWord(language, word) || (language == DictionaryDirection::GermanToEnglish && IsReflexivePronoun(word));
}

} // namespace

const char* FormName(FormKind kind)
{
    switch (kind) {
    case FormKind::PresentParticiple:
        return "present participle";
    case FormKind::PastParticiple:
        return "past participle";
    case FormKind::Present:
    case FormKind::PresentOther:
        return "present";
    case FormKind::Past:
        return "past";
    case FormKind::Subjunctive:
        return "subjunctive";
    case FormKind::Plural:
        return "plural";
    case FormKind::Comparative:
        return "comparative";
    case FormKind::Superlative:
        return "superlative";
    case FormKind::None:
        break;
    }
    return "form";
}

std::vector<FormKind> FormKindsOf(const std::vector<std::string>& germanParts,
                                  const std::vector<std::string>& englishParts)
{
    std::vector<FormKind> kinds(germanParts.size(), FormKind::None);
    if (germanParts.size() < 2 || englishParts.size() != germanParts.size())
        return kinds;
    if (germanParts[0].find("{v") != std::string::npos)
        VerbKinds(germanParts, englishParts, kinds);
    else if (germanParts[0].find("{adj}") != std::string::npos || germanParts[0].find("{adv}") != std::string::npos)
        AdjectiveKinds(germanParts, kinds);
    PluralKinds(germanParts, kinds);
    return kinds;
}

size_t BasePartOf(const std::vector<FormKind>& kinds, size_t index)
{
    return kinds[index] == FormKind::Plural ? index - 1 : 0;
}

std::string WithoutPersons(const std::string& text, DictionaryDirection language)
{
    std::string out;
    for (const std::string& synonym : Synonyms(text)) {
        const size_t blank = synonym.find(' ');
        const bool persons =
            blank != std::string::npos && PersonsOf(synonym.substr(0, blank), language).named;
        AppendSynonym(out, persons ? synonym.substr(blank + 1) : synonym);
    }
    return out;
}

std::string BaseWord(const std::string& synonym, DictionaryDirection language)
{
    // "to forgive sb. (for sth.), to pardon sb.": the first of the two.
    std::vector<std::string> words = OuterWords(synonym);
    for (size_t i = 0; i < words.size(); ++i) {
        if (words[i].back() == ',') {
            words[i].pop_back();
            words.resize(i + (words[i].empty() ? 0 : 1));
            break;
        }
    }
    const bool german = language == DictionaryDirection::GermanToEnglish;
    std::vector<std::string> kept;
    for (size_t i = 0; i < words.size(); ++i) {
        // ding's "#BE_make#" marks a spelling for its own tools; "/Zi./" is
        // an abbreviation of the word.
        // "bad ~worse" names the comparative after a tilde.
        const bool abbreviation = words[i].size() >= 3 && words[i].front() == '/' && words[i].back() == '/';
        const bool comparison = words[i].size() >= 2 && words[i].front() == '~';
        if (IsObjectOf(words[i], language) || words[i].find('#') != std::string::npos || abbreviation || comparison ||
            (!german && i == 0 && words[i] == "to" && words.size() > 1))
            continue;
        // "auf jdn. warten": the preposition goes with its object.
        if (german && IsGermanPreposition(words[i]) && i + 1 < words.size() && IsObjectOf(words[i + 1], language)) {
            ++i;
            continue;
        }
        kept.push_back(words[i]);
    }
    return JoinWords(kept.empty() ? words : kept);
}

size_t BaseIndexOf(const std::vector<std::string>& bases, size_t formIndex, size_t formCount, const std::string& form,
                   DictionaryDirection language)
{
    if (bases.empty())
        return kNoBase;
    if (bases.size() == 1 || bases.size() >= formCount)
        return bases.size() == 1 ? 0 : formIndex;
    const std::string bare = BareForm(WithoutPersons(form, language));
    size_t best = 0;
    size_t bestShared = 0;
    for (size_t i = 0; i < bases.size(); ++i) {
        const std::string word = BaseWord(bases[i], language);
        size_t shared = 0;
        while (shared < word.size() && shared < bare.size() && word[shared] == bare[shared])
            ++shared;
        if (shared > bestShared) {
            best = i;
            bestShared = shared;
        }
    }
    return best;
}

std::vector<std::string> FormAlternatives(const std::string& form)
{
    std::vector<std::string> alternatives;
    size_t begin = 0;
    for (size_t comma = form.find(", "); begin < form.size(); comma = form.find(", ", begin)) {
        const size_t end = comma == std::string::npos ? form.size() : comma;
        const std::string piece = form.substr(begin, end - begin);
        if (piece.empty() || piece.find_first_of(" ()[]{}") != std::string::npos)
            return {form};
        alternatives.push_back(piece);
        begin = end == form.size() ? end : end + 2;
    }
    return alternatives.empty() ? std::vector<std::string>{form} : alternatives;
}

std::string FormSource(const std::string& form, FormKind kind, const std::string& base)
{
    return form + " (" + FormName(kind) + " of " + base + ")";
}

std::string BareForm(const std::string& form)
{
    return JoinWords(OuterWords(form));
}

std::string ParticipleOfPerfect(const std::vector<std::string>& germanParts)
{
    for (const std::string& part : germanParts) {
        const std::vector<std::string> words = OuterWords(part.substr(0, part.find(';')));
        if (words.size() == 3 && IsOneOf(words[0], {"er/sie", "er/sie/es", "es"}) &&
            IsOneOf(words[1], {"hat/hatte", "ist/war"}))
            return words[2];
    }
    return std::string();
}

std::vector<std::string> BracedForms(const std::string& englishSynonym, FormKind kind)
{
    if (kind != FormKind::Past && kind != FormKind::PastParticiple)
        return {};
    // The last braces of the synonym that hold "past; participle".
    const size_t open = englishSynonym.rfind('{');
    const size_t close = englishSynonym.find('}', open);
    if (open == std::string::npos || close == std::string::npos)
        return {};
    const std::string inside = englishSynonym.substr(open + 1, close - open - 1);
    const size_t semicolon = inside.find("; ");
    if (semicolon == std::string::npos || inside.find("; ", semicolon + 1) != std::string::npos)
        return {};
    const std::string group =
        kind == FormKind::Past ? inside.substr(0, semicolon) : inside.substr(semicolon + 2);
    std::vector<std::string> forms;
    for (size_t begin = 0; begin < group.size();) {
        size_t end = group.find(", ", begin);
        if (end == std::string::npos)
            end = group.size();
        const std::string form = group.substr(begin, end - begin);
        // One word of small letters: "sawn", not "been able" or a note.
        if (form.empty() || form.find_first_not_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos)
            return {};
        forms.push_back(form);
        begin = end + 2;
    }
    return forms;
}

namespace {

// "daran", "darüber", "dazu": the pronoun that stands in a form for the
// infinitive's "an etw.".
bool IsPronominalAdverb(const std::string& word)
{
    for (const char* da : {"dar", "da"}) {
        const size_t n = std::char_traits<char>::length(da);
        if (word.size() > n && word.compare(0, n, da) == 0 && IsGermanPreposition(word.substr(n)))
            return true;
    }
    return false;
}

// The verb's one word in a form of base: the finite verb comes first ("dachte
// daran"), a participle last ("daran gedacht"); every other word must be
// one of the base's own or stand for its object. Empty where the form
// holds anything else, such as a separable prefix.
std::string VerbWordOf(const std::string& base, FormKind kind, const std::string& form)
{
    const std::vector<std::string> words = OuterWords(form);
    if (words.empty())
        return std::string();
    const bool last = kind == FormKind::PastParticiple || kind == FormKind::PresentParticiple;
    const std::vector<std::string> baseWords = OuterWords(base);
    for (size_t i = 0; i < words.size(); ++i) {
        if (i == (last ? words.size() - 1 : 0))
            continue;
        if (!IsPronominalAdverb(words[i]) && std::find(baseWords.begin(), baseWords.end(), words[i]) == baseWords.end())
            return std::string();
    }
    const std::string& verb = last ? words.back() : words.front();
    return IsOneOf(verb, {"nicht"}) ? std::string() : verb;
}

} // namespace

void FormTable::Add(const std::string& base, FormKind kind, const std::string& form, uint32_t parts)
{
    const std::vector<std::string> verb = OuterWords(BaseWord(base, DictionaryDirection::GermanToEnglish));
    const bool comparison = kind == FormKind::Comparative || kind == FormKind::Superlative;
    // "näher", "am nächsten": an adjective's forms stand alone.
    const std::vector<std::string> words = OuterWords(form);
    const bool alone = words.size() == 1 || (words.size() == 2 && words[0] == "am");
    const std::string word = comparison ? (alone ? JoinWords(words) : std::string()) : VerbWordOf(base, kind, form);
    if (verb.empty() || word.empty())
        return;
    Known& known = forms_[{verb.back(), kind}];
    if (parts > known.parts)
        known = {word, parts};
}

std::string FormTable::Of(const std::string& verb, FormKind kind) const
{
    const auto found = forms_.find({verb, kind});
    return found == forms_.end() ? std::string() : found->second.form;
}
