#include "strong_verbs.h"

#include <algorithm>
#include <climits>

#include "data/strongs_list.h"
#include "ding_words.h"

using namespace StrongVerbRules;

namespace {

// The parts of a verb's line in ding's order (see strong_verbs.h): the
// infinitives, their present participles, their past participles, then the
// forms with their persons, whose order differs from line to line.
constexpr size_t kInfinitivePart = 0;
constexpr size_t kPresentParticiplePart = 1;
constexpr size_t kPastParticiplePart = 2;
constexpr size_t kFirstPersonsPart = 3;
// A line of fewer parts gives no forms: it ends before the past participle.
constexpr size_t kPartsWithForms = kPastParticiplePart + 1;
// The short shape names no persons, the present and then the preterite:
// "beginnen | beginnend | begonnen | beginnt | begann".
constexpr size_t kShortPresentPart = kFirstPersonsPart;
constexpr size_t kShortPreteritePart = kFirstPersonsPart + 1;
// An impersonal verb names "es" before the present and the preterite alike
// ("es gilt | es galt"): of its third-person parts, the second is the
// preterite.
constexpr size_t kImpersonalPreterite = 1;

// The words ding writes before a form and that are not the form: the
// persons of a preterite ("ich/er/sie fand"), the persons and the
// auxiliary of a perfect ("er/sie hat/hatte gefunden").
constexpr size_t kWordsBeforePreterite = 1;
constexpr size_t kWordsBeforePerfect = 2;
// A separable verb's preterite is the form and its prefix: "wich aus".
constexpr size_t kSeparablePreteriteWords = 2;

// The form columns of a record of strongs.dat; the meaning follows them.
enum FormColumn { kInfinitiveColumn, kPreteriteColumn, kParticipleColumn, kFormColumns };

// "tun" is the shortest German verb: "antun" is "an" and a verb.
constexpr size_t kShortestVerb = 3;
// Where IsWeak and BeginAlike take a verb apart without knowing its base,
// the rest after the front must be a verb longer than "tun", so that
// "be" + "ten" ("beten") is not read as a prefix and a verb.
constexpr size_t kShortestGuessedRest = kShortestVerb + 1;
// The shortest prefixes, "ab", "an", "be": where IsWeak tries the splits.
constexpr size_t kShortestPrefix = 2;

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
    const bool persons = EachAlternative(word, [&](const std::string& one) {
        first = first || one == "ich";
        ++pieces;
        return IsOneOf(one, {"ich", "er", "sie", "es"});
    });
    if (!persons)
        return false;
    return withFirstPerson ? first && pieces > 1 : !first;
}

// A preterite is named with the first person ("ich/er/sie fand"), the
// present and the perfect with the third alone ("er/sie findet").
bool StartsWithPersons(const Item& item, bool withFirstPerson)
{
    return item.size() > kWordsBeforePreterite && IsPersons(item[0], withFirstPerson);
}

// The short shape's preterite part, or -1: "| beginnt; fängt an | begann;
// fing an", a present in -t and then another form, neither named with
// persons.
int ShortShapePreterite(const std::vector<Part>& parts)
{
    if (parts.size() <= kShortPreteritePart || parts[kShortPresentPart].empty() || parts[kShortPreteritePart].empty())
        return -1;
    const std::string& now = parts[kShortPresentPart][0][0];
    const std::string& then = parts[kShortPreteritePart][0][0];
    if (now.back() == 't' && then != now && !IsPersons(now, false) && !IsPersons(then, false) &&
        !IsPersons(then, true))
        return static_cast<int>(kShortPreteritePart);
    return -1;
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

// The separable and inseparable verb prefixes of German grammar ("ab",
// "an", "ver", "zer", "miss", "voll", "zurück", "zusammen"), and the
// compound adverbs that ding's verbs show as prefixes ("hinauf", "herein",
// "davon", "entgegen") with their spoken short forms ("raus", "rein",
// "rüber"); "emp" is "ent" before an "f" ("empfehlen", "empfinden"). A verb
// made so has its own row only where the other verb has none ("verlieren",
// "vergessen", "empfehlen"); a separable one shows its prefix in its
// preterite ("wich aus").
const std::initializer_list<const char*> kPrefixes = {
    "ab", "an", "auf", "aus", "be", "bei", "dar", "durch", "ein", "emp", "ent", "er", "fort", "ge", "her", "hin",
    "los", "miss", "mit", "nach", "\xFC" "ber", "um", "unter", "ver", "vor", "weg", "wider", "wieder", "zer", "zu",
    "zur\xFC" "ck", "zusammen", "hinter", "voll", "fest", "heim", "hoch", "nieder", "weiter", "empor", "entgegen",
    "davon", "dazu", "herab", "heran", "herauf", "heraus", "herein", "herum", "herunter", "hervor", "hinauf",
    "hinaus", "hinein", "hinunter", "vorbei", "voran", "voraus", "raus", "rein", "rauf", "runter", "r\xFC" "ber"};

bool StartsWith(const std::string& text, const std::string& front)
{
    return text.compare(0, front.size(), front) == 0;
}

// Whether a preterite begins as a form of the infinitive does ("fand" of
// "finden", "verlor" of "verlieren", "aß" of "essen") or as the participle
// after its "ge" ("war", "gewesen"): where it does not, a line has put one
// verb's form beside another's.
bool BeginAlike(const std::string& infinitive, const std::string& preterite, const std::string& participle)
{
    const auto vowel = [](char c) { return std::string("aeiou\xE4\xF6\xFC").find(c) != std::string::npos; };
    const std::string ge = "ge";
    if (preterite[0] == infinitive[0] || (StartsWith(participle, ge) && participle[ge.size()] == preterite[0]))
        return true;
    for (const char* prefix : kPrefixes) {
        const size_t n = std::char_traits<char>::length(prefix);
        if (StartsWith(infinitive, prefix) && infinitive.size() >= n + kShortestGuessedRest)
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

// Whether a form fits its column of strongs.dat with a blank to spare,
// which the reader needs to tell it from the next column.
bool FitsColumn(const std::string& text)
{
    return text.size() < kStrongsColumnBytes;
}

// Alternatives in one column, "backte/buk", where they fit; else the first
// irregular one, the form the list is there for ("gespalten" rather than
// "gespaltet").
std::string Column(const std::vector<std::string>& forms, const std::string& infinitive, bool participle)
{
    std::string joined;
    for (const std::string& form : forms)
        joined += (joined.empty() ? "" : "/") + form;
    if (FitsColumn(joined))
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

// Where the participle part and the perfect of one line disagree
// ("gewissen", "hat/hatte gewusst"), the perfect is the form ding shows in
// use.
std::vector<std::string> ParticiplesOf(const Forms& forms)
{
    return forms.perfects.empty() ? forms.participles : forms.perfects;
}

// One verb of a line, for reading its forms from the later parts.
struct VerbInLine {
    const std::vector<Part>& parts;
    size_t verb;         // its place among the line's infinitives
    Shape shape;         // of the whole line
    Item infinitiveItem; // as the line writes it: "jdm. etw. befehlen"
};

// The items of a later part that are the verb's. Each later part lists the
// forms of the first part's verbs in their order, or those of the first
// verb alone; a verb alone may have two forms ("ich/er/sie backte;
// ich/er/sie buk").
std::vector<const Item*> ItemsOfTheVerb(const VerbInLine& line, const Part& items)
{
    const size_t verbs = line.parts[kInfinitivePart].size();
    std::vector<const Item*> picked;
    if (items.size() == verbs) {
        picked.push_back(&items[line.verb]);
    } else if (line.verb == 0 && verbs > 1 && !items.empty() && line.shape.persons) {
        // "ich/er/sie hielt" after "halten; bereithalten": the full forms
        // of the first verb. Without the persons a lone form may be anyone's.
        picked.push_back(&items[0]);
    } else if (verbs == 1) {
        for (const Item& item : items)
            picked.push_back(&item);
    }
    return picked;
}

// The verb's forms in one later part, each without the words named before
// it (skip: the persons, and the auxiliary of the perfect) where the item
// names them.
std::vector<Item> FormsIn(const VerbInLine& line, const Part& items, size_t skip)
{
    std::vector<Item> forms;
    for (const Item* item : ItemsOfTheVerb(line, items)) {
        const bool persons = IsPersons((*item)[0], true) || IsPersons((*item)[0], false);
        const size_t named = persons && item->size() > skip ? skip : 0;
        forms.push_back(FormWords(Item(item->begin() + static_cast<std::ptrdiff_t>(named), item->end()),
                                  line.infinitiveItem));
    }
    forms.erase(std::remove_if(forms.begin(), forms.end(), [](const Item& f) { return f.empty(); }), forms.end());
    return forms;
}

// The forms as single words into out, each once ("war; war nicht" is one
// form); false where one is more than a word, or there is none.
bool SingleForms(const std::vector<Item>& forms, std::vector<std::string>& out)
{
    out.clear();
    for (const Item& form : forms) {
        if (SingleForm(form).empty())
            return false;
        if (std::find(out.begin(), out.end(), form[0]) == out.end())
            out.push_back(form[0]);
    }
    return !out.empty();
}

// The present participle shows whose forms these are: "findend" is the
// form of "finden" and of nothing else ("tuend" of "tun").
bool ArePresentParticiplesOf(const std::string& infinitive, const std::vector<std::string>& present)
{
    return std::all_of(present.begin(), present.end(),
                       [&](const std::string& f) { return f == infinitive + "d" || f == Stem(infinitive) + "end"; });
}

// A preterite that is the present ("regiert" where "regierte" was meant)
// or the participle, or that begins unlike the participle, shows a slip in
// the line.
bool IsSlip(const std::string& infinitive, const std::string& preterite, const std::vector<std::string>& participles)
{
    return preterite == Stem(infinitive) + "t" || preterite == Stem(infinitive) + "et" ||
           std::find(participles.begin(), participles.end(), preterite) != participles.end() ||
           !BeginAlike(infinitive, preterite, participles.front());
}

// A separable verb's forms are those of the verb it is made of:
// "ausweichen", "wich aus", "ausgewichen" tell "wich", "gewichen". The
// forms become the base's; the base, or empty where the line shows no
// separable verb.
std::string SeparableForms(const std::string& infinitive, const std::vector<Item>& preterites, Forms& forms)
{
    forms.preterites.clear();
    std::string prefix;
    for (const Item& preterite : preterites) {
        if (preterite.size() != kSeparablePreteriteWords || !IsSmallGermanWord(preterite[0], false) || !IsPrefix(preterite[1]) ||
            (!prefix.empty() && preterite[1] != prefix))
            return std::string();
        prefix = preterite[1];
        forms.preterites.push_back(preterite[0]);
    }
    const std::string base = SeparableBase(infinitive, prefix);
    if (base.empty())
        return base;
    for (std::vector<std::string>* participles : {&forms.participles, &forms.perfects}) {
        for (std::string& participle : *participles) {
            if (!StartsWith(participle, prefix))
                return std::string();
            participle.erase(0, prefix.size());
        }
    }
    for (const std::string& preterite : forms.preterites) {
        if (!BeginAlike(base, preterite, forms.participles.front()))
            return std::string();
    }
    forms.meaning.clear();
    return base;
}

// A verb's row of the list, while it is chosen.
struct Row {
    std::string infinitive;
    std::vector<std::string> preterites;
    std::vector<std::string> participles;
    std::string meaning;
    uint32_t parts;
    std::string columns[kFormColumns];
};

// The verb's main line: one that the verb leads, with most to say. A line
// that names it after another verb may give that verb's forms ("auf etw.
// bestehen; dringen ... | bestand; drängte").
const Forms& MainLine(const std::vector<Forms>& lines)
{
    const Forms* main = &lines.front();
    for (const Forms& forms : lines) {
        if (std::make_pair(forms.leads, forms.parts) > std::make_pair(main->leads, main->parts))
            main = &forms;
    }
    return *main;
}

// The meaning of the line the dictionary's order would put first among
// those the verb leads (else among any that name it).
std::string EverydayMeaning(const Verb& verb, const WordCounts& englishWords)
{
    std::string meaning;
    std::pair<bool, int32_t> best(false, INT32_MIN);
    for (const Forms& named : verb.meanings) {
        EntrySigns signs;
        signs.parts = named.parts;
        const std::pair<bool, int32_t> rank(named.leads, EverydayScore(signs, Commonness(named.meaning, englishWords)));
        if (rank > best) {
            best = rank;
            meaning = named.meaning;
        }
    }
    return meaning;
}

// The verb's meaning: the first synonym on the first row a search for it
// lists, else its main line's; a verb known from its compounds alone takes
// its everyday meaning.
std::string MeaningOf(const std::string& infinitive, const Verb& verb, const std::string& mainMeaning,
                      const WordCounts& englishWords, const std::map<std::string, std::string>& firstRows)
{
    const auto firstRow = firstRows.find(infinitive);
    if (firstRow != firstRows.end() && !Meaning(firstRow->second).empty())
        return Meaning(firstRow->second);
    if (!mainMeaning.empty())
        return mainMeaning;
    return EverydayMeaning(verb, englishWords);
}

// A strong preterite beside a participle formed with -t from the same stem
// ("erlosch", "erlöscht") is a slip where the verb's lines mostly give
// another participle ("erloschen"): that one is shown.
void ParticipleByVote(const Verb& verb, Row& row)
{
    using Vote = std::pair<const std::string, uint32_t>;
    const auto most = std::max_element(verb.participleVotes.begin(), verb.participleVotes.end(),
                                       [](const Vote& a, const Vote& b) { return a.second < b.second; });
    const auto shown = verb.participleVotes.find(row.participles.front());
    if (most != verb.participleVotes.end() && !IsWeak(row.infinitive, most->first, true) &&
        (shown == verb.participleVotes.end() || most->second > shown->second))
        row.participles = {most->first};
}

// Strong or mixed: a preterite not formed with -te from the stem, or a
// participle not formed with -t. A strong participle beside a weak
// preterite keeps the stem ("backte", "gebacken"); one that does not is a
// slip or another verb's ("erblasste", "erblichen"; "winkte", "gewunken")
// and is left out. False for a weak verb.
bool IsStrongRow(const Verb& verb, Row& row)
{
    const std::string& infinitive = row.infinitive;
    const auto weak = [&](bool participle) {
        return [&infinitive, participle](const std::string& f) { return IsWeak(infinitive, f, participle); };
    };
    const bool strongPast = !std::all_of(row.preterites.begin(), row.preterites.end(), weak(false));
    if (strongPast && std::all_of(row.participles.begin(), row.participles.end(), weak(true)))
        ParticipleByVote(verb, row);
    std::vector<std::string> kept;
    for (const std::string& participle : row.participles) {
        if (strongPast || IsWeak(infinitive, participle, true) || EndsWith(participle, Stem(infinitive) + "en"))
            kept.push_back(participle);
    }
    row.participles = kept;
    return strongPast || !std::all_of(kept.begin(), kept.end(), weak(true));
}

// The rows that go into the list, with their columns: without the
// compounds of other strong verbs and the forms too long for a column.
std::vector<Row> ListedRows(std::vector<Row>& strong, StrongVerbStats& stats)
{
    std::set<std::string> strongSet;
    for (const Row& row : strong)
        strongSet.insert(row.infinitive);
    std::vector<Row> listed;
    for (Row& row : strong) {
        row.columns[kInfinitiveColumn] = row.infinitive;
        row.columns[kPreteriteColumn] = Column(row.preterites, row.infinitive, false);
        row.columns[kParticipleColumn] = Column(row.participles, row.infinitive, true);
        if (IsCompound(row.infinitive, strongSet))
            ++stats.compounds;
        else if (!std::all_of(std::begin(row.columns), std::end(row.columns), FitsColumn))
            ++stats.tooLong;
        else
            listed.push_back(row);
    }
    return listed;
}

// The table holds kStrongsCapacity records: keep the verbs ding says most
// about, the most parts on their main line; among equals the earlier by
// the bytes of their infinitives, the order rows come in.
void CapToTable(std::vector<Row>& rows, StrongVerbStats& stats)
{
    const size_t capacity = static_cast<size_t>(kStrongsCapacity);
    if (rows.size() <= capacity)
        return;
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) { return a.parts > b.parts; });
    stats.beyondTable = rows.size() - capacity;
    rows.resize(capacity);
}

std::string RecordLines(const std::vector<Row>& rows, StrongVerbStats& stats)
{
    std::string records;
    for (const Row& row : rows) {
        records += static_cast<char>(kStrongsMark);
        for (const std::string& column : row.columns)
            records += column + std::string(kStrongsColumnBytes - column.size(), ' ');
        records += row.meaning + "\r\n";
        ++stats.verbs;
    }
    return records;
}

} // namespace

namespace StrongVerbRules {

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

Shape ShapeOf(const std::vector<Part>& parts)
{
    Shape shape;
    std::vector<int> present; // third-person parts that are not the perfect
    for (size_t i = kFirstPersonsPart; i < parts.size(); ++i) {
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
    if (shape.preterite < 0 && present.size() > kImpersonalPreterite) {
        shape.preterite = present[kImpersonalPreterite];
        shape.persons = true;
    }
    if (shape.preterite < 0)
        shape.preterite = ShortShapePreterite(parts);
    return shape;
}

std::string Stem(const std::string& infinitive)
{
    const size_t n = infinitive.size();
    if (n > kShortestVerb && EndsWith(infinitive, "en"))
        return infinitive.substr(0, n - 2);
    return infinitive.substr(0, n - 1);
}

bool IsWeakFrom(const std::string& stem, const std::string& form, bool participle)
{
    for (const std::string& ending : {std::string("t"), std::string("et")}) {
        const std::string weak = stem + ending + (participle ? "" : "e");
        if (participle) {
            // "gekauft" ends in the weak form, "ausgekauft" too.
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

// A separable verb's preterite stands without its prefix ("baggerte" of
// "ausbaggern"), its participle takes "ge" after it ("ausgebaggert",
// "wertgeschätzt").
bool IsWeak(const std::string& infinitive, const std::string& form, bool participle)
{
    if (IsWeakFrom(Stem(infinitive), form, participle))
        return true;
    for (size_t n = kShortestPrefix; n + kShortestGuessedRest <= infinitive.size(); ++n) {
        const std::string front = infinitive.substr(0, n);
        const bool split = participle ? StartsWith(form, front) : IsPrefix(front);
        if (split && IsWeakFrom(Stem(infinitive.substr(n)), participle ? form.substr(n) : form, participle))
            return true;
    }
    return false;
}

bool IsPrefix(const std::string& word)
{
    return IsOneOf(word, kPrefixes);
}

std::string SeparableBase(const std::string& infinitive, const std::string& prefix)
{
    if (prefix.empty() || !StartsWith(infinitive, prefix))
        return std::string();
    return infinitive.substr(prefix.size());
}

bool IsCompound(const std::string& infinitive, const std::set<std::string>& strongVerbs)
{
    for (const char* prefix : kPrefixes) {
        const std::string p = prefix;
        if (infinitive.size() >= p.size() + kShortestVerb && StartsWith(infinitive, p) &&
            strongVerbs.count(infinitive.substr(p.size())) != 0)
            return true;
    }
    return false;
}

} // namespace StrongVerbRules

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
    for (size_t i = 0; i < parts[kInfinitivePart].size(); ++i) {
        const std::string verb = SingleForm(WithoutObjects(parts[kInfinitivePart][i]));
        if (!verb.empty() && !meaning.empty()) {
            Forms named;
            named.meaning = meaning;
            named.parts = partCount;
            named.leads = i == 0;
            verbs_[verb].meanings.push_back(named);
        }
    }
    if (german.size() < kPartsWithForms)
        return;
    for (size_t verb = 0; verb < parts[kInfinitivePart].size(); ++verb)
        AddForms(parts, verb, meaning, partCount);
}

void StrongVerbs::AddForms(const std::vector<Part>& parts, size_t verb, const std::string& meaning, uint32_t partCount)
{
    const VerbInLine line{parts, verb, ShapeOf(parts), parts[kInfinitivePart][verb]};
    const std::string infinitive = SingleForm(WithoutObjects(line.infinitiveItem));
    if (infinitive.size() < kShortestVerb || infinitive.back() != 'n')
        return;
    std::vector<std::string> present;
    if (!SingleForms(FormsIn(line, parts[kPresentParticiplePart], 0), present) ||
        !ArePresentParticiplesOf(infinitive, present))
        return;
    Forms forms;
    forms.meaning = meaning;
    forms.parts = partCount;
    forms.leads = verb == 0;
    if (!SingleForms(FormsIn(line, parts[kPastParticiplePart], 0), forms.participles))
        return;
    if (line.shape.perfect >= 0)
        SingleForms(FormsIn(line, parts[static_cast<size_t>(line.shape.perfect)], kWordsBeforePerfect), forms.perfects);
    // Every line that gives the verb's participle counts, with a preterite
    // or without one.
    for (const std::string& participle : ParticiplesOf(forms))
        ++verbs_[infinitive].participleVotes[participle];
    if (line.shape.preterite < 0)
        return;
    const std::vector<Item> preterites =
        FormsIn(line, parts[static_cast<size_t>(line.shape.preterite)], kWordsBeforePreterite);
    if (SingleForms(preterites, forms.preterites)) {
        const bool slip = std::any_of(forms.preterites.begin(), forms.preterites.end(), [&](const std::string& p) {
            return IsSlip(infinitive, p, forms.participles);
        });
        if (!slip)
            verbs_[infinitive].own.push_back(forms);
        return;
    }
    const std::string base = SeparableForms(infinitive, preterites, forms);
    if (!base.empty())
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
    std::vector<Row> strong;
    for (const auto& entry : verbs_) {
        const Verb& verb = entry.second;
        // The verb's own lines, or for want of them those of its separable
        // compounds.
        const std::vector<Forms>& lines = verb.own.empty() ? verb.compounds : verb.own;
        if (lines.empty())
            continue;
        const Forms& main = MainLine(lines);
        Row row{entry.first, main.preterites, ParticiplesOf(main), "", main.parts, {}};
        row.meaning = MeaningOf(entry.first, verb, main.meaning, englishWords, firstRows);
        if (IsStrongRow(verb, row) && !row.meaning.empty())
            strong.push_back(row);
    }
    std::vector<Row> rows = ListedRows(strong, stats);
    CapToTable(rows, stats);
    std::sort(rows.begin(), rows.end(),
              [](const Row& a, const Row& b) { return SortKey(a.infinitive) < SortKey(b.infinitive); });
    return RecordLines(rows, stats);
}
