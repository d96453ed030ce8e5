#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace kelvo {

// The program keeps text as UTF-8; the platform wants UTF-16 for its wide
// entry points and the ANSI code page (936 on Chinese systems) for the
// others. Invalid UTF-8 converts with replacement characters, never fails.
std::wstring ToWide(std::string_view utf8);
std::string FromWide(std::wstring_view wide);
std::string ToAnsi(std::string_view utf8);
std::string FromAnsi(std::string_view ansi);

// Copies `utf8` into a fixed ANSI field of `fieldSize` bytes, NUL included.
// A text that does not fit is cut at the last whole character (a double-byte
// character is never split), so the field always ends in a NUL.
void CopyToAnsiField(char* field, size_t fieldSize, std::string_view utf8);

}  // namespace kelvo
