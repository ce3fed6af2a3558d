#pragma once
// Names as the ANSI functions hand them over. Under the UTF-8 code page every name comes
// back exactly; under an older code page a character it lacks arrives as '?' (or as a
// look-alike), and such a name would make the cleaner miss the trace or hit another one.
#include <string_view>

namespace zarn {

// True when the process's ANSI code page is UTF-8 (the manifest asks for it; Windows
// before version 1903 ignores that and keeps the user's code page).
bool AnsiIsUtf8();

// True when a name from an ANSI function may have lost characters: it holds '?' (the
// code page's stand-in), or under UTF-8 the replacement character U+FFFD.
bool MayBeLossy(std::string_view name);

// True when `name` is exactly what `wide` becomes in the ANSI code page, with no
// stand-in and no look-alike character.
bool SameAsWide(std::string_view name, std::wstring_view wide);

}  // namespace zarn
