#include "ReportActions.h"

#include "ReportVariables.h"
#include "app/MainControls.h"

ReportActions::ReportActions(const MainControls& controls, const RecordTable& table)
    : controls_(controls), table_(table) {}

QString ReportActions::frxReport1GetValue(const QString& name) const {
    const QString key = name.toLower();
    const MainViewState& view = controls_.view;
    if (key == u"file") {
        return ReportVariables::file({view.Label19, view.Edit3.text, view.Edit4.text,
                                      view.Edit5.text, view.Edit1.text, table_.RecordOrigin,
                                      controls_.UiLanguage});
    }
    if (key == u"file1")
        return ReportVariables::file1(table_.records());
    if (key == u"file2")
        return ReportVariables::file2(table_.records(), table_.fill.rowsWritten);
    return {};
}
