// vokabix-cli: drives the dictionary engine from a command line, on the same
// files the program reads. Arguments and output are UTF-8; the engine sees
// Windows-1252 bytes, as in the files.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "../common/codepage.h"
#include "../../src/data/dictionary_format.h"
#include "../../src/data/entry_composer.h"
#include "../../src/data/search.h"
#include "../../src/data/strongs_list.h"
#include "../../src/mapping/mapped_file.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

constexpr int kExitFile = 1;
constexpr int kExitUsage = 2;
constexpr int kExitEncoding = 2;

const char kUsage[] =
    "usage: vokabix-cli search [-d ger-eng|eng-ger] FILE TEXT [--records]\n"
    "       vokabix-cli compose [-d ger-eng|eng-ger] TEXT\n"
    "       vokabix-cli strongs FILE --records\n"
    "       vokabix-cli rank [-d ger-eng|eng-ger] FILE WORDLIST\n";

struct Options {
    std::string command;
    DictionaryDirection direction = DictionaryDirection::GermanToEnglish;
    bool records = false;
    std::vector<std::string> operands;
};

int Usage(const char* why)
{
    std::fprintf(stderr, "vokabix-cli: %s\n%s", why, kUsage);
    return kExitUsage;
}

bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error)
{
    if (args.empty()) {
        error = "no command";
        return false;
    }
    options.command = args[0];
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--records") {
            options.records = true;
        } else if (arg == "-d") {
            if (i + 1 >= args.size()) {
                error = "-d needs ger-eng or eng-ger";
                return false;
            }
            const std::string& value = args[++i];
            if (value == "ger-eng")
                options.direction = DictionaryDirection::GermanToEnglish;
            else if (value == "eng-ger")
                options.direction = DictionaryDirection::EnglishToGerman;
            else {
                error = "unknown direction '" + value + "'";
                return false;
            }
        } else {
            options.operands.push_back(arg);
        }
    }
    return true;
}

// Converts an argument to the files' code page, or explains on stderr why not.
bool ToCp1252(const std::string& utf8, std::string& out)
{
    uint32_t bad = 0;
    if (Utf8ToCp1252(utf8, out, bad))
        return true;
    if (bad == 0xFFFFFFFFu)
        std::fprintf(stderr, "vokabix-cli: the text is not valid UTF-8\n");
    else
        std::fprintf(stderr, "vokabix-cli: U+%04X has no Windows-1252 character\n", static_cast<unsigned>(bad));
    return false;
}

void PrintBytes(const unsigned char* view, uint32_t position, uint32_t length)
{
    const std::string text = Cp1252ToUtf8(reinterpret_cast<const char*>(view) + position, length);
    std::fwrite(text.data(), 1, text.size(), stdout);
}

bool OpenFile(const std::string& path, MappedFile& file)
{
    std::string error;
    if (file.OpenReadOnly(path, error))
        return true;
    std::fprintf(stderr, "vokabix-cli: cannot read %s: %s\n", path.c_str(), error.c_str());
    return false;
}

// Maps the dictionary file and finds the end of its header; false, with
// the reason on stderr, when there is no marker and so no entry.
bool OpenDictionaryView(const std::string& path, DictionaryDirection direction, MappedFile& file,
                        DictionaryView& dictionary)
{
    if (!OpenFile(path, file))
        return false;
    const char* marker = InfoFor(direction).marker;
    dictionary = {file.view, file.fileSize, FindHeaderEnd(file.view, file.fileSize, marker)};
    if (dictionary.headerOffset == kNoMarker) {
        std::fprintf(stderr, "vokabix-cli: %s has no marker \"%s\", so it holds no entries\n", path.c_str(),
                     marker);
        return false;
    }
    return true;
}

void PrintRows(const ResultList& list, const unsigned char* view, bool records)
{
    if (records)
        std::printf("count %d\n", list.resultCount);
    for (int32_t slot = 0; slot < list.resultCount; ++slot) {
        const ResultRecord& r = list.table.results[slot];
        if (records) {
            std::printf("%d\t%u\t%u\t%u\t%u\n", slot, r.source, r.sourceLength, r.translation,
                        r.translationLength);
            continue;
        }
        uint32_t shown = r.sourceLength;
        while (shown > 0 && view[r.source + shown - 1] == ' ')
            --shown;
        PrintBytes(view, r.source, shown);
        std::fputc('\t', stdout);
        PrintBytes(view, r.translation, r.translationLength);
        std::fputc('\n', stdout);
    }
}

int RunSearch(const Options& options)
{
    if (options.operands.size() != 2)
        return Usage("search takes FILE and TEXT");
    std::string text;
    if (!ToCp1252(options.operands[1], text))
        return kExitEncoding;
    if (text.size() > kSearchTextCapacity)
        return Usage("the search text is longer than 300 bytes");
    MappedFile file;
    DictionaryView dictionary{};
    if (!OpenDictionaryView(options.operands[0], options.direction, file, dictionary))
        return kExitFile;

    static ResultList list;
    InitResultList(list);
    SearchDictionary(dictionary, reinterpret_cast<const unsigned char*>(text.data()),
                     static_cast<uint32_t>(text.size()), list);
    PrintRows(list, file.view, options.records);
    if (list.resultCount == 0 && !options.records)
        std::fprintf(stderr, "vokabix-cli: no entry begins with \"%s\"\n", options.operands[1].c_str());
    return 0;
}

int RunCompose(const Options& options)
{
    if (options.operands.size() != 1)
        return Usage("compose takes TEXT");
    std::string text;
    if (!ToCp1252(options.operands[0], text))
        return kExitEncoding;
    if (text.size() > kMaxEntryBytes)
        return Usage("the entry is longer than 127 bytes, more than the add-word field can hold");
    EntryRecord record{};
    char message[kComposeMessageBytes];
    const ComposeOutcome outcome =
        ComposeEntry(reinterpret_cast<const unsigned char*>(text.data()), static_cast<uint32_t>(text.size()),
                     options.direction, record, message);
    std::printf("%s\n", OutcomeName(outcome));
    if (outcome == ComposeOutcome::Composed) {
        PrintBytes(record.bytes, 0, record.length - 2);
        std::fputc('\n', stdout);
    } else if (message[0] != '\0') {
        std::printf("%s\n", message);
    }
    return 0;
}

int RunStrongs(const Options& options)
{
    if (options.operands.size() != 1 || !options.records)
        return Usage("strongs takes FILE and --records");
    MappedFile file;
    if (!OpenFile(options.operands[0], file))
        return kExitFile;
    static ResultTable table;
    const StrongsLoad load = ReadStrongsList(file.view, file.fileSize, table);
    std::printf("lines %d\n", load.lineCount);
    for (int32_t slot = 0; slot < load.recordCount; ++slot) {
        std::printf("%d", slot);
        for (const StrongsColumn& column : table.strongs[slot].columns)
            std::printf("\t%u\t%u", column.position, column.length);
        std::printf("\n");
    }
    return 0;
}

bool IsAbbreviation(const std::string& word)
{
    return word.size() >= 3 && word.front() == '/' && word.back() == '/';
}

// A source as a reader takes it in: without its {...}, [...] and (...)
// notes and the abbreviations after its first word ("Zimmer {n} /Zi./"),
// blanks collapsed, none at either end.
std::string WithoutNotes(const unsigned char* text, uint32_t length)
{
    std::string out;
    int depth = 0;
    bool blank = false;
    for (uint32_t i = 0; i < length; ++i) {
        const char c = static_cast<char>(text[i]);
        if (c == '{' || c == '[' || c == '(') {
            ++depth;
        } else if (c == '}' || c == ']' || c == ')') {
            depth = std::max(depth - 1, 0);
        } else if (depth > 0) {
            continue;
        } else if (c == ' ') {
            blank = true;
        } else {
            if (blank && !out.empty())
                out += ' ';
            blank = false;
            out += c;
        }
    }
    for (size_t at = out.find(" /"); at != std::string::npos; at = out.find(" /", at)) {
        const size_t end = std::min(out.find(' ', at + 1), out.size());
        if (IsAbbreviation(out.substr(at + 1, end - at - 1)))
            out.erase(at, end - at);
        else
            ++at;
    }
    return out;
}

// One line of a word list: the word as typed and, after a tab, the
// translations that count as its everyday meaning, separated by "; ".
struct ListedWord {
    std::string word;
    std::vector<std::string> meanings;
    std::string base; // for a form: the word it is a form of ("gehen" for "ging"), else empty
};

std::vector<std::string> SplitAt(const std::string& text, const std::string& separator)
{
    std::vector<std::string> pieces;
    size_t begin = 0;
    for (size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, begin)) {
        pieces.push_back(text.substr(begin, at - begin));
        begin = at + separator.size();
    }
    pieces.push_back(text.substr(begin));
    return pieces;
}

// The words of a list file in UTF-8, one a line, each with its translations
// after a tab when the list gives them, and for a form its base word after
// a second tab; "#" lines and blank lines are passed
// over. False, with the reason on stderr, when a word cannot be searched for.
bool ReadWordList(const std::string& path, std::vector<ListedWord>& words)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "vokabix-cli: cannot read %s\n", path.c_str());
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const size_t tab = line.find('\t');
        ListedWord listed;
        if (!ToCp1252(line.substr(0, tab), listed.word))
            return false;
        const std::string& word = listed.word;
        if (word.empty() || word.size() > kMaxSearchChars || !IsWordStart(static_cast<unsigned char>(word[0]))) {
            std::fprintf(stderr, "vokabix-cli: %s line %d: \"%s\" cannot be typed into the search\n", path.c_str(),
                         number, line.c_str());
            return false;
        }
        if (tab != std::string::npos) {
            std::string meanings;
            const size_t baseTab = line.find('\t', tab + 1);
            if (!ToCp1252(line.substr(tab + 1, baseTab == std::string::npos ? baseTab : baseTab - tab - 1), meanings) ||
                (baseTab != std::string::npos && !ToCp1252(line.substr(baseTab + 1), listed.base)))
                return false;
            for (const std::string& meaning : SplitAt(meanings, "; ")) {
                if (!meaning.empty())
                    listed.meanings.push_back(meaning);
            }
        }
        words.push_back(listed);
    }
    return true;
}

// The words of the list that some line of the data has as its whole source,
// notes left out: the words a user can expect to find as an entry.
std::set<std::string> Headwords(const DictionaryView& dictionary, const std::vector<ListedWord>& words)
{
    std::set<std::string> wanted;
    for (const ListedWord& listed : words)
        wanted.insert(listed.word);
    std::set<std::string> found;
    const unsigned char* p = dictionary.view + dictionary.headerOffset;
    const unsigned char* const end = p + DataBytes(dictionary.view, dictionary.fileSize, dictionary.headerOffset);
    while (p < end) {
        const unsigned char* lineEnd = FindLineEnd(p, end);
        const unsigned char* start = p;
        while (start < lineEnd && !IsWordStart(*start))
            ++start;
        const unsigned char* star = start;
        while (star < lineEnd && *star != kSourceEnd)
            ++star;
        const std::string source = WithoutNotes(start, static_cast<uint32_t>(star - start));
        if (wanted.count(source) != 0)
            found.insert(source);
        p = lineEnd + 2;
    }
    return found;
}

// The words that stand for an object or the reader himself ("etw. sehen",
// "to ask sb. for sth."), articles, abbreviations ("room /rm/") and the "to"
// of an English infinitive say nothing about which sense a translation
// gives.
bool IsPlaceholder(const std::string& word, bool german)
{
    if (IsAbbreviation(word))
        return true;
    static const std::set<std::string> kEnglish = {"sb.", "sth.", "sb.'s", "oneself", "sb./sth.", "the"};
    static const std::set<std::string> kGerman = {"etw.", "jdn.", "jdm.", "jds.", "sich", "jdn./etw.", "jdm./etw.",
                                                  "der", "die", "das"};
    return (german ? kGerman : kEnglish).count(word) != 0;
}

// A translation's synonyms as a reader compares them with the meaning he
// has in mind: split at "; " outside brackets, notes left out, placeholders
// and a leading "to" dropped.
std::vector<std::string> ComparableSynonyms(const unsigned char* text, uint32_t length, bool german)
{
    std::vector<std::string> synonyms;
    uint32_t begin = 0;
    int depth = 0;
    for (uint32_t i = 0; i <= length; ++i) {
        const char c = i < length ? static_cast<char>(text[i]) : ';';
        if (c == '{' || c == '[' || c == '(')
            ++depth;
        else if (c == '}' || c == ']' || c == ')')
            depth = std::max(depth - 1, 0);
        if (c != ';' || (depth > 0 && i < length))
            continue;
        std::string kept;
        const std::vector<std::string> words = SplitAt(WithoutNotes(text + begin, i - begin), " ");
        for (size_t w = 0; w < words.size(); ++w) {
            if (IsPlaceholder(words[w], german) || (!german && w == 0 && words[w] == "to" && words.size() > 1))
                continue;
            kept += (kept.empty() ? "" : " ") + words[w];
        }
        synonyms.push_back(kept);
        begin = i + 1;
    }
    return synonyms;
}

bool GivesMeaning(const ResultRecord& r, const unsigned char* view, const std::vector<std::string>& meanings,
                  bool german)
{
    for (const std::string& synonym : ComparableSynonyms(view + r.translation, r.translationLength, german)) {
        if (std::find(meanings.begin(), meanings.end(), synonym) != meanings.end())
            return true;
    }
    return false;
}

std::string Percent(int part, int whole)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %%", whole == 0 ? 0.0 : 100.0 * part / whole);
    return text;
}

constexpr int kPageRows = 7;
constexpr int kNotShown = kResultCapacity + 1;

// One row of a rank table: how many of the counted words reached row 1, the
// first page and the 500 rows, and the median row.
void PrintRankRow(const char* direction, const std::string& counted, std::vector<int> ranks)
{
    const int total = static_cast<int>(ranks.size());
    const int first = static_cast<int>(std::count(ranks.begin(), ranks.end(), 1));
    const int onPage = static_cast<int>(std::count_if(ranks.begin(), ranks.end(), [](int r) { return r <= kPageRows; }));
    const int missing = static_cast<int>(std::count(ranks.begin(), ranks.end(), kNotShown));
    std::sort(ranks.begin(), ranks.end());
    std::string median = "-";
    if (total > 0) {
        const int low = ranks[static_cast<size_t>(total - 1) / 2];
        const int high = ranks[static_cast<size_t>(total) / 2];
        char text[32];
        if (high == kNotShown)
            std::snprintf(text, sizeof text, "not shown");
        else
            std::snprintf(text, sizeof text, "%g", (low + high) / 2.0);
        median = text;
    }
    std::printf("| %s | %s | %s | %s | %s | %s |\n", direction, counted.c_str(), Percent(first, total).c_str(),
                Percent(onPage, total).c_str(), Percent(missing, total).c_str(), median.c_str());
}

std::string RankNote(const std::string& word, int rank)
{
    return " " + Cp1252ToUtf8(word.data(), word.size()) + "(" +
           (rank == kNotShown ? std::string("-") : std::to_string(rank)) + ")";
}

// Whether word stands in text as a word of its own: "gehen" in "ging (past
// of gehen)", "go" in "went (past of go)", but not "go" in "good".
bool NamesWord(const std::string& text, const std::string& word)
{
    const auto letter = [](unsigned char c) { return IsWordStart(c) && !(c >= '0' && c <= '9'); };
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
        const size_t end = at + word.size();
        if ((at == 0 || !letter(static_cast<unsigned char>(text[at - 1]))) &&
            (end == text.size() || !letter(static_cast<unsigned char>(text[end]))))
            return true;
    }
    return false;
}

// Where one listed word's entries come in the table the real search fills
// (first 499 matches and the last).
struct WordRanks {
    int headword = kNotShown; // the first record whose source is the word, notes aside
    int meaning = kNotShown;  // the first record that gives one of its translations
    bool namesBase = false;   // that record names the form's base word
};

WordRanks RankOf(const DictionaryView& dictionary, const ListedWord& listed, bool german)
{
    static ResultList list;
    InitResultList(list);
    const std::string& word = listed.word;
    SearchDictionary(dictionary, reinterpret_cast<const unsigned char*>(word.data()),
                     static_cast<uint32_t>(word.size()), list);
    WordRanks ranks;
    for (int32_t slot = 0; slot < list.resultCount; ++slot) {
        const ResultRecord& r = list.table.results[slot];
        if (ranks.headword == kNotShown && WithoutNotes(dictionary.view + r.source, r.sourceLength) == word)
            ranks.headword = slot + 1;
        if (ranks.meaning == kNotShown && GivesMeaning(r, dictionary.view, listed.meanings, german)) {
            ranks.meaning = slot + 1;
            const std::string row =
                std::string(reinterpret_cast<const char*>(dictionary.view + r.source), r.sourceLength) + " " +
                std::string(reinterpret_cast<const char*>(dictionary.view + r.translation), r.translationLength);
            ranks.namesBase = !listed.base.empty() && NamesWord(row, listed.base);
        }
    }
    return ranks;
}

// One table of the rank report, with the words not on the first row after it.
struct RankTable {
    std::vector<int> ranks;
    std::string notFirst;

    void Add(const std::string& word, int rank)
    {
        ranks.push_back(rank);
        if (rank != 1)
            notFirst += RankNote(word, rank);
    }
    void Print(const char* direction, const char* counted, const char* column, const std::string& all) const
    {
        std::printf("| Direction | %s | %s on the first row | On the first page (%d rows) "
                    "| Not among the %d shown | Median rank |\n",
                    counted, column, kPageRows, kResultCapacity);
        std::printf("|---|---|---|---|---|---|\n");
        PrintRankRow(direction, std::to_string(ranks.size()) + " of " + all + " words", ranks);
    }
};

// How far down the list a user must look: for every listed word that the
// dictionary has as a headword, the row of the first record whose source is
// the word; for a list that gives translations, the row of the first record
// that gives one of them, for every listed word; for a list of forms with
// their base words, how many of those rows name the base.
// The rank tables of one list: what RunRank prints.
struct RankReport {
    RankTable headwords;
    RankTable meanings;
    std::string notHeadwords;
    std::string baseNotNamed;
    int forms = 0;
    int namingBase = 0;

    void Add(const ListedWord& listed, const WordRanks& ranks, bool headword)
    {
        const std::string word = Cp1252ToUtf8(listed.word.data(), listed.word.size());
        if (headword)
            headwords.Add(listed.word, ranks.headword);
        else
            notHeadwords += " " + word;
        if (!listed.meanings.empty())
            meanings.Add(listed.word, ranks.meaning);
        if (listed.base.empty())
            return;
        ++forms;
        namingBase += ranks.namesBase ? 1 : 0;
        if (!ranks.namesBase)
            baseNotNamed += " " + word;
    }
    void Print(const char* direction, const std::string& all) const
    {
        const auto listed = [](const std::string& words) { return words.empty() ? " none" : words.c_str(); };
        headwords.Print(direction, "Headwords", "Word", all);
        std::printf("not on the first row (row, - when not shown):%s\n", listed(headwords.notFirst));
        std::printf("not a headword, not counted:%s\n", listed(notHeadwords));
        if (meanings.ranks.empty())
            return;
        std::printf("\n");
        meanings.Print(direction, "Words with a translation", "Translation", all);
        std::printf("translation not on the first row (row, - when not shown):%s\n", listed(meanings.notFirst));
        if (forms > 0)
            std::printf("\nthe row with the translation names the base word for %d of %d forms (%s); not for:%s\n",
                        namingBase, forms, Percent(namingBase, forms).c_str(), listed(baseNotNamed));
    }
};

// How far down the list a user must look: for every listed word that the
// dictionary has as a headword, the row of the first record whose source is
// the word; for a list that gives translations, the row of the first record
// that gives one of them, for every listed word; for a list of forms with
// their base words, how many of those rows name the base.
int RunRank(const Options& options)
{
    if (options.operands.size() != 2)
        return Usage("rank takes FILE and WORDLIST");
    std::vector<ListedWord> words;
    if (!ReadWordList(options.operands[1], words))
        return kExitFile;
    MappedFile file;
    DictionaryView dictionary{};
    if (!OpenDictionaryView(options.operands[0], options.direction, file, dictionary))
        return kExitFile;

    const bool german = options.direction == DictionaryDirection::GermanToEnglish;
    const std::set<std::string> headwords = Headwords(dictionary, words);
    RankReport report;
    for (const ListedWord& listed : words)
        report.Add(listed, RankOf(dictionary, listed, !german), headwords.count(listed.word) != 0);
    report.Print(german ? "German to English" : "English to German", std::to_string(words.size()));
    return 0;
}

std::vector<std::string> Arguments(int argc, char** argv)
{
    std::vector<std::string> args;
#ifdef _WIN32
    // The ANSI argv has already lost what the code page cannot hold; the
    // wide command line keeps it, so a character outside Windows-1252 is
    // reported instead of silently becoming "?".
    (void)argv;
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide != nullptr && i < count; ++i) {
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
        std::string arg(bytes > 0 ? static_cast<size_t>(bytes - 1) : 0, '\0');
        if (bytes > 1)
            WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, &arg[0], bytes, nullptr, nullptr);
        args.push_back(arg);
    }
    LocalFree(wide);
    _setmode(_fileno(stdout), _O_BINARY);
#else
    for (int i = 1; i < argc; ++i)
        args.emplace_back(argv[i]);
#endif
    (void)argc;
    return args;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    std::string error;
    if (!ParseOptions(Arguments(argc, argv), options, error))
        return Usage(error.c_str());
    if (options.command == "search")
        return RunSearch(options);
    if (options.command == "compose")
        return RunCompose(options);
    if (options.command == "strongs")
        return RunStrongs(options);
    if (options.command == "rank")
        return RunRank(options);
    return Usage(("unknown command '" + options.command + "'").c_str());
}
