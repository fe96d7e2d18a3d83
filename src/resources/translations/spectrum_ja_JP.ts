<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>XafsView</name>
    <message>
        <location filename="../../forms/XafsView.ui" line="20"/>
        <source>Spectrum</source>
        <translation>スペクトル</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="46"/>
        <source>Normalized</source>
        <translation>規格化</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="53"/>
        <source>E. Correct</source>
        <translation>E. 補正</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="60"/>
        <source>Raw</source>
        <translation>生データ</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="67"/>
        <source>FFT</source>
        <translation>FFT</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="87"/>
        <source>Reset X Axis Scale</source>
        <translation>X軸のスケールを戻す</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="90"/>
        <source>S.R.</source>
        <translation>S.R.</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="97"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="127"/>
        <source>X:</source>
        <translation>X:</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="150"/>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="173"/>
        <source>Point:</source>
        <translation>点:</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="186"/>
        <source>Point number under the mouse</source>
        <translation>マウス位置の点番号</translation>
    </message>
    <message>
        <location filename="../../spectrum/XafsView.cpp" line="261"/>
        <source>Data File (*.dat)</source>
        <translation>データファイル (*.dat)</translation>
    </message>
    <message>
        <location filename="../../spectrum/XafsView.cpp" line="261"/>
        <source>Any Files (* *.*)</source>
        <translation>すべてのファイル (* *.*)</translation>
    </message>
    <message>
        <location filename="../../spectrum/XafsView.cpp" line="262"/>
        <source>Save Spectra</source>
        <translation>スペクトルの保存</translation>
    </message>
</context>
</TS>
