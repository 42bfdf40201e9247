/* A module that only carries a damaged version block (ShortTranslation.rc). */
int ShortTranslationFixture(void) { return 0; }
