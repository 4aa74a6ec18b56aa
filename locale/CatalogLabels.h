// Labels from the desktop's message catalogs (GNU gettext), the second
// build's way to translate: the built-in English text of a label (eLabel)
// is its message id, and the catalog of the user's language (LANGUAGE,
// LC_ALL, LC_MESSAGES, LANG) gives its translation. There is no language
// menu and no dictionary then.
//
//   UseLabelCatalog("orvella");   // getLabel(2) is "Abbrechen" with LANGUAGE=de
//
// Catalogs are "LANG/LC_MESSAGES/DOMAIN.mo" in "share/locale" beside the
// program's folder (the build tree and an installed tree alike), else in
// the locale folder of the installation.
#pragma once

// Binds `domain` to the program's catalogs and makes it the label source.
void UseLabelCatalog(const char* domain);

// The catalog's text for a label number (the built-in text when the
// catalog has none); null for numbers outside 1..99 and the later table
// (calendar/Labels.h).
const char* CatalogText(int number);

// The folder the catalogs are looked for in.
const char* LabelCatalogFolder();
