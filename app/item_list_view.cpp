#include "app/item_list_view.h"

#include <QItemSelection>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QString>

namespace wayloom {

item_list_model::item_list_model(item_list& list, QObject* parent)
    : QAbstractListModel(parent), list_(list)
{
}

int item_list_model::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(list_.size());
}

QVariant item_list_model::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() ||
        static_cast<std::size_t>(index.row()) >= list_.size())
        return {};
    return QString::fromStdString(list_.entries[static_cast<std::size_t>(index.row())].text);
}

void item_list_model::reload()
{
    beginResetModel();
    endResetModel();
}

item_list_view::item_list_view(item_list& list, QAbstractItemView::SelectionMode mode,
                               QWidget* parent)
    : QListView(parent), model_(new item_list_model(list, this))
{
    setModel(model_);
    setSelectionMode(mode);
    setUniformItemSizes(true);  // a map may hold many thousands of waypoints
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &item_list_view::selection_changed);
}

void item_list_view::reload()
{
    applying_ = true;
    // A click in a list reloads it: the rows stay where the user saw them.
    const int scrolled = verticalScrollBar()->value();
    model_->reload();
    verticalScrollBar()->setValue(scrolled);
    // Runs of selected entries become one range each, so a long selection
    // costs one call per run rather than one per entry.
    QItemSelection selection;
    const auto& entries = list().entries;
    int first_selected = -1;
    for (std::size_t i = 0; i < entries.size();) {
        if (!entries[i].selected) { ++i; continue; }
        std::size_t end = i;
        while (end + 1 < entries.size() && entries[end + 1].selected) ++end;
        selection.select(model_->index(static_cast<int>(i)), model_->index(static_cast<int>(end)));
        if (first_selected < 0) first_selected = static_cast<int>(i);
        i = end + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (first_selected >= 0) {
        const QModelIndex at = model_->index(first_selected);
        selectionModel()->setCurrentIndex(at, QItemSelectionModel::NoUpdate);
        scrollTo(at, QAbstractItemView::EnsureVisible);
    }
    applying_ = false;
}

void item_list_view::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const QModelIndex entry = indexAt(at);
    const Qt::MouseButton button = event->button();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    pressed_selected_ = drags_ && button == Qt::LeftButton && modifiers == Qt::NoModifier && entry.isValid() &&
                                selectionModel()->isSelected(entry)
                            ? entry.row()
                            : -1;
    // A right click picks an entry without selecting it: the selection says
    // what is drawn and what the commands act on.
    if (button == Qt::RightButton) event->accept();
    else QListView::mousePressEvent(event);
    emit mouse_down(entry.isValid() ? entry.row() : -1, at, button, modifiers);
}

void item_list_view::mouseMoveEvent(QMouseEvent* event)
{
    const QModelIndex entry = indexAt(event->position().toPoint());
    if (!dragging_ && pressed_selected_ >= 0 && entry.isValid() && entry.row() != pressed_selected_) {
        dragging_ = true;
        emit drag_started(pressed_selected_);
    }
    if (!dragging_) {
        QListView::mouseMoveEvent(event);
        return;
    }
    if (entry.isValid()) emit drag_moved(entry.row());
    event->accept();
}

void item_list_view::mouseReleaseEvent(QMouseEvent* event)
{
    pressed_selected_ = -1;
    if (!dragging_) {
        QListView::mouseReleaseEvent(event);
        return;
    }
    dragging_ = false;
    emit drag_ended();
    event->accept();
}

void item_list_view::selection_changed(const QItemSelection& selected,
                                       const QItemSelection& deselected)
{
    if (applying_) return;
    auto& entries = list().entries;
    auto mark = [&](const QItemSelection& ranges, bool flag) {
        for (const QItemSelectionRange& range : ranges)
            for (int row = range.top(); row <= range.bottom(); ++row)
                if (row >= 0 && static_cast<std::size_t>(row) < entries.size())
                    entries[static_cast<std::size_t>(row)].selected = flag;
    };
    mark(deselected, false);
    mark(selected, true);
}

} // namespace wayloom
