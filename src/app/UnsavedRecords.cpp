// The question asked before downloaded records that were not saved are cleared.
#include "MainSession.h"
#include "Prompt.h"

bool MainSession::askBeforeClearing() {
    changed();
    const SaveQuestion question{text(Txt::UnsavedTitle), text(Txt::UnsavedQuestion),
                                text(Txt::UnsavedSave), text(Txt::UnsavedDiscard),
                                text(Txt::UnsavedCancel)};
    switch (prompt_.askSaveDiscardCancel(question)) {
    case SaveChoice::Save:
        // Goes on only once the file was written; a refused title or a cancelled dialog
        // keeps everything as it is.
        Salvarcomo1Click(chooseSaveFile);
        return !table_.unsavedRecords;
    case SaveChoice::Discard:
        table_.unsavedRecords = false;
        return true;
    case SaveChoice::Cancel:
        break;
    }
    return false;
}
