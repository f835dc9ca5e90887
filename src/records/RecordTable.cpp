// Resetting the record table of the main session.
#include "app/MainSession.h"

void MainSession::ClearRecordSet() {
    view_.Grafico1.enabled = false;
    for (EditState* e : {&view_.Edit1, &view_.Edit3, &view_.Edit4, &view_.Edit5})
        e->text.clear();
    for (QString* label :
         {&view_.Label13, &view_.Label14, &view_.Label17, &view_.Label18, &view_.Label19})
        label->clear();
    view_.caption = text(Txt::WindowCaption);
    for (EditState* e : {&view_.Edit3, &view_.Edit4, &view_.Edit5})
        e->readOnly = true;
    loggerInfo = {};
    RecordOrigin = RecordOriginKind::Downloaded;
    fill.nextSeparatorRow = 0;
    records_.setRowCountTotal(2);
    records_.setRow(0, {text(Txt::HeaderRecord), text(Txt::HeaderDate), text(Txt::HeaderTime),
                        text(Txt::HeaderValue)});
    records_.clearBody();
    view_.StringGrid1CurrentRow = 1;
    changed();
}
