#pragma once

#include <QString>

// Where the program keeps its own small files ("prg.IDO", "lidi.IDO", "imagraf.bmp").
// Run from the build folder or a checkout they stay in the current folder, as they always
// have. An installed copy is usually started from the desktop menu, where the current folder
// is the home folder or "/", so it keeps them in the user's data folder instead. A copy counts
// as installed when the program's desktop entry sits where installing puts it, relative to the
// executable: one rule for a package, `cmake --install` and any install prefix.
namespace DataFolder {

bool isInstalled();

// The folder the files live in: the user's data folder for an installed copy, otherwise an
// empty text, which stands for the current folder.
QString path();

// Where the file called name is kept. For an installed copy the data folder is created when
// missing (if that fails, opening the file fails and the caller reports it as usual).
QString filePath(const QString& name);

// The rule and the folder of this copy, for --help.
QString helpText();

} // namespace DataFolder
