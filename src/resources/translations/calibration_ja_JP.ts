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
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="54"/>
        <source>Calibration</source>
        <translation>エネルギー校正</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="58"/>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="117"/>
        <source>Select Std.</source>
        <translation>標準試料を選択</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="68"/>
        <source>Std. :</source>
        <translation>標準 :</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="71"/>
        <source>Target :</source>
        <translation>対象 :</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="82"/>
        <source>Crystal :</source>
        <translation>分光結晶 :</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="84"/>
        <source>Edge Energy [eV] :</source>
        <translation>吸収端エネルギー [eV] :</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="95"/>
        <source>Exec Calib.</source>
        <translation>校正実行</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="96"/>
        <source>Clear Map</source>
        <translation>マップ消去</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="97"/>
        <source>Save</source>
        <translation>保存</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="98"/>
        <source>Load</source>
        <translation>読込</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="101"/>
        <source>Delta Energy [eV]</source>
        <translation>エネルギー差 [eV]</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="107"/>
        <source>Avr.</source>
        <translation>平均</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="107"/>
        <source>Min.</source>
        <translation>最小</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="107"/>
        <source>Max.</source>
        <translation>最大</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="107"/>
        <source>sigma</source>
        <translation>標準偏差</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="119"/>
        <source>Save Energy Map</source>
        <translation>エネルギーマップを保存</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="120"/>
        <source>Load Energy Map</source>
        <translation>エネルギーマップを読込</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="137"/>
        <source>Energy Distribution Map File (*.emp)</source>
        <translation>エネルギー分布マップファイル (*.emp)</translation>
    </message>
    <message>
        <location filename="../../calibration/gui/CalibCtrl.cpp" line="137"/>
        <source>Any Files (* *.*)</source>
        <translation>すべてのファイル (* *.*)</translation>
    </message>
</context>
</TS>
