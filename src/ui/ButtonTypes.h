#pragma once
// Where a button's glyph sits beside its caption. Portable.
enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
