#include "strong_verbs.h"

#include <algorithm>
#include <climits>
#include <set>

#include "data/strongs_list.h"
#include "ding_words.h"

namespace {

using Item = std::vector<std::string>; // the words of one synonym or form
using Part = std::vector<Item>;


// A part's items: split at ";" outside brackets, each without its
// bracketed notes and split into words.
Part Items(const std::string& part)
{
    Part items(1);
    std::string word;
    BracketDepth depth;
    const auto endWord = [&] {
        if (!word.empty())
            items.back().push_back(word);
        word.clear();
    };
    for (char c : part) {
        // ding's <...> hides a text from the search; it is no form either.
        const char bracket = c == '<' ? '(' : c == '>' ? ')' : c;
        if (IsOpener(bracket))
            endWord();
        if (!depth.Outside(bracket))
            continue;
        if (c == ';') {
            endWord();
            items.emplace_back();
        } else if (c == ' ') {
            endWord();
        } else {
            word += c;
        }
    }
    endWord();
    items.erase(std::remove_if(items.begin(), items.end(), [](const Item& item) { return item.empty(); }), items.end());
    return items;
}

// "etw.", "jdn./etw.", "sich", "uns": the objects and reflexives a verb is
// written with, "/" between alternatives of either kind ("mich/dich").
bool IsObject(const std::string& word)
{
    return EachAlternative(word, [](const std::string& one) {
        return IsObjectWord(DictionaryDirection::GermanToEnglish, one) || IsReflexivePronoun(one);
    });
}

// Without the objects and the prepositions that take them: "jdn. um etw.
// bitten" is "bitten", "sich geeignet" is "geeignet".
Item WithoutObjects(const Item& words)
{
    Item kept;
    for (size_t i = 0; i < words.size(); ++i) {
        if (IsObject(words[i]))
            continue;
        if (IsGermanPreposition(words[i]) && i + 1 < words.size() && IsObject(words[i + 1])) {
            ++i;
            continue;
        }
        kept.push_back(words[i]);
    }
    return kept;
}

// The one word of a form, or nothing.
std::string SingleForm(const Item& words)
{
    return words.size() == 1 && IsSmallGermanWord(words[0], false) ? words[0] : std::string();
}

// The words of a form that are the verb's: without its objects, without
// the words the infinitive has besides its verb ("logisch gedacht" of
// "logisch denken"), without the "daran" that stands for the infinitive's
// "an etw." and without a "nicht" ("war nicht").
Item FormWords(const Item& form, const Item& infinitive)
{
    Item extra = {"nicht"};
    const Item words = WithoutObjects(infinitive);
    for (const std::string& word : infinitive) {
        if (!words.empty() && word == words.back())
            continue; // the verb itself: "vergessen", "vergessen"
        extra.push_back(word);
        if (IsGermanPreposition(word))
            extra.push_back((std::string("aeiou\xFC").find(word[0]) != std::string::npos ? "dar" : "da") + word);
    }
    Item kept;
    for (const std::string& word : WithoutObjects(form)) {
        if (std::find(extra.begin(), extra.end(), word) == extra.end())
            kept.push_back(word);
    }
    return kept;
}

// "ich/er/sie", "ich/sie", "er/sie/es", "es": the persons ding names
// before a form, "/" between them. A preterite names the first person with
// the third, as they share its form; "ich" alone is the present's.
bool IsPersons(const std::string& word, bool withFirstPerson)
{
    bool first = false;
    size_t pieces = 0;
    size_t begin = 0;
    while (begin <= word.size()) {
        size_t end = word.find('/', begin);
        if (end == std::string::npos)
            end = word.size();
        const std::string one = word.substr(begin, end - begin);
        if (!IsOneOf(one, {"ich", "er", "sie", "es"}))
            return false;
        first = first || one == "ich";
        ++pieces;
        begin = end + 1;
    }
    return withFirstPerson ? first && pieces > 1 : !first;
}

// A preterite is named with the first person ("ich/er/sie fand"), the
// present and the perfect with the third alone ("er/sie findet").
bool StartsWithPersons(const Item& item, bool withFirstPerson)
{
    return item.size() >= 2 && IsPersons(item[0], withFirstPerson);
}

// Which parts of a verb's line hold the preterite and the perfect, -1
// where it has none.
struct Shape {
    int preterite = -1;
    int perfect = -1;
    bool persons = false; // whether the forms are named with their persons
};

Shape ShapeOf(const std::vector<Part>& parts)
{
    Shape shape;
    std::vector<int> present; // third-person parts that are not the perfect
    for (size_t i = 3; i < parts.size(); ++i) {
        const Part& items = parts[i];
        if (items.empty())
            continue;
        const bool thirdPerson = std::all_of(items.begin(), items.end(),
                                             [](const Item& item) { return StartsWithPersons(item, false); });
        if (shape.preterite < 0 && StartsWithPersons(items[0], true)) {
            shape.preterite = static_cast<int>(i);
            shape.persons = true;
        } else if (thirdPerson && IsOneOf(items[0][1], {"hat/hatte", "ist/war"})) {
            if (shape.perfect < 0)
                shape.perfect = static_cast<int>(i);
        } else if (thirdPerson) {
            present.push_back(static_cast<int>(i));
        }
    }
    // Impersonal verbs: "es gilt | es galt".
    if (shape.preterite < 0 && present.size() >= 2) {
        shape.preterite = present[1];
        shape.persons = true;
    }
    // The short shape names no persons: "| beginnt; fängt an | begann;
    // fing an", the present, then the preterite.
    if (shape.preterite < 0 && parts.size() >= 5 && !parts[3].empty() && !parts[4].empty()) {
        const std::string& now = parts[3][0][0];
        const std::string& then = parts[4][0][0];
        if (now.back() == 't' && then != now && !IsPersons(now, false) && !IsPersons(then, false) &&
            !IsPersons(then, true))
            shape.preterite = 4;
    }
    return shape;
}

// The stem a weak verb forms its past on: "kaufen" "kauf", "wandern"
// "wander", "tun" "tu".
std::string Stem(const std::string& infinitive)
{
    const size_t n = infinitive.size();
    if (n > 3 && infinitive.compare(n - 2, 2, "en") == 0)
        return infinitive.substr(0, n - 2);
    return infinitive.substr(0, n - 1);
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Whether b is a with one letter more or less: the slips that turn a
// weak form into something else ("richtetet", "geherscht"). A strong form
// differs from the weak one by more than that ("brannte", "brennte";
// "gebacken", "gebackt").
bool OneLetterApart(const std::string& a, const std::string& b)
{
    const std::string& longer = a.size() > b.size() ? a : b;
    const std::string& shorter = a.size() > b.size() ? b : a;
    if (longer.size() != shorter.size() + 1)
        return false;
    size_t i = 0;
    while (i < shorter.size() && shorter[i] == longer[i])
        ++i;
    return longer.compare(i + 1, std::string::npos, shorter, i, std::string::npos) == 0;
}

// Formed with -te/-t from the stem, or one slip away from it: "kaufte",
// "arbeitete" (and the plurals "kauften"); "gekauft", "gearbeitet",
// "verkauft".
bool IsWeakFrom(const std::string& stem, const std::string& form, bool participle)
{
    for (const std::string& ending : {std::string("t"), std::string("et")}) {
        const std::string weak = stem + ending + (participle ? "" : "e");
        if (participle) {
            for (size_t tail : {weak.size(), weak.size() - 1, weak.size() + 1}) {
                if (form.size() < tail)
                    continue;
                const std::string end = form.substr(form.size() - tail);
                if (end == weak || OneLetterApart(end, weak))
                    return true;
            }
        } else if (form == weak || form == weak + "n" || OneLetterApart(form, weak)) {
            return true;
        }
    }
    return false;
}

// The prefixes that make a new verb of another: "ver" + "stehen",
// "an" + "kommen". A verb made so has its own row only where the other
// verb has none ("verlieren", "vergessen", "empfehlen"); a separable one
// shows its prefix in its preterite ("wich aus").
const std::initializer_list<const char*> kPrefixes = {
    "ab", "an", "auf", "aus", "be", "bei", "dar", "durch", "ein", "emp", "ent", "er", "fort", "ge", "her", "hin",
    "los", "miss", "mit", "nach", "\xFC" "ber", "um", "unter", "ver", "vor", "weg", "wider", "wieder", "zer", "zu",
    "zur\xFC" "ck", "zusammen", "hinter", "voll", "fest", "heim", "hoch", "nieder", "weiter", "empor", "entgegen",
    "davon", "dazu", "herab", "heran", "herauf", "heraus", "herein", "herum", "herunter", "hervor", "hinauf",
    "hinaus", "hinein", "hinunter", "vorbei", "voran", "voraus", "raus", "rein", "rauf", "runter", "r\xFC" "ber"};

bool IsPrefix(const std::string& word)
{
    return IsOneOf(word, kPrefixes);
}

// Whether a form is weak, the verb taken whole or without what it begins
// with: a separable verb's preterite stands without its prefix
// ("baggerte" of "ausbaggern"), its participle takes "ge" after it
// ("ausgebaggert", "wertgeschätzt").
bool IsWeak(const std::string& infinitive, const std::string& form, bool participle)
{
    if (IsWeakFrom(Stem(infinitive), form, participle))
        return true;
    for (size_t n = 2; n + 4 <= infinitive.size(); ++n) {
        const std::string front = infinitive.substr(0, n);
        const bool split = participle ? form.compare(0, n, front) == 0 : IsPrefix(front);
        if (split && IsWeakFrom(Stem(infinitive.substr(n)), participle ? form.substr(n) : form, participle))
            return true;
    }
    return false;
}

// Whether a preterite begins as a form of the infinitive does ("fand" of
// "finden", "verlor" of "verlieren", "aß" of "essen") or as the participle
// after its "ge" ("war", "gewesen"): where it does not, a line has put one
// verb's form beside another's.
bool BeginAlike(const std::string& infinitive, const std::string& preterite, const std::string& participle)
{
    const auto vowel = [](char c) { return std::string("aeiou\xE4\xF6\xFC").find(c) != std::string::npos; };
    if (preterite[0] == infinitive[0] || (participle.compare(0, 2, "ge") == 0 && participle[2] == preterite[0]))
        return true;
    for (const char* prefix : kPrefixes) {
        const size_t n = std::char_traits<char>::length(prefix);
        if (infinitive.compare(0, n, prefix) == 0 && infinitive.size() > n + 3)
            return infinitive[n] == preterite[0];
    }
    return vowel(infinitive[0]) && vowel(preterite[0]);
}

// Alphabetical as a German reader expects: "ä" with "a", "ß" as "ss".
std::string SortKey(const std::string& word)
{
    std::string key;
    for (char c : word) {
        switch (static_cast<unsigned char>(c)) {
        case 0xE4:
            key += 'a';
            break;
        case 0xF6:
            key += 'o';
            break;
        case 0xFC:
            key += 'u';
            break;
        case 0xDF:
            key += "ss";
            break;
        default:
            key += c;
        }
    }
    return key + '\x01' + word;
}

// Alternatives in one column, "backte/buk", where they fit with a blank to
// spare before the next column; else the first irregular one, the form
// the list is there for ("gespalten" rather than "gespaltet").
std::string Column(const std::vector<std::string>& forms, const std::string& infinitive, bool participle)
{
    std::string joined;
    for (const std::string& form : forms)
        joined += (joined.empty() ? "" : "/") + form;
    if (joined.size() < kStrongsColumnBytes)
        return joined;
    for (const std::string& form : forms) {
        if (!IsWeak(infinitive, form, participle))
            return form;
    }
    return forms.front();
}

// The English meaning as ding gives it, its first synonym without the forms
// in braces and the labels: "to find {found; found}" is "to find".
std::string Meaning(const std::string& englishPart)
{
    std::string meaning;
    BracketDepth depth;
    for (char c : englishPart) {
        // A closer with nothing open is text: "/:-)/".
        const bool nothingOpen = depth.Depth() == 0;
        if (!depth.Outside(c) && !(IsCloser(c) && nothingOpen))
            continue;
        if (c == ';')
            break;
        if (!(c == ' ' && (meaning.empty() || meaning.back() == ' ')))
            meaning += c;
    }
    while (!meaning.empty() && meaning.back() == ' ')
        meaning.pop_back();
    // The blank a note leaves before a comma: "to forgive sb. (for sth.), ..."
    for (size_t at = meaning.find(" ,"); at != std::string::npos; at = meaning.find(" ,", at))
        meaning.erase(at, 1);
    return meaning;
}

} // namespace

// Where the participle part and the perfect of one line disagree
// ("gewissen", "hat/hatte gewusst"), the perfect is the form ding shows in
// use.
std::vector<std::string> StrongVerbs::ParticiplesOf(const Forms& forms)
{
    return forms.perfects.empty() ? forms.participles : forms.perfects;
}

void StrongVerbs::AddLine(const std::vector<std::string>& german, const std::vector<std::string>& english)
{
    if (german.empty() || german[0].find("{v") == std::string::npos)
        return;
    std::vector<Part> parts;
    for (const std::string& part : german)
        parts.push_back(Items(part));
    const std::string meaning = Meaning(english[0]);
    const uint32_t partCount = static_cast<uint32_t>(german.size());
    // Any line that names a verb tells a meaning of it, forms or not.
    for (size_t i = 0; i < parts[0].size(); ++i) {
        const std::string verb = SingleForm(WithoutObjects(parts[0][i]));
        if (!verb.empty() && !meaning.empty()) {
            Forms named;
            named.meaning = meaning;
            named.parts = partCount;
            named.leads = i == 0;
            verbs_[verb].meanings.push_back(named);
        }
    }
    if (german.size() < 3)
        return;
    for (size_t verb = 0; verb < parts[0].size(); ++verb)
        AddForms(parts, verb, meaning, partCount);
}

void StrongVerbs::AddForms(const std::vector<Part>& parts, size_t verb, const std::string& meaning, uint32_t partCount)
{
    const Shape shape = ShapeOf(parts);
    const Item& infinitiveItem = parts[0][verb];
    const std::string infinitive = SingleForm(WithoutObjects(infinitiveItem));
    if (infinitive.size() < 3 || infinitive.back() != 'n')
        return;

    // Each later part lists the forms of the first part's verbs in their
    // order, or those of the first verb alone; a verb alone may have two
    // forms ("ich/er/sie backte; ich/er/sie buk").
    const size_t verbs = parts[0].size();
    const auto formsIn = [&](const Part& items, size_t skip) {
        // skip: the words before the form, the persons and the auxiliary of
        // the perfect ("er/sie hat/hatte gefunden"), where the item names
        // them.
        std::vector<const Item*> picked;
        if (items.size() == verbs) {
            picked.push_back(&items[verb]);
        } else if (verb == 0 && verbs > 1 && !items.empty() && shape.persons) {
            // "ich/er/sie hielt" after "halten; bereithalten": the full
            // forms of the first verb. Without the persons a lone form may
            // be anyone's.
            picked.push_back(&items[0]);
        } else if (verbs == 1) {
            for (const Item& item : items)
                picked.push_back(&item);
        }
        std::vector<Item> forms;
        for (const Item* item : picked) {
            const bool persons = IsPersons((*item)[0], true) || IsPersons((*item)[0], false);
            const size_t named = persons && item->size() > skip ? skip : 0;
            forms.push_back(FormWords(Item(item->begin() + static_cast<std::ptrdiff_t>(named), item->end()), infinitiveItem));
        }
        forms.erase(std::remove_if(forms.begin(), forms.end(), [](const Item& f) { return f.empty(); }), forms.end());
        return forms;
    };
    const auto single = [](const std::vector<Item>& forms, std::vector<std::string>& out) {
        out.clear();
        for (const Item& form : forms) {
            if (SingleForm(form).empty())
                return false;
            if (std::find(out.begin(), out.end(), form[0]) == out.end())
                out.push_back(form[0]); // "war; war nicht" is one form
        }
        return !out.empty();
    };

    // The present participle shows whose forms these are: "findend" is
    // the form of "finden" and of nothing else ("tuend" of "tun").
    std::vector<std::string> present;
    if (!single(formsIn(parts[1], 0), present) ||
        std::any_of(present.begin(), present.end(),
                    [&](const std::string& f) { return f != infinitive + "d" && f != Stem(infinitive) + "end"; }))
        return;
    Forms forms;
    forms.meaning = meaning;
    forms.parts = partCount;
    forms.leads = verb == 0;
    if (!single(formsIn(parts[2], 0), forms.participles))
        return;
    if (shape.perfect >= 0)
        single(formsIn(parts[static_cast<size_t>(shape.perfect)], 2), forms.perfects);
    // Every line that gives the verb's participle counts, with a preterite
    // or without one.
    for (const std::string& participle : ParticiplesOf(forms))
        ++verbs_[infinitive].participleVotes[participle];
    if (shape.preterite < 0)
        return;
    const std::vector<Item> preterites = formsIn(parts[static_cast<size_t>(shape.preterite)], 1);
    if (single(preterites, forms.preterites)) {
        // A preterite that is the present ("regiert" where "regierte" was
        // meant) or the participle, or that begins unlike the participle,
        // shows a slip in the line.
        for (const std::string& preterite : forms.preterites) {
            if (preterite == Stem(infinitive) + "t" || preterite == Stem(infinitive) + "et" ||
                std::find(forms.participles.begin(), forms.participles.end(), preterite) != forms.participles.end() ||
                !BeginAlike(infinitive, preterite, forms.participles.front()))
                return;
        }
        verbs_[infinitive].own.push_back(forms);
        return;
    }

    // A separable verb's forms are those of the verb it is made of:
    // "ausweichen", "wich aus", "ausgewichen" tell "wich", "gewichen".
    forms.preterites.clear();
    std::string prefix;
    for (const Item& preterite : preterites) {
        if (preterite.size() != 2 || !IsSmallGermanWord(preterite[0], false) || !IsPrefix(preterite[1]) ||
            (!prefix.empty() && preterite[1] != prefix))
            return;
        prefix = preterite[1];
        forms.preterites.push_back(preterite[0]);
    }
    if (prefix.empty() || infinitive.compare(0, prefix.size(), prefix) != 0)
        return;
    const std::string base = infinitive.substr(prefix.size());
    for (std::vector<std::string>* participles : {&forms.participles, &forms.perfects}) {
        for (std::string& participle : *participles) {
            if (participle.compare(0, prefix.size(), prefix) != 0)
                return;
            participle.erase(0, prefix.size());
        }
    }
    for (const std::string& preterite : forms.preterites) {
        if (!BeginAlike(base, preterite, forms.participles.front()))
            return;
    }
    forms.meaning.clear();
    verbs_[base].compounds.push_back(forms);
}

std::vector<std::string> StrongVerbs::Infinitives() const
{
    std::vector<std::string> infinitives;
    for (const auto& entry : verbs_)
        infinitives.push_back(entry.first);
    return infinitives;
}

std::string StrongVerbs::Records(const WordCounts& englishWords, const std::map<std::string, std::string>& firstRows,
                                 StrongVerbStats& stats) const
{
    struct Row {
        std::string infinitive;
        std::vector<std::string> preterites;
        std::vector<std::string> participles;
        std::string meaning;
        uint32_t parts;
        std::string columns[3];
    };
    std::vector<Row> strong;
    for (const auto& entry : verbs_) {
        const std::string& infinitive = entry.first;
        const Verb& verb = entry.second;
        // The verb's own lines, or for want of them those of its separable
        // compounds; of these its main line: one that the verb leads, with
        // most to say. A line that names it after another verb may give
        // that verb's forms ("auf etw. bestehen; dringen ... | bestand;
        // drängte").
        const std::vector<Forms>& lines = verb.own.empty() ? verb.compounds : verb.own;
        if (lines.empty())
            continue;
        const Forms* main = &lines.front();
        for (const Forms& forms : lines) {
            if (std::make_pair(forms.leads, forms.parts) > std::make_pair(main->leads, main->parts))
                main = &forms;
        }
        // The meaning is the main line's; a verb known from its compounds
        // alone takes that of the line the dictionary's order would put
        // first among those it leads (else among any that name it).
        std::string meaning;
        std::pair<bool, int32_t> best(false, INT32_MIN);
        for (const Forms& named : verb.meanings) {
            EntrySigns signs;
            signs.parts = named.parts;
            const std::pair<bool, int32_t> rank(named.leads,
                                                EverydayScore(signs, Commonness(named.meaning, englishWords)));
            if (rank > best) {
                best = rank;
                meaning = named.meaning;
            }
        }
        const auto firstRow = firstRows.find(infinitive);
        if (firstRow != firstRows.end() && !Meaning(firstRow->second).empty())
            meaning = Meaning(firstRow->second);
        else if (!main->meaning.empty())
            meaning = main->meaning;
        Row row{infinitive, main->preterites, ParticiplesOf(*main), meaning, main->parts, {}};
        // Strong or mixed: a preterite not formed with -te from the stem,
        // or a participle not formed with -t. A strong participle beside
        // a weak preterite keeps the stem ("backte", "gebacken"); one
        // that does not is a slip or another verb's ("erblasste",
        // "erblichen"; "winkte", "gewunken") and is left out.
        const bool strongPast = std::any_of(row.preterites.begin(), row.preterites.end(),
                                            [&](const std::string& f) { return !IsWeak(infinitive, f, false); });
        // A strong preterite beside a participle formed with -t from the
        // same stem ("erlosch", "erlöscht") is a slip where the verb's
        // lines mostly give another participle ("erloschen").
        if (strongPast && std::all_of(row.participles.begin(), row.participles.end(),
                                      [&](const std::string& f) { return IsWeak(infinitive, f, true); })) {
            const auto most = std::max_element(verb.participleVotes.begin(), verb.participleVotes.end(),
                                               [](const std::pair<const std::string, uint32_t>& a,
                                                  const std::pair<const std::string, uint32_t>& b) {
                                                   return a.second < b.second;
                                               });
            const auto shown = verb.participleVotes.find(row.participles.front());
            if (most != verb.participleVotes.end() && !IsWeak(infinitive, most->first, true) &&
                (shown == verb.participleVotes.end() || most->second > shown->second))
                row.participles = {most->first};
        }
        std::vector<std::string> kept;
        for (const std::string& participle : row.participles) {
            if (strongPast || IsWeak(infinitive, participle, true) || EndsWith(participle, Stem(infinitive) + "en"))
                kept.push_back(participle);
        }
        const bool strongParticiple = std::any_of(kept.begin(), kept.end(),
                                                  [&](const std::string& f) { return !IsWeak(infinitive, f, true); });
        row.participles = kept;
        if ((strongPast || strongParticiple) && !row.meaning.empty())
            strong.push_back(row);
    }

    std::set<std::string> strongSet;
    for (const Row& row : strong)
        strongSet.insert(row.infinitive);
    std::vector<Row> base;
    for (Row& row : strong) {
        bool compound = false;
        for (const char* prefix : kPrefixes) {
            const std::string p = prefix;
            compound = compound || (row.infinitive.size() > p.size() + 2 && row.infinitive.compare(0, p.size(), p) == 0 &&
                                    strongSet.count(row.infinitive.substr(p.size())) != 0);
        }
        row.columns[0] = row.infinitive;
        row.columns[1] = Column(row.preterites, row.infinitive, false);
        row.columns[2] = Column(row.participles, row.infinitive, true);
        if (compound)
            ++stats.compounds;
        else if (std::any_of(std::begin(row.columns), std::end(row.columns),
                             [](const std::string& c) { return c.size() >= kStrongsColumnBytes; }))
            ++stats.tooLong;
        else
            base.push_back(row);
    }

    // The table holds kStrongsCapacity records: keep the verbs ding says
    // most about.
    if (base.size() > static_cast<size_t>(kStrongsCapacity)) {
        std::stable_sort(base.begin(), base.end(), [](const Row& a, const Row& b) { return a.parts > b.parts; });
        stats.beyondTable = base.size() - static_cast<size_t>(kStrongsCapacity);
        base.resize(static_cast<size_t>(kStrongsCapacity));
    }
    std::sort(base.begin(), base.end(),
              [](const Row& a, const Row& b) { return SortKey(a.infinitive) < SortKey(b.infinitive); });

    std::string records;
    for (const Row& row : base) {
        records += static_cast<char>(kStrongsMark);
        for (const std::string& column : row.columns)
            records += column + std::string(kStrongsColumnBytes - column.size(), ' ');
        records += row.meaning + "\r\n";
        ++stats.verbs;
    }
    return records;
}
