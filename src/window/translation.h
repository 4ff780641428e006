// The window's languages. The game speaks Japanese through the port; the
// window shows its texts in the player's language. Japanese is the source
// language: with it nothing is translated and every text stays as the game
// sent it. English comes from Qt's translation files (veverodu_en.qm).
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

namespace vv {

enum class Language { japanese, english };

// Japanese when Japanese comes first among the player's preferred languages
// (QLocale::uiLanguages()), English otherwise.
Language language_for(const QStringList& preferred);
// The language a --lang word names, "ja" or "en"; nothing for any other word.
std::optional<Language> language_named(const QString& name);
const char* language_code(Language language);
// The window's language: the one of --lang when it is given (nothing when it
// names no language the window speaks), else the one the preferred languages
// ask for.
std::optional<Language> choose_language(const QString& lang_option, const QStringList& preferred);

// Makes `language` the one the window speaks, for the whole application.
// English loads its translation file; false when it cannot be found, and the
// window then stays Japanese.
bool use_language(Language language);

// A text drawn on the board, in the window's language: fixed labels, the
// handicap ranks, the thinking mark, the row numerals and the pieces of the
// move line. Anything else (numbers, clock, names from a record file) is
// shown as it came.
QString translate_board_text(const std::string& text);

// A message box's title or text, in the window's language. Each line is
// translated on its own: a fixed text, or a composed one whose fixed parts
// are translated and whose inserted parts (paths, names, numbers, reasons)
// are translated when they are themselves texts of the game.
QString translate_message(const std::string& text);

// Every fixed text the window translates with its context, for the tests
// that check the translation files are complete.
struct SourceText {
  const char* context;
  const char* text;
};
const std::vector<SourceText>& translatable_texts();

}  // namespace vv
