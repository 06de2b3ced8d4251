// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#include "U_TextBoxAccessible.h"

#include <QAccessibleWidget>
#include <QLineEdit>

namespace {

// A QLineEdit as the accessibility bus sees it: its role, name and states as Qt gives them,
// and its text with one attribute run over all of it.
class TTextBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit TTextBoxAccessible(QLineEdit* edit)
        : QAccessibleWidget(edit, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = Edit()->isReadOnly();
        state.editable = !state.readOnly;
        state.passwordEdit = Edit()->echoMode() != QLineEdit::Normal;
        state.selectableText = true;
        return state;
    }

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Value)
            return Readable() ? Edit()->text() : QString();
        QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty())
            text = Edit()->placeholderText();
        return text;
    }

    // Text interface.
    QString text(int startOffset, int endOffset) const override {
        if (!Readable() || startOffset > endOffset)
            return QString();
        return Edit()->text().mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return static_cast<int>(Edit()->text().size()); }
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return QString();
    }

    int cursorPosition() const override { return Edit()->cursorPosition(); }
    void setCursorPosition(int position) override { Edit()->setCursorPosition(position); }
    int selectionCount() const override { return Edit()->hasSelectedText() ? 1 : 0; }
    void selection(int index, int* startOffset, int* endOffset) const override {
        *startOffset = *endOffset = 0;
        if (index != 0 || !Edit()->hasSelectedText())
            return;
        *startOffset = Edit()->selectionStart();
        *endOffset = *startOffset + Edit()->selectionLength();
    }
    void addSelection(int startOffset, int endOffset) override {
        setSelection(0, startOffset, endOffset);
    }
    void removeSelection(int index) override {
        if (index == 0)
            Edit()->deselect();
    }
    void setSelection(int index, int startOffset, int endOffset) override {
        if (index == 0)
            Edit()->setSelection(startOffset, endOffset - startOffset);
    }

    // The caret offset stands for "at the caret" in these three.
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                             int* endOffset) const override {
        return QAccessibleTextInterface::textBeforeOffset(AtCaret(offset), boundary, startOffset,
                                                          endOffset);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                            int* endOffset) const override {
        return QAccessibleTextInterface::textAfterOffset(AtCaret(offset), boundary, startOffset,
                                                         endOffset);
    }
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* startOffset,
                         int* endOffset) const override {
        return QAccessibleTextInterface::textAtOffset(AtCaret(offset), boundary, startOffset,
                                                      endOffset);
    }

    // Where a character is drawn, measured from the caret, whose place the box reports
    // with the text's scrolling taken into account.
    QRect characterRect(int offset) const override {
        const QString text = Edit()->text();
        if (offset < 0 || offset >= text.size())
            return QRect();
        const QRect caret = Edit()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QFontMetrics metrics(Edit()->font());
        const int x = caret.center().x() + metrics.horizontalAdvance(text.left(offset)) -
                      metrics.horizontalAdvance(text.left(Edit()->cursorPosition()));
        const QRect local(x, caret.top(), metrics.horizontalAdvance(text.at(offset)),
                          caret.height());
        return QRect(Edit()->mapToGlobal(local.topLeft()), local.size());
    }
    int offsetAtPoint(const QPoint& point) const override {
        return Edit()->cursorPositionAt(Edit()->mapFromGlobal(point));
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        Edit()->setCursorPosition(endIndex);
        Edit()->setCursorPosition(startIndex);
    }

private:
    QLineEdit* Edit() const { return static_cast<QLineEdit*>(widget()); }
    bool Readable() const { return Edit()->echoMode() == QLineEdit::Normal; }
    int AtCaret(int offset) const { return offset == -2 ? cursorPosition() : offset; }
};

QAccessibleInterface* TextBoxAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("QLineEdit") && object != nullptr && object->isWidgetType())
        return new TTextBoxAccessible(static_cast<QLineEdit*>(object));
    return nullptr;
}

void DropAccessibilityEvent(QAccessibleEvent*) {}

} // namespace

void UseWholeTextBoxes() {
    QAccessible::installFactory(&TextBoxAccessible);
}

TQuietAccessibility::TQuietAccessibility()
    : previous_(QAccessible::installUpdateHandler(&DropAccessibilityEvent)) {}

TQuietAccessibility::~TQuietAccessibility() {
    QAccessible::installUpdateHandler(previous_);
}
