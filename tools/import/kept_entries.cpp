#include "kept_entries.h"

#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <unordered_set>

#include "data/dictionary_format.h"

namespace {

const char kImportedPartName[] = "Imported part";
const char kImportedBy[] = "Imported by vokabix-import";
// What the header says when the word list names no version.
const char kVersionNotStated[] = "not stated";

const char kCrLf[] = "\r\n";

// The header's lines, each without its line end.
template <typename Visit>
void ForEachHeaderLine(std::string_view header, Visit visit)
{
    size_t begin = 0;
    while (begin < header.size()) {
        size_t end = header.find('\n', begin);
        if (end == std::string_view::npos)
            end = header.size();
        std::string_view line = header.substr(begin, end - begin);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!visit(line))
            return;
        begin = end + 1;
    }
}

bool ParseUnsigned(std::string_view text, int base, uint64_t& value)
{
    if (text.empty() || text.size() > 20)
        return false;
    const std::string digits(text);
    char* end = nullptr;
    value = std::strtoull(digits.c_str(), &end, base);
    return end == digits.c_str() + digits.size() && std::isxdigit(static_cast<unsigned char>(digits[0]));
}

} // namespace

uint64_t Fnv1a(std::string_view bytes, uint64_t hash)
{
    for (const char c : bytes)
        hash = FnvStep(hash, static_cast<unsigned char>(c));
    return hash;
}

std::string ImportedPartLine(const std::string& entries)
{
    const uint64_t length = entries.size() + 2;
    const uint64_t hash = Fnv1a(entries, Fnv1a(kCrLf));
    char line[128];
    std::snprintf(line, sizeof line, "%s: %" PRIu64 " bytes after the marker, FNV-1a %016" PRIx64, kImportedPartName,
                  length, hash);
    return line;
}

ImportedPart FindImportedPart(std::string_view header)
{
    ImportedPart part;
    const std::string value = HeaderField(header, kImportedPartName);
    const size_t bytes = value.find(" bytes after the marker, FNV-1a ");
    if (bytes == std::string::npos)
        return part;
    const std::string_view hash = std::string_view(value).substr(bytes + 32);
    part.recorded = hash.size() == 16 && ParseUnsigned(std::string_view(value).substr(0, bytes), 10, part.length) &&
                    ParseUnsigned(hash, 16, part.hash);
    return part;
}

std::string HeaderField(std::string_view header, std::string_view name)
{
    std::string value;
    bool found = false;
    ForEachHeaderLine(header, [&](std::string_view line) {
        if (line.size() > name.size() + 1 && line.substr(0, name.size()) == name && line[name.size()] == ':') {
            line.remove_prefix(name.size() + 1);
            while (!line.empty() && line.front() == ' ')
                line.remove_prefix(1);
            value = std::string(line);
            found = true;
        }
        return !found;
    });
    return value;
}

bool MadeByTheImporter(std::string_view header)
{
    bool made = false;
    ForEachHeaderLine(header, [&](std::string_view line) {
        made = line.substr(0, sizeof kImportedBy - 1) == kImportedBy;
        return !made;
    });
    return made;
}

std::string StatedVersion(std::string_view header)
{
    const std::string version = HeaderField(header, "Version");
    return version.compare(0, sizeof kVersionNotStated - 1, kVersionNotStated) == 0 ? std::string() : version;
}

OldDictionary SplitDictionary(std::string_view bytes, DictionaryDirection d)
{
    OldDictionary old;
    const uint32_t size = bytes.size() > UINT32_MAX - 1 ? UINT32_MAX - 1 : static_cast<uint32_t>(bytes.size());
    const uint32_t dataAt =
        FindHeaderEnd(reinterpret_cast<const unsigned char*>(bytes.data()), size, InfoFor(d).marker);
    if (dataAt == kNoMarker)
        return old;
    old.hasMarker = true;
    old.header = bytes.substr(0, dataAt - kMarkerLength);
    old.data = bytes.substr(dataAt);
    return old;
}

std::vector<std::string_view> EntryLines(std::string_view data)
{
    std::vector<std::string_view> lines;
    size_t begin = 0;
    while (begin < data.size()) {
        size_t end = data.find(kCrLf, begin);
        std::string_view line = data.substr(begin, (end == std::string_view::npos ? data.size() : end) - begin);
        // A last line that kept only its CR gets the LF, as the append does.
        if (end == std::string_view::npos) {
            end = data.size();
            if (!line.empty() && line.back() == '\r')
                line.remove_suffix(1);
        }
        if (HoldsWordStart(line))
            lines.push_back(line);
        begin = end + 2;
    }
    return lines;
}

std::vector<std::string_view> LinesNotIn(const std::vector<std::string_view>& lines, std::string_view entries)
{
    if (lines.empty())
        return lines;
    const std::unordered_set<std::string_view> wanted(lines.begin(), lines.end());
    std::unordered_set<std::string_view> found;
    for (size_t begin = 0; begin < entries.size();) {
        size_t end = entries.find(kCrLf, begin);
        if (end == std::string_view::npos)
            end = entries.size();
        const std::string_view line = entries.substr(begin, end - begin);
        if (wanted.count(line) != 0)
            found.insert(line);
        begin = end + 2;
    }
    std::vector<std::string_view> missing;
    for (const std::string_view line : lines)
        if (found.count(line) == 0)
            missing.push_back(line);
    return missing;
}

bool AddedAfterImportedPart(const OldDictionary& old, std::vector<std::string_view>& added)
{
    const ImportedPart part = FindImportedPart(old.header);
    if (!part.recorded || part.length > old.data.size() || Fnv1a(old.data.substr(0, part.length)) != part.hash)
        return false;
    added = EntryLines(old.data.substr(part.length));
    return true;
}

KeptEntries FindKeptEntries(std::string_view oldBytes, DictionaryDirection d, const std::string& newHeader,
                            const std::string& newEntries, const std::string& newFormerLines,
                            const EarlierImportFinder& finder)
{
    KeptEntries kept;
    const OldDictionary old = SplitDictionary(oldBytes, d);
    std::vector<std::string_view> candidates;
    if (!old.hasMarker) {
        kept.by = KeptBy::NoMarker;
        return kept;
    }
    if (AddedAfterImportedPart(old, candidates)) {
        kept.by = KeptBy::ImportedPart;
    } else if (!MadeByTheImporter(old.header)) {
        kept.by = KeptBy::NotImported;
        candidates = EntryLines(old.data);
    } else {
        const std::string version = StatedVersion(old.header);
        candidates = EntryLines(old.data);
        const std::string* earlier = nullptr;
        if (!version.empty() && version == StatedVersion(newHeader)) {
            kept.by = KeptBy::SameWordList;
            candidates = LinesNotIn(candidates, newFormerLines);
        }
        else if ((earlier = finder ? finder(old, d, kept.wordList) : nullptr) != nullptr)
            kept.by = KeptBy::EarlierWordList;
        else
            kept.by = KeptBy::WordListNotFound;
        if (earlier != nullptr)
            candidates = LinesNotIn(candidates, *earlier);
    }
    kept.lines = LinesNotIn(candidates, newEntries);
    return kept;
}

std::string AsFileLines(const std::vector<std::string_view>& lines)
{
    std::string out;
    for (const std::string_view line : lines) {
        out.append(line.data(), line.size());
        out += kCrLf;
    }
    return out;
}
