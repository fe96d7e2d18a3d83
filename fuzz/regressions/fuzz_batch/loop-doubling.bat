:for L0 x xx 0
:for L1 x xx 0
:for L2 x xx 0
:for L3 x xx 0
:for L4 x xx 0
:for L5 x xx 0
:for L6 x xx 0
:for L7 x xx 0
:for L8 x xx 0
:for L9 x xx 0
:for L10 x xx 0
:for L11 x xx 0
:for L12 x xx 0
:for L13 x xx 0
:for L14 x xx 0
:for L15 x xx 0
:for L16 x xx 0
:for L17 x xx 0
:for L18 x xx 0
:for L19 x xx 0
:for L20 x xx 0
:for L21 x xx 0
:for L22 x xx 0
:for L23 x xx 0
set_band_w x
:next L23
:next L22
:next L21
:next L20
:next L19
:next L18
:next L17
:next L16
:next L15
:next L14
:next L13
:next L12
:next L11
:next L10
:next L9
:next L8
:next L7
:next L6
:next L5
:next L4
:next L3
:next L2
:next L1
:next L0
