<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>ColorBar</name>
    <message>
        <location filename="../../widgets/gui/ColorBar.cpp" line="14"/>
        <source>Drag the handle nearer to the mouse to stretch the grey scale; dragging one handle past the other inverts it.</source>
        <translation>マウスに近い方のハンドルをドラッグしてグレースケールを伸縮します。一方のハンドルをもう一方より先までドラッグすると反転します。</translation>
    </message>
</context>
<context>
    <name>ImgDispA</name>
    <message>
        <location filename="../../widgets/gui/ImgDispA.cpp" line="13"/>
        <source>Move the mouse over the image to show the spectrum under it; hold Alt to keep the position.
Drag: select an area. Ctrl+drag: select an area and zoom to it. Shift+drag: move the view.
Right click: clear the selection. Wheel: zoom around the mouse.</source>
        <translation>画像上でマウスを動かすと、その位置のスペクトルを表示します。Alt を押している間は位置を保ちます。
ドラッグ: 領域を選択。Ctrl+ドラッグ: 領域を選択して拡大。Shift+ドラッグ: 表示を移動。
右クリック: 選択を解除。ホイール: マウス位置を中心に拡大縮小。</translation>
    </message>
</context>
</TS>
