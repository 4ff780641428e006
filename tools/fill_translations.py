#!/usr/bin/env python3
"""Fills veverodu_en.ts with the English texts below (kept here so that the
translation can be reviewed in one place) and marks every entry finished.
usage: tools/fill_translations.py src/window/translations/veverodu_en.ts"""
import sys
import xml.etree.ElementTree as ET

ENGLISH = {
    "Board": {
        "思考中": "Thinking",
        "手目": "turns",
        "表": "Front",
        "裏": "Back",
        "一": "１", "二": "２", "三": "３", "四": "４", "五": "５",
        "六": "６", "七": "７", "八": "８", "九": "９",
        "歩": "Pawn", "と": "Tokin", "香": "Lance", "桂": "Knight", "銀": "Silver",
        "金": "Gold", "角": "Bishop", "飛": "Rook", "王": "King",
        "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:名人": "Rank: Master",
        "ﾊﾝﾃﾞｨｷｬｯﾌﾟ:初段": "Rank: 1 dan",
        **{f"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:{w}段": f"Rank: {n} dan" for w, n in
           zip("２３４５６７８", range(2, 9))},
        **{f"ﾊﾝﾃﾞｨｷｬｯﾌﾟ:{w}級": f"Rank: {n} kyu" for w, n in
           zip(["１", "２", "３", "４", "５", "６", "７", "８", "９", "10", "11", "12"], range(1, 13))},
    },
    "Menu": {
        "対局": "Game",
        "対局(人間)": "Two Players",
        "スタート": "Start",
        "対局(COM)": "Against Computer",
        "先手": "Move First",
        "後手": "Move Second",
        "COM対局ﾚﾍﾞﾙ": "Computer Level",
        "LEVEL1": "Level 1", "LEVEL2": "Level 2", "LEVEL3": "Level 3", "LEVEL4": "Level 4",
        "終わり": "Quit",
        "局面": "Board",
        "最初": "Reset",
        "反転": "Flip",
        "戻": "Back",
        "進": "Forward",
        "△": "△",
        "▽": "▽",
        "棋譜": "Record",
        "読込": "Load",
        "書込": "Save",
        "ｵﾌﾟｼｮﾝ": "Options",
        "背景画": "Background",
        "緑": "Green", "畳": "Tatami", "竹": "Bamboo", "宇宙": "Space", "煉瓦": "Brick",
        "移動指導": "Move Hints",
        "経過時間": "Clock",
        "BGM": "Music",
        "その他": "About",
    },
    "FilePanel": {
        "対 局 名：": "Game:",
        "先    手 ：": "First:",
        "後    手 ：": "Second:",
        "ﾌｧｲﾙ名 ：": "File:",
        "RETURN": "Save",
    },
    "Message": {
        "対局": "Game",
        "開始": "Start",
        "再開(COM)": "Resume",
        "棋譜": "Record",
        "終了": "Game Over",
        "再ゲーム": "New Game",
        "反転": "Flip",
        "進む": "Forward",
        "戻る": "Back",
        "棋譜書込": "Save Record",
        "棋譜保存": "Save Record",
        "詰め ?": "Mate?",
        "ﾊﾝﾃﾞｨｷｬｯﾌﾟ設定": "Handicap",
        "ｴﾗｰ": "Error",
        "先手の番です": "First player to move.",
        "後手の番です": "Second player to move.",
        "MANの番です": "Your move.",
        "「対局」で始めて下さい": "Start a game from the Game menu.",
        "OKですか？": "Ready to go on?",
        "あなたの勝ちです": "You win!",
        "ｺﾝﾋﾟｭｰﾀの勝ちです": "The computer wins.",
        "先手の勝ちです": "The first player wins.",
        "後手の勝ちです": "The second player wins.",
        "500手に達しました。引き分けです": "500 moves played. The game is a draw.",
        "続けますか？": "Play again?",
        "よし！!": "Got you!",
        "   ** 王手 **": "   ** Check **",
        "棋譜を '進 'で進めて下さい": "Step through the record with Forward.",
        "終わり": "That was the last move.",
        "できません": "Not possible.",
        "棋譜ﾓｰﾄﾞではできません": "Not while a record is shown.",
        "対局途中ではできません": "Not once the game has begun.",
        "反転後ではできません": "Not on a flipped board.",
        "局面→最初にして下さい": "Choose Board → Reset first.",
        "反転後は書き込みできません": "A flipped board cannot be saved.",
        "ﾊﾝﾃﾞｷｬｯﾌﾟ設定後は書き込みできません": "A handicap game cannot be saved.",
        "ﾌｧｲﾙ名が入力されていません": "Please type a file name.",
        "保存するデータがありません": "There are no moves to save.",
        "棋譜を書き込みました": "Record saved.",
        "棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません": "The record file holds no moves.",
        " 読み込みました": "Record loaded.",
        "時間が負です": "a time is negative",
        "Shift-JIS として読めない文字があります": "some characters are not Shift-JIS",
        "ﾃﾞﾊﾞｲｽが準備できていません": "The drive is not ready.",
        "Direct Soundインターフェースが作成できません。": "No sound device could be opened: the game stays silent.",
        "WAVEファイルではありません。": "not a WAVE file.",
        "WAVEファイルが途中で切れています。": "the WAVE file is cut short.",
        "WAVEファイルの形式情報が壊れています。": "the WAVE file's format block is damaged.",
        "PCM形式のWAVEファイルではありません。": "not a PCM WAVE file.",
        "16ビットのモノラルかステレオのPCMではありません。": "not 16-bit mono or stereo PCM.",
        "WAVEファイルの形式情報がありません。": "the WAVE file has no format block.",
        "WAVEファイルに音がありません。": "the WAVE file holds no sound.",
        "WAVEファイルに音のデータがありません。": "the WAVE file holds no sound data.",
        "将棋の仲間の盤上ゲーム。動いた駒は必ず裏返り、取った駒は表裏一組で持ち駒になります。":
            "Captured pieces go to hand in pairs and may be dropped with either face.",
        "ファイル名「%1」には棋譜ファイルに書けない文字があります":
            "The file name \u201c%1\u201d has characters a record file cannot hold.",
        "「%1」には棋譜ファイルに書けない文字があります": "\u201c%1\u201d has characters a record file cannot hold.",
        "%1 に書き込めません: %2": "Cannot write %1: %2",
        "%1 を開けません: %2": "Cannot open %1: %2",
        "%1 の %2 行目が読めません: %3": "Line %2 of %1 cannot be read: %3",
        "移動元 %1 は盤にも駒台にもありません": "the starting place %1 is neither on the board nor on a stand",
        "移動先 %1 は盤の外です": "the target %1 is off the board",
        "駒 %1 はありません": "there is no piece %1",
        "置いた駒 %1 はありません": "there is no piece %1 to put down",
        "取った駒 %1 は相手の駒ではありません": "the captured piece %1 is not the other side's",
        "移動元 %1 に駒 %2 がありません": "piece %2 is not at the starting place %1",
        "置いた駒 %1 は駒 %2 の裏の面ではありません": "piece %1 put down is not the other face of piece %2",
        "打った駒 %1 が駒 %2 と違います": "the dropped piece %1 is not piece %2",
        "駒台の %1 に駒 %2 は置かれません": "piece %2 does not belong at %1 on the stand",
        "持ち駒に駒 %1 がありません": "piece %1 is not in hand",
        "駒のある桝 %1 には打てません": "nothing can be dropped on the taken square %1",
        "取った駒 %1 が盤の %2 の駒 %3 と違います": "the captured piece %1 is not the piece %3 at %2 on the board",
        "手の行が %1 桁ではありません": "a move line is not %1 characters long",
        "%1 桁目が数ではありません": "characters %1 are not a number",
        "棋譜は %1 手までです": "a record holds at most %1 moves",
        "%1: %2": "%1: %2",
    },
}


def main():
    path = sys.argv[1]
    tree = ET.parse(path)
    root = tree.getroot()
    root.set("sourcelanguage", "ja_JP")
    root.set("language", "en_US")
    missing = []
    for context in root.findall("context"):
        name = context.find("name").text
        for message in context.findall("message"):
            source = message.find("source").text
            translation = message.find("translation")
            english = ENGLISH.get(name, {}).get(source)
            if english is None:
                missing.append(f"{name}: {source}")
                continue
            translation.text = english
            translation.attrib.pop("type", None)
    with open(path, "wb") as out:
        out.write(b'<?xml version="1.0" encoding="utf-8"?>\n<!DOCTYPE TS>\n')
        ET.indent(tree, space="    ")
        tree.write(out, encoding="utf-8", xml_declaration=False)
        out.write(b"\n")
    if missing:
        print("no English for:\n  " + "\n  ".join(missing), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
