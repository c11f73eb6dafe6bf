#pragma once
// The calculation file is Windows-1252; texts in memory are UTF-8.

#include <string>
#include <string_view>

namespace brisolt {

// Every byte becomes one character. The five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number, so
// that they survive a load and a save unchanged.
std::string Windows1252ToUtf8(std::string_view bytes);

// The Windows-1252 bytes of a UTF-8 text. A character Windows-1252 cannot hold, and any
// byte that is not valid UTF-8, becomes '?'.
std::string Utf8ToWindows1252(std::string_view utf8);

// The text as it will read back after a save: characters Windows-1252 cannot hold are
// replaced by '?'. Input screens pass every typed text through this, so what the user
// sees is always what the file keeps.
std::string MakeWindows1252Safe(std::string_view utf8);

} // namespace brisolt
