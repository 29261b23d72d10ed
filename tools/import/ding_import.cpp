#include "ding_import.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "ding_words.h"
#include "kept_entries.h"

namespace {

constexpr size_t kMaxSkippedShown = 10;
const char kSideSeparator[] = " :: ";
const char kPartSeparator[] = " | ";

bool IsBlank(char c)
{
    return c == ' ';
}

std::string Trim(const std::string& text, size_t begin, size_t end)
{
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

std::string Trim(const std::string& text)
{
    return Trim(text, 0, text.size());
}

std::vector<std::string> SplitOn(const std::string& text, const char* separator)
{
    std::vector<std::string> parts;
    const size_t width = std::strlen(separator);
    size_t begin = 0;
    for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, begin)) {
        parts.push_back(text.substr(begin, at - begin));
        begin = at + width;
    }
    parts.push_back(text.substr(begin));
    return parts;
}

char Closer(char opener)
{
    return opener == '(' ? ')' : opener == '[' ? ']' : '}';
}

// The brackets still open at the end of text, innermost last. A closer that
// matches nothing is passed over: abbreviations such as "/:-)/" bring one.
std::string OpenBrackets(const std::string& text)
{
    std::string open;
    for (char c : text) {
        if (IsOpener(c))
            open += c;
        else if (IsCloser(c) && !open.empty() && Closer(open.back()) == c)
            open.pop_back();
    }
    return open;
}

// Whether every bracket of text is closed by its own kind, in order.
bool BracketsPairUp(const std::string& text)
{
    std::string open;
    for (char c : text) {
        if (IsOpener(c)) {
            open += c;
        } else if (IsCloser(c)) {
            if (open.empty() || Closer(open.back()) != c)
                return false;
            open.pop_back();
        }
    }
    return open.empty();
}

// A " :: " written inside a bracket ("(der Nachkriegszeit :: 1950er bis
// 1960er Jahre)") leaves the German side with an open bracket that the
// English side closes; the two halves are then not a German and an English
// side at all. A bracket that one side opens and never closes by itself, as
// the "/ ( /" of the bracket entries does, is no sign of that.
bool SeparatorInBrackets(const std::string& german, const std::string& english)
{
    const std::string open = OpenBrackets(german);
    if (open.empty())
        return false;
    std::string inner;
    for (char c : english) {
        if (IsOpener(c)) {
            inner += c;
        } else if (IsCloser(c)) {
            if (!inner.empty()) {
                if (Closer(inner.back()) == c)
                    inner.pop_back();
            } else {
                return Closer(open.back()) == c;
            }
        }
    }
    return false;
}

// "<" or "‹" and ">" or "›" (U+2039, U+203A) as UTF-8.
size_t OpenerWidth(const std::string& text, size_t at)
{
    if (text[at] == '<')
        return 1;
    return text.compare(at, 3, "\xE2\x80\xB9") == 0 ? 3 : 0;
}

size_t CloserWidth(const std::string& text, size_t at)
{
    if (text[at] == '>')
        return 1;
    return text.compare(at, 3, "\xE2\x80\xBA") == 0 ? 3 : 0;
}

// Where the hidden span opened at `at` ends (the byte after its closer), or 0
// when this "<" opens none: a comparison ("< 0,25 mm") is followed by a blank,
// the abbreviation "/</" stands between slashes, and a "<" whose closer never
// comes is ordinary text.
size_t HiddenEnd(const std::string& text, size_t at, size_t openerWidth)
{
    const size_t inside = at + openerWidth;
    if (inside >= text.size() || IsBlank(text[inside]) || (at > 0 && text[at - 1] == '/'))
        return 0;
    int depth = 1;
    for (size_t p = inside; p < text.size();) {
        if (const size_t w = OpenerWidth(text, p)) {
            ++depth;
            p += w;
        } else if (const size_t w2 = CloserWidth(text, p)) {
            p += w2;
            if (--depth == 0)
                return p;
        } else {
            ++p;
        }
    }
    return 0;
}

bool IsSeparatingPunctuation(char c)
{
    return c == ';' || c == ',' || c == '.' || IsCloser(c);
}

// Leaves out the <...> spans: misspellings and cross-references that a
// reader is not meant to see. The blank before a span goes with it, so
// "eel smokery <eelsmoking>" ends at "smokery" and "barrier <light barrier>s"
// reads "barriers" as its writer meant; an empty "<>" stands for a blank.
std::string DropHiddenText(const std::string& part, uint64_t& dropped)
{
    std::string out;
    out.reserve(part.size());
    for (size_t p = 0; p < part.size();) {
        const size_t width = OpenerWidth(part, p);
        const size_t end = width != 0 ? HiddenEnd(part, p, width) : 0;
        if (end == 0) {
            out += part[p++];
            continue;
        }
        ++dropped;
        const size_t inside = p + width;
        const bool empty = CloserWidth(part, inside) != 0 && inside + CloserWidth(part, inside) == end;
        const bool nextIsText =
            end < part.size() && !IsBlank(part[end]) && !IsSeparatingPunctuation(part[end]);
        if (!out.empty() && IsBlank(out.back())) {
            if (!(empty && nextIsText)) {
                while (!out.empty() && IsBlank(out.back()))
                    out.pop_back();
                // "a; <b>" must still read as two synonyms.
                if (!out.empty() && out.back() == ';')
                    out += ' ';
            }
        } else if ((out.empty() || IsOpener(out.back())) && end < part.size() && IsBlank(part[end])) {
            // "(<> a deal)": no blank before, so the one after goes.
            p = end + 1;
            continue;
        }
        p = end;
    }
    return out;
}

// A part as it is shown: hidden text left out, in Windows-1252, trimmed.
std::string CleanPart(const std::string& utf8, ImportStats& stats)
{
    const std::string shown = DropHiddenText(utf8, stats.hiddenDropped);
    std::string out;
    out.reserve(shown.size());
    AppendWindows1252(shown, 0, shown.size(), out, stats.fixes);
    return Trim(out);
}


// A source is what a user types, and a keyboard gives ' and ", not the
// typographic quotes: "one’s" would never be found by "one's". A "*" would
// end the source where the reader looks for the translation.
std::string SourceText(const std::string& synonym, DirectionStats& stats)
{
    std::string source;
    source.reserve(synonym.size());
    for (char c : synonym) {
        switch (static_cast<unsigned char>(c)) {
        case 0x82: // ‚
        case 0x91: // ‘
        case 0x92: // ’
            source += '\'';
            ++stats.quotesPlain;
            break;
        case 0x84: // „
        case 0x93: // “
        case 0x94: // ”
            source += '"';
            ++stats.quotesPlain;
            break;
        case '*':
            ++stats.starsDropped;
            break;
        default:
            source += c;
        }
    }
    return Trim(source);
}

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

// The value of a comment such as "Version :: devel 2023-01-30".
std::string CommentValue(const std::vector<std::string>& comments, const char* const* names)
{
    for (const std::string& comment : comments) {
        for (const char* const* name = names; *name != nullptr; ++name) {
            const size_t length = std::strlen(*name);
            if (comment.compare(0, length, *name) != 0)
                continue;
            const size_t separator = comment.find("::");
            return Trim(comment.substr(separator != std::string::npos ? separator + 2 : length));
        }
    }
    return "not stated in the word list";
}

// Where an abbreviation such as "/Zi./" or "/h/" that starts at `at` ends,
// or 0: a word of its own between slashes, as ding writes them after a
// word ("Zimmer {n} /Zi./").
size_t AbbreviationEnd(const char* text, size_t at, size_t end)
{
    size_t p = at + 1;
    while (p < end && !IsBlank(text[p]))
        ++p;
    return p - at >= 3 && text[p - 1] == '/' ? p : 0;
}

// The key starts where the search starts comparing, so a key that begins
// with the typed text belongs to a line the search matches. Notes are left
// out because "Haus {n}" is the headword "Haus" to a reader, and so are
// abbreviations ("Zimmer {n} /Zi./" is "Zimmer"); blanks are
// collapsed so the notes leave no gaps, and trailing ones dropped so "Haus"
// stays a prefix of "Haus und Hof" and "Hausboot" alike.
void AppendOrderKey(const char* source, size_t length, std::string& key)
{
    size_t p = 0;
    while (p < length && !IsWordStart(static_cast<unsigned char>(source[p])))
        ++p;
    const size_t begin = key.size();
    bool blank = false;
    while (p < length) {
        const char c = source[p];
        if (IsOpener(c)) {
            if (const size_t end = BracketEnd(source, p, length)) {
                p = end;
                continue;
            }
        }
        if (c == '/' && IsBlank(source[p - 1])) {
            if (const size_t end = AbbreviationEnd(source, p, length)) {
                p = end;
                continue;
            }
        }
        ++p;
        if (IsBlank(c)) {
            blank = true;
            continue;
        }
        if (blank && key.size() > begin)
            key += ' ';
        blank = false;
        key += c;
    }
}

// One entry line while it is being ordered. Offsets are 32-bit like every
// offset into a dictionary file, so the table is the same 24 bytes a line
// in the 32-bit build as in the 64-bit one.
struct OrderedLine {
    uint64_t keyHead; // the key's first 8 bytes, big-endian, 0 after its end
    uint32_t key;     // into the key bytes
    uint32_t keyLength;
    uint32_t tieBreak; // the score, higher first, then the source length, shorter first
    uint32_t line;     // into the lines: the order given
};
static_assert(sizeof(OrderedLine) == 24, "the same table size in the 32-bit and the 64-bit build");

// Most pairs differ within 8 bytes, and their comparison then reads nothing
// but the two records. The 0 after a short key's end ties only with a real
// 0 byte, and a tie goes on to the lengths.
uint64_t KeyHead(const char* key, uint32_t length)
{
    uint64_t head = 0;
    for (uint32_t i = 0; i < 8; ++i)
        head = head << 8 | (i < length ? static_cast<unsigned char>(key[i]) : 0u);
    return head;
}

// Scores beyond 16 bits would say nothing more; sources beyond them are not
// written by the importer.
uint32_t TieBreak(int32_t score, size_t sourceLength)
{
    const int32_t clamped = std::max(-0x7FFF, std::min(score, 0x7FFF));
    return static_cast<uint32_t>(0x7FFF - clamped) << 16 | static_cast<uint32_t>(std::min<size_t>(sourceLength, 0xFFFF));
}

// The translation of an entry line: after its first "*", up to its end.
std::string TranslationOf(const std::string& lines, size_t begin, size_t end)
{
    const size_t star = lines.find(static_cast<char>(kSourceEnd), begin);
    return star < end ? lines.substr(star + 1, end - star - 1) : std::string();
}

} // namespace

std::vector<std::string> SplitSynonyms(const std::string& part, uint64_t& empties)
{
    const bool balanced = BracketsPairUp(part);
    std::vector<std::string> synonyms;
    BracketDepth brackets;
    size_t begin = 0;
    const auto take = [&](size_t end) {
        std::string synonym = Trim(part, begin, end);
        if (synonym.empty())
            ++empties;
        else
            synonyms.push_back(std::move(synonym));
    };
    for (size_t p = 0; p < part.size(); ++p) {
        const char c = part[p];
        if ((brackets.Outside(c) || !balanced) && c == ';' && (p + 1 == part.size() || IsBlank(part[p + 1]))) {
            take(p);
            begin = std::min(p + 2, part.size());
        }
    }
    take(part.size());
    return synonyms;
}

// One ordered line per entry line, in the order given, with its key
// appended to keys.
static std::vector<OrderedLine> OrderedLines(const std::string& lines, const std::vector<int32_t>& scores, std::string& keys)
{
    std::vector<OrderedLine> order;
    order.reserve(static_cast<size_t>(std::count(lines.begin(), lines.end(), '\n')));
    for (size_t begin = 0; begin < lines.size();) {
        size_t end = lines.find("\r\n", begin);
        if (end == std::string::npos)
            end = lines.size();
        const char* line = lines.data() + begin;
        const void* star = std::memchr(line, kSourceEnd, end - begin);
        size_t sourceEnd = star != nullptr ? static_cast<size_t>(static_cast<const char*>(star) - line) : end - begin;
        size_t sourceBegin = 0;
        while (sourceBegin < sourceEnd && !IsWordStart(static_cast<unsigned char>(line[sourceBegin])))
            ++sourceBegin;
        while (sourceEnd > sourceBegin && IsBlank(line[sourceEnd - 1]))
            --sourceEnd;
        OrderedLine ordered{};
        ordered.key = static_cast<uint32_t>(keys.size());
        AppendOrderKey(line, sourceEnd, keys);
        ordered.keyLength = static_cast<uint32_t>(keys.size() - ordered.key);
        ordered.tieBreak = TieBreak(order.size() < scores.size() ? scores[order.size()] : 0, sourceEnd - sourceBegin);
        ordered.line = static_cast<uint32_t>(begin);
        order.push_back(ordered);
        begin = end + 2;
    }
    return order;
}

std::string InSearchOrder(const std::string& lines, const std::vector<int32_t>& scores)
{
    std::string keys;
    std::vector<OrderedLine> order = OrderedLines(lines, scores, keys);
    const char* keyBytes = keys.data();
    for (OrderedLine& ordered : order)
        ordered.keyHead = KeyHead(keyBytes + ordered.key, ordered.keyLength);
    std::sort(order.begin(), order.end(), [keyBytes](const OrderedLine& a, const OrderedLine& b) {
        if (a.keyHead != b.keyHead)
            return a.keyHead < b.keyHead;
        const uint32_t common = std::min(a.keyLength, b.keyLength);
        if (common > 8) {
            if (const int c = std::memcmp(keyBytes + a.key + 8, keyBytes + b.key + 8, common - 8))
                return c < 0;
        }
        if (a.keyLength != b.keyLength)
            return a.keyLength < b.keyLength;
        if (a.tieBreak != b.tieBreak)
            return a.tieBreak < b.tieBreak;
        return a.line < b.line;
    });

    std::string sorted;
    sorted.reserve(lines.size());
    for (const OrderedLine& ordered : order) {
        size_t end = lines.find("\r\n", ordered.line);
        end = end == std::string::npos ? lines.size() : end + 2;
        sorted.append(lines, ordered.line, end - ordered.line);
    }
    return sorted;
}

const char* MalformedName(Malformed why)
{
    switch (why) {
    case Malformed::NoSeparator:
        return "no \" :: \"";
    case Malformed::SeveralSeparators:
        return "more than one \" :: \"";
    case Malformed::PartCounts:
        return "sides with different numbers of \" | \" parts";
    case Malformed::InvalidUtf8:
        return "not UTF-8";
    case Malformed::SeparatorInBrackets:
        return "\" :: \" inside brackets";
    case Malformed::EmptySide:
        return "an empty side";
    }
    return "?";
}

uint64_t ImportStats::MalformedTotal() const
{
    uint64_t total = 0;
    for (uint64_t n : malformed)
        total += n;
    return total;
}

bool AppendEntryLine(std::string& out, const std::string& source, const std::string& translation)
{
    out += source;
    const bool isLong = source.size() > kMaxSourceBytes;
    if (isLong)
        out += ' ';
    else
        out.append(kStarColumn - source.size(), ' ');
    out += static_cast<char>(kSourceEnd);
    out += translation;
    out += "\r\n";
    return isLong;
}

void DingImporter::Reserve(size_t bytesPerDirection)
{
    entries_[0].reserve(bytesPerDirection);
    entries_[1].reserve(bytesPerDirection);
}

void DingImporter::Skip(Malformed why)
{
    ++stats_.malformed[static_cast<int>(why)];
    if (skipped_.size() < kMaxSkippedShown)
        skipped_.push_back({stats_.linesRead, why});
}

void DingImporter::AddEntry(DictionaryDirection d, const std::string& source, const std::string& translation,
                            const EntrySigns& signs)
{
    const int i = static_cast<int>(d);
    if (AppendEntryLine(entries_[i], source, translation))
        ++stats_.Of(d).longSources;
    ++stats_.Of(d).entries;
    signs_[i].push_back(signs);
}

void DingImporter::AddSources(DictionaryDirection d, const std::string& part, const std::string& translation,
                              const PartPlace& place)
{
    DirectionStats& counts = stats_.Of(d);
    uint32_t synonymIndex = 0;
    const std::vector<std::string> synonyms = SplitSynonyms(part, stats_.emptySynonyms);
    for (size_t at = 0; at < synonyms.size(); ++at) {
        if (translation.empty()) {
            ++counts.noTranslation;
            continue;
        }
        const std::string source = SourceText(synonyms[at], counts);
        // With no word-start byte the search would take the line's start from
        // its translation and run its source into the next line.
        if (!HoldsWordStart(source)) {
            ++counts.noLetter;
            continue;
        }
        EntrySigns signs = SignsOf(source, translation);
        signs.parts = place.count;
        signs.partIndex = place.index;
        signs.synonymIndex = synonymIndex++;
        if (place.form == FormKind::None || !AddForm(d, source, translation, place, static_cast<uint32_t>(at),
                                                     synonyms.size()))
            AddEntry(d, source, translation, signs);
        std::string wordFirst;
        bool narrowed = false;
        if (WordFirstForm(d, source, place.verbLabel, wordFirst, narrowed)) {
            signs.sourceNotes += narrowed ? 1 : 0;
            AddEntry(d, wordFirst, translation, signs);
            ++counts.wordFirst;
        }
    }
}

// A part's entries in both directions.
void DingImporter::AddPart(const std::string& germanPart, const std::string& englishPart, const PartPlace& place)
{
    AddSources(DictionaryDirection::GermanToEnglish, germanPart, englishPart, place);
    AddSources(DictionaryDirection::EnglishToGerman, englishPart, germanPart, place);
}

// The entry of a form, "ging (past of gehen)", in the place of the plain
// one ("ich/er/sie ging"); false where the form's base cannot be told, or
// for an English "would go", which is no form of a word.
bool DingImporter::AddForm(DictionaryDirection d, const std::string& source, const std::string& translation,
                           const PartPlace& place, uint32_t synonymIndex, size_t synonymCount)
{
    const DictionaryDirection other =
        d == DictionaryDirection::GermanToEnglish ? DictionaryDirection::EnglishToGerman : DictionaryDirection::GermanToEnglish;
    if (d == DictionaryDirection::EnglishToGerman && place.form == FormKind::Subjunctive)
        return false;
    const std::vector<std::string>& bases = place.baseSynonyms[static_cast<int>(d)];
    const size_t baseIndex = BaseIndexOf(bases, synonymIndex, synonymCount, source, d);
    if (baseIndex == kNoBase)
        return false;
    const std::string& baseSynonym = bases[baseIndex];
    const std::string base = BaseWord(baseSynonym, d);
    const std::string form = WithoutPersons(source, d);
    const std::string formTranslation = WithoutPersons(translation, other);
    if (base.empty() || form.empty() || formTranslation.empty())
        return false;
    // A form is as everyday as its base's sense on the same line: "boxes"
    // is judged as "box" with its "Schachtel", not by how often the
    // plurals' words occur.
    const std::string& baseTranslation = *place.baseParts[static_cast<int>(other)];
    EntrySigns signs = SignsOf(baseSynonym, baseTranslation);
    signs.parts = place.count;
    signs.synonymIndex = synonymIndex + place.laterSynonyms;
    const std::string& german = d == DictionaryDirection::GermanToEnglish ? source : translation;
    signs.secondPerson = place.form == FormKind::PresentOther &&
                         (german.compare(0, 3, "du ") == 0 || german.compare(0, 4, "ihr ") == 0);
    for (const std::string& alternative : FormAlternatives(form)) {
        judgedBy_[static_cast<int>(d)][signs_[static_cast<int>(d)].size()] = baseTranslation;
        // A form that is a word of its own ("ging") is that word's main
        // entry; one spelled as its base ("Lehrer {pl}") stays behind the
        // base's own.
        signs.formOfAnotherWord = BareForm(alternative) != base && place.form != FormKind::PresentOther;
        signs.partIndex = signs.formOfAnotherWord ? 0 : place.index;
        signs.pastForm = place.form == FormKind::Past && signs.formOfAnotherWord;
        AddEntry(d, FormSource(alternative, place.form, base), formTranslation, signs);
    }
    if (d == DictionaryDirection::GermanToEnglish && place.form != FormKind::Plural)
        wordForms_.Add(baseSynonym, place.form, form, place.count);
    // English says "worse" of "bad" in every line, so one that lists it
    // serves those that do not.
    if (d == DictionaryDirection::EnglishToGerman &&
        (place.form == FormKind::Comparative || place.form == FormKind::Superlative))
        englishComparisons_.Add(baseSynonym, place.form, form, place.count);
    if (!place.derived)
        AppendEntryLine(formerLines_[static_cast<int>(d)], source, translation);
    ++stats_.Of(d).forms;
    return true;
}

std::string DingImporter::StrongVerbRecords(const std::string& sortedGerEng, StrongVerbStats& stats) const
{
    std::map<std::string, std::string> firstRows;
    for (const std::string& infinitive : strongVerbs_.Infinitives())
        firstRows[infinitive];
    std::string key;
    for (size_t begin = 0; begin < sortedGerEng.size();) {
        size_t end = sortedGerEng.find("\r\n", begin);
        if (end == std::string::npos)
            end = sortedGerEng.size();
        const size_t star = sortedGerEng.find(static_cast<char>(kSourceEnd), begin);
        key.clear();
        if (star < end)
            AppendOrderKey(sortedGerEng.data() + begin, star - begin, key);
        const auto wanted = firstRows.find(key);
        if (wanted != firstRows.end() && wanted->second.empty())
            wanted->second = sortedGerEng.substr(star + 1, end - star - 1);
        begin = end + 2;
    }
    return strongVerbs_.Records(translationWords_[static_cast<int>(DictionaryDirection::GermanToEnglish)], firstRows,
                                stats);
}

void DingImporter::UseKnownWords(const KnownWords* german, const KnownWords* english)
{
    known_[0] = german;
    known_[1] = english;
}

void DingImporter::NoteFormlessLine(const std::vector<std::string>& germanTexts,
                                    const std::vector<std::string>& englishTexts, const std::vector<FormKind>& forms)
{
    const auto has = [&](FormKind kind) { return std::find(forms.begin(), forms.end(), kind) != forms.end(); };
    const bool braced = englishTexts[0].find('{') != std::string::npos;
    uint64_t empties = 0; // counted when the line's own entries are written
    FormlessLine line{germanTexts[0], englishTexts[0], {}, SplitSynonyms(englishTexts[0], empties),
                      static_cast<uint32_t>(germanTexts.size()), {}};
    if (!VerbLabel(germanTexts[0]).empty()) {
        if (!has(FormKind::Past) && (braced || (known_[0] && known_[1])))
            line.missing.push_back(FormKind::Past);
        if (!has(FormKind::PastParticiple) && braced)
            line.missing.push_back(FormKind::PastParticiple);
        for (const std::string& synonym : line.english) {
            if (!BracedForms(synonym, FormKind::Past).empty())
                irregularEnglish_.insert(BaseWord(synonym, DictionaryDirection::EnglishToGerman));
        }
    } else if (germanTexts[0].find("{adj}") != std::string::npos && known_[1]) {
        for (FormKind kind : {FormKind::Comparative, FormKind::Superlative}) {
            if (!has(kind))
                line.missing.push_back(kind);
        }
    }
    if (line.missing.empty())
        return;
    line.german = SplitSynonyms(germanTexts[0], empties);
    formless_.push_back(std::move(line));
}

void DingImporter::AddDerivedForms()
{
    for (const FormlessLine& line : formless_) {
        for (FormKind kind : line.missing)
            AddDerivedForm(line, kind);
    }
    formless_.clear();
    for (const ShortFormPart& part : shortFormParts_)
        AddMissingSynonymForms(part);
    shortFormParts_.clear();
}

// A German word's form from another line of ding, a separable verb's from
// that of its rest ("fing an" from "fing"); for a weak verb's preterite,
// where no line gives it, the regular one that the German word list holds.
std::string DingImporter::GermanFormOf(const std::string& word, FormKind kind) const
{
    const std::string listed = wordForms_.Of(word, kind);
    if (!listed.empty())
        return listed;
    std::string prefix;
    std::string rest;
    if (kind != FormKind::Comparative && kind != FormKind::Superlative && SplitSeparablePrefix(word, prefix, rest)) {
        const std::string restForm = GermanFormOf(rest, kind);
        // "weichen" is "wich" as "to yield", but "aufweichen" is weak
        // ("weichte auf"): where the rest may be both, the sense decides,
        // which a form from another line does not tell.
        const std::string regular =
            kind == FormKind::Past && known_[0] ? FirstKnown(GermanRegularPast(rest), *known_[0]) : std::string();
        if (!restForm.empty() && (regular.empty() || regular == restForm))
            return WithSeparablePrefix(prefix, restForm, kind);
        if (!restForm.empty())
            return std::string();
    }
    if (kind != FormKind::Past || !known_[0])
        return std::string();
    return FirstKnown(GermanRegularPast(word), *known_[0]);
}

// An English synonym's forms: the irregular ones in its braces, else the
// regular one that the English word list holds.
std::vector<std::string> DingImporter::EnglishFormsOf(const std::string& synonym, FormKind kind) const
{
    std::vector<std::string> forms = BracedForms(synonym, kind);
    const std::string base = BaseWord(synonym, DictionaryDirection::EnglishToGerman);
    const std::string listed = englishComparisons_.Of(base, kind);
    if (forms.empty() && !listed.empty())
        forms.push_back(listed);
    if (!forms.empty() || !known_[1] || irregularEnglish_.count(base) != 0)
        return forms;
    std::vector<std::string> candidates;
    if (kind == FormKind::Past && synonym.compare(0, 3, "to ") == 0)
        candidates = EnglishRegularPast(base);
    else if (kind == FormKind::Comparative || kind == FormKind::Superlative)
        candidates = EnglishRegularComparison(base, kind);
    const std::string known = FirstKnown(candidates, *known_[1]);
    if (!known.empty())
        forms.push_back(known);
    return forms;
}

// "denken {v} :: to think {thought; thought}" with "dachte" known from
// "logisch denken | ... | dachte logisch": "dachte (past of denken)" with
// "thought", and "thought (past of think)" with "dachte". With the word
// lists, "erzählen {vt} :: to tell {told; told}" gives "erzählte" with
// "told", and "nahe; nah {adj} :: close" gives "closer" with "näher".
void DingImporter::AddDerivedForm(const FormlessLine& line, FormKind kind)
{
    std::vector<std::pair<size_t, std::string>> german; // synonym, form
    for (size_t i = 0; i < line.german.size(); ++i) {
        const std::string form = GermanFormOf(BaseWord(line.german[i], DictionaryDirection::GermanToEnglish), kind);
        if (!form.empty())
            german.emplace_back(i, form);
    }
    std::vector<std::pair<size_t, std::vector<std::string>>> english; // synonym, forms
    for (size_t i = 0; i < line.english.size(); ++i) {
        std::vector<std::string> forms = EnglishFormsOf(line.english[i], kind);
        if (!forms.empty())
            english.emplace_back(i, std::move(forms));
    }
    if (german.empty() || english.empty())
        return;
    std::string germanForms;
    std::string englishForms;
    for (const auto& word : german)
        AppendSynonym(germanForms, word.second);
    for (const auto& word : english) {
        for (const std::string& form : word.second)
            AppendSynonym(englishForms, form);
    }
    for (size_t i = 0; i < german.size(); ++i) {
        AddDerivedEntry(DictionaryDirection::GermanToEnglish, kind, german[i].second, englishForms,
                        line.german[german[i].first], line.englishPart, static_cast<uint32_t>(i), line.parts, true);
    }
    for (size_t i = 0; i < english.size(); ++i) {
        for (const std::string& form : english[i].second) {
            AddDerivedEntry(DictionaryDirection::EnglishToGerman, kind, form, germanForms,
                            line.english[english[i].first], line.germanPart, static_cast<uint32_t>(i), line.parts,
                            form == english[i].second[0]);
        }
    }
}

// A derived form takes on the notes and labels of its base's sense:
// "machte · fixed" from "machen {vt} (Essen) :: to fix [Am.]" stays behind
// "machte · did". Unlike a listed form (see AddForm) it is judged by the
// words of its own translation, which are all forms: with the base's, the
// forms lists lost "left · verließ" and "kept · behielt" (88.0 to 86.3 %).
// A past that the braces name after another ("sunk" in "{sank, sunk;
// sunk}") is the rarer one, and does not go before the participle.
void DingImporter::AddDerivedEntry(DictionaryDirection d, FormKind kind, const std::string& form,
                                   const std::string& translation, const std::string& baseSynonym,
                                   const std::string& basePart, uint32_t synonymIndex, uint32_t parts,
                                   bool firstSpelling)
{
    const std::string base = BaseWord(baseSynonym, d);
    EntrySigns signs = SignsOf(baseSynonym, basePart);
    signs.parts = parts;
    signs.synonymIndex = synonymIndex;
    signs.formOfAnotherWord = form != base;
    signs.pastForm = kind == FormKind::Past && signs.formOfAnotherWord && firstSpelling;
    signs.derivedForm = true;
    AddEntry(d, FormSource(form, kind, base), translation, signs);
    ++stats_.Of(d).forms;
}

// ding lists a verb's forms for fewer synonyms than the verb has ("jdm.
// etw. verzeihen; vergeben | ... | ich/er/sie verzieh :: to forgive |
// ... | I/he/she forgave"); the others' forms come from other lines or the
// regular rule, as a part of their own: "vergab (past of vergeben) ·
// forgave", and "forgave · vergab" after "forgave · verzieh".
void DingImporter::NoteShortFormPart(const std::string& germanPart, const std::string& englishPart,
                                     const PartPlace& place)
{
    const std::vector<std::string>& bases = place.baseSynonyms[static_cast<int>(DictionaryDirection::GermanToEnglish)];
    if (place.form != FormKind::Past && place.form != FormKind::PastParticiple && place.form != FormKind::Present)
        return;
    uint64_t empties = 0;
    const size_t forms = SplitSynonyms(germanPart, empties).size();
    if (forms == 0 || forms >= bases.size())
        return;
    // Kept until every line is in, so that the forms of later lines count.
    shortFormParts_.push_back({germanPart, englishPart, *place.baseParts[0], *place.baseParts[1], place.verbLabel,
                               place.index, place.count, place.form});
}

void DingImporter::AddMissingSynonymForms(const ShortFormPart& part)
{
    const int german = static_cast<int>(DictionaryDirection::GermanToEnglish);
    PartPlace place{part.index, part.count, part.verbLabel, part.form, {&part.baseGerman, &part.baseEnglish}, {}};
    place.derived = true;
    uint64_t empties = 0;
    place.baseSynonyms[1] = SplitSynonyms(part.baseEnglish, empties);
    const std::vector<std::string> bases = SplitSynonyms(part.baseGerman, empties);
    std::set<std::string> listed;
    for (const std::string& form : SplitSynonyms(part.germanPart, empties))
        listed.insert(BareForm(WithoutPersons(form, DictionaryDirection::GermanToEnglish)));
    // A synonym lacks its form where the one known for it is not listed:
    // ding does not always list the forms in the order of their verbs
    // ("frieren; gefrieren; einfrieren | ... | es gefror; es fror ein").
    // Only those synonyms are the new part's bases, so that each form
    // pairs with its own.
    std::string added;
    for (size_t b = 0; b < bases.size(); ++b) {
        const std::string form = GermanFormOf(BaseWord(bases[b], DictionaryDirection::GermanToEnglish), part.form);
        if (form.empty() || listed.count(form) != 0)
            continue;
        if (added.empty())
            place.laterSynonyms = static_cast<uint32_t>(b);
        place.baseSynonyms[german].push_back(bases[b]);
        AppendSynonym(added, form);
    }
    if (added.empty())
        return;
    AddPart(added, part.englishPart, place);
}

// The superlatives of a part as they stand before a noun ("größte;
// schwerste" for "am größten; am schwersten"), or nothing unless the German
// word list holds every one: the forms pair with the line's words by place.
std::string DingImporter::AttributivePart(const std::string& superlatives) const
{
    if (!known_[0])
        return std::string();
    uint64_t empties = 0;
    std::string part;
    for (const std::string& synonym : SplitSynonyms(superlatives, empties)) {
        const std::string word = AttributiveSuperlative(synonym);
        if (word.empty() || !known_[0]->Holds(word))
            return std::string();
        AppendSynonym(part, word);
    }
    return part;
}

std::vector<int32_t> DingImporter::EverydayScores(DictionaryDirection d) const
{
    const int i = static_cast<int>(d);
    const std::string& lines = entries_[i];
    std::vector<int32_t> scores;
    scores.reserve(signs_[i].size());
    std::string lastTranslation;
    uint32_t common = 0;
    for (size_t begin = 0; begin < lines.size() && scores.size() < signs_[i].size();) {
        size_t end = lines.find("\r\n", begin);
        if (end == std::string::npos)
            end = lines.size();
        // The synonyms of a part follow each other with the same translation.
        std::string translation = TranslationOf(lines, begin, end);
        if (translation != lastTranslation) {
            common = Commonness(translation, translationWords_[i]);
            lastTranslation.swap(translation);
        }
        const auto judged = judgedBy_[i].find(scores.size());
        const uint32_t commonness =
            judged == judgedBy_[i].end() ? common : Commonness(judged->second, translationWords_[i]);
        scores.push_back(EverydayScore(signs_[i][scores.size()], commonness));
        begin = end + 2;
    }
    return scores;
}

void DingImporter::AddLine(const std::string& rawLine)
{
    ++stats_.linesRead;
    size_t length = rawLine.size();
    if (length > 0 && rawLine[length - 1] == '\r')
        --length;
    const std::string line = rawLine.substr(0, length);
    if (Trim(line).empty()) {
        ++stats_.blankLines;
        return;
    }
    if (line[0] == '#') {
        ++stats_.commentLines;
        if (!seenEntry_ && IsValidUtf8(line, 0, line.size()))
            comments_.push_back(Trim(line, 1, line.size()));
        return;
    }
    std::vector<std::string> germanParts;
    std::vector<std::string> englishParts;
    Malformed why = Malformed::NoSeparator;
    if (!SplitEntryLine(line, germanParts, englishParts, why))
        return Skip(why);
    seenEntry_ = true;
    ++stats_.entryLines;
    AddParts(germanParts, englishParts);
}

// A "German :: English" line's parts, or why it is no such line.
bool DingImporter::SplitEntryLine(const std::string& line, std::vector<std::string>& germanParts,
                                  std::vector<std::string>& englishParts, Malformed& why)
{
    const size_t separator = line.find(kSideSeparator);
    why = !IsValidUtf8(line, 0, line.size())                                ? Malformed::InvalidUtf8
          : separator == std::string::npos                                  ? Malformed::NoSeparator
          : line.find(kSideSeparator, separator + 1) != std::string::npos ? Malformed::SeveralSeparators
                                                                            : Malformed::EmptySide;
    if (why != Malformed::EmptySide)
        return false;
    const std::string german = line.substr(0, separator);
    const std::string english = line.substr(separator + 4);
    if (Trim(german).empty() || Trim(english).empty())
        return false;
    why = Malformed::SeparatorInBrackets;
    if (SeparatorInBrackets(german, english))
        return false;
    germanParts = SplitOn(german, kPartSeparator);
    englishParts = SplitOn(english, kPartSeparator);
    why = Malformed::PartCounts;
    return germanParts.size() == englishParts.size();
}

// A one-word participle that the line's own perfect contradicts is a
// slip of ding's ("gewissen", "gestinkt", "gemusszt"): the perfect's is
// written. An import before this wrote the slip, so it stays among the
// former lines.
void DingImporter::MendParticiple(const std::vector<FormKind>& forms, std::vector<std::string>& germanTexts,
                                  const std::vector<std::string>& englishTexts)
{
    const auto at = std::find(forms.begin(), forms.end(), FormKind::PastParticiple);
    if (at == forms.end())
        return;
    std::string& participle = germanTexts[static_cast<size_t>(at - forms.begin())];
    const std::string& english = englishTexts[static_cast<size_t>(at - forms.begin())];
    const std::string perfect = ParticipleOfPerfect(germanTexts);
    const std::string bare = BareForm(participle);
    if (perfect.empty() || bare.empty() || bare == perfect || bare.find(' ') != std::string::npos ||
        participle.find(';') != std::string::npos)
        return;
    AppendEntryLine(formerLines_[static_cast<int>(DictionaryDirection::GermanToEnglish)], participle, english);
    AppendEntryLine(formerLines_[static_cast<int>(DictionaryDirection::EnglishToGerman)], english, participle);
    participle = perfect;
}

void DingImporter::AddParts(const std::vector<std::string>& germanParts, const std::vector<std::string>& englishParts)
{
    const uint32_t parts = static_cast<uint32_t>(germanParts.size());
    std::vector<std::string> germanTexts(parts);
    std::vector<std::string> englishTexts(parts);
    for (uint32_t i = 0; i < parts; ++i) {
        germanTexts[i] = CleanPart(germanParts[i], stats_);
        englishTexts[i] = CleanPart(englishParts[i], stats_);
        translationWords_[static_cast<int>(DictionaryDirection::GermanToEnglish)].AddText(englishTexts[i]);
        translationWords_[static_cast<int>(DictionaryDirection::EnglishToGerman)].AddText(germanTexts[i]);
    }
    strongVerbs_.AddLine(germanTexts, englishTexts);
    const std::vector<FormKind> forms = FormKindsOf(germanTexts, englishTexts);
    MendParticiple(forms, germanTexts, englishTexts);
    NoteFormlessLine(germanTexts, englishTexts, forms);
    for (uint32_t i = 0; i < parts; ++i) {
        const std::string verbLabel = VerbLabel(germanTexts[i]);
        const size_t base = BasePartOf(forms, i);
        PartPlace place{i, parts, verbLabel, forms[i], {&germanTexts[base], &englishTexts[base]}, {}};
        for (int side = 0; side < 2 && forms[i] != FormKind::None; ++side) {
            uint64_t empties = 0; // counted when the base part's own entries are written
            place.baseSynonyms[side] = SplitSynonyms(*place.baseParts[side], empties);
        }
        // "das größte Haus" is read far more often than "am größten", so
        // its entries go first where the two rank alike.
        const std::string attributive = forms[i] == FormKind::Superlative ? AttributivePart(germanTexts[i]) : "";
        if (!attributive.empty()) {
            PartPlace derived = place;
            derived.derived = true;
            AddPart(attributive, englishTexts[i], derived);
        }
        AddPart(germanTexts[i], englishTexts[i], place);
        NoteShortFormPart(germanTexts[i], englishTexts[i], place);
    }
}

std::string BuildHeader(DictionaryDirection d, const ImportSettings& settings,
                        const std::vector<std::string>& comments, const std::string& entries)
{
    static const char* const kVersion[] = {"Version", nullptr};
    static const char* const kLicence[] = {"License", "Licence", nullptr};
    const bool german = d == DictionaryDirection::GermanToEnglish;

    std::string text;
    text += german ? "Vokabix dictionary, German to English\n" : "Vokabix dictionary, English to German\n";
    text += "Imported by vokabix-import on " + settings.date + "\n";
    text += "Source: " + settings.sourceName + " (ding word list)\n";
    text += "Version: " + CommentValue(comments, kVersion) + "\n";
    text += "License: " + CommentValue(comments, kLicence) + "\n";
    if (!settings.wordListNames.empty())
        text += "Regular forms checked against: " + settings.wordListNames + "\n";
    text += ImportedPartLine(entries) + "\n";
    if (!comments.empty()) {
        text += "The word list says:\n";
        for (const std::string& comment : comments)
            text += "  " + comment + "\n";
    }

    FixCounts unused;
    std::string header;
    std::string line;
    for (size_t begin = 0; begin < text.size();) {
        const size_t end = text.find('\n', begin);
        line.clear();
        AppendWindows1252(text, begin, end, line, unused);
        header += line + "\r\n";
        begin = end + 1;
    }
    // A marker in the comments would end the header there and make the rest
    // of it data.
    for (DictionaryDirection either : {DictionaryDirection::GermanToEnglish, DictionaryDirection::EnglishToGerman}) {
        const std::string marker = InfoFor(either).marker;
        ReplaceAll(header, marker, marker.substr(0, kMarkerLength - 1) + ".");
    }
    return header + InfoFor(d).marker + "\r\n";
}

// The number of the first of the opening lines that is not UTF-8 text,
// or 0: Latin-1 or UTF-16 text shows itself there, and it is better to
// say so than to turn a whole word list into skipped lines.
static uint64_t FirstLineNotUtf8(const std::string& input, size_t pos)
{
    for (int line = 1; line <= kCheckedOpeningLines && pos < input.size(); ++line) {
        size_t end = input.find('\n', pos);
        if (end == std::string::npos)
            end = input.size();
        if (!IsValidUtf8(input, pos, end) || std::memchr(input.data() + pos, '\0', end - pos) != nullptr)
            return static_cast<uint64_t>(line);
        pos = end + 1;
    }
    return 0;
}

static void FeedLines(const std::string& input, size_t pos, DingImporter& importer, const ImportProgress& progress)
{
    int nextReport = 10;
    std::string line;
    while (pos < input.size()) {
        size_t end = input.find('\n', pos);
        if (end == std::string::npos)
            end = input.size();
        line.assign(input, pos, end - pos);
        importer.AddLine(line);
        pos = end + 1;
        if (progress) {
            const int percent = static_cast<int>(std::min<size_t>(pos, input.size()) * 100 / input.size());
            if (percent >= nextReport) {
                progress(importer.Stats().linesRead, percent);
                nextReport = percent / 10 * 10 + 10;
            }
        }
    }
}

ImportResult ImportDing(const std::string& input, const ImportSettings& settings, const ImportProgress& progress)
{
    ImportResult result;
    const size_t pos = input.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    result.refusedLine = FirstLineNotUtf8(input, pos);
    if (result.refusedLine != 0) {
        result.refusal = Refusal::NotUtf8;
        return result;
    }
    DingImporter importer;
    importer.UseKnownWords(settings.germanWords, settings.englishWords);
    // Each input byte ends up in about two lines of each file.
    importer.Reserve(input.size() * 2);
    FeedLines(input, pos, importer, progress);
    importer.AddDerivedForms();
    result.stats = importer.Stats();
    result.firstSkipped = importer.FirstSkipped();
    if (result.stats.entryLines == 0) {
        result.refusal = Refusal::NoEntries;
        return result;
    }
    for (DictionaryDirection d : {DictionaryDirection::GermanToEnglish, DictionaryDirection::EnglishToGerman}) {
        const int i = static_cast<int>(d);
        const std::vector<int32_t> scores = importer.EverydayScores(d);
        result.entries[i] = InSearchOrder(importer.TakeEntries(d), scores);
        result.formerLines[i] = importer.FormerLines(d);
        result.header[i] = BuildHeader(d, settings, importer.LeadingComments(), result.entries[i]);
    }
    result.strongs = importer.StrongVerbRecords(result.Entries(DictionaryDirection::GermanToEnglish), result.strongStats);
    return result;
}
