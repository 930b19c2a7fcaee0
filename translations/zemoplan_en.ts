<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>DataListPrinting</name>
    <message>
        <source>印刷を開始できません
%1</source>
        <translation>Cannot start printing
%1</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>正常</source>
        <translation>No error</translation>
    </message>
    <message>
        <source>???ｴﾗｰ！</source>
        <translation>??? error!</translation>
    </message>
    <message>
        <source>A or B面 or 有効秒差 最適化に失敗しました！</source>
        <translation>Could not fit side A or B, or within the tolerance!</translation>
    </message>
    <message>
        <source>A or B面最適化に失敗しました！</source>
        <translation>Could not fit side A or B!</translation>
    </message>
    <message>
        <source>CD内登録位置が異常です！</source>
        <translation>The track position on the CD is invalid!</translation>
    </message>
    <message>
        <source>CD内登録曲数が異常です！</source>
        <translation>The number of tracks on the CD is invalid!</translation>
    </message>
    <message>
        <source>上書きしますか？</source>
        <translation>Overwrite?</translation>
    </message>
    <message>
        <source>制御数以降を切り捨てて読み込んだﾃﾞｰﾀです！</source>
        <translation>These data were read cut at the number the system holds!</translation>
    </message>
    <message>
        <source>ｼｽﾃﾑﾓｰﾄﾞのﾃﾞｰﾀﾍﾞｰｽｻｲｽﾞを大きくしてください</source>
        <translation>Make the database size larger in the system mode</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ内 %1 件 / ｼｽﾃﾑ制御数 %2 件</source>
        <translation>%1 records in the file / the system holds %2</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀﾌｧｲﾙを新規作成します。</source>
        <translation>A new data file is created.</translation>
    </message>
    <message>
        <source>このディスクは扱えません！</source>
        <translation>This disk cannot be used!</translation>
    </message>
    <message>
        <source>このﾌｧｲﾙ名はｼｽﾃﾑで使用しています！中止します。</source>
        <translation>The system uses this file name! Stopped.</translation>
    </message>
    <message>
        <source>その他デイスクのエラーです！</source>
        <translation>Other disk error!</translation>
    </message>
    <message>
        <source>エラーです。(0x0C)</source>
        <translation>Error. (0x0C)</translation>
    </message>
    <message>
        <source>エラーです。(0x0D)</source>
        <translation>Error. (0x0D)</translation>
    </message>
    <message>
        <source>エラーです。(0x0E)</source>
        <translation>Error. (0x0E)</translation>
    </message>
    <message>
        <source>オリジナルファイルの復活エラーです！</source>
        <translation>Could not restore the original file!</translation>
    </message>
    <message>
        <source>オリジナルファイル作成エラーです！</source>
        <translation>Could not create the original file!</translation>
    </message>
    <message>
        <source>コピー元とコピー先のファイル名が同じです！</source>
        <translation>The source and the destination of the copy are the same file!</translation>
    </message>
    <message>
        <source>コピー先ファイルサイズエラーです！</source>
        <translation>The size of the copied file is wrong!</translation>
    </message>
    <message>
        <source>シークエラーです！</source>
        <translation>Seek error!</translation>
    </message>
    <message>
        <source>スペース以外の文字が必要です。</source>
        <translation>Characters other than blanks are needed.</translation>
    </message>
    <message>
        <source>セクタが見つかりません！</source>
        <translation>Sector not found!</translation>
    </message>
    <message>
        <source>ディスクがいっぱいです</source>
        <translation>The disk is full</translation>
    </message>
    <message>
        <source>ディスクがいっぱいです！</source>
        <translation>The disk is full!</translation>
    </message>
    <message>
        <source>ディスクの読み書きに失敗しました</source>
        <translation>Reading or writing the disk failed</translation>
    </message>
    <message>
        <source>ディスク空きエリア取得エラーです！</source>
        <translation>Could not get the free space of the disk!</translation>
    </message>
    <message>
        <source>ディレクトリが見つかりません！</source>
        <translation>Folder not found!</translation>
    </message>
    <message>
        <source>ディレクトリ作成エラーです！</source>
        <translation>Could not create the folder!</translation>
    </message>
    <message>
        <source>ディレクトリ削除エラーです！</source>
        <translation>Could not remove the folder!</translation>
    </message>
    <message>
        <source>データにエラーがあります！</source>
        <translation>The data have errors!</translation>
    </message>
    <message>
        <source>データを印刷します。</source>
        <translation>The data are printed.</translation>
    </message>
    <message>
        <source>データエラーです！</source>
        <translation>Data error!</translation>
    </message>
    <message>
        <source>データディレクトリがありません。作成します。</source>
        <translation>The data folder does not exist. It is created.</translation>
    </message>
    <message>
        <source>ドライブの準備ができていません！</source>
        <translation>The drive is not ready!</translation>
    </message>
    <message>
        <source>ドライブ指定が違います！</source>
        <translation>Wrong drive!</translation>
    </message>
    <message>
        <source>バックアップファイルの復活エラーです！</source>
        <translation>Could not restore the backup file!</translation>
    </message>
    <message>
        <source>バックアップファイル作成エラーです！</source>
        <translation>Could not create the backup file!</translation>
    </message>
    <message>
        <source>パスワードが違います!</source>
        <translation>Wrong password!</translation>
    </message>
    <message>
        <source>ファイルが大きすぎます</source>
        <translation>The file is too large</translation>
    </message>
    <message>
        <source>ファイルが見つかりません！</source>
        <translation>File not found!</translation>
    </message>
    <message>
        <source>ファイルエラー番号エラー！</source>
        <translation>Unknown file error number!</translation>
    </message>
    <message>
        <source>ファイルエラー！</source>
        <translation>File error!</translation>
    </message>
    <message>
        <source>ファイルクローズエラーです！</source>
        <translation>Could not close the file!</translation>
    </message>
    <message>
        <source>ファイルコピーエラー！</source>
        <translation>File copy error!</translation>
    </message>
    <message>
        <source>ファイルシークエラーです！</source>
        <translation>File seek error!</translation>
    </message>
    <message>
        <source>ファイルヘッダーが不正です！</source>
        <translation>The file header is invalid!</translation>
    </message>
    <message>
        <source>ファイル初期化サイズ０エラーです！</source>
        <translation>The file was initialised with size 0!</translation>
    </message>
    <message>
        <source>ファイル削除エラーです！</source>
        <translation>Could not delete the file!</translation>
    </message>
    <message>
        <source>ファイル名変更エラーです！</source>
        <translation>Could not rename the file!</translation>
    </message>
    <message>
        <source>ファイル属性取得エラーです！</source>
        <translation>Could not get the file attributes!</translation>
    </message>
    <message>
        <source>ファイル属性設定エラーです！</source>
        <translation>Could not set the file attributes!</translation>
    </message>
    <message>
        <source>ファイル日時取得エラーです！</source>
        <translation>Could not get the file date!</translation>
    </message>
    <message>
        <source>ファイル日時設定エラーです！</source>
        <translation>Could not set the file date!</translation>
    </message>
    <message>
        <source>ファイル書込みエラーです！</source>
        <translation>File write error!</translation>
    </message>
    <message>
        <source>ファイル書込オープンできません！</source>
        <translation>Cannot open the file for writing!</translation>
    </message>
    <message>
        <source>ファイル書込オープンできません！(ﾃｷｽﾄ)</source>
        <translation>Cannot open the file for writing! (text)</translation>
    </message>
    <message>
        <source>ファイル読み込エラーです！</source>
        <translation>File read error!</translation>
    </message>
    <message>
        <source>ファイル読書オープンできません！</source>
        <translation>Cannot open the file for reading and writing!</translation>
    </message>
    <message>
        <source>ファイル読込オープンできません！</source>
        <translation>Cannot open the file for reading!</translation>
    </message>
    <message>
        <source>ファイル読込オープンできません！(ﾃｷｽﾄ)</source>
        <translation>Cannot open the file for reading! (text)</translation>
    </message>
    <message>
        <source>ファイル追加オープンできません！</source>
        <translation>Cannot open the file for appending!</translation>
    </message>
    <message>
        <source>ファイル追加オープンできません！(ﾃｷｽﾄ)</source>
        <translation>Cannot open the file for appending! (text)</translation>
    </message>
    <message>
        <source>フォルダが見つかりません</source>
        <translation>Folder not found</translation>
    </message>
    <message>
        <source>メモリーが足りないようです!</source>
        <translation>There seems to be too little memory!</translation>
    </message>
    <message>
        <source>上書きします。</source>
        <translation>It is overwritten.</translation>
    </message>
    <message>
        <source>上書きするとﾌｧｲﾙ内 %1 件のうち %2 件のﾃﾞｰﾀが失われます。</source>
        <translation>Overwriting loses %2 of the %1 records in the file.</translation>
    </message>
    <message>
        <source>不正なデイスクの交換です！</source>
        <translation>The disk was changed wrongly!</translation>
    </message>
    <message>
        <source>中断しました！</source>
        <translation>Stopped!</translation>
    </message>
    <message>
        <source>入力データにエラーがあります！</source>
        <translation>The input has errors!</translation>
    </message>
    <message>
        <source>(数値変換ｴﾗｰ)</source>
        <translation>(number conversion error)</translation>
    </message>
    <message>
        <source>入力文字が変です!</source>
        <translation>The input is strange!</translation>
    </message>
    <message>
        <source>入力文字を数値に変換できません!</source>
        <translation>The input is not a number!</translation>
    </message>
    <message>
        <source>入力文字を日付数値に変換できません!</source>
        <translation>The input is not a date!</translation>
    </message>
    <message>
        <source>入力文字を時間数値に変換できません!</source>
        <translation>The input is not a time!</translation>
    </message>
    <message>
        <source>入力範囲が不正です！</source>
        <translation>The input is out of range!</translation>
    </message>
    <message>
        <source>最小[ %1 ] 最大[ %2 ]です。</source>
        <translation>Minimum [ %1 ] maximum [ %2 ].</translation>
    </message>
    <message>
        <source>全てを登録することが出来ませんでした。</source>
        <translation>Not everything could be registered.</translation>
    </message>
    <message>
        <source>制御数以降を切り捨てて処理を継続します。</source>
        <translation>Records beyond the number the system holds are cut off and the work goes on.</translation>
    </message>
    <message>
        <source>存在しない日付です!</source>
        <translation>No such date!</translation>
    </message>
    <message>
        <source>対応していないﾃﾞｰﾀのﾊﾞｰｼﾞｮﾝです！</source>
        <translation>This data version is not supported!</translation>
    </message>
    <message>
        <source>情報種別が異常です！</source>
        <translation>The information kind is invalid!</translation>
    </message>
    <message>
        <source>振分け結果を設定します。</source>
        <translation>The plan&apos;s order is written back.</translation>
    </message>
    <message>
        <source>文字列など作成ワークをオーバしました！</source>
        <translation>The work area for texts overflowed!</translation>
    </message>
    <message>
        <source>書き込みが許可されていません</source>
        <translation>Writing is not permitted</translation>
    </message>
    <message>
        <source>書き込み禁止です！</source>
        <translation>Write-protected!</translation>
    </message>
    <message>
        <source>書込みができません！</source>
        <translation>Cannot write!</translation>
    </message>
    <message>
        <source>最適化に失敗しました！</source>
        <translation>Planning failed!</translation>
    </message>
    <message>
        <source>有効秒差 最適化に失敗しました！</source>
        <translation>Could not fit within the tolerance!</translation>
    </message>
    <message>
        <source>無効なコマンドです！</source>
        <translation>Invalid command!</translation>
    </message>
    <message>
        <source>用紙がありません！</source>
        <translation>Out of paper!</translation>
    </message>
    <message>
        <source>発売日が異常です！</source>
        <translation>The release date is invalid!</translation>
    </message>
    <message>
        <source>登録します。</source>
        <translation>It is registered.</translation>
    </message>
    <message>
        <source>登録順優先に失敗しました！</source>
        <translation>Could not keep the registration order!</translation>
    </message>
    <message>
        <source>種類が異常です！</source>
        <translation>The kind is invalid!</translation>
    </message>
    <message>
        <source>要求形式が違います！</source>
        <translation>Wrong request format!</translation>
    </message>
    <message>
        <source>読取りができません！</source>
        <translation>Cannot read!</translation>
    </message>
    <message>
        <source>通常のファイルではありません</source>
        <translation>Not a regular file</translation>
    </message>
    <message>
        <source>ｼｽﾃﾑｺﾝﾄﾛｰﾙﾃﾞｰﾀの設定が正常ではありません！</source>
        <translation>The system control data are not set correctly!</translation>
    </message>
    <message>
        <source>システムを終了します。</source>
        <translation>The system ends.</translation>
    </message>
    <message>
        <source>ｼｽﾃﾑｺﾝﾄﾛｰﾙﾌｧｲﾙがありません。作成します。</source>
        <translation>There is no system control file. It is created.</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀの種類が違います！</source>
        <translation>Wrong kind of data!</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀは全て登録されています。</source>
        <translation>Every slot holds data.</translation>
    </message>
    <message>
        <source>何かﾃﾞｰﾀを消去して、再度登録してください。</source>
        <translation>Erase some data and register again.</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ登録日が異常です！</source>
        <translation>The registration date is invalid!</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀﾌｧｲﾙ内ﾃﾞｰﾀ登録数がｼｽﾃﾑ制御数を越えています！</source>
        <translation>The data file holds more records than the system holds!</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀﾍﾞｰｽﾃﾞｰﾀを読み込んでありません！</source>
        <translation>The database has not been read!</translation>
    </message>
    <message>
        <source>ﾊﾞｰｺｰﾄﾞ一致ﾃﾞｰﾀがｼｽﾃﾑで制御できる数を越えています！</source>
        <translation>More records agree on the barcode than the system can hold!</translation>
    </message>
    <message>
        <source>不必要なﾃﾞｰﾀを削除して再検索をしてください。</source>
        <translation>Delete records you do not need and search again.</translation>
    </message>
    <message>
        <source>ﾊﾞｰｺｰﾄﾞ文字がありません！</source>
        <translation>There is no barcode!</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ名が不正です！中止します。</source>
        <translation>Invalid file name! Stopped.</translation>
    </message>
    <message>
        <source>システムリソースが足りません！</source>
        <translation>Not enough system resources!</translation>
    </message>
    <message>
        <source>ドライブにアクセスできません</source>
        <translation>Cannot access the drive</translation>
    </message>
    <message>
        <source>ﾚﾝﾀﾙ開始日が異常です！</source>
        <translation>The rental start date is invalid!</translation>
    </message>
    <message>
        <source>は読み込み後に変更されています。上書きしますか？</source>
        <translation>has changed since it was read. Overwrite it?</translation>
    </message>
    <message>
        <source>同じ名前のフォルダがあります</source>
        <translation>A folder of the same name exists</translation>
    </message>
</context>
<context>
    <name>ProgramFolderLock</name>
    <message>
        <source>不明</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>%1
使用者: %2
ｺﾝﾋﾟｭｰﾀ: %3
開始: %4</source>
        <translation>%1
User: %2
Computer: %3
Since: %4</translation>
    </message>
    <message>
        <source>ﾌﾟﾛｸﾞﾗﾑﾌｫﾙﾀﾞは他のZemoplanが使用中です！</source>
        <translation>The program folder is in use by another Zemoplan!</translation>
    </message>
    <message>
        <source>システムを終了します。</source>
        <translation>The program will now close.</translation>
    </message>
    <message>
        <source>1日以上前からの使用です。そのｺﾝﾋﾟｭｰﾀのZemoplanが終了していることを確かめてください。
使用中を解除して起動しますか？</source>
        <translation>It has been in use for more than a day. Make sure Zemoplan on that computer has ended.
Release the folder and start?</translation>
    </message>
    <message>
        <source>ﾌﾟﾛｸﾞﾗﾑﾌｫﾙﾀﾞの使用中を解除できません！
%1
システムを終了します。</source>
        <translation>Cannot release the program folder!
%1
The program will now close.</translation>
    </message>
</context>
<context>
    <name>ProgramPrinter</name>
    <message>
        <source>Zemoplan データリスト</source>
        <translation>Zemoplan Data List</translation>
    </message>
    <message>
        <source>Zemoplan ラベル</source>
        <translation>Zemoplan Labels</translation>
    </message>
    <message>
        <source>Zemoplan 振分け</source>
        <translation>Zemoplan Tape Plan</translation>
    </message>
</context>
<context>
    <name>QtPrompter</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>はい</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>いいえ</source>
        <translation>No</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Abort</translation>
    </message>
    <message>
        <source>再試行</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>無視</source>
        <translation>Ignore</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>情報</source>
        <translation>Information</translation>
    </message>
    <message>
        <source>確認</source>
        <translation>Question</translation>
    </message>
</context>
<context>
    <name>SortMenu</name>
    <message>
        <source>ﾊﾞｰｺｰﾄﾞ</source>
        <translation>Barcode</translation>
    </message>
    <message>
        <source>ﾕｰｻﾞｰｺｰﾄﾞ</source>
        <translation>User Code</translation>
    </message>
    <message>
        <source>ｱｰﾁｽﾄｺｰﾄﾞ</source>
        <translation>Artist Code</translation>
    </message>
    <message>
        <source>登録日</source>
        <translation>Entry Date</translation>
    </message>
    <message>
        <source>発売日</source>
        <translation>Release Date</translation>
    </message>
    <message>
        <source>ﾚﾝﾀﾙ開始日</source>
        <translation>Rental Start Date</translation>
    </message>
    <message>
        <source>登録位置</source>
        <translation>Entry Order</translation>
    </message>
</context>
<context>
    <name>TFrmCdEdit</name>
    <message>
        <source>データ編集</source>
        <translation>Edit Record</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>検出</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>コピー</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>張り付け</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>ＵＰ</source>
        <translation>Up</translation>
    </message>
    <message>
        <source>ＤＯＷＮ</source>
        <translation>Down</translation>
    </message>
    <message>
        <source>ﾊﾞｰｺｰﾄﾞ</source>
        <translation>Barcode</translation>
    </message>
    <message>
        <source>ﾕｰｻﾞｰｺｰﾄﾞ</source>
        <translation>User code</translation>
    </message>
    <message>
        <source>ｱｰﾁｽﾄｺｰﾄﾞ</source>
        <translation>Artist code</translation>
    </message>
    <message>
        <source>ﾀｲﾄﾙ名</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>ｱｰﾁｽﾄ名</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>時間</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>発売日</source>
        <translation>Released</translation>
    </message>
    <message>
        <source>今日の日付</source>
        <translation>Today&apos;s date</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ登録日</source>
        <translation>Entered</translation>
    </message>
    <message>
        <source>ﾚﾝﾀﾙ開始日</source>
        <translation>Rental from</translation>
    </message>
    <message>
        <source>登録曲数</source>
        <translation>Tracks</translation>
    </message>
    <message>
        <source>登録位置</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>1:ｼﾝｸﾞﾙ</source>
        <translation>1:Single</translation>
    </message>
    <message>
        <source>2:ｱﾙﾊﾞﾑ</source>
        <translation>2:Album</translation>
    </message>
    <message>
        <source>3:ﾋﾞﾃﾞｵ</source>
        <translation>3:Video</translation>
    </message>
    <message>
        <source>4:ﾚｰｻﾞｰ</source>
        <translation>4:Laser</translation>
    </message>
    <message>
        <source>5:その他</source>
        <translation>5:Other</translation>
    </message>
    <message>
        <source>属性</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>1:通常</source>
        <translation>1:Normal</translation>
    </message>
    <message>
        <source>2:ﾀｲﾄﾙ</source>
        <translation>2:Title</translation>
    </message>
    <message>
        <source>3:両方</source>
        <translation>3:Both</translation>
    </message>
    <message>
        <source> 終了 </source>
        <translation> Close </translation>
    </message>
    <message>
        <source> 登録 </source>
        <translation> Register </translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>復活</source>
        <translation>Restore</translation>
    </message>
    <message>
        <source>登録日</source>
        <translation>Registered</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Add</translation>
    </message>
</context>
<context>
    <name>TFrmCd_Add</name>
    <message>
        <source>追加データ</source>
        <translation>Add Data</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>読み込み</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>書き込み</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>並び換え</source>
        <translation>Sort</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>消去(範囲)</source>
        <translation>Erase (range)</translation>
    </message>
    <message>
        <source>ＦＩＮＤ</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>消去(現在位置)</source>
        <translation>Erase (current)</translation>
    </message>
    <message>
        <source>並び換</source>
        <translation>Sort</translation>
    </message>
    <message>
        <source>消去</source>
        <translation>Erase</translation>
    </message>
    <message>
        <source>抽出</source>
        <translation>Extract</translation>
    </message>
    <message>
        <source>取得</source>
        <translation>Take</translation>
    </message>
</context>
<context>
    <name>TFrmCd_Ref</name>
    <message>
        <source>検出一致結果表示</source>
        <translation>Search Results</translation>
    </message>
    <message>
        <source>並び換え</source>
        <translation>Sort</translation>
    </message>
    <message>
        <source>全選択/解除</source>
        <translation>Mark all/none</translation>
    </message>
    <message>
        <source>反転選択</source>
        <translation>Invert marks</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>終了/取消</source>
        <translation>Close/Cancel</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>並び換</source>
        <translation>Sort</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>取得</source>
        <translation>Take</translation>
    </message>
    <message>
        <source>移動</source>
        <translation>Go to</translation>
    </message>
</context>
<context>
    <name>TFrmCd_data</name>
    <message>
        <source>データ登録</source>
        <translation>Catalogue</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>読み込み</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>書き込み</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>編集</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>並び換え</source>
        <translation>Sort</translation>
    </message>
    <message>
        <source>ＦＩＮＤ</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>消去(範囲)</source>
        <translation>Erase (range)</translation>
    </message>
    <message>
        <source>消去(現在位置)</source>
        <translation>Erase (current)</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>並び換</source>
        <translation>Sort</translation>
    </message>
    <message>
        <source>抽出</source>
        <translation>Extract</translation>
    </message>
    <message>
        <source>消去</source>
        <translation>Erase</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>取得</source>
        <translation>Take</translation>
    </message>
</context>
<context>
    <name>TFrmFileSel</name>
    <message>
        <source>ファイル選択</source>
        <translation>Select File</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>SHARE設定</source>
        <translation>Share Settings</translation>
    </message>
    <message>
        <source>ファイル名</source>
        <translation>File Name</translation>
    </message>
    <message>
        <source>メモ</source>
        <translation>Memo</translation>
    </message>
    <message>
        <source>作成者ID</source>
        <translation>Author ID</translation>
    </message>
    <message>
        <source>W</source>
        <translation>W</translation>
    </message>
    <message>
        <source>S</source>
        <translation>S</translation>
    </message>
    <message>
        <source>作成日時</source>
        <translation>Created</translation>
    </message>
    <message>
        <source>確定</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>TFrmLbprCtl</name>
    <message>
        <source>ラベル印刷設定</source>
        <translation>Label Settings</translation>
    </message>
    <message>
        <source>設定１</source>
        <translation>Settings 1</translation>
    </message>
    <message>
        <source>縦ﾀｲﾄﾙ迄の改行</source>
        <translation>Lines to title (vert.)</translation>
    </message>
    <message>
        <source>横ﾀｲﾄﾙ迄の改行</source>
        <translation>Lines to title (horiz.)</translation>
    </message>
    <message>
        <source>ｻﾌﾞﾀｲﾄﾙ種類</source>
        <translation>Subtitle kind</translation>
    </message>
    <message>
        <source>A面</source>
        <translation>Side A (kanji)</translation>
    </message>
    <message>
        <source>SIDE-A</source>
        <translation>SIDE-A</translation>
    </message>
    <message>
        <source>A:</source>
        <translation>A:</translation>
    </message>
    <message>
        <source>ﾀｲﾄﾙ印刷</source>
        <translation>Print title</translation>
    </message>
    <message>
        <source>ﾀｲﾄﾙ左側ｽﾍﾟｰｽ</source>
        <translation>Title left space</translation>
    </message>
    <message>
        <source>ﾀｲﾄﾙ文字数</source>
        <translation>Title chars</translation>
    </message>
    <message>
        <source>ﾗﾍﾞﾙﾀｲﾄﾙ</source>
        <translation>Label title</translation>
    </message>
    <message>
        <source>日付印刷</source>
        <translation>Print date</translation>
    </message>
    <message>
        <source>日付入力</source>
        <translation>Ask date</translation>
    </message>
    <message>
        <source>ﾀｲﾄﾙ入力</source>
        <translation>Ask title</translation>
    </message>
    <message>
        <source>縦・横</source>
        <translation>Vert./Horiz.</translation>
    </message>
    <message>
        <source>縦</source>
        <translation>Vert.</translation>
    </message>
    <message>
        <source>横</source>
        <translation>Horiz.</translation>
    </message>
    <message>
        <source>縦横</source>
        <translation>Both</translation>
    </message>
    <message>
        <source>文字ピッチ縦</source>
        <translation>Char pitch vert.</translation>
    </message>
    <message>
        <source>文字ピッチ横</source>
        <translation>Char pitch horiz.</translation>
    </message>
    <message>
        <source>上側調整 </source>
        <translation>Top offset </translation>
    </message>
    <message>
        <source>左側調整</source>
        <translation>Left offset</translation>
    </message>
    <message>
        <source>ﾕｰｻﾞｰ縦</source>
        <translation>User vert.</translation>
    </message>
    <message>
        <source>設定２（縦）</source>
        <translation>Settings 2 (vert.)</translation>
    </message>
    <message>
        <source>A面ｻﾌﾞﾀｲﾄﾙ迄の改行</source>
        <translation>A lines to subtitle</translation>
    </message>
    <message>
        <source>B面ｻﾌﾞﾀｲﾄﾙ迄の改行</source>
        <translation>B lines to subtitle</translation>
    </message>
    <message>
        <source>A面ｻﾌﾞﾀｲﾄﾙ印刷</source>
        <translation>A print subtitle</translation>
    </message>
    <message>
        <source>B面ｻﾌﾞﾀｲﾄﾙ印刷</source>
        <translation>B print subtitle</translation>
    </message>
    <message>
        <source>A面ｻﾌﾞﾀｲﾄﾙ左側ｽﾍﾟｰｽ</source>
        <translation>A subtitle left space</translation>
    </message>
    <message>
        <source>B面ｻﾌﾞﾀｲﾄﾙ左側ｽﾍﾟｰｽ</source>
        <translation>B subtitle left space</translation>
    </message>
    <message>
        <source>A面ﾃﾞｰﾀ迄の改行</source>
        <translation>A lines to data</translation>
    </message>
    <message>
        <source>B面ﾃﾞｰﾀ迄の改行</source>
        <translation>B lines to data</translation>
    </message>
    <message>
        <source>A面ﾃﾞｰﾀ左側ｽﾍﾟｰｽ</source>
        <translation>A data left space</translation>
    </message>
    <message>
        <source>B面ﾃﾞｰﾀ左側ｽﾍﾟｰｽ</source>
        <translation>B data left space</translation>
    </message>
    <message>
        <source>A面番号印刷</source>
        <translation>A print numbers</translation>
    </message>
    <message>
        <source>B面番号印刷</source>
        <translation>B print numbers</translation>
    </message>
    <message>
        <source>A面ﾀｲﾄﾙ 印刷文字</source>
        <translation>A title chars</translation>
    </message>
    <message>
        <source>B面ﾀｲﾄﾙ 印刷文字</source>
        <translation>B title chars</translation>
    </message>
    <message>
        <source>A面ｱｰﾁｽﾄ印刷文字</source>
        <translation>A artist chars</translation>
    </message>
    <message>
        <source>B面ｱｰﾁｽﾄ印刷文字</source>
        <translation>B artist chars</translation>
    </message>
    <message>
        <source>A面ｱｰﾁｽﾄ印刷</source>
        <translation>A print artist</translation>
    </message>
    <message>
        <source>B面ｱｰﾁｽﾄ印刷</source>
        <translation>B print artist</translation>
    </message>
    <message>
        <source>A面演奏時間印刷</source>
        <translation>A print time</translation>
    </message>
    <message>
        <source>B面演奏時間印刷</source>
        <translation>B print time</translation>
    </message>
    <message>
        <source>設定３（横）</source>
        <translation>Settings 3 (horiz.)</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>データ</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>初期化</source>
        <translation>Reset</translation>
    </message>
</context>
<context>
    <name>TFrmMain</name>
    <message>
        <source>Zemoplan</source>
        <translation>Zemoplan</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>振り分け</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>登録</source>
        <translation>Catalogue</translation>
    </message>
    <message>
        <source>--:--:--</source>
        <translation>--:--:--</translation>
    </message>
    <message>
        <source>最適化</source>
        <translation>Optimise</translation>
    </message>
    <message>
        <source>ｼｽﾃﾑ</source>
        <translation>System</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>設定(&amp;S)</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>最適化処理(&amp;S)</source>
        <translation>&amp;Optimise</translation>
    </message>
    <message>
        <source>データ登録(&amp;E)</source>
        <translation>&amp;Catalogue</translation>
    </message>
    <message>
        <source>追加  ﾌｧｲﾙ(&amp;A)</source>
        <translation>&amp;Add File</translation>
    </message>
    <message>
        <source>ﾃｷｽﾄ 追加(&amp;T)</source>
        <translation>Add &amp;Text</translation>
    </message>
    <message>
        <source>ｼｽﾃﾑﾓｰﾄﾞ(&amp;M)</source>
        <translation>System &amp;Mode</translation>
    </message>
    <message>
        <source>誤差補正(&amp;R)</source>
        <translation>Time Co&amp;rrection</translation>
    </message>
    <message>
        <source>ｼｽﾃﾑﾊﾟｽ(&amp;P)</source>
        <translation>System &amp;Password</translation>
    </message>
    <message>
        <source>振り分け(&amp;S)</source>
        <translation>Plan &amp;Tapes</translation>
    </message>
    <message>
        <source>ﾗﾍﾞﾙ 印刷(&amp;L)</source>
        <translation>&amp;Label Print</translation>
    </message>
    <message>
        <source>SHARE 設定(&amp;S)</source>
        <translation>&amp;Share Settings</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ  印刷(&amp;D)</source>
        <translation>&amp;Data Print</translation>
    </message>
    <message>
        <source>ﾊﾞｰｼﾞｮﾝ情報(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
</context>
<context>
    <name>TFrmRefMd</name>
    <message>
        <source>検出・抽出</source>
        <translation>Search/Extract</translation>
    </message>
    <message>
        <source>種別</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>1:CDｼﾝｸﾞﾙ</source>
        <translation>1:CD single</translation>
    </message>
    <message>
        <source>2:CDｱﾙﾊﾞﾑ</source>
        <translation>2:CD album</translation>
    </message>
    <message>
        <source>3:VIDEO</source>
        <translation>3:VIDEO</translation>
    </message>
    <message>
        <source>4:LASER</source>
        <translation>4:LASER</translation>
    </message>
    <message>
        <source>5:その他</source>
        <translation>5:Other</translation>
    </message>
    <message>
        <source>6:全て</source>
        <translation>6:All</translation>
    </message>
    <message>
        <source>項目</source>
        <translation>Field</translation>
    </message>
    <message>
        <source>1:ﾊﾞｰｺｰﾄﾞ</source>
        <translation>1:Barcode</translation>
    </message>
    <message>
        <source>2:ﾕｰｻﾞｰｺｰﾄﾞ</source>
        <translation>2:User code</translation>
    </message>
    <message>
        <source>3:ｱｰﾁｽﾄｺｰﾄﾞ</source>
        <translation>3:Artist code</translation>
    </message>
    <message>
        <source>4:ｱｰﾁｽﾄ</source>
        <translation>4:Artist</translation>
    </message>
    <message>
        <source>5:発売日</source>
        <translation>5:Released</translation>
    </message>
    <message>
        <source>6:登録日</source>
        <translation>6:Registered</translation>
    </message>
    <message>
        <source>7:ﾚﾝﾀﾙ開始</source>
        <translation>7:Rental from</translation>
    </message>
    <message>
        <source>項目1</source>
        <translation>Field 1</translation>
    </message>
    <message>
        <source>項目2</source>
        <translation>Field 2</translation>
    </message>
    <message>
        <source>項目3</source>
        <translation>Field 3</translation>
    </message>
    <message>
        <source>項目4</source>
        <translation>Field 4</translation>
    </message>
    <message>
        <source>部分一致</source>
        <translation>Partial match</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>From</translation>
    </message>
    <message>
        <source>今日の日付</source>
        <translation>Today&apos;s date</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>To</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TFrmShufCtrl</name>
    <message>
        <source>振分けコントロール設定</source>
        <translation>Planning Settings</translation>
    </message>
    <message>
        <source>目標秒数</source>
        <translation>Target time</translation>
    </message>
    <message>
        <source>( 0:00)</source>
        <translation>( 0:00)</translation>
    </message>
    <message>
        <source>有効秒差</source>
        <translation>Tolerance</translation>
    </message>
    <message>
        <source>設定開始A面</source>
        <translation>Start of side A</translation>
    </message>
    <message>
        <source>設定開始B面</source>
        <translation>Start of side B</translation>
    </message>
    <message>
        <source>最適化</source>
        <translation>Optimise</translation>
    </message>
    <message>
        <source>す  る</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>しない</source>
        <translation>No</translation>
    </message>
    <message>
        <source>A面最適化</source>
        <translation>Optimise side A</translation>
    </message>
    <message>
        <source>登録順優先</source>
        <translation>Keep list order</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ強制設定</source>
        <translation>Force data</translation>
    </message>
    <message>
        <source> ＋－ </source>
        <translation> +/- </translation>
    </message>
    <message>
        <source>  ＋  </source>
        <translation>  +  </translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TFrmShufDisp</name>
    <message>
        <source>振分け結果</source>
        <translation>Plan Results</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>ﾗﾍﾞﾙ</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>結設定</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>振分け</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>ﾌｫﾝﾄ</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>TAPE</source>
        <translation>TAPE</translation>
    </message>
    <message>
        <source>振分２</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>最適解</source>
        <translation>Best</translation>
    </message>
    <message>
        <source>ｼｬｯﾌﾙ</source>
        <translation>Shuffle</translation>
    </message>
</context>
<context>
    <name>TFrmShufMain</name>
    <message>
        <source>振り分け</source>
        <translation>Tape Planning</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>読み込み</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>書き込み</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>選択</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>ＦＩＮＤ</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>消去(最後の位置)</source>
        <translation>Delete (last)</translation>
    </message>
    <message>
        <source>消去(現在位置)</source>
        <translation>Delete (here)</translation>
    </message>
    <message>
        <source>情報</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>新規</source>
        <translation>New</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ</source>
        <translation>File</translation>
    </message>
    <message>
        <source>抽出</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>振分け</source>
        <translation>Plan</translation>
    </message>
    <message>
        <source>消去</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>内容</source>
        <translation>View</translation>
    </message>
</context>
<context>
    <name>TFrmSysMode</name>
    <message>
        <source>システムモード設定</source>
        <translation>System Mode</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀﾍﾞｰｽｻｲｽﾞ</source>
        <translation>Database Size</translation>
    </message>
    <message>
        <source>ﾊﾞｯｸｱｯﾌﾟﾌｧｲﾙ作成</source>
        <translation>Make Backup Files</translation>
    </message>
    <message>
        <source>す  る</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>しない</source>
        <translation>No</translation>
    </message>
    <message>
        <source>検索ｺｰﾄﾞﾓｰﾄﾞ</source>
        <translation>Search Code</translation>
    </message>
    <message>
        <source>ﾊﾞｰ</source>
        <translation>Barcode</translation>
    </message>
    <message>
        <source>ｱｰﾁｽﾄ</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>CDﾃﾞｰﾀﾍﾞｰｽ並換</source>
        <translation>Sort CD Database</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TFrmSysPass</name>
    <message>
        <source>システムパス設定</source>
        <translation>System Paths</translation>
    </message>
    <message>
        <source>ｼｽﾃﾑ  ﾃﾞｰﾀ</source>
        <translation>System Data</translation>
    </message>
    <message>
        <source>参照</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>追加  ﾃﾞｰﾀ</source>
        <translation>Added Data</translation>
    </message>
    <message>
        <source>ﾃｷｽﾄ  ﾃﾞｰﾀ</source>
        <translation>Text Data</translation>
    </message>
    <message>
        <source>ﾗｲﾌﾞﾗﾘﾃﾞｰﾀ</source>
        <translation>Library Data</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>TFrmSysRevi</name>
    <message>
        <source>誤差補正の設定</source>
        <translation>Speed Correction</translation>
    </message>
    <message>
        <source>基準ＣＤ時間</source>
        <translation>CD time</translation>
    </message>
    <message>
        <source>(    0:00)</source>
        <translation>(    0:00)</translation>
    </message>
    <message>
        <source>使用機械時間</source>
        <translation>Deck time</translation>
    </message>
    <message>
        <source>補正率</source>
        <translation>Factor</translation>
    </message>
    <message>
        <source>     1.00000</source>
        <translation>     1.00000</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>zemo::ui::ControlDialog</name>
    <message>
        <source>保存終了します。</source>
        <translation>Save the settings and close?</translation>
    </message>
</context>
<context>
    <name>zemo::ui::FieldChecks</name>
    <message>
        <source>システムで管理できる文字を超えています！
最大 [ %1 ] 文字までです。</source>
        <translation>More characters than the system can hold!
At most [ %1 ] characters.</translation>
    </message>
    <message>
        <source>誤りのある入力は保存せず、前の値のまま保存します。</source>
        <translation>A wrong entry is not saved; its previous value is kept.</translation>
    </message>
</context>
<context>
    <name>zemo::ui::RecordGrid</name>
    <message>
        <source>バーコード</source>
        <translation>Barcode</translation>
    </message>
    <message>
        <source>ユーザーコード</source>
        <translation>User code</translation>
    </message>
    <message>
        <source>アーチストコード</source>
        <translation>Artist code</translation>
    </message>
    <message>
        <source>タイトル</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>アーチスト</source>
        <translation>Artist</translation>
    </message>
    <message>
        <source>時間</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>発売日</source>
        <translation>Released</translation>
    </message>
    <message>
        <source>ﾃﾞｰﾀ登録</source>
        <translation>Entered</translation>
    </message>
    <message>
        <source>ﾚﾝﾀﾙ開始</source>
        <translation>Rental from</translation>
    </message>
    <message>
        <source>曲数</source>
        <translation>Tracks</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Pos.</translation>
    </message>
    <message>
        <source>種類</source>
        <translation>Kind</translation>
    </message>
    <message>
        <source>属性</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>登録日付</source>
        <translation>Registered</translation>
    </message>
    <message>
        <source>削除日付</source>
        <translation>Deleted</translation>
    </message>
</context>
<context>
    <name>zemo::ui::SingleInstance</name>
    <message>
        <source>不明</source>
        <translation>unknown</translation>
    </message>
    <message>
        <source>Zemoplanは既に起動していますが、応答がありません！
ﾌﾟﾛｾｽ: %1
システムを終了します。</source>
        <translation>Zemoplan is already running but does not answer!
Process: %1
The program will now close.</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TAboutBox</name>
    <message>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Zemoplan ｼｽﾃﾑ</source>
        <translation>Zemoplan System</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmCdEdit</name>
    <message>
        <source>登録していない変更を破棄しますか？</source>
        <translation>Discard the changes not registered?</translation>
    </message>
    <message>
        <source>削除します。</source>
        <translation>The record will be deleted.</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmCdHistory</name>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>取得</source>
        <translation>Take</translation>
    </message>
    <message>
        <source>登録日時データ</source>
        <translation>Registration History</translation>
    </message>
    <message>
        <source>削除データ</source>
        <translation>Deleted Records</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmCd_Add</name>
    <message>
        <source>保存終了します。</source>
        <translation>Save and close?</translation>
    </message>
    <message>
        <source>保存終了します！</source>
        <translation>Saving and closing!</translation>
    </message>
    <message>
        <source>破棄終了します！</source>
        <translation>Discarding changes and closing!</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmCd_Bagr</name>
    <message>
        <source>検索一致表示</source>
        <translation>Barcode Matches</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>終了/取消</source>
        <translation>Close/Cancel</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>削除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>追加</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>追加登録します。</source>
        <translation>The record will be added.</translation>
    </message>
    <message>
        <source>設定します。(差し替え)</source>
        <translation>The record will be replaced.</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmCd_Ref</name>
    <message>
        <source>抽出ﾃﾞｰﾀ</source>
        <translation>Extracted Data</translation>
    </message>
    <message>
        <source>情報ﾃﾞｰﾀ</source>
        <translation>Information Data</translation>
    </message>
    <message>
        <source>500 件で打ち切りました。条件を絞ってください。</source>
        <translation>Stopped at 500 records. Narrow the conditions.</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmCd_data</name>
    <message>
        <source>保存終了します。</source>
        <translation>Save and close?</translation>
    </message>
    <message>
        <source>保存終了します！</source>
        <translation>Saving and closing!</translation>
    </message>
    <message>
        <source>破棄終了します！</source>
        <translation>Discarding changes and closing!</translation>
    </message>
    <message>
        <source>%1 件を消去します。よろしいですか？</source>
        <translation>Erase %1 records?</translation>
    </message>
    <message>
        <source>
削除履歴に残るのは最後の %1 件だけです。</source>
        <translation>
Only the last %1 stay in the deleted history.</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmDataDisp</name>
    <message>
        <source>データの表示</source>
        <translation>View Data</translation>
    </message>
    <message>
        <source>読み込み</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmFileSel</name>
    <message>
        <source>書込みファイル名の選択</source>
        <translation>Choose a File to Write</translation>
    </message>
    <message>
        <source>読込みファイル名の選択</source>
        <translation>Choose a File to Read</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmFrdwt</name>
    <message>
        <source>読み書きモード選択</source>
        <translation>Read or Write</translation>
    </message>
    <message>
        <source>読込み(&amp;R)</source>
        <translation>&amp;Read</translation>
    </message>
    <message>
        <source>書込み(&amp;W)</source>
        <translation>&amp;Write</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmGetDir</name>
    <message>
        <source>ディレクトリ名の取得</source>
        <translation>Choose a Folder</translation>
    </message>
    <message>
        <source>ＯＫ</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmLblInp</name>
    <message>
        <source>日付/タイトル入力</source>
        <translation>Date/Title</translation>
    </message>
    <message>
        <source>日付</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>今日</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>今日の日付</source>
        <translation>Today&apos;s date</translation>
    </message>
    <message>
        <source>ﾗﾍﾞﾙﾀｲﾄﾙ</source>
        <translation>Label title</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmLbprCtl</name>
    <message>
        <source>ｼﾝｸﾞﾙﾃﾞｰﾀ1</source>
        <translation>Single 1</translation>
    </message>
    <message>
        <source>ｼﾝｸﾞﾙﾃﾞｰﾀ2</source>
        <translation>Single 2</translation>
    </message>
    <message>
        <source>ｱﾙﾊﾞﾑﾃﾞｰﾀ1</source>
        <translation>Album 1</translation>
    </message>
    <message>
        <source>ｱﾙﾊﾞﾑﾃﾞｰﾀ2</source>
        <translation>Album 2</translation>
    </message>
    <message>
        <source>読み込み</source>
        <translation>Load</translation>
    </message>
    <message>
        <source>書き込み</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>初期化します。</source>
        <translation>Settings will be reset.</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmMain</name>
    <message>
        <source>振り分け </source>
        <translation>Plan </translation>
    </message>
    <message>
        <source>データ登録 </source>
        <translation>Catalogue </translation>
    </message>
    <message>
        <source>データ編集 </source>
        <translation>Edit Data </translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmPassInp</name>
    <message>
        <source>パスワード入力</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>パスワードが設定されています</source>
        <translation>A password is set</translation>
    </message>
    <message>
        <source>ﾊﾟｽﾜｰﾄﾞ</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmPrnLabel</name>
    <message>
        <source>ラベル印刷</source>
        <translation>Print Labels</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>プリンター設定</source>
        <translation>Printer setup</translation>
    </message>
    <message>
        <source>ﾌﾟﾘﾝﾀｰ</source>
        <translation>Printer</translation>
    </message>
    <message>
        <source>フォント</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>ﾌｫﾝﾄ</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>拡大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>＋</source>
        <translation>+</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>－</source>
        <translation>-</translation>
    </message>
    <message>
        <source>ラベル印刷します。よろしいですか？</source>
        <translation>Print the labels?</translation>
    </message>
    <message>
        <source>印刷を開始できません
%1</source>
        <translation>Cannot start printing
%1</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmPrnStEd</name>
    <message>
        <source>範囲指定</source>
        <translation>Range</translation>
    </message>
    <message>
        <source>開始</source>
        <translation>From</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>To</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmShare</name>
    <message>
        <source>シェアデータ設定</source>
        <translation>Share Data Settings</translation>
    </message>
    <message>
        <source>ﾊﾟｽﾜｰﾄﾞ</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>SHARE 設定</source>
        <translation>Use SHARE</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmShufDisp</name>
    <message>
        <source>最適解</source>
        <translation>Best</translation>
    </message>
    <message>
        <source>全探索で見つけたプラン</source>
        <translation>The plan found by the full search</translation>
    </message>
    <message>
        <source>A面</source>
        <translation>Side A</translation>
    </message>
    <message>
        <source>B面</source>
        <translation>Side B</translation>
    </message>
    <message>
        <source>全探索: 有効秒差内のプランがあります</source>
        <translation>Full search: a plan within the tolerance exists</translation>
    </message>
    <message>
        <source>&#x3000;「最適解」で表示できます</source>
        <translation>  (&quot;Best&quot; shows it)</translation>
    </message>
    <message>
        <source>全探索: 有効秒差内のプランはありません</source>
        <translation>Full search: no plan within the tolerance</translation>
    </message>
    <message>
        <source>（必要な有効秒差 %1）</source>
        <translation> (needs a tolerance of %1)</translation>
    </message>
    <message>
        <source>（3時間以内では足りません）</source>
        <translation> (3 hours are not enough)</translation>
    </message>
    <message>
        <source>全探索: 対象外（3時間を超えます）</source>
        <translation>Full search: not done (over 3 hours)</translation>
    </message>
    <message>
        <source>振分無</source>
        <translation>No split</translation>
    </message>
    <message>
        <source>２分割</source>
        <translation>Halves</translation>
    </message>
    <message>
        <source>取り消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>A 面ｼｬｯﾌﾙ</source>
        <translation>Shuffle side A</translation>
    </message>
    <message>
        <source>B 面ｼｬｯﾌﾙ</source>
        <translation>Shuffle side B</translation>
    </message>
    <message>
        <source>AB面ｼｬｯﾌﾙ</source>
        <translation>Shuffle both sides</translation>
    </message>
    <message>
        <source>取り消し</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>印刷</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>ラベル印刷</source>
        <translation>Print labels</translation>
    </message>
    <message>
        <source>ﾗﾍﾞﾙ</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>結果設定</source>
        <translation>Result settings</translation>
    </message>
    <message>
        <source>結設定</source>
        <translation>Result</translation>
    </message>
    <message>
        <source>振り分け次</source>
        <translation>Next split</translation>
    </message>
    <message>
        <source>次</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>振り分け前</source>
        <translation>Previous split</translation>
    </message>
    <message>
        <source>前</source>
        <translation>Prev</translation>
    </message>
    <message>
        <source>フォント</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>ﾌｫﾝﾄ</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>ＴＡＰＥ時間</source>
        <translation>Tape length</translation>
    </message>
    <message>
        <source>TAPE</source>
        <translation>TAPE</translation>
    </message>
    <message>
        <source>振り分け２</source>
        <translation>Split in two</translation>
    </message>
    <message>
        <source>振分２</source>
        <translation>Split</translation>
    </message>
    <message>
        <source>シャッフル</source>
        <translation>Shuffle</translation>
    </message>
    <message>
        <source>ｼｬｯﾌﾙ</source>
        <translation>Shuffle</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmShufMain</name>
    <message>
        <source>プランあり</source>
        <translation>plan found</translation>
    </message>
    <message>
        <source>プランなし</source>
        <translation>no plan</translation>
    </message>
    <message>
        <source>対象外</source>
        <translation>not checked</translation>
    </message>
    <message>
        <source>取り消し</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>３０日前</source>
        <translation>30 days back</translation>
    </message>
    <message>
        <source>６０日前</source>
        <translation>60 days back</translation>
    </message>
    <message>
        <source>９０日前</source>
        <translation>90 days back</translation>
    </message>
    <message>
        <source>入荷予定</source>
        <translation>Coming in</translation>
    </message>
    <message>
        <source>CDｼﾝｸﾞﾙ</source>
        <translation>CD single</translation>
    </message>
    <message>
        <source>CDｱﾙﾊﾞﾑ</source>
        <translation>CD album</translation>
    </message>
    <message>
        <source>ビデオ</source>
        <translation>Video</translation>
    </message>
    <message>
        <source>ﾚｰｻﾞｰ</source>
        <translation>Laser disc</translation>
    </message>
    <message>
        <source>その他</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>全て</source>
        <translation>All</translation>
    </message>
    <message>
        <source>初期化</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>シャッフル</source>
        <translation>Shuffle</translation>
    </message>
    <message>
        <source>総時間=[%1]</source>
        <translation>Total=[%1]</translation>
    </message>
    <message>
        <source>目標=[%1]</source>
        <translation>Target=[%1]</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmStop</name>
    <message>
        <source>中止</source>
        <translation>Stop</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TFrmTape</name>
    <message>
        <source>1:なし(AB均等)</source>
        <translation>1:None (A=B)</translation>
    </message>
    <message>
        <source>2:５０( 25:00)</source>
        <translation>2:50 ( 25:00)</translation>
    </message>
    <message>
        <source>3:５４( 27:00)</source>
        <translation>3:54 ( 27:00)</translation>
    </message>
    <message>
        <source>4:６０( 30:00)</source>
        <translation>4:60 ( 30:00)</translation>
    </message>
    <message>
        <source>5:６４( 32:00)</source>
        <translation>5:64 ( 32:00)</translation>
    </message>
    <message>
        <source>6:７０( 35:00)</source>
        <translation>6:70 ( 35:00)</translation>
    </message>
    <message>
        <source>7:７４( 37:00)</source>
        <translation>7:74 ( 37:00)</translation>
    </message>
    <message>
        <source>8:８０( 40:00)</source>
        <translation>8:80 ( 40:00)</translation>
    </message>
    <message>
        <source>9:入力</source>
        <translation>9:Enter</translation>
    </message>
    <message>
        <source>0:取り消し</source>
        <translation>0:Cancel</translation>
    </message>
    <message>
        <source>TAPE時間</source>
        <translation>Tape Length</translation>
    </message>
    <message>
        <source>入力(分)</source>
        <translation>Minutes</translation>
    </message>
    <message>
        <source>ＯＫ</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>zemo::ui::TWinCrt</name>
    <message>
        <source>デバッグ</source>
        <translation>Debug</translation>
    </message>
</context>
</TS>
