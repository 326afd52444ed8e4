// Safe replacement of a whole data file.
#pragma once

#include <string>

// Writes `content` (text mode) to a temporary file beside `path` and moves it
// over `path` in one step, so the file is either the old one or the complete
// new one, never a half-written mix. On any failure the temporary file is
// removed, the old file stays as it was and the result is false.
bool ReplaceFileContent(const std::string& path, const std::string& content);
