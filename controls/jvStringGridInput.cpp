#include "controls/jvStringGrid.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>

// Keyboard, mouse, focus and the in-place editor.
namespace {

constexpr int kMinColWidth = 1;

} // namespace

// ---- keyboard ----

void TjvStringGrid::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Up:
        moveBy(0, -1);
        return;
    case Qt::Key_Down:
        moveBy(0, 1);
        return;
    case Qt::Key_Left:
        moveBy(-1, 0);
        return;
    case Qt::Key_Right:
        moveBy(1, 0);
        return;
    case Qt::Key_PageUp:
        pageBy(-1);
        return;
    case Qt::Key_PageDown:
        pageBy(1);
        return;
    case Qt::Key_Home:
        moveCurrent(m_model.fixedCols(), ctrl ? m_model.fixedRows() : m_model.row());
        return;
    case Qt::Key_End:
        moveCurrent(m_model.colCount() - 1, ctrl ? m_model.rowCount() - 1 : m_model.row());
        return;
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_options & goEditing) {
            startEditing(nullptr);
            return;
        }
        break;
    default:
        break;
    }
    const QString typed = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if ((m_options & goEditing) && plain && !typed.isEmpty() && typed.front().isPrint()) {
        startEditing(&typed);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void TjvStringGrid::inputMethodEvent(QInputMethodEvent* event)
{
    if ((m_options & goEditing) && !m_editing &&
        (!event->commitString().isEmpty() || !event->preeditString().isEmpty())) {
        const QString none;
        startEditing(&none);
        if (m_editing) {
            QCoreApplication::sendEvent(m_editor, event);
            return;
        }
    }
    QAbstractScrollArea::inputMethodEvent(event);
}

QVariant TjvStringGrid::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled)
        return bool(m_options & goEditing);
    if (query == Qt::ImCursorRectangle)
        return CellRect(m_model.col(), m_model.row()).translated(viewport()->pos());
    return QAbstractScrollArea::inputMethodQuery(query);
}

// ---- mouse ----

void TjvStringGrid::mousePressEvent(QMouseEvent* event)
{
    const bool hadFocus = !m_focusByMouse;
    m_focusByMouse = false;
    closeEditor(true);
    const QPoint pos = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        // The context menu that follows acts on the cell under the mouse, as after a left click.
        int col = -1;
        int row = -1;
        if (MouseToCell(pos, col, row) && !m_model.isFixed(col, row) &&
            (col != m_model.col() || row != m_model.row()))
            moveCurrent(col, row);
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    const int sizing = sizingColAt(pos);
    if (sizing >= 0) {
        m_sizingCol = sizing;
        m_sizingStartX = pos.x();
        m_sizingStartWidth = m_colWidths[size_t(sizing)];
        return;
    }
    int col = -1;
    int row = -1;
    if (!MouseToCell(pos, col, row) || m_model.isFixed(col, row))
        return;
    if (col != m_model.col() || row != m_model.row()) {
        moveCurrent(col, row);
        return;
    }
    if (OnClick)
        OnClick(*this);
    // A press on the current cell of a grid that already had the focus opens the editor.
    if (hadFocus && col == m_model.col() && row == m_model.row())
        startEditing(nullptr);
}

void TjvStringGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Deliberately not a press: the second press of a double click moves nothing and clicks nothing.
    if (event->button() != Qt::LeftButton)
        return;
    int col = -1;
    int row = -1;
    if (MouseToCell(event->position().toPoint(), col, row) && col == m_model.col() && row == m_model.row())
        startEditing(nullptr);
}

void TjvStringGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_sizingCol >= 0) {
        setColWidths(m_sizingCol, std::max(kMinColWidth, m_sizingStartWidth + pos.x() - m_sizingStartX));
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        if (sizingColAt(pos) >= 0)
            viewport()->setCursor(Qt::SplitHCursor);
        else
            viewport()->unsetCursor();
    }
}

void TjvStringGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_sizingCol = -1;
    if (OnMouseUp)
        OnMouseUp(*this, event->button(), event->modifiers(), event->position().toPoint());
}

void TjvStringGrid::setPopupMenu(QMenu* menu)
{
    m_popupMenu = menu;
}

QMenu* TjvStringGrid::PopupMenu() const
{
    return m_popupMenu;
}

void TjvStringGrid::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_popupMenu) {
        m_popupMenu->popup(event->globalPos());
        event->accept();
        return;
    }
    QAbstractScrollArea::contextMenuEvent(event);
}

// ---- focus and look ----

void TjvStringGrid::focusInEvent(QFocusEvent* event)
{
    m_focusByMouse = event->reason() == Qt::MouseFocusReason;
    QAbstractScrollArea::focusInEvent(event);
    invalidateCell(m_model.col(), m_model.row());
}

void TjvStringGrid::focusOutEvent(QFocusEvent* event)
{
    m_focusByMouse = false;
    QAbstractScrollArea::focusOutEvent(event);
    invalidateCell(m_model.col(), m_model.row());
}

void TjvStringGrid::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        m_fontRowHeight = fontMetrics().height() + 3;
        m_editor->setFont(font());
        afterShapeChange();
    } else if (event->type() == QEvent::PaletteChange) {
        viewport()->update();
    }
    QAbstractScrollArea::changeEvent(event);
}

// ---- in-place editor ----

void TjvStringGrid::setEditorMode(bool on)
{
    if (on)
        startEditing(nullptr);
    else
        closeEditor(true);
}

void TjvStringGrid::startEditing(const QString* replaceWith)
{
    if (!(m_options & goEditing) || m_editing)
        return;
    const int col = m_model.col();
    const int row = m_model.row();
    scrollToShow(col, row);
    m_editOriginal = m_model.cell(col, row);
    m_editing = true;
    m_settingEditorText = true;
    m_editor->setText(replaceWith ? *replaceWith : m_editOriginal);
    m_settingEditorText = false;
    if (replaceWith) {
        m_model.setCell(col, row, *replaceWith);
        m_editor->end(false);
    } else {
        m_editor->selectAll();
    }
    placeEditor();
    m_editor->show();
    m_editor->setFocus(Qt::OtherFocusReason);
}

void TjvStringGrid::closeEditor(bool keepText)
{
    if (!m_editing)
        return;
    m_editing = false;
    if (!keepText)
        m_model.setCell(m_model.col(), m_model.row(), m_editOriginal);
    // Also while a dialog has the keyboard: the window gives it back to the grid, not to
    // whatever follows the hidden editor in the tab order.
    if (m_editor->hasFocus() || window()->focusWidget() == m_editor)
        setFocus(Qt::OtherFocusReason);
    m_editor->hide();
    invalidateCell(m_model.col(), m_model.row());
}

void TjvStringGrid::placeEditor()
{
    if (!m_editing)
        return;
    const QRect rect = CellRect(m_model.col(), m_model.row());
    if (!rect.isEmpty())
        m_editor->setGeometry(rect);
}

bool TjvStringGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_editor)
        return QAbstractScrollArea::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Enter and Escape belong to the editor, not to a default button or a window shortcut.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            closeEditor(true);
            return true;
        case Qt::Key_Escape:
            closeEditor(false);
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            closeEditor(true);
            keyPressEvent(key);
            return true;
        default:
            break;
        }
        break;
    }
    case QEvent::FocusOut:
        if (m_editing && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            closeEditor(true);
        break;
    default:
        break;
    }
    return false;
}
