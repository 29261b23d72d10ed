// The importer's file calls, each with the cause of a failure as the
// platform gives it. The C++ runtime words a file held by a running Vokabix
// as "Permission denied" and gives no reason at all for a folder that may
// not be written; the user needs to know which of the two it is, or that the
// disk is full.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class FileFailure : uint8_t {
    None,
    Missing,
    InUse,    // another program holds the file without sharing it
    Denied,   // the folder or the file may not be written
    DiskFull,
    Other,
};

struct FileError {
    FileFailure kind = FileFailure::None;
    std::string detail; // the platform's own words for it
};

// Reads a whole file; a missing one fails with Missing.
bool ReadWholeFile(const std::string& path, std::string& bytes, FileError& error);
// Makes path anew from the pieces, written through to the disk.
bool WriteNewFile(const std::string& path, const std::vector<std::string_view>& pieces, FileError& error);
// Whether the file could be replaced now; true for a missing one. On
// Windows a file that a program holds without sharing, as Vokabix holds its
// dictionary, cannot be, and rename only says "access denied" for it.
bool CanBeReplaced(const std::string& path, FileError& error);
bool MoveReplacing(const std::string& from, const std::string& to, FileError& error);
bool FileExists(const std::string& path);
void RemoveFileQuietly(const std::string& path);

// Windows-1252 text as the console shows it.
std::string ForTheConsole(const std::string& cp1252);
