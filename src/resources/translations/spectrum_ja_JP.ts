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
        <source>Show the spectra normalized to an edge jump of 1</source>
        <translation>吸収端ジャンプを 1 に規格化したスペクトルを表示</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="49"/>
        <source>Normalized</source>
        <translation>規格化</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="56"/>
        <source>Energy correction: draw the spectrum less its energy shift</source>
        <translation>エネルギー補正: エネルギーシフトを差し引いて描く</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="59"/>
        <source>E. Correct</source>
        <translation>E. 補正</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="66"/>
        <source>Show the raw I1 intensity at the position</source>
        <translation>その位置の I1 の生の強度を表示</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="69"/>
        <source>Raw</source>
        <translation>生データ</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="76"/>
        <source>Show the Fourier magnitudes (FFT) of the raw I1 trace</source>
        <translation>I1 の生データのフーリエ振幅 (FFT) を表示</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="79"/>
        <source>FFT</source>
        <translation>FFT</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="99"/>
        <source>Reset X Axis Scale</source>
        <translation>X軸のスケールを戻す</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="102"/>
        <source>S.R.</source>
        <translation>S.R.</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="109"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="139"/>
        <source>X:</source>
        <translation>X:</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="162"/>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="185"/>
        <source>Point:</source>
        <translation>点:</translation>
    </message>
    <message>
        <location filename="../../forms/XafsView.ui" line="198"/>
        <source>Point number under the mouse</source>
        <translation>マウス位置の点番号</translation>
    </message>
    <message>
        <location filename="../../spectrum/gui/XafsView.cpp" line="267"/>
        <source>Data File (*.dat)</source>
        <translation>データファイル (*.dat)</translation>
    </message>
    <message>
        <location filename="../../spectrum/gui/XafsView.cpp" line="267"/>
        <source>Any Files (* *.*)</source>
        <translation>すべてのファイル (* *.*)</translation>
    </message>
    <message>
        <location filename="../../spectrum/gui/XafsView.cpp" line="268"/>
        <source>Save Spectra</source>
        <translation>スペクトルの保存</translation>
    </message>
    <message>
        <location filename="../../spectrum/gui/XafsView.cpp" line="307"/>
        <source>Position (%1, %2), window %3 x %4 pixels</source>
        <translation>位置 (%1, %2)、窓 %3 x %4 ピクセル</translation>
    </message>
    <message>
        <location filename="../../spectrum/gui/XafsView.cpp" line="313"/>
        <source>Frequency [cycles over the I1 trace]</source>
        <translation>周波数 [I1 データ全体での周期数]</translation>
    </message>
    <message>
        <location filename="../../spectrum/gui/XafsView.cpp" line="314"/>
        <source>Energy [eV]</source>
        <translation>エネルギー [eV]</translation>
    </message>
    <message>
        <location filename="../../spectrum/gui/XafsView.cpp" line="321"/>
        <source>|FFT of I1|</source>
        <translation>|I1 の FFT|</translation>
    </message>
    <message>
        <location filename="../../spectrum/gui/XafsView.cpp" line="323"/>
        <source>I1 [counts]</source>
        <translation>I1 [カウント]</translation>
    </message>
    <message>
        <location filename="../../spectrum/gui/XafsView.cpp" line="325"/>
        <source>normalized μt</source>
        <translation>規格化 μt</translation>
    </message>
    <message>
        <location filename="../../spectrum/gui/XafsView.cpp" line="327"/>
        <source>μt</source>
        <translation>μt</translation>
    </message>
</context>
</TS>
