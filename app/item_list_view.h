// A list box over one of the map's item lists. The core list holds the
// entries and their selected flags; the view shows them and writes every
// selection change back into the flags, so the core always knows what the
// user selected.
#pragma once

#include "model/item_list.h"

#include <QAbstractListModel>
#include <QItemSelection>
#include <QListView>

namespace wayloom {

class item_list_model : public QAbstractListModel {
    Q_OBJECT
public:
    item_list_model(item_list& list, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    item_list& list() const { return list_; }
    // Call after the core list changed: the rows are taken again.
    void reload();

private:
    item_list& list_;
};

class item_list_view : public QListView {
    Q_OBJECT
public:
    item_list_view(item_list& list, QAbstractItemView::SelectionMode mode, QWidget* parent);

    item_list& list() const { return model_->list(); }
    // Shows the core list again, with the selection its flags hold, and
    // scrolls to the first selected entry.
    void reload();
    // Entries can be dragged to another place: a press on a selected entry
    // and a move to another row start a drag instead of a wider selection.
    void allow_drag() { drags_ = true; }

signals:
    // A mouse button went down at `at` (viewport coordinates) over entry
    // `row` (-1 when over no entry), after the list took a left press for
    // its own selection; a right press leaves the selection as it is.
    void mouse_down(int row, QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // An entry picked up at `row`, the pointer over `row` while it is held,
    // and the release.
    void drag_started(int row);
    void drag_moved(int row);
    void drag_ended();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    item_list_model* model_;
    bool applying_ = false;  // the selection is being set from the flags
    bool drags_ = false;
    int pressed_selected_ = -1;  // a selected row the left button went down on
    bool dragging_ = false;

    void selection_changed(const QItemSelection& selected, const QItemSelection& deselected);
};

} // namespace wayloom
