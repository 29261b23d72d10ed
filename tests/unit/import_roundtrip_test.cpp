// Every line vokabix-import writes must be found by the program's own search
// for the word it begins with, with its own translation; and a word that is
// a whole source must find that entry on the first row.
#include <gtest/gtest.h>

#include <algorithm>

#include <array>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/codepage.h"
#include "data/dictionary_format.h"
#include "data/search.h"
#include "data/strongs_list.h"
#include "ding_import.h"
#include "kept_entries.h"

namespace {

struct Outcome {
    int lines = 0;
    int foundByFirstWord = 0;
    int foundBySource = 0;
    int lostToTheCap = 0; // more than 500 lines share even the whole source
    int bareWords = 0;    // sources of one word and nothing else
};

// Lines in the file whose text from its first word-start byte begins with
// prefix, counted without the search's 500-slot table.
int CountLinesStartingWith(const std::string& data, const std::string& prefix)
{
    int count = 0;
    for (size_t begin = 0; begin < data.size();) {
        const size_t end = data.find("\r\n", begin);
        size_t start = begin;
        while (start < end && !IsWordStart(static_cast<unsigned char>(data[start])))
            ++start;
        if (data.compare(start, prefix.size(), prefix) == 0)
            ++count;
        begin = end + 2;
    }
    return count;
}

class Searcher {
public:
    explicit Searcher(const std::string& file) : file_(file), list_(new ResultList)
    {
        InitResultList(*list_);
    }
    // Whether the scan for text records the entry whose source starts at
    // sourceAt with the given translation; count gets the number of matches.
    bool Finds(const std::string& text, uint32_t headerEnd, uint32_t sourceAt, const std::string& translation,
               int32_t& count)
    {
        count = ScanDictionary(View(), headerEnd, static_cast<uint32_t>(file_.size()), View(text),
                               static_cast<uint32_t>(text.size()), *list_);
        for (int32_t slot = 0; slot < count; ++slot) {
            const ResultRecord& r = list_->table.results[slot];
            if (r.source == sourceAt)
                return file_.compare(r.translation, r.translationLength, translation) == 0;
        }
        return false;
    }

    // The headword of the first row of the last scan: its source without
    // the {...}, [...] and (...) notes and the "/Abbr./" abbreviations, as a
    // reader takes it in.
    std::string FirstHeadword() const
    {
        const ResultRecord& r = list_->table.results[0];
        std::string headword;
        int depth = 0;
        for (const char c : file_.substr(r.source, r.sourceLength)) {
            depth += c == '(' || c == '[' || c == '{';
            if (depth == 0 && !(c == ' ' && (headword.empty() || headword.back() == ' ')))
                headword += c;
            depth -= depth > 0 && (c == ')' || c == ']' || c == '}');
        }
        std::istringstream words(headword);
        std::string word;
        headword.clear();
        while (words >> word) {
            if (word.size() < 3 || word.front() != '/' || word.back() != '/')
                headword += (headword.empty() ? "" : " ") + word;
        }
        return headword;
    }

private:
    const unsigned char* View() const { return reinterpret_cast<const unsigned char*>(file_.data()); }
    static const unsigned char* View(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

    const std::string& file_;
    std::unique_ptr<ResultList> list_;
};

Outcome CheckEveryLine(const ImportResult& result, DictionaryDirection d)
{
    const std::string file = result.Header(d) + result.Entries(d);
    const uint32_t headerEnd = FindHeaderEnd(reinterpret_cast<const unsigned char*>(file.data()),
                                             static_cast<uint32_t>(file.size()), InfoFor(d).marker);
    EXPECT_EQ(headerEnd, result.Header(d).size() - 2);
    Searcher searcher(file);
    Outcome outcome;
    for (size_t begin = result.Header(d).size(); begin < file.size();) {
        const size_t end = file.find("\r\n", begin);
        const std::string line = file.substr(begin, end - begin);
        const size_t star = line.find('*');
        size_t start = 0;
        while (start < line.size() && !IsWordStart(static_cast<unsigned char>(line[start])))
            ++start;
        ++outcome.lines;
        if (star == std::string::npos || start >= star) {
            ADD_FAILURE() << "no source to search for: " << line;
            begin = end + 2;
            continue;
        }
        std::string source = line.substr(start, star - start);
        while (!source.empty() && source.back() == ' ')
            source.pop_back();
        const std::string word = source.substr(0, source.find(' '));
        const std::string translation = line.substr(star + 1);
        const uint32_t sourceAt = static_cast<uint32_t>(begin + start);

        int32_t count = 0;
        const bool foundByWord = searcher.Finds(word, headerEnd, sourceAt, translation, count);
        if (source == word) {
            ++outcome.bareWords;
            EXPECT_EQ(searcher.FirstHeadword(), word) << "typing it does not list its entry first";
        }
        if (foundByWord) {
            ++outcome.foundByFirstWord;
        } else if (count < kResultCapacity) {
            ADD_FAILURE() << "\"" << word << "\" finds " << count << " lines but not: " << line;
        } else if (searcher.Finds(source, headerEnd, sourceAt, translation, count)) {
            // The first word is too common for the table: the whole source is not.
            ++outcome.foundBySource;
        } else if (count == kResultCapacity && CountLinesStartingWith(result.Entries(d), source) > kResultCapacity) {
            ++outcome.lostToTheCap;
        } else {
            ADD_FAILURE() << "not found by its source \"" << source << "\": " << line;
        }
        begin = end + 2;
    }
    return outcome;
}

// Of the forms' entries ("ging (past of gehen)"), how many name a base that
// a search for it finds as the start of an entry of its own.
std::pair<int, int> FormsWithBaseFound(const std::string& entries)
{
    std::vector<std::string> sources;
    std::vector<std::string> bases;
    for (size_t begin = 0; begin < entries.size();) {
        const size_t end = entries.find("\r\n", begin);
        std::string source = entries.substr(begin, entries.find('*', begin) - begin);
        while (!source.empty() && source.back() == ' ')
            source.pop_back();
        const size_t of = source.rfind(" of ");
        if (!source.empty() && source.back() == ')' && of != std::string::npos && source.rfind('(') < of)
            bases.push_back(source.substr(of + 4, source.size() - of - 5));
        sources.push_back(std::move(source));
        begin = end + 2;
    }
    std::sort(sources.begin(), sources.end());
    int found = 0;
    for (const std::string& base : bases) {
        const auto at = std::lower_bound(sources.begin(), sources.end(), base);
        found += at != sources.end() && at->compare(0, base.size(), base) == 0 ? 1 : 0;
    }
    return {found, static_cast<int>(bases.size())};
}

TEST(ImportRoundTrip, SampleWordList)
{
    const std::string ding =
        "# Version :: test 1\n"
        "# License :: GPL Version 2 or later\n"
        "Haus {n}; Gebäude {n} | Häuser {pl}; Gebäude {pl} | das Haus hüten :: house; building | houses; "
        "buildings | to stay at home\n"
        "hören {vt} (Musik; Radio) | hörend | gehört :: to hear {heard; heard} | hearing | heard\n"
        "Aalräucherei {f} [cook.] | Aalräuchereien {pl} :: eel smokery <eelsmoking business> | eel smokeries\n"
        "(sich) waschen {vr} | 3D-Drucker {m} :: to wash (oneself) | 3D printer\n"
        "etw. sehen {vt} | der Himmel :: to see sth. {saw; seen} | the sky\n"
        "Donaudampfschifffahrtsgesellschaftskapitänsmütze {f} [ugs.] :: Danube steamship company captain’s cap\n"
        "„Wie geht’s?“ – „Gut.“ :: ‘How are you?’ – ‘Fine.’\n"
        "λ-Kalkül {m} [math.] | Łódź (Stadt in Polen) :: λ-calculus | Lodz (city in Poland)\n"
        "Stern*chen {n} :: asterisk *\n"
        "Übermut {m}; Überheblichkeit {f} :: overconfidence; arrogance\n"
        "[Dt.] Brötchen {n}; Semmel {f} [Ös.] :: bread roll\n"
        "_Unterstrich_ {m} :: _underscore_\n"
        "ûber :: over\n"
        "Haus :: house\n"
        "Tisch :: table\n"
        "Stuhl :: chair\n";
    const ImportResult result = ImportDing(ding, {"sample", "2024-03-01"});
    ASSERT_EQ(result.refusal, Refusal::None);
    for (DictionaryDirection d : {DictionaryDirection::GermanToEnglish, DictionaryDirection::EnglishToGerman}) {
        SCOPED_TRACE(InfoFor(d).fileName);
        const Outcome outcome = CheckEveryLine(result, d);
        EXPECT_EQ(static_cast<uint64_t>(outcome.lines), result.stats.Of(d).entries);
        EXPECT_GE(outcome.lines, 20);
        EXPECT_EQ(outcome.foundByFirstWord, outcome.lines);
        EXPECT_GE(outcome.bareWords, 4);
    }
}

TEST(ImportRoundTrip, SliceOfTheInstalledWordList)
{
    std::ifstream in(VOKABIX_DING_FILE, std::ios::binary);
    if (!in)
        GTEST_SKIP() << VOKABIX_DING_FILE << " is not installed (Debian package trans-de-en)";
    std::string slice;
    std::string line;
    for (int i = 0; i < 3000 && std::getline(in, line); ++i)
        slice += line + "\n";

    const ImportResult result = ImportDing(slice, {VOKABIX_DING_FILE, "2024-03-01"});
    ASSERT_EQ(result.refusal, Refusal::None);
    EXPECT_GT(result.stats.entryLines, 2900u);
    for (DictionaryDirection d : {DictionaryDirection::GermanToEnglish, DictionaryDirection::EnglishToGerman}) {
        SCOPED_TRACE(InfoFor(d).fileName);
        const Outcome outcome = CheckEveryLine(result, d);
        EXPECT_EQ(static_cast<uint64_t>(outcome.lines), result.stats.Of(d).entries);
        EXPECT_GT(outcome.lines, 6000);
        EXPECT_EQ(outcome.foundByFirstWord + outcome.foundBySource + outcome.lostToTheCap, outcome.lines);
        // Only a handful of sources are that common, and none is shared by
        // more than 500 lines in a slice this size.
        EXPECT_EQ(outcome.lostToTheCap, 0);
        EXPECT_GT(outcome.bareWords, 50);
        // The header's record covers every line the import wrote.
        const std::string file = result.Header(d) + result.Entries(d);
        std::vector<std::string_view> added;
        EXPECT_TRUE(AddedAfterImportedPart(SplitDictionary(file, d), added));
        EXPECT_TRUE(added.empty());
        // A form names a base the reader can look up in turn.
        const std::pair<int, int> forms = FormsWithBaseFound(result.Entries(d));
        EXPECT_GT(forms.second, 300);
        EXPECT_GE(forms.first * 100, forms.second * 95) << forms.first << " of " << forms.second;
        std::cout << "[          ] " << forms.second << " forms' entries, " << forms.first << " with their base found\n";
        // The second, word-first forms: there are some, and they grow the
        // file by less than a quarter.
        EXPECT_GT(result.stats.Of(d).wordFirst, 20u);
        EXPECT_LE(result.stats.Of(d).wordFirst * 5, result.stats.Of(d).entries);
        std::cout << "[          ] " << InfoFor(d).fileName << ": " << outcome.lines << " lines, "
                  << outcome.foundByFirstWord << " found by their first word, " << outcome.foundBySource
                  << " only by their whole source (first word shared by over 500 lines); " << outcome.bareWords
                  << " one-word sources, each on the first row for itself\n";
    }
}

// The forms of the whole word list's strongs.dat that are known to differ
// from the grammar, by verb and column, each as the file shows it. The check
// fails where any of them changes, for the better too, so that the list
// stays exact.
const std::map<std::string, std::string> kKnownWrong = {
    // ding gives the weak "fechtete" beside "focht"; both fit the column.
    {"fechten preterite", "focht/fechtete"},
    // ding gives the poetic "ward" beside "wurde".
    {"werden preterite", "wurde/ward"},
    // ding gives "saufen" no preterite, only its participles.
    {"saufen preterite", "(missing)"},
    {"saufen participle", "(missing)"},
};

// The grammar's verbs (tools/cli/wordlists/principal-parts.txt): for each
// infinitive, the forms allowed in the preterite and participle columns.
using Grammar = std::map<std::string, std::array<std::set<std::string>, 3>>;

Grammar ReadGrammar()
{
    Grammar grammar;
    std::ifstream in(VOKABIX_PRINCIPAL_PARTS, std::ios::binary);
    EXPECT_TRUE(in) << VOKABIX_PRINCIPAL_PARTS;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::istringstream tabs(line);
        for (std::string field; std::getline(tabs, field, '\t');) {
            std::string cp1252;
            uint32_t bad = 0;
            EXPECT_TRUE(Utf8ToCp1252(field, cp1252, bad)) << line;
            fields.push_back(cp1252);
        }
        EXPECT_EQ(fields.size(), 3u) << line;
        for (size_t c = 1; c < fields.size() && c < 3; ++c) {
            std::istringstream alternatives(fields[c]);
            for (std::string one; std::getline(alternatives, one, ';');)
                grammar[fields[0]][c].insert(one.substr(one.find_first_not_of(' ')));
        }
    }
    return grammar;
}

// The strong verbs of the whole word list against the principal parts of
// a grammar: every verb the file holds is on the grammar's list, every verb
// of that list is in the file, and every form the file shows ("backte/buk")
// is one the grammar gives, but for the forms of kKnownWrong.
TEST(ImportRoundTrip, StrongVerbsOfTheInstalledWordList)
{
    std::ifstream in(VOKABIX_DING_FILE, std::ios::binary);
    if (!in)
        GTEST_SKIP() << VOKABIX_DING_FILE << " is not installed (Debian package trans-de-en)";
    // The verbs' lines are all the list needs.
    std::string verbs;
    std::string line;
    while (std::getline(in, line)) {
        if (line.find("{v") != std::string::npos)
            verbs += line + "\n";
    }
    const ImportResult result = ImportDing(verbs, {VOKABIX_DING_FILE, "2024-03-01"});
    ASSERT_EQ(result.refusal, Refusal::None);
    const std::string& file = result.strongs;
    static ResultTable table;
    const StrongsLoad load =
        ReadStrongsList(reinterpret_cast<const unsigned char*>(file.data()), static_cast<uint32_t>(file.size()), table);
    EXPECT_EQ(load.recordCount, load.lineCount) << "every line a record";
    EXPECT_GE(load.recordCount, 150);

    const auto column = [&](int record, int c) {
        const StrongsColumn& at = table.strongs[record].columns[c];
        std::string text = file.substr(at.position, at.length);
        return text.substr(0, text.find_last_not_of(' ') + 1);
    };
    const Grammar grammar = ReadGrammar();
    std::map<std::string, int> records;
    for (int r = 0; r < load.recordCount; ++r) {
        records[column(r, 0)] = r;
        EXPECT_EQ(grammar.count(column(r, 0)), 1u) << Cp1252ToUtf8(column(r, 0).data(), column(r, 0).size())
                                                   << " is in strongs.dat but not in the grammar's list";
    }
    int forms = 0;
    int right = 0;
    std::set<std::string> knownWrongSeen;
    for (const auto& verb : grammar) {
        const auto found = records.find(verb.first);
        for (int c = 1; c <= 2; ++c) {
            ++forms;
            const std::string shown = found != records.end() ? column(found->second, c) : "(missing)";
            bool ok = found != records.end();
            std::istringstream parts(shown);
            for (std::string one; ok && std::getline(parts, one, '/');)
                ok = verb.second[c].count(one) != 0;
            right += ok ? 1 : 0;
            const std::string key = verb.first + (c == 1 ? " preterite" : " participle");
            const auto known = kKnownWrong.find(key);
            if (known != kKnownWrong.end()) {
                knownWrongSeen.insert(key);
                EXPECT_FALSE(ok) << key << " is right now: take it out of kKnownWrong";
                EXPECT_EQ(shown, known->second) << key;
            } else {
                EXPECT_TRUE(ok) << Cp1252ToUtf8(key.data(), key.size()) << ": "
                                   << Cp1252ToUtf8(shown.data(), shown.size());
            }
        }
    }
    EXPECT_EQ(knownWrongSeen.size(), kKnownWrong.size()) << "a known-wrong form of a verb not in the grammar's list";
    std::cout << "[          ] strongs.dat: " << load.recordCount << " verbs, each on the grammar's list; "
              << right << " of " << forms << " forms right, " << kKnownWrong.size() << " known wrong\n";
}

} // namespace
