#include "window/translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTranslator>
#include <map>

namespace vv {
namespace {

// --- What the game draws on the board ----------------------------------------

constexpr const char* BOARD = "Board";
const char* const BOARD_TEXTS[] = {
    QT_TRANSLATE_NOOP("Board", "思考中"),
    QT_TRANSLATE_NOOP("Board", "手目"),
    QT_TRANSLATE_NOOP("Board", "表"),
    QT_TRANSLATE_NOOP("Board", "裏"),
    // The row numerals beside the board and in the move line.
    QT_TRANSLATE_NOOP("Board", "一"),
    QT_TRANSLATE_NOOP("Board", "二"),
    QT_TRANSLATE_NOOP("Board", "三"),
    QT_TRANSLATE_NOOP("Board", "四"),
    QT_TRANSLATE_NOOP("Board", "五"),
    QT_TRANSLATE_NOOP("Board", "六"),
    QT_TRANSLATE_NOOP("Board", "七"),
    QT_TRANSLATE_NOOP("Board", "八"),
    QT_TRANSLATE_NOOP("Board", "九"),
    // The pieces of the move line.
    QT_TRANSLATE_NOOP("Board", "歩"),
    QT_TRANSLATE_NOOP("Board", "と"),
    QT_TRANSLATE_NOOP("Board", "香"),
    QT_TRANSLATE_NOOP("Board", "桂"),
    QT_TRANSLATE_NOOP("Board", "銀"),
    QT_TRANSLATE_NOOP("Board", "金"),
    QT_TRANSLATE_NOOP("Board", "角"),
    QT_TRANSLATE_NOOP("Board", "飛"),
    QT_TRANSLATE_NOOP("Board", "王"),
    // The handicap ranks.
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:名人"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:８段"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:７段"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:６段"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:５段"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:４段"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:３段"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:２段"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:初段"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:１級"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:２級"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:３級"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:４級"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:５級"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:６級"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:７級"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:８級"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:９級"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:10級"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:11級"),
    QT_TRANSLATE_NOOP("Board", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:12級"),
};

// --- What the game and the window say in message boxes ----------------------

constexpr const char* MESSAGE = "Message";
// Whole lines.
const char* const MESSAGE_TEXTS[] = {
    // Titles.
    QT_TRANSLATE_NOOP("Message", "対局"),
    QT_TRANSLATE_NOOP("Message", "開始"),
    QT_TRANSLATE_NOOP("Message", "再開(COM)"),
    QT_TRANSLATE_NOOP("Message", "棋譜"),
    QT_TRANSLATE_NOOP("Message", "終了"),
    QT_TRANSLATE_NOOP("Message", "再ゲーム"),
    QT_TRANSLATE_NOOP("Message", "反転"),
    QT_TRANSLATE_NOOP("Message", "進む"),
    QT_TRANSLATE_NOOP("Message", "戻る"),
    QT_TRANSLATE_NOOP("Message", "棋譜書込"),
    QT_TRANSLATE_NOOP("Message", "棋譜保存"),
    QT_TRANSLATE_NOOP("Message", "詰め ?"),
    QT_TRANSLATE_NOOP("Message", "ﾊﾝﾃﾞｨｷｬｯﾌﾟ設定"),
    QT_TRANSLATE_NOOP("Message", "ｴﾗｰ"),
    // Turns and the course of a game.
    QT_TRANSLATE_NOOP("Message", "先手の番です"),
    QT_TRANSLATE_NOOP("Message", "後手の番です"),
    QT_TRANSLATE_NOOP("Message", "MANの番です"),
    QT_TRANSLATE_NOOP("Message", "「対局」で始めて下さい"),
    QT_TRANSLATE_NOOP("Message", "OKですか？"),
    QT_TRANSLATE_NOOP("Message", "あなたの勝ちです"),
    QT_TRANSLATE_NOOP("Message", "ｺﾝﾋﾟｭｰﾀの勝ちです"),
    QT_TRANSLATE_NOOP("Message", "先手の勝ちです"),
    QT_TRANSLATE_NOOP("Message", "後手の勝ちです"),
    QT_TRANSLATE_NOOP("Message", "500手に達しました。引き分けです"),
    QT_TRANSLATE_NOOP("Message", "続けますか？"),
    QT_TRANSLATE_NOOP("Message", "よし！!"),
    QT_TRANSLATE_NOOP("Message", "   ** 王手 **"),
    // Stepping through a record, flipping, handicaps.
    QT_TRANSLATE_NOOP("Message", "棋譜を '進 'で進めて下さい"),
    QT_TRANSLATE_NOOP("Message", "終わり"),
    QT_TRANSLATE_NOOP("Message", "できません"),
    QT_TRANSLATE_NOOP("Message", "棋譜ﾓｰﾄﾞではできません"),
    QT_TRANSLATE_NOOP("Message", "対局途中ではできません"),
    QT_TRANSLATE_NOOP("Message", "反転後ではできません"),
    QT_TRANSLATE_NOOP("Message", "局面→最初にして下さい"),
    // Record files.
    QT_TRANSLATE_NOOP("Message", "反転後は書き込みできません"),
    QT_TRANSLATE_NOOP("Message", "ﾊﾝﾃﾞｷｬｯﾌﾟ設定後は書き込みできません"),
    QT_TRANSLATE_NOOP("Message", "ﾌｧｲﾙ名が入力されていません"),
    QT_TRANSLATE_NOOP("Message", "保存するデータがありません"),
    QT_TRANSLATE_NOOP("Message", "棋譜を書き込みました"),
    QT_TRANSLATE_NOOP("Message", "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません"),
    QT_TRANSLATE_NOOP("Message", " 読み込みました"),
    QT_TRANSLATE_NOOP("Message", "時間が負です"),
    QT_TRANSLATE_NOOP("Message", "Shift-JIS として読めない文字があります"),
    QT_TRANSLATE_NOOP("Message", "ﾃﾞﾊﾞｲｽが準備できていません"),
    // Sound: the start-up message's title, and what went wrong.
    QT_TRANSLATE_NOOP("Message", "Veverodu.dll"),
    QT_TRANSLATE_NOOP("Message", "Direct Soundインターフェースが作成できません。"),
    QT_TRANSLATE_NOOP("Message", "WAVEファイルではありません。"),
    QT_TRANSLATE_NOOP("Message", "WAVEファイルが途中で切れています。"),
    QT_TRANSLATE_NOOP("Message", "WAVEファイルの形式情報が壊れています。"),
    QT_TRANSLATE_NOOP("Message", "PCM形式のWAVEファイルではありません。"),
    QT_TRANSLATE_NOOP("Message", "16ビットのモノラルかステレオのPCMではありません。"),
    QT_TRANSLATE_NOOP("Message", "WAVEファイルの形式情報がありません。"),
    QT_TRANSLATE_NOOP("Message", "WAVEファイルに音がありません。"),
    QT_TRANSLATE_NOOP("Message", "WAVEファイルに音のデータがありません。"),
    // The about box.
    QT_TRANSLATE_NOOP("Message",
                      "将棋の仲間の盤上ゲーム。動いた駒は必ず裏返り、取った駒は表裏一組で持ち駒になります。"),
};

// Composed lines: %1, %2, %3 stand for what the game put in.
const char* const MESSAGE_PATTERNS[] = {
    QT_TRANSLATE_NOOP("Message", "ファイル名「%1」には棋譜ファイルに書けない文字があります"),
    QT_TRANSLATE_NOOP("Message", "「%1」には棋譜ファイルに書けない文字があります"),
    QT_TRANSLATE_NOOP("Message", "%1 に書き込めません: %2"),
    QT_TRANSLATE_NOOP("Message", "%1 を開けません: %2"),
    QT_TRANSLATE_NOOP("Message", "%1 の %2 行目が読めません: %3"),
    // Why a line of a record file cannot be read.
    QT_TRANSLATE_NOOP("Message", "移動元 %1 は盤にも駒台にもありません"),
    QT_TRANSLATE_NOOP("Message", "移動先 %1 は盤の外です"),
    QT_TRANSLATE_NOOP("Message", "駒 %1 はありません"),
    QT_TRANSLATE_NOOP("Message", "置いた駒 %1 はありません"),
    QT_TRANSLATE_NOOP("Message", "取った駒 %1 は相手の駒ではありません"),
    QT_TRANSLATE_NOOP("Message", "移動元 %1 に駒 %2 がありません"),
    QT_TRANSLATE_NOOP("Message", "置いた駒 %1 は駒 %2 の裏の面ではありません"),
    QT_TRANSLATE_NOOP("Message", "打った駒 %1 が駒 %2 と違います"),
    QT_TRANSLATE_NOOP("Message", "駒台の %1 に駒 %2 は置かれません"),
    QT_TRANSLATE_NOOP("Message", "持ち駒に駒 %1 がありません"),
    QT_TRANSLATE_NOOP("Message", "駒のある桝 %1 には打てません"),
    QT_TRANSLATE_NOOP("Message", "取った駒 %1 が盤の %2 の駒 %3 と違います"),
    QT_TRANSLATE_NOOP("Message", "手の行が %1 桁ではありません"),
    QT_TRANSLATE_NOOP("Message", "%1 桁目が数ではありません"),
    QT_TRANSLATE_NOOP("Message", "棋譜は %1 手までです"),
    // A sound file and what is wrong with it.
    QT_TRANSLATE_NOOP("Message", "%1: %2"),
};

Language current_language = Language::japanese;
QTranslator* installed_translator = nullptr;

QString translated(const char* context, const QString& source) {
  return QCoreApplication::translate(context, source.toUtf8().constData());
}

// A composed line as a regular expression that matches it: the fixed parts
// as they stand, each slot any text, captured.
struct Pattern {
  QString source;
  QRegularExpression match;
  int slot_count;
};

const std::vector<Pattern>& patterns() {
  static const std::vector<Pattern> all = [] {
    std::vector<Pattern> list;
    static const QRegularExpression slot(QStringLiteral("%([1-9])"));
    for (const char* p : MESSAGE_PATTERNS) {
      const QString source = QString::fromUtf8(p);
      QString expression = QStringLiteral("^");
      int at = 0, slot_count = 0;
      for (auto it = slot.globalMatch(source); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        expression += QRegularExpression::escape(source.mid(at, m.capturedStart() - at));
        expression += QStringLiteral("(.*)");
        at = static_cast<int>(m.capturedEnd());
        ++slot_count;
      }
      expression += QRegularExpression::escape(source.mid(at)) + QStringLiteral("$");
      list.push_back(
          {source, QRegularExpression(expression, QRegularExpression::DotMatchesEverythingOption), slot_count});
    }
    return list;
  }();
  return all;
}

// Puts the parts into a translated pattern in one pass, so a part that
// itself holds "%1" stays as it is.
QString fill(const QString& pattern, const QStringList& parts) {
  QString out;
  for (int i = 0; i < pattern.size(); ++i) {
    const QChar c = pattern[i];
    if (c == QLatin1Char('%') && i + 1 < pattern.size() && pattern[i + 1] >= QLatin1Char('1') &&
        pattern[i + 1] <= QLatin1Char('9')) {
      const int n = pattern[i + 1].digitValue();
      if (n <= parts.size()) {
        out += parts[n - 1];
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

// One line in the window's language: a whole fixed text, or a composed one
// whose inserted parts are translated in turn, composed lines nesting at
// most three deep. A line that is neither stays as it came.
QString translate_line(const QString& line, int depth) {
  if (line.isEmpty()) return line;
  const QString whole = translated(MESSAGE, line);
  if (whole != line) return whole;
  if (depth > 2) return line;
  for (const Pattern& p : patterns()) {
    const QRegularExpressionMatch m = p.match.match(line);
    if (!m.hasMatch()) continue;
    const QString target = translated(MESSAGE, p.source);
    QStringList parts;
    for (int i = 1; i <= p.slot_count; ++i) parts << translate_line(m.captured(i), depth + 1);
    return fill(target, parts);
  }
  return line;
}

}  // namespace

Language language_for(const QStringList& preferred) {
  if (preferred.isEmpty()) return Language::english;
  const QString first = preferred.first().toLower();
  return first == QStringLiteral("ja") || first.startsWith(QStringLiteral("ja-")) ||
                 first.startsWith(QStringLiteral("ja_"))
             ? Language::japanese
             : Language::english;
}

std::optional<Language> language_named(const QString& name) {
  if (name == QStringLiteral("ja")) return Language::japanese;
  if (name == QStringLiteral("en")) return Language::english;
  return std::nullopt;
}

std::optional<Language> choose_language(const QString& lang_option, const QStringList& preferred) {
  if (lang_option.isEmpty()) return language_for(preferred);
  return language_named(lang_option);
}

const char* language_code(Language language) { return language == Language::japanese ? "ja" : "en"; }

bool use_language(Language language) {
  if (installed_translator) {
    QCoreApplication::removeTranslator(installed_translator);
    delete installed_translator;
    installed_translator = nullptr;
  }
  current_language = Language::japanese;
  if (language == Language::japanese) return true;
  auto* translator = new QTranslator;
  // An installed copy beside the program first, then the one built into it.
  const QString app_dir = QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
  const QStringList places = {app_dir + QStringLiteral("/../share/veverodu/translations"), QStringLiteral(":/i18n")};
  for (const QString& place : places) {
    if (translator->load(QStringLiteral("veverodu_%1").arg(QLatin1String(language_code(language))), place)) {
      QCoreApplication::installTranslator(translator);
      installed_translator = translator;
      current_language = language;
      return true;
    }
  }
  delete translator;
  return false;
}

QString translate_board_text(const std::string& text) {
  const QString source = QString::fromStdString(text);
  if (current_language == Language::japanese) return source;
  return translated(BOARD, source);
}

QString translate_message(const std::string& text) {
  const QString source = QString::fromStdString(text);
  if (current_language == Language::japanese) return source;
  // Line by line, keeping the game's line breaks as they are.
  static const QRegularExpression breaks(QStringLiteral("(\r\n|\r|\n)"));
  QString out;
  int at = 0;
  for (auto it = breaks.globalMatch(source); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    out += translate_line(source.mid(at, m.capturedStart() - at), 0) + m.captured();
    at = static_cast<int>(m.capturedEnd());
  }
  return out + translate_line(source.mid(at), 0);
}

const std::vector<SourceText>& translatable_texts() {
  static const std::vector<SourceText> all = [] {
    std::vector<SourceText> list;
    for (const char* t : BOARD_TEXTS) list.push_back({BOARD, t});
    for (const char* t : MESSAGE_TEXTS) list.push_back({MESSAGE, t});
    for (const char* t : MESSAGE_PATTERNS) list.push_back({MESSAGE, t});
    return list;
  }();
  return all;
}

}  // namespace vv
