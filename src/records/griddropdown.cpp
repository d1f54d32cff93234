#include "records/griddropdown.h"

#include <QApplication>
#include <QComboBox>
#include <QTableView>

#include "core/module1.h"
#include "core/numtext.h"
#include "records/dategrid.h"
#include "platform/places.h"
#include "platform/recordgrid.h"

namespace vm {

void BuildGridDropDown(int bindMode, bool clear, const std::string& dataSource, const std::string& window,
                       const std::string& grid, const std::string& field, int column, const std::string& list1,
                       const std::string& list2, const std::string& query) {
    if (!FileExists(Module1.CalendarFilePath)) return;
    // The date grid of the main window is the one grid with a drop-down list so far.
    QWidget* w = nullptr;
    DateGrid* dates = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName().toStdString() == window) {
            w = top;
            dates = top->findChild<DateGrid*>(QString(), Qt::FindDirectChildrenOnly);
        }
    if (!dates || dataSource != "DataDates" || grid != "TDBGridDates" || !dates->model) return;
    db::RecordSource& source = dates->Source();
    if (bindMode == 1) {
        source.setDatabaseName(Module1.CalendarFilePath);
        source.setRecordSource(query);
        source.refresh();
    }
    if (clear) dates->ClearDateGridList(column);
    for (const std::string& name : {list1, list2})
        if (!name.empty())
            if (auto* box = w->findChild<QComboBox*>(QString::fromStdString(name))) box->clear();
    for (source.moveFirst(); !source.eof(); source.moveNext()) {
        const std::string value = Trim(db::AsText(source.field(field)));
        if (!value.empty()) dates->AddDateGridListItem(column, QString::fromStdString(value));
    }
}

}  // namespace vm
