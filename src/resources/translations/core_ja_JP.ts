<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>Body</name>
    <message>
        <source>Lumenograf</source>
        <translation>Lumenograf</translation>
    </message>
    <message>
        <source>Dark :</source>
        <translation>ダーク :</translation>
    </message>
    <message>
        <source>Dark Data</source>
        <translation>ダークデータ</translation>
    </message>
    <message>
        <source>Clear</source>
        <translation>クリア</translation>
    </message>
    <message>
        <source>Fluo. Type</source>
        <translation>蛍光法</translation>
    </message>
    <message>
        <source>Img. Select :</source>
        <translation>画像選択 :</translation>
    </message>
    <message>
        <source>Data</source>
        <translation>データ</translation>
    </message>
    <message>
        <source>I0</source>
        <translation>I0</translation>
    </message>
    <message>
        <source>xw</source>
        <translation>xw</translation>
    </message>
    <message>
        <source>yw</source>
        <translation>yw</translation>
    </message>
    <message>
        <source>Position:</source>
        <translation>位置:</translation>
    </message>
    <message>
        <source>Value :</source>
        <translation>値 :</translation>
    </message>
    <message>
        <source>from Tbl.:</source>
        <translation>テーブルから:</translation>
    </message>
    <message>
        <source>dE from Std.:</source>
        <translation>標準とのdE:</translation>
    </message>
    <message>
        <source>Img. No.</source>
        <translation>画像番号</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>Previous image</source>
        <translation>前の画像</translation>
    </message>
    <message>
        <source>Next image</source>
        <translation>次の画像</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>拡大</translation>
    </message>
    <message>
        <source>Reset Scale</source>
        <translation>スケールをリセット</translation>
    </message>
    <message>
        <source>Show Spectrum</source>
        <translation>スペクトル表示</translation>
    </message>
    <message>
        <source>Batch Ctrl.</source>
        <translation>バッチ制御</translation>
    </message>
    <message>
        <source>KVMX Files, IMG Files, Tiff Files (*.dat *.img *.tif *.tiff)</source>
        <translation>KVMX ファイル, IMG ファイル, Tiff ファイル (*.dat *.img *.tif *.tiff)</translation>
    </message>
    <message>
        <source>Any Files (* *.*)</source>
        <translation>すべてのファイル (* *.*)</translation>
    </message>
    <message>
        <source>I1 Data</source>
        <translation>I1 データ</translation>
    </message>
    <message>
        <source>I0 Data</source>
        <translation>I0 データ</translation>
    </message>
    <message>
        <source>Spectrum at the position</source>
        <translation>位置のスペクトル</translation>
    </message>
    <message>
        <source>Dark Value :</source>
        <translation>ダーク値 :</translation>
    </message>
    <message>
        <source>Save Img/Data</source>
        <translation>画像/データ保存</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>画像保存</translation>
    </message>
    <message>
        <source>Save Data</source>
        <translation>データ保存</translation>
    </message>
    <message>
        <source>Cfg.</source>
        <translation>設定</translation>
    </message>
    <message>
        <source>Save Flat Dark</source>
        <translation>フラット・ダーク保存</translation>
    </message>
    <message>
        <source>Save Each Spectrum</source>
        <translation>各スペクトル保存</translation>
    </message>
    <message>
        <source>Normalized XAFS</source>
        <translation>規格化XAFS</translation>
    </message>
    <message>
        <source>Raw XAFS</source>
        <translation>生XAFS</translation>
    </message>
    <message>
        <source>Raw</source>
        <translation>生データ</translation>
    </message>
    <message>
        <source>Image File (*.png)</source>
        <translation>画像ファイル (*.png)</translation>
    </message>
    <message>
        <source>XAFS Spectra (*.dat)</source>
        <translation>XAFSスペクトル (*.dat)</translation>
    </message>
    <message>
        <source>Tiff File (*.tif)</source>
        <translation>Tiffファイル (*.tif)</translation>
    </message>
    <message>
        <source>Data File (*.dat)</source>
        <translation>データファイル (*.dat)</translation>
    </message>
    <message>
        <source>Res. Analysis</source>
        <translation>解析結果</translation>
    </message>
    <message>
        <source>Show Analyzer</source>
        <translation>アナライザを表示</translation>
    </message>
    <message>
        <source>Shift</source>
        <translation>シフト</translation>
    </message>
    <message>
        <source>Show Cali. Ctrl.</source>
        <translation>校正ウィンドウを表示</translation>
    </message>
    <message>
        <source>DeGlitch</source>
        <translation>デグリッチ</translation>
    </message>
    <message>
        <source>Deglitch E-Shift Map</source>
        <translation>エネルギーシフトマップのデグリッチ</translation>
    </message>
    <message>
        <source>NES</source>
        <translation>NES</translation>
    </message>
    <message>
        <source>Deglitch Selected Map</source>
        <translation>選択マップのデグリッチ</translation>
    </message>
    <message>
        <source>de Glitch</source>
        <translation>デグリッチ</translation>
    </message>
    <message>
        <source>Show Proc.</source>
        <translation>処理結果を表示</translation>
    </message>
    <message>
        <source>Exec F.A.</source>
        <translation>F.A. 実行</translation>
    </message>
    <message>
        <source>Chk Vals</source>
        <translation>値を確認</translation>
    </message>
    <message>
        <source>Extra</source>
        <translation>その他</translation>
    </message>
    <message>
        <source>Show Img. Proc.</source>
        <translation>画像処理を表示</translation>
    </message>
    <message>
        <source>Show Analyser2</source>
        <translation>アナライザ2を表示</translation>
    </message>
    <message>
        <source>Half width of the spectrum window in pixels: the spectrum sums 2 xw + 1 columns around the position</source>
        <translation>スペクトル窓の半幅（ピクセル）：位置の周りの 2 xw + 1 列を合計します</translation>
    </message>
    <message>
        <source>Half height of the spectrum window in pixels: the spectrum sums 2 yw + 1 rows around the position</source>
        <translation>スペクトル窓の半高さ（ピクセル）：位置の周りの 2 yw + 1 行を合計します</translation>
    </message>
    <message>
        <source>Energy shift of this pixel in the energy-shift map of the calibration (eV); 0 without a map</source>
        <translation>較正のエネルギーシフトマップにおけるこのピクセルのエネルギーシフト (eV)。マップがなければ 0</translation>
    </message>
    <message>
        <source>Energy shift of the spectrum here against the standard spectrum of the spectrum window (eV); 0 without a standard</source>
        <translation>スペクトルウィンドウの標準スペクトルに対するここのスペクトルのエネルギーシフト (eV)。標準がなければ 0</translation>
    </message>
    <message>
        <source>Fluorescence: the spectrum is I1 / I0 instead of ln(I0 / I1)</source>
        <translation>蛍光：スペクトルは ln(I0 / I1) ではなく I1 / I0</translation>
    </message>
    <message>
        <source>What the image shows</source>
        <translation>画像に表示するもの</translation>
    </message>
    <message>
        <source>The I1 frames (the data)</source>
        <translation>I1 フレーム（データ）</translation>
    </message>
    <message>
        <source>The I0 frames (the incident beam)</source>
        <translation>I0 フレーム（入射光）</translation>
    </message>
    <message>
        <source>The energy-shift map of the calibration</source>
        <translation>較正のエネルギーシフトマップ</translation>
    </message>
    <message>
        <source>The result map chosen in the analyzer (Res.: result)</source>
        <translation>アナライザで選んだ結果マップ（Res.：結果）</translation>
    </message>
    <message>
        <source>Image number: the frame on show, counted from 0 (the field&apos;s tip names its file)</source>
        <translation>画像番号：表示中のフレーム、0 から数えます（欄のヒントがそのファイル名）</translation>
    </message>
    <message>
        <source>Frame on show: drag, click, wheel, arrow, Home, End and Page keys (Left and Right also on the image)</source>
        <translation>表示するフレーム：ドラッグ、クリック、ホイール、矢印・Home・End・Page キー（左右キーは画像上でも）</translation>
    </message>
    <message>
        <source>Show the energy calibration window (Cali. Ctrl.: calibration control)</source>
        <translation>エネルギー較正ウィンドウを表示（Cali. Ctrl.：較正コントロール）</translation>
    </message>
    <message>
        <source>Show the batch window, which runs scripts (Ctrl.: control)</source>
        <translation>スクリプトを実行するバッチウィンドウを表示（Ctrl.：コントロール）</translation>
    </message>
    <message>
        <source>Configuration of &quot;Save Data&quot;: TIFF or text, scale, layout</source>
        <translation>「Save Data」の設定：TIFF かテキストか、スケール、書式</translation>
    </message>
    <message>
        <source>Save the flat frame (I0) and the dark frame</source>
        <translation>フラットフレーム (I0) とダークフレームを保存</translation>
    </message>
    <message>
        <source>NES (Normalize E-Shift): deglitch the energy-shift map</source>
        <translation>NES（エネルギーシフト正規化）：エネルギーシフトマップのグリッチを除去</translation>
    </message>
    <message>
        <source>de Glitch: replace spikes in the map selected in the analyzer by the mean of their neighbours</source>
        <translation>de Glitch：アナライザで選んだマップのスパイクを近傍の平均で置き換えます</translation>
    </message>
    <message>
        <source>Spike threshold: a value is a spike when its second difference exceeds this factor times the mean one</source>
        <translation>スパイクのしきい値：二階差分が平均のこの倍数を超える値をスパイクとみなします</translation>
    </message>
    <message>
        <source>Only values within this fraction of the map&apos;s range from its minimum or maximum are replaced</source>
        <translation>マップの最小値または最大値からレンジのこの割合以内の値だけを置き換えます</translation>
    </message>
    <message>
        <source>Show the processed (deglitched) values of the map (Proc.: processed)</source>
        <translation>マップの処理済み（グリッチ除去済み）の値を表示（Proc.：処理済み）</translation>
    </message>
    <message>
        <source>1:1</source>
        <translation>1:1</translation>
    </message>
    <message>
        <source>Square pixels; off: the image is stretched over the whole display</source>
        <translation>正方形のピクセル。オフ：画像を表示領域全体に引き伸ばします</translation>
    </message>
    <message>
        <source>Area (%1, %2) - (%3, %4): %5 x %6 pixels</source>
        <translation>領域 (%1, %2) - (%3, %4)：%5 x %6 ピクセル</translation>
    </message>
    <message>
        <source>I1</source>
        <translation>I1</translation>
    </message>
    <message>
        <source>Loading %1</source>
        <translation>%1 を読み込み中</translation>
    </message>
    <message>
        <source>Show the image processor, which aligns drifting frames (Img. Proc.: image processing)</source>
        <translation>ずれたフレームを揃える画像処理ウィンドウを表示（Img. Proc.：画像処理）</translation>
    </message>
    <message>
        <source>Show the second analyzer: the quality survey of the area</source>
        <translation>第二アナライザを表示：領域の品質調査</translation>
    </message>
    <message>
        <source>Calibration</source>
        <translation>較正</translation>
    </message>
    <message>
        <source>Spectra of all bins</source>
        <translation>全ビンのスペクトル</translation>
    </message>
    <message>
        <source>Exec F.A. (Fourier analysis): relate the brightness of each bin of the area to the Fourier magnitudes of its I1 trace; the report goes to the log</source>
        <translation>Exec F.A.（フーリエ解析）：領域の各ビンの明るさをその I1 トレースのフーリエ振幅と関係づけます。結果はログへ</translation>
    </message>
    <message>
        <source>Chk Vals (check values): write every value of the map on show to the log</source>
        <translation>Chk Vals（値の確認）：表示中のマップの全ての値をログに書き出します</translation>
    </message>
    <message>
        <source>Residual absorption</source>
        <translation>残留吸収</translation>
    </message>
    <message>
        <source>Sum-up</source>
        <translation>積算</translation>
    </message>
    <message>
        <source>Fourier survey</source>
        <translation>フーリエ調査</translation>
    </message>
</context>
<context>
    <name>SaveDataCfg</name>
    <message>
        <source>Save Data Configuration</source>
        <translation>データ保存の設定</translation>
    </message>
    <message>
        <source>Save as Tiff</source>
        <translation>Tiffで保存</translation>
    </message>
    <message>
        <source>Save as Text data</source>
        <translation>テキストデータで保存</translation>
    </message>
    <message>
        <source>Fixed Scale</source>
        <translation>固定スケール</translation>
    </message>
    <message>
        <source>Save as Analyzed Area Size and Resolution</source>
        <translation>解析領域の大きさと分解能で保存</translation>
    </message>
    <message>
        <source>  Max</source>
        <translation>  最大</translation>
    </message>
    <message>
        <source>Min</source>
        <translation>最小</translation>
    </message>
    <message>
        <source>Comma Separated</source>
        <translation>カンマ区切り</translation>
    </message>
    <message>
        <source>Space Separated</source>
        <translation>スペース区切り</translation>
    </message>
    <message>
        <source>X Y Val : 1point/1line</source>
        <translation>X Y Val : 1点/1行</translation>
    </message>
    <message>
        <source>Val1 Val2 Val3... : each Y line</source>
        <translation>Val1 Val2 Val3... : Y行ごと</translation>
    </message>
</context>
</TS>
