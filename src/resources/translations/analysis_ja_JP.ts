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
        <location filename="../../analysis/gui/Analyzer.cpp" line="44"/>
        <source>Analyzer</source>
        <translation>アナライザ</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="63"/>
        <source>Analyzer Spectrum</source>
        <translation>アナライザのスペクトル</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="80"/>
        <source>LCF / MLCF Analysis</source>
        <translation>LCF / MLCF 解析</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="82"/>
        <source>Residual Absorption Analysis</source>
        <translation>残留吸収解析</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="83"/>
        <source>Element Analysis</source>
        <translation>元素解析</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="84"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="948"/>
        <source>Sum Up</source>
        <translation>積算</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="85"/>
        <source>Process Maps</source>
        <translation>マップ処理</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="121"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="579"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="911"/>
        <source>Analyze</source>
        <translation>解析</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="125"/>
        <source>Disp. on Time</source>
        <translation>随時表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="129"/>
        <source>Show View</source>
        <translation>スペクトルを表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="134"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="163"/>
        <source>Zansa</source>
        <translation>残差</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="143"/>
        <source>MLCF</source>
        <translation>MLCF</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="145"/>
        <source>Fitting Range: </source>
        <translation>フィット範囲: </translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="149"/>
        <source>[eV]</source>
        <translation>[eV]</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="155"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="184"/>
        <source>DMut</source>
        <translation>DMut</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="158"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="189"/>
        <source>Ratio</source>
        <translation>比率</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="166"/>
        <source>Add Ref</source>
        <translation>参照を追加</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="168"/>
        <source>Image Type:</source>
        <translation>画像の種類:</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="177"/>
        <source>Fixed Scale</source>
        <translation>スケール固定</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="185"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="190"/>
        <source>Min.</source>
        <translation>最小</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="187"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="192"/>
        <source>Max.</source>
        <translation>最大</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="571"/>
        <source>Sort by A. No.</source>
        <translation>原子番号順</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="573"/>
        <source>Target Element Names</source>
        <translation>対象元素名</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="583"/>
        <source>Disp. on TIme</source>
        <translation>随時表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="595"/>
        <source>Set STD</source>
        <translation>標準に設定</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="600"/>
        <source>ReCalc Cor.</source>
        <translation>相関を再計算</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="603"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="618"/>
        <source>Correlation</source>
        <translation>相関</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="605"/>
        <source>Cor. Th.</source>
        <translation>相関しきい値</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="612"/>
        <source>Show Map of</source>
        <translation>表示するマップ</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="615"/>
        <source>dMut of The Elem.</source>
        <translation>元素の dMut</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="617"/>
        <source>N. dMut of The Elem.</source>
        <translation>元素の規格化 dMut</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="619"/>
        <source>Cor. Th</source>
        <translation>相関しきい値</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="620"/>
        <source>Mut+</source>
        <translation>Mut+</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="621"/>
        <source>Mut-</source>
        <translation>Mut-</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="622"/>
        <source>dE</source>
        <translation>dE</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="623"/>
        <source>ROI</source>
        <translation>ROI</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="624"/>
        <source>N.ROI</source>
        <translation>N.ROI</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="903"/>
        <source>Res = mut(</source>
        <translation>Res = mut(</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="905"/>
        <source> [eV])- dmut x</source>
        <translation> [eV])- dmut x</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="925"/>
        <source>Show dmut</source>
        <translation>dmut を表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="926"/>
        <source>Show the Rest</source>
        <translation>残りを表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="927"/>
        <source>Show Ratio</source>
        <translation>比を表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="962"/>
        <source>Select Map 1</source>
        <translation>マップ 1 を選択</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="962"/>
        <source>Select Map 2</source>
        <translation>マップ 2 を選択</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="964"/>
        <source>Capture</source>
        <translation>取り込み</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="980"/>
        <source>Map1</source>
        <translation>マップ1</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="981"/>
        <source>Map2</source>
        <translation>マップ2</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="982"/>
        <source>Processed</source>
        <translation>処理後</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="999"/>
        <source>Sub.</source>
        <translation>差</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="1000"/>
        <source>Mask</source>
        <translation>マスク</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="1001"/>
        <source>Div.</source>
        <translation>商</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="1009"/>
        <source>Process</source>
        <translation>処理</translation>
    </message>
</context>
<context>
    <name>EShiftMapDialog</name>
    <message>
        <location filename="../../analysis/gui/EShiftMapDialog.cpp" line="6"/>
        <source>Energy Distribution Map File</source>
        <translation>エネルギー分布マップファイル</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/EShiftMapDialog.cpp" line="9"/>
        <source>Energy Distribution Map File (*.emp)</source>
        <translation>エネルギー分布マップファイル (*.emp)</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/EShiftMapDialog.cpp" line="9"/>
        <source>Any Files (* *.*)</source>
        <translation>すべてのファイル (* *.*)</translation>
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
    <name>SumUpCtrl</name>
    <message>
        <location filename="../../analysis/gui/SumUpCtrl.cpp" line="22"/>
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/SumUpCtrl.cpp" line="24"/>
        <source>Del</source>
        <translation>削除</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/SumUpCtrl.cpp" line="28"/>
        <source>From</source>
        <translation>開始</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/SumUpCtrl.cpp" line="30"/>
        <source>To</source>
        <translation>終了</translation>
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
