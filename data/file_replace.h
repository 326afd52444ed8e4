// Whole data files: read in one piece, and replaced safely.
#pragma once

#include <string>

// The whole file as the text-mode stream delivers it. False when it does not
// open or a read fails before the end, so a damaged read is never taken for
// the complete file.
bool ReadFileContent(const std::string& path, std::string& content);

// Writes `content` (text mode) to a temporary file beside `path` and moves it
// over `path` in one step, so the file is either the old one or the complete
// new one, never a half-written mix. On any failure the temporary file is
// removed, the old file stays as it was and the result is false.
bool ReplaceFileContent(const std::string& path, const std::string& content);
