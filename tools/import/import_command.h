// The vokabix-import command: reads a ding word list, writes GerEng.dat,
// EngGer.dat and strongs.dat into a folder, carrying over the entries a user
// added to the files there, and reports on stderr what it did.
#pragma once
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "ding_import.h"
#include "import_files.h"

constexpr int kImportOk = 0;
constexpr int kImportFileError = 1;
constexpr int kImportUsage = 2;
constexpr int kImportRefused = 3;

// args are the command's arguments without the program name.
int RunImport(const std::vector<std::string>& args, std::ostream& log);

// The calls the writing makes, so that a test can make one of them fail.
struct FileCalls {
    std::function<bool(const std::string&, const std::vector<std::string_view>&, FileError&)> writeNew = WriteNewFile;
    std::function<bool(const std::string&, FileError&)> canBeReplaced = CanBeReplaced;
    std::function<bool(const std::string&, const std::string&, FileError&)> moveReplacing = MoveReplacing;
};

struct OutputFile {
    std::string name;
    std::vector<std::string_view> pieces; // written one after the other
};

// Writes the files of an import into folder, all or none: each to
// <name>.part first; then, once every old file is known to be replaceable,
// each old one becomes <name>.bak (one generation) and the new one takes
// its place. If any step fails, every old file is put back as it was and no
// temporary file is left. backups gets the paths of the .bak files made.
bool WriteDictionaryFiles(const std::string& folder, const std::vector<OutputFile>& files,
                          std::vector<std::string>& backups, std::string& error, const FileCalls& calls = FileCalls());

// A file error as the user reads it: the cause and what to do about it.
std::string Reason(const FileError& error, bool creating);

// The version a ding word list states in its leading comments, as the
// header of its import names it; empty when it states none.
std::string WordListVersion(const std::string& wordList);
