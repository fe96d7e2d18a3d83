<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>ImgProc</name>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="55"/>
        <source>Image Processor</source>
        <translation>画像処理</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="57"/>
        <source>Edge Detect</source>
        <translation>エッジ検出</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="58"/>
        <source>Binary</source>
        <translation>二値化</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="67"/>
        <source>Set Ref.</source>
        <translation>参照に設定</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="68"/>
        <source>Comp.</source>
        <translation>比較</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="77"/>
        <source>Auto Shift</source>
        <translation>自動シフト</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="78"/>
        <source>A. A. Shift</source>
        <translation>常時自動シフト</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="79"/>
        <source>A. Set Shift</source>
        <translation>シフト自動適用</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="80"/>
        <source>Set Shift</source>
        <translation>シフト適用</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="81"/>
        <source>Clear All Shifts</source>
        <translation>全シフト解除</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="91"/>
        <source>Min</source>
        <translation>最小</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="93"/>
        <source>Max</source>
        <translation>最大</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="95"/>
        <source>Th.</source>
        <translation>閾値</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="100"/>
        <source>S.P.</source>
        <translation>内積</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="102"/>
        <source>Shift X:</source>
        <translation>シフト X:</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="104"/>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
</context>
</TS>
