// The record report's variables as the main session supplies them.
#include "app/MainSession.h"
#include "report/ReportVariables.h"

QString MainSession::frxReport1GetValue(const QString& name) const {
    const QString key = name.toLower();
    if (key == u"file") {
        return ReportVariables::file({view_.Label19, view_.Edit3.text, view_.Edit4.text,
                                      view_.Edit5.text, view_.Edit1.text, RecordOrigin,
                                      UiLanguage});
    }
    if (key == u"file1")
        return ReportVariables::file1(records_);
    if (key == u"file2")
        return ReportVariables::file2(records_, fill.rowsWritten);
    return {};
}
