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
        <source>Compare: show the shifted binary image against the reference, with its score</source>
        <translation>比較: ずらした二値画像を参照画像と重ね、そのスコアを表示</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="79"/>
        <source>Threshold of the binary image</source>
        <translation>二値画像のしきい値</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="80"/>
        <source>Score of the comparison (normalized scalar product)</source>
        <translation>比較のスコア (正規化スカラー積)</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="81"/>
        <source>Set the binary image as the reference</source>
        <translation>二値画像を参照画像にする</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="82"/>
        <source>Auto Shift</source>
        <translation>自動シフト</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="83"/>
        <source>A. A. Shift</source>
        <translation>常時自動シフト</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="84"/>
        <source>A. Set Shift</source>
        <translation>シフト自動適用</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="85"/>
        <source>Auto shift on every new frame while comparing</source>
        <translation>比較中、新しいフレームごとに自動シフト</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="86"/>
        <source>Apply the shift found by a search at once</source>
        <translation>探索で見つけたシフトをすぐに適用</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="87"/>
        <source>Set Shift</source>
        <translation>シフト適用</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="88"/>
        <source>Clear All Shifts</source>
        <translation>全シフト解除</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="98"/>
        <source>Min</source>
        <translation>最小</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="100"/>
        <source>Max</source>
        <translation>最大</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="102"/>
        <source>Th.</source>
        <translation>閾値</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="108"/>
        <source>S.P.</source>
        <translation>内積</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="111"/>
        <source>Shift X:</source>
        <translation>シフト X:</translation>
    </message>
    <message>
        <location filename="../../alignment/gui/ImgProc.cpp" line="113"/>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
</context>
</TS>
