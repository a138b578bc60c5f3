// The program's texts in the user's language, from the catalogue the
// program loaded (none: the English texts as they are).
#pragma once

#include <QString>
#include <span>
#include <string>
#include <string_view>

namespace kestal {

// The catalogue's section of the texts the commands show (message boxes,
// error reports, captions, the status label).
inline constexpr const char* kMessageContext = "kestal::Messages";

// The texts with a part that changes (a path, a number) written as "%1":
// a text no translation is found for whole is matched against these, and
// the part goes into the pattern's translation. The array must outlive
// every later call.
void useTextPatterns(std::span<const std::string_view> patterns);

// text translated, whole or by its pattern; the text itself (read as UTF-8,
// else Latin-1) when the catalogue has nothing for it.
QString translatedText(std::string_view text);

// Installs the program's catalogue of language ("de") and Qt's own (the
// file dialog's texts) when there are any; English needs none. False when
// the program has no catalogue of that language.
bool loadCatalogue(const std::string& language);

}  // namespace kestal
