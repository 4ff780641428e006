// The English interface: the translation file covers every text the game and
// the window can show, composed texts are translated part by part, English
// fits where the board draws its Japanese, the language follows the player's
// preferred languages, and records cross between the two languages.
#include "window/translation.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>
#include <iostream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "record/record_format.h"
#include "window/artwork.h"
#include "window/main_window.h"
#include "window/surface.h"

namespace vv {
namespace {

struct TsEntry {
  QString context, source, translation;
  bool finished = true;
};

std::vector<TsEntry> read_ts(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  std::vector<TsEntry> entries;
  QXmlStreamReader xml(&file);
  QString context;
  TsEntry entry;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    if (xml.name() == QLatin1String("name")) {
      context = xml.readElementText();
    } else if (xml.name() == QLatin1String("message")) {
      entry = {context, {}, {}, true};
    } else if (xml.name() == QLatin1String("source")) {
      entry.source = xml.readElementText();
    } else if (xml.name() == QLatin1String("translation")) {
      const QString type = xml.attributes().value(QLatin1String("type")).toString();
      entry.finished = type.isEmpty();
      entry.translation = xml.readElementText();
      entries.push_back(entry);
    }
  }
  return entries;
}

std::vector<TsEntry> english_ts() {
  return read_ts(QStringLiteral(VEVERODU_SOURCE_DIR "/src/window/translations/veverodu_en.ts"));
}

// The string literals of C++ source text, character for character as they
// stand in the file (escapes not decoded); comments are skipped.
std::vector<QString> literals_of(const QString& code) {
  std::vector<QString> out;
  for (int i = 0; i < code.size(); ++i) {
    const QChar c = code[i];
    if (c == '/' && i + 1 < code.size() && code[i + 1] == '/') {
      while (i < code.size() && code[i] != '\n') ++i;
    } else if (c == '/' && i + 1 < code.size() && code[i + 1] == '*') {
      const int end = code.indexOf(QStringLiteral("*/"), i + 2);
      i = end < 0 ? code.size() : end + 1;
    } else if (c == '\'') {
      for (++i; i < code.size() && code[i] != '\''; ++i)
        if (code[i] == '\\') ++i;
    } else if (c == '"') {
      QString literal;
      for (++i; i < code.size() && code[i] != '"'; ++i) {
        if (code[i] == '\\') literal += code[i++];
        literal += code[i];
      }
      out.push_back(literal);
    }
  }
  return out;
}

bool has_non_ascii(const QString& s) {
  for (QChar c : s)
    if (c.unicode() > 0x7f) return true;
  return false;
}

// --- The translation file -------------------------------------------------------

TEST(TranslationFile, EveryEntryIsFinishedAndTheBuiltFileHasIt) {
  const std::vector<TsEntry> entries = english_ts();
  ASSERT_GT(entries.size(), 100u);
  QTranslator built;
  ASSERT_TRUE(built.load(QStringLiteral(VEVERODU_QM_FILE)));
  std::map<std::pair<QString, QString>, QString> by_source;
  for (const TsEntry& e : entries) {
    EXPECT_TRUE(e.finished && !e.translation.isEmpty()) << e.context.toStdString() << ": " << e.source.toStdString();
    EXPECT_EQ(built.translate(e.context.toUtf8(), e.source.toUtf8()), e.translation) << e.source.toStdString();
    // A composed text keeps every one of its slots.
    for (const char* slot : {"%1", "%2", "%3"})
      EXPECT_EQ(e.source.contains(QLatin1String(slot)), e.translation.contains(QLatin1String(slot)))
          << e.source.toStdString();
    by_source[{e.context, e.source}] = e.translation;
  }
  // Every text of the window's tables is in the file: a new one fails here
  // until the file is brought up to date and translated.
  for (const SourceText& t : translatable_texts()) {
    const QString source = QString::fromUtf8(t.text);
    EXPECT_TRUE(by_source.count({QString::fromUtf8(t.context), source})) << t.context << ": " << t.text;
    EXPECT_FALSE(built.translate(t.context, t.text).isEmpty()) << t.text;
  }
}

// Every Japanese text written in the game library and the window, apart from
// the few that are never shown (settings lines, file and sound names, the
// artwork's own lettering), is one of the translated texts or a part of one.
TEST(TranslationFile, EveryJapaneseTextOfTheSourcesIsTranslated) {
  std::vector<QString> sources;
  for (const TsEntry& e : english_ts()) sources.push_back(e.source);
  const QString root = QStringLiteral(VEVERODU_SOURCE_DIR "/src/");
  QStringList files;
  for (const char* folder : {"flow", "display", "record", "options", "handicap", "com", "rules"}) {
    QDirIterator it(root + QLatin1String(folder), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next();
  }
  for (const QString& name : QDir(root + QStringLiteral("window")).entryList({QStringLiteral("*.cpp")}, QDir::Files))
    files << root + QStringLiteral("window/") + name;
  files << root + QStringLiteral("window/sound/wave_file.cpp");
  // Never shown as they stand: the settings file's lines, the record files'
  // extension, the sounds' names, the artwork's lettering and font names, and
  // the translation table itself.
  const QStringList unshown_files = {QStringLiteral("options/settings.cpp"), QStringLiteral("flow/port.h"),
                                     QStringLiteral("record/record_format.h"), QStringLiteral("window/artwork"),
                                     QStringLiteral("window/translation.cpp")};
  const QStringList unshown_texts = {QStringLiteral("*.棋譜")};
  int checked = 0;
  for (const QString& path : files) {
    if (std::any_of(unshown_files.begin(), unshown_files.end(), [&](const QString& u) { return path.contains(u); }))
      continue;
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    for (const QString& literal : literals_of(QString::fromUtf8(file.readAll()))) {
      if (!has_non_ascii(literal) || unshown_texts.contains(literal)) continue;
      for (const QString& part : literal.split(QRegularExpression(QStringLiteral(R"(\\[rn])")))) {
        if (!has_non_ascii(part)) continue;
        ++checked;
        const bool found =
            std::any_of(sources.begin(), sources.end(), [&](const QString& s) { return s.contains(part); });
        EXPECT_TRUE(found) << path.mid(root.size()).toStdString() << ": \"" << part.toStdString()
                           << "\" has no English";
      }
    }
  }
  EXPECT_GT(checked, 100);
}

// --- What the window shows -----------------------------------------------------------

struct InEnglish : ::testing::Test {
  void SetUp() override { ASSERT_TRUE(use_language(Language::english)); }
  void TearDown() override { use_language(Language::japanese); }
};

TEST_F(InEnglish, MessagesFixedComposedAndOverSeveralLines) {
  auto en = [](const std::string& s) { return translate_message(s).toStdString(); };
  EXPECT_EQ(en("再ゲーム"), "New Game");
  EXPECT_EQ(en("続けますか？"), "Play again?");
  EXPECT_EQ(en("ｺﾝﾋﾟｭｰﾀの勝ちです"), "The computer wins.");
  EXPECT_EQ(en("   ** 王手 **"), "   ** Check **");
  // The handicap refusal: two texts, the game's line breaks kept.
  EXPECT_EQ(en("棋譜ﾓｰﾄﾞではできません\r\r局面→最初にして下さい"),
            "Not while a record is shown.\r\rChoose Board → Reset first.");
  // Names and paths stay as they were typed; the reason inside is translated.
  EXPECT_EQ(en("「대국 %1」には棋譜ファイルに書けない文字があります"),
            "\u201c대국 %1\u201d has characters a record file cannot hold.");
  EXPECT_EQ(en("ファイル名「☃」には棋譜ファイルに書けない文字があります"),
            "The file name \u201c☃\u201d has characters a record file cannot hold.");
  EXPECT_EQ(en("/tmp/名局.棋譜 の 5 行目が読めません: 取った駒 10 が盤の (3, 4) の駒 -900 と違います"),
            "Line 5 of /tmp/名局.棋譜 cannot be read: the captured piece 10 is not the piece -900 at (3, 4) on the "
            "board");
  EXPECT_EQ(en("/tmp/a.棋譜 を開けません: No such file or directory"),
            "Cannot open /tmp/a.棋譜: No such file or directory");
  EXPECT_EQ(en("BGM.wav: WAVEファイルが途中で切れています。"), "BGM.wav: the WAVE file is cut short.");
  EXPECT_EQ(en("Veverodu.dll"), "Sound");
  // The about box keeps its first and last lines, which are English already.
  EXPECT_EQ(en("Veverodu 1.0\n将棋の仲間の盤上ゲーム。動いた駒は必ず裏返り、取った駒は表裏一組で持ち駒になります。\nA "
               "shogi-family game."),
            "Veverodu 1.0\nCaptured pieces go to hand in pairs and may be dropped with either face.\nA shogi-family "
            "game.");
  // A text the game never says is shown as it came.
  EXPECT_EQ(en("名局"), "名局");
  EXPECT_EQ(en(""), "");

  EXPECT_EQ(translate_board_text("飛").toStdString(), "Rook");
  EXPECT_EQ(translate_board_text("六").toStdString(), "６");
  EXPECT_EQ(translate_board_text("ﾊﾝﾃﾞｨｷｬｯﾌﾟ:初段").toStdString(), "Rank: 1 dan");
  EXPECT_EQ(translate_board_text("0:12:05").toStdString(), "0:12:05");
  EXPECT_EQ(translate_board_text("名局").toStdString(), "名局");
}

TEST(InJapanese, EveryTextStaysByteForByte) {
  ASSERT_TRUE(use_language(Language::japanese));
  for (const SourceText& t : translatable_texts()) {
    EXPECT_EQ(translate_message(t.text).toStdString(), t.text);
    EXPECT_EQ(translate_board_text(t.text).toStdString(), t.text);
  }
  EXPECT_EQ(translate_message("棋譜ﾓｰﾄﾞではできません\r\r局面→最初にして下さい").toStdString(),
            "棋譜ﾓｰﾄﾞではできません\r\r局面→最初にして下さい");
}

// Where the board draws a fixed text, from the game's drawing calls: the
// text's left edge in grid places, how far its shadow lies to the right, and
// the edge it must stay inside (the places the game erases before drawing it,
// or the next text).
struct BoardBox {
  std::vector<const char*> texts;
  int size;  // points
  double left, right;
};

const BoardBox BOARD_BOXES[] = {
    {{"思考中"}, 12, -1.6, 1.0},    // erased places -2..0 of row 6
    {{"手目"}, 10, 12.0, 13.0},     // erased places 11..12 of row 3
    {{"表", "裏"}, 15, -0.7, 1.0},  // the top side's front heading, up to the board
    {{"歩", "と", "香", "桂", "銀", "金", "角", "飛", "王"}, 12, -0.6, 1.0},  // the move line's piece
    {{"一", "二", "三", "四", "五", "六", "七", "八", "九"}, 12, 0.4, 1.0},   // its row, before the piece
    {{"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:名人", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:８段", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:初段", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:１級", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:10級", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:12級"},
     10,
     11.2,
     14.0},  // erased places 11..13 of row 1
};
constexpr double SHADOW = 0.1;

TEST_F(InEnglish, BoardTextsFitWhereTheJapaneseStands) {
  const double pixels_per_place = 600.0 / Surface::TWIPS_PER_PIXEL;
  for (const BoardBox& box : BOARD_BOXES) {
    // The font of the board's texts: bold from the first drawing on.
    QFont font(Artwork::font_family());
    font.setPixelSize(static_cast<int>(std::lround(box.size * 20.0 / Surface::TWIPS_PER_PIXEL)));
    font.setBold(true);
    const QFontMetricsF metrics(font);
    const double room = (box.right - box.left - SHADOW) * pixels_per_place;
    for (const char* text : box.texts) {
      const QString english = translate_board_text(text);
      EXPECT_NE(english, QString::fromUtf8(text));
      EXPECT_LE(metrics.horizontalAdvance(QString::fromUtf8(text)), room) << text << " (the box itself)";
      EXPECT_LE(metrics.horizontalAdvance(english), room)
          << text << " as \"" << english.toStdString() << "\": " << metrics.horizontalAdvance(english) << " of " << room
          << " pixels";
    }
  }
}

// --- Records across the languages ----------------------------------------------------------

struct Window {
  explicit Window(const QString& folder) {
    QDir::setCurrent(folder);
    WindowOptions o;
    o.boxes = &boxes;
    o.sound = false;
    window = std::make_unique<MainWindow>(o);
    window->port().on_quit = [] {};
    window->show();
    window->resize(MainWindow::OPEN_WIDTH, MainWindow::OPEN_HEIGHT);
    QApplication::processEvents();
  }
  void click(int x, int y) {
    const QRect r = window->surface().widget_rect(QRect(2200 + 600 * x, 520 + 615 * y, 600, 615));
    QTest::mouseClick(&window->surface(), Qt::LeftButton, {}, r.center());
  }
  struct Boxes : MessageBoxes {
    void message(const std::string& title, const std::string& text, Icon) override {
      shown.push_back(title + "|" + text);
    }
    bool ask(const std::string& title, const std::string& text) override {
      shown.push_back(title + "|" + text);
      return true;
    }
    void about(const std::string&, const std::string&) override {}
    std::vector<std::string> shown;
  } boxes;
  std::unique_ptr<MainWindow> window;
};

TEST(TranslationRecords, ASavedRecordLoadsInTheOtherLanguage) {
  const std::pair<Language, Language> crossings[] = {{Language::english, Language::japanese},
                                                     {Language::japanese, Language::english}};
  for (const auto& [saving, loading] : crossings) {
    QTemporaryDir folder;
    ASSERT_TRUE(use_language(saving));
    {
      Window w(folder.path());
      w.window->dispatch([&] { w.window->game().start_two_person_game(); });
      w.click(7, 7);
      w.click(7, 6);
      w.click(3, 3);
      w.click(3, 4);
      ASSERT_EQ(w.window->game().record.move_number, 2);
      w.window->dispatch([&] { w.window->game().show_save_panel(); });
      w.window->panel().set_form_texts({"名局 Final", "Alice", "羽生", "crossing"});
      w.window->panel().return_button()->click();
      ASSERT_FALSE(w.boxes.shown.empty());
      EXPECT_EQ(w.boxes.shown.back(), "  |棋譜を書き込みました");
      // A name Shift-JIS cannot hold: a clear message, and no file.
      w.window->dispatch([&] { w.window->game().show_save_panel(); });
      w.window->panel().set_form_texts({"대국", "Alice", "羽生", "lost"});
      w.window->panel().return_button()->click();
      EXPECT_EQ(w.boxes.shown.back(), "棋譜書込|「대국」には棋譜ファイルに書けない文字があります");
      if (saving == Language::english) {
        EXPECT_EQ(translate_message("「대국」には棋譜ファイルに書けない文字があります").toStdString(),
                  "\u201c대국\u201d has characters a record file cannot hold.");
      }
      EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("lost.棋譜"))));
    }
    QFile saved(folder.filePath(QStringLiteral("crossing.棋譜")));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    record_format::RecordFile file;
    record_format::ReadError error;
    ASSERT_TRUE(record_format::read_record_file(saved.readAll().toStdString(), file, error));
    EXPECT_EQ(file.game, "名局 Final");
    EXPECT_EQ(file.bottom, "Alice");  // the person moved first, from the bottom
    EXPECT_EQ(file.top, "羽生");

    ASSERT_TRUE(use_language(loading));
    Window w(folder.path());
    w.window->dispatch([&] { w.window->game().load_record_file(folder.path().toStdString(), "crossing.棋譜"); });
    ASSERT_GE(w.boxes.shown.size(), 2u);
    EXPECT_EQ(w.boxes.shown[w.boxes.shown.size() - 2], "棋譜| 読み込みました");
    EXPECT_EQ(w.window->game().record.record_length, 2);
    EXPECT_EQ(w.window->game().record.to_y[1], 6);
    EXPECT_EQ(w.window->game().record.to_y[2], 4);
  }
  use_language(Language::japanese);
}

QString describe(const QList<QAction*>& actions) {
  QStringList parts;
  for (QAction* a : actions)
    if (!a->isSeparator()) parts << (a->menu() ? a->text() + "[" + describe(a->menu()->actions()) + "]" : a->text());
  return parts.join(' ');
}

TEST_F(InEnglish, MenusAndTheRecordPanelSpeakEnglish) {
  QTemporaryDir folder;
  Window w(folder.path());
  EXPECT_EQ(describe(w.window->menuBar()->actions()).toStdString(),
            "Game[Two Players[Start] Against Computer[Move First Move Second] Computer Level[Level 1 Level 2 Level 3 "
            "Level 4] Quit] Board[Reset Flip] Back Forward △ ▽ Record[Load Save] Options[Background[Green Tatami "
            "Bamboo Space Brick] Move Hints Clock Music] About");
  EXPECT_EQ(w.window->panel().return_button()->text().toStdString(), "Save");
  QStringList captions;
  for (QLabel* label : w.window->findChildren<QLabel*>()) captions << label->text();
  captions.sort();
  EXPECT_EQ(captions.join('|').toStdString(), "File:|First:|Game:|Second:");
  // The Japanese menus come back with the Japanese language.
  use_language(Language::japanese);
  Window japanese(folder.path());
  EXPECT_EQ(japanese.window->menuBar()->actions().first()->text().toStdString(), "対局");
}

// --- The language choice ------------------------------------------------------------------

TEST(TranslationChoice, TheFirstPreferredLanguageDecides) {
  EXPECT_EQ(language_for({"ja-JP", "en-US"}), Language::japanese);
  EXPECT_EQ(language_for({"ja"}), Language::japanese);
  EXPECT_EQ(language_for({"JA_jp"}), Language::japanese);
  EXPECT_EQ(language_for({"en-GB", "ja-JP"}), Language::english);
  EXPECT_EQ(language_for({"fr-FR"}), Language::english);
  EXPECT_EQ(language_for({"jam"}), Language::english);  // Jamaican Creole is not Japanese
  EXPECT_EQ(language_for({}), Language::english);
  EXPECT_EQ(language_named("ja"), Language::japanese);
  EXPECT_EQ(language_named("en"), Language::english);
  EXPECT_FALSE(language_named("de"));
  EXPECT_FALSE(language_named(""));
  EXPECT_FALSE(language_named("EN"));
  // --lang wins over the preferred languages.
  EXPECT_EQ(choose_language("en", {"ja-JP"}), Language::english);
  EXPECT_EQ(choose_language("ja", {"en-US"}), Language::japanese);
  EXPECT_EQ(choose_language("", {"ja-JP"}), Language::japanese);
  EXPECT_FALSE(choose_language("fr", {"ja-JP"}));
}

// The preferred languages as a started program reads them from its
// environment: this test program run again with only those variables set.
TEST(TranslationChoice, TheEnvironmentDecides) {
  const std::pair<QStringList, const char*> cases[] = {
      {{"LANG=ja_JP.UTF-8"}, "ja"},
      {{"LC_ALL=ja_JP.UTF-8", "LANG=en_US.UTF-8"}, "ja"},
      {{"LANGUAGE=ja:en", "LANG=en_US.UTF-8"}, "ja"},
      {{"LANGUAGE=en:ja", "LANG=ja_JP.UTF-8"}, "en"},
      {{"LANG=fr_FR.UTF-8"}, "en"},
      {{"LANG=C"}, "en"},
      {{}, "en"},
  };
  for (const auto& [environment, expected] : cases) {
    QProcess child;
    child.setEnvironment(environment + QStringList{QStringLiteral("QT_QPA_PLATFORM=offscreen")});
    child.setWorkingDirectory(QDir::tempPath());  // the window tests leave the current folder behind them
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--print-language")});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.readAllStandardOutput().trimmed().toStdString(), expected)
        << environment.join(' ').toStdString() << ": " << child.readAllStandardError().toStdString();
  }
}

}  // namespace
}  // namespace vv

int main(int argc, char** argv) {
  if (argc == 2 && std::string(argv[1]) == "--print-language") {
    QCoreApplication app(argc, argv);
    std::cout << vv::language_code(*vv::choose_language({}, QLocale::system().uiLanguages())) << std::endl;
    return 0;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
