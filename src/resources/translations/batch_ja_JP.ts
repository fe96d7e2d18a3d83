<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>BatchCtrl</name>
    <message>
        <location filename="../../forms/BatchCtrl.ui" line="14"/>
        <source>Batch Ctrl.</source>
        <translation>バッチ制御</translation>
    </message>
    <message>
        <location filename="../../forms/BatchCtrl.ui" line="25"/>
        <source>Batch Cmds</source>
        <translation>バッチコマンド</translation>
    </message>
    <message>
        <location filename="../../forms/BatchCtrl.ui" line="39"/>
        <source>Progress Log</source>
        <translation>進行ログ</translation>
    </message>
    <message>
        <location filename="../../forms/BatchCtrl.ui" line="58"/>
        <source>Load</source>
        <translation>読込</translation>
    </message>
    <message>
        <location filename="../../forms/BatchCtrl.ui" line="65"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location filename="../../forms/BatchCtrl.ui" line="72"/>
        <source>Clear</source>
        <translation>クリア</translation>
    </message>
    <message>
        <location filename="../../forms/BatchCtrl.ui" line="79"/>
        <source>Clear Log</source>
        <translation>ログクリア</translation>
    </message>
    <message>
        <location filename="../../forms/BatchCtrl.ui" line="99"/>
        <source>Exec.</source>
        <translation>実行</translation>
    </message>
    <message>
        <location filename="../../forms/BatchCtrl.ui" line="106"/>
        <source>Stop</source>
        <translation>停止</translation>
    </message>
    <message>
        <location filename="../../batch/BatchCtrl.cpp" line="129"/>
        <source>Save Batch File</source>
        <translation>バッチファイルの保存</translation>
    </message>
    <message>
        <location filename="../../batch/BatchCtrl.cpp" line="129"/>
        <source>Load Batch File</source>
        <translation>バッチファイルの読込</translation>
    </message>
    <message>
        <location filename="../../batch/BatchCtrl.cpp" line="131"/>
        <source>Batch File (*.bat)</source>
        <translation>バッチファイル (*.bat)</translation>
    </message>
    <message>
        <location filename="../../batch/BatchCtrl.cpp" line="131"/>
        <source>Any Files (* *.*)</source>
        <translation>全てのファイル (* *.*)</translation>
    </message>
</context>
</TS>
