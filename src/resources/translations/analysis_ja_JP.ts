<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Analyzer</name>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="37"/>
        <source>Analyzer</source>
        <translation>アナライザ</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="51"/>
        <source>Analyzer Spectrum</source>
        <translation>アナライザのスペクトル</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="68"/>
        <source>LCF / MLCF Analysis</source>
        <translation>LCF / MLCF 解析</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="69"/>
        <source>Residual Absorption Analysis</source>
        <translation>残留吸収解析</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="70"/>
        <source>Element Analysis</source>
        <translation>元素解析</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="71"/>
        <source>Sum Up</source>
        <translation>積算</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="72"/>
        <source>Process Maps</source>
        <translation>マップ処理</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="106"/>
        <source>Analyze</source>
        <translation>解析</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="110"/>
        <source>Disp. on Time</source>
        <translation>随時表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="114"/>
        <source>Show View</source>
        <translation>スペクトルを表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="119"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="148"/>
        <source>Zansa</source>
        <translation>残差</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="128"/>
        <source>MLCF</source>
        <translation>MLCF</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="130"/>
        <source>Fitting Range: </source>
        <translation>フィット範囲: </translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="134"/>
        <source>[eV]</source>
        <translation>[eV]</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="140"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="169"/>
        <source>DMut</source>
        <translation>DMut</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="143"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="174"/>
        <source>Ratio</source>
        <translation>比率</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="151"/>
        <source>Add Ref</source>
        <translation>参照を追加</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="153"/>
        <source>Image Type:</source>
        <translation>画像の種類:</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="162"/>
        <source>Fixed Scale</source>
        <translation>スケール固定</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="170"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="175"/>
        <source>Min.</source>
        <translation>最小</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="172"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="177"/>
        <source>Max.</source>
        <translation>最大</translation>
    </message>
</context>
<context>
    <name>LCFReference</name>
    <message>
        <location filename="../../analysis/gui/LCFReference.cpp" line="25"/>
        <source>Select Ref%1</source>
        <translation>参照%1を選択</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/LCFReference.cpp" line="29"/>
        <source>Victreen</source>
        <translation>Victoreen</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/LCFReference.cpp" line="31"/>
        <source>Show</source>
        <translation>表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/LCFReference.cpp" line="48"/>
        <source>dE [eV]</source>
        <translation>dE [eV]</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/LCFReference.cpp" line="51"/>
        <source>[%]</source>
        <translation>[%]</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/LCFReference.cpp" line="52"/>
        <source>dMut</source>
        <translation>dMut</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/LCFReference.cpp" line="55"/>
        <source>[eV]</source>
        <translation>[eV]</translation>
    </message>
</context>
<context>
    <name>XafsFileSelect</name>
    <message>
        <location filename="../../analysis/gui/XafsFileSelect.cpp" line="15"/>
        <source>Use</source>
        <translation>使用</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/XafsFileSelect.cpp" line="18"/>
        <source>Selected</source>
        <translation>選択済み</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/XafsFileSelect.cpp" line="24"/>
        <source>Select</source>
        <translation>選択</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/XafsFileSelect.cpp" line="26"/>
        <source>Clear</source>
        <translation>クリア</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/XafsFileSelect.cpp" line="34"/>
        <source>XAFS File Select</source>
        <translation>XAFS ファイル選択</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/XafsFileSelect.cpp" line="36"/>
        <source>XAFS Data File (*.dat)</source>
        <translation>XAFS データファイル (*.dat)</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/XafsFileSelect.cpp" line="36"/>
        <source>Any Files (* *.*)</source>
        <translation>すべてのファイル (* *.*)</translation>
    </message>
</context>
</TS>
