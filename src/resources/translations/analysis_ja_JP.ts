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
        <location filename="../../analysis/gui/Analyzer.cpp" line="973"/>
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
        <location filename="../../analysis/gui/Analyzer.cpp" line="588"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="936"/>
        <source>Analyze</source>
        <translation>解析</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="125"/>
        <source>Disp. on Time</source>
        <translation>随時表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="127"/>
        <source>Display the result maps while the run goes on, row by row</source>
        <translation>解析中も結果マップを行ごとに表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="130"/>
        <source>Residual (Zansa) of the fit of the spectrum on show</source>
        <translation>表示中のスペクトルのフィットの残差</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="131"/>
        <source>Show View</source>
        <translation>スペクトルを表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="136"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="169"/>
        <source>Zansa</source>
        <translation>残差</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="146"/>
        <source>MLCF</source>
        <translation>MLCF</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="148"/>
        <source>Modified LCF: fit the raw spectra with a linear background</source>
        <translation>修正 LCF: 生スペクトルを直線バックグラウンド付きでフィット</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="149"/>
        <source>Fitting Range: </source>
        <translation>フィット範囲: </translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="153"/>
        <source>[eV]</source>
        <translation>[eV]</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="159"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="192"/>
        <source>DMut</source>
        <translation>DMut</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="162"/>
        <source>Show the map of edge jumps (delta mu t) of the selected reference</source>
        <translation>選択した参照の吸収端ジャンプ (Δμt) のマップを表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="163"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="197"/>
        <source>Ratio</source>
        <translation>比率</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="165"/>
        <source>Show the map of fitted ratios of the selected reference</source>
        <translation>選択した参照のフィット比率のマップを表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="172"/>
        <source>Show the map of the residual (Zansa) instead of a reference map</source>
        <translation>参照のマップの代わりに残差のマップを表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="173"/>
        <source>Add Ref</source>
        <translation>参照を追加</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="175"/>
        <source>Add a row for one more reference spectrum</source>
        <translation>参照スペクトルの行を一つ追加</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="176"/>
        <source>Image Type:</source>
        <translation>画像の種類:</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="185"/>
        <source>Fixed Scale</source>
        <translation>スケール固定</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="193"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="198"/>
        <source>Min.</source>
        <translation>最小</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="195"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="200"/>
        <source>Max.</source>
        <translation>最大</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="579"/>
        <source>Sort by A. No.</source>
        <translation>原子番号順</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="581"/>
        <source>Sort the element rows by atomic number</source>
        <translation>元素の行を原子番号順に並べる</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="582"/>
        <source>Target Element Names</source>
        <translation>対象元素名</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="592"/>
        <source>Disp. on TIme</source>
        <translation>随時表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="605"/>
        <source>Set STD</source>
        <translation>標準に設定</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="607"/>
        <source>Take the composition of the spectrum on show as the standard</source>
        <translation>表示中のスペクトルの組成を標準とする</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="611"/>
        <source>Correlation threshold</source>
        <translation>相関のしきい値</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="612"/>
        <source>ReCalc Cor.</source>
        <translation>相関を再計算</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="614"/>
        <source>Recalculate the correlation map against the standard</source>
        <translation>標準に対する相関マップを再計算</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="616"/>
        <location filename="../../analysis/gui/Analyzer.cpp" line="632"/>
        <source>Correlation</source>
        <translation>相関</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="618"/>
        <source>Cor. Th.</source>
        <translation>相関しきい値</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="626"/>
        <source>Show Map of</source>
        <translation>表示するマップ</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="629"/>
        <source>dMut of The Elem.</source>
        <translation>元素の dMut</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="631"/>
        <source>N. dMut of The Elem.</source>
        <translation>元素の規格化 dMut</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="633"/>
        <source>Cor. Th</source>
        <translation>相関しきい値</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="634"/>
        <source>Mut+</source>
        <translation>Mut+</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="635"/>
        <source>Mut-</source>
        <translation>Mut-</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="636"/>
        <source>dE</source>
        <translation>dE</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="637"/>
        <source>ROI</source>
        <translation>ROI</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="638"/>
        <source>N.ROI</source>
        <translation>N.ROI</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="923"/>
        <source>Residual map: mu t at the energy given, less the edge jump map times the factor</source>
        <translation>残差マップ: 指定エネルギーの μt から吸収端ジャンプのマップの係数倍を引いたもの</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="927"/>
        <source>Res = mut(</source>
        <translation>Res = mut(</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="930"/>
        <source> [eV])- dmut x</source>
        <translation> [eV])- dmut x</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="950"/>
        <source>Show dmut</source>
        <translation>dmut を表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="951"/>
        <source>Show the Rest</source>
        <translation>残りを表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="952"/>
        <source>Show Ratio</source>
        <translation>比を表示</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="987"/>
        <source>Select Map 1</source>
        <translation>マップ 1 を選択</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="987"/>
        <source>Select Map 2</source>
        <translation>マップ 2 を選択</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="989"/>
        <source>Capture</source>
        <translation>取り込み</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="1005"/>
        <source>Map1</source>
        <translation>マップ1</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="1006"/>
        <source>Map2</source>
        <translation>マップ2</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="1007"/>
        <source>Processed</source>
        <translation>処理後</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="1024"/>
        <source>Sub.</source>
        <translation>差</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="1025"/>
        <source>Mask</source>
        <translation>マスク</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="1026"/>
        <source>Div.</source>
        <translation>商</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/Analyzer.cpp" line="1034"/>
        <source>Process</source>
        <translation>処理</translation>
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
    <message>
        <location filename="../../analysis/gui/LCFReference.cpp" line="58"/>
        <source>Background of this reference by the Victoreen formula</source>
        <translation>この参照のバックグラウンドを Victoreen 式で求める</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/LCFReference.cpp" line="59"/>
        <source>Energy shift of this reference, in eV</source>
        <translation>この参照のエネルギーシフト (eV)</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/LCFReference.cpp" line="61"/>
        <source>Fitted ratio of this reference, in percent</source>
        <translation>この参照のフィット比率 (%)</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/LCFReference.cpp" line="62"/>
        <source>Edge jump (delta mu t) of this reference in the fit</source>
        <translation>フィットでのこの参照の吸収端ジャンプ (Δμt)</translation>
    </message>
    <message>
        <location filename="../../analysis/gui/LCFReference.cpp" line="64"/>
        <source>Edge energy of this reference, in eV</source>
        <translation>この参照の吸収端エネルギー (eV)</translation>
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
