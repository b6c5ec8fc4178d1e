#pragma once
// The page files: Page01.txt to Page10.txt in the current directory, 8-bit
// text with CR LF line breaks, nothing added at either end.
#include <string>

// "Page01.txt" … "Page10.txt".
std::string PageFileName(int page);

// Copies the bytes with every lone CR and lone LF turned into CR LF; a CR LF
// pair stays as it is. In a double-byte code page a lead byte and the byte
// after it travel as a pair, so a trail byte is never taken for a break.
std::string NormalizeLineBreaks(const std::string& bytes);

// True when a file (not a directory) of that name exists.
bool PageFileExists(const std::string& name);

// Reads the whole file, letting others read but not write it meanwhile.
// Raises "Cannot open file %s" when it can't be opened.
std::string ReadPageFile(const std::string& name);

// Writes the bytes so that the old file stays whole until the new one is
// complete on disk: they go to a temporary file beside it, which is flushed
// and then replaces the page file. Raises "Cannot create file %s" when the
// file can't be created or replaced, "Stream write error" on a short write.
void WritePageFile(const std::string& name, const std::string& bytes);

// The temporary file a save writes before it replaces the page file.
std::string PageTempFileName(const std::string& name);

// Makes writes stop short after that many bytes of each file (a full disk),
// or never when negative. For tests of what a failed save leaves behind.
void SetPageWriteLimitForTesting(long long bytes);
