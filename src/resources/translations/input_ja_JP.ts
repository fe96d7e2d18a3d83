<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>EOFSetup</name>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="9"/>
        <source>I1 Data</source>
        <translation>I1 データ</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="15"/>
        <source>Energy Cal. from File Name</source>
        <translation>ファイル名からエネルギー計算</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="21"/>
        <source>Pattern</source>
        <translation>パターン</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="32"/>
        <source>Factor</source>
        <translation>係数</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="43"/>
        <source>Energy Cal. from File No.</source>
        <translation>ファイル番号からエネルギー計算</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="48"/>
        <source>Unit</source>
        <translation>単位</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="60"/>
        <source>Even in</source>
        <translation>等間隔</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="65"/>
        <source>Energy</source>
        <translation>エネルギー</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="71"/>
        <source>Angle</source>
        <translation>角度</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="80"/>
        <source>Start</source>
        <translation>開始</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="90"/>
        <source>End</source>
        <translation>終了</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="100"/>
        <source>Delta</source>
        <translation>刻み</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="110"/>
        <source>Num</source>
        <translation>点数</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="121"/>
        <source>Energy Cal. from Ref. File</source>
        <translation>参照ファイルからエネルギー計算</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="129"/>
        <source>Sel.</source>
        <translation>選択</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="134"/>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <location filename="../../forms/EOFSetup.ui" line="135"/>
        <source>Close this window (Esc)</source>
        <translation>このウィンドウを閉じます (Esc)</translation>
    </message>
    <message>
        <location filename="../../input/EOFSetup.cpp" line="60"/>
        <source>Reference File</source>
        <translation>参照ファイル</translation>
    </message>
    <message>
        <location filename="../../input/gui/EOFSetup.cpp" line="63"/>
        <source>XAFS Data File (*.dat)</source>
        <translation>XAFS データファイル (*.dat)</translation>
    </message>
    <message>
        <location filename="../../input/gui/EOFSetup.cpp" line="64"/>
        <source>Any Files (* *.*)</source>
        <translation>すべてのファイル (* *.*)</translation>
    </message>
</context>
<context>
    <name>SelectDataFiles</name>
    <message>
        <location filename="../../forms/SelectDataFiles.ui" line="13"/>
        <source>Data Select</source>
        <translation>データ選択</translation>
    </message>
    <message>
        <location filename="../../forms/SelectDataFiles.ui" line="19"/>
        <source>New</source>
        <translation>新規</translation>
    </message>
    <message>
        <location filename="../../forms/SelectDataFiles.ui" line="26"/>
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message>
        <location filename="../../forms/SelectDataFiles.ui" line="31"/>
        <source>Show Latest</source>
        <translation>最新を表示</translation>
    </message>
    <message>
        <location filename="../../forms/SelectDataFiles.ui" line="37"/>
        <source>Setup</source>
        <translation>設定</translation>
    </message>
    <message>
        <location filename="../../forms/SelectDataFiles.ui" line="42"/>
        <source>Clear</source>
        <translation>クリア</translation>
    </message>
    <message>
        <location filename="../../forms/SelectDataFiles.ui" line="49"/>
        <source>Skip</source>
        <translation>間引き</translation>
    </message>
    <message>
        <location filename="../../forms/SelectDataFiles.ui" line="63"/>
        <source>Cut F.</source>
        <translation>先頭除外</translation>
    </message>
    <message>
        <location filename="../../forms/SelectDataFiles.ui" line="77"/>
        <source>Cut L.</source>
        <translation>末尾除外</translation>
    </message>
    <message>
        <location filename="../../input/gui/SelectDataFiles.cpp" line="31"/>
        <source>Take every n-th file of the list (0 and 1: every file)</source>
        <translation>リストの n 番目ごとのファイルを読み込みます（0 と 1：全てのファイル）</translation>
    </message>
    <message>
        <location filename="../../input/gui/SelectDataFiles.cpp" line="33"/>
        <source>Cut F. (cut first): files left out at the start of the list</source>
        <translation>Cut F.（先頭カット）：リストの先頭で除くファイル数</translation>
    </message>
    <message>
        <location filename="../../input/gui/SelectDataFiles.cpp" line="35"/>
        <source>Cut L. (cut last): files left out at the end of the list</source>
        <translation>Cut L.（末尾カット）：リストの末尾で除くファイル数</translation>
    </message>
    <message>
        <location filename="../../input/gui/SelectDataFiles.cpp" line="36"/>
        <source>The files replace the frames of the stack</source>
        <translation>ファイルでスタックのフレームを置き換えます</translation>
    </message>
    <message>
        <location filename="../../input/gui/SelectDataFiles.cpp" line="37"/>
        <source>The files are appended to the frames of the stack</source>
        <translation>ファイルをスタックのフレームの後に追加します</translation>
    </message>
    <message>
        <location filename="../../input/gui/SelectDataFiles.cpp" line="38"/>
        <source>While a load runs the display moves to each new frame</source>
        <translation>読み込み中、表示を新しいフレームごとに移します</translation>
    </message>
    <message>
        <location filename="../../input/gui/SelectDataFiles.cpp" line="39"/>
        <source>How the energies of the files are found: from their names, by calculation or from a reference file</source>
        <translation>ファイルのエネルギーの求め方：ファイル名から、計算で、または参照ファイルから</translation>
    </message>
    <message>
        <location filename="../../input/gui/SelectDataFiles.cpp" line="41"/>
        <source>Number of frames stored</source>
        <translation>格納したフレームの数</translation>
    </message>
    <message>
        <location filename="../../input/gui/SelectDataFiles.cpp" line="73"/>
        <source>Select Data Files</source>
        <translation>データファイルの選択</translation>
    </message>
    <message>
        <location filename="../../input/gui/SelectDataFiles.cpp" line="74"/>
        <source>KVMX Files, IMG Files, Tiff Files (*.dat *.img *.tif *.tiff)</source>
        <translation>KVMX ファイル, IMG ファイル, Tiff ファイル (*.dat *.img *.tif *.tiff)</translation>
    </message>
    <message>
        <location filename="../../input/gui/SelectDataFiles.cpp" line="75"/>
        <source>Any Files (* *.*)</source>
        <translation>すべてのファイル (* *.*)</translation>
    </message>
</context>
</TS>
