#pragma once
class TFormChSetup;

// Draws the set-up dialog's button glyphs (16 x 16, our own pictures).
void LoadSetupGlyphs(TFormChSetup& form);
