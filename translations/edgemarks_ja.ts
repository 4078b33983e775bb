<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Alert</name>
    <message>
        <location filename="../src/sheets/Alert.cpp" line="21"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>AtomicFile</name>
    <message>
        <location filename="../src/io/AtomicFile.cpp" line="198"/>
        <source>The disk is full</source>
        <translation>ディスクがいっぱいです</translation>
    </message>
    <message>
        <location filename="../src/io/AtomicFile.cpp" line="201"/>
        <source>The file is larger than the disk allows</source>
        <translation>ファイルがディスクの許す大きさを超えています</translation>
    </message>
    <message>
        <location filename="../src/io/AtomicFile.cpp" line="204"/>
        <source>The disk is read-only</source>
        <translation>ディスクは読み出し専用です</translation>
    </message>
    <message>
        <location filename="../src/io/AtomicFile.cpp" line="208"/>
        <source>You may not write in this folder</source>
        <translation>このフォルダには書き込めません</translation>
    </message>
    <message>
        <location filename="../src/io/AtomicFile.cpp" line="211"/>
        <source>The disk reported an error</source>
        <translation>ディスクがエラーを報告しました</translation>
    </message>
    <message>
        <location filename="../src/io/AtomicFile.cpp" line="215"/>
        <source>The folder of %1 is gone: it was not saved.</source>
        <translation>%1 のフォルダがなくなっています: 保存されませんでした。</translation>
    </message>
    <message>
        <location filename="../src/io/AtomicFile.cpp" line="217"/>
        <source>%1 is a folder: it was not saved.</source>
        <translation>%1 はフォルダです: 保存されませんでした。</translation>
    </message>
    <message>
        <location filename="../src/io/AtomicFile.cpp" line="222"/>
        <source>%1: %2 was not saved; the old version is kept.</source>
        <translation>%1: %2 は保存されませんでした。以前の版はそのまま残っています。</translation>
    </message>
    <message>
        <location filename="../src/io/AtomicFile.cpp" line="223"/>
        <source>%1: %2 was not saved.</source>
        <translation>%1: %2 は保存されませんでした。</translation>
    </message>
</context>
<context>
    <name>BackupActions</name>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="35"/>
        <source>Back Up</source>
        <translation>バックアップ</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="36"/>
        <location filename="../src/app/BackupActions.cpp" line="73"/>
        <source>Backups (*.tar)</source>
        <translation>バックアップ (*.tar)</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="55"/>
        <source>Couldn&apos;t back up the AIR-EDGE PHONE.</source>
        <translation>AIR-EDGE PHONE をバックアップできませんでした。</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="57"/>
        <source>Nothing was written under %1; a file there before is kept.</source>
        <translation>%1 には何も書き込んでいません。元からあったファイルはそのままです。</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="61"/>
        <source>The AIR-EDGE PHONE is backed up.</source>
        <translation>AIR-EDGE PHONE をバックアップしました。</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="62"/>
        <source>%1 bookmarks and %2 files (%3) are in %4.</source>
        <translation>%1 件のブックマークと %2 個のファイル (%3) を %4 に保存しました。</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="72"/>
        <location filename="../src/app/BackupActions.cpp" line="105"/>
        <location filename="../src/app/BackupActions.cpp" line="124"/>
        <source>Restore</source>
        <translation>復元</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="85"/>
        <source>%1 is not a sound backup; nothing was restored.</source>
        <translation>%1 は正しいバックアップではありません。何も復元していません。</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="98"/>
        <source>Couldn&apos;t read what the AIR-EDGE PHONE holds.</source>
        <translation>AIR-EDGE PHONE の内容を読み込めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="108"/>
        <source>Restoring changes the AIR-EDGE PHONE as follows:</source>
        <translation>復元すると AIR-EDGE PHONE は次のように変わります:</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="111"/>
        <source>Bookmarks</source>
        <translation>ブックマーク</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="112"/>
        <source>Files</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="113"/>
        <source>Also replace the files the AIR-EDGE PHONE already holds</source>
        <translation>AIR-EDGE PHONE にすでにあるファイルも置き換える</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="154"/>
        <source>%1 of %2 files reached the AIR-EDGE PHONE: %3</source>
        <translation>%2 個のうち %1 個のファイルが AIR-EDGE PHONE に届きました: %3</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="157"/>
        <source>none</source>
        <translation>なし</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="159"/>
        <source>Couldn&apos;t restore the backup.</source>
        <translation>バックアップを復元できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="163"/>
        <source>The backup is restored.</source>
        <translation>バックアップを復元しました。</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="164"/>
        <source>Restored %1 bookmarks and %2 files.</source>
        <translation>%1 件のブックマークと %2 個のファイルを復元しました。</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="178"/>
        <source>No bookmarks are kept yet.</source>
        <translation>保存されたブックマークはまだありません。</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="179"/>
        <source>Each export keeps the list the AIR-EDGE PHONE held before it.</source>
        <translation>書き出すたびに、その前に AIR-EDGE PHONE にあったリストを保存します。</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="184"/>
        <source>Restore Previous Bookmarks</source>
        <translation>以前のブックマークを復元</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="187"/>
        <source>The AIR-EDGE PHONE&apos;s bookmarks before each export:</source>
        <translation>書き出す前の AIR-EDGE PHONE のブックマーク:</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="191"/>
        <source>%1 — %2 bookmarks</source>
        <translation>%1 — %2 件のブックマーク</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="197"/>
        <source>Export</source>
        <translation>書き出す</translation>
    </message>
    <message>
        <location filename="../src/app/BackupActions.cpp" line="208"/>
        <source>Couldn&apos;t read the kept bookmarks.</source>
        <translation>保存されたブックマークを読み込めませんでした。</translation>
    </message>
</context>
<context>
    <name>BackupReader</name>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="43"/>
        <source>The backup&apos;s manifest is not readable: %1</source>
        <translation>バックアップの目録を読めません: %1</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="50"/>
        <source>&quot;%1&quot; is missing or not a text.</source>
        <translation>「%1」がないか、テキストではありません。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="57"/>
        <source>an entry is not an object.</source>
        <translation>項目がオブジェクトではありません。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="64"/>
        <source>the size of %1 is not a size.</source>
        <translation>%1 のサイズが正しくありません。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="68"/>
        <source>the checksum of %1 is not a SHA-256.</source>
        <translation>%1 のチェックサムが SHA-256 ではありません。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="73"/>
        <source>%1 has no handset name or type.</source>
        <translation>%1 に AIR-EDGE PHONE 上の名前か種類がありません。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="78"/>
        <location filename="../src/commands/BackupArchive.cpp" line="80"/>
        <source>the date of %1 is not a date.</source>
        <translation>%1 の日付が正しくありません。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="106"/>
        <source>it is not an object.</source>
        <translation>オブジェクトではありません。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="109"/>
        <source>it is not the manifest of an EdgeMarks backup.</source>
        <translation>EdgeMarks のバックアップの目録ではありません。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="112"/>
        <source>The backup was written by a newer EdgeMarks (format %1); this one reads up to format %2.</source>
        <translation>このバックアップは新しい EdgeMarks で作成されています（形式 %1）。この版が読めるのは形式 %2 までです。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="116"/>
        <source>its format version is missing.</source>
        <translation>形式の版がありません。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="123"/>
        <source>the file list is missing or too long.</source>
        <translation>ファイルの一覧がないか、長すぎます。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="185"/>
        <source>Couldn&apos;t write the backup: %1</source>
        <translation>バックアップを書き込めませんでした: %1</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="208"/>
        <source>Couldn&apos;t write the backup: a file was longer than announced.</source>
        <translation>バックアップを書き込めませんでした: ファイルが予告より長くなりました。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="239"/>
        <source>Couldn&apos;t write the backup: a file was shorter than announced.</source>
        <translation>バックアップを書き込めませんでした: ファイルが予告より短くなりました。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="265"/>
        <location filename="../src/commands/BackupArchive.cpp" line="366"/>
        <source>The backup is damaged or cut short: %1</source>
        <translation>バックアップが壊れているか、途中で切れています: %1</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="266"/>
        <source>unknown error</source>
        <translation>不明なエラー</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="276"/>
        <source>The backup holds an entry without a name.</source>
        <translation>バックアップに名前のない項目があります。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="281"/>
        <source>The backup holds an entry outside its own folder: %1</source>
        <translation>バックアップに自身のフォルダの外を指す項目があります: %1</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="294"/>
        <source>The backup&apos;s manifest names %1, which is not in the archive.</source>
        <translation>バックアップの目録にある %1 がアーカイブにありません。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="296"/>
        <source>%1 holds %2 bytes; the manifest says %3.</source>
        <translation>%1 は %2 バイトですが、目録では %3 バイトです。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="298"/>
        <source>%1 does not match its checksum in the manifest.</source>
        <translation>%1 が目録のチェックサムと一致しません。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="322"/>
        <source>The backup holds a link, folder or device file: %1</source>
        <translation>バックアップにリンク、フォルダ、またはデバイスファイルがあります: %1</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="329"/>
        <source>The backup holds %1, which is no part of a backup.</source>
        <translation>バックアップにバックアップの一部ではない %1 があります。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="331"/>
        <source>The backup holds %1 twice.</source>
        <translation>バックアップに %1 が2つあります。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="333"/>
        <source>The backup holds more than %1 files.</source>
        <translation>バックアップのファイルが %1 個を超えています。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="336"/>
        <location filename="../src/commands/BackupArchive.cpp" line="356"/>
        <source>%1 is larger than a backup may hold.</source>
        <translation>%1 はバックアップに入れられる大きさを超えています。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="343"/>
        <location filename="../src/commands/BackupArchive.cpp" line="363"/>
        <location filename="../src/commands/BackupArchive.cpp" line="368"/>
        <source>Couldn&apos;t unpack %1: %2</source>
        <translation>%1 を取り出せませんでした: %2</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="375"/>
        <source>The backup has no manifest: it was not written by EdgeMarks, or it was cut short.</source>
        <translation>バックアップに目録がありません。EdgeMarks で作成されたものではないか、途中で切れています。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="381"/>
        <source>The backup&apos;s manifest names no bookmark document.</source>
        <translation>バックアップの目録にブックマーク書類がありません。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="387"/>
        <source>The backup&apos;s manifest names %1 twice.</source>
        <translation>バックアップの目録に %1 が2回あります。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="390"/>
        <source>The backup&apos;s manifest names two files %1 of the same type.</source>
        <translation>バックアップの目録に同じ種類の %1 が2つあります。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="397"/>
        <source>The backup holds %1, which its manifest does not name.</source>
        <translation>バックアップに目録にない %1 があります。</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="402"/>
        <source>The backup&apos;s bookmark document does not open: %1</source>
        <translation>バックアップのブックマーク書類を開けません: %1</translation>
    </message>
    <message>
        <location filename="../src/commands/BackupArchive.cpp" line="413"/>
        <source>Couldn&apos;t open the backup %1: %2</source>
        <translation>バックアップ %1 を開けませんでした: %2</translation>
    </message>
</context>
<context>
    <name>BookmarkController</name>
    <message>
        <location filename="../src/controllers/BookmarkController.cpp" line="70"/>
        <source>untitled</source>
        <translation>名称未設定</translation>
    </message>
    <message>
        <location filename="../src/controllers/BookmarkController.cpp" line="161"/>
        <source>Move</source>
        <translation>移動</translation>
    </message>
    <message>
        <location filename="../src/controllers/BookmarkController.cpp" line="219"/>
        <source>Cut</source>
        <translation>カット</translation>
    </message>
    <message>
        <location filename="../src/controllers/BookmarkController.cpp" line="247"/>
        <location filename="../src/controllers/BookmarkController.cpp" line="255"/>
        <source>Paste</source>
        <translation>ペースト</translation>
    </message>
    <message>
        <location filename="../src/controllers/BookmarkListModel.cpp" line="293"/>
        <source>No.</source>
        <translation>番号</translation>
    </message>
    <message>
        <location filename="../src/controllers/BookmarkListModel.cpp" line="295"/>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <location filename="../src/controllers/BookmarkListModel.cpp" line="297"/>
        <source>Location</source>
        <translation>URL</translation>
    </message>
</context>
<context>
    <name>BookmarkDiff</name>
    <message>
        <location filename="../src/commands/BookmarkDiff.cpp" line="45"/>
        <source>No bookmark changes.</source>
        <translation>ブックマークの変更はありません。</translation>
    </message>
    <message>
        <location filename="../src/commands/BookmarkDiff.cpp" line="49"/>
        <source>%1 added, %2 removed, %3 changed</source>
        <translation>追加 %1、削除 %2、変更 %3</translation>
    </message>
</context>
<context>
    <name>BookmarkHistory</name>
    <message>
        <location filename="../src/commands/BookmarkHistory.cpp" line="26"/>
        <source>Couldn&apos;t make the folder %1.</source>
        <translation>フォルダ %1 を作成できませんでした。</translation>
    </message>
</context>
<context>
    <name>BrowserBookmarks</name>
    <message>
        <location filename="../src/document/BrowserBookmarks.cpp" line="416"/>
        <source>The bookmark file is larger than 64 MB.</source>
        <translation>ブックマークファイルが 64 MB を超えています。</translation>
    </message>
    <message>
        <location filename="../src/document/BrowserBookmarks.cpp" line="261"/>
        <source>It has no location.</source>
        <translation>URL がありません。</translation>
    </message>
    <message>
        <location filename="../src/document/BrowserBookmarks.cpp" line="266"/>
        <source>Its location names no web server.</source>
        <translation>URL に Web サーバ名がありません。</translation>
    </message>
    <message>
        <location filename="../src/document/BrowserBookmarks.cpp" line="269"/>
        <source>Its location is not a whole web address.</source>
        <translation>URL が完全な Web アドレスではありません。</translation>
    </message>
    <message>
        <location filename="../src/document/BrowserBookmarks.cpp" line="271"/>
        <source>It is a saved search of the browser (place:), not a web page.</source>
        <translation>ブラウザの保存済み検索 (place:) で、Web ページではありません。</translation>
    </message>
    <message>
        <location filename="../src/document/BrowserBookmarks.cpp" line="274"/>
        <source>It is a script (javascript:), which the AIR-EDGE PHONE cannot run.</source>
        <translation>スクリプト (javascript:) は AIR-EDGE PHONE では実行できません。</translation>
    </message>
    <message>
        <location filename="../src/document/BrowserBookmarks.cpp" line="277"/>
        <source>It holds its page inside the link (data:), which the AIR-EDGE PHONE cannot open.</source>
        <translation>リンク内にページを持つもの (data:) は AIR-EDGE PHONE では開けません。</translation>
    </message>
    <message>
        <location filename="../src/document/BrowserBookmarks.cpp" line="281"/>
        <source>It is a file on this computer (file:).</source>
        <translation>このコンピュータ上のファイル (file:) です。</translation>
    </message>
    <message>
        <location filename="../src/document/BrowserBookmarks.cpp" line="282"/>
        <source>The AIR-EDGE PHONE opens only web pages (http: and https:), not %1: locations.</source>
        <translation>AIR-EDGE PHONE が開けるのは Web ページ (http: と https:) だけで、%1: は開けません。</translation>
    </message>
    <message>
        <location filename="../src/document/BrowserBookmarks.cpp" line="435"/>
        <source>The bookmark file&apos;s characters cannot be read.</source>
        <translation>ブックマークファイルの文字を読み取れません。</translation>
    </message>
    <message>
        <location filename="../src/document/BrowserBookmarks.cpp" line="453"/>
        <source>The bookmark file could not be read.</source>
        <translation>ブックマークファイルを読み込めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/document/BrowserBookmarks.cpp" line="473"/>
        <source>The file is not a browser bookmark file: it holds no links.</source>
        <translation>ブラウザのブックマークファイルではありません。リンクが含まれていません。</translation>
    </message>
    <message>
        <location filename="../src/commands/BookmarkImportPlan.cpp" line="71"/>
        <source>%1 → %2</source>
        <translation>%1 → %2</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/commands/BookmarkImportPlan.cpp" line="188"/>
        <source>%n bookmark(s) will be added.</source>
        <translation>
            <numerusform>%n 件のブックマークを追加します。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/commands/BookmarkImportPlan.cpp" line="195"/>
        <source>outside any folder</source>
        <translation>フォルダ外</translation>
    </message>
    <message>
        <location filename="../src/commands/BookmarkImportPlan.cpp" line="196"/>
        <source>from “%1”</source>
        <translation>「%1」から</translation>
    </message>
    <message>
        <location filename="../src/commands/BookmarkImportPlan.cpp" line="197"/>
        <source>  %1 %2 into folder %3 (%4)</source>
        <translation>  %2 の %1 件をフォルダ %3 (%4) へ</translation>
    </message>
    <message>
        <location filename="../src/commands/BookmarkImportPlan.cpp" line="204"/>
        <source>Folders renamed: %1</source>
        <translation>名前を変えるフォルダ: %1</translation>
    </message>
    <message>
        <location filename="../src/commands/BookmarkImportPlan.cpp" line="212"/>
        <source>  “%1” (%2)</source>
        <translation>  「%1」(%2)</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/commands/BookmarkImportPlan.cpp" line="216"/>
        <source>  … and %n more.</source>
        <translation>
            <numerusform>  … ほか %n 件。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../src/commands/BookmarkImportPlan.cpp" line="222"/>
        <source>%n link(s) skipped:</source>
        <translation>
            <numerusform>%n 件のリンクを読み飛ばします:</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/commands/BookmarkImportPlan.cpp" line="225"/>
        <source>  “%1” (%2): %3</source>
        <translation>  「%1」(%2): %3</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/commands/BookmarkImportPlan.cpp" line="219"/>
        <source>%n name(s) held control characters, which were removed.</source>
        <translation>
            <numerusform>%n 件の名前に制御文字があったので取り除きました。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BrowserImportSheet</name>
    <message>
        <location filename="../src/sheets/BrowserImportSheet.cpp" line="22"/>
        <source>Import Bookmarks</source>
        <translation>ブックマークの読み込み</translation>
    </message>
    <message>
        <location filename="../src/sheets/BrowserImportSheet.cpp" line="24"/>
        <source>Import bookmarks from a browser</source>
        <translation>ブラウザのブックマークを読み込む</translation>
    </message>
    <message>
        <location filename="../src/sheets/BrowserImportSheet.cpp" line="28"/>
        <source>One handset folder for each browser folder</source>
        <translation>ブラウザのフォルダごとに端末のフォルダを使う</translation>
    </message>
    <message>
        <location filename="../src/sheets/BrowserImportSheet.cpp" line="31"/>
        <source>Everything into folder “%1”</source>
        <translation>すべてフォルダ「%1」に入れる</translation>
    </message>
    <message>
        <location filename="../src/sheets/BrowserImportSheet.cpp" line="40"/>
        <source>Import</source>
        <translation>読み込む</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/sheets/BrowserImportSheet.cpp" line="68"/>
        <source>%n name(s) have characters the AIR-EDGE PHONE cannot show; before an export, the handset check offers to replace them.</source>
        <translation>
            <numerusform>%n 件の名前に AIR-EDGE PHONE で表示できない文字があります。書き出しの前に、端末チェックがそれらの置き換えを提案します。</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <location filename="../src/cli/Command.cpp" line="332"/>
        <source>Couldn&apos;t use this application because the %1 didn&apos;t exist.</source>
        <translation>%1 がないため、このアプリケーションを使用できません。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="90"/>
        <source>may be opened</source>
        <translation>使用可</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="91"/>
        <source>no permission</source>
        <translation>権限なし</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="100"/>
        <source>No AH-K3001V (USB ID %1:%2) was found.</source>
        <translation>AH-K3001V (USB ID %1:%2) が見つかりませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="103"/>
        <source>The %1 was not found; the AIR-EDGE PHONE cannot be used without it.</source>
        <translation>%1 が見つかりません。これがないと AIR-EDGE PHONE は使えません。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="371"/>
        <source>Couldn&apos;t read the password file %1.</source>
        <translation>パスワードファイル %1 を読めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="361"/>
        <source>Password of the AIR-EDGE PHONE: </source>
        <translation>AIR-EDGE PHONE のパスワード: </translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="375"/>
        <source>The password file %1 is larger than 4 KiB; it should hold the password on its first line.</source>
        <translation>パスワードファイル %1 が 4 KiB を超えています。パスワードは最初の行に書いてください。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="381"/>
        <source>Warning: others may read the password file %1 (chmod 600 it).</source>
        <translation>警告: パスワードファイル %1 は他のユーザーも読めます (chmod 600 してください)。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="393"/>
        <source>The password file %1 is not UTF-8 text.</source>
        <translation>パスワードファイル %1 が UTF-8 のテキストではありません。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="406"/>
        <source>No password for the AIR-EDGE PHONE: give --password-file, set EDGEMARKS_PASSWORD or save it in the keychain.</source>
        <translation>AIR-EDGE PHONE のパスワードがありません: --password-file を指定するか、EDGEMARKS_PASSWORD を設定するか、キーチェーンに保存してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="423"/>
        <source>The AIR-EDGE PHONE refused the password.</source>
        <translation>AIR-EDGE PHONE がパスワードを受け付けませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="264"/>
        <source>Couldn&apos;t open %1: %2</source>
        <translation>%1 を開けませんでした: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="30"/>
        <source>The document (.edgemarks).</source>
        <translation>書類 (.edgemarks)。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="52"/>
        <source>Couldn&apos;t import the bookmarks.</source>
        <translation>ブックマークを読み込めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="69"/>
        <location filename="../src/cli/BookmarkCommands.cpp" line="261"/>
        <location filename="../src/cli/BookmarkCommands.cpp" line="366"/>
        <location filename="../src/cli/BookmarkCommands.cpp" line="370"/>
        <source>Couldn&apos;t save %1: %2</source>
        <translation>%1 を保存できませんでした: %2</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/cli/BookmarkCommands.cpp" line="79"/>
        <source>Imported %n bookmark(s) into %1.</source>
        <translation>
            <numerusform>%n 件のブックマークを %1 に読み込みました。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="83"/>
        <source>%1 of the %2 bookmarks in the AIR-EDGE PHONE could not be read and were left out.</source>
        <translation>AIR-EDGE PHONE のブックマーク %2 件のうち %1 件は読めなかったため、読み込みませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="98"/>
        <source>Send a document that the check finds fault with.</source>
        <translation>チェックで問題が見つかった書類も送ります。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="100"/>
        <source>Do not read and keep the handset&apos;s list first (see the history command).</source>
        <translation>先に携帯電話のリストを読み込んで保存しない (history コマンドを参照)。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="116"/>
        <source>Not exported: the AIR-EDGE PHONE cannot take %1 as it is (give --force to send it anyway).</source>
        <translation>書き出しませんでした。%1 はこのままでは AIR-EDGE PHONE に登録できません (それでも送るには --force を指定してください)。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="125"/>
        <source>Not exporting without confirmation: give --yes to replace the bookmarks in the AIR-EDGE PHONE.</source>
        <translation>確認なしでは書き出しません: AIR-EDGE PHONE のブックマークを置き換えるには --yes を指定してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="137"/>
        <source>Couldn&apos;t read the bookmarks in the AIR-EDGE PHONE before the export; nothing was exported.</source>
        <translation>書き出しの前に AIR-EDGE PHONE のブックマークを読み込めませんでした。何も書き出していません。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="144"/>
        <source>Couldn&apos;t keep the bookmarks the AIR-EDGE PHONE holds; nothing was exported.</source>
        <translation>AIR-EDGE PHONE のブックマークを保存できませんでした。何も書き出していません。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="150"/>
        <source>Changes: %1</source>
        <translation>変更: %1</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="156"/>
        <source>The bookmarks in the AIR-EDGE PHONE will be completely deleted. Are you sure you want to export ?</source>
        <translation>AIR-EDGE PHONE 内のブックマークはすべて削除されます。書き出してもよろしいですか?</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="159"/>
        <source>If you select to export then all bookmarks in the AIR-EDGE PHONE will be lost.</source>
        <translation>書き出すと、AIR-EDGE PHONE 内のブックマークはすべて失われます。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="162"/>
        <source>Export</source>
        <translation>書き出す</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="163"/>
        <source>Not exported.</source>
        <translation>書き出しませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="169"/>
        <source>Couldn&apos;t export the bookmarks.</source>
        <translation>ブックマークを書き出せませんでした。</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/cli/BookmarkCommands.cpp" line="178"/>
        <source>Exported %n bookmark(s).</source>
        <translation>
            <numerusform>%n 件のブックマークを書き出しました。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../src/cli/BookmarkCommands.cpp" line="180"/>
        <source>%n bookmark(s) in folders the AIR-EDGE PHONE does not have were not sent.</source>
        <translation>
            <numerusform>AIR-EDGE PHONE にないフォルダの %n 件のブックマークは送りませんでした。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../src/cli/BookmarkCommands.cpp" line="217"/>
        <source>Folder %1: %n bookmark(s)</source>
        <translation>
            <numerusform>フォルダ %1: %n 件</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="228"/>
        <source>Folder index %1: </source>
        <translation>フォルダ番号 %1: </translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="239"/>
        <source>Replace the characters the handset cannot show, as the editor&apos;s &quot;Replace Unsupported Characters&quot; does, and save DOCUMENT.</source>
        <translation>ハンドセットで表示できない文字を、エディタの「表示できない文字を置き換える」と同じように置き換えて、DOCUMENT を保存します。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="277"/>
        <source>“%1” is now “%2”.</source>
        <translation>「%1」を「%2」にしました。</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/cli/BookmarkCommands.cpp" line="280"/>
        <source>Replaced the characters the AIR-EDGE PHONE cannot show in %n bookmark(s).</source>
        <translation>
            <numerusform>%n 件のブックマークで、AIR-EDGE PHONE で表示できない文字を置き換えました。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="297"/>
        <source>The AIR-EDGE PHONE can take %1 as it is.</source>
        <translation>%1 はこのまま AIR-EDGE PHONE に登録できます。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="308"/>
        <source>The file to read: a document, or a browser bookmark file (.html, .htm).</source>
        <translation>読み込むファイル: 書類か、ブラウザのブックマークファイル (.html, .htm)。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="312"/>
        <source>The file to write, of either kind, told by its extension.</source>
        <translation>書き出すファイル。どちらの種類かは拡張子で決まります。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="314"/>
        <source>Put every bookmark of a browser file into this handset folder (0-19).</source>
        <translation>ブラウザのファイルのブックマークをすべて端末のこのフォルダ (0-19) に入れます。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="318"/>
        <source>Replace OUTPUT when it exists.</source>
        <translation>出力ファイルがあれば置き換えます。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="327"/>
        <source>%1 exists: give --force to replace it.</source>
        <translation>%1 はすでにあります。置き換えるには --force を指定してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="335"/>
        <source>--folder takes a folder number from 0 to 19.</source>
        <translation>--folder にはフォルダ番号 0 から 19 を指定してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="345"/>
        <source>Couldn&apos;t read %1: %2</source>
        <translation>%1 を読み込めませんでした: %2</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/cli/BookmarkCommands.cpp" line="378"/>
        <source>Wrote %n bookmark(s) to %1.</source>
        <translation>
            <numerusform>%n 件のブックマークを %1 に書き込みました。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="41"/>
        <source>The port to mark as the one a transfer would use.</source>
        <translation>転送に使うポートとして印を付けるポート。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="120"/>
        <location filename="../src/cli/FileCommands.cpp" line="180"/>
        <source>Couldn&apos;t read the file list.</source>
        <translation>ファイルの一覧を読めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="153"/>
        <source>A file on the handset, as ls lists it; NAME:TYPE gives its type.</source>
        <translation>端末内のファイル (ls の表示どおり)。名前:種類 で種類を指定します。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="157"/>
        <source>The folder to download into (default: here).</source>
        <translation>受信先のフォルダ (省略時: 現在のフォルダ)。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="160"/>
        <source>Replace local files that exist (and write through symbolic links).</source>
        <translation>既存のファイルを置き換えます (シンボリックリンクの先にも書き込みます)。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="169"/>
        <source>%1 is not a folder.</source>
        <translation>%1 はフォルダではありません。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="199"/>
        <source>There is no file %1 on the AIR-EDGE PHONE.</source>
        <translation>AIR-EDGE PHONE に %1 というファイルはありません。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="206"/>
        <source>%1 is a symbolic link; give --force to write through it.</source>
        <translation>%1 はシンボリックリンクです。リンク先に書き込むには --force を指定してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="212"/>
        <source>%1 exists; give --force to replace it.</source>
        <translation>%1 は既にあります。置き換えるには --force を指定してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="220"/>
        <source>Couldn&apos;t download the files.</source>
        <translation>ファイルを受信できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="241"/>
        <source>A file to upload under its own name.</source>
        <translation>そのままの名前で送信するファイル。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="244"/>
        <source>Send every file with this handset type.</source>
        <translation>すべてのファイルをこの種類で送ります。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="253"/>
        <source>%1 is not a file.</source>
        <translation>%1 はファイルではありません。</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="259"/>
        <source>Couldn&apos;t upload the files.</source>
        <translation>ファイルを送信できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="130"/>
        <source>There is no command &quot;%1&quot;. See edgemarks-cli --help.</source>
        <translation>コマンド &quot;%1&quot; はありません。edgemarks-cli --help を参照してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="145"/>
        <source>Usage: edgemarks-cli COMMAND [options] [arguments]</source>
        <translation>使い方: edgemarks-cli コマンド [オプション] [引数]</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="147"/>
        <source>Reads and writes the bookmarks of the AH-K3001V handset (&quot;AIR-EDGE PHONE&quot;).</source>
        <translation>AH-K3001V 端末 (&quot;AIR-EDGE PHONE&quot;) のブックマークを読み書きします。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="149"/>
        <source>Commands:</source>
        <translation>コマンド:</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="155"/>
        <source>&quot;edgemarks-cli COMMAND --help&quot; lists the options of a command.
The password comes from --password-file, else EDGEMARKS_PASSWORD, else the keyring,
else a prompt on the terminal. Exit status: 0 done, 1 failed, 2 usage or not confirmed,
3 password missing or refused, 4 USB driver missing. See edgemarks-cli(1).</source>
        <translation>&quot;edgemarks-cli コマンド --help&quot; でコマンドのオプションを表示します。
パスワードは --password-file、なければ EDGEMARKS_PASSWORD、なければキーリング、
なければ端末での入力から得ます。終了状態: 0 完了、1 失敗、2 使い方の誤りか未確認、
3 パスワードがないか拒否された、4 USB ドライバがない。edgemarks-cli(1) を参照してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="187"/>
        <source>Print the result as JSON.</source>
        <translation>結果を JSON で表示します。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="205"/>
        <location filename="../src/cli/Command.cpp" line="225"/>
        <source>Usage: edgemarks-cli %1 [options] %2</source>
        <translation>使い方: edgemarks-cli %1 [オプション] %2</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="216"/>
        <location filename="../src/cli/Command.cpp" line="228"/>
        <source>See edgemarks-cli %1 --help.</source>
        <translation>edgemarks-cli %1 --help を参照してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="274"/>
        <source>The handset&apos;s serial device (overrides EDGEMARKS_DEVICE; default: found on the USB bus).</source>
        <translation>端末のシリアルデバイス (EDGEMARKS_DEVICE より優先。既定: USB から探す)。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="277"/>
        <location filename="../src/cli/FileCommands.cpp" line="42"/>
        <source>path</source>
        <translation>パス</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="280"/>
        <source>Write every frame and step of the conversation with the handset to this file, for a bug report (the password is masked).</source>
        <translation>端末とのやり取りのすべてのフレームと手順をこのファイルに書き出します (不具合報告用。パスワードは伏せます)。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="283"/>
        <location filename="../src/cli/Command.cpp" line="286"/>
        <source>file</source>
        <translation>ファイル</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="285"/>
        <source>Read the password from the first line of this file.</source>
        <translation>このファイルの1行目からパスワードを読みます。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="288"/>
        <source>Use a built-in simulated handset with sample content (password 1234).</source>
        <translation>サンプル入りの内蔵シミュレータ端末を使います (パスワード 1234)。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="96"/>
        <source>Export without asking for confirmation.</source>
        <translation>確認せずに書き出します。</translation>
    </message>
    <message>
        <location filename="../src/cli/BookmarkCommands.cpp" line="316"/>
        <source>number</source>
        <translation>番号</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="158"/>
        <source>folder</source>
        <translation>フォルダ</translation>
    </message>
    <message>
        <location filename="../src/cli/FileCommands.cpp" line="245"/>
        <source>type</source>
        <translation>種類</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="313"/>
        <source>Couldn&apos;t write the trace file %1: %2</source>
        <translation>トレースファイル %1 に書き込めませんでした: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="27"/>
        <source>Couldn&apos;t write the trace file: %1</source>
        <translation>トレースファイルに書き込めませんでした: %1</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="31"/>
        <source>Interrupted.</source>
        <translation>中断しました。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="35"/>
        <source>Read the handset&apos;s bookmarks into DOCUMENT (made when missing).</source>
        <translation>端末のブックマークを DOCUMENT に読み込みます (なければ作ります)。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="38"/>
        <source>Write DOCUMENT&apos;s bookmarks into the handset, replacing all it holds.</source>
        <translation>DOCUMENT のブックマークを端末に書き込み、端末の内容をすべて置き換えます。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="40"/>
        <source>Print the folders and bookmarks of DOCUMENT.</source>
        <translation>DOCUMENT のフォルダとブックマークを表示します。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="43"/>
        <source>List what the handset cannot take of DOCUMENT as it is (exit 1 when anything).</source>
        <translation>DOCUMENT のうち端末にそのまま登録できないものを表示します (あれば終了状態 1)。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="47"/>
        <source>Convert between documents and browser bookmark files (.html, .htm).</source>
        <translation>書類とブラウザのブックマークファイル (.html, .htm) を相互に変換します。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="49"/>
        <source>List the files on the handset (name, type, size, date).</source>
        <translation>端末内のファイルを表示します (名前、種類、サイズ、日付)。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="52"/>
        <source>Download files by name (NAME:TYPE names the type).</source>
        <translation>ファイルを名前で受信します (NAME:TYPE で種類を指定)。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="54"/>
        <source>Upload files, typed by their extension.</source>
        <translation>ファイルを送信します。種類は拡張子で決まります。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="68"/>
        <source>List the USB serial ports, the one a transfer would use marked *.</source>
        <translation>USB シリアルポートを表示します。転送に使うポートには * が付きます。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="57"/>
        <source>Back up the handset&apos;s bookmarks and files into one archive.</source>
        <translation>携帯電話のブックマークとファイルを一つのアーカイブにバックアップします。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="59"/>
        <source>Check a backup: every entry against its manifest.</source>
        <translation>バックアップを検査します: すべての項目を目録と照合します。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="62"/>
        <source>Restore a backup into the handset, showing first what changes.</source>
        <translation>バックアップを携帯電話に復元します。先に何が変わるかを示します。</translation>
    </message>
    <message>
        <location filename="../src/cli/Command.cpp" line="65"/>
        <source>List the handset&apos;s bookmark lists kept before each export.</source>
        <translation>書き出しの前に保存した携帯電話のブックマークリストを一覧表示します。</translation>
    </message>
    <message>
        <location filename="../src/cli/TerminalIo.cpp" line="60"/>
        <source>Stopping… (press Ctrl-C again to quit at once)</source>
        <translation>停止しています…(すぐに終了するには、もう一度 Ctrl-C を押してください)</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="27"/>
        <source>The archive to write (default: the handset&apos;s name and the time, in this folder).</source>
        <translation>書き込むアーカイブ (省略時: このフォルダに、携帯電話の名前と時刻の名前で)。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="40"/>
        <location filename="../src/cli/BackupCommands.cpp" line="45"/>
        <source>Couldn&apos;t back up the AIR-EDGE PHONE.</source>
        <translation>AIR-EDGE PHONE をバックアップできませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="56"/>
        <source>Backed up %1 bookmarks and %2 files (%3) to %4.</source>
        <translation>%1 件のブックマークと %2 個のファイル (%3) を %4 にバックアップしました。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="65"/>
        <source>The backup to check.</source>
        <translation>検査するバックアップ。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="85"/>
        <source>%1: a backup of the %2 made %3: %4 bookmarks, %5 files (%6); every file matches its checksum.</source>
        <translation>%1: %3 に作成した %2 のバックアップ: ブックマーク %4 件、ファイル %5 個 (%6)。すべてのファイルがチェックサムと一致します。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="96"/>
        <source>%1 is not a sound backup.</source>
        <translation>%1 は正しいバックアップではありません。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="105"/>
        <source>The backup to restore.</source>
        <translation>復元するバックアップ。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="106"/>
        <source>Restore the bookmarks only.</source>
        <translation>ブックマークだけを復元します。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="107"/>
        <source>Restore the files only.</source>
        <translation>ファイルだけを復元します。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="108"/>
        <source>Show what would change and write nothing.</source>
        <translation>何が変わるかを示し、何も書き込みません。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="109"/>
        <source>Also upload the files the handset already holds.</source>
        <translation>携帯電話にすでにあるファイルも送信します。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="110"/>
        <source>Restore without asking for confirmation.</source>
        <translation>確認せずに復元します。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="117"/>
        <source>Give --bookmarks-only or --files-only, not both.</source>
        <translation>--bookmarks-only か --files-only のどちらか一方を指定してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="129"/>
        <source>%1 is not a sound backup; nothing was restored.</source>
        <translation>%1 は正しいバックアップではありません。何も復元していません。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="137"/>
        <source>Couldn&apos;t read what the AIR-EDGE PHONE holds.</source>
        <translation>AIR-EDGE PHONE の内容を読み込めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="154"/>
        <source>Not restoring without confirmation: give --yes to write into the AIR-EDGE PHONE.</source>
        <translation>確認なしでは復元しません: AIR-EDGE PHONE に書き込むには --yes を指定してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="157"/>
        <source>The AIR-EDGE PHONE will be changed as listed above. Are you sure you want to restore?</source>
        <translation>AIR-EDGE PHONE は上のとおりに変更されます。復元してもよろしいですか?</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="159"/>
        <source>All bookmarks in the AIR-EDGE PHONE will be replaced by those of the backup.</source>
        <translation>AIR-EDGE PHONE のブックマークはすべてバックアップのものに置き換わります。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="160"/>
        <source>The files are uploaded; the bookmarks stay as they are.</source>
        <translation>ファイルを送信します。ブックマークはそのままです。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="161"/>
        <source>Restore</source>
        <translation>復元</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="162"/>
        <source>Not restored.</source>
        <translation>復元しませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="167"/>
        <source>Couldn&apos;t restore the backup.</source>
        <translation>バックアップを復元できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="174"/>
        <source>%1 of %2 files reached the AIR-EDGE PHONE: %3</source>
        <translation>%2 個のうち %1 個のファイルが AIR-EDGE PHONE に届きました: %3</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="177"/>
        <source>none</source>
        <translation>なし</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="180"/>
        <source>Restored %1 bookmarks and %2 files.</source>
        <translation>%1 件のブックマークと %2 個のファイルを復元しました。</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="204"/>
        <source>%1 bookmarks</source>
        <translation>ブックマーク %1 件</translation>
    </message>
    <message>
        <location filename="../src/cli/BackupCommands.cpp" line="207"/>
        <source>No lists are kept yet: each export keeps the list the AIR-EDGE PHONE held before it.</source>
        <translation>保存されたリストはまだありません: 書き出すたびに、その前に AIR-EDGE PHONE にあったリストを保存します。</translation>
    </message>
</context>
<context>
    <name>DocumentCommands</name>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="75"/>
        <source>The current editing bookmarks will be completely deleted. Are you sure you want to import ?</source>
        <translation>編集中のブックマークはすべて削除されます。読み込んでもよろしいですか?</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="76"/>
        <source>If you select to import then all bookmarks on the current editing will be lost.</source>
        <translation>読み込むと、編集中のブックマークはすべて失われます。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="76"/>
        <source>Import</source>
        <translation>読み込む</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="291"/>
        <source>The import was cancelled; the document is unchanged.</source>
        <translation>読み込みを中止しました。書類は変更されていません。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="59"/>
        <location filename="../src/commands/DocumentCommands.cpp" line="298"/>
        <source>Couldn&apos;t import the bookmarks.</source>
        <translation>ブックマークを読み込めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="60"/>
        <source>The connection test stopped at the driver.</source>
        <translation>接続テストはドライバの確認で止まりました。</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/commands/DocumentCommands.cpp" line="117"/>
        <source>Replaced the characters the AIR-EDGE PHONE cannot show in %n bookmark(s).</source>
        <translation>
            <numerusform>%n 件のブックマークで、AIR-EDGE PHONE で表示できない文字を置き換えました。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="171"/>
        <source>Replace Unsupported Characters</source>
        <translation>表示できない文字を置き換える</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="194"/>
        <source>The AIR-EDGE PHONE is ready.</source>
        <translation>AIR-EDGE PHONE を使用できます。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="195"/>
        <source>The driver is there, the port %1 opened and the AIR-EDGE PHONE shows its top screen.</source>
        <translation>ドライバがあり、ポート %1 を開くことができ、AIR-EDGE PHONE は待受画面になっています。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="201"/>
        <source>The connection test was cancelled.</source>
        <translation>接続テストを中止しました。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="205"/>
        <source>The connection test stopped at the port.</source>
        <translation>接続テストはポートの確認で止まりました。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="207"/>
        <source>Plug in the AIR-EDGE PHONE with its data cable, or choose its port in Handset &gt; Device.</source>
        <translation>AIR-EDGE PHONE をデータケーブルで接続するか、「端末 &gt; デバイス」でポートを選んでください。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="210"/>
        <source>The connection test stopped at the top screen.</source>
        <translation>接続テストは待受画面の確認で止まりました。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="212"/>
        <source>Go back to the top screen of the AIR-EDGE PHONE and test again.</source>
        <translation>AIR-EDGE PHONE を待受画面に戻してから、もう一度テストしてください。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="295"/>
        <source>The export was cancelled; the AIR-EDGE PHONE is unchanged.</source>
        <translation>書き出しを中止しました。AIR-EDGE PHONE は変わっていません。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="299"/>
        <source>Couldn&apos;t read the bookmarks in the AIR-EDGE PHONE before the export; nothing was exported.</source>
        <translation>書き出しの前に AIR-EDGE PHONE のブックマークを読み込めませんでした。何も書き出していません。</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/commands/DocumentCommands.cpp" line="312"/>
        <source>Exported %n bookmark(s) to the AIR-EDGE PHONE.</source>
        <translation>
            <numerusform>%n 件のブックマークを AIR-EDGE PHONE に書き出しました。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="322"/>
        <source>Couldn&apos;t keep the bookmarks the AIR-EDGE PHONE holds; nothing was exported.</source>
        <translation>AIR-EDGE PHONE のブックマークを保存できませんでした。何も書き出していません。</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/commands/DocumentCommands.cpp" line="330"/>
        <source>and %n more</source>
        <translation>
            <numerusform>ほか %n 件</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="332"/>
        <source>Changes: %1</source>
        <translation>変更: %1</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="335"/>
        <source>The list the AIR-EDGE PHONE holds now is kept: Handset &gt; Restore Previous Bookmarks puts it back.</source>
        <translation>いま AIR-EDGE PHONE にあるリストは保存されます: 「携帯電話 &gt; 以前のブックマークを復元」で元に戻せます。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="340"/>
        <source>Some bookmarks were left out.</source>
        <translation>一部のブックマークは入りませんでした。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="341"/>
        <source>Import from AIR-EDGE PHONE</source>
        <translation>AIR-EDGE PHONE から読み込む</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="344"/>
        <source>Some bookmarks could not be read.</source>
        <translation>一部のブックマークを読めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="345"/>
        <source>%1 of the %2 bookmarks in the AIR-EDGE PHONE could not be read and were left out.</source>
        <translation>AIR-EDGE PHONE のブックマーク %2 件のうち %1 件は読めなかったため、読み込みませんでした。</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/commands/DocumentCommands.cpp" line="350"/>
        <source>Imported %n bookmark(s) from the AIR-EDGE PHONE.</source>
        <translation>
            <numerusform>AIR-EDGE PHONE から %n 件のブックマークを読み込みました。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="143"/>
        <source>The bookmarks in the AIR-EDGE PHONE will be completely deleted. Are you sure you want to export ?</source>
        <translation>AIR-EDGE PHONE 内のブックマークはすべて削除されます。書き出してもよろしいですか?</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="140"/>
        <source>If you select to export then all bookmarks in the AIR-EDGE PHONE will be lost.</source>
        <translation>書き出すと、AIR-EDGE PHONE 内のブックマークはすべて失われます。</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="145"/>
        <source>Export</source>
        <translation>書き出す</translation>
    </message>
    <message>
        <location filename="../src/commands/DocumentCommands.cpp" line="61"/>
        <location filename="../src/commands/DocumentCommands.cpp" line="301"/>
        <source>Couldn&apos;t export the bookmarks.</source>
        <translation>ブックマークを書き出せませんでした。</translation>
    </message>
</context>
<context>
    <name>DocumentWindow</name>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="197"/>
        <source>Not every bookmark was added.</source>
        <translation>追加できなかったブックマークがあります。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="200"/>
        <source>The memory number was not changed.</source>
        <translation>メモリ番号は変更されませんでした。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="291"/>
        <source>Save Protocol Log</source>
        <translation>通信ログを保存</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="292"/>
        <source>Logs (*.log *.txt);;All files (*)</source>
        <translation>ログ (*.log *.txt);;すべてのファイル (*)</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="297"/>
        <source>Import Browser Bookmarks</source>
        <translation>ブラウザのブックマークを読み込む</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="298"/>
        <source>Bookmark files (*.html *.htm);;All files (*)</source>
        <translation>ブックマークファイル (*.html *.htm);;すべてのファイル (*)</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="304"/>
        <source>Export Browser Bookmarks</source>
        <translation>ブラウザ用にブックマークを書き出す</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="305"/>
        <source>Bookmark files (*.html *.htm)</source>
        <translation>ブックマークファイル (*.html *.htm)</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="340"/>
        <source>Clear Menu</source>
        <translation>メニューを消去</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="349"/>
        <source>&amp;Help</source>
        <translation>ヘルプ(&amp;H)</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="361"/>
        <source>About EdgeMarks</source>
        <translation>EdgeMarks について</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="362"/>
        <source>&lt;h3&gt;EdgeMarks %1&lt;/h3&gt;</source>
        <translation>&lt;h3&gt;EdgeMarks %1&lt;/h3&gt;</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/app/DocumentWindow.cpp" line="192"/>
        <source>%n bookmark(s) went to folder &quot;%1&quot;.</source>
        <translation>
            <numerusform>%n 件のブックマークをフォルダ「%1」に入れました。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="319"/>
        <source>Files...</source>
        <translation>ファイル...</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="320"/>
        <source>Back Up...</source>
        <translation>バックアップ...</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="321"/>
        <source>Restore...</source>
        <translation>復元...</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="322"/>
        <source>Restore Previous Bookmarks...</source>
        <translation>以前のブックマークを復元...</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="351"/>
        <source>EdgeMarks &amp;Manual</source>
        <translation>EdgeMarks マニュアル(&amp;M)</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="354"/>
        <source>&amp;About EdgeMarks</source>
        <translation>EdgeMarks について(&amp;A)</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="367"/>
        <source>&lt;p&gt;The bookmark editor for the AH-K3001V handset (&quot;AIR-EDGE PHONE&quot;).&lt;/p&gt;&lt;p&gt;Released under the MIT licence. Built with Qt %1, running on Qt %2.&lt;/p&gt;&lt;p&gt;The manual: Help &amp;gt; EdgeMarks Manual (F1), or &lt;tt&gt;man&amp;nbsp;edgemarks&lt;/tt&gt;, &lt;tt&gt;man&amp;nbsp;edgemarks-cli&lt;/tt&gt;.&lt;/p&gt;</source>
        <translation>&lt;p&gt;AH-K3001V (「AIR-EDGE PHONE」) のブックマークエディタです。&lt;/p&gt;&lt;p&gt;MIT ライセンスで配布しています。Qt %1 でビルド、Qt %2 で実行中です。&lt;/p&gt;&lt;p&gt;マニュアル: ヘルプ &amp;gt; EdgeMarks マニュアル (F1)、または &lt;tt&gt;man&amp;nbsp;edgemarks&lt;/tt&gt;、&lt;tt&gt;man&amp;nbsp;edgemarks-cli&lt;/tt&gt;。&lt;/p&gt;</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="423"/>
        <source>Find Automatically</source>
        <translation>自動的に探す</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="424"/>
        <source>The Simulated AIR-EDGE PHONE</source>
        <translation>シミュレータの AIR-EDGE PHONE</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="425"/>
        <source>As Started (%1)</source>
        <translation>起動時の指定 (%1)</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="438"/>
        <source>(no permission)</source>
        <translation>(権限なし)</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="446"/>
        <source>Other...</source>
        <translation>その他...</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="454"/>
        <source>Other Device</source>
        <translation>その他のデバイス</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="455"/>
        <source>The serial device of the AIR-EDGE PHONE:</source>
        <translation>AIR-EDGE PHONE のシリアルデバイス:</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="480"/>
        <source>The protocol log could not be saved.</source>
        <translation>通信ログを保存できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="483"/>
        <source>Saved the protocol log to %1.</source>
        <translation>通信ログを %1 に保存しました。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="493"/>
        <source>The bookmark file &quot;%1&quot; could not be read.</source>
        <translation>ブックマークファイル“%1”を読み込めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="501"/>
        <source>Import Bookmarks</source>
        <translation>ブックマークの読み込み</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/app/DocumentWindow.cpp" line="502"/>
        <source>Imported %n bookmark(s).</source>
        <translation>
            <numerusform>%n 件のブックマークを読み込みました。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="517"/>
        <source>The bookmark file &quot;%1&quot; could not be written.</source>
        <translation>ブックマークファイル“%1”に書き込めませんでした。</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/app/DocumentWindow.cpp" line="520"/>
        <source>Exported %n bookmark(s) to %1.</source>
        <translation>
            <numerusform>%n 件のブックマークを %1 に書き出しました。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="559"/>
        <source>%1[*] — EdgeMarks</source>
        <translation>%1[*] — EdgeMarks</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="571"/>
        <source>The AIR-EDGE PHONE holds at most %1 bookmarks: delete some to add more.</source>
        <translation>AIR-EDGE PHONE に登録できるのは %1 件までです。追加するには、いくつか削除してください。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="573"/>
        <source>Select the bookmarks first.</source>
        <translation>先にブックマークを選択してください。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="606"/>
        <source>Save As</source>
        <translation>別名で保存</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="640"/>
        <source>&quot;%1&quot; already exists. Do you want to replace it?</source>
        <translation>「%1」はすでにあります。置き換えますか?</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="644"/>
        <source>A file with the same name already exists in &quot;%1&quot;. Replacing it will overwrite its contents.</source>
        <translation>「%1」に同じ名前のファイルがすでにあります。置き換えると、その内容は上書きされます。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="646"/>
        <source>Replace</source>
        <translation>置き換える</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="657"/>
        <source>The document &quot;%1&quot; could not be saved.</source>
        <translation>書類 “%1” を保存できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="673"/>
        <source>Do you want to revert to the most recently saved version of &quot;%1&quot;?</source>
        <translation>“%1” を最後に保存した状態に戻しますか?</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="674"/>
        <source>Your current changes will be lost.</source>
        <translation>現在の変更は失われます。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="675"/>
        <source>Revert</source>
        <translation>戻す</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="682"/>
        <source>The document &quot;%1&quot; could not be reverted.</source>
        <translation>書類 “%1” を元に戻せませんでした。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="692"/>
        <source>Do you want to save the changes you made in the document &quot;%1&quot;?</source>
        <translation>書類 “%1” への変更を保存しますか?</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="695"/>
        <source>Your changes will be lost if you don&apos;t save them.</source>
        <translation>保存しないと変更は失われます。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="696"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="697"/>
        <source>Don&apos;t Save</source>
        <translation>保存しない</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="647"/>
        <location filename="../src/app/DocumentWindow.cpp" line="745"/>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>DriverCheck</name>
    <message>
        <location filename="../src/handset/DriverCheck.cpp" line="112"/>
        <source>USB modem driver of the Linux kernel (cdc_acm)</source>
        <translation>Linux カーネルの USB モデムドライバ (cdc_acm)</translation>
    </message>
    <message>
        <location filename="../src/handset/DriverCheck.cpp" line="113"/>
        <source>AH-K3001V USB Driver %1.%2</source>
        <translation>AH-K3001V USB ドライバ %1.%2</translation>
    </message>
    <message>
        <location filename="../src/handset/DriverCheck.cpp" line="118"/>
        <source>The %1 wasn&apos;t found; the AIR-EDGE PHONE cannot be used without it.</source>
        <translation>%1 が見つかりません。これがないと AIR-EDGE PHONE は使えません。</translation>
    </message>
    <message>
        <location filename="../src/handset/DriverCheck.cpp" line="129"/>
        <source>The running kernel has no cdc_acm module (looked for in /sys and %1). Install the modules of the running kernel (on Debian, its linux-image package) and load the driver with &quot;sudo modprobe cdc_acm&quot;.</source>
        <translation>実行中のカーネルに cdc_acm モジュールがありません (/sys と %1 を確認しました)。実行中のカーネルのモジュール (Debian ではその linux-image パッケージ) をインストールし、&quot;sudo modprobe cdc_acm&quot; でドライバを読み込んでください。</translation>
    </message>
    <message>
        <location filename="../src/handset/DriverCheck.cpp" line="135"/>
        <source>%1 The application will now quit.</source>
        <translation>%1アプリケーションを終了します。</translation>
    </message>
    <message>
        <location filename="../src/handset/DriverCheck.cpp" line="140"/>
        <source>You need to install the %1 or later.</source>
        <translation>%1 以降をインストールしてください。</translation>
    </message>
    <message>
        <location filename="../src/handset/DriverCheck.cpp" line="142"/>
        <source>You need to install the %1 or later. The application will be quited.</source>
        <translation>%1 以降をインストールしてください。アプリケーションを終了します。</translation>
    </message>
</context>
<context>
    <name>EdgeMarksApp</name>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="101"/>
        <source>An AIR-EDGE PHONE was connected at %1.</source>
        <translation>AIR-EDGE PHONE が %1 に接続されました。</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="102"/>
        <source>An AIR-EDGE PHONE was connected at %1, but you may not use it: install the udev rule that comes with EdgeMarks.</source>
        <translation>AIR-EDGE PHONE が %1 に接続されましたが、使用する権限がありません。EdgeMarks に付属の udev ルールをインストールしてください。</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="108"/>
        <source>The AIR-EDGE PHONE at %1 was disconnected.</source>
        <translation>%1 の AIR-EDGE PHONE が取り外されました。</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="146"/>
        <source>Simulated AIR-EDGE PHONE (password %1)</source>
        <translation>シミュレーションの AIR-EDGE PHONE (パスワード %1)</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="149"/>
        <source>No driver for the AIR-EDGE PHONE</source>
        <translation>AIR-EDGE PHONE のドライバがありません</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="151"/>
        <source>No AIR-EDGE PHONE connected</source>
        <translation>AIR-EDGE PHONE は接続されていません</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="152"/>
        <source>AIR-EDGE PHONE: %1</source>
        <translation>AIR-EDGE PHONE: %1</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="166"/>
        <source>EdgeMarks documents (*.%1);;All files (*)</source>
        <translation>EdgeMarks 書類 (*.%1);;すべてのファイル (*)</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="233"/>
        <source>untitled</source>
        <translation>名称未設定</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="233"/>
        <source>untitled %1</source>
        <translation>名称未設定 %1</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="262"/>
        <source>EdgeMarks</source>
        <translation>EdgeMarks</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="263"/>
        <source>The document &quot;%1&quot; could not be opened.</source>
        <translation>書類 “%1” を開けませんでした。</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="278"/>
        <source>Open</source>
        <translation>開く</translation>
    </message>
</context>
<context>
    <name>FindingsSheet</name>
    <message>
        <location filename="../src/sheets/FindingsSheet.cpp" line="16"/>
        <source>AIR-EDGE PHONE</source>
        <translation>AIR-EDGE PHONE</translation>
    </message>
    <message>
        <location filename="../src/sheets/FindingsSheet.cpp" line="18"/>
        <source>The AIR-EDGE PHONE cannot take this document as it is.</source>
        <translation>この書類はこのままでは AIR-EDGE PHONE に登録できません。</translation>
    </message>
    <message>
        <location filename="../src/sheets/FindingsSheet.cpp" line="23"/>
        <source>Select a line to see its bookmark. Correct them, or export anyway.</source>
        <translation>行を選ぶとそのブックマークを表示します。直すか、このまま書き出してください。</translation>
    </message>
    <message>
        <location filename="../src/sheets/FindingsSheet.cpp" line="24"/>
        <source>Select a line to see its bookmark. Correct them before exporting.</source>
        <translation>行を選ぶとそのブックマークを表示します。書き出す前に直してください。</translation>
    </message>
    <message>
        <location filename="../src/sheets/FindingsSheet.cpp" line="54"/>
        <source>Replace Unsupported Characters</source>
        <translation>表示できない文字を置き換える</translation>
    </message>
    <message>
        <location filename="../src/sheets/FindingsSheet.cpp" line="59"/>
        <source>Export Anyway</source>
        <translation>このまま書き出す</translation>
    </message>
</context>
<context>
    <name>FolderController</name>
    <message>
        <location filename="../src/controllers/FolderController.cpp" line="66"/>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <location filename="../src/controllers/FolderController.cpp" line="85"/>
        <source>Folder</source>
        <translation>フォルダ</translation>
    </message>
    <message>
        <location filename="../src/controllers/FolderController.cpp" line="150"/>
        <source>Move</source>
        <translation>移動</translation>
    </message>
</context>
<context>
    <name>HandsetBackup</name>
    <message>
        <location filename="../src/commands/HandsetBackup.cpp" line="84"/>
        <source>The backup read back differs from what was written; the old backup is kept.</source>
        <translation>読み戻したバックアップが書き込んだ内容と異なります。以前のバックアップはそのままです。</translation>
    </message>
</context>
<context>
    <name>HandsetCheck</name>
    <message>
        <location filename="../src/handset/HandsetCheck.cpp" line="20"/>
        <source>“%1” (memory %2, folder %3)</source>
        <translation>「%1」(メモリ %2、フォルダ %3)</translation>
    </message>
    <message>
        <location filename="../src/handset/HandsetCheck.cpp" line="175"/>
        <source>The list holds %1 bookmarks; the AIR-EDGE PHONE holds at most %2.</source>
        <translation>ブックマークが %1 件あります。AIR-EDGE PHONE には %2 件までしか登録できません。</translation>
    </message>
    <message>
        <location filename="../src/handset/HandsetCheck.cpp" line="61"/>
        <source>%1 is in folder %2, which the AIR-EDGE PHONE does not have (0 to 19): it would not be sent.</source>
        <translation>%1 は AIR-EDGE PHONE にないフォルダ %2 にあります (0 から 19 まで)。送られません。</translation>
    </message>
    <message>
        <location filename="../src/handset/HandsetCheck.cpp" line="66"/>
        <source>%1 has memory number %2; the AIR-EDGE PHONE takes 0 to 99.</source>
        <translation>%1 のメモリ番号は %2 です。AIR-EDGE PHONE は 0 から 99 までです。</translation>
    </message>
    <message>
        <location filename="../src/handset/HandsetCheck.cpp" line="71"/>
        <source>%1 has the memory number of “%2”.</source>
        <translation>%1 のメモリ番号は「%2」と同じです。</translation>
    </message>
    <message>
        <location filename="../src/handset/HandsetCheck.cpp" line="75"/>
        <source>%1 has characters in its name that the AIR-EDGE PHONE cannot show: the name would be sent empty.</source>
        <translation>%1 の名前には AIR-EDGE PHONE で表示できない文字があります。名前は空で送られます。</translation>
    </message>
    <message>
        <location filename="../src/handset/HandsetCheck.cpp" line="80"/>
        <source>%1 has a name that would come back changed from the AIR-EDGE PHONE.</source>
        <translation>%1 の名前は AIR-EDGE PHONE から読み込むと変わってしまいます。</translation>
    </message>
    <message>
        <location filename="../src/handset/HandsetCheck.cpp" line="84"/>
        <source>%1 has characters in its location that the AIR-EDGE PHONE cannot take: the location would be sent empty.</source>
        <translation>%1 の URL には AIR-EDGE PHONE が扱えない文字があります。URL は空で送られます。</translation>
    </message>
    <message>
        <location filename="../src/handset/HandsetCheck.cpp" line="89"/>
        <source>%1 has a location that would come back changed from the AIR-EDGE PHONE.</source>
        <translation>%1 の URL は AIR-EDGE PHONE から読み込むと変わってしまいます。</translation>
    </message>
    <message>
        <location filename="../src/handset/HandsetCheck.cpp" line="93"/>
        <source>%1 has a name and location of %2 bytes; one entry carries at most %3.</source>
        <translation>%1 の名前と URL は %2 バイトあります。1 件は %3 バイトまでです。</translation>
    </message>
</context>
<context>
    <name>HandsetFilesWindow</name>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="121"/>
        <source>Files on the AIR-EDGE PHONE</source>
        <translation>AIR-EDGE PHONE のファイル</translation>
    </message>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="128"/>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="128"/>
        <source>Type</source>
        <translation>種類</translation>
    </message>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="128"/>
        <source>Size</source>
        <translation>サイズ</translation>
    </message>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="128"/>
        <source>Date</source>
        <translation>日付</translation>
    </message>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="138"/>
        <source>Refresh</source>
        <translation>再読み込み</translation>
    </message>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="139"/>
        <source>Save To...</source>
        <translation>保存先...</translation>
    </message>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="140"/>
        <source>Add Files...</source>
        <translation>ファイルを追加...</translation>
    </message>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="161"/>
        <source>Save To</source>
        <translation>保存先</translation>
    </message>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="166"/>
        <source>Add Files</source>
        <translation>ファイルを追加</translation>
    </message>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="202"/>
        <source>The file list was not read.</source>
        <translation>ファイルの一覧を読み込みませんでした。</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/app/HandsetFilesWindow.cpp" line="209"/>
        <source>%n file(s) on the AIR-EDGE PHONE.</source>
        <translation>
            <numerusform>AIR-EDGE PHONE のファイル: %n 個。</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../src/app/HandsetFilesWindow.cpp" line="264"/>
        <source>%n file(s) saved to %1</source>
        <translation>
            <numerusform>%n 個のファイルを %1 に保存しました</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../src/app/HandsetFilesWindow.cpp" line="266"/>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="399"/>
        <source>; %n cancelled</source>
        <translation>
            <numerusform>、%n 個は中止しました</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../src/app/HandsetFilesWindow.cpp" line="268"/>
        <source>; %n not saved: %1</source>
        <translation>
            <numerusform>、%n 個は保存できませんでした: %1</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="288"/>
        <source>Replace the files?</source>
        <translation>ファイルを置き換えますか?</translation>
    </message>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="289"/>
        <source>%1 already holds %2. Replace them?</source>
        <translation>%1 にはすでに %2 があります。置き換えますか?</translation>
    </message>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="379"/>
        <source>Replace the file?</source>
        <translation>ファイルを置き換えますか?</translation>
    </message>
    <message>
        <location filename="../src/app/HandsetFilesWindow.cpp" line="380"/>
        <source>The AIR-EDGE PHONE already holds %1. Replace it?</source>
        <translation>AIR-EDGE PHONE にはすでに %1 があります。置き換えますか?</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/app/HandsetFilesWindow.cpp" line="397"/>
        <source>%n file(s) sent to the AIR-EDGE PHONE</source>
        <translation>
            <numerusform>%n 個のファイルを AIR-EDGE PHONE に送信しました</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <location filename="../src/app/HandsetFilesWindow.cpp" line="401"/>
        <source>; %n not sent: %1</source>
        <translation>
            <numerusform>、%n 個は送信できませんでした: %1</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>HelpWindow</name>
    <message>
        <location filename="../src/app/HelpWindow.cpp" line="13"/>
        <source>EdgeMarks Manual</source>
        <translation>EdgeMarks マニュアル</translation>
    </message>
</context>
<context>
    <name>MemoryNumberFormatter</name>
    <message>
        <location filename="../src/controllers/MemoryNumberFormatter.cpp" line="30"/>
        <source>Enter a whole number from 0 to 99.</source>
        <translation>0 から 99 の整数を入力してください。</translation>
    </message>
    <message>
        <location filename="../src/controllers/MemoryNumberFormatter.cpp" line="35"/>
        <source>The memory number must be from 0 to 99.</source>
        <translation>メモリ番号は 0 から 99 にしてください。</translation>
    </message>
    <message>
        <location filename="../src/controllers/MemoryNumberFormatter.cpp" line="45"/>
        <source>The same memory number has been used.</source>
        <translation>同じメモリ番号が既に使われています。</translation>
    </message>
    <message>
        <location filename="../src/controllers/MemoryNumberFormatter.cpp" line="51"/>
        <source>“%1” in folder %2 has it.</source>
        <translation>フォルダ %2 の「%1」が使っています。</translation>
    </message>
</context>
<context>
    <name>MyDocument</name>
    <message>
        <location filename="../src/app/MyDocument.ui" line="14"/>
        <source>untitled[*]</source>
        <translation>名称未設定[*]</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="76"/>
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="79"/>
        <source>Add a bookmark at the end of the folder</source>
        <translation>フォルダの最後にブックマークを追加します</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="86"/>
        <source>Insert</source>
        <translation>挿入</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="89"/>
        <source>Insert a bookmark above the selection</source>
        <translation>選択位置の上にブックマークを挿入します</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="96"/>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="99"/>
        <source>Delete the selected bookmarks</source>
        <translation>選択したブックマークを削除します</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="106"/>
        <location filename="../src/document/MyDocument.cpp" line="408"/>
        <source>Renumber</source>
        <translation>番号の振り直し</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="109"/>
        <source>Give every bookmark the memory number of its place in the list</source>
        <translation>すべてのブックマークに一覧の順番どおりのメモリ番号を付けます</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="123"/>
        <source>Import...</source>
        <translation>読み込み...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="126"/>
        <source>Read the bookmarks of the AIR-EDGE PHONE into this document</source>
        <translation>AIR-EDGE PHONE のブックマークをこの書類に読み込みます</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="133"/>
        <source>Export...</source>
        <translation>書き出し...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="136"/>
        <source>Write this document&apos;s bookmarks into the AIR-EDGE PHONE</source>
        <translation>この書類のブックマークを AIR-EDGE PHONE に書き込みます</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="147"/>
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="153"/>
        <source>Open &amp;Recent</source>
        <translation>最近使った書類(&amp;R)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="170"/>
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="184"/>
        <source>&amp;Bookmarks</source>
        <translation>ブックマーク(&amp;B)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="197"/>
        <source>&amp;Device</source>
        <translation>デバイス(&amp;D)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="215"/>
        <source>&amp;New</source>
        <translation>新規(&amp;N)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="220"/>
        <source>&amp;Open...</source>
        <translation>開く(&amp;O)...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="225"/>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="230"/>
        <source>Save &amp;As...</source>
        <translation>別名で保存(&amp;A)...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="193"/>
        <source>Hand&amp;set</source>
        <translation>端末(&amp;S)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="235"/>
        <source>&amp;Import Browser Bookmarks...</source>
        <translation>ブラウザのブックマークを読み込む(&amp;I)...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="240"/>
        <source>E&amp;xport Browser Bookmarks...</source>
        <translation>ブラウザ用にブックマークを書き出す(&amp;X)...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="245"/>
        <source>Re&amp;vert to Saved</source>
        <translation>保存した状態に戻す(&amp;V)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="250"/>
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="255"/>
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="260"/>
        <source>&amp;Undo</source>
        <translation>取り消す(&amp;U)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="265"/>
        <source>&amp;Redo</source>
        <translation>やり直す(&amp;R)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="270"/>
        <source>Cu&amp;t</source>
        <translation>カット(&amp;T)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="275"/>
        <source>&amp;Copy</source>
        <translation>コピー(&amp;C)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="280"/>
        <source>&amp;Paste</source>
        <translation>ペースト(&amp;P)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="285"/>
        <source>&amp;Delete</source>
        <translation>削除(&amp;D)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="290"/>
        <source>Select &amp;All</source>
        <translation>すべてを選択(&amp;A)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="295"/>
        <source>&amp;Add Bookmark</source>
        <translation>ブックマークを追加(&amp;A)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="298"/>
        <source>Ctrl+Shift+N</source>
        <translation>Ctrl+Shift+N</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="303"/>
        <source>&amp;Insert Bookmark</source>
        <translation>ブックマークを挿入(&amp;I)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="306"/>
        <source>Ctrl+I</source>
        <translation>Ctrl+I</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="311"/>
        <source>&amp;Renumber</source>
        <translation>番号を振り直す(&amp;R)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="314"/>
        <source>Ctrl+R</source>
        <translation>Ctrl+R</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="319"/>
        <source>&amp;Import from AIR-EDGE PHONE...</source>
        <translation>AIR-EDGE PHONE から読み込む(&amp;I)...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="322"/>
        <source>Ctrl+Shift+I</source>
        <translation>Ctrl+Shift+I</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="327"/>
        <source>&amp;Test Connection</source>
        <translation>接続をテスト(&amp;T)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="332"/>
        <source>Save &amp;Protocol Log...</source>
        <translation>通信ログを保存(&amp;P)...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="337"/>
        <source>&amp;Export to AIR-EDGE PHONE...</source>
        <translation>AIR-EDGE PHONE へ書き出す(&amp;E)...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="340"/>
        <source>Ctrl+Shift+E</source>
        <translation>Ctrl+Shift+E</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="244"/>
        <source>Insert Bookmark</source>
        <translation>ブックマークの挿入</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="278"/>
        <source>Delete Bookmark</source>
        <translation>ブックマークの削除</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="291"/>
        <source>Move</source>
        <translation>移動</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="320"/>
        <source>Rename Folder</source>
        <translation>フォルダ名の変更</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="370"/>
        <source>Edit</source>
        <translation>編集</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="473"/>
        <location filename="../src/document/MyDocument.cpp" line="483"/>
        <location filename="../src/document/MyDocument.cpp" line="487"/>
        <source>The file does not hold a bookmark list and a folder list.</source>
        <translation>ファイルにブックマークの一覧とフォルダの一覧がありません。</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="493"/>
        <source>The bookmark list holds something other than bookmarks.</source>
        <translation>ブックマークの一覧にブックマーク以外のものがあります。</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="476"/>
        <location filename="../src/document/MyDocument.cpp" line="500"/>
        <source>The folder list holds something other than names.</source>
        <translation>フォルダの一覧に名前以外のものがあります。</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/document/MyDocument.cpp" line="145"/>
        <source>%n bookmark(s) were left out: the AIR-EDGE PHONE holds at most 100.</source>
        <translation>
            <numerusform>%n 件のブックマークは入りませんでした。AIR-EDGE PHONE には 100 件までしか登録できません。</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="160"/>
        <source>The archive could not be encoded.</source>
        <translation>アーカイブを作成できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="412"/>
        <source>The archive refers to an object that does not exist.</source>
        <translation>アーカイブが存在しないオブジェクトを参照しています。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="433"/>
        <location filename="../src/document/KeyedArchive.cpp" line="570"/>
        <source>An archived object has no class reference.</source>
        <translation>アーカイブ内のオブジェクトにクラスの参照がありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="439"/>
        <source>An archived class description is not a dictionary.</source>
        <translation>アーカイブ内のクラス情報が辞書ではありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="443"/>
        <source>An archived class has no name.</source>
        <translation>アーカイブ内のクラスに名前がありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="469"/>
        <source>An archived collection has no member list.</source>
        <translation>アーカイブ内のコレクションに要素の一覧がありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="508"/>
        <location filename="../src/document/KeyedArchive.cpp" line="531"/>
        <source>The archive nests objects too deeply.</source>
        <translation>アーカイブの入れ子が深すぎます。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="421"/>
        <location filename="../src/document/KeyedArchive.cpp" line="515"/>
        <source>The archive holds a value of an unknown kind.</source>
        <translation>アーカイブに不明な種類の値があります。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="529"/>
        <source>The archive holds an object that contains itself.</source>
        <translation>アーカイブに自分自身を含むオブジェクトがあります。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="544"/>
        <source>An archived string holds no text.</source>
        <translation>アーカイブ内の文字列に内容がありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="555"/>
        <source>An archived dictionary does not have as many keys as values.</source>
        <translation>アーカイブ内の辞書のキーと値の数が合いません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="596"/>
        <location filename="../src/document/KeyedArchive.cpp" line="601"/>
        <location filename="../src/document/KeyedArchive.cpp" line="605"/>
        <source>The file is not a keyed archive.</source>
        <translation>ファイルがキー付きアーカイブではありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="609"/>
        <source>The keyed archive has an unknown version.</source>
        <translation>キー付きアーカイブのバージョンが不明です。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="612"/>
        <source>The keyed archive has no object table.</source>
        <translation>キー付きアーカイブにオブジェクト表がありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="615"/>
        <source>The keyed archive has no top object.</source>
        <translation>キー付きアーカイブに最上位のオブジェクトがありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="644"/>
        <source>The keyed archive&apos;s top object is not a reference.</source>
        <translation>キー付きアーカイブの最上位のオブジェクトが参照ではありません。</translation>
    </message>
    <message>
        <location filename="../src/document/PropertyList.cpp" line="21"/>
        <source>The file is not a document of this kind.</source>
        <translation>このファイルは対応する種類の書類ではありません。</translation>
    </message>
    <message>
        <location filename="../src/document/PropertyList.cpp" line="22"/>
        <source>The file is damaged: parts of it are missing or do not fit together.</source>
        <translation>ファイルが壊れています。一部が欠けているか、つじつまが合いません。</translation>
    </message>
    <message>
        <location filename="../src/document/PropertyList.cpp" line="24"/>
        <source>The file holds data of a kind that EdgeMarks cannot read.</source>
        <translation>ファイルに EdgeMarks が読めない種類のデータが含まれています。</translation>
    </message>
    <message>
        <location filename="../src/document/PropertyList.cpp" line="25"/>
        <source>The file is too large to be read.</source>
        <translation>ファイルが大きすぎて読み込めません。</translation>
    </message>
    <message>
        <location filename="../src/document/PropertyList.cpp" line="26"/>
        <source>The file&apos;s contents are nested too deeply to be read.</source>
        <translation>ファイルの内容の入れ子が深すぎて読み込めません。</translation>
    </message>
    <message>
        <location filename="../src/document/PropertyList.cpp" line="28"/>
        <source>The file holds data of another kind than expected.</source>
        <translation>ファイルに想定と異なる種類のデータが含まれています。</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="574"/>
        <source>The document holds %1 bookmarks; EdgeMarks reads documents of at most %2.</source>
        <translation>書類には %1 件のブックマークがあります。EdgeMarks が読める書類は %2 件までです。</translation>
    </message>
    <message>
        <location filename="../src/document/PropertyList.cpp" line="647"/>
        <source>The property list holds a date outside the years 1 to 9999.</source>
        <translation>プロパティリストに 1 年から 9999 年の範囲外の日付があります。</translation>
    </message>
</context>
<context>
    <name>OutsideFile</name>
    <message>
        <location filename="../src/io/OutsideFile.cpp" line="46"/>
        <source>%1 is a symbolic link that leads round in a loop.</source>
        <translation>%1 は循環しているシンボリックリンクです。</translation>
    </message>
    <message>
        <location filename="../src/io/OutsideFile.cpp" line="48"/>
        <location filename="../src/io/OutsideFile.cpp" line="54"/>
        <source>%1 could not be opened: %2</source>
        <translation>%1 を開けませんでした: %2</translation>
    </message>
    <message>
        <location filename="../src/io/OutsideFile.cpp" line="56"/>
        <source>%1 is a folder, not a file.</source>
        <translation>%1 はファイルではなくフォルダです。</translation>
    </message>
    <message>
        <location filename="../src/io/OutsideFile.cpp" line="58"/>
        <source>%1 is a named pipe, not a file.</source>
        <translation>%1 はファイルではなく名前付きパイプです。</translation>
    </message>
    <message>
        <location filename="../src/io/OutsideFile.cpp" line="60"/>
        <source>%1 is a device, not a file.</source>
        <translation>%1 はファイルではなくデバイスです。</translation>
    </message>
    <message>
        <location filename="../src/io/OutsideFile.cpp" line="62"/>
        <source>%1 is not a file.</source>
        <translation>%1 はファイルではありません。</translation>
    </message>
    <message>
        <location filename="../src/io/OutsideFile.cpp" line="65"/>
        <location filename="../src/io/OutsideFile.cpp" line="102"/>
        <source>%1 is too large: at most %2 are read.</source>
        <translation>%1 は大きすぎます: 読み込めるのは %2 までです。</translation>
    </message>
    <message>
        <location filename="../src/io/OutsideFile.cpp" line="95"/>
        <source>%1 could not be read: %2</source>
        <translation>%1 を読み込めませんでした: %2</translation>
    </message>
</context>
<context>
    <name>PasswordController</name>
    <message>
        <location filename="../src/sheets/PasswordController.cpp" line="35"/>
        <location filename="../src/sheets/PasswordController.cpp" line="126"/>
        <source>AIR-EDGE PHONE Password</source>
        <translation>AIR-EDGE PHONE のパスワード</translation>
    </message>
    <message>
        <location filename="../src/sheets/PasswordController.cpp" line="37"/>
        <source>Enter the password of the AIR-EDGE PHONE.</source>
        <translation>AIR-EDGE PHONE のパスワードを入力してください。</translation>
    </message>
    <message>
        <location filename="../src/sheets/PasswordController.cpp" line="38"/>
        <source>The AIR-EDGE PHONE refused the password.</source>
        <translation>AIR-EDGE PHONE がパスワードを受け付けませんでした。</translation>
    </message>
    <message>
        <location filename="../src/sheets/PasswordController.cpp" line="48"/>
        <source>Save the password in the keychain</source>
        <translation>パスワードをキーチェーンに保存する</translation>
    </message>
    <message>
        <location filename="../src/sheets/PasswordController.cpp" line="127"/>
        <source>The password could not be saved in the keychain.</source>
        <translation>パスワードをキーチェーンに保存できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/sheets/PasswordController.cpp" line="130"/>
        <source>This window remembers it until it closes.</source>
        <translation>このウインドウを閉じるまでは記憶しています。</translation>
    </message>
</context>
<context>
    <name>ProgressController</name>
    <message>
        <location filename="../src/cli/TerminalProgress.cpp" line="19"/>
        <location filename="../src/sheets/ProgressController.cpp" line="105"/>
        <source>Communicating...</source>
        <translation>通信中...</translation>
    </message>
    <message>
        <location filename="../src/sheets/ProgressController.cpp" line="25"/>
        <source>AIR-EDGE PHONE</source>
        <translation>AIR-EDGE PHONE</translation>
    </message>
    <message>
        <location filename="../src/sheets/ProgressController.cpp" line="43"/>
        <source>Cancelling...</source>
        <translation>中止しています...</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="42"/>
        <location filename="../src/document/MyDocument.cpp" line="86"/>
        <source>A bookmark&apos;s %1 is not text.</source>
        <translation>ブックマークの %1 が文字列ではありません。</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="53"/>
        <location filename="../src/document/MyDocument.cpp" line="91"/>
        <source>A bookmark&apos;s %1 is not a whole number.</source>
        <translation>ブックマークの %1 が整数ではありません。</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="55"/>
        <location filename="../src/document/MyDocument.cpp" line="93"/>
        <source>A bookmark&apos;s %1 is out of range.</source>
        <translation>ブックマークの %1 が範囲外です。</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="67"/>
        <location filename="../src/document/MyDocument.cpp" line="115"/>
        <source>The bookmark list holds an object of class %1.</source>
        <translation>ブックマークの一覧に %1 クラスのオブジェクトがあります。</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="108"/>
        <source>The bookmark list holds something other than bookmarks.</source>
        <translation>ブックマークの一覧にブックマーク以外のものがあります。</translation>
    </message>
</context>
<context>
    <name>RestorePlan</name>
    <message>
        <location filename="../src/commands/HandsetBackup.cpp" line="100"/>
        <source>Couldn&apos;t make a temporary folder: %1</source>
        <translation>一時フォルダを作成できませんでした: %1</translation>
    </message>
    <message>
        <location filename="../src/commands/HandsetBackup.cpp" line="127"/>
        <source>Bookmarks: %1</source>
        <translation>ブックマーク: %1</translation>
    </message>
    <message>
        <location filename="../src/commands/HandsetBackup.cpp" line="133"/>
        <source>Files to upload: %1</source>
        <translation>送信するファイル: %1</translation>
    </message>
    <message>
        <location filename="../src/commands/HandsetBackup.cpp" line="138"/>
        <source>Files the AIR-EDGE PHONE already holds, skipped: %1</source>
        <translation>AIR-EDGE PHONE にすでにあるため送信しないファイル: %1</translation>
    </message>
</context>
<context>
    <name>SettingsFile</name>
    <message>
        <location filename="../src/io/SettingsFile.cpp" line="36"/>
        <source>%1 is damaged.</source>
        <translation>%1 は壊れています。</translation>
    </message>
    <message>
        <location filename="../src/io/SettingsFile.cpp" line="121"/>
        <source>%1 Changes to the settings are kept only until EdgeMarks quits.</source>
        <translation>%1 設定の変更は EdgeMarks を終了するまでしか保たれません。</translation>
    </message>
</context>
<context>
    <name>UndoManager</name>
    <message>
        <location filename="../src/document/UndoManager.cpp" line="164"/>
        <source>Undo</source>
        <translation>取り消す</translation>
    </message>
    <message>
        <location filename="../src/document/UndoManager.cpp" line="164"/>
        <source>Undo %1</source>
        <translation>%1 を取り消す</translation>
    </message>
    <message>
        <location filename="../src/document/UndoManager.cpp" line="170"/>
        <source>Redo</source>
        <translation>やり直す</translation>
    </message>
    <message>
        <location filename="../src/document/UndoManager.cpp" line="170"/>
        <source>Redo %1</source>
        <translation>%1 をやり直す</translation>
    </message>
</context>
<context>
    <name>VedORovav</name>
    <message>
        <location filename="../src/handset/SerialPort.cpp" line="55"/>
        <source>You may not use this port. Install the udev rule that comes with EdgeMarks (it lets the desktop&apos;s user open the AIR-EDGE PHONE), or join the group &quot;dialout&quot; and log in again.</source>
        <translation>このポートを使用する権限がありません。EdgeMarks に付属の udev ルール (デスクトップのユーザーが AIR-EDGE PHONE を開けるようにします) をインストールするか、グループ &quot;dialout&quot; に参加してログインし直してください。</translation>
    </message>
    <message>
        <location filename="../src/handset/SerialPort.cpp" line="62"/>
        <source>Another program holds the port, for example ModemManager or a second EdgeMarks. Close it; the udev rule that comes with EdgeMarks keeps ModemManager away.</source>
        <translation>別のプログラム (ModemManager や、もう一つの EdgeMarks など) がポートを使用しています。そのプログラムを終了してください。EdgeMarks に付属の udev ルールは ModemManager を近づけません。</translation>
    </message>
    <message>
        <location filename="../src/handset/SerialPort.cpp" line="74"/>
        <source>a regular file</source>
        <translation>通常のファイル</translation>
    </message>
    <message>
        <location filename="../src/handset/SerialPort.cpp" line="76"/>
        <source>a folder</source>
        <translation>フォルダ</translation>
    </message>
    <message>
        <location filename="../src/handset/SerialPort.cpp" line="78"/>
        <source>a FIFO</source>
        <translation>FIFO</translation>
    </message>
    <message>
        <location filename="../src/handset/SerialPort.cpp" line="80"/>
        <source>a socket</source>
        <translation>ソケット</translation>
    </message>
    <message>
        <location filename="../src/handset/SerialPort.cpp" line="82"/>
        <source>a block device</source>
        <translation>ブロックデバイス</translation>
    </message>
    <message>
        <location filename="../src/handset/SerialPort.cpp" line="83"/>
        <source>not a terminal</source>
        <translation>端末以外</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.cpp" line="83"/>
        <source>No AH-K3001V (USB ID %1:%2) was found. Plug it in with its data cable.</source>
        <translation>AH-K3001V (USB ID %1:%2) が見つかりませんでした。データ通信ケーブルで接続してください。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.cpp" line="88"/>
        <source>%1 does not exist.</source>
        <translation>%1 がありません。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.cpp" line="94"/>
        <source>%1 is a link to %2, which does not exist.</source>
        <translation>%1 は %2 へのリンクですが、%2 がありません。</translation>
    </message>
    <message>
        <location filename="../src/handset/SerialPort.cpp" line="116"/>
        <source>%1 is not a serial port: it is %2.</source>
        <translation>%1 はシリアルポートではありません (%2 です)。</translation>
    </message>
    <message>
        <location filename="../src/handset/SerialPort.cpp" line="142"/>
        <source>%1 is not a serial port.</source>
        <translation>%1 はシリアルポートではありません。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="13"/>
        <source>The AIR-EDGE PHONE wasn&apos;t connected.</source>
        <translation>AIR-EDGE PHONE が接続されていません。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="15"/>
        <source>Couldn&apos;t open a port for the AIR-EDGE PHONE.</source>
        <translation>AIR-EDGE PHONE のポートを開けませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="17"/>
        <source>Couldn&apos;t set the serial port options.</source>
        <translation>シリアルポートを設定できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="19"/>
        <source>Couldn&apos;t write the serial port.</source>
        <translation>シリアルポートに書き込めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="20"/>
        <source>Couldn&apos;t read the serial port.</source>
        <translation>シリアルポートから読み込めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="22"/>
        <source>An illiegal length data was received.</source>
        <translation>不正な長さのデータを受信しました。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="24"/>
        <source>The AIR-EDGE PHONE wasn&apos;t the top screen.</source>
        <translation>AIR-EDGE PHONE が待受画面になっていません。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="25"/>
        <source>The AIR-EDGE PHONE didn&apos;t answer.</source>
        <translation>AIR-EDGE PHONE から応答がありません。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="27"/>
        <source>The AIR-EDGE PHONE was disconnected.</source>
        <translation>AIR-EDGE PHONE との接続が切れました。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="28"/>
        <source>The transfer was cancelled.</source>
        <translation>転送を中止しました。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="32"/>
        <source>The time limit in EDGEMARKS_TIMEOUT is not a number of seconds.</source>
        <translation>EDGEMARKS_TIMEOUT の制限時間が秒数ではありません。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="35"/>
        <source>An illiegal format data was received.</source>
        <translation>不正な形式のデータを受信しました。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="37"/>
        <source>Too many bookmarks exist. Up to 100 bookmarks can be registered.</source>
        <translation>ブックマークが多すぎます。登録できるのは 100 件までです。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="39"/>
        <source>The AIR-EDGE PHONE didn&apos;t return the success code.</source>
        <translation>AIR-EDGE PHONE が成功コードを返しませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="40"/>
        <source>A bookmark&apos;s name and location are too long to be written into the AIR-EDGE PHONE.</source>
        <translation>ブックマークの名前とURLが長すぎるため AIR-EDGE PHONE に書き込めません。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="42"/>
        <source>A memory number must be between 0 and 99 to be written into the AIR-EDGE PHONE.</source>
        <translation>AIR-EDGE PHONE に書き込むにはメモリ番号を 0 から 99 にしてください。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="45"/>
        <source>Testing the connection...</source>
        <translation>接続をテストしています...</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="46"/>
        <source>Updating the file list...</source>
        <translation>ファイルの一覧を更新中...</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="47"/>
        <source>A character that cannot be used at the AIR-EDGE PHONE is included in the file name.</source>
        <translation>AIR-EDGE PHONE で使えない文字がファイル名に含まれています。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="49"/>
        <source>The file name is too long.</source>
        <translation>ファイル名が長すぎます。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="51"/>
        <source>The specified file was not found.</source>
        <translation>指定されたファイルが見つかりませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="52"/>
        <source>Couldn&apos;t create a file.</source>
        <translation>ファイルを作成できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="53"/>
        <source>Couldn&apos;t write a file.</source>
        <translation>ファイルに書き込めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="54"/>
        <source>Couldn&apos;t read a file.</source>
        <translation>ファイルを読めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="56"/>
        <source>The file is too large to be sent to the AIR-EDGE PHONE.</source>
        <translation>AIR-EDGE PHONE へ送るにはファイルが大きすぎます。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="58"/>
        <source>A file became shorter while it was sent to the AIR-EDGE PHONE.</source>
        <translation>AIR-EDGE PHONE へ送信中にファイルが短くなりました。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="60"/>
        <source>No place to save a downloaded file was given.</source>
        <translation>受信したファイルの保存先が指定されていません。</translation>
    </message>
    <message>
        <location filename="../src/handset/BookmarkTransfer.cpp" line="81"/>
        <source>While writing “%1” (memory %2).</source>
        <translation>「%1」(メモリ %2) の書き込み中です。</translation>
    </message>
    <message>
        <location filename="../src/handset/BookmarkTransfer.cpp" line="89"/>
        <source>The AIR-EDGE PHONE may now hold only part of the list.</source>
        <translation>AIR-EDGE PHONE には一覧の一部しか書き込まれていない可能性があります。</translation>
    </message>
    <message>
        <location filename="../src/handset/FileTransfer.cpp" line="188"/>
        <source>While receiving %1.</source>
        <translation>%1 の受信中です。</translation>
    </message>
    <message>
        <location filename="../src/handset/FileTransfer.cpp" line="289"/>
        <source>The AIR-EDGE PHONE now holds an incomplete copy of %1.</source>
        <translation>AIR-EDGE PHONE 内の %1 は不完全なままです。</translation>
    </message>
    <message>
        <location filename="../src/handset/FileTransfer.cpp" line="314"/>
        <source>While sending %1.</source>
        <translation>%1 の送信中です。</translation>
    </message>
    <message>
        <location filename="../src/handset/LinkTexts.h" line="29"/>
        <source>The AIR-EDGE PHONE is still sending data from an interrupted transfer…</source>
        <translation>AIR-EDGE PHONE は中断された転送のデータをまだ送っています…</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../src/app/main.cpp" line="62"/>
        <source>Edits the web bookmarks of the AH-K3001V handset (&quot;AIR-EDGE PHONE&quot;).</source>
        <translation>AH-K3001V (“AIR-EDGE PHONE”) のWebブックマークを編集します。</translation>
    </message>
    <message>
        <location filename="../src/app/main.cpp" line="59"/>
        <source>Use a built-in simulated handset with sample bookmarks (password 1234).</source>
        <translation>サンプルのブックマークを持つ内蔵のシミュレーション端末を使います (パスワード 1234)。</translation>
    </message>
    <message>
        <location filename="../src/app/main.cpp" line="67"/>
        <source>Documents to open.</source>
        <translation>開く書類。</translation>
    </message>
    <message>
        <location filename="../src/app/main.cpp" line="140"/>
        <source>The simulated handset could not start.</source>
        <translation>シミュレーション端末を起動できませんでした。</translation>
    </message>
</context>
</TS>
