#pragma once

class QCoreApplication;

// Installs the program's translation for the user's language (and Qt's own),
// when there is one; the English texts are the keys and stand otherwise.
void installTranslations(QCoreApplication& app);
