<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>CalibCtrl</name>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="28"/>
        <source>Simple</source>
        <translation>単純</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="31"/>
        <source>Victreen</source>
        <translation>Victoreen</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="33"/>
        <source>Backgrounds by the Victoreen formula</source>
        <translation>バックグラウンドを Victoreen 式で求める</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="55"/>
        <source>Calibration</source>
        <translation>エネルギー校正</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="59"/>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="124"/>
        <source>Select Std.</source>
        <translation>標準試料を選択</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="61"/>
        <source>Select the standard spectrum file</source>
        <translation>標準スペクトルのファイルを選択</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="70"/>
        <source>Std. :</source>
        <translation>標準 :</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="73"/>
        <source>Target :</source>
        <translation>対象 :</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="84"/>
        <source>Crystal :</source>
        <translation>分光結晶 :</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="86"/>
        <source>Edge Energy [eV] :</source>
        <translation>吸収端エネルギー [eV] :</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="97"/>
        <source>Exec Calib.</source>
        <translation>校正実行</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="98"/>
        <source>Execute the calibration: map the energy shift of every position</source>
        <translation>校正を実行: 各位置のエネルギーシフトのマップを作る</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="99"/>
        <source>Clear Map</source>
        <translation>マップ消去</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="100"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="101"/>
        <source>Load</source>
        <translation>読込</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="104"/>
        <source>Delta Energy [eV]</source>
        <translation>エネルギー差 [eV]</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="110"/>
        <source>Avr.</source>
        <translation>平均</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="110"/>
        <source>Min.</source>
        <translation>最小</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="110"/>
        <source>Max.</source>
        <translation>最大</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="110"/>
        <source>sigma</source>
        <translation>標準偏差</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="112"/>
        <source>Average</source>
        <translation>平均</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="112"/>
        <source>Minimum</source>
        <translation>最小</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="112"/>
        <source>Maximum</source>
        <translation>最大</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="113"/>
        <source>Standard deviation</source>
        <translation>標準偏差</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="126"/>
        <source>Save Energy Map</source>
        <translation>エネルギーマップを保存</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="127"/>
        <source>Load Energy Map</source>
        <translation>エネルギーマップを読込</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="144"/>
        <source>Energy Distribution Map File (*.emp)</source>
        <translation>エネルギー分布マップファイル (*.emp)</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="144"/>
        <source>Any Files (* *.*)</source>
        <translation>すべてのファイル (* *.*)</translation>
    </message>
</context>
</TS>
