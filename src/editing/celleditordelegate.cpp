#include "celleditordelegate.h"

#include "objectgrid.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace {
const char *const OriginalText = "vellumarOriginalText";
const char *const EditedCell = "vellumarEditedCell";
}

TCellEditorDelegate::TCellEditorDelegate(TObjectGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

QWidget *TCellEditorDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                           const QModelIndex &index) const
{
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    const QPersistentModelIndex cell(index);
    editor->setProperty(OriginalText, index.data(Qt::EditRole));
    editor->setProperty(EditedCell, QVariant::fromValue(cell));
    auto *model = const_cast<QAbstractItemModel *>(index.model());
    // Every keystroke is a change of the cell, not only the end of editing.
    connect(editor, &QLineEdit::textEdited, editor, [model, cell](const QString &text) {
        if (cell.isValid())
            model->setData(cell, text, Qt::EditRole);
    });
    return editor;
}

void TCellEditorDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    // The cell changes under the editor with every keystroke; setting the
    // same text again would throw the cursor to the end.
    auto *line = static_cast<QLineEdit *>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    if (line->text() != text)
        line->setText(text);
}

void TCellEditorDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const QString text = static_cast<QLineEdit *>(editor)->text();
    if (model->data(index, Qt::EditRole).toString() != text)
        model->setData(index, text, Qt::EditRole);
}

void TCellEditorDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    const QPalette &palette = option.palette;
    const bool selected = option.state & QStyle::State_Selected;
    const QColor ink = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());

    if (option.font != m_textFont) {
        m_texts.clear();
        m_textFont = option.font;
    }
    const QString text = index.data(Qt::DisplayRole).toString();
    auto laid = m_texts.constFind(text);
    if (laid == m_texts.constEnd()) {
        if (m_texts.size() > 8192)
            m_texts.clear();
        QStaticText fresh(text);
        fresh.setTextFormat(Qt::PlainText);
        fresh.prepare(QTransform(), option.font);
        laid = m_texts.insert(text, fresh);
    }
    const QRect room = option.rect.adjusted(2, 0, -2, 0);
    const QPointF at(room.left(), room.top() + (room.height() - laid->size().height()) / 2);
    painter->setPen(ink);
    painter->setFont(option.font);
    if (laid->size().width() > room.width()) {
        painter->save();
        painter->setClipRect(room, Qt::IntersectClip);
        painter->drawStaticText(at, *laid);
        painter->restore();
    } else {
        painter->drawStaticText(at, *laid);
    }
    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(ink, 1, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
    }
}

void TCellEditorDelegate::revert(QWidget *editor) const
{
    const auto cell = editor->property(EditedCell).value<QPersistentModelIndex>();
    const QString original = editor->property(OriginalText).toString();
    if (!cell.isValid() || cell.data(Qt::EditRole).toString() == original)
        return;
    const_cast<QAbstractItemModel *>(cell.model())->setData(cell, original, Qt::EditRole);
}

bool TCellEditorDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Escape) {
            revert(editor);
            emit closeEditor(editor, NoHint);
            return true;
        }
        if (m_grid->editorKeyPress(key))
            return true;
    }
    // The editor keeps its key releases; the grid's handler hears them too.
    if (editor && event->type() == QEvent::KeyRelease)
        emit m_grid->keyReleased(static_cast<QKeyEvent *>(event)->key());
    return QStyledItemDelegate::eventFilter(object, event);
}
