// Whole data files: read in one piece, and replaced safely.
#pragma once

#include <ios>
#include <string>

// The whole file, byte for byte. False when it does not open or a read fails
// before the end, so a damaged read is never taken for the complete file.
bool ReadFileContent(const std::string& path, std::string& content);

// True only when nothing at all stands at `path`; false for a file or folder
// that is there but cannot be read.
bool FileCertainlyMissing(const std::string& path);

// Writes `content` to a temporary file beside `path` and moves it over `path`
// in one step, so the file is either the old one or the complete new one. A
// file another program holds for a moment is waited for, a second at most. On
// a failure the temporary file is removed, the old file stays as it was and
// the result is false. Where no file can be created beside it (a folder that
// takes no new files), `path` itself is rewritten, which is the best that can
// be done there. Binary unless `mode` asks for text (line breaks as the system
// writes them).
bool ReplaceFileContent(const std::string& path, const std::string& content,
                        std::ios::openmode mode = std::ios::binary);

// A save at quit, which the player is told of when it fails: a box names the
// file and what was not saved (`what`: "figures", "puzzles") and offers to try
// again, until the file is replaced or the player cancels (false then).
bool SaveAtQuit(const std::string& path, const std::string& content, const char* what);
