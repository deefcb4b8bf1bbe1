#include "ui/qt/plan_edit_box.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>

namespace pk10 {

namespace {

QString toBoxText(std::string_view text) {
    QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

}  // namespace

PlanEditBox::PlanEditBox(QWidget* parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setContextMenuPolicy(Qt::NoContextMenu);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
}

void PlanEditBox::replaceAll(std::string_view text) {
    setPlainText(toBoxText(text));
    shown_.assign(text);
    moveCursor(QTextCursor::End);
}

void PlanEditBox::showText(std::string_view text) {
    if (shown_.empty() || document()->isEmpty()) {
        replaceAll(text);
        return;
    }
    // The longest common run of whole lines at the front stays; the rest is replaced.
    const auto mismatch = std::mismatch(shown_.begin(), shown_.end(), text.begin(), text.end());
    std::size_t common = static_cast<std::size_t>(mismatch.first - shown_.begin());
    if (common == shown_.size() && common == text.size()) {
        moveCursor(QTextCursor::End);
        return;
    }
    const std::size_t lineStart = common == 0 ? std::string::npos : shown_.rfind('\n', common - 1);
    common = lineStart == std::string::npos ? 0 : lineStart + 1;
    const auto keptLines =
        std::count(shown_.begin(), shown_.begin() + static_cast<long>(common), '\n');

    const QTextBlock block = document()->findBlockByNumber(static_cast<int>(keptLines));
    if (!block.isValid()) {
        replaceAll(text);
        return;
    }
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.setPosition(block.position());
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.insertText(toBoxText(text.substr(common)));
    cursor.endEditBlock();
    shown_.assign(text);
    moveCursor(QTextCursor::End);
}

void PlanEditBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut)) {
        copy();
        event->accept();
        return;
    }
    // Keys that type a character (Backspace and Ctrl+V included) are dropped; the others, such
    // as the arrows and Delete, reach the read-only box.
    if (!event->text().isEmpty()) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

}  // namespace pk10
