#pragma once
// The calculation file is Windows-1252; texts in memory are UTF-8.

#include <string>
#include <string_view>

namespace brisolt {

// Every byte becomes one character. The five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the control characters of the same number, so
// that they survive a load and a save unchanged.
std::string Windows1252ToUtf8(std::string_view bytes);

// The Windows-1252 bytes of a UTF-8 text. A character Windows-1252 cannot hold is written
// as a person filling in a paper form would: a letter with a mark it lacks becomes the
// closest letter it has ("Ł" -> "L", "č" -> "c", "ő" -> "ö"), typographic spaces and
// dashes their plain kind, invisible characters nothing. What has no sensible counterpart,
// and every byte that is not valid UTF-8, becomes '?'.
std::string Utf8ToWindows1252(std::string_view utf8);

// The text as it will read back after a save (Utf8ToWindows1252, then back to UTF-8).
// Input screens pass every typed text through this, so what the user sees is always what
// the protocol prints and the file keeps.
std::string MakeWindows1252Safe(std::string_view utf8);

// Arbitrary bytes as valid UTF-8: valid sequences are kept, each undecodable byte or
// broken sequence becomes U+FFFD. For file names and anything else that may carry bytes
// of unknown encoding into a message or an output.
std::string ToValidUtf8(std::string_view bytes);

} // namespace brisolt
