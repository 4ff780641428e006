<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>Board</name>
    <message>
        <source>思考中</source>
        <translation>Thinking</translation>
    </message>
    <message>
        <source>手目</source>
        <translation>turns</translation>
    </message>
    <message>
        <source>表</source>
        <translation>Front</translation>
    </message>
    <message>
        <source>裏</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>一</source>
        <translation>１</translation>
    </message>
    <message>
        <source>二</source>
        <translation>２</translation>
    </message>
    <message>
        <source>三</source>
        <translation>３</translation>
    </message>
    <message>
        <source>四</source>
        <translation>４</translation>
    </message>
    <message>
        <source>五</source>
        <translation>５</translation>
    </message>
    <message>
        <source>六</source>
        <translation>６</translation>
    </message>
    <message>
        <source>七</source>
        <translation>７</translation>
    </message>
    <message>
        <source>八</source>
        <translation>８</translation>
    </message>
    <message>
        <source>九</source>
        <translation>９</translation>
    </message>
    <message>
        <source>歩</source>
        <translation>Pawn</translation>
    </message>
    <message>
        <source>と</source>
        <translation>Tokin</translation>
    </message>
    <message>
        <source>香</source>
        <translation>Lance</translation>
    </message>
    <message>
        <source>桂</source>
        <translation>Knight</translation>
    </message>
    <message>
        <source>銀</source>
        <translation>Silver</translation>
    </message>
    <message>
        <source>金</source>
        <translation>Gold</translation>
    </message>
    <message>
        <source>角</source>
        <translation>Bishop</translation>
    </message>
    <message>
        <source>飛</source>
        <translation>Rook</translation>
    </message>
    <message>
        <source>王</source>
        <translation>King</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:名人</source>
        <translation>Rank: Master</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:８段</source>
        <translation>Rank: 8 dan</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:７段</source>
        <translation>Rank: 7 dan</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:６段</source>
        <translation>Rank: 6 dan</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:５段</source>
        <translation>Rank: 5 dan</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:４段</source>
        <translation>Rank: 4 dan</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:３段</source>
        <translation>Rank: 3 dan</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:２段</source>
        <translation>Rank: 2 dan</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:初段</source>
        <translation>Rank: 1 dan</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:１級</source>
        <translation>Rank: 1 kyu</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:２級</source>
        <translation>Rank: 2 kyu</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:３級</source>
        <translation>Rank: 3 kyu</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:４級</source>
        <translation>Rank: 4 kyu</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:５級</source>
        <translation>Rank: 5 kyu</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:６級</source>
        <translation>Rank: 6 kyu</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:７級</source>
        <translation>Rank: 7 kyu</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:８級</source>
        <translation>Rank: 8 kyu</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:９級</source>
        <translation>Rank: 9 kyu</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:10級</source>
        <translation>Rank: 10 kyu</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:11級</source>
        <translation>Rank: 11 kyu</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ:12級</source>
        <translation>Rank: 12 kyu</translation>
    </message>
</context>
<context>
    <name>FilePanel</name>
    <message>
        <source>対 局 名：</source>
        <translation>Game:</translation>
    </message>
    <message>
        <source>先    手 ：</source>
        <translation>First:</translation>
    </message>
    <message>
        <source>後    手 ：</source>
        <translation>Second:</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名 ：</source>
        <translation>File:</translation>
    </message>
    <message>
        <source>RETURN</source>
        <translation>Save</translation>
    </message>
</context>
<context>
    <name>Menu</name>
    <message>
        <source>対局</source>
        <translation>Game</translation>
    </message>
    <message>
        <source>対局(人間)</source>
        <translation>Two Players</translation>
    </message>
    <message>
        <source>スタート</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>対局(COM)</source>
        <translation>Against Computer</translation>
    </message>
    <message>
        <source>先手</source>
        <translation>Move First</translation>
    </message>
    <message>
        <source>後手</source>
        <translation>Move Second</translation>
    </message>
    <message>
        <source>COM対局ﾚﾍﾞﾙ</source>
        <translation>Computer Level</translation>
    </message>
    <message>
        <source>LEVEL1</source>
        <translation>Level 1</translation>
    </message>
    <message>
        <source>LEVEL2</source>
        <translation>Level 2</translation>
    </message>
    <message>
        <source>LEVEL3</source>
        <translation>Level 3</translation>
    </message>
    <message>
        <source>LEVEL4</source>
        <translation>Level 4</translation>
    </message>
    <message>
        <source>終わり</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>局面</source>
        <translation>Board</translation>
    </message>
    <message>
        <source>最初</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>反転</source>
        <translation>Flip</translation>
    </message>
    <message>
        <source>戻</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>進</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>△</source>
        <translation>△</translation>
    </message>
    <message>
        <source>▽</source>
        <translation>▽</translation>
    </message>
    <message>
        <source>棋譜</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>読込</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>書込</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>ｵﾌﾟｼｮﾝ</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>背景画</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>緑</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>畳</source>
        <translation>Tatami</translation>
    </message>
    <message>
        <source>竹</source>
        <translation>Bamboo</translation>
    </message>
    <message>
        <source>宇宙</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>煉瓦</source>
        <translation>Brick</translation>
    </message>
    <message>
        <source>移動指導</source>
        <translation>Move Hints</translation>
    </message>
    <message>
        <source>経過時間</source>
        <translation>Clock</translation>
    </message>
    <message>
        <source>BGM</source>
        <translation>Music</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>About</translation>
    </message>
</context>
<context>
    <name>Message</name>
    <message>
        <source>対局</source>
        <translation>Game</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>再開(COM)</source>
        <translation>Resume</translation>
    </message>
    <message>
        <source>棋譜</source>
        <translation>Record</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Game Over</translation>
    </message>
    <message>
        <source>再ゲーム</source>
        <translation>New Game</translation>
    </message>
    <message>
        <source>反転</source>
        <translation>Flip</translation>
    </message>
    <message>
        <source>進む</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>棋譜書込</source>
        <translation>Save Record</translation>
    </message>
    <message>
        <source>棋譜保存</source>
        <translation>Save Record</translation>
    </message>
    <message>
        <source>詰め ?</source>
        <translation>Mate?</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｨｷｬｯﾌﾟ設定</source>
        <translation>Handicap</translation>
    </message>
    <message>
        <source>ｴﾗｰ</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>先手の番です</source>
        <translation>First player to move.</translation>
    </message>
    <message>
        <source>後手の番です</source>
        <translation>Second player to move.</translation>
    </message>
    <message>
        <source>MANの番です</source>
        <translation>Your move.</translation>
    </message>
    <message>
        <source>「対局」で始めて下さい</source>
        <translation>Start a game from the Game menu.</translation>
    </message>
    <message>
        <source>OKですか？</source>
        <translation>Ready to go on?</translation>
    </message>
    <message>
        <source>あなたの勝ちです</source>
        <translation>You win!</translation>
    </message>
    <message>
        <source>ｺﾝﾋﾟｭｰﾀの勝ちです</source>
        <translation>The computer wins.</translation>
    </message>
    <message>
        <source>先手の勝ちです</source>
        <translation>The first player wins.</translation>
    </message>
    <message>
        <source>後手の勝ちです</source>
        <translation>The second player wins.</translation>
    </message>
    <message>
        <source>500手に達しました。引き分けです</source>
        <translation>500 moves played. The game is a draw.</translation>
    </message>
    <message>
        <source>続けますか？</source>
        <translation>Play again?</translation>
    </message>
    <message>
        <source>よし！!</source>
        <translation>Got you!</translation>
    </message>
    <message>
        <source>   ** 王手 **</source>
        <translation>   ** Check **</translation>
    </message>
    <message>
        <source>棋譜を &apos;進 &apos;で進めて下さい</source>
        <translation>Step through the record with Forward.</translation>
    </message>
    <message>
        <source>終わり</source>
        <translation>That was the last move.</translation>
    </message>
    <message>
        <source>できません</source>
        <translation>Not possible.</translation>
    </message>
    <message>
        <source>棋譜ﾓｰﾄﾞではできません</source>
        <translation>Not while a record is shown.</translation>
    </message>
    <message>
        <source>対局途中ではできません</source>
        <translation>Not once the game has begun.</translation>
    </message>
    <message>
        <source>反転後ではできません</source>
        <translation>Not on a flipped board.</translation>
    </message>
    <message>
        <source>局面→最初にして下さい</source>
        <translation>Choose Board → Reset first.</translation>
    </message>
    <message>
        <source>反転後は書き込みできません</source>
        <translation>A flipped board cannot be saved.</translation>
    </message>
    <message>
        <source>ﾊﾝﾃﾞｷｬｯﾌﾟ設定後は書き込みできません</source>
        <translation>A handicap game cannot be saved.</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名が入力されていません</source>
        <translation>Please type a file name.</translation>
    </message>
    <message>
        <source>保存するデータがありません</source>
        <translation>There are no moves to save.</translation>
    </message>
    <message>
        <source>棋譜を書き込みました</source>
        <translation>Record saved.</translation>
    </message>
    <message>
        <source>棋譜ﾌｧｲﾙにﾃﾞｰﾀがありません</source>
        <translation>The record file holds no moves.</translation>
    </message>
    <message>
        <source> 読み込みました</source>
        <translation>Record loaded.</translation>
    </message>
    <message>
        <source>時間が負です</source>
        <translation>a time is negative</translation>
    </message>
    <message>
        <source>Shift-JIS として読めない文字があります</source>
        <translation>some characters are not Shift-JIS</translation>
    </message>
    <message>
        <source>ﾃﾞﾊﾞｲｽが準備できていません</source>
        <translation>The drive is not ready.</translation>
    </message>
    <message>
        <source>Direct Soundインターフェースが作成できません。</source>
        <translation>No sound device could be opened: the game stays silent.</translation>
    </message>
    <message>
        <source>WAVEファイルではありません。</source>
        <translation>not a WAVE file.</translation>
    </message>
    <message>
        <source>WAVEファイルが途中で切れています。</source>
        <translation>the WAVE file is cut short.</translation>
    </message>
    <message>
        <source>WAVEファイルの形式情報が壊れています。</source>
        <translation>the WAVE file&apos;s format block is damaged.</translation>
    </message>
    <message>
        <source>PCM形式のWAVEファイルではありません。</source>
        <translation>not a PCM WAVE file.</translation>
    </message>
    <message>
        <source>16ビットのモノラルかステレオのPCMではありません。</source>
        <translation>not 16-bit mono or stereo PCM.</translation>
    </message>
    <message>
        <source>WAVEファイルの形式情報がありません。</source>
        <translation>the WAVE file has no format block.</translation>
    </message>
    <message>
        <source>WAVEファイルに音がありません。</source>
        <translation>the WAVE file holds no sound.</translation>
    </message>
    <message>
        <source>WAVEファイルに音のデータがありません。</source>
        <translation>the WAVE file holds no sound data.</translation>
    </message>
    <message>
        <source>将棋の仲間の盤上ゲーム。動いた駒は必ず裏返り、取った駒は表裏一組で持ち駒になります。</source>
        <translation>Captured pieces go to hand in pairs and may be dropped with either face.</translation>
    </message>
    <message>
        <source>ファイル名「%1」には棋譜ファイルに書けない文字があります</source>
        <translation>The file name “%1” has characters a record file cannot hold.</translation>
    </message>
    <message>
        <source>「%1」には棋譜ファイルに書けない文字があります</source>
        <translation>“%1” has characters a record file cannot hold.</translation>
    </message>
    <message>
        <source>%1 に書き込めません: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>%1 を開けません: %2</source>
        <translation>Cannot open %1: %2</translation>
    </message>
    <message>
        <source>%1 の %2 行目が読めません: %3</source>
        <translation>Line %2 of %1 cannot be read: %3</translation>
    </message>
    <message>
        <source>移動元 %1 は盤にも駒台にもありません</source>
        <translation>the starting place %1 is neither on the board nor on a stand</translation>
    </message>
    <message>
        <source>移動先 %1 は盤の外です</source>
        <translation>the target %1 is off the board</translation>
    </message>
    <message>
        <source>駒 %1 はありません</source>
        <translation>there is no piece %1</translation>
    </message>
    <message>
        <source>置いた駒 %1 はありません</source>
        <translation>there is no piece %1 to put down</translation>
    </message>
    <message>
        <source>取った駒 %1 は相手の駒ではありません</source>
        <translation>the captured piece %1 is not the other side&apos;s</translation>
    </message>
    <message>
        <source>移動元 %1 に駒 %2 がありません</source>
        <translation>piece %2 is not at the starting place %1</translation>
    </message>
    <message>
        <source>置いた駒 %1 は駒 %2 の裏の面ではありません</source>
        <translation>piece %1 put down is not the other face of piece %2</translation>
    </message>
    <message>
        <source>打った駒 %1 が駒 %2 と違います</source>
        <translation>the dropped piece %1 is not piece %2</translation>
    </message>
    <message>
        <source>駒台の %1 に駒 %2 は置かれません</source>
        <translation>piece %2 does not belong at %1 on the stand</translation>
    </message>
    <message>
        <source>持ち駒に駒 %1 がありません</source>
        <translation>piece %1 is not in hand</translation>
    </message>
    <message>
        <source>駒のある桝 %1 には打てません</source>
        <translation>nothing can be dropped on the taken square %1</translation>
    </message>
    <message>
        <source>取った駒 %1 が盤の %2 の駒 %3 と違います</source>
        <translation>the captured piece %1 is not the piece %3 at %2 on the board</translation>
    </message>
    <message>
        <source>手の行が %1 桁ではありません</source>
        <translation>a move line is not %1 characters long</translation>
    </message>
    <message>
        <source>%1 桁目が数ではありません</source>
        <translation>characters %1 are not a number</translation>
    </message>
    <message>
        <source>棋譜は %1 手までです</source>
        <translation>a record holds at most %1 moves</translation>
    </message>
    <message>
        <source>%1: %2</source>
        <translation>%1: %2</translation>
    </message>
    <message>
        <source>Veverodu.dll</source>
        <translation>Sound</translation>
    </message>
</context>
</TS>
