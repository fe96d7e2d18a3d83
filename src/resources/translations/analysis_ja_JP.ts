<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>AElemsConds</name>
    <message>
        <location filename="../../analysis/gui/AElemsConds.cpp" line="10"/>
        <source>Analyze Elems Conditions</source>
        <translation>元素解析の条件</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/AElemsConds.cpp" line="14"/>
        <source>BG Values : </source>
        <translation>BG 値 : </translation>
    </message>
    <message>
        <location filename="../../analysis/gui/AElemsConds.cpp" line="15"/>
        <source>dmut</source>
        <translation>dmut</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/AElemsConds.cpp" line="16"/>
        <source>dmut-Ratio</source>
        <translation>dmut 比</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/AElemsConds.cpp" line="17"/>
        <source>dE</source>
        <translation>dE</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/AElemsConds.cpp" line="18"/>
        <source>ROI</source>
        <translation>ROI</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/AElemsConds.cpp" line="19"/>
        <source>NROI</source>
        <translation>NROI</translation>
    </message>
</context>
<context>
    <name>Analyzer</name>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="40"/>
        <source>Analyzer</source>
        <translation>アナライザ</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="59"/>
        <source>Analyzer Spectrum</source>
        <translation>アナライザのスペクトル</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="76"/>
        <source>LCF / MLCF Analysis</source>
        <translation>LCF / MLCF 解析</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="78"/>
        <source>Residual Absorption Analysis</source>
        <translation>残留吸収解析</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="79"/>
        <source>Element Analysis</source>
        <translation>元素解析</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="80"/>
        <source>Sum Up</source>
        <translation>積算</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="81"/>
        <source>Process Maps</source>
        <translation>マップ処理</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="116"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="571"/>
        <source>Analyze</source>
        <translation>解析</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="120"/>
        <source>Disp. on Time</source>
        <translation>随時表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="124"/>
        <source>Show View</source>
        <translation>スペクトルを表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="129"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="158"/>
        <source>Zansa</source>
        <translation>残差</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="138"/>
        <source>MLCF</source>
        <translation>MLCF</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="140"/>
        <source>Fitting Range: </source>
        <translation>フィット範囲: </translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="144"/>
        <source>[eV]</source>
        <translation>[eV]</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="150"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="179"/>
        <source>DMut</source>
        <translation>DMut</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="153"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="184"/>
        <source>Ratio</source>
        <translation>比率</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="161"/>
        <source>Add Ref</source>
        <translation>参照を追加</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="163"/>
        <source>Image Type:</source>
        <translation>画像の種類:</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="172"/>
        <source>Fixed Scale</source>
        <translation>スケール固定</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="180"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="185"/>
        <source>Min.</source>
        <translation>最小</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="182"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="187"/>
        <source>Max.</source>
        <translation>最大</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="563"/>
        <source>Sort by A. No.</source>
        <translation>原子番号順</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="565"/>
        <source>Target Element Names</source>
        <translation>対象元素名</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="575"/>
        <source>Disp. on TIme</source>
        <translation>随時表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="587"/>
        <source>Set STD</source>
        <translation>標準に設定</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="592"/>
        <source>ReCalc Cor.</source>
        <translation>相関を再計算</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="595"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="610"/>
        <source>Correlation</source>
        <translation>相関</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="597"/>
        <source>Cor. Th.</source>
        <translation>相関しきい値</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="604"/>
        <source>Show Map of</source>
        <translation>表示するマップ</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="607"/>
        <source>dMut of The Elem.</source>
        <translation>元素の dMut</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="609"/>
        <source>N. dMut of The Elem.</source>
        <translation>元素の規格化 dMut</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="611"/>
        <source>Cor. Th</source>
        <translation>相関しきい値</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="612"/>
        <source>Mut+</source>
        <translation>Mut+</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="613"/>
        <source>Mut-</source>
        <translation>Mut-</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="614"/>
        <source>dE</source>
        <translation>dE</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="615"/>
        <source>ROI</source>
        <translation>ROI</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="616"/>
        <source>N.ROI</source>
        <translation>N.ROI</translation>
    </message>
</context>
<context>
    <name>Analyzer2</name>
    <message>
        <location filename="../../analysis/gui/Analyzer2.cpp" line="12"/>
        <source>Analyzer2</source>
        <translation>アナライザ2</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer2.cpp" line="13"/>
        <source>Collect Q Info</source>
        <translation>品質情報収集</translation>
    </message>
</context>
<context>
    <name>ElemCtrl</name>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="44"/>
        <source>Expected Absorption Edge.</source>
        <translation>予想される吸収端。</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="46"/>
        <source>dmut is calculated as mu(E0+dE) - mu(E0-dE).</source>
        <translation>dmut は mu(E0+dE) - mu(E0-dE) として計算されます。</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="48"/>
        <source>When the dmut is less than the Threshold, most of the values (ROI, dmut,...) is set at BG Val.</source>
        <translation>dmut がしきい値より小さいとき、ほとんどの値 (ROI, dmut, ...) は BG 値になります。</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="52"/>
        <source>No Neg</source>
        <translation>負値なし</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="55"/>
        <source>When the ROI is negative, the BG value is used instead of the calculated one.</source>
        <translation>ROI が負のとき、計算値の代わりに BG 値を使います。</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="56"/>
        <source>Use</source>
        <translation>使用</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="58"/>
        <source>Target</source>
        <translation>基準</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="60"/>
        <source>Show</source>
        <translation>表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="67"/>
        <source>Relative strength of the dmut against the dmut of selecte element as Target.</source>
        <translation>基準として選んだ元素の dmut に対する dmut の相対強度。</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="71"/>
        <source>Position of the absorption edge, where the mut is ( mu(E0+dE) + mu(E0-dE) ) / 2.</source>
        <translation>mut が ( mu(E0+dE) + mu(E0-dE) ) / 2 となる吸収端の位置。</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="73"/>
        <source>ROI Value</source>
        <translation>ROI 値</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="75"/>
        <source>Normalized ROI value calculated as ROI / dmut.</source>
        <translation>ROI / dmut として計算した規格化 ROI 値。</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="80"/>
        <source>Pre/Post dE</source>
        <translation>前後 dE</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="82"/>
        <source>Th dmut</source>
        <translation>dmut しきい値</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="85"/>
        <source>ROI</source>
        <translation>ROI</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="88"/>
        <source>dmut</source>
        <translation>dmut</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="90"/>
        <source>Ratio</source>
        <translation>比率</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/ElemCtrl.cpp" line="92"/>
        <source>Std. Ratio</source>
        <translation>標準比率</translation>
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
