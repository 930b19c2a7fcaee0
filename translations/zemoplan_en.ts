<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>ProgramFolderLock</name>
    <message>
        <source>不明</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1
使用者: %2
ｺﾝﾋﾟｭｰﾀ: %3
開始: %4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾌﾟﾛｸﾞﾗﾑﾌｫﾙﾀﾞは他のZemoplanが使用中です！</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>システムを終了します。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1日以上前からの使用です。そのｺﾝﾋﾟｭｰﾀのZemoplanが終了していることを確かめてください。
使用中を解除して起動しますか？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾌﾟﾛｸﾞﾗﾑﾌｫﾙﾀﾞの使用中を解除できません！
%1
システムを終了します。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QtPrompter</name>
    <message>
        <source>OK</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>はい</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>中止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>再試行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>無視</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>エラー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>警告</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>情報</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>確認</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFrmLbprCtl</name>
    <message>
        <source>ラベル印刷設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>設定１</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>縦ﾀｲﾄﾙ迄の改行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>横ﾀｲﾄﾙ迄の改行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ｻﾌﾞﾀｲﾄﾙ種類</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SIDE-A</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾀｲﾄﾙ印刷</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾀｲﾄﾙ左側ｽﾍﾟｰｽ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾀｲﾄﾙ文字数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾗﾍﾞﾙﾀｲﾄﾙ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日付印刷</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日付入力</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾀｲﾄﾙ入力</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>縦・横</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>縦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>横</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>縦横</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文字ピッチ縦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文字ピッチ横</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>上側調整 </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>左側調整</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾕｰｻﾞｰ縦</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>設定２（縦）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A面ｻﾌﾞﾀｲﾄﾙ迄の改行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B面ｻﾌﾞﾀｲﾄﾙ迄の改行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A面ｻﾌﾞﾀｲﾄﾙ印刷</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B面ｻﾌﾞﾀｲﾄﾙ印刷</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A面ｻﾌﾞﾀｲﾄﾙ左側ｽﾍﾟｰｽ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B面ｻﾌﾞﾀｲﾄﾙ左側ｽﾍﾟｰｽ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A面ﾃﾞｰﾀ迄の改行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B面ﾃﾞｰﾀ迄の改行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A面ﾃﾞｰﾀ左側ｽﾍﾟｰｽ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B面ﾃﾞｰﾀ左側ｽﾍﾟｰｽ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A面番号印刷</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B面番号印刷</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A面ﾀｲﾄﾙ 印刷文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B面ﾀｲﾄﾙ 印刷文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A面ｱｰﾁｽﾄ印刷文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B面ｱｰﾁｽﾄ印刷文字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A面ｱｰﾁｽﾄ印刷</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B面ｱｰﾁｽﾄ印刷</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A面演奏時間印刷</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B面演奏時間印刷</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>設定３（横）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>終了</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>データ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>初期化</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFrmRefMd</name>
    <message>
        <source>検出・抽出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>種別</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1:CDｼﾝｸﾞﾙ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2:CDｱﾙﾊﾞﾑ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3:VIDEO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4:LASER</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5:その他</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>6:全て</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>項目</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1:ﾊﾞｰｺｰﾄﾞ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2:ﾕｰｻﾞｰｺｰﾄﾞ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>3:ｱｰﾁｽﾄｺｰﾄﾞ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>4:ｱｰﾁｽﾄ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>5:発売日</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>6:登録日</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>7:ﾚﾝﾀﾙ開始</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>項目1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>項目2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>項目3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>項目4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>部分一致</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>開始</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>今日の日付</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>終了</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取消</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFrmShufCtrl</name>
    <message>
        <source>振分けコントロール設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>目標秒数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>( 0:00)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>有効秒差</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>設定開始A面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>設定開始B面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最適化</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>す  る</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>しない</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A面最適化</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>登録順優先</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ強制設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> ＋－ </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  ＋  </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>終了</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFrmSysMode</name>
    <message>
        <source>システムモード設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀﾍﾞｰｽｻｲｽﾞ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙ作成</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>す  る</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>しない</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>検索ｺｰﾄﾞﾓｰﾄﾞ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾊﾞｰ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ｱｰﾁｽﾄ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>CDﾃﾞｰﾀﾍﾞｰｽ並換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>終了</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFrmSysPass</name>
    <message>
        <source>システムパス設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ｼｽﾃﾑ  ﾃﾞｰﾀ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>参照</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>追加  ﾃﾞｰﾀ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾃｷｽﾄ  ﾃﾞｰﾀ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ﾗｲﾌﾞﾗﾘﾃﾞｰﾀ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>終了</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>TFrmSysRevi</name>
    <message>
        <source>誤差補正の設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>基準ＣＤ時間</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(    0:00)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>使用機械時間</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>補正率</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>     1.00000</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>終了</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zemo::ui::SingleInstance</name>
    <message>
        <source>不明</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Zemoplanは既に起動していますが、応答がありません！
ﾌﾟﾛｾｽ: %1
システムを終了します。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmShufDisp</name>
    <message>
        <source>最適解</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全探索で見つけたプラン</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>B面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全探索: 有効秒差内のプランがあります</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&#x3000;「最適解」で表示できます</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全探索: 有効秒差内のプランはありません</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>（必要な有効秒差 %1）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>（3時間以内では足りません）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>全探索: 対象外（3時間を超えます）</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmShufMain</name>
    <message>
        <source>プランあり</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プランなし</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>対象外</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
