#include "ui/plan_list.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <algorithm>

namespace quorvane {

namespace {

const char* const kCaptions[5] = {"Parameter", "From", "To", "Steps", "Current"};

bool isEditableColumn(int column) {
    return column == kColumnFrom || column == kColumnTo || column == kColumnSteps;
}

}  // namespace

PlanList::PlanList(ExperimentPlan& plan, QWidget* parent) : PlanList(parent) {
    plan_ = &plan;
}

PlanList::PlanList(QWidget* parent) : QTableWidget(parent) {
    setObjectName("list1048");
    setColumnCount(5);
    QStringList captions;
    for (const char* c : kCaptions) captions << QString::fromLatin1(c);
    setHorizontalHeaderLabels(captions);
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Cells are edited only through the box laid over them.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);

    editBox_ = new QLineEdit(viewport());
    editBox_->setObjectName("planCellEdit");
    editBox_->setAccessibleName("Plan cell");
    editBox_->hide();
    editBox_->setEnabled(false);
    connect(editBox_, &QLineEdit::returnPressed, this, [this] { commitEdit(); });
    // The keyboard moves the selection too; a refill keeps it where it was.
    connect(this, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (!refilling_ && row >= 0) selected_ = row;
    });
    fitColumns();
}

void PlanList::refill() {
    const auto& rows = plan_->rows();
    refilling_ = true;
    clearContents();
    setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const std::vector<std::string> texts = plan_->cellTexts(r);
        for (int c = 0; c < 5 && c < static_cast<int>(texts.size()); ++c)
            setItem(r, c, new QTableWidgetItem(QString::fromStdString(texts[c])));
    }
    if (selected_ >= rowCount()) selected_ = -1;
    if (selected_ >= 0) selectRow(selected_);
    refilling_ = false;
    fitColumns();
}

void PlanList::fitColumns() {
    const QFontMetrics metrics(font());
    const QFontMetrics headerMetrics(horizontalHeader()->font());
    for (int c = 0; c < 5; ++c) {
        // The To column starts from the width of "Till", its caption of old.
        const QString start = QString::fromLatin1(c == kColumnTo ? "Till" : kCaptions[c]);
        int width = headerMetrics.horizontalAdvance(start);
        for (int r = 0; r < rowCount(); ++r)
            if (const QTableWidgetItem* cell = item(r, c))
                width = std::max(width, metrics.horizontalAdvance(cell->text()));
        setColumnWidth(c, width + 15);
    }
}

bool PlanList::isEditing() const {
    return editBox_->isVisible() && editRow_ >= 0;
}

void PlanList::beginEdit(int row, int column) {
    if (row < 0 || row >= rowCount() || !isEditableColumn(column)) return;
    if (isEditing() && (row != editRow_ || column != editColumn_)) commitEdit();
    if (row >= rowCount()) return;
    editRow_ = row;
    editColumn_ = column;
    const QTableWidgetItem* cell = item(row, column);
    editBox_->setText(cell ? cell->text() : QString());
    // A screen reader names the box by its column and its row's parameter.
    const QTableWidgetItem* header = horizontalHeaderItem(column);
    const QTableWidgetItem* parameter = item(row, kColumnParameter);
    editBox_->setAccessibleName((header ? header->text() : QString()) + ", " +
                                (parameter ? parameter->text() : QString()));
    editBox_->setGeometry(visualRect(model()->index(row, column)));
    editBox_->setEnabled(true);
    editBox_->show();
    editBox_->raise();
    editBox_->setFocus();
    editBox_->selectAll();
}

bool PlanList::commitEdit() {
    if (!isEditing()) return false;
    const int row = editRow_, column = editColumn_;
    const std::string text = editBox_->text().toStdString();
    editBox_->hide();
    editBox_->setEnabled(false);
    editRow_ = editColumn_ = -1;
    plan_->commitCell(row, column, text);
    refill();
    emit planEdited();
    return true;
}

void PlanList::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event);
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) {
        if (isEditing()) commitEdit();
        return;
    }
    selected_ = index.row();
    if (isEditableColumn(index.column())) {
        beginEdit(index.row(), index.column());
    } else if (isEditing()) {
        commitEdit();
    }
}

}  // namespace quorvane
