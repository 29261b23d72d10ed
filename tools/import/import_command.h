// The vokabix-import command: reads a ding word list, writes GerEng.dat,
// EngGer.dat and strongs.dat into a folder, and reports on stderr what it
// did.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "ding_import.h"

constexpr int kImportOk = 0;
constexpr int kImportFileError = 1;
constexpr int kImportUsage = 2;
constexpr int kImportRefused = 3;

// args are the command's arguments without the program name.
int RunImport(const std::vector<std::string>& args, std::ostream& log);

// Writes the files of an import into folder: each to a temporary file beside
// its final name first, renamed only once all are complete, so an import
// that fails midway leaves the files that were there before.
bool WriteDictionaryFiles(const std::string& folder, const ImportResult& result, std::string& error);
