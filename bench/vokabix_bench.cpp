// vokabix-bench [FILE] [--reps N]
//
// Times the dictionary search over one file (or over a generated dictionary
// of about 48 MB) against yardsticks measured in the same run over the same
// bytes: a read pass that sums the data as 8-byte words, which any search
// that looks at every line start cannot beat by much; a memchr pass that only
// finds the line ends; and the byte-at-a-time walk of the unit tests. Every
// scan path the processor runs is timed; the widest is the one the program
// takes and the one the verdict is about. Exits 1 when a search gives other
// records than the walk, 2 when the widest path's median ratio to the read
// pass is above 1.25 or any of its ratios is above 1.4.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "data/dictionary_format.h"
#include "data/search.h"
#include "mapping/mapped_file.h"
#include "reference_search.h"

namespace {

using Clock = std::chrono::steady_clock;

// --- A generated dictionary -------------------------------------------------

const char* const kOnsets[] = {"b", "br", "d", "f", "fl", "g", "gr", "h", "k", "kl", "kr", "l", "m", "n", "p",
                               "pf", "r", "s", "sch", "schw", "sp", "st", "str", "t", "tr", "w", "z", "zw", ""};
const char* const kVowels[] = {"a", "e", "i", "o", "u", "au", "ei", "ie", "eu", "\xE4", "\xF6", "\xFC", "a", "e"};
const char* const kCodas[] = {"", "n", "r", "l", "s", "t", "ch", "ck", "ng", "nd", "rt", "st", "\xDF", "m", "lt"};
const char* const kEndings[] = {"", "", "en", "er", "ung", "heit", "keit", "lich", "ig", "chen", "e", "isch"};
const char* const kEnglish[] = {"house", "to run", "tree", "the", "of", "light", "water", "small", "quickly",
                                "to go", "work", "book", "table", "door", "green", "old", "new", "hand", "time",
                                "to see", "(coll.)", "{f}", "{m}", "{n}", "[techn.]", "; ", "to be", "way"};

std::string GermanWord(std::mt19937& rng)
{
    std::string word;
    const int syllables = std::uniform_int_distribution<int>(1, 3)(rng);
    for (int i = 0; i < syllables; ++i) {
        word += kOnsets[rng() % std::size(kOnsets)];
        word += kVowels[rng() % std::size(kVowels)];
        word += kCodas[rng() % std::size(kCodas)];
    }
    word += kEndings[rng() % std::size(kEndings)];
    return word;
}

std::string Capitalised(std::string word)
{
    static const std::map<unsigned char, unsigned char> umlaut = {{0xE4, 0xC4}, {0xF6, 0xD6}, {0xFC, 0xDC}};
    const unsigned char first = static_cast<unsigned char>(word[0]);
    if (first >= 'a' && first <= 'z')
        word[0] = static_cast<char>(first - 32);
    else if (umlaut.count(first))
        word[0] = static_cast<char>(umlaut.at(first));
    return word;
}

// Lines of the composer's fixed-column form, sorted by source like a real
// dictionary. First words come from a vocabulary drawn with a skewed
// distribution, so some open hundreds of lines and most only a few.
std::vector<unsigned char> GenerateDictionary(size_t targetBytes)
{
    std::mt19937 rng(1994);
    std::vector<std::string> vocabulary(40000);
    for (std::string& word : vocabulary) {
        word = GermanWord(rng);
        if (rng() % 10 < 6)
            word = Capitalised(word);
        if (rng() % 40 == 0)
            word = (rng() % 2 ? "\xC4" : "\xFC") + word.substr(1);
    }
    // Rank r is drawn with weight 1 / (r + 300): the commonest words open a
    // few hundred lines, most words a handful.
    std::vector<double> weights(vocabulary.size());
    for (size_t r = 0; r < weights.size(); ++r)
        weights[r] = 1.0 / static_cast<double>(r + 300);
    std::discrete_distribution<size_t> pick(weights.begin(), weights.end());

    std::vector<std::string> lines;
    size_t bytes = 0;
    while (bytes < targetBytes) {
        std::string source = vocabulary[pick(rng)];
        const int more = std::uniform_int_distribution<int>(0, 3)(rng) - 1;
        for (int i = 0; i < more; ++i)
            source += " " + GermanWord(rng);
        if (rng() % 200 == 0)
            source = "(sich) " + source;
        else if (rng() % 300 == 0)
            source = "  3 " + source;
        if (source.size() > kMaxSourceBytes)
            source.resize(kMaxSourceBytes);
        source.append(kStarColumn - source.size(), ' ');
        std::string line = source + "*";
        const int words = std::uniform_int_distribution<int>(1, 6)(rng);
        for (int i = 0; i < words; ++i)
            line += std::string(i ? " " : "") + kEnglish[rng() % std::size(kEnglish)];
        line += "\r\n";
        bytes += line.size();
        lines.push_back(std::move(line));
    }
    std::sort(lines.begin(), lines.end());

    std::string file = "Vokabix benchmark dictionary\r\nGenerated, not for use\r\nGerEng Data Starts Here:\r\n";
    for (size_t i = 0; i < lines.size(); ++i) {
        file += lines[i];
        if (rng() % 150 == 0)
            file += "\r\n";
    }
    return std::vector<unsigned char>(file.begin(), file.end());
}

// --- Choosing prefixes that fit the file ----------------------------------

struct Data {
    const unsigned char* view;
    uint32_t size;
    uint32_t begin;
};

bool IsWordByte(unsigned char b)
{
    return IsWordStart(b) || b == 0xDF || b >= 0xC0;
}

struct Case {
    std::string label;
    std::string text;
};

// Where the lines start, by the literal walk; for texts without CR these do
// not depend on the text, which lets the matches be counted past 500.
std::vector<uint32_t> LineStarts(const Data& d)
{
    std::vector<uint32_t> starts;
    const unsigned char* p = d.view + d.begin;
    const unsigned char* const end = d.view + d.size;
    while (p < end) {
        starts.push_back(static_cast<uint32_t>(p - d.view));
        p = FindLineEnd(p, end);
        p = p < end ? p + 2 : end;
        while (p < end && !IsWordStart(*p))
            ++p;
    }
    return starts;
}

size_t CountMatches(const Data& d, const std::vector<uint32_t>& starts, const std::string& text)
{
    size_t matches = 0;
    for (uint32_t s : starts)
        matches += d.size - s >= text.size() && std::memcmp(d.view + s, text.data(), text.size()) == 0;
    return matches;
}

template <typename Keep>
std::string MostFrequent(const std::unordered_map<std::string, int>& counts, Keep keep)
{
    std::string best;
    int bestCount = 0;
    for (const auto& [word, count] : counts)
        if (keep(word) && (count > bestCount || (count == bestCount && word < best))) {
            best = word;
            bestCount = count;
        }
    return best;
}

std::vector<Case> ChoosePrefixes(const Data& d, const std::vector<uint32_t>& starts)
{
    std::unordered_map<std::string, int> firstWords;
    std::vector<std::string> inOrder;
    const unsigned char* const end = d.view + d.size;
    for (uint32_t s : starts) {
        const unsigned char* const p = d.view + s;
        const unsigned char* w = p;
        while (w < end && IsWordByte(*w))
            ++w;
        if (w > p) {
            std::string word(reinterpret_cast<const char*>(p), static_cast<size_t>(w - p));
            if (++firstWords[word] == 1)
                inOrder.push_back(word);
        }
    }
    std::unordered_map<std::string, int> one;
    std::unordered_map<std::string, int> two;
    std::unordered_map<std::string, int> three;
    for (const auto& [word, count] : firstWords) {
        one[word.substr(0, 1)] += count;
        if (word.size() >= 2)
            two[word.substr(0, 2)] += count;
        if (word.size() >= 3)
            three[word.substr(0, 3)] += count;
    }
    const auto any = [](const std::string&) { return true; };
    const auto isUpper = [](unsigned char b) { return b >= 'A' && b <= 'Z'; };
    const auto isLower = [](unsigned char b) { return b >= 'a' && b <= 'z'; };

    std::vector<Case> cases;
    cases.push_back({"one letter", MostFrequent(one, any)});
    cases.push_back({"two letters", MostFrequent(two, any)});
    std::string common = MostFrequent(firstWords, [&](const std::string& w) {
        return w.size() >= 3 && isLower(static_cast<unsigned char>(w[0]));
    });
    if (common.empty())
        common = MostFrequent(firstWords, [](const std::string& w) { return w.size() >= 3; });
    cases.push_back({"common word", common});

    // A word from the middle of the file that opens one line and is no
    // prefix of many others.
    std::string rare;
    for (size_t i = inOrder.size() / 2, tries = 0; i < inOrder.size() && tries < 200; ++i) {
        const std::string& w = inOrder[i];
        if (w.size() < 6 || firstWords[w] != 1)
            continue;
        ++tries;
        if (CountMatches(d, starts, w) <= 2) {
            rare = w;
            break;
        }
    }
    if (rare.empty())
        rare = inOrder.empty() ? "Wort" : inOrder[inOrder.size() / 2];
    cases.push_back({"rare word", rare});

    std::string absent = rare + "qx";
    while (CountMatches(d, starts, absent) != 0)
        absent += "q";
    cases.push_back({"absent word", absent});

    std::string umlaut = MostFrequent(firstWords, [](const std::string& w) {
        const unsigned char b = static_cast<unsigned char>(w[0]);
        return w.size() >= 2 && (b == 0xE4 || b == 0xF6 || b == 0xFC || b == 0xC4 || b == 0xD6 || b == 0xDC);
    });
    cases.push_back({"umlaut word", umlaut.empty() ? std::string("\xFC") : umlaut});

    std::string capital = MostFrequent(firstWords, [&](const std::string& w) {
        return w.size() >= 3 && isUpper(static_cast<unsigned char>(w[0])) && w != common;
    });
    cases.push_back({"capital word", capital.empty() ? std::string("A") : capital});

    // The longest frequent prefix that still opens over 500 lines.
    std::string many;
    for (const auto* table : {&three, &two, &one}) {
        many = MostFrequent(*table, any);
        if (CountMatches(d, starts, many) > 500)
            break;
    }
    cases.push_back({"over 500", many});
    return cases;
}

// --- The yardsticks ---------------------------------------------------------

size_t CountLineEnds(const unsigned char* p, const unsigned char* end)
{
    size_t lines = 0;
    while (p < end) {
        const void* lf = std::memchr(p, '\n', static_cast<size_t>(end - p));
        if (lf == nullptr)
            break;
        p = static_cast<const unsigned char*>(lf) + 1;
        ++lines;
    }
    return lines;
}

// The read pass: every byte goes into the sum, one 8-byte word at a time as
// the data lies. Kept out of line and fed through an empty asm, so the
// compiler can neither drop it nor carry its result over from the last run.
__attribute__((noinline)) uint64_t ReadAll(const unsigned char* p, const unsigned char* end)
{
    __asm__ volatile("" : "+r"(p) : : "memory");
    uint64_t sum = 0;
    for (; end - p >= 8; p += 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        sum += word;
    }
    for (; p < end; ++p)
        sum += *p;
    return sum;
}

#if defined(__x86_64__) || defined(__i386__)
// The same sum, 32 bytes a step with two sums in flight: how fast this
// machine can stream the data at all, for comparison only.
__attribute__((noinline, target("avx2"))) uint64_t ReadAllWide(const unsigned char* p, const unsigned char* end)
{
    __asm__ volatile("" : "+r"(p) : : "memory");
    __m256i a = _mm256_setzero_si256();
    __m256i b = _mm256_setzero_si256();
    for (; end - p >= 64; p += 64) {
        a = _mm256_add_epi64(a, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)));
        b = _mm256_add_epi64(b, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32)));
    }
    uint64_t lanes[4];
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(lanes), _mm256_add_epi64(a, b));
    return lanes[0] + lanes[1] + lanes[2] + lanes[3] + ReadAll(p, end);
}
#endif

volatile uint64_t g_sink;

template <typename Body>
double Milliseconds(Body body)
{
    const auto start = Clock::now();
    body();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string Printable(const std::string& text)
{
    std::string out;
    for (unsigned char b : text) {
        if (b >= 0x20 && b < 0x7F) {
            out += static_cast<char>(b);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", b);
            out += hex;
        }
    }
    return out;
}

bool SameRecords(const ResultList& list, const ResultRecord* expected, int32_t count)
{
    for (int32_t i = 0; i < count; ++i) {
        const ResultRecord& g = list.table.results[i];
        const ResultRecord& w = expected[i];
        if (g.source != w.source || g.sourceLength != w.sourceLength || g.translation != w.translation ||
            g.translationLength != w.translationLength)
            return false;
    }
    return true;
}

struct Row {
    std::string name;
    std::string text;
    size_t matches = 0;
    double searchMs[3] = {1e300, 1e300, 1e300}; // per runnable path
    double referenceMs = 1e300;
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string path;
    int reps = 21;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--reps" && i + 1 < argc)
            reps = std::max(1, std::atoi(argv[++i]));
        else if (!arg.empty() && arg[0] != '-' && path.empty())
            path = arg;
        else {
            std::fprintf(stderr, "usage: vokabix-bench [FILE] [--reps N]\n");
            return 64;
        }
    }

    MappedFile mapped;
    std::vector<unsigned char> generated;
    Data d{};
    if (path.empty()) {
        generated = GenerateDictionary(48u << 20);
        d.view = generated.data();
        d.size = static_cast<uint32_t>(generated.size());
        path = "(generated)";
    } else {
        std::string error;
        if (!mapped.OpenReadOnly(path, error)) {
            std::fprintf(stderr, "vokabix-bench: %s: %s\n", path.c_str(), error.c_str());
            return 66;
        }
        d.view = mapped.view;
        d.size = mapped.fileSize;
    }
    d.begin = FindHeaderEnd(d.view, d.size, InfoFor(DictionaryDirection::GermanToEnglish).marker);
    if (d.begin == kNoMarker)
        d.begin = FindHeaderEnd(d.view, d.size, InfoFor(DictionaryDirection::EnglishToGerman).marker);
    if (d.begin == kNoMarker || d.begin >= d.size) {
        std::fprintf(stderr, "vokabix-bench: %s: no dictionary data\n", path.c_str());
        return 65;
    }
    const unsigned char* const begin = d.view + d.begin;
    const unsigned char* const end = d.view + d.size;
    const double megabytes = (d.size - d.begin) / 1e6;

    const std::vector<uint32_t> starts = LineStarts(d);
    const std::vector<Case> cases = ChoosePrefixes(d, starts);
    std::vector<Row> rows(cases.size());
    static ResultList list;
    static ResultRecord expected[kResultCapacity];
    int failures = 0;

    const ScanPaths paths = RunnableScanPaths();
    const uint32_t widest = paths.count - 1;

    // One correctness pass over every path, which also brings every page in.
    for (size_t c = 0; c < cases.size(); ++c) {
        const std::string& text = cases[c].text;
        const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
        const auto length = static_cast<uint32_t>(text.size());
        InitResultList(list);
        SearchDictionary({d.view, d.size, d.begin}, bytes, length, list);
        const int32_t want = ReferenceScan(d.view, d.begin, d.size, bytes, length, expected);
        rows[c].name = cases[c].label;
        rows[c].text = Printable(text);
        rows[c].matches = CountMatches(d, starts, text);
        if (list.resultCount != want || !SameRecords(list, expected, want)) {
            std::fprintf(stderr, "MISMATCH for '%s': search %d records, byte-at-a-time walk %d\n",
                         rows[c].text.c_str(), list.resultCount, want);
            ++failures;
        }
        for (uint32_t k = 0; k < widest; ++k) {
            InitResultList(list);
            const int32_t got = ScanDictionaryOn(paths.path[k], d.view, d.begin, d.size, bytes, length, list);
            if (got != want || !SameRecords(list, expected, want)) {
                std::fprintf(stderr, "MISMATCH for '%s' on the %s path: %d records, byte-at-a-time walk %d\n",
                             rows[c].text.c_str(), ScanPathName(paths.path[k]), got, want);
                ++failures;
            }
        }
    }

    // Interleaved repetitions, so a busy moment of the machine hits every
    // column alike; each keeps its best time.
#if defined(__x86_64__) || defined(__i386__)
    bool wideRead = false;
    for (uint32_t k = 0; k < paths.count; ++k)
        wideRead = wideRead || paths.path[k] == ScanPath::Avx2;
#endif
    double memchrMs = 1e300;
    double readMs = 1e300;
    double wideReadMs = 1e300;
    for (int r = 0; r < reps; ++r) {
        memchrMs = std::min(memchrMs, Milliseconds([&] { g_sink = CountLineEnds(begin, end); }));
        readMs = std::min(readMs, Milliseconds([&] { g_sink = ReadAll(begin, end); }));
#if defined(__x86_64__) || defined(__i386__)
        if (wideRead)
            wideReadMs = std::min(wideReadMs, Milliseconds([&] { g_sink = ReadAllWide(begin, end); }));
#endif
        for (size_t c = 0; c < cases.size(); ++c) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(cases[c].text.data());
            const auto length = static_cast<uint32_t>(cases[c].text.size());
            rows[c].searchMs[widest] = std::min(rows[c].searchMs[widest], Milliseconds([&] {
                SearchDictionary({d.view, d.size, d.begin}, bytes, length, list);
                g_sink = static_cast<uint64_t>(list.resultCount);
            }));
            for (uint32_t k = 0; k < widest; ++k)
                if (r < 3 || r % 4 == 0)
                    rows[c].searchMs[k] = std::min(rows[c].searchMs[k], Milliseconds([&] {
                        g_sink = static_cast<uint64_t>(
                            ScanDictionaryOn(paths.path[k], d.view, d.begin, d.size, bytes, length, list));
                    }));
            if (r < 3 || r % 4 == 0)
                rows[c].referenceMs = std::min(rows[c].referenceMs, Milliseconds([&] {
                    g_sink = static_cast<uint64_t>(ReferenceScan(d.view, d.begin, d.size, bytes, length, expected));
                }));
        }
        readMs = std::min(readMs, Milliseconds([&] { g_sink = ReadAll(begin, end); }));
    }

    std::printf("%s: %.1f MB of data, %zu line ends, best of %d runs (other paths and the walk: of %d)\n",
                path.c_str(), megabytes, CountLineEnds(begin, end), reps, std::min(reps, 3 + (reps - 1) / 4));
    std::printf("times in ms, x = ratio to the read pass, memchr = ratio to the memchr pass; the search takes the "
                "%s path\n\n",
                ScanPathName(paths.path[widest]));
    std::printf("%-13s %-22s %6s %7s %5s %7s", "case", "prefix", "lines", ScanPathName(paths.path[widest]), "x",
                "memchr");
    for (uint32_t k = widest; k-- > 0;)
        std::printf(" %8s %5s", ScanPathName(paths.path[k]), "x");
    std::printf(" %8s %5s\n", "literal", "x");
    std::vector<double> ratios;
    for (const Row& row : rows) {
        ratios.push_back(row.searchMs[widest] / readMs);
        std::printf("%-13s %-22s %6zu %7.2f %5.2f %7.2f", row.name.c_str(), row.text.c_str(), row.matches,
                    row.searchMs[widest], row.searchMs[widest] / readMs, row.searchMs[widest] / memchrMs);
        for (uint32_t k = widest; k-- > 0;)
            std::printf(" %8.2f %5.2f", row.searchMs[k], row.searchMs[k] / readMs);
        std::printf(" %8.2f %5.2f\n", row.referenceMs, row.referenceMs / readMs);
    }
    std::printf("\n%-36s %7.2f %5.2f %6.1f GB/s\n", "read pass, 8-byte sum", readMs, 1.0, megabytes / readMs);
    std::printf("%-36s %7.2f %5.2f %6.1f GB/s\n", "memchr line ends", memchrMs, memchrMs / readMs,
                megabytes / memchrMs);
    if (wideReadMs < 1e300)
        std::printf("%-36s %7.2f %5.2f %6.1f GB/s\n", "wide read, 32-byte sums (no verdict)", wideReadMs,
                    wideReadMs / readMs, megabytes / wideReadMs);

    const double median = Median(ratios);
    const double worst = *std::max_element(ratios.begin(), ratios.end());
    std::printf("\nsearch / read pass: median %.2f (limit 1.25), worst %.2f (limit 1.40)\n", median, worst);
    if (wideReadMs < 1e300) {
        std::vector<double> wide;
        for (const Row& row : rows)
            wide.push_back(row.searchMs[widest] / wideReadMs);
        std::printf("search / wide read: median %.2f, worst %.2f\n", Median(wide),
                    *std::max_element(wide.begin(), wide.end()));
    }
    if (failures != 0) {
        std::printf("FAIL: %d search(es) gave other records than the byte-at-a-time walk\n", failures);
        return 1;
    }
    if (median > 1.25 || worst > 1.4) {
        std::printf("FAIL: the search is slower than reading the data allows\n");
        return 2;
    }
    std::printf("OK\n");
    return 0;
}
