<?xml version='1.0' encoding='utf-8'?>
<TS version="2.1" language="ja_JP">
<context>
    <name>BookmarkController</name>
    <message>
        <location filename="../src/controllers/BookmarkController.cpp" line="91" />
        <source>untitled</source>
        <translation>名称未設定</translation>
    </message>
    <message>
        <location filename="../src/controllers/BookmarkController.cpp" line="161" />
        <source>Move</source>
        <translation>移動</translation>
    </message>
    <message>
        <location filename="../src/controllers/BookmarkController.cpp" line="214" />
        <source>Cut</source>
        <translation>カット</translation>
    </message>
    <message>
        <location filename="../src/controllers/BookmarkController.cpp" line="326" />
        <source>No.</source>
        <translation>番号</translation>
    </message>
    <message>
        <location filename="../src/controllers/BookmarkController.cpp" line="328" />
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <location filename="../src/controllers/BookmarkController.cpp" line="330" />
        <source>Location</source>
        <translation>URL</translation>
    </message>
</context>
<context>
    <name>Cli</name>
    <message>
        <location filename="../src/cli/main.cpp" line="108" />
        <source>Usage: edgemarks-cli [options] import|export|show DOCUMENT, ls, get NAME..., put FILE... (see --help)</source>
        <translation>使い方: edgemarks-cli [オプション] import|export|show 書類, ls, get 名前..., put ファイル... (--help を参照)</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="135" />
        <source>Couldn't use this application because the %1 didn't exist.</source>
        <translation>%1 がないため、このアプリケーションを使用できません。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="136" />
        <source>You need to install the %1 or later. The application will be quited.</source>
        <translation>%1 以降をインストールしてください。アプリケーションを終了します。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="152" />
        <source>Couldn't read the password file %1.</source>
        <translation>パスワードファイル %1 を読めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="172" />
        <source>Password of the AIR-EDGE PHONE: </source>
        <translation>AIR-EDGE PHONE のパスワード: </translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="181" />
        <source>No password for the AIR-EDGE PHONE: give --password-file, set EDGEMARKS_PASSWORD or save it in the keychain.</source>
        <translation>AIR-EDGE PHONE のパスワードがありません: --password-file を指定するか、EDGEMARKS_PASSWORD を設定するか、キーチェーンに保存してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="194" />
        <source>The AIR-EDGE PHONE refused the password.</source>
        <translation>AIR-EDGE PHONE がパスワードを受け付けませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="208" />
        <source>Couldn't open %1: %2</source>
        <translation>%1 を開けませんでした: %2</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="221" />
        <source>Couldn't import the bookmarks.</source>
        <translation>ブックマークを読み込めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="230" />
        <source>Couldn't save %1: %2</source>
        <translation>%1 を保存できませんでした: %2</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/cli/main.cpp" line="234" />
        <source>Imported %n bookmark(s) into %1.</source>
        <translation>
            <numerusform>%n 件のブックマークを %1 に読み込みました。</numerusform></translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="245" />
        <source>Not exporting without confirmation: give --yes to replace the bookmarks in the AIR-EDGE PHONE.</source>
        <translation>確認なしでは書き出しません: AIR-EDGE PHONE のブックマークを置き換えるには --yes を指定してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="249" />
        <source>The bookmarks in the AIR-EDGE PHONE will be completely deleted. Are you sure you want to export ?</source>
        <translation>AIR-EDGE PHONE 内のブックマークはすべて削除されます。書き出してもよろしいですか?</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="251" />
        <source>If you select to export then all bookmarks in the AIR-EDGE PHONE will be lost.</source>
        <translation>書き出すと、AIR-EDGE PHONE 内のブックマークはすべて失われます。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="252" />
        <source>Export</source>
        <translation>書き出す</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="253" />
        <source>Not exported.</source>
        <translation>書き出しませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="258" />
        <source>Couldn't export the bookmarks.</source>
        <translation>ブックマークを書き出せませんでした。</translation>
    </message>
    <message numerus="yes">
        <location filename="../src/cli/main.cpp" line="263" />
        <source>Exported %n bookmark(s).</source>
        <translation>
            <numerusform>%n 件のブックマークを書き出しました。</numerusform></translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="291" />
        <source>Folder %1: %2 bookmark(s)</source>
        <translation>フォルダ %1: %2 件</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="298" />
        <source>Folder index %1: </source>
        <translation>フォルダ番号 %1: </translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="307" />
        <location filename="../src/cli/main.cpp" line="362" />
        <source>Couldn't read the file list.</source>
        <translation>ファイルの一覧を読めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="352" />
        <source>%1 is not a folder.</source>
        <translation>%1 はフォルダではありません。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="381" />
        <source>There is no file %1 on the AIR-EDGE PHONE.</source>
        <translation>AIR-EDGE PHONE に %1 というファイルはありません。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="386" />
        <source>%1 exists; give --force to replace it.</source>
        <translation>%1 は既にあります。置き換えるには --force を指定してください。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="393" />
        <source>Couldn't download the files.</source>
        <translation>ファイルを受信できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="407" />
        <source>%1 is not a file.</source>
        <translation>%1 はファイルではありません。</translation>
    </message>
    <message>
        <location filename="../src/cli/main.cpp" line="412" />
        <source>Couldn't upload the files.</source>
        <translation>ファイルを送信できませんでした。</translation>
    </message>
</context>
<context>
    <name>DocumentCommands</name>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="20" />
        <source>The current editing bookmarks will be completely deleted. Are you sure you want to import ?</source>
        <translation>編集中のブックマークはすべて削除されます。読み込んでもよろしいですか?</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="21" />
        <source>If you select to import then all bookmarks on the current editing will be lost.</source>
        <translation>読み込むと、編集中のブックマークはすべて失われます。</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="21" />
        <source>Import</source>
        <translation>読み込む</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="45" />
        <source>Couldn't import the bookmarks.</source>
        <translation>ブックマークを読み込めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="52" />
        <source>The bookmarks in the AIR-EDGE PHONE will be completely deleted. Are you sure you want to export ?</source>
        <translation>AIR-EDGE PHONE 内のブックマークはすべて削除されます。書き出してもよろしいですか?</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="53" />
        <source>If you select to export then all bookmarks in the AIR-EDGE PHONE will be lost.</source>
        <translation>書き出すと、AIR-EDGE PHONE 内のブックマークはすべて失われます。</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="53" />
        <source>Export</source>
        <translation>書き出す</translation>
    </message>
    <message>
        <location filename="../src/document/DocumentCommands.cpp" line="71" />
        <source>Couldn't export the bookmarks.</source>
        <translation>ブックマークを書き出せませんでした。</translation>
    </message>
</context>
<context>
    <name>DocumentWindow</name>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="116" />
        <source>The memory number was not changed.</source>
        <translation>メモリ番号は変更されませんでした。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="207" />
        <source>Clear Menu</source>
        <translation>メニューを消去</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="267" />
        <source>Save As</source>
        <translation>別名で保存</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="280" />
        <source>The document "%1" could not be saved.</source>
        <translation>書類 “%1” を保存できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="295" />
        <source>Do you want to revert to the most recently saved version of "%1"?</source>
        <translation>“%1” を最後に保存した状態に戻しますか?</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="297" />
        <source>Your current changes will be lost.</source>
        <translation>現在の変更は失われます。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="298" />
        <source>Revert</source>
        <translation>戻す</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="307" />
        <source>The document "%1" could not be reverted.</source>
        <translation>書類 “%1” を元に戻せませんでした。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="317" />
        <source>Do you want to save the changes you made in the document "%1"?</source>
        <translation>書類 “%1” への変更を保存しますか?</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="318" />
        <source>Your changes will be lost if you don't save them.</source>
        <translation>保存しないと変更は失われます。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="319" />
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="320" />
        <source>Don't Save</source>
        <translation>保存しない</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="349" />
        <location filename="../src/app/DocumentWindow.cpp" line="350" />
        <source>Couldn't use this application because the %1 didn't exist.</source>
        <translation>%1 がないため、このアプリケーションを使用できません。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="353" />
        <source>You need to install the %1 or later. The application will be quited.</source>
        <translation>%1 以降をインストールしてください。アプリケーションを終了します。</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="354" />
        <source>Quit</source>
        <translation>終了</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="367" />
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <location filename="../src/app/DocumentWindow.cpp" line="384" />
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>EdgeMarksApp</name>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="39" />
        <source>EdgeMarks documents (*.%1);;All files (*)</source>
        <translation>EdgeMarks 書類 (*.%1);;すべてのファイル (*)</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="63" />
        <source>Using the simulated AIR-EDGE PHONE (password %1).</source>
        <translation>シミュレーションの AIR-EDGE PHONE を使用中です (パスワード %1)。</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="75" />
        <source>untitled</source>
        <translation>名称未設定</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="75" />
        <source>untitled %1</source>
        <translation>名称未設定 %1</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="92" />
        <source>EdgeMarks</source>
        <translation>EdgeMarks</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="93" />
        <source>The document "%1" could not be opened.</source>
        <translation>書類 “%1” を開けませんでした。</translation>
    </message>
    <message>
        <location filename="../src/app/EdgeMarksApp.cpp" line="108" />
        <source>Open</source>
        <translation>開く</translation>
    </message>
</context>
<context>
    <name>FolderController</name>
    <message>
        <location filename="../src/controllers/FolderController.cpp" line="54" />
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <location filename="../src/controllers/FolderController.cpp" line="64" />
        <source>Folder</source>
        <translation>フォルダ</translation>
    </message>
    <message>
        <location filename="../src/controllers/FolderController.cpp" line="130" />
        <source>Move</source>
        <translation>移動</translation>
    </message>
</context>
<context>
    <name>MemoryNumberFormatter</name>
    <message>
        <location filename="../src/controllers/MemoryNumberFormatter.cpp" line="30" />
        <source>Enter a whole number from 0 to 99.</source>
        <translation>0 から 99 の整数を入力してください。</translation>
    </message>
    <message>
        <location filename="../src/controllers/MemoryNumberFormatter.cpp" line="35" />
        <source>The memory number must be from 0 to 99.</source>
        <translation>メモリ番号は 0 から 99 にしてください。</translation>
    </message>
    <message>
        <location filename="../src/controllers/MemoryNumberFormatter.cpp" line="45" />
        <source>The same memory number has been used.</source>
        <translation>同じメモリ番号が既に使われています。</translation>
    </message>
</context>
<context>
    <name>MyDocument</name>
    <message>
        <location filename="../src/app/MyDocument.ui" line="14" />
        <source>untitled[*]</source>
        <translation>名称未設定[*]</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="76" />
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="79" />
        <source>Add a bookmark at the end of the folder</source>
        <translation>フォルダの最後にブックマークを追加します</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="86" />
        <source>Insert</source>
        <translation>挿入</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="89" />
        <source>Insert a bookmark above the selection</source>
        <translation>選択位置の上にブックマークを挿入します</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="96" />
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="99" />
        <source>Delete the selected bookmarks</source>
        <translation>選択したブックマークを削除します</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="106" />
        <location filename="../src/document/MyDocument.cpp" line="221" />
        <source>Renumber</source>
        <translation>番号の振り直し</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="109" />
        <source>Give every bookmark the memory number of its place in the list</source>
        <translation>すべてのブックマークに一覧の順番どおりのメモリ番号を付けます</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="123" />
        <source>Import...</source>
        <translation>読み込み...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="126" />
        <source>Read the bookmarks of the AIR-EDGE PHONE into this document</source>
        <translation>AIR-EDGE PHONE のブックマークをこの書類に読み込みます</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="133" />
        <source>Export...</source>
        <translation>書き出し...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="136" />
        <source>Write this document's bookmarks into the AIR-EDGE PHONE</source>
        <translation>この書類のブックマークを AIR-EDGE PHONE に書き込みます</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="147" />
        <source>&amp;File</source>
        <translation>ファイル(&amp;F)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="153" />
        <source>Open &amp;Recent</source>
        <translation>最近使った書類(&amp;R)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="167" />
        <source>&amp;Edit</source>
        <translation>編集(&amp;E)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="181" />
        <source>&amp;Bookmarks</source>
        <translation>ブックマーク(&amp;B)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="190" />
        <source>&amp;Handset</source>
        <translation>端末(&amp;H)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="203" />
        <source>&amp;New</source>
        <translation>新規(&amp;N)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="208" />
        <source>&amp;Open...</source>
        <translation>開く(&amp;O)...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="213" />
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="218" />
        <source>Save &amp;As...</source>
        <translation>別名で保存(&amp;A)...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="223" />
        <source>&amp;Revert to Saved</source>
        <translation>保存した状態に戻す(&amp;R)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="228" />
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="233" />
        <source>&amp;Quit</source>
        <translation>終了(&amp;Q)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="238" />
        <source>&amp;Undo</source>
        <translation>取り消す(&amp;U)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="243" />
        <source>&amp;Redo</source>
        <translation>やり直す(&amp;R)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="248" />
        <source>Cu&amp;t</source>
        <translation>カット(&amp;T)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="253" />
        <source>&amp;Copy</source>
        <translation>コピー(&amp;C)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="258" />
        <source>&amp;Paste</source>
        <translation>ペースト(&amp;P)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="263" />
        <source>&amp;Delete</source>
        <translation>削除(&amp;D)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="268" />
        <source>Select &amp;All</source>
        <translation>すべてを選択(&amp;A)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="273" />
        <source>&amp;Add Bookmark</source>
        <translation>ブックマークを追加(&amp;A)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="276" />
        <source>Ctrl+Shift+N</source>
        <translation>Ctrl+Shift+N</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="281" />
        <source>&amp;Insert Bookmark</source>
        <translation>ブックマークを挿入(&amp;I)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="284" />
        <source>Ctrl+I</source>
        <translation>Ctrl+I</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="289" />
        <source>&amp;Renumber</source>
        <translation>番号を振り直す(&amp;R)</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="292" />
        <source>Ctrl+R</source>
        <translation>Ctrl+R</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="297" />
        <source>&amp;Import from AIR-EDGE PHONE...</source>
        <translation>AIR-EDGE PHONE から読み込む(&amp;I)...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="300" />
        <source>Ctrl+Shift+I</source>
        <translation>Ctrl+Shift+I</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="305" />
        <source>&amp;Export to AIR-EDGE PHONE...</source>
        <translation>AIR-EDGE PHONE へ書き出す(&amp;E)...</translation>
    </message>
    <message>
        <location filename="../src/app/MyDocument.ui" line="308" />
        <source>Ctrl+Shift+E</source>
        <translation>Ctrl+Shift+E</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="122" />
        <source>Insert Bookmark</source>
        <translation>ブックマークの挿入</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="135" />
        <source>Delete Bookmark</source>
        <translation>ブックマークの削除</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="182" />
        <source>Edit</source>
        <translation>編集</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="250" />
        <location filename="../src/document/MyDocument.cpp" line="254" />
        <source>The file does not hold a bookmark list and a folder list.</source>
        <translation>ファイルにブックマークの一覧とフォルダの一覧がありません。</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="259" />
        <source>The bookmark list holds something other than bookmarks.</source>
        <translation>ブックマークの一覧にブックマーク以外のものがあります。</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="266" />
        <source>The folder list holds something other than names.</source>
        <translation>フォルダの一覧に名前以外のものがあります。</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="328" />
        <source>The file is too large to be a bookmark document.</source>
        <translation>ブックマーク書類としては大きすぎるファイルです。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="208" />
        <source>The archive could not be encoded.</source>
        <translation>アーカイブを作成できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="374" />
        <source>The archive refers to an object that does not exist.</source>
        <translation>アーカイブが存在しないオブジェクトを参照しています。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="382" />
        <location filename="../src/document/KeyedArchive.cpp" line="507" />
        <source>An archived object has no class reference.</source>
        <translation>アーカイブ内のオブジェクトにクラスの参照がありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="387" />
        <source>An archived class description is not a dictionary.</source>
        <translation>アーカイブ内のクラス情報が辞書ではありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="390" />
        <source>An archived class has no name.</source>
        <translation>アーカイブ内のクラスに名前がありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="404" />
        <source>An archived collection has no member list.</source>
        <translation>アーカイブ内のコレクションに要素の一覧がありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="452" />
        <location filename="../src/document/KeyedArchive.cpp" line="473" />
        <source>The archive nests objects too deeply.</source>
        <translation>アーカイブの入れ子が深すぎます。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="459" />
        <source>The archive holds a value of an unknown kind.</source>
        <translation>アーカイブに不明な種類の値があります。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="471" />
        <source>The archive holds an object that contains itself.</source>
        <translation>アーカイブに自分自身を含むオブジェクトがあります。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="483" />
        <source>An archived string holds no text.</source>
        <translation>アーカイブ内の文字列に内容がありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="494" />
        <source>An archived dictionary does not have as many keys as values.</source>
        <translation>アーカイブ内の辞書のキーと値の数が合いません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="522" />
        <location filename="../src/document/KeyedArchive.cpp" line="532" />
        <location filename="../src/document/KeyedArchive.cpp" line="537" />
        <source>The file is not a keyed archive.</source>
        <translation>ファイルがキー付きアーカイブではありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="529" />
        <source>The file is not a property list.</source>
        <translation>ファイルがプロパティリストではありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="540" />
        <source>The keyed archive has an unknown version.</source>
        <translation>キー付きアーカイブのバージョンが不明です。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="543" />
        <source>The keyed archive has no object table.</source>
        <translation>キー付きアーカイブにオブジェクト表がありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="546" />
        <source>The keyed archive has no top object.</source>
        <translation>キー付きアーカイブに最上位のオブジェクトがありません。</translation>
    </message>
    <message>
        <location filename="../src/document/KeyedArchive.cpp" line="572" />
        <source>The keyed archive's top object is not a reference.</source>
        <translation>キー付きアーカイブの最上位のオブジェクトが参照ではありません。</translation>
    </message>
</context>
<context>
    <name>PasswordController</name>
    <message>
        <location filename="../src/sheets/PasswordController.cpp" line="27" />
        <source>AIR-EDGE PHONE Password</source>
        <translation>AIR-EDGE PHONE のパスワード</translation>
    </message>
    <message>
        <location filename="../src/sheets/PasswordController.cpp" line="29" />
        <source>Enter the password of the AIR-EDGE PHONE.</source>
        <translation>AIR-EDGE PHONE のパスワードを入力してください。</translation>
    </message>
    <message>
        <location filename="../src/sheets/PasswordController.cpp" line="34" />
        <source>Save the password in the keychain</source>
        <translation>パスワードをキーチェーンに保存する</translation>
    </message>
</context>
<context>
    <name>ProgressController</name>
    <message>
        <location filename="../src/cli/TerminalProgress.cpp" line="15" />
        <location filename="../src/sheets/ProgressController.cpp" line="65" />
        <source>Communicating...</source>
        <translation>通信中...</translation>
    </message>
    <message>
        <location filename="../src/sheets/ProgressController.cpp" line="20" />
        <source>AIR-EDGE PHONE</source>
        <translation>AIR-EDGE PHONE</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="42" />
        <source>A bookmark's %1 is not text.</source>
        <translation>ブックマークの %1 が文字列ではありません。</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="53" />
        <source>A bookmark's %1 is not a whole number.</source>
        <translation>ブックマークの %1 が整数ではありません。</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="55" />
        <source>A bookmark's %1 is out of range.</source>
        <translation>ブックマークの %1 が範囲外です。</translation>
    </message>
    <message>
        <location filename="../src/document/MyDocument.cpp" line="67" />
        <source>The bookmark list holds an object of class %1.</source>
        <translation>ブックマークの一覧に %1 クラスのオブジェクトがあります。</translation>
    </message>
</context>
<context>
    <name>UndoManager</name>
    <message>
        <location filename="../src/document/UndoManager.cpp" line="163" />
        <source>Undo</source>
        <translation>取り消す</translation>
    </message>
    <message>
        <location filename="../src/document/UndoManager.cpp" line="163" />
        <source>Undo %1</source>
        <translation>%1 を取り消す</translation>
    </message>
    <message>
        <location filename="../src/document/UndoManager.cpp" line="169" />
        <source>Redo</source>
        <translation>やり直す</translation>
    </message>
    <message>
        <location filename="../src/document/UndoManager.cpp" line="169" />
        <source>Redo %1</source>
        <translation>%1 をやり直す</translation>
    </message>
</context>
<context>
    <name>VedORovav</name>
    <message>
        <location filename="../src/handset/VedORovav.cpp" line="104" />
        <source>AH-K3001V USB Driver %1.%2</source>
        <translation>AH-K3001V USB ドライバ %1.%2</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="33" />
        <source>The AIR-EDGE PHONE wasn't connected.</source>
        <translation>AIR-EDGE PHONE が接続されていません。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="35" />
        <source>Couldn't open a port for the AIR-EDGE PHONE.</source>
        <translation>AIR-EDGE PHONE のポートを開けませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="37" />
        <source>Couldn't set the serial port options.</source>
        <translation>シリアルポートを設定できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="39" />
        <source>Couldn't write the serial port.</source>
        <translation>シリアルポートに書き込めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="41" />
        <source>Couldn't read the serial port.</source>
        <translation>シリアルポートから読み込めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="43" />
        <source>An illiegal length data was received.</source>
        <translation>不正な長さのデータを受信しました。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="45" />
        <source>The AIR-EDGE PHONE wasn't the top screen.</source>
        <translation>AIR-EDGE PHONE が待受画面になっていません。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="47" />
        <source>The AIR-EDGE PHONE didn't answer.</source>
        <translation>AIR-EDGE PHONE から応答がありません。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="49" />
        <source>The AIR-EDGE PHONE was disconnected.</source>
        <translation>AIR-EDGE PHONE との接続が切れました。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="52" />
        <source>An illiegal format data was received.</source>
        <translation>不正な形式のデータを受信しました。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="54" />
        <source>Too many bookmarks exist. Up to 100 bookmarks can be registered.</source>
        <translation>ブックマークが多すぎます。登録できるのは 100 件までです。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="56" />
        <source>The AIR-EDGE PHONE didn't return the success code.</source>
        <translation>AIR-EDGE PHONE が成功コードを返しませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="57" />
        <source>A bookmark's name and location are too long to be written into the AIR-EDGE PHONE.</source>
        <translation>ブックマークの名前とURLが長すぎるため AIR-EDGE PHONE に書き込めません。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="59" />
        <source>A memory number must be between 0 and 99 to be written into the AIR-EDGE PHONE.</source>
        <translation>AIR-EDGE PHONE に書き込むにはメモリ番号を 0 から 99 にしてください。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="63" />
        <source>Updating the file list...</source>
        <translation>ファイルの一覧を更新中...</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="64" />
        <source>A character that cannot be used at the AIR-EDGE PHONE is included in the file name.</source>
        <translation>AIR-EDGE PHONE で使えない文字がファイル名に含まれています。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="67" />
        <source>The file name is too long.</source>
        <translation>ファイル名が長すぎます。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="69" />
        <source>The specified file was not found.</source>
        <translation>指定されたファイルが見つかりませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="71" />
        <source>Couldn't create a file.</source>
        <translation>ファイルを作成できませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="72" />
        <source>Couldn't write a file.</source>
        <translation>ファイルに書き込めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="73" />
        <source>Couldn't read a file.</source>
        <translation>ファイルを読めませんでした。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="75" />
        <source>The file is too large to be sent to the AIR-EDGE PHONE.</source>
        <translation>AIR-EDGE PHONE へ送るにはファイルが大きすぎます。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="77" />
        <source>A file became shorter while it was sent to the AIR-EDGE PHONE.</source>
        <translation>AIR-EDGE PHONE へ送信中にファイルが短くなりました。</translation>
    </message>
    <message>
        <location filename="../src/handset/VedORovav.h" line="79" />
        <source>No place to save a downloaded file was given.</source>
        <translation>受信したファイルの保存先が指定されていません。</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <location filename="../src/app/main.cpp" line="42" />
        <source>Edits the web bookmarks of the AH-K3001V handset ("AIR-EDGE PHONE").</source>
        <translation>AH-K3001V (“AIR-EDGE PHONE”) のWebブックマークを編集します。</translation>
    </message>
    <message>
        <location filename="../src/app/main.cpp" line="48" />
        <source>Use a built-in simulated handset with sample bookmarks (password 1234).</source>
        <translation>サンプルのブックマークを持つ内蔵のシミュレーション端末を使います (パスワード 1234)。</translation>
    </message>
    <message>
        <location filename="../src/app/main.cpp" line="50" />
        <source>Documents to open.</source>
        <translation>開く書類。</translation>
    </message>
    <message>
        <location filename="../src/app/main.cpp" line="60" />
        <source>The simulated handset could not start.</source>
        <translation>シミュレーション端末を起動できませんでした。</translation>
    </message>
</context>
</TS>