#pragma once

#include <QString>
#include <QTranslator>

// The toolkit's own texts (standard buttons, file dialogs, print preview) in the interface
// language, from the translation catalogs installed with the toolkit. While an object lives,
// its catalog is installed on the application.
class ToolkitTranslation {
public:
    // The catalog for a language: "qtbase_pt_BR" for 'p', "qtbase_es" for 'e', none (empty)
    // for English, the toolkit's own language.
    static QString catalogFor(char language);

    // Installs the catalog of language in place of the one installed before. False when the
    // catalog could not be loaded: the toolkit then shows its English texts.
    bool apply(char language);

private:
    QTranslator translator_;
};
