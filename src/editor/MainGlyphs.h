#pragma once
class TFormMain;

// Draws the main window's button glyphs (16 x 16, our own pictures) into its buttons.
void LoadMainGlyphs(TFormMain& form);
