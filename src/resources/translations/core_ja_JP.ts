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
